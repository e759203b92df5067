#include "amiga/copper.h"

#include "amiga/customregisters.h"

namespace amiga {

namespace {

// Whether some beam position of a frame satisfies the compare. Every line's low byte, $00-$ff,
// comes round in a PAL frame, so the largest masked beam position is the mask itself for the
// line and the largest masked horizontal position up to $e2.
bool everMet(const CopperInstruction &i) {
    int largestHorizontal = 0;
    for (int h = 0; h <= kCopperLastHorizontal; ++h) {
        if ((h & i.horizontalMask & 0xfe) > largestHorizontal)
            largestHorizontal = h & i.horizontalMask & 0xfe;
    }
    return beamReached(i, (i.verticalMask & 0x7f) | 0x80, largestHorizontal);
}

void addAccessProblems(std::uint16_t offset, std::vector<CopperProblem> &found) {
    switch (copperAccess(offset)) {
    case CopperAccess::Never:
        found.push_back(CopperProblem::MoveNeverAllowed);
        break;
    case CopperAccess::WithDangerBit:
        found.push_back(CopperProblem::MoveNeedsDangerBit);
        break;
    case CopperAccess::Always:
        break;
    }
}

void addWaitProblems(const CopperInstruction &i, std::vector<CopperProblem> &found) {
    if (!isEndOfList(encode(i)) && !everMet(i))
        found.push_back(CopperProblem::NeverMet);
}

} // namespace

std::vector<CopperProblem> copperProblems(const CopperInstruction &i) {
    std::vector<CopperProblem> found;
    if (i.op == CopperOp::Move) {
        if (i.registerOffset & 1)
            found.push_back(CopperProblem::MoveToOddAddress);
        if (i.registerOffset > kLastRegisterOffset)
            found.push_back(CopperProblem::MoveOutsideRegisters);
        addAccessProblems(i.registerOffset, found);
        return found;
    }
    if (i.horizontal & 1)
        found.push_back(CopperProblem::PositionOutsideBits);
    if (i.verticalMask > 0x7f || (i.horizontalMask & 1))
        found.push_back(CopperProblem::MaskOutsideBits);
    addWaitProblems(i, found);
    return found;
}

std::vector<CopperProblem> copperProblems(CopperWords words, std::optional<CopperOp> meant) {
    std::vector<CopperProblem> found;
    const CopperInstruction i = decode(words);
    if (meant && *meant != CopperOp::Move) {
        if (i.op == CopperOp::Move)
            found.push_back(CopperProblem::WaitReadAsMove);
        else if (*meant == CopperOp::Wait && i.op == CopperOp::Skip)
            found.push_back(CopperProblem::WaitReadAsSkip);
        else if (*meant == CopperOp::Skip && i.op == CopperOp::Wait)
            found.push_back(CopperProblem::SkipReadAsWait);
    }
    if (i.op == CopperOp::Move) {
        if (words.first & 0xfe00)
            found.push_back(CopperProblem::MoveUnusedBitsSet);
        addAccessProblems(i.registerOffset, found);
    } else {
        addWaitProblems(i, found);
    }
    return found;
}

long copperWaitReached(const CopperInstruction &wait, long clock, long frameEnd,
                       int clocksPerLine) {
    const int verticalMask = (wait.verticalMask & 0x7f) | 0x80;
    const int horizontalMask = wait.horizontalMask & 0xfe;
    const int wantedLine = wait.vertical & verticalMask;
    const int wantedHorizontal = wait.horizontal & horizontalMask;
    while (clock < frameEnd) {
        const long line = clock / clocksPerLine;
        const int beamLine = static_cast<int>(line & 0xff) & verticalMask;
        if (beamLine > wantedLine)
            return clock;
        if (beamLine == wantedLine) {
            for (long h = clock - line * clocksPerLine; h < clocksPerLine; ++h) {
                if ((h & horizontalMask) >= wantedHorizontal)
                    return line * clocksPerLine + h;
            }
        }
        clock = (line + 1) * clocksPerLine;
    }
    return -1;
}

std::string_view describe(CopperProblem problem) {
    switch (problem) {
    case CopperProblem::MoveToOddAddress:
        return "registers are words at even offsets: a MOVE cannot name an odd one";
    case CopperProblem::MoveOutsideRegisters:
        return "the custom-chip registers end at $1fe";
    case CopperProblem::MoveUnusedBitsSet:
        return "bits 15-9 of a MOVE's first word are not part of the register offset";
    case CopperProblem::MoveNeverAllowed:
        return "the copper cannot write registers $000-$03e";
    case CopperProblem::MoveNeedsDangerBit:
        return "the copper writes registers $040-$07e only while COPCON's danger bit is set";
    case CopperProblem::WaitReadAsMove:
        return "a first word with bit 0 clear is a MOVE, not a WAIT";
    case CopperProblem::WaitReadAsSkip:
        return "a second word with bit 0 set makes the WAIT a SKIP";
    case CopperProblem::SkipReadAsWait:
        return "a SKIP's second word needs bit 0 set, or it is a WAIT";
    case CopperProblem::PositionOutsideBits:
        return "the horizontal position has no bit 0: it is compared in steps of 2";
    case CopperProblem::MaskOutsideBits:
        return "the vertical mask has bits 6-0 and the horizontal mask bits 7-1";
    case CopperProblem::NeverMet:
        return "the beam never reaches this position: the copper stops here for the frame";
    }
    return {};
}

} // namespace amiga
