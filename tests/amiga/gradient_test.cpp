// Copper gradients: the blend, the dithering, the shortest list, the wrap at line $ff and the
// frame's end, checked against values worked out here by hand or from the published OKLab
// figures (the texts, with their reasons, in data/gradient.txt), and the printed list assembled
// and run by the copper model line by line.
#include <amiga/asmtext.h>
#include <amiga/copperframe.h>
#include <amiga/gradient.h>

#include "assembled_copper_list.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace amiga;

namespace {

const Rgb8 black{0, 0, 0};
const Rgb8 white{255, 255, 255};
const std::vector<GradientKey> blackToWhite = {{0, black}, {15, white}};
constexpr std::uint8_t Rgb8::*kGuns[] = {&Rgb8::red, &Rgb8::green, &Rgb8::blue};

} // namespace

TEST(Gradient, TextsAreTheGoldenOnes) {
    GradientRequest ntsc{0x100, 16, blackToWhite};
    ntsc.frameLines = 262;
    // Register 37 (bank 1 COLOR05) in the display's BPLCON3 $1020.
    GradientRequest aga{0x2c, 100, {{40, {0x12, 0x34, 0x56}}}, true, 37, {}, {}, 7, 0x1020};
    GradientRequest agaTable = aga;
    agaTable.lines = 2;
    const GradientCopperList pal = gradientCopperList(GradientRequest{0x130, 16, blackToWhite});
    EXPECT_EQ(pal.firstLeftOut, 0x138);
    EXPECT_EQ(pal.lastLeftOut, 0x13f);
    expectGoldenTexts(
        QUILLFEN_AMIGA_DATA "/gradient.txt",
        {{"OCS, black to white from line $2b",
          gradientCopperCode(GradientRequest{0x2b, 16, blackToWhite})},
         {"OCS table, black to white from line $2b",
          gradientTableCode(GradientRequest{0x2b, 16, blackToWhite})},
         {"OCS, over line $ff", gradientCopperCode(GradientRequest{0xf8, 16, blackToWhite})},
         {"OCS, from line $110",
          gradientCopperCode(GradientRequest{0x110, 2, {{0, black}, {1, white}}})},
         {"OCS, past the end of a PAL frame", pal.text},
         {"OCS, past the end of an NTSC frame", gradientCopperCode(ntsc)},
         {"AGA, bank 1 COLOR05 in the display's BPLCON3", gradientCopperCode(aga)},
         {"AGA table, bank 1 COLOR05", gradientTableCode(agaTable)}});
    EXPECT_EQ(gradientCopperCode(GradientRequest{0, 10, {}}), "");
}

TEST(Gradient, BlendsInRgbAndInOklab) {
    // Halfway from black to white: RGB 127.5, rounded to 128. OKLab L = 0.5 gives l = m = s =
    // 0.125 (L cubed) and linear grey 0.125, which the sRGB transfer function takes to
    // 1.055 x 0.125^(1/2.4) - 0.055 = 0.3886, x 255 = 99.1.
    GradientRequest r{0, 3, {{2, white}, {0, black}}};
    EXPECT_EQ(gradientLines(r)[1].colour, (Rgb8{128, 128, 128}));
    r.blend = GradientBlend::Oklab;
    EXPECT_EQ(gradientLines(r)[1].colour, (Rgb8{99, 99, 99}));

    // OKLab's published figures: white is L 1, a 0, b 0; sRGB red is L 0.627955, a 0.224863,
    // b 0.125846; blue is L 0.452014, a -0.032457, b -0.311528.
    for (const auto &[rgb, L, a, b] : {std::tuple{white, 1.0, 0.0, 0.0},
                                       {Rgb8{255, 0, 0}, 0.627955, 0.224863, 0.125846},
                                       {Rgb8{0, 0, 255}, 0.452014, -0.032457, -0.311528}}) {
        const Oklab lab = toOklab(rgb);
        EXPECT_NEAR(lab.L, L, 1e-4);
        EXPECT_NEAR(lab.a, a, 1e-4);
        EXPECT_NEAR(lab.b, b, 1e-4);
    }
    for (const Rgb8 c : {Rgb8{0x12, 0x34, 0x56}, Rgb8{255, 128, 0}, Rgb8{1, 2, 3}}) {
        const RgbExact back = fromOklab(toOklab(c));
        EXPECT_NEAR(back.red, c.red, 0.01);
        EXPECT_NEAR(back.green, c.green, 0.01);
        EXPECT_NEAR(back.blue, c.blue, 0.01);
    }

    // Before the first key and after the last the keys' colours hold; of two keys on one line
    // the later counts.
    const std::vector<GradientLine> lines = gradientLines(
        GradientRequest{0, 10, {{3, {10, 20, 30}}, {6, {40, 50, 60}}, {6, {70, 80, 90}}}, true});
    EXPECT_EQ(lines[0].colour, (Rgb8{10, 20, 30}));
    EXPECT_EQ(lines[3].colour, (Rgb8{10, 20, 30}));
    EXPECT_EQ(lines[4].colour, (Rgb8{30, 40, 50})); // a third of the way from 10 to 70
    EXPECT_EQ(lines[9].colour, (Rgb8{70, 80, 90}));
}

TEST(Gradient, DitheredRampsFollowTheExactColoursOnAverage) {
    // A ramp over 512 lines, each gun a different way. Over any 8 lines the guns shown average
    // to within half a 12-bit step (17 / 2) of the 8-bit ones; without dithering the high nibble
    // falls up to 15 short (8-bit 15 shows as 0) and the same windows miss by more.
    GradientRequest r{0, 512, {{0, {0, 255, 64}}, {511, {255, 0, 128}}}};
    auto worstWindow = [](const std::vector<GradientLine> &lines) {
        double worst = 0;
        for (std::size_t i = 0; i + 8 <= lines.size(); ++i)
            for (const auto gun : kGuns) {
                double error = 0;
                for (std::size_t j = i; j < i + 8; ++j)
                    error += lines[j].shown.*gun - lines[j].colour.*gun;
                worst = std::max(worst, std::abs(error / 8));
            }
        return worst;
    };
    EXPECT_GT(worstWindow(gradientLines(r)), 8.5);
    for (const GradientDither dither : {GradientDither::Ordered, GradientDither::Diffuse}) {
        SCOPED_TRACE(dither == GradientDither::Ordered ? "ordered" : "diffuse");
        r.dither = dither;
        // Diffusion carries what a line shows too much or too little, at most half a step, to the
        // next: over 8 lines the errors add up to the first carry less the last, at most 17.
        EXPECT_LT(worstWindow(gradientLines(r)),
                  dither == GradientDither::Ordered ? 8.5 : 17.0 / 8);
        // Colours that a 12-bit register shows exactly are not dithered.
        const GradientRequest exact{0, 8, {{0, {0x11, 0xee, 0xff}}}, false, 0, {}, dither};
        for (const GradientLine &line : gradientLines(exact))
            EXPECT_EQ(line.high, 0x1ef);
    }
}

TEST(Gradient, TheCopperShowsOnEachLineWhatTheEditorShows) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    const std::vector<GradientKey> keys = {
        {0, {0x10, 0x00, 0x40}}, {70, {0xff, 0x80, 0x00}}, {150, {0x00, 0xc0, 0xff}}};
    using enum GradientBlend;
    using enum GradientDither;
    const GradientRequest cases[] = {{0x100, 80, keys, true}, // past the frame's end
                                     {0x2c, 200, keys, false, 17, Rgb, None},
                                     {0x2c, 200, keys, false, 17, Oklab, Diffuse},
                                     {0x2c, 200, keys, true, 200, Rgb, Ordered},
                                     {0x2c, 200, keys, true, 200, Oklab, Diffuse}};
    for (const GradientRequest &r : cases) {
        SCOPED_TRACE(testing::Message()
                     << "from " << r.firstLine << (r.aga ? " AGA" : " OCS") << " dither "
                     << static_cast<int>(r.dither) << " blend " << static_cast<int>(r.blend));
        // The words a preview reads back from the text are those the assembler makes of it.
        const std::string text = gradientCopperCode(r);
        const std::vector<std::uint16_t> words = assembledCopperList(text);
        EXPECT_EQ(dataWords(text), std::vector<std::uint16_t>(words.begin(), words.end() - 2));
        CopperFrame frame(r.aga ? CopperFrame::Chipset::Aga : CopperFrame::Chipset::Ocs);
        frame.run(words);
        EXPECT_EQ(frame.stop(), CopperFrame::Stop::EndOfList);
        // Each gun shows a 12-bit level next to its 8-bit value (AGA: the value itself), and the
        // copper sets it on the gradient's lines, black before them.
        const std::vector<GradientLine> lines = gradientLines(r);
        for (const GradientLine &line : lines)
            for (const auto gun : kGuns)
                ASSERT_LT(std::abs(line.shown.*gun - line.colour.*gun), r.aga ? 1 : 17);
        for (int l = 0; l < CopperFrame::kLines; ++l) {
            const int i = std::clamp(l - r.firstLine, -1, r.lines - 1);
            const Rgb8 expected = i < 0 ? Rgb8{} : lines[static_cast<std::size_t>(i)].shown;
            ASSERT_EQ(frame.colour(l, r.colourRegister), expected) << "line " << l;
        }
    }
}
