// The command line that quillfen-asm and quillfen-iff share: options of each kind, operands,
// usage errors, --help, numbers, and the texts the programs print. The expected values are
// written out by hand from the rules in commandline.h.
#include "commandline.h"
#include "golden_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace {

using quillfen_cli::Arguments;
using quillfen_cli::Base;
using quillfen_cli::Command;
using quillfen_cli::Program;
using quillfen_cli::Takes;

std::string errors;           // what the program under test wrote to its error channel
std::vector<std::string> ran; // the operands of each run of a command

void collect(const char *text) {
    errors += text;
}

int record(Arguments &arguments) {
    std::string operands;
    for (const std::string &operand : arguments.operands())
        operands += "[" + operand + "]";
    ran.push_back(operands);
    return quillfen_cli::kNegative;
}

const Command kRaw = {
    "raw",
    "[--planar] [--depth N] [--mask[=inverted]] FILE OUT",
    "Writes planes.",
    "Writes the planes of FILE to OUT.\n",
    {{"--planar", "whole planes"},
     {"--depth", "N planes,\nat most 32", Takes::Value, "N"},
     {"--mask", "the mask too", Takes::Optional, "inverted"},
     {"--x", "HSTART", Takes::Value, "X"}},
    record,
    {2, 2},
};
const Command kPalette = {"palette", "FILE [OUT]", "Prints a palette.", "", {}, record, {1, 2}};
const Command kGradient = {"gradient", "KEY...", "Blends keys.", "", {}, record, {1, SIZE_MAX}};
const Command kDisplay = {"display", "[OPTIONS]", "Opens a screen.", "", {}, record};

const Program kProgram = {
    "prog",
    "Does things.\n",
    "0 done, 1 no, 2 trouble.\n",
    {&kRaw, &kPalette, &kGradient, &kDisplay},
    collect,
};

// A command line as the shell gives it: argv[0] is the program or the command.
class Line {
public:
    Line(std::initializer_list<const char *> words) : m_words(words.begin(), words.end()) {
        for (std::string &word : m_words)
            m_argv.push_back(word.data());
        m_argv.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(m_words.size()); }
    char **argv() { return m_argv.data(); }

private:
    std::vector<std::string> m_words;
    std::vector<char *> m_argv;
};

Arguments parse(const Command &command, std::initializer_list<const char *> words) {
    Line line(words);
    return Arguments(kProgram, command, line.argc(), line.argv());
}

// What a parse took: each option given (a value after "="), the operands, and whether help was
// asked for.
std::string taken(const Arguments &a) {
    std::string text = a.ok() ? "" : "error: " + a.error();
    for (const char *option : {"--planar", "--depth", "--mask", "--x"})
        if (a.has(option))
            text += std::string(option) + (a.value(option) ? "=" + *a.value(option) : "") + " ";
    for (const std::string &operand : a.operands())
        text += "[" + operand + "]";
    return text + (a.help() ? " help" : "");
}

TEST(CommandLineOptions, EachKindTakesItsValue) {
    const struct {
        const Command &command;
        std::initializer_list<const char *> words;
        const char *taken;
    } cases[] = {
        // A flag has no value, nor has the optional word when left out.
        {kRaw,
         {"raw", "in", "--planar", "--depth", "3", "--mask", "out"},
         "--planar --depth=3 --mask [in][out]"},
        // "=" gives the value in the same word, the optional word only that way; the last wins.
        {kRaw,
         {"raw", "--depth=4", "--mask=inverted", "--depth", "=5", "a", "b"},
         "--depth==5 --mask=inverted [a][b]"},
        {kRaw, {"raw", "--depth=", "a", "b"}, "--depth= [a][b]"},
        // A value option takes the next word whatever it is, --help among them.
        {kRaw, {"raw", "--x", "--help", "a", "b"}, "--x=--help [a][b]"},
        // "-" alone is an operand; after "--" everything is.
        {kGradient, {"gradient", "-", "--", "--planar", "-h"}, "[-][--planar][-h]"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(taken(parse(c.command, c.words)), c.taken);
}

TEST(CommandLineOptions, WrongOptionsAreUsageErrorsAndTheFirstIsKept) {
    struct Case {
        std::initializer_list<const char *> words;
        const char *error;
    } cases[] = {
        {{"raw", "--frobnicate", "a", "b"}, "unknown option '--frobnicate'"},
        {{"raw", "--frobnicate=3", "a", "b"}, "unknown option '--frobnicate'"},
        {{"raw", "-p", "a", "b"}, "unknown option '-p'"},
        {{"raw", "--planar=1", "a", "b"}, "option '--planar' takes no value"},
        {{"raw", "a", "b", "--depth"}, "option '--depth' needs a value (N)"},
        {{"raw", "--mask=yes", "a", "b"},
         "option '--mask' takes '=inverted' or nothing, not '=yes'"},
        {{"raw", "--mask=", "a", "b"}, "option '--mask' takes '=inverted' or nothing, not '='"},
        {{"raw", "--bad", "--planar=1", "a", "b"}, "unknown option '--bad'"},
        // A slip of the keyboard is named with the option it was most likely meant to be.
        {{"raw", "--plnar", "a", "b"}, "unknown option '--plnar' (did you mean '--planar'?)"},
        {{"raw", "--dpeth=3", "a", "b"}, "unknown option '--dpeth' (did you mean '--depth'?)"},
        {{"raw", "--hlep", "a", "b"}, "unknown option '--hlep' (did you mean '--help'?)"},
    };
    for (const Case &c : cases) {
        const Arguments a = parse(kRaw, c.words);
        SCOPED_TRACE(*(c.words.begin() + 1));
        EXPECT_FALSE(a.ok());
        EXPECT_EQ(a.error(), c.error);
        EXPECT_FALSE(a.help());
    }
}

TEST(CommandLineOperands, CountedAgainstTheCommand) {
    struct Case {
        const Command &command;
        std::initializer_list<const char *> words;
        const char *error; // empty: accepted
    } cases[] = {
        {kRaw, {"raw", "a", "b"}, ""},
        {kRaw, {"raw", "a"}, "expects 2 operands, not 1"},
        {kRaw, {"raw", "a", "b", "c"}, "expects 2 operands, not 3"},
        {kPalette, {"palette", "a"}, ""},
        {kPalette, {"palette", "a", "b"}, ""},
        {kPalette, {"palette"}, "expects 1 to 2 operands, not 0"},
        {kPalette, {"palette", "a", "b", "c"}, "expects 1 to 2 operands, not 3"},
        {kGradient, {"gradient", "0:000000", "1:ffffff", "2:000000", "3:ffffff"}, ""},
        {kGradient, {"gradient"}, "expects at least 1 operand, not 0"},
        {kDisplay, {"display"}, ""},
        {kDisplay, {"display", "stray", "words"}, ""}, // the command counts them itself
    };
    for (const Case &c : cases) {
        const Arguments a = parse(c.command, c.words);
        EXPECT_EQ(a.error(), c.error) << c.command.name << " " << c.words.size() - 1;
    }
    // An option's error comes before the count.
    EXPECT_EQ(parse(kRaw, {"raw", "--bad"}).error(), "unknown option '--bad'");
}

TEST(CommandLineNumbers, DecimalAndHexadecimalText) {
    for (auto [text, value] : {std::pair<const char *, std::int64_t>{"0", 0},
                               {"4096", 4096},
                               {"007", 7},
                               {"999999999999999", 999999999999999}}) // 15 digits
        EXPECT_EQ(quillfen_cli::parseDecimal(text), value) << text;
    for (const char *bad : {"", "-1", "+1", " 1", "1 ", "12a", "1e3", "$10", "0x10",
                            "1000000000000000"}) { // 16 digits
        EXPECT_FALSE(quillfen_cli::parseDecimal(bad)) << bad;
    }
    for (auto [text, value] : {std::pair<const char *, std::int64_t>{"ff", 255},
                               {"$FF", 255},
                               {"0x1f", 31},
                               {"0X1F", 31},
                               {"$0", 0},
                               {"10", 16},
                               {"fffffffffffffff", 0xfffffffffffffff}})
        EXPECT_EQ(quillfen_cli::parseHex(text), value) << text;
    for (const char *bad :
         {"", "$", "0x", "g", "$$1", "$0x10", "0x$10", "-1", "1.8", "$ff ", "1000000000000000"}) {
        EXPECT_FALSE(quillfen_cli::parseHex(bad)) << bad;
    }
}

TEST(CommandLineNumbers, OptionValuesWithinBounds) {
    Arguments a = parse(kRaw, {"raw", "--depth", "32", "--x", "$1ff", "a", "b"});
    EXPECT_EQ(a.number("--depth", Base::Decimal, 1, 32), 32);
    EXPECT_EQ(a.number("--x", Base::Hexadecimal, 0, 0x1ff), 0x1ff);
    EXPECT_FALSE(a.number("--mask", Base::Decimal, 0, 1));    // not given
    EXPECT_EQ(a.number("--mask", 5, Base::Decimal, 0, 9), 5); // not given: the fallback
    EXPECT_EQ(a.number("--depth", 5, Base::Decimal, 0, 99), 32);
    EXPECT_TRUE(a.ok()) << a.error();

    struct Case {
        const char *option;
        const char *value;
        Base base;
        const char *error;
    } cases[] = {
        {"--depth", "0", Base::Decimal, "option '--depth' takes a number from 1 to 32, not '0'"},
        {"--depth", "33", Base::Decimal, "option '--depth' takes a number from 1 to 32, not '33'"},
        {"--depth", "x", Base::Decimal, "option '--depth' takes a number from 1 to 32, not 'x'"},
        {"--depth", "$1", Base::Decimal, "option '--depth' takes a number from 1 to 32, not '$1'"},
        {"--x", "200", Base::Hexadecimal,
         "option '--x' takes a hexadecimal number from 0 to 1ff, not '200'"},
        {"--x", "1g", Base::Hexadecimal,
         "option '--x' takes a hexadecimal number from 0 to 1ff, not '1g'"},
    };
    for (const Case &c : cases) {
        Arguments b = parse(kRaw, {"raw", c.option, c.value, "a", "b"});
        const std::int64_t maximum = c.base == Base::Decimal ? 32 : 0x1ff;
        const std::int64_t minimum = c.base == Base::Decimal ? 1 : 0;
        EXPECT_FALSE(b.number(c.option, c.base, minimum, maximum)) << c.value;
        EXPECT_FALSE(b.number(c.option, 7, c.base, minimum, maximum)) << c.value;
        EXPECT_EQ(b.error(), c.error);
    }

    // A usage error of the command's own after a bad number: the first is kept.
    Arguments c = parse(kRaw, {"raw", "--depth", "0", "a", "b"});
    c.number("--depth", Base::Decimal, 1, 32);
    c.fail("--planar goes with --depth");
    EXPECT_EQ(c.error(), "option '--depth' takes a number from 1 to 32, not '0'");
}

const std::map<std::string, std::string> kTexts = golden::read(QUILLFEN_CLI_DATA "/texts.txt");

TEST(CommandLineTexts, UsageAndOverviewLayout) {
    EXPECT_EQ(quillfen_cli::usage(kProgram, kRaw), kTexts.at("usage raw"));
    EXPECT_EQ(quillfen_cli::usage(kProgram, kPalette), kTexts.at("usage palette"));
    EXPECT_EQ(quillfen_cli::overview(kProgram), kTexts.at("overview"));
}

struct Outcome {
    int status;
    std::string out;
    std::string err;
    std::vector<std::string> ran;
};

Outcome run(std::initializer_list<const char *> words) {
    errors.clear();
    ran.clear();
    Line line(words);
    testing::internal::CaptureStdout();
    const int status = quillfen_cli::run(kProgram, line.argc(), line.argv());
    const std::string out = testing::internal::GetCapturedStdout();
    return {status, out, errors, ran};
}

TEST(CommandLineProgram, DispatchHelpAndExitStatuses) {
    const std::string &rawUsage = kTexts.at("usage raw"), &overview = kTexts.at("overview");
    const std::string unknown = "prog: unknown command: frobnicate\n"
                                "Try 'prog --help' for the list of commands.\n";
    const struct {
        std::initializer_list<const char *> words;
        int status;
        std::string out, err;
        std::vector<std::string> ran;
    } cases[] = {
        // The command runs with its arguments and gives the status.
        {{"prog", "raw", "--planar", "in", "out"}, 1, "", "", {"[in][out]"}},
        // Help, in each form and anywhere before the end of options, on the standard output
        // with status 0, whatever else is wrong; the command does not run.
        {{"prog", "raw", "--help"}, 0, rawUsage, "", {}},
        {{"prog", "raw", "-h", "--bad"}, 0, rawUsage, "", {}},
        {{"prog", "raw", "a", "-h"}, 0, rawUsage, "", {}},
        {{"prog", "raw", "--help", "--planar=1", "a", "b", "c"}, 0, rawUsage, "", {}},
        {{"prog", "help", "raw"}, 0, rawUsage, "", {}},
        {{"prog", "--help", "raw"}, 0, rawUsage, "", {}},
        {{"prog", "-h", "raw"}, 0, rawUsage, "", {}},
        {{"prog", "--help"}, 0, overview, "", {}},
        {{"prog", "-h"}, 0, overview, "", {}},
        {{"prog", "help"}, 0, overview, "", {}},
        // Nothing to do: the overview on the error channel, status 2.
        {{"prog"}, 2, "", overview, {}},
        {{"prog", "frobnicate", "x"}, 2, "", unknown, {}},
        {{"prog", "help", "frobnicate"}, 2, "", unknown, {}},
        {{"prog", "grdaient", "x"},
         2,
         "",
         "prog: unknown command: grdaient (did you mean 'gradient'?)\n"
         "Try 'prog --help' for the list of commands.\n",
         {}},
        {{"prog", "--version"}, 0, "prog " QUILLFEN_VERSION "\n", "", {}},
        {{"prog", "-V"}, 0, "prog " QUILLFEN_VERSION "\n", "", {}},
        // A usage error: the sentence, the usage line, where the help is; the command does not
        // run.
        {{"prog", "raw", "--depth", "3", "in"}, 2, "", kTexts.at("usage error"), {}},
    };
    for (const auto &c : cases) {
        const Outcome outcome = run(c.words);
        SCOPED_TRACE(*(c.words.end() - 1));
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.out, c.out);
        EXPECT_EQ(outcome.err, c.err);
        EXPECT_EQ(outcome.ran, c.ran);
    }
}

} // namespace
