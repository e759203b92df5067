#include "amiga/copperframe.h"

#include "amiga/customregisters.h"

#include <algorithm>

namespace amiga {

namespace {
constexpr long kFetchClocks = 4; // two words, one every 2 colour clocks
constexpr long kWakeClocks = 2;  // a WAIT whose position came takes one more cycle
} // namespace

CopperFrame::CopperFrame(Chipset chipset, int sampleHorizontal, int lines)
    : m_chipset(chipset), m_sampleHorizontal(std::clamp(sampleHorizontal, 0, kClocksPerLine - 1)),
      m_lineCount(std::clamp(lines, 1, kLines)), m_initial(static_cast<std::size_t>(colourCount())),
      m_registers(m_initial), m_lines(static_cast<std::size_t>(m_lineCount) * colourCount()) {}

void CopperFrame::setInitialColours(std::span<const Rgb8> colours) {
    std::fill(m_initial.begin(), m_initial.end(), Rgb8{});
    std::copy_n(colours.begin(), std::min(colours.size(), m_initial.size()), m_initial.begin());
}

void CopperFrame::sampleBefore(long clock) {
    while (m_nextSample < m_lineCount &&
           static_cast<long>(m_nextSample) * kClocksPerLine + m_sampleHorizontal < clock) {
        std::copy(m_registers.begin(), m_registers.end(),
                  m_lines.begin() + static_cast<std::ptrdiff_t>(m_nextSample) * colourCount());
        if (!m_unknown.empty())
            std::copy(m_unknown.begin(), m_unknown.end(),
                      m_lineUnknown.begin() +
                          static_cast<std::ptrdiff_t>(m_nextSample) * colourCount());
        ++m_nextSample;
    }
}

void CopperFrame::write(std::uint16_t offset, std::uint16_t value, bool known) {
    if (offset == kBplcon3) {
        m_bplcon3 = value;
        return;
    }
    if (!isColourRegister(offset))
        return;
    const ColourWrite written = colourWrite(m_chipset, m_bplcon3, offset, value, m_registers);
    m_registers[static_cast<std::size_t>(written.index)] = written.colour;
    if (!m_unknown.empty())
        m_unknown[static_cast<std::size_t>(written.index)] = known ? 0 : 1;
}

CopperFrame::ColourWrite CopperFrame::colourWrite(Chipset chipset, std::uint16_t bplcon3,
                                                  std::uint16_t offset, std::uint16_t value,
                                                  std::span<const Rgb8> registers) {
    int index = (offset - kColour00) / 2;
    if (chipset == Chipset::Ocs)
        return {index, fromTwelveBit(value & 0xfff)};
    index += (bplcon3 >> kBankShift & 7) * kRegistersPerBank;
    const Rgb8 before = static_cast<std::size_t>(index) < registers.size()
                            ? registers[static_cast<std::size_t>(index)]
                            : Rgb8{};
    return {index, (bplcon3 & kBplcon3Loct) ? fromHalves(highWord(before), value)
                                            : fromTwelveBit(value & 0xfff)};
}

void CopperFrame::run(std::span<const std::uint16_t> words,
                      std::span<const std::size_t> unknownWords) {
    m_registers = m_initial;
    m_unknown.assign(unknownWords.empty() ? 0 : static_cast<std::size_t>(colourCount()), 0);
    m_lineUnknown.assign(unknownWords.empty() ? 0 : m_lines.size(), 0);
    std::size_t nextUnknown = 0;
    m_bplcon3 = kBplcon3Reset;
    m_nextSample = 0;
    m_instructionsRun = 0;
    m_stop = Stop::OutOfWords;
    const std::size_t pairs = words.size() / 2;
    m_clocks.assign(pairs, -1);
    std::size_t pair = 0;
    long clock = 0;
    const long frameEnd = frameClocks();
    while (pair < pairs) {
        if (clock >= frameEnd) {
            m_stop = Stop::EndOfFrame;
            break;
        }
        const CopperWords pairWords{words[2 * pair], words[2 * pair + 1]};
        const CopperInstruction instruction = decode(pairWords);
        clock += kFetchClocks;
        ++m_instructionsRun;
        if (instruction.op == CopperOp::Move) {
            sampleBefore(clock);
            while (nextUnknown < unknownWords.size() && unknownWords[nextUnknown] < 2 * pair + 1)
                ++nextUnknown;
            const bool known =
                nextUnknown >= unknownWords.size() || unknownWords[nextUnknown] != 2 * pair + 1;
            write(instruction.registerOffset, instruction.value, known);
            m_clocks[pair] = clock;
            ++pair;
        } else if (instruction.op == CopperOp::Skip) {
            const long line = clock / kClocksPerLine;
            m_clocks[pair] = clock;
            pair += beamReached(instruction, static_cast<int>(line),
                                static_cast<int>(clock - line * kClocksPerLine))
                        ? 2
                        : 1;
        } else {
            const long at = copperWaitReached(instruction, clock, frameClocks(), kClocksPerLine);
            if (at < 0) {
                m_stop = isEndOfList(pairWords) ? Stop::EndOfList : Stop::NeverReached;
                clock = std::min(clock, frameEnd);
                break;
            }
            m_clocks[pair] = at;
            clock = at + kWakeClocks;
            ++pair;
        }
    }
    m_stopInstruction = pair;
    m_stopLine = static_cast<int>(std::min(clock, frameEnd) / kClocksPerLine);
    sampleBefore(frameEnd + kClocksPerLine);
}

} // namespace amiga
