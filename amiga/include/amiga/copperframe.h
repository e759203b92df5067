// The copper over one frame (PAL or NTSC): runs a list of copper words from the top of the frame
// and records, for every line, the colour registers as they stand where the line's picture starts.
// A preview draws each line's band from line(n); tests compare generated code with what it is
// meant to do, line by line.
//
// The beam: lines 0-$137 on PAL (312 lines), 0-$105 on NTSC (262 lines; Hardware Reference
// Manual "Beam position" and "NTSC and PAL"), 227 colour
// clocks per line, horizontal positions 0-$e2. The copper reads a word every 2 colour clocks:
// a MOVE takes 4, a SKIP 4, a WAIT 4 and, once its position is reached, 2 more to wake up. DMA of
// other channels never delays it here, and the blitter is always finished.
//
// Colours: OCS/ECS have 32 12-bit registers. AGA has 256 24-bit registers in 8 banks of 32,
// chosen by BPLCON3 bits 15-13; with LOCT (BPLCON3 bit 9) clear a write sets the high nibbles of
// each gun and copies them to the low ones, with LOCT set it sets only the low nibbles.
//
// Not modelled: jumps (COPJMP1/2 and the list pointers), MOVEs other than to BPLCON3 and the
// colour registers (they change no colour), and the danger bit (no colour register needs it).
#pragma once

#include "amiga/colourwords.h"
#include "amiga/copper.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace amiga {

class CopperFrame {
public:
    enum class Chipset { Ocs, Aga }; // ECS colour registers are those of OCS

    // How the run ended.
    enum class Stop {
        EndOfList,    // the WAIT $ffff,$fffe
        NeverReached, // another WAIT whose position did not come before the frame's end
        OutOfWords,   // the words ran out (or an odd last word) without an end of list
        EndOfFrame,   // the beam reached the end of the frame with instructions left
    };

    static constexpr int kLines = 312;     // a PAL frame
    static constexpr int kNtscLines = 262; // an NTSC frame
    static constexpr int kClocksPerLine = 227;
    // Where a line's colours are read: the left edge of a standard display window (DIWSTRT
    // $2c81 starts at lores pixel $81, colour clock $40).
    static constexpr int kPictureStart = 0x40;

    // lines: the frame's length, kLines (PAL) or kNtscLines (NTSC).
    explicit CopperFrame(Chipset chipset = Chipset::Aga, int sampleHorizontal = kPictureStart,
                         int lines = kLines);
    int lineCount() const { return m_lineCount; }

    // A write of value to a colour register (offset $180-$1be) with BPLCON3 as given: the
    // register it sets (0-31; on AGA 0-255 by BPLCON3's bank) and the colour that register
    // then holds, given the colour registers before it (on AGA a low-half write keeps the high
    // nibbles).
    struct ColourWrite {
        int index = 0;
        Rgb8 colour;
    };
    static ColourWrite colourWrite(Chipset chipset, std::uint16_t bplcon3, std::uint16_t offset,
                                   std::uint16_t value, std::span<const Rgb8> registers);

    // The colour registers before the list runs (all black unless set); extra entries are
    // ignored, missing ones black.
    void setInitialColours(std::span<const Rgb8> colours);

    // Runs the list from line 0, horizontal 0, reading words in pairs. unknownWords: indices of
    // words whose value the source does not give (an undefined symbol), in order; a colour
    // register a MOVE writes with such a value is not known until a known value is written.
    void run(std::span<const std::uint16_t> words, std::span<const std::size_t> unknownWords = {});

    Chipset chipset() const { return m_chipset; }
    int colourCount() const { return m_chipset == Chipset::Aga ? kAgaColourRegisters : 32; }
    // The colour registers of a line (0 to lineCount() - 1) at its sample position.
    std::span<const Rgb8> line(int line) const {
        return {m_lines.data() + static_cast<std::size_t>(line) * colourCount(),
                static_cast<std::size_t>(colourCount())};
    }
    Rgb8 colour(int line, int index) const {
        return m_lines[static_cast<std::size_t>(line) * colourCount() + index];
    }
    // Whether a line's colour register holds a value the list gives (see run's unknownWords).
    bool colourKnown(int line, int index) const {
        return m_lineUnknown.empty() ||
               !m_lineUnknown[static_cast<std::size_t>(line) * colourCount() + index];
    }
    // The colour registers when the run ended.
    std::span<const Rgb8> finalColours() const { return m_registers; }

    Stop stop() const { return m_stop; }
    // The index of the word pair the copper stopped at (the pair count when it ran out).
    std::size_t stopInstruction() const { return m_stopInstruction; }
    // The line the beam was on when the copper stopped (lineCount() when it got to the end).
    int stopLine() const { return m_stopLine; }
    std::size_t instructionsRun() const { return m_instructionsRun; }
    // Where the beam was when the instruction at a word pair took effect: a MOVE's write, a
    // WAIT's wake-up, a SKIP's compare, as a colour clock from the top of the frame (line times
    // kClocksPerLine plus horizontal position). -1 for a pair the copper did not run (after it
    // stopped, or skipped). Kept for the last run only.
    long clockOf(std::size_t pair) const { return pair < m_clocks.size() ? m_clocks[pair] : -1; }

private:
    void sampleBefore(long clock);
    void write(std::uint16_t offset, std::uint16_t value, bool known);
    // The frame's length in colour clocks.
    long frameClocks() const { return static_cast<long>(m_lineCount) * kClocksPerLine; }

    Chipset m_chipset;
    int m_sampleHorizontal;
    int m_lineCount;
    std::vector<Rgb8> m_initial;
    std::vector<Rgb8> m_registers;
    std::vector<Rgb8> m_lines;
    // Registers, and lines' registers, of values not known (empty when every word is known).
    std::vector<std::uint8_t> m_unknown;
    std::vector<std::uint8_t> m_lineUnknown;
    std::vector<long> m_clocks;
    std::uint16_t m_bplcon3 = kBplcon3Reset;
    int m_nextSample = 0;
    Stop m_stop = Stop::OutOfWords;
    std::size_t m_stopInstruction = 0;
    int m_stopLine = 0;
    std::size_t m_instructionsRun = 0;
};

} // namespace amiga
