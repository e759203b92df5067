#pragma once
#include "colour/Colour.h"

#include <QList>
#include <QString>

// The assembly text of the Colour tool: one colour, a palette, a rainbow.
//
// AGA colours are 24-bit and go into a colour register in two 12-bit halves,
// first the high nibbles of red, green and blue, then the low ones; BPLCON3
// selects the bank of 32 registers (bits 15-13) and the half (bit 9). OCS/ECS
// colours are 12-bit: one nibble per gun, the 8-bit value / 17.
namespace ColourCode {

struct Options {
    bool aga = true;
    bool copperInstructions = true;
};

// The single colour being edited, as shown in the editor's fields: the 24-bit
// texts (two hex digits each) and the 12-bit texts (one hex digit each).
struct EditorColour {
    QString red24, green24, blue24;
    QString red12, green12, blue12;
};

// Four lines (AGA) or one line (OCS/ECS), no newline after the last.
QString colourCode(const Options &options, qint64 bank, qint64 colourRegister,
                   const EditorColour &colour);

// Every entry to consecutive colour registers from bank x 32 + colourRegister.
QString paletteCode(const Options &options, qint64 bank, qint64 colourRegister,
                    const QList<Colour> &entries);

// A copper list that sets COLOR00 to each entry in turn from startLine on, each
// for heights[i] display lines (a missing height counts as 0). Copper data only:
// empty without copper instructions.
QString rainbowCode(const Options &options, qint64 startLine, const QList<Colour> &entries,
                    const QList<qint64> &heights);

} // namespace ColourCode
