#include "amiga/registercode.h"

#include "amiga/asmtext.h"
#include "amiga/copper.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>

// The database document, compiled in by embed.cmake.
extern const char kRegisterDatabase[];
extern const std::size_t kRegisterDatabaseSize;

namespace amiga {

namespace {

// ---- The register database document: just enough XML for it ----------------------------------
//
// Elements with attributes, text, comments, processing instructions, a document type
// declaration, CDATA sections, and the predefined and numeric character references. The reader
// needs element names and attributes, and the text of one element (a register's note).

struct Tag {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    bool closing = false;     // </name>
    bool selfClosing = false; // <name/>

    std::string attribute(std::string_view key) const {
        for (const auto &[k, v] : attributes)
            if (k == key)
                return v;
        return {};
    }
    bool has(std::string_view key) const {
        for (const auto &[k, v] : attributes)
            if (k == key)
                return true;
        return false;
    }
};

void appendUtf8(std::string &out, unsigned long code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xc0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xe0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3f));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    }
}

// Text with its character references replaced; nullopt for a reference the reader cannot read.
std::optional<std::string> unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const std::size_t end = text.find(';', i);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view entity = text.substr(i + 1, end - i - 1);
        if (entity == "amp")
            out += '&';
        else if (entity == "lt")
            out += '<';
        else if (entity == "gt")
            out += '>';
        else if (entity == "quot")
            out += '"';
        else if (entity == "apos")
            out += '\'';
        else if (entity.size() > 1 && entity[0] == '#') {
            const bool hex = entity[1] == 'x';
            const std::string digits(entity.substr(hex ? 2 : 1));
            char *stop = nullptr;
            const unsigned long code = std::strtoul(digits.c_str(), &stop, hex ? 16 : 10);
            if (digits.empty() || *stop != '\0' || code == 0 || code > 0x10ffff)
                return std::nullopt;
            appendUtf8(out, code);
        } else {
            return std::nullopt;
        }
        i = end;
    }
    return out;
}

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':' ||
           c == '.' || static_cast<unsigned char>(c) >= 0x80;
}

class Reader {
public:
    explicit Reader(std::string_view xml) : m_xml(xml) {}

    // The next tag, with the text before it in *text; nullopt at the end or on a fault.
    std::optional<Tag> next(std::string *text) {
        text->clear();
        while (m_at < m_xml.size()) {
            const std::size_t open = m_xml.find('<', m_at);
            const std::size_t stop = open == std::string_view::npos ? m_xml.size() : open;
            const std::optional<std::string> piece = unescape(m_xml.substr(m_at, stop - m_at));
            if (!piece)
                return fail("a character reference that cannot be read");
            *text += *piece;
            m_at = stop;
            if (open == std::string_view::npos)
                return std::nullopt;
            if (startsWith("<!--")) {
                if (!skipPast("-->"))
                    return fail("a comment that does not end");
            } else if (startsWith("<![CDATA[")) {
                const std::size_t end = m_xml.find("]]>", m_at);
                if (end == std::string_view::npos)
                    return fail("a CDATA section that does not end");
                *text += m_xml.substr(m_at + 9, end - m_at - 9);
                m_at = end + 3;
            } else if (startsWith("<?") || startsWith("<!")) {
                if (!skipPast(">"))
                    return fail("a declaration that does not end");
            } else {
                return tag();
            }
        }
        return std::nullopt;
    }

    const std::string &error() const { return m_error; }

private:
    bool startsWith(std::string_view prefix) const {
        return m_xml.substr(m_at, prefix.size()) == prefix;
    }
    bool skipPast(std::string_view end) {
        const std::size_t found = m_xml.find(end, m_at);
        if (found == std::string_view::npos)
            return false;
        m_at = found + end.size();
        return true;
    }
    std::nullopt_t fail(const std::string &what) {
        if (m_error.empty())
            m_error = what + " at byte " + std::to_string(m_at);
        m_at = m_xml.size();
        return std::nullopt;
    }
    void skipBlanks() {
        while (m_at < m_xml.size() && std::isspace(static_cast<unsigned char>(m_xml[m_at])))
            ++m_at;
    }
    std::string name() {
        const std::size_t start = m_at;
        while (m_at < m_xml.size() && isNameChar(m_xml[m_at]))
            ++m_at;
        return std::string(m_xml.substr(start, m_at - start));
    }

    std::optional<Tag> tag() {
        Tag result;
        ++m_at; // '<'
        if (startsWith("/")) {
            result.closing = true;
            ++m_at;
        }
        result.name = name();
        if (result.name.empty())
            return fail("a tag without a name");
        while (true) {
            skipBlanks();
            if (m_at >= m_xml.size())
                return fail("a tag that does not end");
            if (startsWith("/>")) {
                result.selfClosing = true;
                m_at += 2;
                return result;
            }
            if (startsWith(">")) {
                ++m_at;
                return result;
            }
            if (result.closing)
                return fail("an end tag with attributes");
            std::string key = name();
            skipBlanks();
            if (key.empty() || !startsWith("="))
                return fail("an attribute without a value");
            ++m_at;
            skipBlanks();
            const char quote = m_at < m_xml.size() ? m_xml[m_at] : '\0';
            if (quote != '"' && quote != '\'')
                return fail("an attribute value without quotes");
            const std::size_t end = m_xml.find(quote, m_at + 1);
            if (end == std::string_view::npos)
                return fail("an attribute value that does not end");
            const std::optional<std::string> value =
                unescape(m_xml.substr(m_at + 1, end - m_at - 1));
            if (!value)
                return fail("a character reference that cannot be read");
            result.attributes.emplace_back(std::move(key), *value);
            m_at = end + 1;
        }
    }

    std::string_view m_xml;
    std::size_t m_at = 0;
    std::string m_error;
};

// The number at the start of a text, as the Registers tab reads a number attribute.
int leadingNumber(const std::string &text) {
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char &c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool isSymbol(std::string_view name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0])))
        return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return true;
}

// A group's value: 0-9 in decimal, larger values as "$" hexadecimal.
std::string groupValueText(unsigned value) {
    return value <= 9 ? std::to_string(value) : hex(value);
}

// The chipsets a `chipset` attribute names ("aga", "ocs ecs"); all three without one.
ChipsetSet chipsetsOf(const Tag &tag) {
    if (!tag.has("chipset"))
        return kAllChipsets;
    ChipsetSet set = 0;
    const std::string value = tag.attribute("chipset");
    std::size_t at = 0;
    while (at < value.size()) {
        const std::size_t end = std::min(value.find(' ', at), value.size());
        const std::string_view word = std::string_view(value).substr(at, end - at);
        if (word == "ocs")
            set |= chipsetBit(Chipset::Ocs);
        else if (word == "ecs")
            set |= chipsetBit(Chipset::Ecs);
        else if (word == "aga")
            set |= chipsetBit(Chipset::Aga);
        at = end + 1;
    }
    return set;
}

// A bit element: the next of the sixteen bits, or another reading of the bit before it when it
// gives that bit's position again and names its chipsets. The bit whose description follows.
RegisterBitName *addBit(RegisterLayout &layout, const Tag &tag, int &bitCount,
                        std::string &lastPosition) {
    RegisterBitName named;
    named.name = tag.attribute("function");
    if (tag.has("group"))
        named.group = tag.attribute("group");
    named.groupPosition = leadingNumber(tag.attribute("group-position"));
    named.chipsets = chipsetsOf(tag);
    const std::string position = tag.attribute("position");
    if (bitCount > 0 && !position.empty() && position == lastPosition && tag.has("chipset")) {
        layout.otherReadings.push_back({bitCount - 1, std::move(named)});
        return &layout.otherReadings.back().reading;
    }
    lastPosition = position;
    ++bitCount;
    if (bitCount > 16)
        return nullptr;
    RegisterBitName &slot = layout.bits[static_cast<std::size_t>(bitCount - 1)];
    slot = std::move(named);
    return &slot;
}

} // namespace

std::vector<RegisterLayout> readRegisterDatabase(std::string_view xml, std::string *error) {
    std::vector<RegisterLayout> registers;
    Reader reader(xml);
    std::optional<RegisterLayout> current;
    int bitCount = 0;
    std::string lastPosition; // the position attribute of the bit before, to spot other readings
    RegisterBitName *textOwner = nullptr; // the bit whose description the next text is
    std::string *textField = nullptr;     // or the register field it is
    std::string text;
    while (std::optional<Tag> tag = reader.next(&text)) {
        if (textOwner)
            textOwner->description = text;
        else if (textField)
            *textField = text;
        textOwner = nullptr;
        textField = nullptr;
        if (tag->name == "register") {
            if (tag->closing) {
                if (current && bitCount == 16) {
                    current->readOnly = current->note.rfind("Read only", 0) == 0;
                    registers.push_back(std::move(*current));
                }
                current.reset();
            } else {
                current.emplace();
                current->name = tag->attribute("name");
                current->chipsets = chipsetsOf(*tag);
                bitCount = 0;
                lastPosition.clear();
                if (tag->selfClosing)
                    current.reset();
            }
        } else if (!current || tag->closing || tag->selfClosing) {
            if (current && tag->selfClosing && tag->name == "bit")
                addBit(*current, *tag, bitCount, lastPosition);
        } else if (tag->name == "address") {
            std::string address;
            if ((tag = reader.next(&address)))
                current->address =
                    static_cast<std::uint32_t>(std::strtoul(address.c_str(), nullptr, 16));
        } else if (tag->name == "summary") {
            textField = &current->summary;
        } else if (tag->name == "note") {
            textField = &current->note;
        } else if (tag->name == "extra") {
            textField = &current->extra;
        } else if (tag->name == "bit") {
            textOwner = addBit(*current, *tag, bitCount, lastPosition);
        }
    }
    if (error)
        *error = reader.error();
    return registers;
}

std::string_view registerDatabaseDocument() {
    return {kRegisterDatabase, kRegisterDatabaseSize};
}

const std::vector<RegisterLayout> &registerDatabase(std::string *error) {
    static std::string readError;
    static const std::vector<RegisterLayout> registers =
        readRegisterDatabase(registerDatabaseDocument(), &readError);
    if (error)
        *error = readError;
    return registers;
}

std::string_view chipsetName(Chipset chipset) {
    switch (chipset) {
    case Chipset::Ocs:
        return "OCS";
    case Chipset::Ecs:
        return "ECS";
    case Chipset::Aga:
        return "AGA";
    }
    return "OCS";
}

RegisterLayout layoutOn(const RegisterLayout &layout, Chipset chipset) {
    const ChipsetSet wanted = chipsetBit(chipset);
    RegisterLayout result = layout;
    result.otherReadings.clear();
    const bool present = (layout.chipsets & wanted) != 0;
    if (!present)
        result.missingOn = chipsetName(chipset);
    for (std::size_t bit = 0; bit < result.bits.size(); ++bit) {
        RegisterBitName &named = result.bits[bit];
        for (const OtherBitReading &other : layout.otherReadings)
            if (other.bit == static_cast<int>(bit) && (other.reading.chipsets & wanted)) {
                named = other.reading;
                break;
            }
        if (present && (named.chipsets & wanted))
            continue;
        const std::string elsewhere = named.name;
        named = RegisterBitName{};
        named.name = "unused";
        named.chipsets = wanted;
        if (!elsewhere.empty() && elsewhere != "unused")
            named.description = "Not on " + std::string(chipsetName(chipset)) + ": " + elsewhere +
                                " on other chipsets";
    }
    return result;
}

const RegisterLayout *findRegister(const std::vector<RegisterLayout> &registers,
                                   std::string_view name) {
    const std::string wanted = upper(name);
    for (const RegisterLayout &layout : registers)
        if (upper(layout.name) == wanted)
            return &layout;
    return nullptr;
}

bool isSetClearRegister(std::string_view name) {
    return name == "DMACON" || name == "INTENA" || name == "INTREQ" || name == "ADKCON";
}

std::uint16_t wordToWrite(std::uint16_t word, SetClear mode) {
    switch (mode) {
    case SetClear::Set:
        return static_cast<std::uint16_t>(word | 0x8000u);
    case SetClear::Clear:
        return static_cast<std::uint16_t>(word & 0x7fffu);
    case SetClear::AsGiven:
        break;
    }
    return word;
}

std::string describeWord(const RegisterLayout &layout, std::uint16_t word) {
    std::vector<std::string> parts;
    int top = 15;
    if (isSetClearRegister(layout.name)) {
        parts.push_back(word & 0x8000u ? "SET" : "CLEAR");
        top = 14;
    }
    std::vector<std::string> groupsDone;
    for (int bit = top; bit >= 0; --bit) {
        if (!(word >> bit & 1u))
            continue;
        const RegisterBitName &named = layout.bits[static_cast<std::size_t>(bit)];
        if (named.name.empty() || named.name == "unused") {
            parts.push_back("bit" + std::to_string(bit));
        } else if (named.group.empty()) {
            parts.push_back(named.name);
        } else if (std::find(groupsDone.begin(), groupsDone.end(), named.group) ==
                   groupsDone.end()) {
            groupsDone.push_back(named.group);
            unsigned value = 0;
            for (int member = 0; member < 16; ++member) {
                const RegisterBitName &m = layout.bits[static_cast<std::size_t>(member)];
                if (m.group == named.group && (word >> member & 1u) && m.groupPosition >= 0 &&
                    m.groupPosition < 32)
                    value |= 1u << m.groupPosition;
            }
            parts.push_back(named.group + "=" + groupValueText(value));
        }
    }
    std::string text;
    for (const std::string &part : parts)
        text += (text.empty() ? "" : " ") + part;
    return text;
}

std::string registerWriteCode(const RegisterLayout &layout, std::uint16_t word, SetClear mode,
                              bool copper) {
    const std::uint16_t written = wordToWrite(word, mode);
    const std::uint32_t offset = layout.address & 0x1fe;
    const std::string target = isSymbol(layout.name) ? layout.name : hex(offset, 3);
    std::string comment = describeWord(layout, written);
    if (comment.empty())
        comment = "all bits clear";
    AsmWriter out;
    if (layout.readOnly)
        out.comment(layout.name + " is a read address: writing it does nothing");
    if (!layout.missingOn.empty())
        out.comment(layout.name + " does not exist on " + layout.missingOn +
                    ": writing it does nothing");
    if (copper) {
        for (CopperProblem problem :
             copperProblems(CopperInstruction::move(static_cast<std::uint16_t>(offset), written)))
            out.comment(std::string(describe(problem)));
        out.copperMove(target, written, comment);
    } else {
        out.moveWord(written, target, comment);
    }
    return out.take();
}

} // namespace amiga
