#include "amiga/carray.h"

#include <cstdio>

namespace amiga {

CArrayWriter &CArrayWriter::comment(std::string_view text) {
    std::string body(text);
    for (std::size_t at = 0; (at = body.find("*/", at)) != std::string::npos; at += 3) {
        body.replace(at, 2, "* /");
    }
    m_text += "/* ";
    m_text += body;
    m_text += " */\n";
    return *this;
}

CArrayWriter &CArrayWriter::array(std::string_view name, const std::uint8_t *bytes,
                                  std::size_t size, std::string_view attribute) {
    const bool words = size % 2 == 0;
    const std::size_t step = words ? 2 : 1;
    if (!attribute.empty()) {
        m_text += attribute;
        m_text += ' ';
    }
    m_text += words ? "const unsigned short " : "const unsigned char ";
    m_text += name;
    m_text += "[] = {\n";
    for (std::size_t at = 0; at < size; at += step) {
        char value[8];
        if (words) {
            std::snprintf(value, sizeof value, "0x%04x", unsigned(bytes[at]) << 8 | bytes[at + 1]);
        } else {
            std::snprintf(value, sizeof value, "0x%02x", unsigned(bytes[at]));
        }
        const std::size_t index = at / step;
        m_text += index % 8 == 0 ? "    " : " ";
        m_text += value;
        if (at + step < size) {
            m_text += ',';
        }
        if (index % 8 == 7 || at + step >= size) {
            m_text += '\n';
        }
    }
    m_text += "};\n";
    return *this;
}

} // namespace amiga
