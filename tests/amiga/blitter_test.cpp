// Blitter set-up: function bytes worked out by hand from the Hardware Reference Manual's rule
// (bit i of LF is D for A, B, C = the bits of i, i = 4A + 2B + C), register words from its
// BLTCON0/BLTCON1/BLTSIZE layouts (the tables, with their reasons, in data/blitter.txt), and the
// text as the assembler reads it.
#include <amiga/blitter.h>

#include "assembled_copper_list.h"
#include "case_table.h"

#include <gtest/gtest.h>

using namespace amiga::blitter;

namespace {

Blit blitOf(const char *function, const char *channels) {
    Blit blit;
    blit.function = function;
    blit.minterms = parseFunction(function).value();
    blit.channels = parseChannels(channels).value();
    return blit;
}

} // namespace

TEST(BlitterFunction, ExpressionsGiveTheMintermsWorkedByHandAndFaultsAPlace) {
    for (const casetable::Row &c : casetable::rows("blitter.txt", "functions")) {
        const std::optional<std::uint8_t> value = parseFunction(c.at(0));
        ASSERT_TRUE(value.has_value()) << c[0];
        EXPECT_EQ(*value, casetable::number(c.at(1))) << c[0];
    }
    EXPECT_EQ(parseFunction("A|B"), 0xfc);    // as A+B
    EXPECT_EQ(parseFunction("A&~C|B"), 0xdc); // as AC'+B
    for (const char *text : {"", "AB+", "(A", "A)", "AD", "A$B", "!"}) {
        std::string error;
        EXPECT_FALSE(parseFunction(text, &error).has_value()) << text;
        EXPECT_NE(error.find("at character"), std::string::npos) << text << ": " << error;
    }
}

TEST(BlitterFunction, ChannelsFollowWhatTheFunctionReads) {
    for (const casetable::Row &c : casetable::rows("blitter.txt", "channels"))
        EXPECT_EQ(
            channelLetters(channelsFor(static_cast<std::uint8_t>(casetable::number(c.at(0))))),
            c.at(1))
            << c[0];
    EXPECT_EQ(channelLetters(parseChannels("dca").value()), "ACD");
    EXPECT_FALSE(parseChannels("AAD").has_value());
    EXPECT_FALSE(parseChannels("ABE").has_value());
}

TEST(BlitterWords, FillsDirectionAndSizesGiveTheManualsWords) {
    // Fill: IFE is bit 3, EFE bit 4, FCI bit 2, DESC bit 1; a fill is always descending (the
    // inclusive fill is a preset's, below). Fill carry-in means nothing without a fill.
    Blit fill = blitOf("A", "AD");
    fill.fill = Fill::Exclusive;
    fill.fillCarryIn = true;
    EXPECT_EQ(bltcon1(fill), 0x0016);
    Blit down = blitOf("A", "AD");
    down.descending = down.fillCarryIn = true;
    down.bShift = 15;
    EXPECT_EQ(bltcon1(down), 0xf002);

    // BLTSIZE: height in bits 15-6, width in bits 5-0; 1024 lines and 64 words are 0. Past them
    // the ECS registers take up to 2047 words and 32767 lines.
    EXPECT_EQ(bltsize(20, 256), 0x4014);
    EXPECT_EQ(bltsize(1, 1), 0x0041);
    EXPECT_EQ(bltsize(64, 1024), 0x0000);
    const char *const fits[] = {"None", "Standard", "Big", "Invalid"}; // SizeFit's order
    for (const casetable::Row &c : casetable::rows("blitter.txt", "sizes"))
        EXPECT_EQ(fits[static_cast<int>(sizeFit(std::stoi(c.at(0)), std::stoi(c.at(1))))], c.at(2))
            << c[0] << " x " << c[1];
}

// The text as pasted, and the words the assembler makes of it: move.w #imm,d16(a6) is $3d7c, the
// word, the offset: BLTCON0 $040, BLTCON1 $042, BLTSIZE $058, BLTSIZV $05c, BLTSIZH $05e
// (Hardware Reference Manual, appendix A and C).
TEST(BlitterCode, TheTextSpellsOutEachWordAndAssemblesToIt) {
    Blit cookie = blitOf("AB+!AC", "ABCD");
    cookie.aShift = cookie.bShift = 4;
    cookie.widthWords = 4;
    cookie.heightLines = 20;
    const std::string moves = blitterCode(cookie, false);
    EXPECT_EQ(moves, "\tmove.w\t#$4fca,BLTCON0(a6)\t; ASH=4 USEA USEB USEC USED LF=$ca: D=AB+!AC\n"
                     "\tmove.w\t#$4000,BLTCON1(a6)\t; BSH=4\n"
                     "\tmove.w\t#$0504,BLTSIZE(a6)\t; 20 lines of 4 words: starts the blit\n");
    Blit clear = blitOf("0", "D");
    clear.widthWords = 3;
    EXPECT_NE(blitterCode(clear, false).find("; no size: 0 lines of 3 words fits no blitter"),
              std::string::npos);
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    Blit big = blitOf("A", "AD");
    big.widthWords = 100;
    big.heightLines = 2000;
    // The copper's form: each register's offset, then its word; past 1024 lines or 64 words the
    // ECS registers BLTSIZV and BLTSIZH.
    EXPECT_EQ(assembled(moves).size(), 9u);
    const std::pair<std::string, std::vector<std::uint16_t>> cases[] = {
        {blitterCode(cookie, true), {0x0040, 0x4fca, 0x0042, 0x4000, 0x0058, 0x0504}},
        {blitterCode(big, true), {0x0040, 0x09f0, 0x0042, 0x0000, 0x005c, 2000, 0x005e, 100}},
    };
    for (const auto &[text, words] : cases)
        EXPECT_EQ(assembled(text), words);
}

// Copy (A and D, function A), clear (D alone, function 0), cookie-cut and inclusive fill.
TEST(BlitterCode, PresetsAreTheBlitsTheyName) {
    std::vector<std::uint32_t> words;
    for (const Preset &preset : presets()) {
        Blit blit = blitOf(preset.function, preset.channels);
        blit.fill = preset.fill;
        words.push_back(static_cast<std::uint32_t>(bltcon0(blit)) << 16 | bltcon1(blit));
    }
    EXPECT_EQ(words, (std::vector<std::uint32_t>{0x09f00000, 0x01000000, 0x0fca0000, 0x09f0000a}));
}
