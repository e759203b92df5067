#include "amiga/blitter.h"

#include "amiga/asmtext.h"
#include "amiga/copper.h"
#include "amiga/registercode.h"

#include <cctype>

namespace amiga::blitter {

namespace {

// Recursive descent over the expression: or := xor (('+'|'|') xor)*, xor := and ('^' and)*,
// and := not (['&'|'*'] not)*, not := ('!'|'~') not | primary '*, primary := A|B|C|0|1|(or).
class FunctionParser {
public:
    explicit FunctionParser(std::string_view text) : m_text(text) {}

    std::optional<std::uint8_t> parse(std::string *error) {
        std::optional<std::uint8_t> value = orTerm();
        if (value && peek() != '\0')
            value = fail(std::string("unexpected '") + peek() + "'");
        if (!value && error)
            *error = m_error;
        return value;
    }

private:
    char peek() {
        while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at])))
            ++m_at;
        return m_at < m_text.size() ? m_text[m_at] : '\0';
    }
    std::nullopt_t fail(const std::string &what) {
        if (m_error.empty())
            m_error = what + " at character " + std::to_string(m_at + 1);
        return std::nullopt;
    }
    static bool startsFactor(char c) {
        return std::string_view("AaBbCc01(!~").find(c) != std::string_view::npos && c != '\0';
    }

    std::optional<std::uint8_t> orTerm() {
        std::optional<std::uint8_t> value = xorTerm();
        while (value && (peek() == '+' || peek() == '|')) {
            ++m_at;
            const std::optional<std::uint8_t> right = xorTerm();
            if (!right)
                return std::nullopt;
            value = static_cast<std::uint8_t>(*value | *right);
        }
        return value;
    }
    std::optional<std::uint8_t> xorTerm() {
        std::optional<std::uint8_t> value = andTerm();
        while (value && peek() == '^') {
            ++m_at;
            const std::optional<std::uint8_t> right = andTerm();
            if (!right)
                return std::nullopt;
            value = static_cast<std::uint8_t>(*value ^ *right);
        }
        return value;
    }
    std::optional<std::uint8_t> andTerm() {
        std::optional<std::uint8_t> value = notTerm();
        while (value) {
            const char c = peek();
            if (c == '&' || c == '*')
                ++m_at;
            else if (!startsFactor(c))
                break;
            const std::optional<std::uint8_t> right = notTerm();
            if (!right)
                return std::nullopt;
            value = static_cast<std::uint8_t>(*value & *right);
        }
        return value;
    }
    std::optional<std::uint8_t> notTerm() {
        const char c = peek();
        if (c == '!' || c == '~') {
            ++m_at;
            const std::optional<std::uint8_t> value = notTerm();
            if (!value)
                return std::nullopt;
            return static_cast<std::uint8_t>(~*value);
        }
        std::optional<std::uint8_t> value = primary();
        while (value && peek() == '\'') {
            ++m_at;
            value = static_cast<std::uint8_t>(~*value);
        }
        return value;
    }
    std::optional<std::uint8_t> primary() {
        const char c = peek();
        switch (c) {
        case 'A':
        case 'a':
            ++m_at;
            return kA;
        case 'B':
        case 'b':
            ++m_at;
            return kB;
        case 'C':
        case 'c':
            ++m_at;
            return kC;
        case '0':
            ++m_at;
            return std::uint8_t{0x00};
        case '1':
            ++m_at;
            return std::uint8_t{0xff};
        case '(': {
            ++m_at;
            const std::optional<std::uint8_t> value = orTerm();
            if (!value)
                return std::nullopt;
            if (peek() != ')')
                return fail("a missing ')'");
            ++m_at;
            return value;
        }
        case '\0':
            return fail("a missing source (A, B, C, 0 or 1)");
        default:
            return fail(std::string("unexpected '") + c + "'");
        }
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    std::string m_error;
};

std::string join(const std::vector<std::string> &parts) {
    std::string text;
    for (const std::string &part : parts)
        text += (text.empty() ? "" : " ") + part;
    return text;
}

std::string bltcon0Comment(const Blit &blit) {
    std::vector<std::string> parts;
    if (blit.aShift != 0)
        parts.push_back("ASH=" + std::to_string(blit.aShift));
    const Channels &c = blit.channels;
    for (const auto &[on, name] : {std::pair{c.a, "USEA"}, std::pair{c.b, "USEB"},
                                   std::pair{c.c, "USEC"}, std::pair{c.d, "USED"}})
        if (on)
            parts.emplace_back(name);
    std::string lf = "LF=" + hex(blit.minterms, 2);
    if (!blit.function.empty())
        lf += ": D=" + blit.function;
    parts.push_back(lf);
    return join(parts);
}

std::string bltcon1Comment(const Blit &blit) {
    std::vector<std::string> parts;
    if (blit.bShift != 0)
        parts.push_back("BSH=" + std::to_string(blit.bShift));
    if (blit.fill == Fill::Exclusive)
        parts.emplace_back("EFE");
    if (blit.fill == Fill::Inclusive)
        parts.emplace_back("IFE");
    if (blit.fill != Fill::None && blit.fillCarryIn)
        parts.emplace_back("FCI");
    if (blit.fill != Fill::None)
        parts.emplace_back("DESC (fill works descending)");
    else if (blit.descending)
        parts.emplace_back("DESC");
    if (parts.empty())
        parts.emplace_back("ascending");
    return join(parts);
}

} // namespace

std::optional<std::uint8_t> parseFunction(std::string_view expression, std::string *error) {
    return FunctionParser(expression).parse(error);
}

Channels channelsFor(std::uint8_t minterms) {
    // A source matters when flipping it changes some minterm's value.
    Channels channels;
    channels.a = ((minterms >> 4 ^ minterms) & 0x0f) != 0;
    channels.b = ((minterms >> 2 ^ minterms) & 0x33) != 0;
    channels.c = ((minterms >> 1 ^ minterms) & 0x55) != 0;
    channels.d = true;
    return channels;
}

std::optional<Channels> parseChannels(std::string_view letters) {
    Channels channels;
    for (char letter : letters) {
        bool *on = nullptr;
        switch (std::toupper(static_cast<unsigned char>(letter))) {
        case 'A':
            on = &channels.a;
            break;
        case 'B':
            on = &channels.b;
            break;
        case 'C':
            on = &channels.c;
            break;
        case 'D':
            on = &channels.d;
            break;
        default:
            return std::nullopt;
        }
        if (*on)
            return std::nullopt;
        *on = true;
    }
    return channels;
}

std::string channelLetters(const Channels &channels) {
    std::string letters;
    if (channels.a)
        letters += 'A';
    if (channels.b)
        letters += 'B';
    if (channels.c)
        letters += 'C';
    if (channels.d)
        letters += 'D';
    return letters;
}

std::uint16_t bltcon0(const Blit &blit) {
    const Channels &c = blit.channels;
    return static_cast<std::uint16_t>((blit.aShift & 15) << 12 | (c.a ? 1 : 0) << 11 |
                                      (c.b ? 1 : 0) << 10 | (c.c ? 1 : 0) << 9 |
                                      (c.d ? 1 : 0) << 8 | blit.minterms);
}

std::uint16_t bltcon1(const Blit &blit) {
    const bool fill = blit.fill != Fill::None;
    return static_cast<std::uint16_t>(
        (blit.bShift & 15) << 12 | (blit.fill == Fill::Exclusive ? 1 : 0) << 4 |
        (blit.fill == Fill::Inclusive ? 1 : 0) << 3 | (fill && blit.fillCarryIn ? 1 : 0) << 2 |
        (fill || blit.descending ? 1 : 0) << 1);
}

SizeFit sizeFit(int widthWords, int heightLines) {
    if (widthWords == 0 && heightLines == 0)
        return SizeFit::None;
    if (widthWords < 1 || heightLines < 1 || widthWords > 2047 || heightLines > 32767)
        return SizeFit::Invalid;
    if (widthWords <= 64 && heightLines <= 1024)
        return SizeFit::Standard;
    return SizeFit::Big;
}

std::uint16_t bltsize(int widthWords, int heightLines) {
    // 64 words and 1024 lines do not fit their fields: they are written as 0.
    return static_cast<std::uint16_t>((heightLines & 0x3ff) << 6 | (widthWords & 0x3f));
}

std::string blitterCode(const Blit &blit, bool copper) {
    AsmWriter out;
    auto write = [&out, copper](std::uint16_t value, const char *name, const std::string &note) {
        if (copper)
            out.copperMove(name, value, note);
        else
            out.moveWord(value, name, note);
    };
    if (copper)
        out.comment(std::string(describe(CopperProblem::MoveNeedsDangerBit)));
    write(bltcon0(blit), "BLTCON0", bltcon0Comment(blit));
    write(bltcon1(blit), "BLTCON1", bltcon1Comment(blit));
    const int w = blit.widthWords;
    const int h = blit.heightLines;
    const std::string size = std::to_string(h) + (h == 1 ? " line" : " lines") + " of " +
                             std::to_string(w) + (w == 1 ? " word" : " words");
    switch (sizeFit(w, h)) {
    case SizeFit::None:
        break;
    case SizeFit::Standard:
        write(bltsize(w, h), "BLTSIZE", size + ": starts the blit");
        break;
    case SizeFit::Big:
        out.comment("more than 64 words or 1024 lines: ECS and AGA only, BLTSIZV then BLTSIZH");
        write(static_cast<std::uint16_t>(h), "BLTSIZV", std::to_string(h) + " lines");
        write(static_cast<std::uint16_t>(w), "BLTSIZH",
              std::to_string(w) + " words: starts the blit");
        break;
    case SizeFit::Invalid:
        out.comment("no size: " + size +
                    " fits no blitter size register (1-2047 words, 1-32767 lines)");
        break;
    }
    return out.take();
}

const std::vector<Preset> &presets() {
    static const std::vector<Preset> list = {
        {"Copy A to D", "A", "AD", Fill::None, "D takes the words of A"},
        {"Clear D", "0", "D", Fill::None, "D is written with zeros; no source is read"},
        {"Cookie-cut", "AB+!AC", "ABCD", Fill::None,
         "A is the mask, B the bob, C the background: the bob where the mask is set"},
        {"Area fill", "A", "AD", Fill::Inclusive,
         "D takes A with the spans between set bits filled, descending"},
    };
    return list;
}

} // namespace amiga::blitter
