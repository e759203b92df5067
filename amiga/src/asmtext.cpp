#include "amiga/asmtext.h"

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

AsmWriter &AsmWriter::blank() {
    m_text += '\n';
    return *this;
}

} // namespace amiga
