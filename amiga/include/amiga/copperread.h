// Copper lists as users have them: pasted assembler data, an emulator's memory view, or a binary
// file of big-endian words. Every reader is bounded: no input makes it run long or allocate
// more than the words it may give.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace amiga {

// The most words a list may hold: the 2 MiB of the largest chip memory. Longer input is refused.
constexpr std::size_t kCopperListMaxWords = std::size_t{1} << 20;

struct CopperReadError {
    std::size_t line = 0; // 1 for the first line of a text; 0 for a binary file
    std::string message;
};

struct CopperRead {
    std::vector<std::uint16_t> words;
    std::vector<CopperReadError> errors; // nothing was read when there is one
    bool ok() const { return errors.empty(); }
};

// Reads a copper list from text, a line at a time. Each line is one of:
//   - empty, or a comment: everything from ';' on, and a line whose first character is '*';
//   - assembler data: an optional label ("name:", or a name in the first column), "dc.w" or
//     "dc.l" (any case) and operands separated by commas (blanks after a comma are allowed);
//     what follows the operands after a blank is a comment, as assemblers take it.
//     An operand is a number ($hex, 0xhex, %binary, decimal, with an optional '-') or a register
//     name of the hardware include files, which stands for its offset. A dc.l operand gives two
//     words, high word first;
//   - an emulator's memory view: hexadecimal words (4 digits) or longs (8 digits), or bytes
//     (2 digits, an even number of them on a line) that pair into words, separated by blanks,
//     all of one width on a line, after an optional address that ends with ':' or that has six
//     or more digits, more than the groups that follow it. With an address, the first token that
//     is not hexadecimal starts the character column, which is not read. In a view whose lines
//     start with addresses, a line of an address alone (the last line of hexdump -C and od) is
//     no data.
// Anything else is an error with its line number, and a list with any error gives no words.
// At most maxErrors errors are reported.
CopperRead readCopperText(std::string_view text, std::size_t maxErrors = 50);

// Reads big-endian words from a binary file's bytes, from a byte offset on. An offset past the
// end, or an odd number of bytes after it, is an error.
CopperRead readCopperBinary(std::span<const std::uint8_t> bytes, std::size_t offset = 0);

} // namespace amiga
