// The command line that quillfen-asm and quillfen-iff share: options of each kind, operands,
// usage errors, --help, numbers, and the texts the programs print. The expected values are
// written out by hand from the rules in commandline.h.
#include "commandline.h"
#include "golden_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
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
    std::ifstream in(QUILLFEN_CLI_DATA "/numbers.txt");
    int cases = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t close = line.find('"', 1);
        const std::string text = line.substr(1, close - 1);
        std::string decimal, hexadecimal;
        std::istringstream(line.substr(close + 1)) >> decimal >> hexadecimal;
        auto shown = [](std::optional<std::int64_t> n) { return n ? std::to_string(*n) : "-"; };
        EXPECT_EQ(shown(quillfen_cli::parseDecimal(text)), decimal) << '"' << text << '"';
        EXPECT_EQ(shown(quillfen_cli::parseHex(text)), hexadecimal) << '"' << text << '"';
        cases++;
    }
    EXPECT_EQ(cases, 29);
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

// A run of the test program as its shell would see it: the exit status, then each stream printed
// (by the name of its text in texts.txt when it is one of them) and the operands of each run of
// the command.
std::string run(const std::vector<std::string> &words) {
    errors.clear();
    ran.clear();
    Line line(words);
    testing::internal::CaptureStdout();
    const int status =
        quillfen_cli::run(kProgram, static_cast<int>(line.words.size()), line.argv.data());
    const std::string out = testing::internal::GetCapturedStdout();
    std::string seen = std::to_string(status) + "\n";
    for (const auto &[stream, text] : {std::pair{"out ", out}, {"err ", errors}}) {
        auto named = std::find_if(kTexts.begin(), kTexts.end(),
                                  [&](const auto &known) { return known.second == text; });
        if (!text.empty())
            seen += stream + (named != kTexts.end() ? named->first + "\n" : text);
    }
    for (const std::string &operands : ran)
        seen += "ran " + operands + "\n";
    return seen;
}

TEST(CommandLineProgram, DispatchHelpAndExitStatuses) {
    const auto cases = golden::read(QUILLFEN_CLI_DATA "/runs.txt");
    EXPECT_EQ(cases.size(), 15u);
    for (const auto &[line, expected] : cases) {
        std::istringstream in(line);
        std::string text = run({std::istream_iterator<std::string>(in), {}});
        if (const std::size_t at = text.find(QUILLFEN_VERSION); at != std::string::npos)
            text.replace(at, std::string(QUILLFEN_VERSION).size(), "VERSION");
        EXPECT_EQ(text, expected) << line;
    }
}

} // namespace
