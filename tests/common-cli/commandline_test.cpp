// The command line that quillfen-asm and quillfen-iff share: options of each kind, operands,
// usage errors, --help, numbers, and the texts the programs print. The expected values are
// written out by hand from the rules in commandline.h.
#include "commandline.h"
#include "golden_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <map>
#include <sstream>
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
struct Line {
    std::vector<std::string> words;
    std::vector<char *> argv;
    explicit Line(std::vector<std::string> given) : words(std::move(given)) {
        for (std::string &word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
    }
};

Arguments parse(const Command &command, const std::vector<std::string> &words) {
    Line line(words);
    return Arguments(kProgram, command, static_cast<int>(line.words.size()), line.argv.data());
}

// What a parse took: the error alone, or each option given (a value after "="), the operands
// and whether help was asked for.
std::string taken(const Arguments &a) {
    if (!a.ok())
        return "error: " + a.error();
    std::string text;
    for (const char *option : {"--planar", "--depth", "--mask", "--x"})
        if (a.has(option))
            text.append(option)
                .append(a.value(option) ? "=" : "")
                .append(a.value(option).value_or("") + " ");
    for (const std::string &operand : a.operands())
        text += "[" + operand + "]";
    return text + (a.help() ? " help" : "");
}

TEST(CommandLineArguments, OptionsOperandsAndTheirErrors) {
    const auto cases = golden::read(QUILLFEN_CLI_DATA "/arguments.txt");
    EXPECT_EQ(cases.size(), 23u);
    for (const auto &[line, expected] : cases) {
        std::istringstream in(line);
        const std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
        const Command *command = kProgram.commands[0];
        for (const Command *named : kProgram.commands)
            command = words[0] == named->name ? named : command;
        const std::string text = taken(parse(*command, words));
        EXPECT_EQ((text.empty() ? "(nothing)" : text) + "\n", expected) << line;
    }
}

TEST(CommandLineNumbers, DecimalAndHexadecimalText) {
    // Digits alone, at most 15 of them; hexadecimal ones with or without '$' or '0x'.
    constexpr std::int64_t no = -1; // refused
    const struct {
        const char *text;
        std::int64_t decimal, hexadecimal;
    } cases[] = {
        // clang-format off
        {"0", 0, 0},        {"10", 10, 0x10},   {"007", 7, 7},     {"4096", 4096, 0x4096},
        {"12a", no, 0x12a}, {"1e3", no, 0x1e3}, {"ff", no, 255},   {"$FF", no, 255},
        {"0x1f", no, 31},   {"0X1F", no, 31},   {"$10", no, 16},   {"0x10", no, 16},
        {"$0", no, 0},      {"", no, no},       {"-1", no, no},    {"+1", no, no},
        {" 1", no, no},     {"1 ", no, no},     {"$", no, no},     {"0x", no, no},
        {"g", no, no},      {"$$1", no, no},    {"$0x10", no, no}, {"0x$10", no, no},
        {"1.8", no, no},    {"$ff ", no, no},   {"1000000000000000", no, no},
        {"999999999999999", 999999999999999, 0x999999999999999},
        {"fffffffffffffff", no, 0xfffffffffffffff},
        // clang-format on
    };
    for (const auto &c : cases) {
        EXPECT_EQ(quillfen_cli::parseDecimal(c.text).value_or(no), c.decimal) << c.text;
        EXPECT_EQ(quillfen_cli::parseHex(c.text).value_or(no), c.hexadecimal) << c.text;
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

    const struct {
        const char *option, *value;
        const char *error;
    } cases[] = {
        {"--depth", "0", "option '--depth' takes a number from 1 to 32, not '0'"},
        {"--depth", "33", "option '--depth' takes a number from 1 to 32, not '33'"},
        {"--x", "200", "option '--x' takes a hexadecimal number from 0 to 1ff, not '200'"},
        {"--x", "1g", "option '--x' takes a hexadecimal number from 0 to 1ff, not '1g'"},
    };
    for (const auto &c : cases) {
        Arguments b = parse(kRaw, {"raw", c.option, c.value, "a", "b"});
        const bool decimal = std::string(c.option) == "--depth";
        EXPECT_FALSE(b.number(c.option, 7, decimal ? Base::Decimal : Base::Hexadecimal,
                              decimal ? 1 : 0, decimal ? 32 : 0x1ff))
            << c.value;
        // A usage error of the command's own after a bad number: the first is kept.
        b.fail("--planar goes with --depth");
        EXPECT_EQ(b.error(), c.error);
    }
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
    Line line({words.begin(), words.end()});
    testing::internal::CaptureStdout();
    const int status =
        quillfen_cli::run(kProgram, static_cast<int>(line.words.size()), line.argv.data());
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
        {{"prog", "raw", "-h", "--bad"}, 0, rawUsage, "", {}},
        {{"prog", "raw", "a", "-h"}, 0, rawUsage, "", {}},
        {{"prog", "raw", "--help", "--planar=1", "a", "b", "c"}, 0, rawUsage, "", {}},
        {{"prog", "help", "raw"}, 0, rawUsage, "", {}},
        {{"prog", "-h", "raw"}, 0, rawUsage, "", {}},
        {{"prog", "--help"}, 0, overview, "", {}},
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
