// Copper gradients: the blend, the dithering, the shortest list, the wrap at line $ff and the
// frame's end, checked against values worked out here by hand or from the published OKLab
// figures, and the printed list assembled and run by the copper model line by line.
//
// A WAIT is $vvhh|1,$fffe and $ffdf,$fffe waits for the end of line $ff (Hardware Reference
// Manual, copper); BPLCON3 is $106 with BANK2-0 in bits 15-13 and LOCT in bit 9 (AGA
// documentation); COLORnn is $180 + 2n.
#include <amiga/asmtext.h>
#include <amiga/copperframe.h>
#include <amiga/gradient.h>

#include "assembled_copper_list.h"
#include "m68k_assembler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

using namespace amiga;

namespace {

GradientRequest request(int first, int lines, std::vector<GradientKey> keys, bool aga = false) {
    GradientRequest r;
    r.firstLine = first;
    r.lines = lines;
    r.keys = std::move(keys);
    r.aga = aga;
    return r;
}

std::string wait(int line, int horizontal = 0x07) {
    char text[32];
    std::snprintf(text, sizeof text, "\tdc.w\t$%02x%02x,$fffe\n", line & 0xff, horizontal | 1);
    return text;
}

std::string move(const char *name, int value) {
    char text[40];
    std::snprintf(text, sizeof text, "\tdc.w\t%s,$%04x\n", name, value);
    return text;
}

std::size_t count(const std::string &text, const std::string &what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

const Rgb8 black{0, 0, 0};
const Rgb8 white{255, 255, 255};

} // namespace

TEST(Gradient, BlackToWhiteOnOcsIsOneWaitAndOneMoveALine) {
    const std::string text = gradientCopperCode(request(0x2b, 16, {{0, black}, {15, white}}));
    // 255 / 15 = 17 a line: the 8-bit grey of line k is 17k, whose high nibble is k.
    std::string expected;
    for (int k = 0; k < 16; ++k)
        expected += wait(0x2b + k) + move("COLOR00", 0x111 * k);
    expected += "; 32 instructions, 128 bytes\n";
    EXPECT_EQ(text, expected);
}

TEST(Gradient, TheListWrapsOnceAtLineFfAndStopsAtTheFramesEnd) {
    const std::string wrapped = gradientCopperCode(request(0xf8, 16, {{0, black}, {15, white}}));
    EXPECT_EQ(count(wrapped, "$ffdf,$fffe"), 1u);
    const std::size_t at = wrapped.find("\tdc.w\t$ffdf,$fffe\n");
    const std::string before = wait(0xff) + move("COLOR00", 0x777);
    EXPECT_EQ(wrapped.rfind(before, at), at - before.size()) << wrapped;
    EXPECT_EQ(wrapped.find(wait(0x00) + move("COLOR00", 0x888)), at + 18) << wrapped;

    // A gradient that starts past $ff waits for the end of line $ff first.
    const std::string late = gradientCopperCode(request(0x110, 2, {{0, black}, {1, white}}));
    EXPECT_EQ(late, "\tdc.w\t$ffdf,$fffe\n" + wait(0x10) + move("COLOR00", 0) + wait(0x11) +
                        move("COLOR00", 0xfff) + "; 5 instructions, 20 bytes\n");

    // Lines $130-$137 fit in a PAL frame, $138-$13f do not.
    const GradientCopperList list =
        gradientCopperList(request(0x130, 16, {{0, black}, {15, white}}));
    EXPECT_EQ(list.instructions, 17u);
    EXPECT_EQ(list.firstLeftOut, 0x138);
    EXPECT_EQ(list.lastLeftOut, 0x13f);
    const std::string &cut = list.text;
    EXPECT_EQ(count(cut, "COLOR00"), 8u);
    EXPECT_NE(cut.find(wait(0x37) + move("COLOR00", 0x777) +
                       "; lines $138 to $13f are past the end of a PAL frame: left out\n"
                       "; 17 instructions, 68 bytes\n"),
              std::string::npos)
        << cut;

    // An NTSC frame ends after line $105: of lines $100-$10f (grey $000 to $fff, one nibble a
    // line) $100-$105 are written, after the wait for the end of line $ff.
    GradientRequest ntsc = request(0x100, 16, {{0, black}, {15, white}});
    ntsc.frameLines = 262;
    const GradientCopperList shortFrame = gradientCopperList(ntsc);
    std::string expected = "\tdc.w\t$ffdf,$fffe\n";
    for (int k = 0; k < 6; ++k)
        expected += wait(k) + move("COLOR00", 0x111 * k);
    EXPECT_EQ(shortFrame.text, expected +
                                   "; lines $106 to $10f are past the end of an NTSC frame: left "
                                   "out\n; 13 instructions, 52 bytes\n");
    EXPECT_EQ(shortFrame.firstLeftOut, 0x106);
}

TEST(Gradient, AgaWritesBothHalvesOfItsRegisterInTheDisplaysBplcon3) {
    GradientRequest r = request(0x2c, 100, {{40, {0x12, 0x34, 0x56}}}, true);
    r.colourRegister = 37; // bank 1 COLOR05
    r.bplcon3 = 0x1020;    // PF2OF %100, BRDRBLNK: kept in every write, and written last
    EXPECT_EQ(gradientCopperCode(r), wait(0x2c) + move("BPLCON3", 0x3020) +
                                         move("COLOR05", 0x0135) + move("BPLCON3", 0x3220) +
                                         move("COLOR05", 0x0246) + move("BPLCON3", 0x1020) +
                                         "; 6 instructions, 24 bytes\n");
    EXPECT_EQ(gradientTableCode(r).substr(0, 22), "; bank 1 COLOR05, line");
    EXPECT_EQ(count(gradientTableCode(r), "\tdc.w\t$0135,$0246\n"), 100u);
}

TEST(Gradient, OnlyLinesWhoseWordsChangeGetAWait) {
    // Blue from 0 to 255 over 100 lines: on OCS the nibble takes each of its 16 values once, in
    // order; on AGA every line's blue differs (255 / 99 is more than 2 a line).
    const GradientRequest ocs = request(0x40, 100, {{0, black}, {99, {0, 0, 255}}});
    const std::string text = gradientCopperCode(ocs);
    EXPECT_EQ(count(text, "$fffe"), 16u) << text;
    for (int n = 0; n < 16; ++n)
        EXPECT_EQ(count(text, std::string("COLOR00,$000") + "0123456789abcdef"[n] + "\n"), 1u) << n;
    GradientRequest aga = ocs;
    aga.aga = true;
    EXPECT_EQ(count(gradientCopperCode(aga), "$fffe"), 100u);

    // A flat stretch between two ramps is one WAIT.
    const std::string flat =
        gradientCopperCode(request(0x40, 60, {{0, black}, {15, white}, {45, white}, {59, black}}));
    // 16 going up; 14 coming down over 14 lines, whose greys 255 x (1 - j / 14) round to 237,
    // 219, 200, 182, 164, 146, 128, 109, 91, 73, 55, 36, 18 and 0: no line has the nibble 7.
    EXPECT_EQ(count(flat, "$fffe"), 30u) << flat;
}

TEST(Gradient, BlendsInRgbAndInOklab) {
    // Halfway from black to white: RGB 127.5, rounded to 128. OKLab L = 0.5 gives l = m = s =
    // 0.125 (L cubed) and linear grey 0.125, which the sRGB transfer function takes to
    // 1.055 x 0.125^(1/2.4) - 0.055 = 0.3886, x 255 = 99.1.
    GradientRequest r = request(0, 3, {{2, white}, {0, black}});
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
        request(0, 10, {{3, {10, 20, 30}}, {6, {40, 50, 60}}, {6, {70, 80, 90}}}, true));
    EXPECT_EQ(lines[0].colour, (Rgb8{10, 20, 30}));
    EXPECT_EQ(lines[3].colour, (Rgb8{10, 20, 30}));
    EXPECT_EQ(lines[4].colour, (Rgb8{30, 40, 50})); // a third of the way from 10 to 70
    EXPECT_EQ(lines[9].colour, (Rgb8{70, 80, 90}));
    EXPECT_TRUE(gradientLines(request(0, 10, {})).empty());
    EXPECT_EQ(gradientCopperCode(request(0, 10, {})), "");
}

TEST(Gradient, DitheredRampsFollowTheExactColoursOnAverage) {
    // A ramp over 512 lines, each gun a different way. Over any 8 lines the guns shown average
    // to within half a 12-bit step (17 / 2) of the 8-bit ones; without dithering the high nibble
    // falls up to 15 short (8-bit 15 shows as 0) and the same windows miss by more.
    GradientRequest r = request(0, 512, {{0, {0, 255, 64}}, {511, {255, 0, 128}}});
    auto worstWindow = [](const std::vector<GradientLine> &lines) {
        double worst = 0;
        for (std::size_t i = 0; i + 8 <= lines.size(); ++i) {
            double error[3] = {0, 0, 0};
            for (std::size_t j = i; j < i + 8; ++j) {
                error[0] += lines[j].shown.red - lines[j].colour.red;
                error[1] += lines[j].shown.green - lines[j].colour.green;
                error[2] += lines[j].shown.blue - lines[j].colour.blue;
            }
            for (double e : error)
                worst = std::max(worst, std::abs(e / 8));
        }
        return worst;
    };
    EXPECT_GT(worstWindow(gradientLines(r)), 8.5);
    for (const GradientDither dither : {GradientDither::Ordered, GradientDither::Diffuse}) {
        SCOPED_TRACE(dither == GradientDither::Ordered ? "ordered" : "diffuse");
        r.dither = dither;
        const std::vector<GradientLine> lines = gradientLines(r);
        EXPECT_LT(worstWindow(lines), 8.5);
        for (const GradientLine &line : lines) {
            // Each gun shows a 12-bit level next to its 8-bit value, and the word is that level.
            EXPECT_LT(std::abs(line.shown.red - line.colour.red), 17);
            EXPECT_LT(std::abs(line.shown.green - line.colour.green), 17);
            EXPECT_LT(std::abs(line.shown.blue - line.colour.blue), 17);
            EXPECT_EQ(line.shown, fromTwelveBit(line.high));
        }
        // Colours that a 12-bit register shows exactly are not dithered.
        const std::vector<GradientLine> flat = gradientLines([&] {
            GradientRequest f = request(0, 8, {{0, {0x11, 0xee, 0xff}}});
            f.dither = dither;
            return f;
        }());
        for (const GradientLine &line : flat)
            EXPECT_EQ(line.high, 0x1ef);
    }
    // AGA shows every 8-bit colour: nothing to dither.
    r.aga = true;
    for (const GradientLine &line : gradientLines(r))
        ASSERT_EQ(line.shown, line.colour);
}

TEST(Gradient, TheCopperShowsOnEachLineWhatTheEditorShows) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    struct Case {
        const char *what;
        GradientRequest request;
    };
    std::vector<Case> cases;
    const std::vector<GradientKey> keys = {
        {0, {0x10, 0x00, 0x40}}, {70, {0xff, 0x80, 0x00}}, {150, {0x00, 0xc0, 0xff}}};
    for (const bool aga : {false, true})
        for (const GradientDither dither :
             {GradientDither::None, GradientDither::Ordered, GradientDither::Diffuse})
            for (const GradientBlend blend : {GradientBlend::Rgb, GradientBlend::Oklab}) {
                GradientRequest r = request(0x2c, 200, keys, aga);
                r.dither = dither;
                r.blend = blend;
                r.colourRegister = aga ? 200 : 17;
                cases.push_back({"", r});
            }
    GradientRequest late = request(0x100, 80, keys, true); // past the frame's end
    cases.push_back({"past the end", late});
    for (const Case &c : cases) {
        const GradientRequest &r = c.request;
        SCOPED_TRACE(testing::Message()
                     << c.what << (r.aga ? " AGA" : " OCS") << " dither "
                     << static_cast<int>(r.dither) << " blend " << static_cast<int>(r.blend));
        // The words a preview reads back from the text are those the assembler makes of it.
        const std::string text = gradientCopperCode(r);
        const std::vector<std::uint16_t> words = assembledCopperList(text);
        const auto read = dataWords(text);
        ASSERT_TRUE(read.has_value());
        EXPECT_TRUE(std::equal(read->begin(), read->end(), words.begin()));
        EXPECT_EQ(read->size() + 2, words.size());
        CopperFrame frame(r.aga ? CopperFrame::Chipset::Aga : CopperFrame::Chipset::Ocs);
        frame.run(words);
        EXPECT_EQ(frame.stop(), CopperFrame::Stop::EndOfList);
        const std::vector<GradientLine> lines = gradientLines(r);
        for (int l = 0; l < CopperFrame::kLines; ++l) {
            const int i = std::clamp(l - r.firstLine, -1, r.lines - 1);
            const Rgb8 expected = i < 0 ? Rgb8{} : lines[static_cast<std::size_t>(i)].shown;
            ASSERT_EQ(frame.colour(l, r.colourRegister), expected) << "line " << l;
        }
    }
}

TEST(Gradient, TheTableHoldsOneWordALine) {
    const std::string table = gradientTableCode(request(0x2b, 16, {{0, black}, {15, white}}));
    std::string expected = "; COLOR00, lines $2b to $3a: the 12-bit word of each line\n";
    for (int k = 0; k < 16; ++k) {
        char line[24];
        std::snprintf(line, sizeof line, "\tdc.w\t$%04x\n", 0x111 * k);
        expected += line;
    }
    EXPECT_EQ(table, expected);
}
