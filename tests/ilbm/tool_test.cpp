// quillfen-iff's picture commands, run as a user runs them: files in, files and text out,
// exit codes and messages for what goes wrong.
#include "ilbm/ilbmimage.h"
#include "ilbm_test_support.h"
#include "picture_files.h"
#include "run_program.h"

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

using picturetest::Folder;
using picturetest::load;
using Result = testprogram::Outcome;

Result tool(const Folder &, const std::string &arguments) {
    return testprogram::run(QUILLFEN_IFF_TOOL, arguments);
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
    // The Colour tab's palette code from bank 0 COLOR00: AGA copper data, then OCS/ECS.
    const std::string ocs = "; OCS/ECS palette: 2 colours from COLOR00, copper list data\n"
                            "\tdc.w\tCOLOR00,$0135\n"
                            "\tdc.w\tCOLOR01,$0fff\n";
    EXPECT_EQ(r.out, "; AGA palette: 2 colours from bank 0 COLOR00, copper list data\n"
                     "\tdc.w\tBPLCON3,$0c00\n"
                     "\tdc.w\tCOLOR00,$0135\n"
                     "\tdc.w\tCOLOR01,$0fff\n"
                     "\tdc.w\tBPLCON3,$0e00\n"
                     "\tdc.w\tCOLOR00,$0246\n"
                     "\tdc.w\tCOLOR01,$0fff\n"
                     "\tdc.w\tBPLCON3,$0c00\n" +
                         ocs);
    r = tool(folder, "palette --ocs " + folder.file("p.iff"));
    EXPECT_EQ(r.out, ocs);

    // Past 32 colours the AGA copper list selects the next bank.
    save(folder.file("big.iff"),
         group("FORM", "ILBM", {bmhd(16, 1, 6), chunk("CMAP", colours(40))}));
    r = tool(folder, "palette --aga " + folder.file("big.iff"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\tdc.w\tBPLCON3,$2c00\n\tdc.w\tCOLOR00,$080f\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\tdc.w\tBPLCON3,$2e00\n"), std::string::npos);
    EXPECT_EQ(r.out.find("COLOR32"), std::string::npos);
    // OCS/ECS have 32 colour registers: the rest is left out, with a comment.
    r = tool(folder, "palette --ocs " + folder.file("big.iff"));
    EXPECT_NE(r.out.find("\tdc.w\tCOLOR03,$000f\n\tdc.w\tCOLOR04,$010f\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("left out from entry 32 on\n"), std::string::npos) << r.out;
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
    EXPECT_NE(r.err.find("holds no ILBM, ACBM or PBM picture"), std::string::npos) << r.err;

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
    EXPECT_NE(r.err.find("cannot be written"), std::string::npos) << r.err;

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
        // The palette commands say it as every reader of a palette says it.
        EXPECT_NE(r.err.find(command.rfind("palette", 0) == 0 ? "no ILBM, ACBM or PBM picture"
                                                              : "no picture"),
                  std::string::npos)
            << command << ": " << r.err;
        r = tool(folder, command + " " + folder.file("junk.iff") + target);
        EXPECT_EQ(r.status, 1) << command;
        r = tool(folder, command + " " + folder.file("missing.iff") + target);
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;
        if (c.writes) {
            r = tool(folder, command + " " + folder.file(c.input) + nowhere);
            EXPECT_EQ(r.status, 2) << command;
            EXPECT_NE(r.err.find("cannot be written"), std::string::npos)
                << command << ": " << r.err;
        }
    }
}

namespace {

bool exists(const std::string &path) {
    return access(path.c_str(), F_OK) == 0;
}

size_t occurrences(const Bytes &bytes, const char *id) {
    size_t count = 0;
    for (size_t i = 0; i + 4 <= bytes.size(); i++) {
        count += std::equal(id, id + 4, bytes.begin() + static_cast<long>(i));
    }
    return count;
}

// What a conversion wrote passes check and holds the pictures: raw gives the planes it gave
// before.
void expectValidWithPlanes(const Folder &folder, const std::string &written, const Bytes &planes) {
    Result r = tool(folder, "check " + written);
    EXPECT_EQ(r.status, 0) << r.err;
    r = tool(folder, "raw " + written + " " + folder.file("check.raw"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(load(folder.file("check.raw")), planes);
}

const Bytes kTwoPlanes = {0x00, 0x01, 0x10, 0x11, 0x02, 0x03, 0x12, 0x13};

} // namespace

TEST(QuillfenIffPictures, PicturesThatCannotGiveTheirPlanesWriteNothing) {
    Folder folder;
    struct Case {
        const char *name;
        Bytes file;
        const char *message;
    } cases[] = {
        // An ILBM with the planes of an ACBM (even none) but no BODY.
        {"abit.iff", group("FORM", "ILBM", {bmhd(16, 2, 2), chunk("ABIT", {})}),
         "the ILBM picture in '"},
        {"acbm.iff", group("FORM", "ACBM", {bmhd(16, 2, 2), chunk("BODY", kTwoPlanes)}),
         "the ACBM picture in '"},
        // A compression that is not ByteRun1: its body is not planes.
        {"packed2.iff", group("FORM", "ILBM", {bmhd(16, 2, 2, 0, 2), chunk("BODY", kTwoPlanes)}),
         "is not ByteRun1"},
        {"noplanes.iff", group("FORM", "ILBM", {bmhd(16, 2, 0), chunk("BODY", kTwoPlanes)}),
         "nPlanes"},
        {"short.iff", group("FORM", "ACBM", {bmhd(16, 2, 2), chunk("ABIT", {1, 2, 3})}),
         "holds 3 bytes, the picture needs 8"},
    };
    for (const Case &c : cases) {
        save(folder.file(c.name), c.file);
        for (const char *option : {"", "--planar "}) {
            const std::string out = folder.file(std::string(c.name) + ".raw");
            Result r = tool(folder, std::string("raw ") + option + folder.file(c.name) + " " + out);
            EXPECT_EQ(r.status, 1) << c.name << " " << option << r.err;
            EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
            EXPECT_FALSE(exists(out)) << c.name;
        }
    }
    // The ILBM without a BODY is valid IFF-85 all the same: an ILBM may hold its palette alone.
    EXPECT_EQ(tool(folder, "check " + folder.file("abit.iff")).status, 0);
    // A conversion that would write a file that fails the check writes nothing.
    Result r = tool(folder, "pack " + folder.file("packed2.iff") + " " + folder.file("p.iff"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("nothing is written"), std::string::npos) << r.err;
    EXPECT_FALSE(exists(folder.file("p.iff")));
}

TEST(QuillfenIffPictures, APaintedRangeWithoutItsFadesReadsPrintsAndConverts) {
    Folder folder;
    const std::string picture = folder.file("painted.iff");
    save(picture, paintedPicture());
    // Printed as the library says it, or as a record of a picture's reading.
    const std::string warning = "the 'DRNG' chunk of 26 bytes is too small";

    Result r = tool(folder, "print " + picture);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find(warning), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("      nregs = 5;\n"), std::string::npos) << r.out;
    r = tool(folder, "palette --ocs " + picture);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("$0fff"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(warning), std::string::npos) << r.err;
    r = tool(folder, "raw " + picture + " " + folder.file("painted.raw"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(load(folder.file("painted.raw")), (Bytes{0x0F, 0xF0}));
    // The check reports the broken rule.
    r = tool(folder, "check " + picture);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ERROR: the 'DRNG' chunk of 26 bytes is too small for its 28 bytes of "
                         "fields!\n"),
              std::string::npos)
        << r.err;
    // Converted, the range is written whole, and the file passes the check.
    for (const char *command : {"acbm", "pack", "unpack"}) {
        const std::string out = folder.file(std::string(command) + ".iff");
        r = tool(folder, std::string(command) + " " + picture + " " + out);
        EXPECT_EQ(r.status, 0) << command << ": " << r.err;
        expectValidWithPlanes(folder, out, {0x0F, 0xF0});
    }
}

TEST(QuillfenIffPictures, ConversionsKeepPropertiesAndTypesOfListsAndCats) {
    Folder folder;
    const Bytes crng = chunk("CRNG", {0, 0, 0, 1, 0, 1, 0, 1});
    const Bytes prop = group("PROP", "ILBM", {bmhd(16, 2, 2), chunk("CMAP", colours(4))});
    struct Case {
        const char *name;
        Bytes file;
        size_t bodies; // BODY or ABIT chunks in every form the file takes
    } cases[] = {
        {"list.iff",
         group("LIST", "ILBM",
               {prop, group("FORM", "ILBM", {crng, chunk("BODY", kTwoPlanes)}),
                group("FORM", "ILBM", {chunk("BODY", kTwoPlanes)})}),
         2},
        // One BODY in the PROP, shared by both pictures, converted once.
        {"shared.iff",
         group("LIST", "ILBM",
               {group("PROP", "ILBM", {bmhd(16, 2, 2), chunk("BODY", kTwoPlanes)}),
                group("FORM", "ILBM", {crng}), group("FORM", "ILBM", {chunk("CMAP", colours(2))})}),
         1},
        {"cat.iff",
         group("CAT ", "ILBM",
               {group("FORM", "ILBM", {bmhd(16, 2, 2), chunk("BODY", kTwoPlanes)}),
                group("LIST", "ILBM", {prop, group("FORM", "ILBM", {chunk("BODY", kTwoPlanes)})})}),
         2},
    };
    for (const Case &c : cases) {
        const std::string input = folder.file(c.name);
        const std::string acbm = folder.file(std::string("acbm-") + c.name);
        const std::string back = folder.file(std::string("back-") + c.name);
        save(input, c.file);
        ASSERT_EQ(tool(folder, "check " + input).status, 0) << c.name;
        Result r = tool(folder, "acbm " + input + " " + acbm);
        ASSERT_EQ(r.status, 0) << c.name << ": " << r.err;
        expectValidWithPlanes(folder, acbm, kTwoPlanes);
        Bytes converted = load(acbm);
        EXPECT_EQ(occurrences(converted, "ABIT"), c.bodies) << c.name;
        EXPECT_EQ(occurrences(converted, "BODY"), 0u) << c.name;
        EXPECT_EQ(occurrences(converted, "ILBM"), 0u) << c.name;

        r = tool(folder, "ilbm " + acbm + " " + back);
        ASSERT_EQ(r.status, 0) << c.name << ": " << r.err;
        expectValidWithPlanes(folder, back, kTwoPlanes);
        EXPECT_EQ(load(back), c.file) << c.name;
    }
}

TEST(QuillfenIffPictures, OddWidthChunkyRowsPackedWithoutTheirPadding) {
    // A 3 x 2 PBM whose packer took rows of 3 bytes, as netpbm and FFmpeg read it too.
    Folder folder;
    save(folder.file("odd.iff"), group("FORM", "PBM ",
                                       {bmhd(3, 2, 8, 0, 1), chunk("CMAP", colours(5)),
                                        chunk("BODY", {0x02, 1, 2, 3, 0xFE, 4})}));
    Result r = tool(folder, "unpack " + folder.file("odd.iff") + " " + folder.file("flat.iff"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("rows of 3 bytes"), std::string::npos) << r.err;
    EXPECT_EQ(load(folder.file("flat.iff")), group("FORM", "PBM ",
                                                   {bmhd(3, 2, 8), chunk("CMAP", colours(5)),
                                                    chunk("BODY", {1, 2, 3, 0, 4, 4, 4, 0})}));
}

TEST(QuillfenIffPictures, ChunkIdsOfZeroBytesPrintReadably) {
    Folder folder;
    save(folder.file("zero.iff"),
         group("FORM", "ILBM", {cat({Bytes{'A', 0, 0, 'B'}, be32(2), Bytes{7, 7}})}));
    Result r = tool(folder, "print " + folder.file("zero.iff"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("    'A\\x00\\x00B' = {\n"), std::string::npos) << r.out;
    r = tool(folder, "check " + folder.file("zero.iff"));
    EXPECT_EQ(r.status, 1);
}

#ifdef QUILLFEN_PICTURES

TEST(QuillfenIffPictures, RealPicturesFromOtherPrograms) {
    // Pictures written by other programs, broken ones and ones a fuzzer found among them (see
    // tests/ilbm/pictures/SOURCES.md). Each says what it is: the exit status of check, raw and
    // palette, and the message that tells why when one fails. The peers (ilbmtoppm) decode the
    // good ones and refuse the broken ones too.
    auto tooLong = [](const char *chunkId, long declared, long left) {
        return std::string("ERROR: Chunk '") + chunkId + "' declares a body of " +
               std::to_string(declared) + " bytes, but only " + std::to_string(left) +
               " are left in the file!\n";
    };
    struct Case {
        const char *name;
        int check, raw, palette;
        std::string message; // the first message of a file that cannot be read, or of raw
    } cases[] = {
        {"brush-transparent-color.iff", 0, 0, 0, ""},
        {"gradient.iff", 0, 0, 0, ""},
        {"gradient-uncompressed.iff", 0, 0, 0, ""},
        {"ham6.iff", 0, 0, 0, ""},
        {"serenity-24bit.iff", 0, 0, 1, ""},
        {"small-24bit.iff", 0, 0, 1, ""},
        {"test-stencil.iff", 0, 0, 0, ""},
        // A chunky PBM: raw gives its 8 planes (tests/quillfen-iff checks their bytes).
        {"serenity.lbm", 0, 0, 0, ""},
        // A BMHD of 65535 x 65535 over a body of 8 KiB: valid IFF-85, but no picture to unpack.
        {"incorrect-uncompressed-size.iff", 0, 1, 0,
         "ERROR: the packed 'BODY' of 7938 bytes cannot hold the picture's 1610588160 bytes; it "
         "is left packed!\n"},
        // A CMAP whose size is wrong, so that the next "chunk" begins inside the colours.
        {"incorrect-cmap-size.iff", 1, 1, 1, tooLong("\\x00\\x04\\x00\\x01", 268452944, 7956)},
        {"missing-body-chunk.iff", 1, 1, 1, tooLong("FORM", 8034, 88)},
        {"truncated-bmhd-chunk.iff", 1, 1, 1, tooLong("FORM", 8034, 10)},
        {"oss-fuzz-testcase-62033.iff", 1, 1, 1, tooLong("FORM", 538976288, 12)},
        {"oss-fuzz-testcase-63296.iff", 1, 1, 1, tooLong("FORM", 538976288, 32)},
    };
    Folder folder;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string picture = std::string(QUILLFEN_PICTURES) + "/" + c.name;
        const std::string raw = folder.file(std::string(c.name) + ".raw");
        Result check = tool(folder, "check " + picture);
        EXPECT_EQ(check.status, c.check) << check.err;
        Result planes = tool(folder, "raw " + picture + " " + raw);
        EXPECT_EQ(planes.status, c.raw) << planes.err;
        EXPECT_EQ(exists(raw), c.raw == 0);
        EXPECT_EQ(tool(folder, "palette " + picture).status, c.palette);
        if (!c.message.empty()) {
            EXPECT_NE(planes.err.find(c.message), std::string::npos) << planes.err;
        }
        if (c.check != 0) {
            EXPECT_EQ(check.err.rfind(c.message, 0), 0u) << check.err;
            continue;
        }
        // Every conversion of a readable picture writes a valid file that gives the same planes,
        // or refuses and writes nothing.
        for (const char *command : {"acbm", "pack", "unpack"}) {
            const std::string out = folder.file(std::string(command) + "-" + c.name);
            Result r = tool(folder, std::string(command) + " " + picture + " " + out);
            ASSERT_EQ(r.status == 0, exists(out)) << command << ": " << r.err;
            if (r.status == 0) {
                EXPECT_EQ(tool(folder, "check " + out).status, 0) << command;
                Result again = tool(folder, "raw " + out + " " + raw + ".again");
                EXPECT_EQ(again.status, c.raw) << command << ": " << again.err;
                if (c.raw == 0) {
                    EXPECT_EQ(load(raw + ".again"), load(raw)) << command;
                }
            } else {
                EXPECT_EQ(r.status, 1) << command << ": " << r.err;
                EXPECT_NE(std::string(c.name).find("incorrect-uncompressed-size"),
                          std::string::npos)
                    << command << ": " << r.err;
            }
        }
    }
}

#endif
