// Assembler text: every line that the project generates is written here, so that every tool and
// every command-line program prints the same way, ready to paste into a Motorola-syntax source:
//
//   - an instruction line starts with a tab, then the mnemonic, a tab and the operands, joined by
//     commas without blanks (an assembler ends the operand field at the first blank);
//   - a comment line starts with ';', a comment after an instruction with a tab and ';';
//   - a label starts in the first column and ends with ':';
//   - numbers are hexadecimal with '$' and lower-case digits;
//   - registers are named as in the hardware include files (upper case).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace amiga {

// "$" and the lower-case hexadecimal digits of value, at least minimumDigits of them.
std::string hex(std::uint32_t value, int minimumDigits = 1);
// A word as four digits: "$0fff".
inline std::string word(std::uint16_t value) {
    return hex(value, 4);
}
// An immediate word operand: "#$0fff".
inline std::string immediate(std::uint16_t value) {
    std::string text(1, '#');
    text += hex(value, 4);
    return text;
}
// A custom-chip register addressed from the base register: "COLOR00(a6)".
inline std::string customRegister(std::string_view name, std::string_view base = "a6") {
    return std::string(name) + "(" + std::string(base) + ")";
}

// A name for data that an assembler takes as a label and a C compiler as an identifier, made of
// text such as a file's name: letters, digits and '_', every other character '_'; '_' before a
// leading digit, and after a C keyword or a 68000 register's name; "data" for no text at all.
std::string symbolName(std::string_view text);

// The words of the "\tdc.w\t" lines of a text that AsmWriter wrote, in order: "$hhhh" operands
// and register names of the hardware include files (as their offsets); comment, label and blank
// lines are passed over. Nothing when a line is anything else, so that a caller that runs the
// words (a preview) runs exactly what the text says or nothing.
std::optional<std::vector<std::uint16_t>> dataWords(std::string_view text);

class AsmWriter {
public:
    // "\tmnemonic\toperand,operand[\t; comment]"
    AsmWriter &instruction(std::string_view mnemonic, const std::vector<std::string> &operands,
                           std::string_view comment = {});
    // "\tdc.w\t..." data words.
    AsmWriter &dcw(const std::vector<std::string> &operands, std::string_view comment = {}) {
        return instruction("dc.w", operands, comment);
    }
    // "\tdc.l\t..." data longs.
    AsmWriter &dcl(const std::vector<std::string> &operands, std::string_view comment = {}) {
        return instruction("dc.l", operands, comment);
    }
    // Bytes as data, 8 values a line: "\tdc.w\t$hhhh,..." lines of big-endian words; for an odd
    // number of bytes "\tdc.b\t$hh,..." lines of bytes instead. Nothing for no bytes.
    AsmWriter &data(const std::uint8_t *bytes, std::size_t size);
    // A copper MOVE as data: "\tdc.w\tNAME,$vvvv".
    AsmWriter &copperMove(std::string_view registerName, std::uint16_t value,
                          std::string_view comment = {});
    // A copper WAIT or SKIP as data: "\tdc.w\t$vvhh,$mmmm".
    AsmWriter &copperWords(std::uint16_t first, std::uint16_t second,
                           std::string_view comment = {});
    // The CPU writing a custom-chip register: "\tmove.w\t#$vvvv,NAME(a6)".
    AsmWriter &moveWord(std::uint16_t value, std::string_view registerName,
                        std::string_view comment = {}, std::string_view base = "a6");
    // "; text" (each line of a text with line feeds becomes a comment line of its own).
    AsmWriter &comment(std::string_view text);
    // "name:"
    AsmWriter &label(std::string_view name);
    // An equate: "name\tequ\t$value[\t; comment]".
    AsmWriter &equate(std::string_view name, std::uint32_t value, std::string_view comment = {});
    // An empty line.
    AsmWriter &blank();

    const std::string &text() const { return m_text; }
    std::string take() { return std::move(m_text); }
    bool empty() const { return m_text.empty(); }
    // Lines written so far that are instructions (not comments, labels or blank lines).
    std::size_t instructionCount() const { return m_instructions; }

private:
    std::string m_text;
    std::size_t m_instructions = 0;
};

} // namespace amiga
