// quillfen-asm display, run as a makefile would run it, against what the emulator showed.
#include "run_program.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

// The lines of an emulator fixture (scripts/display-on-emulator remakes them), each cut at
// " | ": options, model, exit status, registers, what the frame showed (and its digest).
std::vector<std::vector<std::string>> fixture(const char *path) {
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    std::vector<std::vector<std::string>> lines;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        for (std::size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 3) {
            bar = line.find(" | ", at);
            fields.push_back(line.substr(at, bar - at));
        }
        EXPECT_GE(fields.size(), 5u) << line;
        if (fields.size() >= 5)
            lines.push_back(fields);
    }
    return lines;
}

// Every screen the emulator showed: the command still prints the registers that showed the
// picture exactly, and refuses what it refused.
TEST(QuillfenAsmDisplay, PrintsWhatTheEmulatorShowedExactly) {
    int exact = 0;
    const auto screens = fixture(QUILLFEN_DISPLAY_FRAMES);
    for (const auto &fields : screens) {
        SCOPED_TRACE(fields[0]);
        const testprogram::Outcome outcome =
            testprogram::run(QUILLFEN_ASM_TOOL, "display " + fields[0]);
        EXPECT_EQ("status " + std::to_string(outcome.status), fields[2]) << outcome.err;
        // REG=$xxxx ... as "\tdc.w\tREG,$xxxx" lines: the printed text less its comments.
        std::string expected, printed;
        std::istringstream registers(fields[3]);
        for (std::string item; registers >> item;)
            expected += "\tdc.w\t" + item.replace(item.find('='), 1, ",") + "\n";
        std::istringstream out(outcome.out);
        for (std::string text; std::getline(out, text);)
            if (text.rfind(";", 0) != 0)
                printed += text + "\n";
        EXPECT_EQ(printed, expected);
        const bool refused = fields[4].rfind("refused", 0) == 0;
        EXPECT_TRUE(refused || fields[4] == "exact") << fields[4];
        EXPECT_EQ(refused, outcome.status == 1);
        exact += !refused;
    }
    EXPECT_GE(screens.size(), 15u);
    EXPECT_GE(exact, 12);
}
