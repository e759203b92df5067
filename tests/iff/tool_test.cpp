// quillfen-iff print, check and compare, with their output and exit statuses.
#include "run_program.h"
#include "scratch_files.h"
#include "testing.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace ifftest;

namespace {

using testprogram::Outcome;

class ToolTest : public testing::Test {
protected:
    std::string file(const char *name, const Bytes &bytes) {
        const std::string path = scratch.file(name);
        EXPECT_TRUE(save(path, bytes));
        return path;
    }

    // The program run with its arguments, its standard input the file input when one is given.
    static Outcome run(const std::string &arguments, const std::string &input = "/dev/null") {
        return testprogram::run(QUILLFEN_IFF_TOOL, arguments, input);
    }

    testfiles::Folder scratch;
    const std::string folder = scratch.path();
};

// A BMHD that the picture library's check accepts: the bytes 0 to 19, with masking,
// compression and pad1 0.
Bytes header() {
    Bytes bytes;
    for (unsigned char i = 0; i < 20; i++) {
        bytes.push_back(i >= 9 && i <= 11 ? 0 : i);
    }
    return bytes;
}

} // namespace

TEST_F(ToolTest, PrintShowsTheNestedTree) {
    const std::string path = file("ilbm.iff", group("FORM", "ILBM", {chunk("BMHD", header())}));
    Outcome result = run("print " + path);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "'FORM' = {\n"
                          "  chunkSize = 32;\n"
                          "  formType = 'ILBM';\n"
                          "  [\n"
                          "    'BMHD' = {\n"
                          "      chunkSize = 20;\n"
                          "      w = 1;\n"
                          "      h = 515;\n"
                          "      x = 1029;\n"
                          "      y = 1543;\n"
                          "      nPlanes = 8;\n"
                          "      masking = 0;\n"
                          "      compression = 0;\n"
                          "      xAspect = 14;\n"
                          "      yAspect = 15;\n"
                          "      pageWidth = 4113;\n"
                          "      pageHeight = 4627;\n"
                          "    }\n"
                          "\n"
                          "  ];\n"
                          "}\n"
                          "\n");
    // The same from the standard input, a stream that cannot seek.
    Outcome piped = run("print -", path);
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, result.out);
}

TEST_F(ToolTest, CheckRefusesEachBrokenRule) {
    const Bytes form = group("FORM", "ILBM", {chunk("BMHD", header())});
    EXPECT_EQ(run("check " + file("good.iff", form)).status, 0);

    struct Case {
        const char *name;
        Bytes bytes;
        const char *message;
    } cases[] = {
        {"data.iff", chunk("BMHD", header()),
         "Not a valid IFF-85 file: First bytes should start with either: 'FORM', 'CAT ' or "
         "'LIST'\n"},
        {"prop.iff", group("FORM", "ILBM", {group("PROP", "ILBM", {})}),
         "ERROR: Element with chunk Id: 'PROP' not allowed in FORM chunk!\n"},
        {"propform.iff",
         group("LIST", "ILBM", {group("PROP", "ILBM", {group("FORM", "ILBM", {})})}),
         "ERROR: Element with chunk Id: 'FORM' not allowed in PROP chunk!\n"},
        {"catdata.iff", group("CAT ", "ILBM", {chunk("BMHD", header())}),
         "ERROR: Element with chunk Id: 'BMHD' not allowed in CAT chunk!\n"},
        {"catform.iff", group("CAT ", "ILBM", {group("FORM", "ACBM", {})}),
         "Sub form does not match contentsType of the CAT!\n"},
        {"catlist.iff", group("CAT ", "ILBM", {group("LIST", "ACBM", {})}),
         "Sub list does not match contentsType of the CAT!\n"},
        {"catcat.iff", group("CAT ", "ILBM", {group("CAT ", "ACBM", {})}),
         "Sub cat does not match contentsType of the CAT!\n"},
        {"lower.iff", group("FORM", "ilbm", {}),
         "No lowercase characters or punctuation marks allowed in a form type ID!\n"},
        {"reserved.iff", group("FORM", "FOR3", {}), "Form type: 'FOR3' not allowed!\n"},
        {"space.iff", group("FORM", "ILBM", {chunk(" BMH", {})}),
         "Spaces may not precede an ID!\n"},
        {"tab.iff", group("FORM", "ILBM", {chunk("BM\tD", {})}),
         "Illegal character: '\t' in ID!\n"},
        {"size.iff", group("FORM", "ILBM", {chunk("BMHD", header())}, 30),
         "Chunk size mismatch! FORM size: 30, while body has: 32\n"},
    };
    for (const Case &c : cases) {
        Outcome result = run(std::string("check ") + file(c.name, c.bytes));
        EXPECT_EQ(result.status, 1) << c.name;
        EXPECT_EQ(result.err.rfind(c.message, 0), 0u) << c.name << ": " << result.err;
        EXPECT_EQ(result.out, "") << c.name;
    }
    Outcome broken = run("check " + file("cut.iff", Bytes(form.begin(), form.begin() + 30)));
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.err.find("ERROR: cannot open main chunk!\n"), std::string::npos);
}

TEST_F(ToolTest, CompareTellsEqualFromDifferent) {
    const Bytes a = group("CAT ", "JJJJ", {group("FORM", "ILBM", {chunk("BODY", {1, 2, 3})})});
    const Bytes b = group("CAT ", "JJJJ", {group("FORM", "ILBM", {chunk("BODY", {1, 2, 4})})});
    const std::string first = file("a.iff", a);
    // The same tree, with trailing bytes that are not part of it.
    const std::string same = file("same.iff", cat({a, Bytes{0, 0}}));
    const std::string other = file("b.iff", b);
    Outcome equal = run("compare " + first + " " + same);
    EXPECT_EQ(equal.status, 0);
    EXPECT_EQ(equal.out, "equal\n");
    Outcome different = run("compare " + first + " " + other);
    EXPECT_EQ(different.status, 1);
    EXPECT_EQ(different.out, "different\n");
    EXPECT_EQ(run("compare " + first + " " + folder + "/missing.iff").status, 2);
}

TEST_F(ToolTest, UsageAndFileErrors) {
    Outcome help = run("--help");
    EXPECT_EQ(help.status, 0);
    for (const char *word : {"print FILE", "check FILE", "compare FILE FILE"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    }
    EXPECT_EQ(run("").status, 2);
    Outcome unknown = run("frobnicate x");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err.rfind("quillfen-iff: unknown command: frobnicate\n", 0), 0u);
    Outcome missingArgument = run("compare one");
    EXPECT_EQ(missingArgument.status, 2);
    EXPECT_EQ(missingArgument.err.rfind("quillfen-iff compare: expects 2 operands, not 1\n"
                                        "usage: quillfen-iff compare FILE FILE\n",
                                        0),
              0u)
        << missingArgument.err;
    Outcome missing = run("print " + folder + "/missing.iff");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "quillfen-iff print: '" + folder +
                               "/missing.iff' cannot be opened: No such file or directory.\n");
}

// The commands as the overview lists them: the word after two blanks on each line that has it.
std::vector<std::string> listedCommands(const std::string &overview) {
    std::vector<std::string> names;
    std::istringstream lines(overview.substr(overview.find("Commands:\n")));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.size() > 2 && line.compare(0, 2, "  ") == 0 && line[2] != ' ') {
            names.push_back(line.substr(2, line.find(' ', 2) - 2));
        }
    }
    return names;
}

TEST_F(ToolTest, EveryListedCommandAnswersHelpAndRefusesWrongUsage) {
    Outcome overview = run("--help");
    ASSERT_EQ(overview.status, 0);
    EXPECT_EQ(overview.err, "");
    const std::vector<std::string> names = listedCommands(overview.out);
    const std::vector<std::string> expected = {"acbm", "check",  "compare", "copper",
                                               "ilbm", "pack",   "palette", "print",
                                               "raw",  "sprite", "unpack"};
    EXPECT_EQ(names, expected);
    EXPECT_NE(overview.out.find("Exit status: 0"), std::string::npos);

    for (const std::string &name : names) {
        for (const std::string &help : {name + " --help", name + " -h", "help " + name}) {
            Outcome usage = run(help);
            EXPECT_EQ(usage.status, 0) << help;
            EXPECT_EQ(usage.out.rfind("usage: quillfen-iff " + name + " ", 0), 0u) << usage.out;
            EXPECT_NE(usage.out.find("  --help"), std::string::npos) << usage.out;
            EXPECT_EQ(usage.err, "") << help;
        }
        // --help wins over operands, and is never taken for a file name.
        EXPECT_EQ(run(name + " some.iff --help").status, 0) << name;

        Outcome unknown = run(name + " --frobnicate a b");
        EXPECT_EQ(unknown.status, 2) << name;
        EXPECT_EQ(unknown.err.rfind("quillfen-iff " + name + ": unknown option '--frobnicate'\n" +
                                        "usage: quillfen-iff " + name + " ",
                                    0),
                  0u)
            << unknown.err;
        EXPECT_EQ(unknown.out, "");
        for (const std::string &operands : {std::string(""), std::string(" a b c")}) {
            Outcome wrong = run(name + operands);
            EXPECT_EQ(wrong.status, 2) << name << operands;
            EXPECT_NE(wrong.err.find("usage: quillfen-iff " + name), std::string::npos)
                << wrong.err;
        }
    }
    EXPECT_EQ(run("help frobnicate").status, 2);
    // After --, a name that begins with a dash is a file.
    Outcome dashed = run("print -- --help");
    EXPECT_EQ(dashed.status, 2);
    EXPECT_NE(dashed.err.find("'--help' cannot be opened"), std::string::npos) << dashed.err;
}

TEST_F(ToolTest, ExitStatusesFollowOneRule) {
    const std::string good = file("good.iff", group("FORM", "ILBM", {chunk("BMHD", header())}));
    const std::string bad = file("bad.iff", group("FORM", "ilbm", {}));
    const std::string junk = file("junk.iff", text("not an IFF file at all"));
    const std::string missing = folder + "/missing.iff";
    struct Case {
        std::string arguments;
        int status;
    } cases[] = {
        {"print " + good, 0},
        {"print " + junk, 1},
        {"print " + missing, 2},
        {"print " + folder, 2}, // a folder opens, but cannot be read
        {"check " + good, 0},
        {"check " + bad, 1},
        {"check " + junk, 1},
        {"check " + missing, 2},
        {"compare " + good + " " + good, 0},
        {"compare " + good + " " + bad, 1},
        {"compare " + good + " " + junk, 1},
        {"compare " + missing + " " + good, 2},
    };
    for (const Case &c : cases) {
        Outcome result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments << "\n" << result.err;
        // Every failure says why; "different" is an answer, not a failure.
        EXPECT_EQ(result.err.empty(), c.status == 0 || result.out == "different\n") << c.arguments;
    }
}
