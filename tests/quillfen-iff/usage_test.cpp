// quillfen-iff's picture commands and their options: help, and bad values refused with a
// sentence, the usage and exit status 2 before any file is read or written.
#include "testing.h"

#include <gtest/gtest.h>

using namespace ifftool;

TEST(QuillfenIffOptions, EveryCommandAnswersHelp) {
    for (const char *command : {"raw", "palette", "sprite", "ilbm"}) {
        const testprogram::Outcome r = tool(std::string(command) + " --help");
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_EQ(r.out.rfind(std::string("usage: quillfen-iff ") + command, 0), 0u) << r.out;
        EXPECT_NE(r.out.find("--reduce N"), std::string::npos) << r.out;
    }
    const testprogram::Outcome raw = tool("raw --depth 3 --help");
    EXPECT_EQ(raw.status, 0);
    for (const char *option :
         {"--depth N", "--mask[=inverted]", "--mask-only[=inverted]", "--chunky", "--transparent N",
          "--dither[=ordered]", "--chipset NAME"}) {
        EXPECT_NE(raw.out.find("  " + std::string(option) + " "), std::string::npos) << option;
    }
    const testprogram::Outcome sprite = tool("help sprite");
    for (const char *option :
         {"--width N", "--attached", "--control", "--x X", "--y Y", "--text"}) {
        EXPECT_NE(sprite.out.find("  " + std::string(option) + " "), std::string::npos) << option;
    }
    EXPECT_NE(tool("--help").out.find("  sprite "), std::string::npos);
    EXPECT_NE(tool("palette --help").out.find("copper-aga"), std::string::npos);
}

TEST(QuillfenIffOptions, BadValuesAreUsageErrors) {
    Folder folder;
    const Indexed picture{16, 1, std::vector<std::uint8_t>(16, 1), {{0, 0, 0}, {255, 255, 255}}};
    const std::string png = folder.file("p.png");
    savePng(png, picture, 1);
    const std::string out = folder.file("out");
    const std::string files = " " + png + " " + out;
    struct Case {
        std::string arguments;
        const char *says;
    } cases[] = {
        {"raw --depth 0" + files, "option '--depth' takes a number from 1 to 32, not '0'"},
        {"raw --depth x" + files, "not 'x'"},
        {"raw" + files + " --depth", "option '--depth' needs a value"},
        {"raw --mask --mask-only" + files, "exclude each other"},
        {"raw --mask=yes" + files, "option '--mask' takes '=inverted' or nothing, not '=yes'"},
        {"raw --planar=1" + files, "option '--planar' takes no value"},
        {"raw --chunky --planar" + files, "--chunky writes bytes"},
        {"raw --chunky --mask" + files, "--chunky writes bytes"},
        {"raw --transparent -1" + files, "takes a number from 0 to 4294967295, not '-1'"},
        {"raw --dither" + files, "--dither goes with --reduce N"},
        {"raw --reduce 8 --dither=diffuse" + files,
         "option '--dither' takes '=ordered' or nothing, not '=diffuse'"},
        {"raw --reduce 1" + files, "option '--reduce' takes a number from 2 to 256, not '1'"},
        {"raw --reduce 300" + files, "not '300'"},
        {"raw --reduce 8 --chipset ecs" + files, "option '--chipset' takes ocs or aga, not 'ecs'"},
        {"palette --format foo " + png, "option '--format' takes words, rgb8, rgb32, loadrgb32, "
                                        "copper or copper-aga, not 'foo'"},
        {"palette --binary " + png, "--binary and --colors go with --format FORMAT"},
        {"palette --colors 2 " + png, "go with --format FORMAT"},
        {"palette --format words --colors 0 " + png, "takes a number from 1 to 65535, not '0'"},
        {"palette --format words --aga " + png, "--aga and --ocs choose the palette code"},
        {"palette " + png + " " + out, "an OUT file goes with --format FORMAT"},
        {"palette --format words " + png + " " + out + " " + out, "expects 1 to 2 operands, not 3"},
        {"sprite --width 32" + files, "sprites of 32 pixels are AGA's (FMODE); add --chipset aga"},
        {"sprite --width 24 --chipset aga" + files, "option '--width' takes 16, 32 or 64"},
        {"sprite --x c0" + files, "--x and --y go together"},
        {"sprite --x c0.8 --y 6d" + files, "which only AGA can do"},
        {"sprite --x c0.3 --y 6d --chipset aga" + files, "must be .4, .8 or .c"},
        {"sprite --x 200 --y 6d" + files, "from 0 to 1ff, not '200'"},
        {"sprite --x g --y 6d" + files, "not 'g'"},
        {"sprite --x 0 --y 200" + files, "from 0 to 1ff (OCS/ECS), not '200'"},
        {"sprite --x 0 --y 400 --chipset aga" + files, "from 0 to 3ff (AGA), not '400'"},
        {"sprite --transparent 256" + files, "from 0 to 255, not '256'"},
        {"ilbm --reduce 0" + files, "not '0'"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        const testprogram::Outcome r = tool(c.arguments);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        const std::string command = c.arguments.substr(0, c.arguments.find(' '));
        EXPECT_NE(r.err.find("usage: quillfen-iff " + command), std::string::npos) << r.err;
        EXPECT_FALSE(exists(out));
    }

    // Values that pass the parser but not the picture: a negative answer, nothing written.
    for (const std::string &arguments :
         {"raw --transparent 2 --mask" + files, "raw --depth 9" + files,
          "palette --format copper --colors 33 " + png, "sprite --transparent 5" + files}) {
        SCOPED_TRACE(arguments);
        const testprogram::Outcome r = tool(arguments);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find(png), std::string::npos) << r.err;
        EXPECT_FALSE(exists(out));
    }
}
