// Hardware sprites: control words and image words worked out by hand from the Hardware Reference
// Manual and the AGA documentation, and every text assembled exactly as printed and compared with
// the bytes.
//
// The manual's layout (Hardware Reference Manual, "Sprite Hardware", nodes 00BB, 00CD and 00CE):
// SPRxPOS bits 15-8 VSTART bits 7-0, bits 7-0 HSTART bits 8-1; SPRxCTL bits 15-8 VSTOP bits
// 7-0, bit 7 the attach bit (odd sprites), bit 2 VSTART bit 8, bit 1 VSTOP bit 8, bit 0 HSTART
// bit 0. ECS (node 00A5) names bit 4 (70 ns) and bit 3 (35 ns) of SPRxCTL; AGA uses them as the
// two fine steps of HSTART and adds bit 6 (VSTART bit 9) and bit 5 (VSTOP bit 9), as the
// project's register database (SPR0CTL) has them. FMODE SPR32 and SPAGEM make sprites 32 and
// 64 pixels wide, their control words and lines as wide as a fetch.
#include <amiga/sprites.h>

#include "assembled_copper_list.h"

#include <gtest/gtest.h>

#include <random>

using namespace amiga;

namespace {

using Words = std::vector<std::uint16_t>;

// A picture from rows of characters: '.' is colour 0, '1'-'9' and 'a'-'f' their colours.
struct Picture {
    unsigned width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
};

Picture picture(const std::vector<std::string> &rows) {
    Picture p;
    p.width = static_cast<unsigned>(rows.front().size());
    p.height = static_cast<unsigned>(rows.size());
    for (const std::string &row : rows)
        for (char c : row)
            p.pixels.push_back(static_cast<std::uint8_t>(c == '.'   ? 0
                                                         : c <= '9' ? c - '0'
                                                                    : c - 'a' + 10));
    return p;
}

std::vector<SpriteData> sprites(const Picture &p, const SpriteOptions &o) {
    return spriteData(p.pixels.data(), p.width, p.height, o);
}

std::optional<std::string> problem(const Picture &p, const SpriteOptions &o) {
    return spriteProblem(p.pixels.data(), p.width, p.height, o);
}

SpriteOptions withPosition(unsigned hstartQuarters, unsigned vstart, bool attached = false,
                           unsigned width = 16, bool aga = false) {
    SpriteOptions o;
    o.controlWords = true;
    o.position = SpritePosition{hstartQuarters, vstart};
    o.attached = attached;
    o.width = width;
    o.aga = aga;
    return o;
}

} // namespace

TEST(Sprites, PicturesByHand) {
    // Node 00BD: the spaceship at VSTART $6d, HSTART $c0, VSTOP $72 is DC.W $6D60,$7200 /
    // $0990,$07E0 / $13C8,$0FF0 / $23C4,$1FF8 / $13C8,$0FF0 / $0990,$07E0 / $0000,$0000; its
    // pixels read off those words by hand (colour = DATA bit + 2 x DATB bit):
    const std::vector<std::string> ship = {"....12233221....", "...1223333221...",
                                           "..122233332221..", "...1223333221...",
                                           "....12233221...."};
    SpriteOptions attachedUnplaced;
    attachedUnplaced.attached = attachedUnplaced.controlWords = true;
    const struct {
        const char *what;
        std::vector<std::string> rows;
        SpriteOptions options;
        std::vector<Words> sprites;
        std::vector<std::string> text; // pieces of the text, each where it belongs
    } cases[] = {
        {"the manual's spaceship",
         ship,
         withPosition(0xc0 * 4, 0x6d),
         {{0x6d60, 0x7200, 0x0990, 0x07e0, 0x13c8, 0x0ff0, 0x23c4, 0x1ff8, 0x13c8, 0x0ff0, 0x0990,
           0x07e0, 0x0000, 0x0000}},
         {"; sprite 0 of 1, 16 pixels wide, 5 lines\n\tdc.w\t$6d60,$7200\n\tdc.w\t$0990,$07e0\n"}},
        {"without control words: the lines alone",
         ship,
         {},
         {{0x0990, 0x07e0, 0x13c8, 0x0ff0, 0x23c4, 0x1ff8, 0x13c8, 0x0ff0, 0x0990, 0x07e0}},
         {}},
        // Colours 0-15 left to right. Even sprite: bit 0 -> 0101... = $5555, bit 1 -> 0011... =
        // $3333; odd sprite: bit 2 -> $0f0f, bit 3 -> $00ff, and the attach bit in its CTL.
        {"an attached pair",
         {"0123456789abcdef"},
         withPosition(0x80 * 4, 0x40, true),
         {{0x4040, 0x4100, 0x5555, 0x3333, 0, 0}, {0x4040, 0x4180, 0x0f0f, 0x00ff, 0, 0}},
         {"; sprite 0 of 2, 16 pixels wide, 1 line: colour bits 0-1 of the pair with sprite 1\n",
          "; sprite 1 of 2, 16 pixels wide, 1 line: colour bits 2-3, attached to sprite 0\n"}},
        // Without a position the control words are zero but for the attach bit.
        {"an attached pair without a position",
         {"0123456789abcdef"},
         attachedUnplaced,
         {{0, 0, 0x5555, 0x3333, 0, 0}, {0x0000, 0x0080, 0x0f0f, 0x00ff, 0, 0}},
         {}},
        // 20 pixels of colour 1: sprite 0 is full, sprite 1 has 4 pixels and 12 of padding.
        // HSTART lores $81 (bit 0 set) and $81 + 16 = $91.
        {"a strip padded with colour 0",
         {"11111111111111111111"},
         withPosition(0x81 * 4, 0x2c),
         {{0x2c40, 0x2d01, 0xffff, 0x0000, 0, 0}, {0x2c48, 0x2d01, 0xf000, 0x0000, 0, 0}},
         {}},
        // Attached: pairs (0,1) and (2,3), the second pair 16 pixels on.
        {"a strip of attached pairs",
         {"ffffffffffffffff8888"},
         withPosition(0x81 * 4, 0x2c, true),
         {{0x2c40, 0x2d01, 0xffff, 0xffff, 0, 0},
          {0x2c40, 0x2d81, 0xffff, 0xffff, 0, 0},
          {0x2c48, 0x2d01, 0x0000, 0x0000, 0, 0},
          {0x2c48, 0x2d81, 0x0000, 0xf000, 0, 0}},
         {}},
        // 32 pixels: colour 3 at pixel 0, colour 1 at pixel 31. DATA $80000001, DATB $80000000.
        // Control words POS,0,CTL,0 (CTL: VSTOP $31, the 70 ns bit 4, AGA's alone) and an end
        // marker of four zero words.
        {"32 pixels wide",
         {"3..............................1"},
         withPosition(0x80 * 4 + 2, 0x30, false, 32),
         {{0x3040, 0x0000, 0x3110, 0x0000, 0x8000, 0x0001, 0x8000, 0x0000, 0, 0, 0, 0}},
         {"; AGA sprites 32 pixels wide: FMODE SPR32 set, the data on a 4-byte boundary\n"
          "; sprite 0 of 1, 32 pixels wide, 1 line\n"
          "\tdc.w\t$3040,$0000,$3110,$0000\n"
          "\tdc.l\t$80000001,$80000000\n"
          "\tdc.w\t$0000,$0000,$0000,$0000\n"}},
        // 64 pixels: colour 1 at pixel 0, 3 at pixel 40, 2 at pixel 63. DATA: pixel 0 ->
        // $80000000, pixel 40 is bit 23 of the second long -> $00800000; DATB: $00000000,
        // $00800001.
        {"64 pixels wide",
         {"1" + std::string(39, '.') + "3" + std::string(22, '.') + "2"},
         withPosition(0x80 * 4, 0x30, false, 64),
         {{0x3040, 0,      0,      0,      0x3100, 0, 0, 0, 0x8000, 0x0000, 0x0080, 0x0000,
           0x0000, 0x0000, 0x0080, 0x0001, 0,      0, 0, 0, 0,      0,      0,      0}},
         {"\n\tdc.w\t$3040,$0000,$0000,$0000,$3100,$0000,$0000,$0000\n"
          "\tdc.l\t$80000000,$00800000,$00000000,$00800001\n"
          "\tdc.w\t$0000,$0000,$0000,$0000,$0000,$0000,$0000,$0000\n"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto data = sprites(picture(c.rows), c.options);
        ASSERT_EQ(data.size(), c.sprites.size());
        for (std::size_t i = 0; i < data.size(); ++i) {
            EXPECT_EQ(data[i].words, c.sprites[i]) << "sprite " << i;
            EXPECT_EQ(data[i].index, i);
            EXPECT_EQ(data[i].attachedOdd, c.options.attached && i % 2 == 1);
        }
        const std::string text = spriteText(data, c.options);
        for (const std::string &piece : c.text)
            EXPECT_NE(text.find(piece), std::string::npos) << piece << "\nin\n" << text;
    }
}

TEST(Sprites, EveryHighBitOfTheControlWords) {
    const struct {
        unsigned quarters, vstart, vstop;
        bool attached, aga;
        std::uint16_t pos, ctl;
    } cases[] = {
        // OCS: VSTART $1f0, VSTOP $1ff, HSTART lores $1ff.
        //   POS = VSTART low byte $f0 | HSTART bits 8-1 $ff                        = $f0ff
        //   CTL = VSTOP low byte $ff | SV8 (bit 2) | EV8 (bit 1) | HSTART bit 0    = $ff07
        {0x1ff * 4, 0x1f0, 0x1ff, false, false, 0xf0ff, 0xff07},
        {0x1ff * 4, 0x1f0, 0x1ff, true, false, 0xf0ff, 0xff87}, // + ATT bit 7
        // AGA: VSTART $3f0, VSTOP $3ff, HSTART lores $1ff and 3 quarters (70 + 35 ns).
        //   CTL = $ff00 | SV9 $40 | EV9 $20 | 70 ns $10 | 35 ns $08 | $07              = $ff7f
        {0x1ff * 4 + 3, 0x3f0, 0x3ff, false, true, 0xf0ff, 0xff7f},
        {0x1ff * 4 + 3, 0x3f0, 0x3ff, true, true, 0xf0ff, 0xffff},
        // One bit at a time: VSTART bit 9 alone, VSTOP bit 9 alone, each fine step alone, a whole
        // lores pixel (H0), lores 2 (HSTART bit 1).
        {0, 0x200, 0x0ff, false, true, 0x0000, 0xff40},
        {0, 0x0ff, 0x200, false, true, 0xff00, 0x0020},
        {1, 0, 0, false, true, 0x0000, 0x0008},
        {2, 0, 0, false, true, 0x0000, 0x0010},
        {4, 0, 0, false, true, 0x0000, 0x0001},
        {8, 0, 0, false, true, 0x0001, 0x0000},
        // Off AGA the AGA bits stay clear.
        {0x1ff * 4 + 3, 0x3f0, 0x3ff, false, false, 0xf0ff, 0xff07},
    };
    for (const auto &c : cases) {
        const SpriteControl control =
            spriteControl(c.quarters, c.vstart, c.vstop, c.attached, c.aga);
        EXPECT_EQ(control.pos, c.pos) << c.quarters << " " << c.vstart << " " << c.vstop;
        EXPECT_EQ(control.ctl, c.ctl) << c.quarters << " " << c.vstart << " " << c.vstop;
    }
}

TEST(Sprites, ProblemsInASentence) {
    const Picture five = picture({"0125", "0000"});
    Picture sixteen = five;
    sixteen.pixels[5] = 16;
    const Picture tall = picture(std::vector<std::string>(16, "1"));
    const Picture bar = picture({std::string(20, '1')});
    const struct {
        Picture picture;
        SpriteOptions options;
        const char *problem; // "": none
    } cases[] = {
        {five,
         {},
         "colour 5 at (3,0) is more than a sprite shows (0-3); attached sprites show 0-15"},
        {five, withPosition(0, 0, true), ""},
        {sixteen, withPosition(0, 0, true),
         "colour 16 at (1,1) is more than attached sprites show (0-15)"},
        {picture({"1"}), withPosition(0, 0, false, 24),
         "a sprite is 16, 32 or 64 pixels wide, not 24"},
        {{}, {}, "the picture has no pixels"},
        // Eight sprites side by side at most: 129 pixels need 9, and 65 attached need 10.
        {picture({std::string(128, '1')}), {}, ""},
        {picture({std::string(129, '1')}),
         {},
         "the picture needs 9 sprites side by side (9 of 16 pixels); the machine has 8"},
        {picture({std::string(65, '1')}), withPosition(0, 0, true),
         "the picture needs 10 sprites side by side (5 of 16 pixels, attached in pairs); the "
         "machine has 8"},
        // VSTART and VSTOP: 9 bits on OCS/ECS (VSTOP = VSTART + height), 10 on AGA.
        {tall, withPosition(0, 511 - 16), ""},
        {tall, withPosition(0, 500),
         "VSTOP 516 (VSTART 500 and 16 lines) is past line 511, the last that OCS/ECS sprites "
         "can stop on"},
        {tall, withPosition(0, 500, false, 16, true), ""},
        {tall, withPosition(0, 1024, false, 16, true),
         "VSTART 1024 is past line 1023, the last that AGA sprites can start on"},
        // HSTART: whole lores pixels off AGA; 9 bits for every sprite of the strip.
        {tall, withPosition(0x80 * 4 + 1, 0x40),
         "HSTART is 1 quarter of a lores pixel past lores pixel 128; only AGA places sprites "
         "finer than a lores pixel"},
        {tall, withPosition(0x80 * 4 + 1, 0x40, false, 16, true), ""},
        {bar, withPosition(495 * 4, 0x40), ""},
        {bar, withPosition(496 * 4, 0x40),
         "the rightmost sprite's HSTART, lores pixel 512, is past 511, the last a sprite can "
         "start on"},
        // Sprites 32 pixels wide are AGA's: a fine position needs no AGA option.
        {tall, withPosition(0x80 * 4 + 1, 0x40, false, 32), ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.problem);
        EXPECT_EQ(problem(c.picture, c.options).value_or(""), c.problem);
        EXPECT_EQ(sprites(c.picture, c.options).empty(), *c.problem != 0);
    }
}

TEST(Sprites, EveryTextAssemblesToItsBytes) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    std::mt19937 random(11);
    for (unsigned width : {16u, 32u, 64u}) {
        for (bool attached : {false, true}) {
            for (int control = 0; control < 3; ++control) {
                SpriteOptions o;
                o.width = width;
                o.attached = attached;
                o.controlWords = control > 0;
                if (control == 2)
                    o.position = SpritePosition{0x90 * 4 + 3, 0x12c};
                o.aga = true;
                // Three sprites wide (at most six attached), the last one padded.
                Picture p;
                p.width = width * 2 + 7;
                p.height = 5;
                for (unsigned i = 0; i < p.width * p.height; ++i)
                    p.pixels.push_back(static_cast<std::uint8_t>(random() % (attached ? 16 : 4)));
                SCOPED_TRACE(testing::Message() << width << " pixels, attached " << attached
                                                << ", control words " << control);
                const auto data = sprites(p, o);
                ASSERT_EQ(data.size(), attached ? 6u : 3u) << problem(p, o).value_or("");
                const std::string text = spriteText(data, o);
                EXPECT_EQ(bytesOfWords(assembled(text)), spriteBytes(data));
            }
        }
    }
}

// HSTART as written: lores pixels in hexadecimal, and on AGA quarters of a pixel as a hexadecimal
// fraction (.4 = 4/16 = a quarter). Worked out by hand: $c0 = 192 pixels = 768 quarters.
TEST(SpriteHorizontalStart, HexadecimalPixelsAndQuarterFractions) {
    using Problem = amiga::HorizontalStart::Problem;
    const struct {
        const char *text;
        bool aga;
        unsigned quarters;
        Problem problem;
    } cases[] = {
        {"c0", false, 768, Problem::None},
        {"$C0", false, 768, Problem::None},
        {"0x1ff", false, 2044, Problem::None},
        {"0000c0", false, 768, Problem::None},
        {"c0.4", true, 769, Problem::None},
        {"c0.8", true, 770, Problem::None},
        {"C0.C", true, 771, Problem::None},
        {"200", true, 0, Problem::NotLoresPixels},
        {"", true, 0, Problem::NotLoresPixels},
        {".8", true, 0, Problem::NotLoresPixels},
        {"g0", true, 0, Problem::NotLoresPixels},
        {"c0.", true, 0, Problem::BadFraction},
        {"c0.2", true, 0, Problem::BadFraction},
        {"c0.80", true, 0, Problem::BadFraction},
        {"c0.8", false, 0, Problem::FractionNeedsAga},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const amiga::HorizontalStart start = amiga::readHorizontalStart(c.text, c.aga);
        EXPECT_EQ(start.problem, c.problem);
        if (c.problem == Problem::None) {
            EXPECT_EQ(start.quarters, c.quarters);
        }
    }
}
