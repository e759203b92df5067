// quillfen-iff print, check and compare: the libraries' texts reach the user (their wording is
// the iff library's, tests/iff), with one exit status rule; and every command is listed.
#include "iff_bytes.h"
#include "run_program.h"
#include "scratch_files.h"

#include <gtest/gtest.h>

using namespace iffbytes;
using testprogram::expectRow;

namespace {

const std::string kTool = QUILLFEN_IFF_TOOL;

// A BMHD that the picture library's check accepts: the bytes 0 to 19, with masking,
// compression and pad1 0.
const Bytes kHeader = {0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 12, 13, 14, 15, 16, 17, 18, 19};

} // namespace

TEST(QuillfenIffInspector, PrintCheckAndCompare) {
    testfiles::Folder folder;
    const Bytes form = group("FORM", "ILBM", {chunk("BMHD", kHeader)});
    const Bytes a = group("CAT ", "JJJJ", {group("FORM", "ILBM", {chunk("BODY", {1, 2, 3})})});
    save(folder.file("good.iff"), form);
    save(folder.file("bad.iff"), group("FORM", "ilbm", {}));
    save(folder.file("junk.iff"), text("not an IFF file at all"));
    save(folder.file("a.iff"), a);
    // The same tree, with trailing bytes that are not part of it; and another.
    save(folder.file("same.iff"), cat({a, Bytes{0, 0}}));
    save(folder.file("b.iff"),
         group("CAT ", "JJJJ", {group("FORM", "ILBM", {chunk("BODY", {1, 2, 4})})}));
    const testprogram::Row rows[] = {
        // The BMHD printed as the picture library's record, not as bytes.
        {"print %good.iff", 0,
         "^'FORM' = {\n  chunkSize = 32;\n  formType = 'ILBM';\n  [\n    'BMHD' = {\n"
         "      chunkSize = 20;\n      w = 1;\n      h = 515;\n"},
        {"print %junk.iff", 1, nullptr, "%junk.iff"},
        {"print %missing.iff", 2, nullptr,
         "quillfen-iff print: '%missing.iff' cannot be opened: No such file or directory.\n"},
        {"print %", 2, nullptr, "quillfen-iff print: "}, // a folder opens, but cannot be read
        {"check %good.iff", 0},
        {"check %bad.iff", 1, nullptr, "No lowercase characters"},
        {"check %missing.iff", 2, nullptr, "%missing.iff"},
        {"compare %a.iff %same.iff", 0, "equal\n"},
        {"compare %a.iff %b.iff", 1, "different\n"},
        {"compare %good.iff %junk.iff", 1, nullptr, "%junk.iff"},
        {"compare %missing.iff %good.iff", 2, nullptr, "%missing.iff"},
    };
    for (const testprogram::Row &row : rows)
        expectRow(kTool, folder.path(), row);
    // From the standard input, a stream that cannot seek: the same.
    EXPECT_EQ(testprogram::run(kTool, "print -", folder.file("good.iff")).out,
              testprogram::run(kTool, "print " + folder.file("good.iff")).out);
}

TEST(QuillfenIffInspector, EveryCommandIsListedWithItsUsage) {
    // Help and usage errors in each form are the command line's (tests/common-cli); here each
    // command is listed, and its own operand counts refuse too few and too many.
    testfiles::Folder folder;
    const testprogram::Outcome overview = testprogram::run(kTool, "--help");
    EXPECT_EQ(overview.status, 0);
    EXPECT_NE(overview.out.find("Exit status: 0"), std::string::npos);
    for (const char *name : {"acbm", "bobs", "check", "compare", "copper", "ilbm", "pack",
                             "palette", "print", "raw", "sprite", "unpack"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(overview.out.find(std::string("\n  ") + name + " "), std::string::npos);
        testprogram::expectUsageErrors(kTool, folder.path(), name, {"", "a b c"});
    }
}
