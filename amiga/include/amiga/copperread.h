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
    std::size_t line = 0;   // 1 for the first line of a text; 0 for a binary file
    std::size_t column = 0; // 1 for the first character of the line; 0 when it names no place
    std::string message;
};

// A word the text gives by an expression over a symbol it does not define (a label's address,
// a name from an include file): its words hold 0 and it is listed as written.
struct CopperUnknownWord {
    std::size_t word = 0;   // index in CopperRead::words
    std::string expression; // "screen>>16"; a dc.l's halves as "(expr)>>16" and "(expr)&$ffff"
};

// A symbol given a value from outside the text (quillfen-asm copper --define, the Workbench's
// symbol field).
struct CopperSymbol {
    std::string name;
    std::uint32_t value = 0;
};

struct CopperRead {
    std::vector<std::uint16_t> words;
    std::vector<CopperReadError> errors;    // nothing was read when there is one
    std::vector<CopperUnknownWord> unknown; // in word order
    // What was passed over (directives that give no words, include not followed) and, last,
    // one note naming the undefined symbols; each with the first line it concerns.
    std::vector<CopperReadError> notes;
    std::vector<std::string> undefinedSymbols; // in the order of their first use
    bool ok() const { return errors.empty(); }
};

// Reads a copper list from text, a line at a time. Each line is one of:
//   - empty, or a comment: everything from ';' on, and a line whose first character is '*';
//   - assembler source as people write it: an optional label (in the first column, or
//     anywhere with ':'), a mnemonic or directive in any case, an operand field that ends at the
//     first blank, and anything after it a comment. dc.w, dc.l and dc.b give words (bytes
//     pair into words; a dc.w or dc.l after an odd number of bytes starts on the next word, as
//     even does); equ, = and set define symbols anywhere in the text (a use before the
//     definition works); section, cnop, end (which ends the text), xdef, xref, incdir, include,
//     incbin and public are passed over with a note. An operand is an expression: numbers
//     ($hex, %binary, @octal, decimal, 'chars'), symbols and the operators
//     + - * / % << >> & | ! ^ ~ with parentheses, over 32 bits (precedence: see the reader).
//     A lone 'string' operand is data, left-aligned in its words. Register names of the
//     hardware include files, in any case, stand for their offsets unless the text defines them.
//     A symbol that is neither defined nor a register (a label's address) is no error: its words
//     read as 0, are kept in unknown with their expression, and the symbol is named in a note;
//   - an emulator's memory view: hexadecimal words (4 digits) or longs (8 digits), or bytes
//     (2 digits, an even number of them on a line) that pair into words, separated by blanks,
//     all of one width on a line, after an optional address that ends with ':' or that has six
//     or more digits, more than the groups that follow it. With an address, the first token that
//     is not hexadecimal starts the character column, which is not read. In a view whose lines
//     start with addresses, a line of an address alone (the last line of hexdump -C and od) is
//     no data, and a line "*" repeats the line before up to the next address.
// Anything else is an error with its line (and column, for an expression), and a list with any
// error gives no words. A line longer than kCopperLineMaxLength is refused unread. At most
// maxErrors errors are reported. defined gives symbols the text does not define.
constexpr std::size_t kCopperLineMaxLength = 4096;
CopperRead readCopperText(std::string_view text, std::span<const CopperSymbol> defined,
                          std::size_t maxErrors = 50);
inline CopperRead readCopperText(std::string_view text, std::size_t maxErrors = 50) {
    return readCopperText(text, {}, maxErrors);
}

// Reads "NAME=VALUE" definitions, separated by blanks or commas (VALUE an expression of numbers,
// register names and the names before it), as --define and the Workbench's field give them.
// False, with a message, for anything else; symbols then holds those read before the fault.
bool readCopperSymbols(std::string_view text, std::vector<CopperSymbol> *symbols,
                       std::string *error);

// Reads big-endian words from a binary file's bytes, from a byte offset on. An offset past the
// end, or an odd number of bytes after it, is an error.
CopperRead readCopperBinary(std::span<const std::uint8_t> bytes, std::size_t offset = 0);

} // namespace amiga
