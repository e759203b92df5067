#include "amiga/asmtext.h"

#include "amiga/customregisters.h"

namespace amiga {

std::string hex(std::uint32_t value, int minimumDigits) {
    static constexpr char digits[] = "0123456789abcdef";
    char buffer[9];
    int n = 0;
    do {
        buffer[n++] = digits[value & 0xf];
        value >>= 4;
    } while (value != 0 && n < 8);
    while (n < minimumDigits && n < 8)
        buffer[n++] = '0';
    std::string text(1, '$');
    text.reserve(static_cast<std::size_t>(n) + 1);
    while (n > 0)
        text += buffer[--n];
    return text;
}

std::optional<std::vector<std::uint16_t>> dataWords(std::string_view text) {
    constexpr std::string_view kData = "\tdc.w\t";
    std::vector<std::uint16_t> words;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line[0] == ';' || (line.back() == ':' && line[0] != '\t'))
            continue;
        if (line.substr(0, kData.size()) != kData)
            return std::nullopt;
        line.remove_prefix(kData.size());
        line = line.substr(0, line.find('\t')); // a comment after the operands
        for (bool more = true; more;) {
            const std::size_t comma = line.find(',');
            const std::string_view operand = line.substr(0, comma);
            more = comma != std::string_view::npos;
            line = more ? line.substr(comma + 1) : std::string_view();
            if (operand.size() == 5 && operand[0] == '$') {
                std::uint16_t value = 0;
                for (char c : operand.substr(1)) {
                    const int digit = c >= '0' && c <= '9'   ? c - '0'
                                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                             : -1;
                    if (digit < 0)
                        return std::nullopt;
                    value = static_cast<std::uint16_t>(value << 4 | digit);
                }
                words.push_back(value);
            } else if (operand.empty() || operand[0] < 'A' || operand[0] > 'Z') {
                return std::nullopt;
            } else if (const auto offset = registerOffset(operand)) {
                words.push_back(*offset);
            } else {
                return std::nullopt;
            }
        }
    }
    return words;
}

std::string symbolName(std::string_view text) {
    // The keywords of C (C17, and C23's new ones), which no identifier may be.
    static const std::string_view keywords[] = {
        "alignas",      "alignof",  "auto",          "bool",      "break",
        "case",         "char",     "const",         "constexpr", "continue",
        "default",      "do",       "double",        "else",      "enum",
        "extern",       "false",    "float",         "for",       "goto",
        "if",           "inline",   "int",           "long",      "nullptr",
        "register",     "restrict", "return",        "short",     "signed",
        "sizeof",       "static",   "static_assert", "struct",    "switch",
        "thread_local", "true",     "typedef",       "typeof",    "typeof_unqual",
        "union",        "unsigned", "void",          "volatile",  "while"};
    if (text.empty()) {
        return "data";
    }
    std::string name;
    if (text.front() >= '0' && text.front() <= '9') {
        name += '_';
    }
    for (const char c : text) {
        const bool kept =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        name += kept ? c : '_';
    }
    // The 68000's registers, which an assembler takes in either case and no label may be.
    static const std::string_view registers[] = {"d0", "d1", "d2", "d3", "d4", "d5",  "d6",
                                                 "d7", "a0", "a1", "a2", "a3", "a4",  "a5",
                                                 "a6", "a7", "sp", "pc", "sr", "ccr", "usp"};
    std::string lower = name;
    for (char &c : lower) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    for (const std::string_view keyword : keywords) {
        if (name == keyword) {
            name += '_';
        }
    }
    for (const std::string_view reserved : registers) {
        if (lower == reserved) {
            name += '_';
        }
    }
    return name;
}

AsmWriter &AsmWriter::instruction(std::string_view mnemonic,
                                  const std::vector<std::string> &operands,
                                  std::string_view comment) {
    m_text += '\t';
    m_text += mnemonic;
    for (std::size_t i = 0; i < operands.size(); ++i) {
        m_text += i == 0 ? '\t' : ',';
        m_text += operands[i];
    }
    if (!comment.empty()) {
        m_text += "\t; ";
        m_text += comment;
    }
    m_text += '\n';
    ++m_instructions;
    return *this;
}

AsmWriter &AsmWriter::data(const std::uint8_t *bytes, std::size_t size) {
    const bool words = size % 2 == 0;
    const std::size_t step = words ? 2 : 1;
    const std::size_t perLine = 8 * step;
    for (std::size_t line = 0; line < size; line += perLine) {
        std::vector<std::string> operands;
        for (std::size_t at = line; at < size && at < line + perLine; at += step) {
            operands.push_back(
                words ? word(static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]))
                      : hex(bytes[at], 2));
        }
        instruction(words ? "dc.w" : "dc.b", operands);
    }
    return *this;
}

AsmWriter &AsmWriter::copperMove(std::string_view registerName, std::uint16_t value,
                                 std::string_view comment) {
    return dcw({std::string(registerName), word(value)}, comment);
}

AsmWriter &AsmWriter::copperWords(std::uint16_t first, std::uint16_t second,
                                  std::string_view comment) {
    return dcw({word(first), word(second)}, comment);
}

AsmWriter &AsmWriter::moveWord(std::uint16_t value, std::string_view registerName,
                               std::string_view comment, std::string_view base) {
    return instruction("move.w", {immediate(value), customRegister(registerName, base)}, comment);
}

AsmWriter &AsmWriter::comment(std::string_view text) {
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        const std::string_view line =
            text.substr(start, end == std::string_view::npos ? end : end - start);
        m_text += line.empty() ? ";" : "; ";
        m_text += line;
        m_text += '\n';
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return *this;
}

AsmWriter &AsmWriter::label(std::string_view name) {
    m_text += name;
    m_text += ":\n";
    return *this;
}

AsmWriter &AsmWriter::equate(std::string_view name, std::uint32_t value, std::string_view comment) {
    m_text += name;
    m_text += "\tequ\t";
    m_text += hex(value);
    if (!comment.empty()) {
        m_text += "\t; ";
        m_text += comment;
    }
    m_text += '\n';
    return *this;
}

AsmWriter &AsmWriter::blank() {
    m_text += '\n';
    return *this;
}

} // namespace amiga
