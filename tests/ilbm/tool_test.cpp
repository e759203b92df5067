// quillfen-iff's picture commands, run as a user runs them: files in, files and text out,
// exit codes and messages for what goes wrong.
#include "ilbm/ilbmimage.h"
#include "ilbm_test_support.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#ifndef QUILLFEN_IFF_TOOL
#error "QUILLFEN_IFF_TOOL must name the quillfen-iff executable"
#endif

using namespace ilbmtest;

namespace {

class Folder {
public:
    Folder() {
        char name[] = "/tmp/quillfen-tool-XXXXXX";
        path_ = mkdtemp(name);
    }
    ~Folder() { std::system(("rm -rf '" + path_ + "'").c_str()); }
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

struct Result {
    int status;
    std::string out;
    std::string err;
};

std::string slurp(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Result tool(const Folder &folder, const std::string &arguments) {
    std::string command = std::string(QUILLFEN_IFF_TOOL) + " " + arguments + " >" +
                          folder.file("stdout") + " 2>" + folder.file("stderr");
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(folder.file("stdout")),
            slurp(folder.file("stderr"))};
}

Bytes load(const std::string &path) {
    std::string s = slurp(path);
    return Bytes(s.begin(), s.end());
}

// 16 x 2, two planes and a mask: rows p0r0 p1r0 m r0, p0r1 p1r1 m r1.
const Bytes kMaskedBody = {0x00, 0x01, 0x10, 0x11, 0xFF, 0xFF, 0x02, 0x03, 0x12, 0x13, 0xFF, 0xFF};

Bytes colours(unsigned int count) {
    Bytes cmap;
    for (unsigned int i = 0; i < count; i++) {
        append(cmap, {static_cast<unsigned char>(i * 4), 0x0F, 0xF0});
    }
    return cmap;
}

} // namespace

TEST(QuillfenIffPictures, RawWritesThePlanesInterleavedOrWhole) {
    Folder folder;
    save(folder.file("p.iff"),
         group("FORM", "ILBM",
               {bmhd(16, 2, 2, 1), chunk("CMAP", colours(4)), chunk("BODY", kMaskedBody)}));
    Result r = tool(folder, "raw " + folder.file("p.iff") + " " + folder.file("i.raw"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(load(folder.file("i.raw")), (Bytes{0x00, 0x01, 0x10, 0x11, 0x02, 0x03, 0x12, 0x13}));
    r = tool(folder, "raw " + folder.file("p.iff") + " -");
    EXPECT_EQ(r.out, std::string("\x00\x01\x10\x11\x02\x03\x12\x13", 8));
    r = tool(folder, "raw --planar " + folder.file("p.iff") + " " + folder.file("p.raw"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(load(folder.file("p.raw")), (Bytes{0x00, 0x01, 0x02, 0x03, 0x10, 0x11, 0x12, 0x13}));

    // The same from a packed picture and from an ACBM.
    save(folder.file("packed.iff"),
         group("FORM", "ILBM",
               {bmhd(16, 2, 2, 0, 1),
                chunk("BODY", {0x07, 0x00, 0x01, 0x10, 0x11, 0x02, 0x03, 0x12, 0x13})}));
    r = tool(folder, "raw " + folder.file("packed.iff") + " " + folder.file("k.raw"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(load(folder.file("k.raw")), load(folder.file("i.raw")));
    save(folder.file("a.iff"),
         group("FORM", "ACBM", {bmhd(16, 2, 2), chunk("ABIT", load(folder.file("p.raw")))}));
    r = tool(folder, "raw " + folder.file("a.iff") + " " + folder.file("a.raw"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(load(folder.file("a.raw")), load(folder.file("i.raw")));
}

TEST(QuillfenIffPictures, PaletteForAgaAndOcs) {
    Folder folder;
    save(folder.file("p.iff"),
         group("FORM", "ILBM",
               {bmhd(16, 2, 2), chunk("CMAP", {0x12, 0x34, 0x56, 0xFF, 0xFF, 0xFF}),
                chunk("BODY", Bytes(8, 0))}));
    Result r = tool(folder, "palette " + folder.file("p.iff"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "; AGA: 2 colours as copper list data\n"
                     "\tdc.w BPLCON3,$0000\n"
                     "\tdc.w COLOR00,$0135\n"
                     "\tdc.w COLOR01,$0fff\n"
                     "\tdc.w BPLCON3,$0200\n"
                     "\tdc.w COLOR00,$0246\n"
                     "\tdc.w COLOR01,$0fff\n"
                     "; OCS/ECS: 2 colours as 12-bit $0RGB words\n"
                     "\tdc.w $0135,$0fff\n");
    r = tool(folder, "palette --ocs " + folder.file("p.iff"));
    EXPECT_EQ(r.out, "; OCS/ECS: 2 colours as 12-bit $0RGB words\n\tdc.w $0135,$0fff\n");

    // Past 32 colours the AGA copper list selects the next bank.
    save(folder.file("big.iff"),
         group("FORM", "ILBM", {bmhd(16, 1, 6), chunk("CMAP", colours(40))}));
    r = tool(folder, "palette --aga " + folder.file("big.iff"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\tdc.w BPLCON3,$2000\n\tdc.w COLOR00,$080f\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\tdc.w BPLCON3,$2200\n"), std::string::npos);
    EXPECT_EQ(r.out.find("COLOR32"), std::string::npos);
    r = tool(folder, "palette --ocs " + folder.file("big.iff"));
    EXPECT_NE(r.out.find("\tdc.w $000f,$000f,$000f,$000f,$010f,$010f,$010f,$010f\n"),
              std::string::npos)
        << r.out;
}

TEST(QuillfenIffPictures, ConversionsWriteNewFiles) {
    Folder folder;
    Bytes original = group("FORM", "ILBM", {bmhd(16, 2, 2, 1), chunk("BODY", kMaskedBody)});
    save(folder.file("p.iff"), original);
    ASSERT_EQ(tool(folder, "pack " + folder.file("p.iff") + " " + folder.file("packed.iff")).status,
              0);
    ASSERT_EQ(
        tool(folder, "acbm " + folder.file("packed.iff") + " " + folder.file("acbm.iff")).status,
        0);
    Bytes acbm = load(folder.file("acbm.iff"));
    EXPECT_EQ(std::string(acbm.begin() + 8, acbm.begin() + 12), "ACBM");
    ASSERT_EQ(
        tool(folder, "ilbm --pack " + folder.file("acbm.iff") + " " + folder.file("b.iff")).status,
        0);
    EXPECT_EQ(load(folder.file("b.iff")), load(folder.file("packed.iff")));
    ASSERT_EQ(tool(folder, "unpack " + folder.file("b.iff") + " " + folder.file("c.iff")).status,
              0);
    EXPECT_EQ(load(folder.file("c.iff")), original);
}

TEST(QuillfenIffPictures, HelpWrongUsageAndBadFiles) {
    Folder folder;
    for (const char *command : {"unpack", "pack", "acbm", "ilbm", "raw", "palette"}) {
        Result r = tool(folder, std::string(command) + " --help");
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_EQ(r.out.rfind(std::string("usage: quillfen-iff ") + command, 0), 0u) << r.out;
        r = tool(folder, std::string(command));
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_NE(r.err.find("usage:"), std::string::npos);
        r = tool(folder, std::string(command) + " --frobnicate a b");
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_NE(r.err.find("unknown option '--frobnicate'"), std::string::npos) << r.err;
    }

    // A file that cannot be read is trouble (2); one that holds no usable picture is a
    // negative answer (1).
    Result r = tool(folder, "raw " + folder.file("missing.iff") + " " + folder.file("out"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("No such file"), std::string::npos) << r.err;

    save(folder.file("sound.iff"), group("FORM", "8SVX", {chunk("VHDR", Bytes(20, 0))}));
    r = tool(folder, "palette " + folder.file("sound.iff"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no picture"), std::string::npos) << r.err;

    save(folder.file("short.iff"),
         group("FORM", "ILBM", {bmhd(16, 2, 2, 0, 1), chunk("BODY", {0x01, 0x00})}));
    r = tool(folder, "raw " + folder.file("short.iff") + " " + folder.file("out"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("left packed"), std::string::npos) << r.err;
    r = tool(folder, "unpack " + folder.file("short.iff") + " " + folder.file("out.iff"));
    EXPECT_EQ(r.status, 1);

    save(folder.file("nomap.iff"), group("FORM", "ILBM", {bmhd(16, 2, 2)}));
    r = tool(folder, "palette " + folder.file("nomap.iff"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no colour map"), std::string::npos) << r.err;

    r = tool(folder, "raw " + folder.file("nomap.iff") + " " + folder.file("dir/none/out"));
    EXPECT_EQ(r.status, 1);
    save(folder.file("p.iff"), group("FORM", "ILBM", {bmhd(16, 2, 2), chunk("BODY", Bytes(8, 1))}));
    r = tool(folder, "raw " + folder.file("p.iff") + " " + folder.file("dir/none/out"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;

    // The picture chunk types are known to print and check.
    r = tool(folder, "print " + folder.file("p.iff"));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("      nPlanes = 2;\n"), std::string::npos) << r.out;
    save(folder.file("bad.iff"), group("FORM", "ILBM", {bmhd(16, 2, 9)}));
    r = tool(folder, "check " + folder.file("bad.iff"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("'BMHD'.nPlanes"), std::string::npos) << r.err;

    // The overview lists the picture commands.
    r = tool(folder, "--help");
    for (const char *command : {"unpack", "pack", "acbm", "ilbm", "raw", "palette"}) {
        EXPECT_NE(r.out.find(std::string("  ") + command + " "), std::string::npos) << command;
    }
}

TEST(QuillfenIffPictures, EveryPictureCommandFollowsTheExitStatusRule) {
    Folder folder;
    save(folder.file("good.iff"),
         group("FORM", "ILBM",
               {bmhd(16, 2, 2), chunk("CMAP", colours(4)), chunk("BODY", Bytes(8, 0x33))}));
    save(folder.file("acbm.iff"), group("FORM", "ACBM", {bmhd(16, 2, 2), chunk("ABIT", Bytes(8))}));
    save(folder.file("sound.iff"), group("FORM", "8SVX", {chunk("VHDR", Bytes(20, 0))}));
    save(folder.file("junk.iff"), text("no IFF here"));
    const std::string out = " " + folder.file("out");
    const std::string nowhere = " " + folder.file("no/such/folder/out");
    struct Case {
        const char *command;
        const char *input;
        bool writes;
    } commands[] = {
        {"unpack", "good.iff", true},         {"pack", "good.iff", true},
        {"acbm", "good.iff", true},           {"ilbm", "acbm.iff", true},
        {"ilbm --pack", "acbm.iff", true},    {"raw", "good.iff", true},
        {"raw --planar", "good.iff", true},   {"palette", "good.iff", false},
        {"palette --aga", "good.iff", false}, {"palette --ocs", "good.iff", false},
    };
    for (const Case &c : commands) {
        const std::string command = c.command;
        const std::string target = c.writes ? out : "";
        Result r = tool(folder, command + " " + folder.file(c.input) + target);
        EXPECT_EQ(r.status, 0) << command << ": " << r.err;
        r = tool(folder, command + " " + folder.file("sound.iff") + target);
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_NE(r.err.find("no picture"), std::string::npos) << command << ": " << r.err;
        r = tool(folder, command + " " + folder.file("junk.iff") + target);
        EXPECT_EQ(r.status, 1) << command;
        r = tool(folder, command + " " + folder.file("missing.iff") + target);
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;
        if (c.writes) {
            r = tool(folder, command + " " + folder.file(c.input) + nowhere);
            EXPECT_EQ(r.status, 2) << command;
            EXPECT_NE(r.err.find("cannot write"), std::string::npos) << command << ": " << r.err;
        }
    }
}
