#include "amiga/carray.h"

#include <cstdio>

namespace amiga {

namespace {

// "/* text */", a "*/" in text broken ("* /") so that the comment ends where it should.
std::string commentText(std::string_view text) {
    std::string body(text);
    for (std::size_t at = 0; (at = body.find("*/", at)) != std::string::npos; at += 3) {
        body.replace(at, 2, "* /");
    }
    return "/* " + body + " */";
}

} // namespace

CArrayWriter &CArrayWriter::comment(std::string_view text) {
    m_text += commentText(text);
    m_text += '\n';
    return *this;
}

void CArrayWriter::values(std::string_view type, std::string_view name,
                          const std::vector<std::string> &values, std::string_view attribute) {
    if (!attribute.empty()) {
        m_text += attribute;
        m_text += ' ';
    }
    m_text += "const ";
    m_text += type;
    m_text += ' ';
    m_text += name;
    m_text += "[] = {\n";
    for (std::size_t index = 0; index < values.size(); index++) {
        m_text += index % 8 == 0 ? "    " : " ";
        m_text += values[index];
        if (index + 1 < values.size()) {
            m_text += ',';
        }
        if (index % 8 == 7 || index + 1 == values.size()) {
            m_text += '\n';
        }
    }
    m_text += "};\n";
}

CArrayWriter &CArrayWriter::array(std::string_view name, const std::uint8_t *bytes,
                                  std::size_t size, std::string_view attribute) {
    if (size % 2 != 0) {
        return byteArray(name, bytes, size, attribute);
    }
    std::vector<std::string> words;
    for (std::size_t at = 0; at + 1 < size; at += 2) {
        char value[8];
        std::snprintf(value, sizeof value, "0x%04x", unsigned(bytes[at]) << 8 | bytes[at + 1]);
        words.emplace_back(value);
    }
    values("unsigned short", name, words, attribute);
    return *this;
}

CArrayWriter &CArrayWriter::byteArray(std::string_view name, const std::uint8_t *bytes,
                                      std::size_t size, std::string_view attribute) {
    std::vector<std::string> list;
    for (std::size_t at = 0; at < size; at++) {
        char value[8];
        std::snprintf(value, sizeof value, "0x%02x", unsigned(bytes[at]));
        list.emplace_back(value);
    }
    values("unsigned char", name, list, attribute);
    return *this;
}

CArrayWriter &CArrayWriter::declaration(std::string_view name, std::string_view attribute) {
    m_text += "extern ";
    if (!attribute.empty()) {
        m_text += attribute;
        m_text += ' ';
    }
    m_text += "const unsigned short ";
    m_text += name;
    m_text += "[];\n";
    return *this;
}

CArrayWriter &CArrayWriter::guard(std::string_view name) {
    m_text += "#ifndef ";
    m_text += name;
    m_text += "\n#define ";
    m_text += name;
    m_text += '\n';
    return *this;
}

CArrayWriter &CArrayWriter::endGuard() {
    m_text += "#endif\n";
    return *this;
}

CArrayWriter &CArrayWriter::define(std::string_view name, std::uint32_t value,
                                   std::string_view comment) {
    m_text += "#define ";
    m_text += name;
    m_text += ' ';
    m_text += std::to_string(value);
    if (!comment.empty()) {
        m_text += ' ' + commentText(comment);
    }
    m_text += '\n';
    return *this;
}

} // namespace amiga
