// Colour code: one colour, a palette and a rainbow as assembler text, for the Colour tab and for
// `quillfen-iff palette` alike, so that the same colours and options give the same text.
//
// Every text is written through AsmWriter (tab-indented lines, lower-case hex, register names of
// the hardware include files) and ends with a line feed; a text with nothing to write is empty.
//
// AGA colours are written in two 12-bit halves through BPLCON3 (see colourwords.h): the high
// nibbles with LOCT clear, then the low nibbles with LOCT set. Each BPLCON3 write is the options'
// base value with the bank and LOCT bits set in it, so that the display's bits (PF2OF, sprite
// resolution, border) stay as the program keeps them; every AGA text ends by writing the base
// itself, so that colours written later in the frame set all of their nibbles again. OCS/ECS
// colours are one 12-bit word of high nibbles.
#pragma once

#include "amiga/colourwords.h"
#include "amiga/copperframe.h"

#include <string>
#include <vector>

namespace amiga {

class AsmWriter;

struct ColourCodeOptions {
    // AGA (24-bit colours, 8 banks of 32 registers) or OCS/ECS (12-bit colours, 32 registers).
    bool aga = true;
    // Copper-list data ("dc.w REGISTER,$value") or CPU code ("move.w #$value,REGISTER(a6)",
    // with a6 holding $dff000).
    bool copperInstructions = true;
    // AGA: the BPLCON3 value the display keeps (see above); the reset value by default.
    std::uint16_t bplcon3 = kBplcon3Reset;
    // Rainbows: the frame's length, CopperFrame::kLines (PAL) or kNtscLines (NTSC).
    int frameLines = CopperFrame::kLines;
};

// "the end of a PAL frame" or "the end of an NTSC frame", as comments name the end of a frame of
// that length.
std::string frameEndText(int frameLines);

// "COLOR00" to "COLOR31" (the register is taken modulo 32).
std::string colourRegisterName(int colourRegister);

// One colour written to register colourRegister (0-31) of bank (0-7). AGA: BPLCON3 and the
// register for the high half, then for the low half, then BPLCON3's base (five lines).
// OCS/ECS: one line; the bank is not used.
std::string colourCode(const ColourCodeOptions &options, int bank, int colourRegister, Rgb8 colour);

// Every colour to consecutive registers from bank x 32 + colourRegister, after a comment line
// that says what follows. AGA: all the high halves, then all the low halves; each half starts
// with a BPLCON3 line and goes on into the next bank with another BPLCON3 line after COLOR31;
// colours past bank 7 COLOR31 are left out, with a comment. OCS/ECS: the bank is not used and
// colours past COLOR31 are left out, with a comment. Empty for no colours.
std::string paletteCode(const ColourCodeOptions &options, int bank, int colourRegister,
                        const std::vector<Rgb8> &colours);

// A copper list that waits for startLine and sets COLOR00 of bank 0 to the first colour, then
// waits heights[0] lines more for the next colour, and so on (a missing or negative height counts
// as 0). Before the first line past $ff it waits for the end of line $ff ($ffdf,$fffe), as a
// WAIT compares only the low eight bits of the line. Colours whose line is past the last line of
// the frame (options.frameLines: $137 on PAL, $105 on NTSC) are left out, with a comment: the
// copper would wait
// for them until its list starts again at the next frame. Copper data only: empty without
// copper instructions.
std::string rainbowCode(const ColourCodeOptions &options, int startLine,
                        const std::vector<Rgb8> &colours, const std::vector<int> &heights);

// Copper WAITs for display lines in going order, for code that changes colours down the screen
// and for the Copper tool's list repeated line by line. Before the first line past $ff it waits
// for the end of line $ff ($ffdf,$fffe), as a WAIT compares only the low eight bits of the line;
// a line past the last line of the frame ($137 on PAL, $105 on NTSC) gets no WAIT: the copper
// would wait for it until its list starts again at the next frame.
class CopperLineWaits {
public:
    // horizontal: the position the WAITs ask for; bit 0 of the WAIT's first word is always set.
    // mask: the WAIT's second word (vertical and horizontal compare masks, bit 15 the blitter-
    // finished-disable bit); bit 0 is always clear.
    // frameLines: the frame's length, CopperFrame::kLines (PAL) or kNtscLines (NTSC).
    explicit CopperLineWaits(AsmWriter &out, int horizontal = 0, std::uint16_t mask = 0xfffe,
                             int frameLines = CopperFrame::kLines)
        : m_out(out), m_hpos(horizontal), m_mask(static_cast<std::uint16_t>(mask & 0xfffe)),
          m_frameLines(frameLines) {}
    // Writes the WAIT for line (0 or more) and gives true; gives false and writes nothing when
    // the line is past the end of the frame.
    bool waitFor(long line);
    // The same with more operands after the WAIT's two words on its dc.w line: the words the
    // copper is to take on that line.
    bool waitFor(long line, const std::vector<std::string> &more);
    // A comment for the wait for the end of line $ff, when it is written.
    void explainWrap(std::string comment) { m_wrapComment = std::move(comment); }

private:
    AsmWriter &m_out;
    int m_hpos;
    std::uint16_t m_mask;
    int m_frameLines;
    bool m_wrapped = false;
    std::string m_wrapComment;
};

// A colour register set on a display line, for lineColoursCode.
struct LineColour {
    long line = 0;          // the display line (the beam's), 0 the top of the frame
    int colourRegister = 0; // 0-255: bank x 32 + register
    Rgb8 colour;
};

// Copper data for colours that change down the display, as pictures with a palette for every
// line need them (SHAM, PCHG). The changes of line 0 come first, without a WAIT. For every other
// line with changes a WAIT for horizontal $e0 of the line before it (in the right border, past a
// standard display window), then the registers: OCS/ECS a MOVE each of the high nibbles; AGA the
// high halves, each bank through BPLCON3 as palette code does, then the low halves, then
// BPLCON3's base. As OCS/ECS can do 16 MOVEs between that WAIT and the left edge of a standard
// window (colour clock $40), a line is whole on the display with up to 16 changes on OCS/ECS and
// 7 on AGA. The WAITs go past $ff and stop at the frame's end as CopperLineWaits'; a comment says
// what is left out: lines past the frame, registers OCS/ECS do not have (32 and on). Changes
// come in line order; copper data only: empty without copper instructions or changes. Lines
// (other than line 0) that need more MOVEs than kLineColourMoves are counted in a closing
// comment; *crowdedNote, when given, receives its sentence (empty when every line fits).
std::string lineColoursCode(const ColourCodeOptions &options,
                            const std::vector<LineColour> &changes,
                            std::string *crowdedNote = nullptr);

// The MOVEs that fit between a WAIT for horizontal $e0 and colour clock $40 of the next line:
// the WAIT wakes at $e2 and each MOVE takes 4 colour clocks.
constexpr int kLineColourMoves = 16;

// Copper data that sets colour register colourRegister (0-255: bank x 32 + register) to a
// colour. AGA: BPLCON3 (base with the bank, LOCT clear), the register with the high nibbles,
// BPLCON3 with LOCT set, the register with the low nibbles, which leaves LOCT set: end the code
// with restoreBplcon3(). OCS/ECS: one MOVE of the high nibbles to COLOR00-COLOR31.
void writeCopperColour(AsmWriter &out, bool aga, int colourRegister, Rgb8 colour,
                       std::uint16_t bplcon3);
// BPLCON3 back to its base value, so that later colour writes set all their nibbles again.
void restoreBplcon3(AsmWriter &out, std::uint16_t bplcon3);

} // namespace amiga
