// Copper instructions as the copper reads them: two words each.
//
//   MOVE  first word: the register offset, bits 8-1 (bit 0 clear); second word: the value.
//   WAIT  first word: VP << 8 | HP | 1, the vertical position in bits 15-8 and the horizontal
//         position in bits 7-1; second word: BFD << 15 | VE << 8 | HE, bit 0 clear. VE masks
//         bits 6-0 of the line (bit 7 is always compared), HE bits 7-1 of the horizontal
//         position, BFD set means "do not wait for the blitter to finish".
//   SKIP  as WAIT, with bit 0 of the second word set: skips the next instruction when the beam
//         has reached the position.
//
// The end of a list is the WAIT $ffff,$fffe, a position that the beam never reaches.
// (Hardware Reference Manual, "Copper Instructions".)
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace amiga {

enum class CopperOp : std::uint8_t { Move, Wait, Skip };

struct CopperWords {
    std::uint16_t first = 0;
    std::uint16_t second = 0;
    friend bool operator==(const CopperWords &, const CopperWords &) = default;
};

constexpr CopperWords kCopperEndOfList{0xffff, 0xfffe};

constexpr bool isEndOfList(CopperWords words) {
    return words == kCopperEndOfList;
}

// The horizontal beam positions that WAIT and SKIP compare with run from 0 to $e2.
constexpr int kCopperLastHorizontal = 0xe2;

// One instruction by its fields. Only the fields of its kind mean anything. Each field holds the
// bits where the words hold them, so that a field with bits outside them can be told apart
// (problems() reports them; encode() drops them).
struct CopperInstruction {
    CopperOp op = CopperOp::Move;
    // MOVE
    std::uint16_t registerOffset = 0; // $000-$1fe, even
    std::uint16_t value = 0;
    // WAIT and SKIP
    std::uint8_t vertical = 0;          // VP: line bits 7-0
    std::uint8_t horizontal = 0;        // HP: the position's bits 7-1; bit 0 is not part of it
    std::uint8_t verticalMask = 0x7f;   // VE: bits 6-0
    std::uint8_t horizontalMask = 0xfe; // HE: bits 7-1
    bool blitterFinishedDisable = true; // BFD

    static constexpr CopperInstruction move(std::uint16_t offset, std::uint16_t value) {
        CopperInstruction i;
        i.registerOffset = offset;
        i.value = value;
        return i;
    }
    static constexpr CopperInstruction wait(std::uint8_t vertical, std::uint8_t horizontal,
                                            std::uint8_t verticalMask = 0x7f,
                                            std::uint8_t horizontalMask = 0xfe,
                                            bool blitterFinishedDisable = true) {
        CopperInstruction i;
        i.op = CopperOp::Wait;
        i.vertical = vertical;
        i.horizontal = horizontal;
        i.verticalMask = verticalMask;
        i.horizontalMask = horizontalMask;
        i.blitterFinishedDisable = blitterFinishedDisable;
        return i;
    }
    // The same compare as a SKIP.
    constexpr CopperInstruction asSkip() const {
        CopperInstruction i = *this;
        i.op = CopperOp::Skip;
        return i;
    }
    friend bool operator==(const CopperInstruction &, const CopperInstruction &) = default;
};

constexpr CopperWords encode(const CopperInstruction &i) {
    if (i.op == CopperOp::Move)
        return {static_cast<std::uint16_t>(i.registerOffset & 0x1fe), i.value};
    return {static_cast<std::uint16_t>(i.vertical << 8 | (i.horizontal & 0xfe) | 1),
            static_cast<std::uint16_t>((i.blitterFinishedDisable ? 0x8000 : 0) |
                                       (i.verticalMask & 0x7f) << 8 | (i.horizontalMask & 0xfe) |
                                       (i.op == CopperOp::Skip ? 1 : 0))};
}

// What the copper makes of two words. A MOVE's offset is bits 8-1 of the first word: the copper
// ignores bits 15-9 (problems() reports them).
constexpr CopperInstruction decode(CopperWords words) {
    if ((words.first & 1) == 0)
        return CopperInstruction::move(words.first & 0x1fe, words.second);
    CopperInstruction i = CopperInstruction::wait(
        static_cast<std::uint8_t>(words.first >> 8), static_cast<std::uint8_t>(words.first & 0xfe),
        static_cast<std::uint8_t>(words.second >> 8 & 0x7f),
        static_cast<std::uint8_t>(words.second & 0xfe), (words.second & 0x8000) != 0);
    if (words.second & 1)
        i.op = CopperOp::Skip;
    return i;
}

// Whether a WAIT or SKIP is satisfied with the beam on line (only its low byte is compared, so
// line $100 compares as $00) at horizontal position: the masked beam position, line then
// horizontal, is greater than or equal to the masked position of the instruction. The
// blitter-finished condition is taken as met.
constexpr bool beamReached(const CopperInstruction &i, int line, int horizontal) {
    const int verticalMask = (i.verticalMask & 0x7f) | 0x80;
    const int horizontalMask = i.horizontalMask & 0xfe;
    const int beam = ((line & 0xff) & verticalMask) << 8 | (horizontal & horizontalMask);
    const int wanted = (i.vertical & verticalMask) << 8 | (i.horizontal & horizontalMask);
    return beam >= wanted;
}

// The first colour clock from clock on (clocks counted from the frame's start, clocksPerLine a
// line) at which a WAIT is satisfied; -1 when none comes before frameEnd.
long copperWaitReached(const CopperInstruction &wait, long clock, long frameEnd, int clocksPerLine);

enum class CopperProblem : std::uint8_t {
    MoveToOddAddress,     // a register offset with bit 0 set: no word can hold it
    MoveOutsideRegisters, // an offset past $1fe
    MoveUnusedBitsSet,    // first word bits 15-9 set: the copper ignores them
    MoveNeverAllowed,     // $000-$03e: the copper cannot write there
    MoveNeedsDangerBit,   // $040-$07e: only while COPCON's danger bit is set
    WaitReadAsMove,       // meant as WAIT or SKIP, but the first word's bit 0 is clear
    WaitReadAsSkip,       // meant as WAIT, but the second word's bit 0 is set
    SkipReadAsWait,       // meant as SKIP, but the second word's bit 0 is clear
    PositionOutsideBits,  // a horizontal position with bit 0 set
    MaskOutsideBits,      // a vertical mask past $7f or a horizontal mask with bit 0 set
    NeverMet,             // the beam never reaches the position (the end of list excepted)
};

// What is wrong with an instruction given by its fields (as a text or a form asks for it).
std::vector<CopperProblem> copperProblems(const CopperInstruction &instruction);

// What is wrong with two words; with meant, also whether the copper reads them as that kind.
std::vector<CopperProblem> copperProblems(CopperWords words,
                                          std::optional<CopperOp> meant = std::nullopt);

// One line of English for a problem, for comments and messages.
std::string_view describe(CopperProblem problem);

} // namespace amiga
