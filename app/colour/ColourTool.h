#pragma once
#include "colour/Colour.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <amiga/colourcode.h>
#include <string>

// The palette as it stands, with every entry's rainbow height: what undo puts back.
struct ColourPalette {
    QList<Colour> entries;
    QList<qint64> rainbowHeights;
    friend bool operator==(const ColourPalette &, const ColourPalette &) = default;
};

// What the Colour tab computes, without its widgets: the editor's colour with its 12-bit and
// 24-bit forms and the palette index it goes to, the palette's rules (a new size, a move, what
// the status line says) and the colour, palette and rainbow code. The controller copies its
// controls in and the results out; the palette itself is the grid's model.
class ColourTool {
public:
    // The editor: the colour as three 8-bit guns, the AGA bank and register it goes to.
    int red = 0, green = 0, blue = 0;
    int bank = 0, colourRegister = 0;
    // The code's options: AGA or OCS/ECS, copper data or move.w; BPLCON3's base and the
    // rainbow's first line as typed in hex (empty: BPLCON3's reset value, line 0).
    bool aga = true;
    bool copper = true;
    QString bplcon3, rainbowStart;
    // The rainbow's frame: NTSC's 262 lines, or PAL's 312.
    bool ntsc = false;

    // One gun as its three fields show it: decimal, the 12-bit nibble, two hex digits.
    static QStringList gunTexts(int value);
    // A typed gun once its edit ends: cut to 0-255, an empty field 0.
    static int typedGun(const QString &text);
    // The colour of three guns (each cut to 0-255), as the colour well and the palette keep it.
    static Colour colourOf(int red, int green, int blue);
    void setColour(const Colour &colour);
    qint64 paletteIndex() const { return qint64{bank} * 32 + colourRegister; }
    void setPaletteIndex(qint64 index);

    // The palette at another size: the default palette, or (keep) the colours there are and
    // the default grey after them.
    static QList<Colour> resized(const QList<Colour> &present, qint64 count, bool keep);
    // Where an entry at from ends when dropped in front of entry before.
    static int movedTo(int from, int before) { return before > from ? before - 1 : before; }
    // The step undo names for a change of size, and the status line after a load and an undo.
    static QString sizeStep(qint64 count);
    static QString loadedStatus(qsizetype count, const QString &source);
    static QString restoredStatus(qsizetype count);

    // The code the three buttons show: the editor's colour, the whole palette from the
    // editor's index, the palette as a rainbow of each entry's height.
    enum class Output { Colour, Palette, Rainbow };
    std::string code(Output which, const ColourPalette &palette = {}) const;
    amiga::ColourCodeOptions codeOptions() const;
};
