// Assembles generated text with a real 68000 assembler (binutils, MRI syntax) and gives back the
// words it made, so that tests check what a user's assembler makes of the text, not the text.
//
// The text is assembled exactly as given, after the register equates that a program would get
// from the hardware include files: nothing is indented or otherwise mended.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace m68k {

// Whether m68k-linux-gnu-as and m68k-linux-gnu-objcopy are on the PATH.
bool available();

struct Result {
    std::optional<std::vector<std::uint16_t>> words; // none when assembling failed
    std::vector<std::uint8_t> bytes;                 // as made, an odd last byte included
    std::string messages;                            // what the assembler said
};

// equates: "NAME\tequ\t$offset" lines put before the text; by default every custom-chip
// register the tests need (see registerEquates()).
Result assemble(const std::string &text);
Result assemble(const std::string &text, const std::string &equates);

// The custom-chip register offsets of the hardware include files, as equates, for the registers
// that generated code names: colour registers, bitplane and display set-up, copper, DMA and
// interrupts, blitter (data/hardware_equates.i).
const std::string &registerEquates();

} // namespace m68k
