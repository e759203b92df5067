// quillfen-asm's commands run as a makefile runs them: each option reaches the text, and bad
// input gets its message and exit status. The runs and what they print, and the usage errors of
// each command, are in data/runs.txt.
#include "picture_files.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(QuillfenAsm, CommandsOptionsMessagesAndExitStatuses) {
    testfiles::Folder folder;
    // The lists and dumps of data/lists (data/runs.txt tells what each holds).
    for (const auto &entry : std::filesystem::directory_iterator(QUILLFEN_ASM_DATA "/lists"))
        std::filesystem::copy(entry.path(), folder.file(entry.path().filename().string()));
    using namespace iffbytes;
    // Palettes saved alone (a BMHD and a CMAP), as paint programs save them.
    const Bytes header = bmhd(16, 1, 1);
    save(folder.file("two.iff"),
         group("FORM", "ILBM", {header, chunk("CMAP", {0x12, 0x34, 0x56, 0xff, 0x80, 0x00})}));
    save(folder.file("one.iff"),
         group("FORM", "ILBM", {header, chunk("CMAP", {0x20, 0x40, 0xff})}));
    save(folder.file("nomap.iff"), group("FORM", "ILBM", {header}));
    save(folder.file("both.iff"),
         group("CAT ", "ILBM",
               {testfiles::load(folder.file("two.iff")), testfiles::load(folder.file("one.iff"))}));
    picturetest::savePng(folder.file("two.png"),
                         picturetest::pngLayout(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1},
                                                {{0x12, 0x34, 0x56}, {0xff, 0x80, 0x00}}));
    runtable::expectRuns(QUILLFEN_ASM_TOOL, folder.path(), QUILLFEN_ASM_DATA "/runs.txt");
}
