#include "amiga/colourcode.h"

#include "amiga/asmtext.h"
#include "amiga/copperframe.h"

#include <algorithm>
#include <cstddef>

namespace amiga {

namespace {

// Register writes in the form the options ask for: copper MOVEs as data, or CPU moves.
class RegisterWriter {
public:
    explicit RegisterWriter(const ColourCodeOptions &options)
        : m_copper(options.copperInstructions), m_bplcon3(options.bplcon3) {}

    void set(const std::string &name, std::uint16_t value) {
        if (m_copper)
            m_out.copperMove(name, value);
        else
            m_out.moveWord(value, name);
    }
    void bplcon3(int bank, bool low) { set("BPLCON3", bplcon3For(bank, low, m_bplcon3)); }
    void restoreBplcon3() { set("BPLCON3", m_bplcon3); }
    void comment(const std::string &text) { m_out.comment(text); }
    std::string take() { return m_out.take(); }

private:
    bool m_copper;
    std::uint16_t m_bplcon3;
    AsmWriter m_out;
};

std::string decimal(std::size_t n) {
    return std::to_string(n);
}

std::string colourCount(std::size_t n) {
    return decimal(n) + (n == 1 ? " colour" : " colours");
}

const char *formOf(const ColourCodeOptions &options) {
    return options.copperInstructions ? "copper list data" : "move.w with a6 = $dff000";
}

} // namespace

std::string frameEndText(int frameLines) {
    return frameLines == CopperFrame::kNtscLines ? "the end of an NTSC frame"
                                                 : "the end of a PAL frame";
}

std::string colourRegisterName(int colourRegister) {
    const int n = ((colourRegister % kRegistersPerBank) + kRegistersPerBank) % kRegistersPerBank;
    return "COLOR" + std::string(1, static_cast<char>('0' + n / 10)) +
           static_cast<char>('0' + n % 10);
}

std::string colourCode(const ColourCodeOptions &options, int bank, int colourRegister,
                       Rgb8 colour) {
    RegisterWriter out(options);
    const std::string name = colourRegisterName(colourRegister);
    if (!options.aga) {
        out.set(name, highWord(colour));
        return out.take();
    }
    out.bplcon3(bank, false);
    out.set(name, highWord(colour));
    out.bplcon3(bank, true);
    out.set(name, lowWord(colour));
    out.restoreBplcon3();
    return out.take();
}

std::string paletteCode(const ColourCodeOptions &options, int bank, int colourRegister,
                        const std::vector<Rgb8> &colours) {
    if (colours.empty())
        return {};
    RegisterWriter out(options);
    bank = std::clamp(bank, 0, 7);
    colourRegister = std::clamp(colourRegister, 0, kRegistersPerBank - 1);

    if (!options.aga) {
        out.comment("OCS/ECS palette: " + colourCount(colours.size()) + " from " +
                    colourRegisterName(colourRegister) + ", " + formOf(options));
        const std::size_t written =
            std::min<std::size_t>(colours.size(), kOcsColourRegisters - colourRegister);
        for (std::size_t i = 0; i < written; ++i)
            out.set(colourRegisterName(colourRegister + static_cast<int>(i)), highWord(colours[i]));
        if (written < colours.size())
            out.comment("OCS/ECS have no colour register after COLOR31: left out from entry " +
                        decimal(written) + " on");
        return out.take();
    }

    out.comment("AGA palette: " + colourCount(colours.size()) + " from bank " + decimal(bank) +
                " " + colourRegisterName(colourRegister) + ", " + formOf(options));
    const int first = bank * kRegistersPerBank + colourRegister;
    const std::size_t written = std::min<std::size_t>(colours.size(), kAgaColourRegisters - first);
    for (bool low : {false, true}) {
        for (std::size_t i = 0; i < written; ++i) {
            const int index = first + static_cast<int>(i);
            if (i == 0 || index % kRegistersPerBank == 0)
                out.bplcon3(index / kRegistersPerBank, low);
            out.set(colourRegisterName(index), low ? lowWord(colours[i]) : highWord(colours[i]));
        }
    }
    out.restoreBplcon3();
    if (written < colours.size())
        out.comment("AGA has no colour register after bank 7 COLOR31: left out from entry " +
                    decimal(written) + " on");
    return out.take();
}

bool CopperLineWaits::waitFor(long line) {
    return waitFor(line, {});
}

bool CopperLineWaits::waitFor(long line, const std::vector<std::string> &more) {
    if (line >= m_frameLines)
        return false;
    if (line > 0xff && !m_wrapped) {
        m_out.copperWords(0xffdf, 0xfffe, m_wrapComment); // the end of line $ff
        m_wrapped = true;
    }
    const auto first = static_cast<std::uint16_t>((line & 0xff) << 8 | (m_hpos & 0xfe) | 0x01);
    if (more.empty()) {
        m_out.copperWords(first, m_mask);
        return true;
    }
    std::vector<std::string> operands{word(first), word(m_mask)};
    operands.insert(operands.end(), more.begin(), more.end());
    m_out.dcw(operands);
    return true;
}

void writeCopperColour(AsmWriter &out, bool aga, int colourRegister, Rgb8 colour,
                       std::uint16_t bplcon3) {
    const std::string name = colourRegisterName(colourRegister);
    if (!aga) {
        out.copperMove(name, highWord(colour));
        return;
    }
    const int bank = colourRegister / kRegistersPerBank;
    out.copperMove("BPLCON3", bplcon3For(bank, false, bplcon3));
    out.copperMove(name, highWord(colour));
    out.copperMove("BPLCON3", bplcon3For(bank, true, bplcon3));
    out.copperMove(name, lowWord(colour));
}

void restoreBplcon3(AsmWriter &out, std::uint16_t bplcon3) {
    out.copperMove("BPLCON3", bplcon3);
}

std::string rainbowCode(const ColourCodeOptions &options, int startLine,
                        const std::vector<Rgb8> &colours, const std::vector<int> &heights) {
    if (!options.copperInstructions || colours.empty())
        return {};
    AsmWriter out;
    CopperLineWaits waits(out, 0, 0xfffe, options.frameLines);
    long line = std::max(startLine, 0);
    std::size_t written = 0;
    for (; written < colours.size(); ++written) {
        if (!waits.waitFor(line))
            break;
        writeCopperColour(out, options.aga, 0, colours[written], options.bplcon3);
        if (written < heights.size())
            line += std::max(heights[written], 0);
    }
    if (options.aga && written > 0)
        restoreBplcon3(out, options.bplcon3);
    if (written < colours.size())
        out.comment("line " + hex(static_cast<std::uint32_t>(line)) + " is past " +
                    frameEndText(options.frameLines) + ": left out from entry " + decimal(written) +
                    " on");
    return out.take();
}

std::string lineColoursCode(const ColourCodeOptions &options,
                            const std::vector<LineColour> &changes, std::string *crowdedNote) {
    if (crowdedNote)
        crowdedNote->clear();
    if (!options.copperInstructions || changes.empty())
        return {};
    AsmWriter out;
    const int registers = options.aga ? kAgaColourRegisters : kOcsColourRegisters;
    std::size_t lines = 0;
    for (std::size_t i = 0; i < changes.size(); ++i)
        lines += i == 0 || changes[i].line != changes[i - 1].line ? 1 : 0;
    out.comment((options.aga ? "AGA" : "OCS/ECS") + std::string(" colour changes on ") +
                decimal(lines) + (lines == 1 ? " line" : " lines") + ", copper list data");
    CopperLineWaits waits(out, 0xe0, 0xfffe, options.frameLines);
    waits.explainWrap("the end of line $ff");
    std::size_t dropped = 0;
    // Lines whose MOVEs do not all fit between the WAIT and the window's left edge.
    std::size_t crowded = 0;
    long firstCrowded = 0;
    for (std::size_t first = 0; first < changes.size();) {
        const long line = changes[first].line;
        std::size_t end = first;
        while (end < changes.size() && changes[end].line == line)
            ++end;
        if (line > 0 && !waits.waitFor(line - 1)) {
            out.comment("lines from " + hex(static_cast<unsigned>(line), 2) + " on are past " +
                        frameEndText(options.frameLines) + ": left out");
            return out.take();
        }
        // MOVEs up to the last colour register's: BPLCON3 set back after it changes no colour.
        int moves = 0;
        int colourMoves = 0;
        const auto move = [&](const std::string &name, std::uint16_t value) {
            out.copperMove(name, value);
            ++moves;
            colourMoves = name == "BPLCON3" ? colourMoves : moves;
        };
        if (!options.aga) {
            for (std::size_t i = first; i < end; ++i) {
                if (changes[i].colourRegister < registers)
                    move(colourRegisterName(changes[i].colourRegister),
                         highWord(changes[i].colour));
                else
                    ++dropped;
            }
        } else {
            for (bool low : {false, true}) {
                int bank = -1;
                for (std::size_t i = first; i < end; ++i) {
                    const int index = changes[i].colourRegister;
                    if (index < 0 || index >= registers) {
                        dropped += low ? 0 : 1;
                        continue;
                    }
                    if (index / kRegistersPerBank != bank) {
                        bank = index / kRegistersPerBank;
                        move("BPLCON3", bplcon3For(bank, low, options.bplcon3));
                    }
                    move(colourRegisterName(index),
                         low ? lowWord(changes[i].colour) : highWord(changes[i].colour));
                }
            }
            move("BPLCON3", options.bplcon3);
        }
        // Line 0's changes are made in the vertical blank, before anything is shown.
        if (line > 0 && colourMoves > kLineColourMoves) {
            firstCrowded = crowded == 0 ? line : firstCrowded;
            ++crowded;
        }
        first = end;
    }
    if (dropped > 0)
        out.comment(decimal(dropped) + (dropped == 1 ? " change" : " changes") + " of " +
                    (options.aga ? "registers past bank 7 COLOR31" : "registers past COLOR31") +
                    " left out");
    if (crowded > 0) {
        const std::string note = decimal(crowded) + (crowded == 1 ? " line needs" : " lines need") +
                                 " more than the " + decimal(kLineColourMoves) +
                                 " MOVEs that fit before the window's left edge: from line " +
                                 hex(static_cast<unsigned>(firstCrowded), 2) +
                                 " on, the last colours of such a line change where it shows";
        out.comment(note);
        if (crowdedNote)
            *crowdedNote = note;
    }
    return out.take();
}

} // namespace amiga
