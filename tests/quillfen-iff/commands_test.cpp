// quillfen-iff's picture commands run as a user runs them: each option reaches the bytes written,
// the same picture as PNG or ILBM gives the same bytes, bad input gets its message and exit
// status, and a command that fails writes nothing. The layouts themselves are the amiga
// library's (tests/amiga); the bytes here are worked out from the pixels (plane_layout.h).
#include "assembled_copper_list.h"
#include "run_program.h"
#include "testing.h"

using namespace ifftool;
using testprogram::expectRow;

namespace {

// 20 x 3 (two words a row, the last 12 bits padding), colours 0-4 of a map of 8.
Indexed fiveColours() {
    Indexed picture{20, 3, {}, {}};
    for (unsigned i = 0; i < 60; i++)
        picture.pixels.push_back(static_cast<std::uint8_t>((i % 20 + 2 * (i / 20)) % 5));
    for (std::uint32_t i = 0; i < 8; i++)
        picture.palette.push_back(i * 0x20 << 16 | 0x40f0);
    return picture;
}

// The bytes written by "command options in out", which must succeed.
Bytes written(const std::string &command, const std::string &in, const Folder &folder) {
    const std::string out = folder.file("out");
    std::filesystem::remove(out);
    const testprogram::Outcome r = tool(command + " " + in + " " + out);
    EXPECT_EQ(r.status, 0) << command << ": " << r.err;
    return load(out);
}

} // namespace

TEST(QuillfenIff, RawOptionsChooseTheLayout) {
    Folder folder;
    const Indexed picture = fiveColours();
    savePng(folder.file("p.png"), picture, 4);
    savePng(folder.file("p8.png"), picture, 8);
    save(folder.file("p.iff"), ilbmOf(picture, 3));
    // The mask: the ILBM's own mask plane, its transparent colour, a PNG's alpha 0, or
    // --transparent over any of them.
    Bytes body;
    for (unsigned y = 0; y < 3; y++) {
        for (unsigned p = 0; p < 3; p++)
            append(body, planelayout::planeRow(picture.pixels, 20, y, p));
        append(body, {static_cast<std::uint8_t>(0xa5 + y), 0x3c, 0xf0, 0x00});
    }
    save(folder.file("masked.iff"),
         group("FORM", "ILBM", {bmhd(20, 3, 3, 1), chunk("BODY", body)}));
    save(folder.file("colour.iff"),
         group("FORM", "ILBM",
               {bmhd(20, 3, 3, 2, 0, 0, 3),
                chunk("BODY", expectedPlanes(picture, 3, true, Mask::None))}));
    savePng(folder.file("alpha.png"), picture, 8, {255, 0, 255});
    // Fewer planes than the colours need: the higher bits are dropped (with a warning, below).
    Indexed low = picture;
    for (std::uint8_t &pixel : low.pixels)
        pixel &= 3;
    const Bytes masked = expectedPlanes(picture, 3, true, Mask::After);
    const struct {
        const char *file, *options;
        Bytes expected;
    } cases[] = {
        {"p.png", "", expectedPlanes(picture, 3, true, Mask::None)},
        {"p.png", "--planar", expectedPlanes(picture, 3, false, Mask::None)},
        {"p.png", "--mask=inverted", expectedPlanes(picture, 3, true, Mask::After, {0}, true)},
        {"p.png", "--planar --mask-only=inverted",
         expectedPlanes(picture, 3, false, Mask::Only, {0}, true)},
        {"p.png", "--transparent=4 --planar --mask",
         expectedPlanes(picture, 3, false, Mask::After, {4})},
        {"p.png", "--chunky", picture.pixels},
        {"p.png", "--depth 2", expectedPlanes(low, 2, true, Mask::None)},
        {"p.png", "--depth 2 --chunky", low.pixels},
        // The same picture as an 8-bit PNG and as an ILBM.
        {"p8.png", "--mask", masked},
        {"p.iff", "--mask", masked},
        {"masked.iff", "--mask", body},
        {"masked.iff", "", expectedPlanes(picture, 3, true, Mask::None)},
        {"masked.iff", "--transparent 2 --mask",
         expectedPlanes(picture, 3, true, Mask::After, {2})},
        {"colour.iff", "--mask", expectedPlanes(picture, 3, true, Mask::After, {3})},
        {"alpha.png", "--mask-only", expectedPlanes(picture, 3, true, Mask::Only, {1})},
    };
    for (const auto &c : cases)
        EXPECT_EQ(written(std::string("raw ") + c.options, folder.file(c.file), folder), c.expected)
            << c.file << " " << c.options;
    EXPECT_NE(tool("raw --depth 2 " + folder.file("p.png") + " -")
                  .err.find("Colour numbers up to 4 need more than 2 planes"),
              std::string::npos);
    // Through a pipe.
    const std::string piped = testprogram::run(kTool, "raw --mask - -", folder.file("p.png")).out;
    EXPECT_EQ(Bytes(piped.begin(), piped.end()), masked);
}

TEST(QuillfenIff, ThePlanesAndPaletteOfOnePicture) {
    Folder folder;
    // Pictures from other programs: raw copies the planes as stored; with --depth it decodes
    // the pixels and lays them out again. Both must agree.
    for (const auto &[name, depth] : {std::pair<const char *, int>{"gradient.iff", 3},
                                      {"serenity-24bit.iff", 24},
                                      // stray bits past its 10 pixels: a copy must not carry them
                                      {"small-24bit.iff", 24},
                                      {"test-stencil.iff", 8}}) {
        const std::string file = std::string(QUILLFEN_PICTURES) + "/" + name;
        EXPECT_EQ(written("raw --depth " + std::to_string(depth), file, folder),
                  written("raw", file, folder))
            << name;
    }
    // Of two pictures in one file, the first unless --picture names another.
    const Indexed first = fiveColours();
    Indexed second = first;
    for (std::uint8_t &pixel : second.pixels)
        pixel = static_cast<std::uint8_t>(4 - pixel);
    for (std::uint32_t &colour : second.palette)
        colour ^= 0x102030;
    const std::string two = folder.file("two.iff");
    save(two, group("CAT ", "ILBM", {ilbmOf(first, 3), ilbmOf(second, 3)}));
    for (const auto &[option, picture] :
         {std::pair<const char *, const Indexed &>{"", first}, {"--picture 2", second}}) {
        SCOPED_TRACE(option);
        EXPECT_EQ(written(std::string("raw ") + option, two, folder),
                  expectedPlanes(picture, 3, true, Mask::None));
        Bytes rgb8;
        for (std::uint32_t c : picture.palette)
            append(rgb8, be32(c));
        EXPECT_EQ(written(std::string("palette --format rgb8 --binary ") + option, two, folder),
                  rgb8);
    }
    expectRow(
        kTool, folder.path(),
        {"raw --picture 3 %two.iff -", 1, nullptr, "holds 2 pictures, there is no picture 3"});
}

TEST(QuillfenIff, TrueColourIsRefusedUnlessReduced) {
    Folder folder;
    // 16 x 16 colours, all different.
    std::vector<unsigned> samples;
    for (unsigned i = 0; i < 256; i++)
        samples.insert(samples.end(), {i % 16 * 16 + 8, i / 16 * 16 + 8, 0x80});
    const std::string photo = folder.file("photo.png");
    picturetest::savePng(photo, picturetest::pngLayout(16, 16, PNG_COLOR_TYPE_RGB, 8, samples));
    // A picture of nothing but transparent pixels.
    picturetest::savePng(
        folder.file("clear.png"),
        picturetest::pngLayout(3, 2, PNG_COLOR_TYPE_RGB_ALPHA, 8, std::vector<unsigned>(24, 0)));
    // Three colours (data/true-colour.txt).
    const std::uint32_t three[] = {0x123456, 0xfedcba, 0x0080ff, 0x123456};
    samples.clear();
    for (std::uint32_t c : three)
        samples.insert(samples.end(), {c >> 16, c >> 8 & 0xff, c & 0xff});
    picturetest::savePng(folder.file("three.png"),
                         picturetest::pngLayout(2, 2, PNG_COLOR_TYPE_RGB, 8, samples));
    runtable::expectRuns(kTool, folder.path(), QUILLFEN_IFF_DATA "/true-colour.txt");
    EXPECT_FALSE(exists(folder.file("out")));
    const Bytes chunky = written("raw --chunky --reduce 7 --dither=ordered", photo, folder);
    ASSERT_EQ(chunky.size(), 256u);
    EXPECT_LT(*std::max_element(chunky.begin(), chunky.end()), 7);
    EXPECT_LE(written("palette --format rgb8 --binary --reduce 7", photo, folder).size(), 7u * 4);
}

TEST(QuillfenIff, PaletteFormatsOptionsAndUsageErrors) {
    Folder folder;
    // Two colours: $12 $34 $56 and $ff $80 $01 (data/options.txt).
    const Indexed picture{2, 1, {0, 1}, {0x123456, 0xff8001}};
    const std::string png = folder.file("p.png");
    savePng(png, picture, 1);
    save(folder.file("p.iff"), ilbmOf(picture, 1));
    // Printed or written to a file, the same text.
    const std::string text = tool("palette --format copper " + png).out;
    EXPECT_EQ(written("palette --format copper", png, folder), Bytes(text.begin(), text.end()));
    save(folder.file("grey.iff"), group("FORM", "PBM ", {bmhd(2, 1, 4), chunk("BODY", {0, 1})}));
    std::filesystem::remove(folder.file("out"));
    runtable::expectRuns(kTool, folder.path(), QUILLFEN_IFF_DATA "/options.txt");
    EXPECT_FALSE(exists(folder.file("out")));
}

TEST(QuillfenIff, SpriteOptionsReachTheWords) {
    Folder folder;
    // 16 x 5, colours 0-3: a diagonal of 1, a column of 2, a row of 3 (data/sprites.txt).
    Indexed picture{16, 5, std::vector<std::uint8_t>(80, 0), {0, 0xff0000, 0x00ff00, 0x0000ff}};
    for (unsigned y = 0; y < 5; y++) {
        picture.pixels[y * 16 + y] = 1;
        picture.pixels[y * 16 + 12] = 2;
        picture.pixels[4 * 16 + y + 6] = 3;
    }
    savePng(folder.file("s.png"), picture, 2);
    savePng(folder.file("alpha.png"), picture, 2, {255, 255, 255, 0});
    std::vector<std::uint8_t> opaque;
    for (std::uint8_t pixel : picture.pixels)
        opaque.push_back(pixel != 3);
    const Bytes body = picturetest::interleavedBody(
        16, 5, 2, std::vector<std::uint32_t>(picture.pixels.begin(), picture.pixels.end()),
        &opaque);
    save(folder.file("masked.iff"),
         group("FORM", "ILBM",
               {bmhd(16, 5, 2, 1), picturetest::cmapOf(picture.palette), chunk("BODY", body)}));
    Indexed wide{32, 2, std::vector<std::uint8_t>(64, 0), {0, 0x090909, 0x080808, 0x070707}};
    wide.pixels[0] = 1;
    wide.pixels[31] = 3;
    wide.pixels[32 + 17] = 2;
    savePng(folder.file("w.png"), wide, 2);
    Indexed colourful{16, 2, {}, {}};
    for (unsigned i = 0; i < 32; i++)
        colourful.pixels.push_back(static_cast<std::uint8_t>(i % 16));
    for (std::uint32_t i = 0; i < 16; i++)
        colourful.palette.push_back(i * 0x010101);
    savePng(folder.file("a.png"), colourful, 4);
    Indexed sheet{40, 6, std::vector<std::uint8_t>(240, 0), {0, 0x090909, 0x080808, 0x070707}};
    sheet.pixels[0] = 2;
    sheet.pixels[16] = 1;
    savePng(folder.file("sheet.png"), sheet, 2);
    savePng(folder.file("wide.png"), Indexed{144, 1, std::vector<std::uint8_t>(144, 1), {0, 1}}, 1);
    runtable::expectRuns(kTool, folder.path(), QUILLFEN_IFF_DATA "/sprites.txt",
                         [&](const std::string &arguments) {
                             EXPECT_FALSE(exists(folder.file("out"))) << arguments;
                         });
    // Written, the words the text prints, high bytes first.
    EXPECT_EQ(written("sprite", folder.file("s.png"), folder),
              (Bytes{0x80, 0,    0,    0x08, 0x40, 0,    0,    0x08, 0x20, 0,
                     0,    0x08, 0x10, 0,    0,    0x08, 0x0b, 0xe0, 0x03, 0xe8}));
    // Frames written and printed alike: the text assembled as printed gives the bytes written.
    if (m68k::available()) {
        const std::string frames = "sprite --attached --frame-height 2 --x 80 --y 40";
        const std::string text = tool(frames + " --text " + folder.file("sheet.png") + " -").out;
        EXPECT_EQ(written(frames, folder.file("sheet.png"), folder), bytesOfWords(assembled(text)));
    }
}

TEST(QuillfenIff, ConversionsKeepThePictureOrWriteNothing) {
    Folder folder;
    // 20 x 3 of five colours as an ACBM (planes whole), as one that also carries a BODY (which
    // packing must not take for its planes), and as a PBM (a byte a pixel).
    const Indexed picture = fiveColours();
    const Bytes cmap = picturetest::cmapOf(picture.palette);
    const Bytes abit = chunk("ABIT", expectedPlanes(picture, 3, false, Mask::None));
    save(folder.file("acbm.iff"), group("FORM", "ACBM", {bmhd(20, 3, 3), cmap, abit}));
    save(folder.file("acbm-body.iff"),
         group("FORM", "ACBM", {bmhd(20, 3, 3), cmap, abit, chunk("BODY", Bytes(24, 0))}));
    save(folder.file("pbm.iff"),
         group("FORM", "PBM ", {bmhd(20, 3, 8), cmap, chunk("BODY", picture.pixels)}));
    save(folder.file("painted.iff"), paintedPicture());
    const Bytes prop = group("PROP", "ILBM", {bmhd(20, 3, 3), cmap});
    const Bytes body = chunk("BODY", expectedPlanes(picture, 3, true, Mask::None));
    save(folder.file("list.iff"),
         group("LIST", "ILBM",
               {prop, group("FORM", "ILBM", {chunk("CRNG", {0, 0, 0, 1, 0, 1, 0, 1}), body}),
                group("FORM", "ILBM", {body})}));
    save(folder.file("cat.iff"),
         group("CAT ", "ILBM",
               {group("FORM", "ILBM", {bmhd(20, 3, 3), body}),
                group("LIST", "ILBM", {prop, group("FORM", "ILBM", {body})})}));
    const std::string pictures = QUILLFEN_PICTURES;
    const std::string kinds[] = {
        pictures + "/gradient.iff",     // packed ILBM
        pictures + "/ham6.iff",         // HAM6
        pictures + "/small-24bit.iff",  // 24 planes
        pictures + "/test-stencil.iff", // a mask plane
        folder.file("acbm.iff"),        folder.file("acbm-body.iff"), folder.file("pbm.iff"),
        folder.file("painted.iff"),     folder.file("list.iff"),      folder.file("cat.iff"),
    };
    const std::string out = folder.file("out.iff");
    // What a picture shows to the commands that read pictures: its planes and colours.
    auto shown = [&](const std::string &file) {
        const testprogram::Outcome planes = tool("raw " + file + " -");
        const testprogram::Outcome colours = tool("palette --format rgb8 " + file);
        return std::to_string(planes.status) + planes.out + std::to_string(colours.status) +
               colours.out;
    };
    for (const std::string &kind : kinds) {
        const std::string before = shown(kind);
        for (const std::string conversion : {"unpack", "pack", "acbm", "ilbm", "ilbm --pack"}) {
            SCOPED_TRACE(kind + ": " + conversion);
            // Made an ILBM, a picture that has both layouts is refused; a header in a PROP,
            // shared with other pictures, is not packed for one of them.
            const bool refused =
                (kind == folder.file("acbm-body.iff") && conversion.rfind("ilbm", 0) == 0) ||
                ((kind == folder.file("list.iff") || kind == folder.file("cat.iff")) &&
                 conversion == "pack");
            std::filesystem::remove(out);
            const testprogram::Outcome r = tool(conversion + " " + kind + " " + out);
            EXPECT_EQ(r.status, refused ? 1 : 0) << r.err;
            if (refused) {
                EXPECT_FALSE(exists(out));
            } else {
                EXPECT_EQ(shown(out), before);
                EXPECT_EQ(tool("check " + out).status, 0);
            }
        }
    }
    // An ACBM made an ILBM again is the file it was made from; with --pack, that file packed.
    save(folder.file("l-acbm.iff"), written("acbm", folder.file("list.iff"), folder));
    EXPECT_EQ(written("ilbm", folder.file("l-acbm.iff"), folder), load(folder.file("list.iff")));
    save(folder.file("a-ilbm.iff"), written("ilbm", folder.file("acbm.iff"), folder));
    EXPECT_EQ(written("ilbm --pack", folder.file("acbm.iff"), folder),
              written("pack", folder.file("a-ilbm.iff"), folder));

    // Pictures that cannot give their planes: a negative answer, nothing written.
    const Bytes planes(8, 0x33);
    save(folder.file("abit.iff"), group("FORM", "ILBM", {bmhd(16, 2, 2), chunk("ABIT", {})}));
    save(folder.file("body.iff"), group("FORM", "ACBM", {bmhd(16, 2, 2), chunk("BODY", planes)}));
    save(folder.file("packed2.iff"),
         group("FORM", "ILBM", {bmhd(16, 2, 2, 0, 2), chunk("BODY", planes)}));
    save(folder.file("short.iff"), group("FORM", "ACBM", {bmhd(16, 2, 2), chunk("ABIT", {1, 2})}));
    save(folder.file("unpacked.iff"),
         group("FORM", "ILBM", {bmhd(16, 2, 2, 0, 1), chunk("BODY", {0x01, 0x00})}));
    save(folder.file("sound.iff"), group("FORM", "8SVX", {chunk("VHDR", Bytes(20, 0))}));
    save(folder.file("nomap.iff"), group("FORM", "ILBM", {bmhd(16, 2, 2)}));
    testfiles::saveText(folder.file("junk.iff"), "no IFF here");
    // A 3 x 2 PBM whose packer took rows of 3 bytes, as netpbm and FFmpeg read it too.
    save(folder.file("odd.iff"),
         group("FORM", "PBM ", {bmhd(3, 2, 8, 0, 1), chunk("BODY", {2, 1, 2, 3, 0xfe, 4})}));
    std::filesystem::remove(folder.file("out"));
    runtable::expectRuns(kTool, folder.path(), QUILLFEN_IFF_DATA "/refusals.txt",
                         [&](const std::string &arguments) {
                             EXPECT_FALSE(exists(folder.file("out"))) << arguments;
                         });
    EXPECT_EQ(load(folder.file("flat.iff")),
              group("FORM", "PBM ", {bmhd(3, 2, 8), chunk("BODY", {1, 2, 3, 0, 4, 4, 4, 0})}));
}

TEST(QuillfenIff, RealPicturesFromOtherPrograms) {
    Folder folder;
    std::filesystem::create_directory_symlink(QUILLFEN_PICTURES, folder.file("pictures"));
    runtable::expectRuns(kTool, folder.path(), QUILLFEN_IFF_DATA "/real-pictures.txt",
                         [&](const std::string &arguments) {
                             EXPECT_FALSE(exists(folder.file("raw"))) << arguments;
                         });
}
