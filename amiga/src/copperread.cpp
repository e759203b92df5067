#include "amiga/copperread.h"

#include "amiga/customregisters.h"

#include <cctype>
#include <optional>
#include <unordered_map>

namespace amiga {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}

// The offset of a register named as the hardware include files name it, in any case. (Not
// registerOffset(): that also reads "a0" as the offset $0a0.)
std::optional<std::uint16_t> offsetOfName(std::string_view name) {
    static const std::unordered_map<std::string, std::uint16_t> offsets = [] {
        std::unordered_map<std::string, std::uint16_t> table;
        for (std::uint16_t offset = 0; offset <= kLastRegisterOffset; offset += 2) {
            if (!registerName(offset).empty())
                table.emplace(std::string(registerName(offset)), offset);
        }
        return table;
    }();
    constexpr std::size_t kLongestName = 8;
    if (name.size() > kLongestName)
        return std::nullopt;
    std::string upper(name);
    for (char &c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto found = offsets.find(upper);
    if (found == offsets.end())
        return std::nullopt;
    return found->second;
}

// A text for a message: the first few characters of what could not be read.
std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 24;
    std::string out = "'";
    for (const char c : text.substr(0, kShown))
        out += std::isprint(static_cast<unsigned char>(c)) ? c : '?';
    if (text.size() > kShown)
        out += "...";
    return out + "'";
}

// Digits in a base into a value no larger than limit; nullopt for a wrong digit, no digits or
// a value past the limit.
std::optional<std::uint64_t> digitsValue(std::string_view digits, int base, std::uint64_t limit) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int digit = digitValue(c);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

class TextReader {
public:
    TextReader(std::size_t maxErrors) : m_maxErrors(maxErrors) {}

    void readLine(std::string_view line, std::size_t number) {
        m_line = number;
        if (!line.empty() && line.front() == '*') {
            // In a dump whose lines start with addresses (hexdump, od), "*" alone stands for
            // lines that repeat the one before up to the next address.
            if (m_dumpAddresses && skipBlanks(line.substr(1)).empty())
                m_repeatFromLine = number;
            return;
        }
        const std::size_t semicolon = line.find(';');
        if (semicolon != std::string_view::npos)
            line = line.substr(0, semicolon);
        const bool firstColumn = !line.empty() && !isBlank(line.front());
        std::string_view rest = skipBlanks(line);
        if (rest.empty())
            return;

        // "label:" anywhere at the start; a name in the first column when data follows it.
        std::string_view name = nameAt(rest);
        if (!name.empty() && rest.size() > name.size() && rest[name.size()] == ':') {
            rest = skipBlanks(rest.substr(name.size() + 1));
            if (rest.empty())
                return;
            name = nameAt(rest);
        } else if (firstColumn && !name.empty() && !isDirective(name)) {
            const std::string_view after = rest.substr(name.size());
            if (!after.empty() && isBlank(after.front()) &&
                isDirective(nameAt(skipBlanks(after)))) {
                rest = skipBlanks(after);
                name = nameAt(rest);
            }
        }
        if (isDirective(name)) {
            readData(rest.substr(name.size()), name.back() == 'l' || name.back() == 'L');
            return;
        }
        readDump(rest);
    }

    bool full() const { return m_errors.size() >= m_maxErrors; }

    CopperRead take() {
        if (m_repeatFromLine != 0) {
            m_line = m_repeatFromLine;
            error("a repeated line (*) with no address after it: how many lines it stands for "
                  "is not known");
        }
        CopperRead read;
        if (m_errors.empty())
            read.words = std::move(m_words);
        read.errors = std::move(m_errors);
        return read;
    }

private:
    static std::string_view skipBlanks(std::string_view text) {
        while (!text.empty() && isBlank(text.front()))
            text.remove_prefix(1);
        return text;
    }
    static std::string_view nameAt(std::string_view text) {
        if (text.empty() || !isNameStart(text.front()))
            return {};
        std::size_t n = 1;
        while (n < text.size() && isNameChar(text[n]))
            ++n;
        return text.substr(0, n);
    }
    static bool isDirective(std::string_view name) {
        if (name.size() != 4)
            return false;
        std::string lower(name);
        for (char &c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower == "dc.w" || lower == "dc.l";
    }

    void error(std::string message) {
        if (!full())
            m_errors.push_back({m_line, std::move(message)});
    }

    bool add(std::uint16_t word) {
        if (m_words.size() >= kCopperListMaxWords) {
            if (!m_tooLong)
                error("more than " + std::to_string(kCopperListMaxWords) +
                      " words: no copper list is that long");
            m_tooLong = true;
            return false;
        }
        m_words.push_back(word);
        return true;
    }

    // One operand of dc.w (long = false) or dc.l.
    std::optional<std::uint32_t> operand(std::string_view text, bool longs) {
        const std::uint64_t top = longs ? 0xffffffffu : 0xffffu;
        const std::uint64_t bottom = longs ? 0x80000000u : 0x8000u; // the most negative allowed
        const std::string_view name = nameAt(text);
        if (!name.empty() && name.size() == text.size()) {
            if (const auto offset = offsetOfName(name))
                return *offset;
            error(quoted(name) + " is no custom-chip register name");
            return std::nullopt;
        }
        bool negative = false;
        std::string_view digits = text;
        if (!digits.empty() && digits.front() == '-') {
            negative = true;
            digits.remove_prefix(1);
        }
        int base = 10;
        if (!digits.empty() && digits.front() == '$') {
            base = 16;
            digits.remove_prefix(1);
        } else if (!digits.empty() && digits.front() == '%') {
            base = 2;
            digits.remove_prefix(1);
        } else if (digits.size() > 2 && digits[0] == '0' &&
                   (digits[1] == 'x' || digits[1] == 'X')) {
            base = 16;
            digits.remove_prefix(2);
        }
        const auto value = digitsValue(digits, base, negative ? bottom : top);
        if (!value) {
            bool digitsOnly = !digits.empty();
            for (const char c : digits)
                digitsOnly = digitsOnly && digitValue(c) >= 0 && digitValue(c) < base;
            error(quoted(text) + (digitsOnly
                                      ? std::string(" does not fit a ") + (longs ? "long" : "word")
                                      : " is neither a number nor a register name"));
            return std::nullopt;
        }
        if (negative)
            return static_cast<std::uint32_t>((top + 1 - *value) & top);
        return static_cast<std::uint32_t>(*value);
    }

    void readData(std::string_view text, bool longs) {
        if (!text.empty() && !isBlank(text.front())) {
            error("a blank must follow dc.w or dc.l");
            return;
        }
        text = skipBlanks(text);
        if (text.empty()) {
            error("dc.w or dc.l without operands");
            return;
        }
        std::vector<std::uint32_t> values;
        while (true) {
            std::size_t end = 0;
            while (end < text.size() && text[end] != ',' && !isBlank(text[end]))
                ++end;
            if (end == 0) {
                error("an empty operand");
                return;
            }
            const auto value = operand(text.substr(0, end), longs);
            if (!value)
                return;
            values.push_back(*value);
            text = skipBlanks(text.substr(end));
            // After the operand field and a blank, the rest of the line is a comment, as
            // assemblers take it ("dc.w $00e4,$0000    * bitplane pointer").
            if (text.empty() || text.front() != ',')
                break;
            text = skipBlanks(text.substr(1));
        }
        for (const std::uint32_t value : values) {
            if (longs && !add(static_cast<std::uint16_t>(value >> 16)))
                return;
            if (!add(static_cast<std::uint16_t>(value)))
                return;
        }
    }

    // Hexadecimal text of a memory view; an optional "$" or "0x" before each group is allowed.
    static std::string_view hexDigits(std::string_view token) {
        if (!token.empty() && token.front() == '$')
            token.remove_prefix(1);
        else if (token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X'))
            token.remove_prefix(2);
        for (const char c : token) {
            if (!isHexDigit(c))
                return {};
        }
        return token;
    }

    void readDump(std::string_view text) {
        std::vector<std::string_view> tokens;
        while (!text.empty()) {
            std::size_t end = 0;
            while (end < text.size() && !isBlank(text[end]))
                ++end;
            tokens.push_back(text.substr(0, end));
            text = skipBlanks(text.substr(end));
        }
        // A dump whose lines start with addresses ends with a line of the address alone
        // (hexdump -C, od): no data.
        if (tokens.size() == 1 && m_dumpAddresses && hexDigits(tokens[0]).size() >= 6) {
            repeatUpTo(hexDigits(tokens[0]));
            return;
        }
        std::size_t first = 0;
        bool address = false;
        if (tokens[0].size() > 1 && tokens[0].back() == ':' &&
            !hexDigits(tokens[0].substr(0, tokens[0].size() - 1)).empty()) {
            address = true;
            first = 1;
        } else if (tokens.size() > 1 && !hexDigits(tokens[0]).empty()) {
            const std::size_t width = hexDigits(tokens[1]).size();
            if (width > 0 && hexDigits(tokens[0]).size() >= 6 &&
                hexDigits(tokens[0]).size() > width) {
                address = true;
                first = 1;
            }
        }
        std::vector<std::string_view> groups;
        for (std::size_t i = first; i < tokens.size(); ++i) {
            const std::string_view digits = hexDigits(tokens[i]);
            if (digits.empty()) {
                if (address && !groups.empty())
                    break; // the character column
                error(quoted(tokens[i]) +
                      " is no copper data: write dc.w or dc.l lines, or hexadecimal words");
                return;
            }
            groups.push_back(digits);
        }
        if (address) {
            m_dumpAddresses = true;
            const std::string_view digits = hexDigits(
                tokens[0].back() == ':' ? tokens[0].substr(0, tokens[0].size() - 1) : tokens[0]);
            if (!repeatUpTo(digits))
                return;
            m_lineAddress = digitsValue(digits, 16, 0xffffffffu);
        }
        m_lineWords.clear();
        if (groups.empty())
            return; // an address alone
        const std::size_t width = groups[0].size();
        for (const std::string_view group : groups) {
            if (group.size() != width || (width != 2 && width != 4 && width != 8)) {
                error("memory view groups are 2, 4 or 8 hexadecimal digits, all of one width: " +
                      quoted(group) + " is not");
                return;
            }
        }
        if (width == 2 && groups.size() % 2 != 0) {
            error("an odd number of bytes on the line: words are two bytes");
            return;
        }
        const std::size_t firstWord = m_words.size();
        for (std::size_t i = 0; i < groups.size(); ++i) {
            const auto value = digitsValue(groups[i], 16, 0xffffffffu);
            if (width == 2) {
                const auto low = digitsValue(groups[++i], 16, 0xff);
                if (!add(static_cast<std::uint16_t>(*value << 8 | *low)))
                    return;
            } else if (width == 8) {
                if (!add(static_cast<std::uint16_t>(*value >> 16)) ||
                    !add(static_cast<std::uint16_t>(*value)))
                    return;
            } else if (!add(static_cast<std::uint16_t>(*value))) {
                return;
            }
        }
        m_lineWords.assign(m_words.begin() + static_cast<std::ptrdiff_t>(firstWord), m_words.end());
    }

    // After a "*" line: the line before it again, as many times as fill the bytes up to the
    // address digits. False after an error.
    bool repeatUpTo(std::string_view digits) {
        if (m_repeatFromLine == 0)
            return true;
        const std::size_t repeatLine = m_repeatFromLine;
        m_repeatFromLine = 0;
        const auto next = digitsValue(digits, 16, 0xffffffffu);
        const std::uint64_t lineBytes = m_lineWords.size() * 2;
        const std::uint64_t end = m_lineAddress.value_or(0) + lineBytes;
        if (!next || !m_lineAddress || lineBytes == 0 || *next < end ||
            (*next - end) % lineBytes != 0) {
            m_line = repeatLine;
            error("a repeated line (*) that does not fill whole lines up to the next address");
            return false;
        }
        for (std::uint64_t n = (*next - end) / lineBytes; n > 0; --n) {
            for (const std::uint16_t word : m_lineWords) {
                if (!add(word))
                    return false;
            }
        }
        return true;
    }

    std::size_t m_maxErrors;
    std::size_t m_line = 0;
    bool m_tooLong = false;
    bool m_dumpAddresses = false; // a dump line so far started with an address
    // The address and the words of the last dump line, and the line of a "*" that waits for
    // the next address (0 for none).
    std::optional<std::uint64_t> m_lineAddress;
    std::vector<std::uint16_t> m_lineWords;
    std::size_t m_repeatFromLine = 0;
    std::vector<std::uint16_t> m_words;
    std::vector<CopperReadError> m_errors;
};

} // namespace

CopperRead readCopperText(std::string_view text, std::size_t maxErrors) {
    TextReader reader(maxErrors == 0 ? 1 : maxErrors);
    std::size_t number = 0;
    std::size_t start = 0;
    while (start <= text.size() && !reader.full()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        reader.readLine(text.substr(start, end - start), ++number);
        start = end + 1;
    }
    return reader.take();
}

CopperRead readCopperBinary(std::span<const std::uint8_t> bytes, std::size_t offset) {
    CopperRead read;
    if (offset > bytes.size()) {
        read.errors.push_back({0, "the offset " + std::to_string(offset) + " is past the end of " +
                                      std::to_string(bytes.size()) + " bytes"});
        return read;
    }
    const std::size_t count = bytes.size() - offset;
    if (count % 2 != 0) {
        read.errors.push_back({0, "an odd number of bytes (" + std::to_string(count) +
                                      ") from the offset on: copper words are two bytes"});
        return read;
    }
    if (count / 2 > kCopperListMaxWords) {
        read.errors.push_back({0, "more than " + std::to_string(kCopperListMaxWords) +
                                      " words: no copper list is that long"});
        return read;
    }
    read.words.reserve(count / 2);
    for (std::size_t i = offset; i + 1 < bytes.size(); i += 2)
        read.words.push_back(static_cast<std::uint16_t>(bytes[i] << 8 | bytes[i + 1]));
    return read;
}

} // namespace amiga
