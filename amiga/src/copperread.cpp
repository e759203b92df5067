#include "amiga/copperread.h"

#include "amiga/customregisters.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>

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

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char &c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string_view skipBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view nameAt(std::string_view text) {
    if (text.empty() || !isNameStart(text.front()))
        return {};
    std::size_t n = 1;
    while (n < text.size() && isNameChar(text[n]))
        ++n;
    return text.substr(0, n);
}

// The operand field: up to the first blank or ';' outside a 'quoted string' ('' is a quote in
// one).
std::string_view operandField(std::string_view text) {
    bool quoted = false;
    std::size_t n = 0;
    for (; n < text.size(); ++n) {
        const char c = text[n];
        if (c == '\'') {
            quoted = !quoted;
        } else if (!quoted && c == ';') {
            break;
        } else if (!quoted && isBlank(c)) {
            // Blanks beside a comma belong to the field ("$0180, $0fff").
            std::size_t next = n;
            while (next < text.size() && isBlank(text[next]))
                ++next;
            if (!((n > 0 && text[n - 1] == ',') || (next < text.size() && text[next] == ',')))
                break;
            n = next - 1;
        }
    }
    return text.substr(0, n);
}

// The value of an expression: known, unknown (over an undefined symbol), or an error at a
// column of the line.
struct Value {
    enum class Kind { Known, Unknown, Error } kind = Kind::Known;
    std::int64_t value = 0; // -2^31 to 2^32-1: a 32-bit value, signed or not
};

constexpr std::int64_t kLowest = -(std::int64_t{1} << 31);
constexpr std::int64_t kHighest = (std::int64_t{1} << 32) - 1;

std::uint32_t bits32(std::int64_t value) {
    return static_cast<std::uint32_t>(value);
}

// Expressions over 32 bits. Operators bind, tightest first, as the Motorola M68000 resident
// assembler's rules have them (negation and NOT first, then AND/OR, then multiply, divide and
// modulo, then add and subtract; Easy68K's "Operations" page and the asm68k column of the TI-89
// Sierra assembler manual state it), with the shifts above AND/OR where GNU as --mri puts them
// (the reader's tests assemble each level with it):
//   1. unary - ~ ! +        (! alone: 1 for 0, else 0)
//   2. << >>                (>> is logical over 32 bits)
//   3. & ! | ^              (! between operands is OR, as in Motorola sources)
//   4. * / %                (/ and % signed, truncated toward zero)
//   5. + -
// Operators of one level apply from left to right. A value past 32 bits (below -$80000000 or
// above $ffffffff), a division by zero or a syntax fault is an error at its column.
class Expression {
public:
    // Gives a symbol's value; names itself as unknown, or reports an error and gives Error.
    using Resolve = std::function<Value(std::string_view name)>;

    Expression(std::string_view text, const Resolve &resolve) : m_text(text), m_resolve(resolve) {}

    Value evaluate() {
        Value value = addSub();
        if (value.kind != Value::Kind::Error && m_at < m_text.size())
            return fail(m_at, m_text[m_at] == ')'
                                  ? "a ')' without its '('"
                                  : quoted(m_text.substr(m_at)) + " where an operator belongs");
        return value;
    }
    std::size_t errorColumn() const { return m_errorAt; }
    const std::string &error() const { return m_error; }

private:
    static constexpr int kDeepest = 64;

    Value fail(std::size_t at, std::string message) {
        if (m_error.empty()) {
            m_errorAt = at;
            m_error = std::move(message);
        }
        return {Value::Kind::Error, 0};
    }

    bool peek(std::string_view op) const { return m_text.substr(m_at, op.size()) == op; }

    // Combines two values, or gives the first error or unknown.
    template <typename F> Value apply(const Value &a, const Value &b, std::size_t at, F f) {
        if (a.kind == Value::Kind::Error || b.kind == Value::Kind::Error)
            return {Value::Kind::Error, 0};
        if (a.kind == Value::Kind::Unknown || b.kind == Value::Kind::Unknown)
            return {Value::Kind::Unknown, 0};
        std::string message;
        const std::int64_t result = f(a.value, b.value, message);
        if (!message.empty())
            return fail(at, message);
        if (result < kLowest || result > kHighest)
            return fail(at, "the value is past 32 bits");
        return {Value::Kind::Known, static_cast<std::int64_t>(result)};
    }

    Value addSub() {
        Value value = mulDiv();
        while (value.kind != Value::Kind::Error && (peek("+") || peek("-"))) {
            const char op = m_text[m_at];
            const std::size_t at = m_at++;
            const Value right = mulDiv();
            value = apply(value, right, at, [op](std::int64_t a, std::int64_t b, std::string &) {
                return op == '+' ? a + b : a - b;
            });
        }
        return value;
    }

    Value mulDiv() {
        Value value = logic();
        while (value.kind != Value::Kind::Error && (peek("*") || peek("/") || peek("%"))) {
            const char op = m_text[m_at];
            const std::size_t at = m_at++;
            const Value right = logic();
            if (op != '*' && right.kind == Value::Kind::Known && right.value == 0)
                return fail(at, "division by zero");
            value =
                apply(value, right, at, [op](std::int64_t a, std::int64_t b, std::string &message) {
                    std::int64_t product = 0;
                    if (op == '*')
                        return __builtin_mul_overflow(a, b, &product) ? kHighest + 1 : product;
                    if (b == 0) {
                        message = "division by zero";
                        return std::int64_t{0};
                    }
                    return op == '/' ? a / b : a % b;
                });
        }
        return value;
    }

    Value logic() {
        Value value = shift();
        while (value.kind != Value::Kind::Error &&
               (peek("&") || peek("!") || peek("|") || peek("^"))) {
            const char op = m_text[m_at];
            const std::size_t at = m_at++;
            const Value right = shift();
            value = apply(value, right, at, [op](std::int64_t a, std::int64_t b, std::string &) {
                const std::uint32_t x = bits32(a), y = bits32(b);
                return std::int64_t{op == '&' ? x & y : op == '^' ? x ^ y : x | y};
            });
        }
        return value;
    }

    Value shift() {
        Value value = unary();
        while (value.kind != Value::Kind::Error && (peek("<<") || peek(">>"))) {
            const bool left = m_text[m_at] == '<';
            const std::size_t at = m_at;
            m_at += 2;
            const Value right = unary();
            value = apply(
                value, right, at, [left](std::int64_t a, std::int64_t b, std::string &message) {
                    if (b < 0) {
                        message = "a shift by a negative count";
                        return std::int64_t{0};
                    }
                    if (!left)
                        return std::int64_t{b >= 32 ? 0u : bits32(a) >> b};
                    // Shifted past bit 32, anything but 0 is past 32 bits.
                    if (a == 0 || b > 32)
                        return a == 0 ? std::int64_t{0} : kHighest + 1;
                    std::int64_t shifted = 0;
                    return __builtin_mul_overflow(a, std::int64_t{1} << b, &shifted) ? kHighest + 1
                                                                                     : shifted;
                });
        }
        return value;
    }

    Value unary() {
        if (++m_depth > kDeepest)
            return fail(m_at, "the expression is nested too deeply");
        Value value;
        if (peek("-") || peek("~") || peek("!") || peek("+")) {
            const char op = m_text[m_at];
            const std::size_t at = m_at++;
            const Value operand = unary();
            value = apply(operand, {}, at, [op](std::int64_t a, std::int64_t, std::string &) {
                return op == '-'   ? -a
                       : op == '~' ? std::int64_t{~bits32(a)}
                       : op == '!' ? std::int64_t{a == 0 ? 1 : 0}
                                   : a;
            });
        } else {
            value = primary();
        }
        --m_depth;
        return value;
    }

    Value number(std::size_t start, std::string_view digits, int base) {
        if (digits.empty())
            return fail(start, quoted(m_text.substr(start, 1)) + " without digits");
        const auto value = digitsValue(digits, base, static_cast<std::uint64_t>(kHighest));
        if (!value)
            return fail(start, "the value is past 32 bits");
        return {Value::Kind::Known, static_cast<std::int64_t>(*value)};
    }

    Value primary() {
        const std::size_t start = m_at;
        if (m_at >= m_text.size())
            return fail(start, "an operand is missing");
        const char c = m_text[m_at];
        if (c == '(') {
            ++m_at;
            const Value value = addSub();
            if (value.kind == Value::Kind::Error)
                return value;
            if (!peek(")"))
                return fail(start, "a '(' that is not closed");
            ++m_at;
            return value;
        }
        if (c == '\'') {
            std::uint64_t value = 0;
            int count = 0;
            ++m_at;
            while (true) {
                if (m_at >= m_text.size())
                    return fail(start, "a quote that is not closed");
                if (m_text[m_at] == '\'') {
                    if (!peek("''"))
                        break;
                    ++m_at;
                }
                value = value << 8 | static_cast<unsigned char>(m_text[m_at++]);
                if (++count > 4)
                    return fail(start, "more than 4 characters: the value is past 32 bits");
            }
            ++m_at;
            if (count == 0)
                return fail(start, "an empty quote");
            return {Value::Kind::Known, static_cast<std::int64_t>(value)};
        }
        auto digitsFrom = [this](std::size_t from, int base) {
            std::size_t end = from;
            while (end < m_text.size() && digitValue(m_text[end]) >= 0 &&
                   digitValue(m_text[end]) < base)
                ++end;
            m_at = end;
            return m_text.substr(from, end - from);
        };
        if (c == '$')
            return number(start, digitsFrom(m_at + 1, 16), 16);
        if (c == '%')
            return number(start, digitsFrom(m_at + 1, 2), 2);
        if (c == '@')
            return number(start, digitsFrom(m_at + 1, 8), 8);
        if (c == '0' && m_at + 1 < m_text.size() &&
            (m_text[m_at + 1] == 'x' || m_text[m_at + 1] == 'X'))
            return number(start, digitsFrom(m_at + 2, 16), 16);
        if (c >= '0' && c <= '9') {
            const Value value = number(start, digitsFrom(m_at, 10), 10);
            if (m_at < m_text.size() && isNameChar(m_text[m_at]))
                return fail(start, quoted(m_text.substr(start)) + " is no number");
            return value;
        }
        const std::string_view name = nameAt(m_text.substr(m_at));
        if (name.empty())
            return fail(start, quoted(m_text.substr(start)) + " is no number or symbol");
        m_at += name.size();
        const Value value = m_resolve(name);
        if (value.kind == Value::Kind::Error)
            return fail(start, {}); // reported by the resolver
        return value;
    }

    std::string_view m_text;
    const Resolve &m_resolve;
    std::size_t m_at = 0;
    int m_depth = 0;
    std::size_t m_errorAt = 0;
    std::string m_error;
};

// The offset of a register named as the hardware include files name it, in any case. (Not
// registerOffset(): that also reads "a0" as the offset $0a0.)
std::optional<std::uint16_t> offsetOfName(std::string_view name);

// One line of assembler source taken apart: [label] [operation [operands]] [comment].
struct SourceLine {
    std::string_view label;
    std::string operation; // lower case
    std::size_t operationColumn = 0;
    std::string_view operands;
    std::size_t operandsColumn = 0;
    bool definition = false; // label = / equ / set value
};

constexpr std::string_view kDataOperations[] = {"dc.w", "dc.l", "dc.b", "dc"};
constexpr std::string_view kPassedOver[] = {"section", "cnop",    "end",    "xdef",   "xref",
                                            "incdir",  "include", "incbin", "public", "even"};

// A name that a memory view could hold as a group: hexadecimal digits alone (empty for none).
std::string_view hexDigitsOnly(std::string_view name) {
    for (const char c : name) {
        if (!isHexDigit(c))
            return {};
    }
    return name;
}

bool isOperation(std::string_view name) {
    const std::string lower = lowerCase(name.substr(0, 8));
    if (name.size() > 8)
        return false;
    for (const std::string_view known : kDataOperations)
        if (lower == known)
            return true;
    for (const std::string_view known : kPassedOver)
        if (lower == known)
            return true;
    return lower == "equ" || lower == "set";
}

// Takes a line (its comment cut at ';' already, blanks kept) apart; false when it is no
// assembler source.
bool sourceLine(std::string_view line, SourceLine *out) {
    const std::size_t length = line.size();
    auto column = [length](std::string_view rest) { return length - rest.size() + 1; };
    std::string_view rest = line;
    const bool firstColumn = !line.empty() && !isBlank(line.front());
    rest = skipBlanks(rest);
    std::string_view name = nameAt(rest);
    if (!name.empty()) {
        const std::string_view after = rest.substr(name.size());
        const bool colon = !after.empty() && after.front() == ':';
        const std::string_view next = skipBlanks(colon ? after.substr(1) : after);
        if (!next.empty() && next.front() == '=' && !(next.size() > 1 && next[1] == '=')) {
            out->label = name;
            out->operation = "=";
            out->operationColumn = column(next);
            rest = skipBlanks(next.substr(1));
            out->definition = true;
            out->operands = operandField(rest);
            out->operandsColumn = column(rest);
            return true;
        }
        // A label: with a colon, or in the first column (not an operation there), or before an
        // operation.
        const std::string_view nextName = nameAt(next);
        const bool nextIsOperation =
            !nextName.empty() &&
            (next.size() == nextName.size() || isBlank(next[nextName.size()])) &&
            isOperation(nextName);
        const bool hexWord = !hexDigitsOnly(name).empty() && next.empty();
        if (colon ||
            (firstColumn && !isOperation(name) && !hexWord && (next.empty() || nextIsOperation)) ||
            (!isOperation(name) && nextIsOperation && !after.empty() && isBlank(after.front()))) {
            out->label = name;
            rest = next;
            name = nameAt(rest);
        }
    }
    if (rest.empty())
        return !out->label.empty();
    if (name.empty() || !(rest.size() == name.size() || isBlank(rest[name.size()])) ||
        !isOperation(name))
        return false;
    out->operation = lowerCase(name);
    out->operationColumn = column(rest);
    rest = skipBlanks(rest.substr(name.size()));
    out->operands = operandField(rest);
    out->operandsColumn = column(rest);
    out->definition = out->operation == "equ" || out->operation == "set";
    return true;
}

// The line at a position of the text, and the text after it.
struct Lines {
    std::string_view text;
    std::size_t start = 0;
    std::size_t number = 0;
    bool next(std::string_view *line) {
        if (start > text.size())
            return false;
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        *line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        return true;
    }
};

// The line without its comment: from a ';' outside quotes, or a '*' in the first column.
std::string_view withoutComment(std::string_view line) {
    bool quoted = false;
    for (std::size_t n = 0; n < line.size(); ++n) {
        if (line[n] == '\'')
            quoted = !quoted;
        else if (!quoted && line[n] == ';')
            return line.substr(0, n);
    }
    return line;
}

class TextReader {
public:
    TextReader(std::string_view text, std::span<const CopperSymbol> defined, std::size_t maxErrors)
        : m_text(text), m_maxErrors(maxErrors) {
        for (const CopperSymbol &symbol : defined)
            m_outside.emplace(symbol.name, symbol.value);
        collectDefinitions();
    }

    void read() {
        Lines lines{m_text};
        std::string_view line;
        while (lines.next(&line) && !full() && !m_ended)
            readLine(line, lines.number);
        m_line = 0;
        flushByte();
    }

    bool full() const { return m_errors.size() >= m_maxErrors; }

    CopperRead take() {
        if (m_repeatFromLine != 0) {
            m_line = m_repeatFromLine;
            error("a repeated line (*) with no address after it: how many lines it stands for "
                  "is not known");
        }
        CopperRead read;
        for (const auto &[name, passed] : m_passedOver) {
            std::string text = name + (name == "end"    ? " ends the text: what follows is not read"
                                       : name == "even" ? " passed over: the words are already even"
                                       : name == "include" || name == "incbin" || name == "incdir"
                                           ? " passed over: its file is not read"
                                           : " passed over: it gives no words");
            if (passed.count > 1)
                text += " (" + std::to_string(passed.count) + " lines)";
            read.notes.push_back({passed.line, 0, std::move(text)});
        }
        std::sort(
            read.notes.begin(), read.notes.end(),
            [](const CopperReadError &a, const CopperReadError &b) { return a.line < b.line; });
        if (!m_undefined.empty()) {
            constexpr std::size_t kNamed = 12;
            std::string text = "not defined in the text: ";
            for (std::size_t i = 0; i < m_undefined.size() && i < kNamed; ++i)
                text += (i ? ", " : "") + m_undefined[i];
            if (m_undefined.size() > kNamed)
                text += " and " + std::to_string(m_undefined.size() - kNamed) + " more";
            text += ": the words that use them are listed as written and read as 0 (" +
                    std::to_string(m_unknown.size()) +
                    (m_unknown.size() == 1 ? " word)" : " words)");
            read.notes.push_back({m_firstUndefinedLine, 0, std::move(text)});
        }
        if (m_errors.empty()) {
            read.words = std::move(m_words);
            read.unknown = std::move(m_unknown);
            read.undefinedSymbols = std::move(m_undefined);
        }
        read.errors = std::move(m_errors);
        return read;
    }

private:
    struct Definition {
        std::size_t line = 0;
        std::size_t column = 0;
        std::string_view expression;
        bool redefinable = false; // set
        int state = 0;            // 0 not evaluated, 1 under way, 2 done
        Value value;
    };

    // Every equ, = and set of the text, and every label, before any line is read.
    void collectDefinitions() {
        Lines lines{m_text};
        std::string_view line;
        while (lines.next(&line)) {
            if (line.size() > kCopperLineMaxLength || line.empty() || line.front() == '*')
                continue;
            SourceLine source;
            if (!sourceLine(withoutComment(line), &source))
                continue;
            if (source.definition && !source.label.empty()) {
                m_definitions[std::string(source.label)].push_back({lines.number,
                                                                    source.operandsColumn,
                                                                    source.operands,
                                                                    source.operation == "set",
                                                                    0,
                                                                    {}});
            }
        }
    }

    void error(std::string message, std::size_t column = 0) {
        if (!full())
            m_errors.push_back({m_line, column, std::move(message)});
    }

    // The definition of a name that holds at the current line: the last one at or before it,
    // else the first.
    Definition *definitionOf(std::string_view name) {
        const auto found = m_definitions.find(std::string(name));
        if (found == m_definitions.end())
            return nullptr;
        // A set that uses its own name ("v set v+1") means the definition before it.
        // The definitions are in line order: found by halves, for a set on every line.
        std::vector<Definition> &definitions = found->second;
        auto after = std::upper_bound(
            definitions.begin(), definitions.end(), m_line,
            [](std::size_t line, const Definition &definition) { return line < definition.line; });
        while (after != definitions.begin() && std::prev(after)->state == 1)
            --after;
        return after == definitions.begin() ? &definitions.front() : &*std::prev(after);
    }

    Value evaluateDefinition(Definition &definition, std::string_view name) {
        if (definition.state == 2)
            return definition.value;
        const std::size_t line = m_line;
        if (definition.state == 1) {
            error(quoted(name) + " is defined through itself", 0);
            return {Value::Kind::Error, 0};
        }
        definition.state = 1;
        m_line = definition.line;
        ++m_nesting;
        definition.value = m_nesting > 100 ? Value{Value::Kind::Error, 0}
                                           : evaluate(definition.expression, definition.column);
        if (m_nesting > 100 && definition.value.kind == Value::Kind::Error)
            error("definitions nest too deeply", definition.column);
        --m_nesting;
        m_line = line;
        definition.state = 2;
        return definition.value;
    }

    Value resolve(std::string_view name) {
        if (Definition *definition = definitionOf(name))
            return evaluateDefinition(*definition, name);
        if (const auto outside = m_outside.find(std::string(name)); outside != m_outside.end())
            return {Value::Kind::Known, outside->second};
        if (const auto offset = offsetOfName(name))
            return {Value::Kind::Known, *offset};
        std::string text(name);
        if (m_undefinedSeen.insert(text).second) {
            if (m_undefined.empty())
                m_firstUndefinedLine = m_line;
            m_undefined.push_back(std::move(text));
        }
        return {Value::Kind::Unknown, 0};
    }

    // An expression at a column of the current line.
    Value evaluate(std::string_view text, std::size_t column) {
        if (text.empty()) {
            error("an operand is missing", column);
            return {Value::Kind::Error, 0};
        }
        const Expression::Resolve resolver = [this](std::string_view name) {
            return resolve(name);
        };
        Expression expression(text, resolver);
        const Value value = expression.evaluate();
        if (value.kind == Value::Kind::Error && !expression.error().empty())
            error(expression.error(), column + expression.errorColumn());
        return value;
    }

    void readLine(std::string_view line, std::size_t number) {
        m_line = number;
        if (line.size() > kCopperLineMaxLength) {
            error("the line is longer than " + std::to_string(kCopperLineMaxLength) +
                  " characters: no copper list line is; it is not read");
            return;
        }
        if (!line.empty() && line.front() == '*') {
            // In a dump whose lines start with addresses (hexdump, od), "*" alone stands for
            // lines that repeat the one before up to the next address.
            if (m_dumpAddresses && skipBlanks(line.substr(1)).empty())
                m_repeatFromLine = number;
            return;
        }
        const std::string_view code = withoutComment(line);
        const std::string_view rest = skipBlanks(code);
        if (rest.empty())
            return;
        SourceLine source;
        if (!sourceLine(code, &source)) {
            readDump(rest);
            return;
        }
        const std::string &operation = source.operation;
        if (operation.empty() || source.definition) {
            if (source.definition && source.label.empty())
                error(operation + " needs a name before it", source.operationColumn);
            else if (source.definition)
                defineAt(source);
            return;
        }
        if (operation == "dc.w" || operation == "dc" || operation == "dc.l" ||
            operation == "dc.b") {
            readData(source, operation == "dc.l" ? 4 : operation == "dc.b" ? 1 : 2);
            return;
        }
        if (operation == "even") {
            if (m_byte) {
                flushByte();
                return;
            }
        }
        PassedOver &passed = m_passedOver[operation];
        if (passed.count++ == 0)
            passed.line = number;
        if (operation == "end")
            m_ended = true;
    }

    // A definition met in its place: its errors are reported at its line; equ and = once.
    void defineAt(const SourceLine &source) {
        const auto found = m_definitions.find(std::string(source.label));
        if (found == m_definitions.end())
            return;
        std::vector<Definition> &definitions = found->second;
        const auto at = std::lower_bound(
            definitions.begin(), definitions.end(), m_line,
            [](const Definition &definition, std::size_t line) { return definition.line < line; });
        if (at != definitions.end() && at->line == m_line) {
            Definition &definition = *at;
            if (!definition.redefinable && found->second.size() > 1 &&
                &definition != &found->second.front()) {
                error(quoted(source.label) + " is already defined on line " +
                          std::to_string(found->second.front().line) + " (set may redefine)",
                      source.operationColumn);
                return;
            }
            evaluateDefinition(definition, source.label);
        }
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

    bool addByte(std::uint8_t byte) {
        if (!m_byte) {
            m_byte = byte;
            return true;
        }
        const std::uint16_t word = static_cast<std::uint16_t>(*m_byte << 8 | byte);
        m_byte.reset();
        return add(word);
    }

    // After an odd number of bytes: the last one with a zero byte, as even does.
    void flushByte() {
        if (m_byte)
            addByte(0);
    }

    // The operands of dc.b (size 1), dc.w (2) or dc.l (4).
    void readData(const SourceLine &source, int size) {
        if (source.operands.empty()) {
            error(source.operation + " without operands", source.operationColumn);
            return;
        }
        if (size > 1)
            flushByte();
        std::string_view rest = source.operands;
        std::size_t column = source.operandsColumn;
        while (true) {
            // The operand: up to a comma outside quotes and parentheses.
            bool quotes = false;
            std::size_t end = 0;
            for (; end < rest.size(); ++end) {
                if (rest[end] == '\'')
                    quotes = !quotes;
                else if (!quotes && rest[end] == ',')
                    break;
            }
            std::string_view operand = rest.substr(0, end);
            const std::size_t lead = operand.size() - skipBlanks(operand).size();
            operand = skipBlanks(operand);
            while (!operand.empty() && isBlank(operand.back()))
                operand.remove_suffix(1);
            if (operand.empty()) {
                error("an empty operand", column);
                return;
            }
            if (!dataOperand(operand, column + lead, size))
                return;
            if (end == rest.size())
                return;
            rest.remove_prefix(end + 1);
            column += end + 1;
        }
    }

    // A lone 'string': its bytes, left-aligned in as many units of the size as it takes.
    static bool loneString(std::string_view operand, std::string *bytes) {
        if (operand.size() < 2 || operand.front() != '\'' || operand.back() != '\'')
            return false;
        for (std::size_t n = 1; n + 1 < operand.size(); ++n) {
            if (operand[n] == '\'') {
                if (operand[n + 1] != '\'' || n + 2 >= operand.size())
                    return false;
                ++n;
            }
            bytes->push_back(operand[n]);
        }
        return !bytes->empty();
    }

    bool dataOperand(std::string_view operand, std::size_t column, int size) {
        std::string bytes;
        if (loneString(operand, &bytes)) {
            while (bytes.size() % static_cast<std::size_t>(size) != 0)
                bytes.push_back('\0');
            for (const char c : bytes) {
                if (!addByte(static_cast<std::uint8_t>(c)))
                    return false;
            }
            return true;
        }
        const Value value = evaluate(operand, column);
        if (value.kind == Value::Kind::Error)
            return false;
        if (value.kind == Value::Kind::Unknown) {
            if (size == 1) {
                error(quoted(operand) + ": a byte of an undefined symbol is half a copper word; "
                                        "define the symbol",
                      column);
                return false;
            }
            const std::string text(operand);
            if (size == 2)
                return addUnknown(text);
            const bool plain = nameAt(text).size() == text.size();
            const std::string whole = plain ? text : "(" + text + ")";
            return addUnknown(whole + ">>16") && addUnknown(whole + "&$ffff");
        }
        const std::uint32_t bits = bits32(value.value);
        if (size == 1) {
            if (bits > 0xff && bits < 0xffffff80u) {
                error(quoted(operand) + " does not fit a byte", column);
                return false;
            }
            return addByte(static_cast<std::uint8_t>(bits));
        }
        if (size == 2) {
            if (bits > 0xffff && bits < 0xffff8000u) {
                error(quoted(operand) + " does not fit a word", column);
                return false;
            }
            return add(static_cast<std::uint16_t>(bits));
        }
        return add(static_cast<std::uint16_t>(bits >> 16)) && add(static_cast<std::uint16_t>(bits));
    }

    bool addUnknown(std::string expression) {
        if (!add(0))
            return false;
        if (m_unknown.empty())
            m_unknown.reserve(16);
        m_unknown.push_back({m_words.size() - 1, std::move(expression)});
        return true;
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

    struct PassedOver {
        std::size_t line = 0;
        std::size_t count = 0;
    };

    std::string_view m_text;
    std::size_t m_maxErrors;
    std::size_t m_line = 0;
    bool m_tooLong = false;
    bool m_ended = false;
    std::optional<std::uint8_t> m_byte; // a byte of dc.b waiting for its partner
    std::unordered_map<std::string, std::vector<Definition>> m_definitions;
    std::unordered_map<std::string, std::uint32_t> m_outside;
    int m_nesting = 0;
    std::map<std::string, PassedOver> m_passedOver;
    std::vector<std::string> m_undefined;
    std::unordered_set<std::string> m_undefinedSeen;
    std::size_t m_firstUndefinedLine = 0;
    std::vector<CopperUnknownWord> m_unknown;
    bool m_dumpAddresses = false; // a dump line so far started with an address
    // The address and the words of the last dump line, and the line of a "*" that waits for
    // the next address (0 for none).
    std::optional<std::uint64_t> m_lineAddress;
    std::vector<std::uint16_t> m_lineWords;
    std::size_t m_repeatFromLine = 0;
    std::vector<std::uint16_t> m_words;
    std::vector<CopperReadError> m_errors;
};

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

} // namespace

CopperRead readCopperText(std::string_view text, std::span<const CopperSymbol> defined,
                          std::size_t maxErrors) {
    TextReader reader(text, defined, maxErrors == 0 ? 1 : maxErrors);
    reader.read();
    return reader.take();
}

bool readCopperSymbols(std::string_view text, std::vector<CopperSymbol> *symbols,
                       std::string *error) {
    while (true) {
        while (!text.empty() &&
               (isBlank(text.front()) || text.front() == ',' || text.front() == '\n'))
            text.remove_prefix(1);
        if (text.empty())
            return true;
        std::size_t end = 0;
        while (end < text.size() && !isBlank(text[end]) && text[end] != ',' && text[end] != '\n')
            ++end;
        const std::string_view definition = text.substr(0, end);
        text.remove_prefix(end);
        const std::string_view name = nameAt(definition);
        if (name.empty() || definition.size() == name.size() || definition[name.size()] != '=') {
            *error = quoted(definition) + " is no NAME=VALUE";
            return false;
        }
        const std::string_view value = definition.substr(name.size() + 1);
        std::string unknown;
        const Expression::Resolve resolve = [&](std::string_view symbol) -> Value {
            for (const CopperSymbol &known : *symbols) {
                if (known.name == symbol)
                    return {Value::Kind::Known, known.value};
            }
            if (const auto offset = offsetOfName(symbol))
                return {Value::Kind::Known, *offset};
            unknown = symbol;
            return {Value::Kind::Unknown, 0};
        };
        Expression expression(value, resolve);
        const Value result = value.empty() ? Value{Value::Kind::Error, 0} : expression.evaluate();
        if (result.kind != Value::Kind::Known) {
            *error = std::string(name) + ": " +
                     (value.empty()      ? "no value"
                      : !unknown.empty() ? quoted(unknown) + " is not defined before it"
                                         : expression.error());
            return false;
        }
        symbols->push_back({std::string(name), bits32(result.value)});
    }
}

CopperRead readCopperBinary(std::span<const std::uint8_t> bytes, std::size_t offset) {
    CopperRead read;
    if (offset > bytes.size()) {
        read.errors.push_back({0, 0,
                               "the offset " + std::to_string(offset) + " is past the end of " +
                                   std::to_string(bytes.size()) + " bytes"});
        return read;
    }
    const std::size_t count = bytes.size() - offset;
    if (count % 2 != 0) {
        read.errors.push_back({0, 0,
                               "an odd number of bytes (" + std::to_string(count) +
                                   ") from the offset on: copper words are two bytes"});
        return read;
    }
    if (count / 2 > kCopperListMaxWords) {
        read.errors.push_back({0, 0,
                               "more than " + std::to_string(kCopperListMaxWords) +
                                   " words: no copper list is that long"});
        return read;
    }
    read.words.reserve(count / 2);
    for (std::size_t i = offset; i + 1 < bytes.size(); i += 2)
        read.words.push_back(static_cast<std::uint16_t>(bytes[i] << 8 | bytes[i + 1]));
    return read;
}

} // namespace amiga
