// A custom-chip register word as the instruction that writes it, with a comment that names its
// set bits and bit groups: "\tmove.w\t#$5200,BPLCON0(a6)\t; BPU=5 COLOR".
//
// The Registers tab and `quillfen-asm register` both write through here, so that the same word
// gives the same line. The bit names come from the register database (the XML document the
// application carries); readRegisterDatabase reads the part of it that the code needs, without
// Qt, for the command-line program.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace amiga {

struct RegisterBitName {
    std::string name;      // "BPU0", "COLOR", "unused"
    std::string group;     // the bit group (field) it belongs to; empty for none
    int groupPosition = 0; // its place in the group, 0 the least significant
    bool aga = false;      // exists only on the AGA chipset
    friend bool operator==(const RegisterBitName &, const RegisterBitName &) = default;
};

struct RegisterLayout {
    std::string name;          // "BPLCON0"
    std::uint32_t address = 0; // $dff100
    bool aga = false;
    bool readOnly = false;                // a read address: writing it does nothing
    std::array<RegisterBitName, 16> bits; // bit 0 first
    friend bool operator==(const RegisterLayout &, const RegisterLayout &) = default;
};

// The registers of a register database document, in document order: every `register` element
// with exactly sixteen `bit` elements (others are passed over, as the Registers tab does). On a
// malformed document, gives the registers completed before the fault and says why in *error.
std::vector<RegisterLayout> readRegisterDatabase(std::string_view xml,
                                                 std::string *error = nullptr);

// The register of that name, whatever the case of the letters; null when there is none.
const RegisterLayout *findRegister(const std::vector<RegisterLayout> &registers,
                                   std::string_view name);

// DMACON, INTENA, INTREQ and ADKCON take bit 15 (SET/CLR) as the choice between setting and
// clearing the bits written as 1.
bool isSetClearRegister(std::string_view name);

enum class SetClear {
    AsGiven, // the word as it is, bit 15 included
    Set,     // bit 15 set: the bits written as 1 are set
    Clear,   // bit 15 clear: the bits written as 1 are cleared
};

// The word written: for Set and Clear, bit 15 made 1 or 0.
std::uint16_t wordToWrite(std::uint16_t word, SetClear mode);

// The comment for a word written to the register: its set bits from bit 15 down, a bit group
// once as NAME=value at its highest set member ("BPU=5 COLOR"). A set/clear register's comment
// starts with SET or CLEAR and leaves bit 15 out. A set bit that the register does not use is
// named by its number ("bit11"). Empty for a word without set bits.
std::string describeWord(const RegisterLayout &layout, std::uint16_t word);

// The line that writes word (after wordToWrite) to the register: a processor move through a6
// or, with copper, a copper MOVE as data. A name that is no assembler symbol (say "NO-OP") is
// written as its offset. Comment lines above it say when the write does nothing (a read
// address) or when the copper cannot make it ($000-$03e) or needs COPCON's danger bit
// ($040-$07e).
std::string registerWriteCode(const RegisterLayout &layout, std::uint16_t word, SetClear mode,
                              bool copper);

} // namespace amiga
