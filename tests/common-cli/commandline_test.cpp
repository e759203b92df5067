// The command line that quillfen-asm and quillfen-iff share: options of each kind, operands,
// usage errors, --help, numbers, and the texts the programs print. The expected values are
// written out by hand from the rules in commandline.h.
#include "commandline.h"
#include "golden_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
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
std::vector<std::string> ran; // what each run of a command was given

void collect(const char *text) {
    errors += text;
}

// What a parse took: the error alone, or each option given (a value after "="), the operands
// and whether help was asked for.
std::string taken(const Arguments &a) {
    if (!a.ok())
        return "error: " + a.error();
    std::string text;
    for (const char *option : {"--planar", "--depth", "--mask", "--x"})
        if (a.has(option))
            text += option + (a.value(option) ? "=" + *a.value(option) : "") + " ";
    for (const std::string &operand : a.operands())
        text += "[" + operand + "]";
    return text + (a.help() ? " help" : "");
}

// A command's run: what it was given.
int record(Arguments &arguments) {
    ran.push_back(taken(arguments));
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

// A line of a data file as the shell gives it, parted at blanks: argv[0] is the program or the
// command.
struct Line {
    std::vector<std::string> words;
    std::vector<char *> argv;
    explicit Line(const std::string &text) {
        std::istringstream in(text);
        words.assign(std::istream_iterator<std::string>(in), {});
        for (std::string &word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(words.size()); }
};

Arguments parse(const Command &command, const std::string &text) {
    Line line(text);
    return Arguments(kProgram, command, line.argc(), line.argv.data());
}

std::string shown(std::optional<std::int64_t> number) {
    return number ? std::to_string(*number) : "-";
}

TEST(CommandLineArguments, OptionsOperandsAndTheirErrors) {
    const auto cases = golden::read(QUILLFEN_CLI_DATA "/arguments.txt");
    EXPECT_EQ(cases.size(), 23u);
    for (const auto &[line, expected] : cases) {
        const Command *command = kProgram.commands[0];
        for (const Command *named : kProgram.commands)
            command = line.rfind(named->name, 0) == 0 ? named : command;
        const std::string text = taken(parse(*command, line));
        EXPECT_EQ((text.empty() ? "(nothing)" : text) + "\n", expected) << line;
    }
}

TEST(CommandLineNumbers, DecimalAndHexadecimalText) {
    const auto cases = golden::read(QUILLFEN_CLI_DATA "/numbers.txt");
    EXPECT_EQ(cases.size(), 29u);
    for (const auto &[quoted, expected] : cases) {
        const std::string text = quoted.substr(1, quoted.size() - 2);
        EXPECT_EQ(shown(quillfen_cli::parseDecimal(text)) + " " +
                      shown(quillfen_cli::parseHex(text)) + "\n",
                  expected)
            << quoted;
    }
}

TEST(CommandLineNumbers, OptionValuesWithinBounds) {
    const auto cases = golden::read(QUILLFEN_CLI_DATA "/values.txt");
    EXPECT_EQ(cases.size(), 6u);
    for (const auto &[line, expected] : cases) {
        Arguments a = parse(kRaw, line);
        const auto depth = a.number("--depth", 5, Base::Decimal, 1, 32);
        const auto x = a.number("--x", Base::Hexadecimal, 0, 0x1ff);
        a.fail("--planar goes with --depth");
        EXPECT_EQ(shown(depth) + " " + shown(x) + ": " + a.error() + "\n", expected) << line;
    }
}

const std::map<std::string, std::string> kTexts = golden::read(QUILLFEN_CLI_DATA "/texts.txt");

// A run of the test program as its shell would see it: the exit status, then each stream printed
// (by the name of its text in texts.txt when it is one of them, so that the usage and overview
// texts are checked here) and what each run of the command was given.
std::string run(const std::string &text) {
    errors.clear();
    ran.clear();
    Line line(text);
    testing::internal::CaptureStdout();
    const int status = quillfen_cli::run(kProgram, line.argc(), line.argv.data());
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
    EXPECT_EQ(cases.size(), 16u);
    for (const auto &[line, expected] : cases) {
        std::string text = run(line);
        if (const std::size_t at = text.find(QUILLFEN_VERSION); at != std::string::npos)
            text.replace(at, std::string(QUILLFEN_VERSION).size(), "VERSION");
        EXPECT_EQ(text, expected) << line;
    }
}

} // namespace
