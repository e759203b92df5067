// The display model: scenes worked out by hand from the Hardware Reference Manual and the AGA
// documentation, and the emulator's reference frames reproduced pixel for pixel.
#include "frame_fixture.h"
#include "scratch_files.h"

#include <amiga/copperread.h>
#include <amiga/displaymodel.h>

#include "assembled_copper_list.h"

#include <gtest/gtest.h>

using namespace amiga;

namespace {

constexpr std::uint32_t kList = 0x1000, kPlanes = 0x10000, kSprite = 0x20000;

std::vector<std::uint16_t> wait(int v, int h) {
    return {static_cast<std::uint16_t>((v & 0xff) << 8 | (h & 0xfe) | 1), 0xfffe};
}

// A standard lores screen: window $2c81-$2cc1, fetch $38-$d0, plane 1 at kPlanes.
const std::vector<std::uint16_t> kScreen = {0x08e, 0x2c81, 0x090, 0x2cc1, 0x092, 0x0038,
                                            0x094, 0x00d0, 0x0e0, 0x0001, 0x0e2, 0x0000};

struct At { // a check: the colour at lores pixel h, line v, which of its two hires columns
    int h, v, column;
    std::uint32_t rgb;
};

struct Scene {
    const char *what;
    Chipset chipset;
    std::vector<std::vector<std::uint16_t>> list; // pieces, joined
    std::vector<std::uint16_t> planeWords;        // at kPlanes
    std::vector<std::uint16_t> spriteWords;       // at kSprite (sprite DMA on when given)
    std::vector<At> checks;
};

FrameRequest requestOf(const Scene &scene) {
    FrameRequest request;
    request.setup.chipset = scene.chipset;
    request.setup.copperAddress = kList;
    for (const auto &piece : scene.list)
        request.list.insert(request.list.end(), piece.begin(), piece.end());
    request.list.insert(request.list.end(), {0xffff, 0xfffe});
    request.chip.push_back({kPlanes, bytesOfWords(scene.planeWords), "planes"});
    if (!scene.spriteWords.empty()) {
        request.setup.spriteDma = true;
        request.chip.push_back({kSprite, bytesOfWords(scene.spriteWords), "sprites"});
    }
    return request;
}

// Words of plane data: word at (line, word) of a 40-byte line, the rest 0.
std::vector<std::uint16_t> plane(std::initializer_list<std::pair<int, std::uint16_t>> at,
                                 int planes = 1) {
    std::vector<std::uint16_t> words(static_cast<std::size_t>(planes) * 20 * 256);
    for (auto [index, value] : at)
        words[static_cast<std::size_t>(index)] = value;
    return words;
}

constexpr int kPlaneWords = 20 * 256; // one plane of 320 x 256

const std::vector<std::uint16_t> kPlanePointers6 = {
    0x0e4, 0x0001, 0x0e6, 2 * kPlaneWords, 0x0e8, 0x0001, 0x0ea, 4 * kPlaneWords,
    0x0ec, 0x0001, 0x0ee, 6 * kPlaneWords, 0x0f0, 0x0001, 0x0f2, 8 * kPlaneWords,
    0x0f4, 0x0001, 0x0f6, 10 * kPlaneWords};

const Scene kScenes[] = {
    // The emulator tool's measurement (its README): WAIT (v, h), MOVE COLOR00 shows from 2h + 4.
    {"a colour after a WAIT",
     Chipset::Ocs,
     {{0x180, 0xf00}, wait(0x40, 0x40), {0x180, 0x0f0}},
     {},
     {},
     {At{0x83, 0x40, 1, 0xff0000}, At{0x84, 0x40, 0, 0x00ff00}, At{0x1c0, 0x3f, 0, 0xff0000},
      At{0x60, 0x41, 0, 0x00ff00}}},
    // Lores: DDFSTRT $38 shows its first pixel at $81 (HRM: HSTART = 2 x DDFSTRT + 17); the
    // word's last bit is pixel 15; the line after reads the next 40 bytes.
    {"lores pixels",
     Chipset::Ocs,
     {kScreen, {0x100, 0x1200, 0x182, 0xfff}},
     plane({{0, 0x8001}, {21, 0x4000}}),
     {},
     {At{0x80, 0x2c, 0, 0x000000}, At{0x81, 0x2c, 0, 0xffffff}, At{0x81, 0x2c, 1, 0xffffff},
      At{0x82, 0x2c, 0, 0x000000}, At{0x90, 0x2c, 1, 0xffffff}, At{0x81, 0x2b, 0, 0x000000},
      At{0x92, 0x2d, 0, 0xffffff}, At{0x91, 0x2d, 0, 0x000000}}},
    // Hires: DDFSTRT $3c shows at $81 (2 x $3c + 9), a hires pixel per column.
    {"hires pixels",
     Chipset::Ocs,
     {kScreen, {0x092, 0x3c, 0x094, 0xd4, 0x100, 0x9200, 0x182, 0xfff}},
     plane({{0, 0x4000}}),
     {},
     {At{0x81, 0x2c, 0, 0x000000}, At{0x81, 0x2c, 1, 0xffffff}, At{0x82, 0x2c, 0, 0x000000}}},
    // EHB: colour 33 is COLOR01 at half brightness, each gun's 4 bits shifted right.
    {"extra half-brite",
     Chipset::Ocs,
     {kScreen, kPlanePointers6, {0x100, 0x6200, 0x182, 0xfa5}},
     [] {
         auto p = plane({{0, 0x8000}}, 6);
         p[5 * kPlaneWords] = 0x8000;
         return p;
     }(),
     {},
     {At{0x81, 0x2c, 0, 0x775522}}},
    // HAM6: %10 0101 sets red to 5, then %01 0011 blue to 3, green kept from COLOR00.
    {"hold and modify",
     Chipset::Ocs,
     {kScreen, kPlanePointers6, {0x100, 0x6a00, 0x180, 0x070}},
     [] {
         auto p = plane({{0, 0xc000}}, 6); // plane 1: pixels 0 and 1
         p[1 * kPlaneWords] = 0x4000;      // plane 2: pixel 1
         p[2 * kPlaneWords] = 0x8000;      // plane 3: pixel 0
         p[4 * kPlaneWords] = 0x4000;      // plane 5: pixel 1 (control %01)
         p[5 * kPlaneWords] = 0x8000;      // plane 6: pixel 0 (control %10)
         return p;
     }(),
     {},
     {At{0x81, 0x2c, 0, 0x557700}, At{0x82, 0x2c, 0, 0x557733}, At{0x83, 0x2c, 0, 0x007700}}},
    // Dual playfield: odd planes colours 1-7, even planes 9-15; PF2PRI puts playfield 2 first.
    {"dual playfield",
     Chipset::Ocs,
     {kScreen,
      {0x0e4, 0x0001, 0x0e6, 2 * kPlaneWords, 0x100, 0x2600, 0x182, 0xf00, 0x192, 0x0f0},
      wait(0x2d, 0),
      {0x104, 0x0040}},
     [] {
         auto p = plane({{0, 0xc000}, {20, 0xc000}}, 2);
         p[kPlaneWords] = 0xa000;
         p[kPlaneWords + 20] = 0xa000;
         return p;
     }(),
     {},
     {At{0x81, 0x2c, 0, 0xff0000}, At{0x82, 0x2c, 0, 0xff0000}, At{0x83, 0x2c, 0, 0x00ff00},
      At{0x81, 0x2d, 0, 0x00ff00}, At{0x82, 0x2d, 0, 0xff0000}}},
    // A negative modulo of one line shows line 0 again on every line.
    {"negative modulo",
     Chipset::Ocs,
     {kScreen, {0x108, 0xffd8, 0x100, 0x1200, 0x182, 0xfff}},
     plane({{0, 0x8000}}),
     {},
     {At{0x81, 0x2c, 0, 0xffffff}, At{0x81, 0x80, 0, 0xffffff}, At{0x82, 0x80, 0, 0x000000}}},
    // DMACON clearing BPLEN: no plane from the next line on.
    {"bitplane DMA off",
     Chipset::Ocs,
     {kScreen, {0x108, 0xffd8, 0x100, 0x1200, 0x182, 0xfff}, wait(0x40, 0xe0), {0x096, 0x0100}},
     plane({{0, 0x8000}}),
     {},
     {At{0x81, 0x40, 0, 0xffffff}, At{0x81, 0x41, 0, 0x000000}}},
    // SKIP: a position not reached runs the next MOVE, one reached skips it.
    {"skip",
     Chipset::Ocs,
     {{0x8001, 0xffff, 0x180, 0x00f}, {0x0001, 0x8001, 0x180, 0xf00}},
     {},
     {},
     {At{0x100, 0x80, 0, 0x0000ff}}},
    // AGA: bank 1 (BPLCON3 bits 15-13), high then low nibbles (LOCT), reached by BPLAM's XOR.
    {"AGA bank, LOCT and BPLAM",
     Chipset::Aga,
     {kScreen,
      {0x106, 0x2c00, 0x182, 0x123, 0x106, 0x2e00, 0x182, 0x456, 0x106, 0x0c00, 0x10c, 0x2011,
       0x100, 0x1200}},
     plane({{0, 0x8000}}),
     {},
     {At{0x81, 0x2c, 0, 0x142536}, At{0x82, 0x2c, 0, 0x000000}}},
    // AGA PF2OF %001: playfield 2's colours start at 2.
    {"AGA playfield 2 offset",
     Chipset::Aga,
     {kScreen, {0x0e4, 0x0001, 0x0e6, 2 * kPlaneWords, 0x106, 0x0400, 0x100, 0x2600, 0x186, 0x0f0}},
     [] {
         auto p = plane({}, 2);
         p[kPlaneWords] = 0x8000;
         return p;
     }(),
     {},
     {At{0x81, 0x2c, 0, 0x00ff00}}},
    // Sprite 0: HSTART $80 shows its first pixel at $81, lines VSTART to VSTOP - 1, colour 17,
    // then its next control words; sprite 1 attached to it: colour 16 + the 4 bits (odd
    // sprite's high). BPLCON2 PF2P 0 puts the playfield in front of every sprite, 1 behind
    // pair 0.
    {"sprites",
     Chipset::Ocs,
     {kScreen,
      {0x100, 0x1200, 0x182, 0xfff, 0x1a2, 0xf0f, 0x1ba, 0xff0, 0x120, 0x0002, 0x122, 0x0000, 0x124,
       0x0002, 0x126, 0x0014},
      wait(0x48, 0),
      {0x104, 0x0008}},
     plane({{20 * (0x40 - 0x2c), 0x4000}, {20 * (0x50 - 0x2c), 0x8000}}),
     {0x4040, 0x4100, 0xc000, 0x0000, 0x5040, 0x5100, 0x8000, 0x0000, 0, 0, //
      0x5040, 0x5180, 0x8000, 0x8000, 0, 0},
     {At{0x81, 0x40, 0, 0xff00ff}, At{0x82, 0x40, 0, 0xffffff}, At{0x83, 0x40, 0, 0x000000},
      At{0x81, 0x41, 0, 0x000000}, At{0x81, 0x50, 0, 0xffff00}, At{0x82, 0x50, 0, 0x000000}}},
};

class DisplayScene : public testing::TestWithParam<Scene> {};

TEST_P(DisplayScene, ShowsWhatTheManualSays) {
    const Scene &scene = GetParam();
    FrameRequest request = requestOf(scene);
    FramePicture picture;
    std::string message;
    ASSERT_TRUE(drawFrame(request, FrameRegion{0, 0, kFrameEnd, kPalLines}, &picture, &message))
        << message;
    for (const At &c : scene.checks) {
        const std::uint32_t got =
            picture.pixels[static_cast<std::size_t>(c.v) * picture.columns + 2 * c.h + c.column];
        EXPECT_EQ(got, c.rgb) << scene.what << ": H $" << std::hex << c.h << " line $" << c.v
                              << " column " << c.column;
    }
}

INSTANTIATE_TEST_SUITE_P(Scenes, DisplayScene, testing::ValuesIn(kScenes));

// --- the emulator's reference frames ---

FrameRequest fixtureRequest(const std::string &folder, const std::vector<std::string> &args,
                            FrameRegion *region) {
    auto readText = [&](const std::string &name) {
        return readCopperText(testfiles::loadText(folder + "/" + name)).words;
    };
    FrameRequest request;
    request.setup.copperAddress = 0x1000;
    request.list = readText(args.at(0));
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a == "--chip") {
            const std::string value = args.at(++i);
            const std::size_t colon = value.find(':');
            request.chip.push_back(
                {static_cast<std::uint32_t>(std::stoul(value.substr(0, colon), nullptr, 16)),
                 testfiles::load(folder + "/" + value.substr(colon + 1)), value});
        } else if (a == "--lace-short") {
            request.shortList = readText(args.at(++i));
            request.hasShortList = true;
        } else if (a == "--chipset") {
            const std::string c = args.at(++i);
            request.setup.chipset = c == "aga"   ? Chipset::Aga
                                    : c == "ecs" ? Chipset::Ecs
                                                 : Chipset::Ocs;
        } else if (a == "--ntsc") {
            request.setup.ntsc = true;
        } else if (a == "--sprites") {
            request.setup.spriteDma = true;
        } else if (a == "--region") {
            unsigned h0 = 0, v0 = 0, h1 = 0, v1 = 0;
            std::sscanf(args.at(++i).c_str(), "%x,%x,%x,%x", &h0, &v0, &h1, &v1);
            *region = {static_cast<int>(h0), static_cast<int>(v0), static_cast<int>(h1),
                       static_cast<int>(v1)};
        } else {
            ADD_FAILURE() << "option the test does not know: " << a;
        }
    }
    return request;
}

class ReferenceFrame : public testing::TestWithParam<std::string> {};

TEST_P(ReferenceFrame, IsDrawnPixelForPixel) {
    const std::string folder = std::string(QUILLFEN_FRAME_FIXTURES) + "/" + GetParam();
    const framefixture::Fixture fixture = framefixture::read(folder);
    ASSERT_TRUE(fixture.ok) << folder;
    FrameRegion region;
    const FrameRequest request = fixtureRequest(folder, fixture.args, &region);
    FramePicture picture;
    std::string message;
    ASSERT_TRUE(drawFrame(request, region, &picture, &message)) << message;
    ASSERT_EQ(picture.columns, fixture.width);
    ASSERT_EQ(picture.rows, fixture.height);
    int wrong = 0;
    for (int y = 0; y < fixture.height; ++y) {
        for (int x = 0; x < fixture.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * fixture.width + x;
            if (picture.pixels[i] != fixture.pixels[i] && wrong++ < 5)
                ADD_FAILURE() << GetParam() << ": column " << x << " row " << y << " is "
                              << std::hex << picture.pixels[i] << ", the emulator showed "
                              << fixture.pixels[i];
        }
    }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Emulator, ReferenceFrame, testing::ValuesIn(framefixture::names()));

// --- bad input, and what the model does not draw ---

TEST(DisplayModel, RefusesChipDataThatDoesNotFitAndRegionsOutsideTheFrame) {
    struct Case {
        std::vector<ChipPlacement> chip;
        FrameRegion region;
        const char *message;
    } cases[] = {
        {{{0x7fff0, std::vector<std::uint8_t>(32), "a.bin"}},
         {},
         "a.bin at $7fff0 reaches $80010, past the end of chip memory ($80000)"},
        {{{0x10000, std::vector<std::uint8_t>(16), "a.bin"},
          {0x1000f, std::vector<std::uint8_t>(4), "b.bin"}},
         {},
         "b.bin at $1000f-$10012 overlaps a.bin at $10000-$1000f"},
        {{{0x1002, std::vector<std::uint8_t>(2), "c.bin"}},
         {},
         "c.bin at $1002-$1003 overlaps the copper list at $1000-$1003"},
        {{}, {0x5c, 0x1a, 0x1d5, 0x138}, "the region $5c,$1a to $1d5,$138 is outside the frame"},
        {{}, {0x5c, 0x1a, 0x1d4, 0x139}, "the region $5c,$1a to $1d4,$139 is outside the frame"},
        {{}, {0x80, 0x40, 0x80, 0x50}, "the region $80,$40 to $80,$50 is outside the frame"},
    };
    for (const Case &c : cases) {
        FrameRequest request;
        request.setup.copperAddress = 0x1000;
        request.list = {0xffff, 0xfffe};
        request.chip = c.chip;
        FramePicture picture;
        std::string message;
        EXPECT_FALSE(drawFrame(request, c.region, &picture, &message));
        EXPECT_EQ(message.substr(0, std::string(c.message).size()), c.message);
    }
}

TEST(DisplayModel, NotesWhatItCutsAndWhatItDoesNotModel) {
    struct Case {
        std::vector<std::uint16_t> list;
        std::vector<std::string> notes;
    } cases[] = {
        {{0x180, 0x00f, 0xffff, 0xfffe}, {}},
        // COPJMP1 back to the start: never ends.
        {{0x180, 0x00f, 0x088, 0x0000},
         {"the copper was still running at the frame's end (at $00100"}},
        // BLTSIZE: below $080, so the copper stops (COPCON's danger bit is clear).
        {{0x058, 0x0041, 0xffff, 0xfffe},
         {"the copper stopped at $001000: a MOVE below $080 needs COPCON's danger bit",
          "the list writes the blitter's registers: the blitter is not modelled"}},
        {{0x09a, 0x8010, 0xffff, 0xfffe},
         {"the list writes INTENA or INTREQ: the CPU and its interrupts are not modelled"}},
        // No end: the zeros after it read as MOVE $000.
        {{0x180, 0x00f}, {"the copper stopped at $001004"}},
    };
    for (const Case &c : cases) {
        FrameRequest request;
        request.setup.copperAddress = 0x1000;
        request.list = c.list;
        FramePicture picture;
        std::string message;
        ASSERT_TRUE(drawFrame(request, visibleRegion(false), &picture, &message));
        ASSERT_EQ(picture.notes.size(), c.notes.size()) << c.list[0];
        for (std::size_t i = 0; i < c.notes.size(); ++i)
            EXPECT_EQ(picture.notes[i].substr(0, c.notes[i].size()), c.notes[i]);
    }
}

TEST(DisplayModel, TellsWhatMadeAPixel) {
    Scene scene = kScenes[1]; // lores pixels
    const FrameRequest request = requestOf(scene);
    struct Case {
        int h, v;
        const char *text;
    } cases[] = {
        {0x81, 0x2c,
         "pixel: H $81, line $2c (column 258)\n"
         "shows: playfield 1, planes 1-1 %1\n"
         "colour: COLOR01 = #ffffff\n"
         // kScreen is 6 MOVEs, then BPLCON0 and COLOR01: the 8th (index 7), at $1000 + 7 x 4;
         // it runs 4 colour clocks after each of the 7 before it.
         "set by: copper instruction 7, at $00101c: dc.w COLOR01,$0fff, line $0 at colour clock "
         "$20\n"},
        {0x82, 0x2c,
         "pixel: H $82, line $2c (column 260)\n"
         "shows: the background (plane bits 0 of 1 planes)\n"
         "colour: COLOR00 = #000000\n"
         "set by: nothing in the list (the colour it starts with)\n"},
        {0x60, 0x2c,
         "pixel: H $60, line $2c (column 192)\n"
         "shows: the border, outside the display window\n"
         "colour: COLOR00 = #000000\n"
         "set by: nothing in the list (the colour it starts with)\n"},
    };
    for (const Case &c : cases) {
        std::string text, message;
        ASSERT_TRUE(explainPixel(request, c.h, c.v, &text, &message)) << message;
        EXPECT_EQ(text, c.text);
    }
}

} // namespace
