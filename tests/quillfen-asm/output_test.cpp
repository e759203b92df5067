// quillfen-asm -o FILE: the text every command prints, written to a file that is replaced only
// when all of it is written; and the copper list reader, which stops at 64 MiB however the
// input comes.
#include "run_program.h"
#include "scratch_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

using testfiles::Folder;
using testfiles::loadText;
using testfiles::saveText;

TEST(QuillfenAsmOutput, EveryCommandWritesToTheFileOfOWhatItPrints) {
    Folder folder;
    saveText(folder.file("list.s"), "\tdc.w\t$0180,$0502\n\tdc.w\t$0010,$0000\n");
    const std::string out = folder.file("out.s");
    const std::string picture = std::string(QUILLFEN_PICTURES) + "/gradient.iff";
    const std::string commands[] = {
        "display --width 320 --height 256 --depth 4",
        // A MOVE the copper cannot perform: the listing is written, the status says so.
        "copper " + folder.file("list.s"),
        "register BPLCON0 5200",
        "blitter --minterms ca",
        "gradient 0:#000000 20:#ffffff",
        "fade --steps 3 " + picture,
    };
    for (const std::string &arguments : commands) {
        SCOPED_TRACE(arguments);
        const testprogram::Outcome printed = testprogram::run(QUILLFEN_ASM_TOOL, arguments);
        ASSERT_FALSE(printed.out.empty()) << printed.err;
        std::filesystem::remove(out);
        const testprogram::Outcome written =
            testprogram::run(QUILLFEN_ASM_TOOL, arguments + " -o " + out);
        EXPECT_EQ(written.status, printed.status) << written.err;
        EXPECT_EQ(written.out, "");
        EXPECT_EQ(loadText(out), printed.out);
    }
}

TEST(QuillfenAsmOutput, AFileThatCannotBeWrittenWholeIsLeftAsItWas) {
    Folder folder;
    const std::string out = folder.file("screen.i");
    saveText(out, "old\n");
    // The shell's ulimit -f 1 stops a file at 512 bytes, as a full disk stops it: the gradient's
    // text is longer.
    const testprogram::Outcome r =
        testprogram::run("ulimit -f 1; exec " + std::string(QUILLFEN_ASM_TOOL),
                         "gradient 0:#000000 150:#ffffff -o " + out);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "quillfen-asm gradient: '" + out +
                         "' cannot be written: File too large; it is left as it was.\n");
    EXPECT_EQ(loadText(out), "old\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(QuillfenAsmCopper, AnInputThatNeverEndsStopsAt64MiB) {
    // The standard input; files, devices, FIFOs and pipes stop the same way (tests/picture).
    const std::string limit = testprogram::kSanitized ? "" : "ulimit -v 1000000; exec ";
    const testprogram::Outcome r =
        testprogram::run(limit + QUILLFEN_ASM_TOOL, "copper --binary -", "/dev/zero");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "quillfen-asm copper: the standard input is larger than 64 MiB, larger than "
                     "any copper list that is read.\n");
}
