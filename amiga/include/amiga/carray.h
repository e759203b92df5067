// C source text: data for a program written in C (with an Amiga compiler's chip-memory keyword
// when asked), written here so that every tool and program writes it the same way:
//
//   /* a comment */
//   ATTRIBUTE const unsigned short NAME[] = {
//       0x0123, 0x4567, ...        (8 values a line, lower-case hexadecimal)
//   };
//
// Words are the big-endian words of the bytes, as the 68000 reads them, so that the array holds
// in memory exactly the bytes a binary file of them holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace amiga {

class CArrayWriter {
public:
    // "/* text */"; a "*/" in text is broken ("* /") so that the comment ends where it should.
    CArrayWriter &comment(std::string_view text);
    // The bytes as an array of unsigned short words, or of unsigned char for an odd number of
    // bytes; attribute (such as "__chip"), when given, before the type. name must be an
    // identifier (symbolName, asmtext.h).
    CArrayWriter &array(std::string_view name, const std::uint8_t *bytes, std::size_t size,
                        std::string_view attribute = {});

    // The bytes as an array of unsigned char, whatever their number (a table of byte values).
    CArrayWriter &byteArray(std::string_view name, const std::uint8_t *bytes, std::size_t size,
                            std::string_view attribute = {});
    // "extern ATTRIBUTE const unsigned short NAME[];": data of another file, for a header.
    CArrayWriter &declaration(std::string_view name, std::string_view attribute = {});
    // "#ifndef GUARD" and "#define GUARD", and the "#endif" closing them.
    CArrayWriter &guard(std::string_view name);
    CArrayWriter &endGuard();
    // "#define NAME value /* comment */", the value in decimal.
    CArrayWriter &define(std::string_view name, std::uint32_t value, std::string_view comment = {});

    const std::string &text() const { return m_text; }
    std::string take() { return std::move(m_text); }

private:
    // "ATTRIBUTE const TYPE NAME[] = {" and the values, 8 a line.
    void values(std::string_view type, std::string_view name,
                const std::vector<std::string> &values, std::string_view attribute);

    std::string m_text;
};

} // namespace amiga
