// quillfen-asm display, run as a makefile would run it, against what the emulator showed.
#include "run_program.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

// Every screen of the emulator's record (scripts/display-on-emulator remakes it), a line each cut
// at " | ": options, model, exit status, registers, what the frame showed. The command still
// prints the registers that showed the picture exactly, and refuses what it refused.
TEST(QuillfenAsmDisplay, PrintsWhatTheEmulatorShowedExactly) {
    std::ifstream in(QUILLFEN_DISPLAY_FRAMES);
    ASSERT_TRUE(in);
    int screens = 0, exact = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        for (std::size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 3)
            fields.push_back(line.substr(at, (bar = line.find(" | ", at)) - at));
        ASSERT_GE(fields.size(), 5u) << line;
        SCOPED_TRACE(fields[0]);
        const testprogram::Outcome outcome =
            testprogram::run(QUILLFEN_ASM_TOOL, "display " + fields[0]);
        EXPECT_EQ("status " + std::to_string(outcome.status), fields[2]) << outcome.err;
        // REG=$xxxx ... as "\tdc.w\tREG,$xxxx" lines: the printed text less its comments.
        std::string expected, printed;
        std::istringstream registers(fields[3]), out(outcome.out);
        for (std::string item; registers >> item;)
            expected += "\tdc.w\t" + item.replace(item.find('='), 1, ",") + "\n";
        for (std::string text; std::getline(out, text);)
            printed += text.rfind(";", 0) != 0 ? text + "\n" : "";
        EXPECT_EQ(printed, expected);
        const bool refused = fields[4].rfind("refused", 0) == 0;
        EXPECT_TRUE(refused || fields[4] == "exact") << fields[4];
        EXPECT_EQ(refused, outcome.status == 1);
        screens++;
        exact += !refused;
    }
    EXPECT_GE(screens, 15);
    EXPECT_GE(exact, 12);
}
