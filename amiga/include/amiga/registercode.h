// A custom-chip register word as the instruction that writes it, with a comment that names its
// set bits and bit groups: "\tmove.w\t#$5200,BPLCON0(a6)\t; BPU=5 COLOR".
//
// The Registers tab and `quillfen-asm register` both write through here, so that the same word
// gives the same line. The bit names come from the register database, the XML document this
// library carries (data/amigaRegisters.xml): registerDatabase() is its one reading, for the
// window and the programs alike.
#pragma once

#include "amiga/displaysetup.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace amiga {

// The chipsets on which a register or bit exists, one bit per Chipset.
using ChipsetSet = std::uint8_t;
constexpr ChipsetSet chipsetBit(Chipset chipset) {
    return static_cast<ChipsetSet>(1u << static_cast<unsigned>(chipset));
}
constexpr ChipsetSet kAllChipsets =
    chipsetBit(Chipset::Ocs) | chipsetBit(Chipset::Ecs) | chipsetBit(Chipset::Aga);
// "OCS", "ECS", "AGA".
std::string_view chipsetName(Chipset chipset);

struct RegisterBitName {
    std::string name;      // "BPU0", "COLOR", "unused"
    std::string group;     // the bit group (field) it belongs to; empty for none
    int groupPosition = 0; // its place in the group, 0 the least significant
    ChipsetSet chipsets = kAllChipsets;
    std::string description;
    bool agaOnly() const { return chipsets == chipsetBit(Chipset::Aga); }
    friend bool operator==(const RegisterBitName &, const RegisterBitName &) = default;
};

// A bit's reading on the chipsets that read it otherwise than bits[bit] (BPLCON1's scroll bits
// count lores pixels on OCS and ECS, 35 ns steps on AGA).
struct OtherBitReading {
    int bit = 0;
    RegisterBitName reading;
    friend bool operator==(const OtherBitReading &, const OtherBitReading &) = default;
};

struct RegisterLayout {
    std::string name;          // "BPLCON0"
    std::uint32_t address = 0; // $dff100
    ChipsetSet chipsets = kAllChipsets;
    bool readOnly = false; // a read address: writing it does nothing
    std::string summary;
    std::string note;
    std::string extra;
    std::array<RegisterBitName, 16> bits; // bit 0 first
    std::vector<OtherBitReading> otherReadings;
    // Set by layoutOn when the register does not exist on the chosen chipset: that chipset.
    std::string missingOn;
    bool agaOnly() const { return chipsets == chipsetBit(Chipset::Aga); }
    friend bool operator==(const RegisterLayout &, const RegisterLayout &) = default;
};

// The registers of a register database document, in document order: every `register` element
// with exactly sixteen bits (others are passed over). A `bit` element with the position of the
// bit before it is that bit's reading on the chipsets it names (otherReadings). On a malformed
// document, gives the registers completed before the fault and says why in *error.
std::vector<RegisterLayout> readRegisterDatabase(std::string_view xml,
                                                 std::string *error = nullptr);

// The database this library carries, read once (safe from any thread); *error (when given)
// says why it could not be read whole, empty when it was.
const std::vector<RegisterLayout> &registerDatabase(std::string *error = nullptr);
// The text of that document.
std::string_view registerDatabaseDocument();

// The register as the chipset has it: each bit its reading there, a bit that chipset lacks
// named "unused" (its description says what it is elsewhere), and for a register the chipset
// lacks, every bit unused and missingOn set. Its otherReadings are left empty.
RegisterLayout layoutOn(const RegisterLayout &layout, Chipset chipset);

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
// address, a register the chipset lacks) or when the copper cannot make it ($000-$03e) or
// needs COPCON's danger bit ($040-$07e).
std::string registerWriteCode(const RegisterLayout &layout, std::uint16_t word, SetClear mode,
                              bool copper);

} // namespace amiga
