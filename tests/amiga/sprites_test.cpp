// Hardware sprites: control words, image words and problems worked out by hand from the Hardware
// Reference Manual and the AGA documentation (the cases, with their reasons, in data/sprites.txt),
// and every text assembled exactly as printed and compared with the bytes.
#include <amiga/sprites.h>

#include "assembled_copper_list.h"
#include "case_table.h"
#include "golden_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <sstream>

using namespace amiga;

namespace {

struct Picture {
    unsigned width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
};

// A picture as the data file writes it: rows parted by blanks or '/' ('.' is colour 0, '1'-'9'
// and 'a'-'g' their colours), "WxH:C" (W x H pixels of colour C), or "none".
Picture pictureOf(std::string text) {
    unsigned w = 0, h = 0, c = 0;
    if (std::sscanf(text.c_str(), "%ux%u:%u", &w, &h, &c) == 3)
        for (text.clear(); h > 0; --h)
            text += std::string(w, static_cast<char>('0' + c)) + " ";
    std::replace(text.begin(), text.end(), '/', ' ');
    Picture p;
    std::istringstream in(text == "none" ? "" : text);
    for (std::string row; in >> row; ++p.height) {
        p.width = static_cast<unsigned>(row.size());
        for (char x : row)
            p.pixels.push_back(static_cast<std::uint8_t>(x == '.'   ? 0
                                                         : x <= '9' ? x - '0'
                                                                    : x - 'a' + 10));
    }
    return p;
}

std::vector<SpriteData> sprites(const Picture &p, const SpriteOptions &o) {
    return spriteData(p.pixels.data(), p.width, p.height, o);
}

std::optional<std::string> problem(const Picture &p, const SpriteOptions &o) {
    return spriteProblem(p.pixels.data(), p.width, p.height, o);
}

// HSTART as the data file writes it: lores pixels, and "+q" quarters of one.
unsigned quartersOf(const std::string &text) {
    const std::size_t plus = text.find('+');
    return casetable::number(text.substr(0, plus)) * 4 +
           (plus == std::string::npos ? 0 : casetable::number(text.substr(plus + 1)));
}

// Options as the data file writes them (its header tells the words).
SpriteOptions optionsOf(const std::string &text) {
    SpriteOptions o;
    std::istringstream in(text);
    for (std::string w; in >> w;) {
        if (w == "at") {
            std::string h, v;
            in >> h >> v;
            o.controlWords = true;
            o.position = SpritePosition{quartersOf(h), casetable::number(v)};
        } else if (w == "control" || w == "attached" || w == "aga") {
            (w == "control" ? o.controlWords : w == "attached" ? o.attached : o.aga) = true;
        } else if (w == "frames") {
            o.frames = true;
        } else if (w.rfind("fh", 0) == 0) {
            o.frames = true;
            o.frameHeight = casetable::number(w.substr(2));
        } else if (w[0] == 'w') {
            o.width = casetable::number(w.substr(1));
        } else if (w != "-") {
            ADD_FAILURE() << "an option the test does not know: " << w;
        }
    }
    return o;
}

} // namespace

// The pictures of data/sprites.txt: their sprites' words and pieces of their text.
TEST(Sprites, PicturesByHand) {
    int pictures = 0;
    for (const auto &[name, lines] : golden::read(QUILLFEN_AMIGA_DATA "/sprites.txt")) {
        if (name.rfind("picture: ", 0) != 0)
            continue;
        SCOPED_TRACE(name);
        ++pictures;
        Picture p;
        SpriteOptions options;
        std::vector<Words> expected;
        std::vector<std::string> pieces;
        std::istringstream in(lines);
        for (std::string line; std::getline(in, line);) {
            const std::string what = line.substr(0, line.find(' ')),
                              rest = line.substr(what.size());
            if (what == "rows") {
                p = pictureOf(rest);
            } else if (what == "options") {
                options = optionsOf(rest);
            } else if (what == "sprite") {
                expected.push_back(casetable::words(rest));
            } else if (what == "text") {
                pieces.push_back(casetable::unescaped(rest.substr(1)));
            }
        }
        const auto data = sprites(p, options);
        ASSERT_EQ(data.size(), expected.size());
        for (std::size_t i = 0; i < data.size(); ++i) // their numbers: in the text
            EXPECT_EQ(data[i].words, expected[i]) << "sprite " << i;
        const std::string text = spriteText(data, options);
        for (const std::string &piece : pieces)
            EXPECT_NE(text.find(piece), std::string::npos) << piece << "\nin\n" << text;
    }
    EXPECT_EQ(pictures, 10);
}

TEST(Sprites, EveryHighBitOfTheControlWords) {
    for (const casetable::Row &c : casetable::rows("sprites.txt", "control words")) {
        const SpriteOptions o = optionsOf(c.at(3));
        const SpriteControl control = spriteControl(quartersOf(c[0]), casetable::number(c[1]),
                                                    casetable::number(c[2]), o.attached, o.aga);
        EXPECT_EQ(control.pos, casetable::number(c.at(4))) << c[0] << " " << c[1] << " " << c[2];
        EXPECT_EQ(control.ctl, casetable::number(c.at(5))) << c[0] << " " << c[1] << " " << c[2];
    }
}

TEST(Sprites, ProblemsInASentence) {
    const auto table = casetable::rows("sprites.txt", "problems");
    EXPECT_EQ(table.size(), 26u);
    for (const casetable::Row &c : table) {
        const std::string expected = c.size() > 2 ? c[2] : "";
        SCOPED_TRACE(c.at(0) + " | " + c.at(1) + " | " + expected);
        const Picture p = pictureOf(c[0]);
        const SpriteOptions o = optionsOf(c[1]);
        EXPECT_EQ(problem(p, o).value_or(""), expected);
        EXPECT_EQ(sprites(p, o).empty(), !expected.empty());
    }
}

TEST(Sprites, WholeFramesOfASheetAndWhatIsLeftOver) {
    const auto table = casetable::rows("sprites.txt", "frames");
    EXPECT_EQ(table.size(), 6u);
    for (const casetable::Row &c : table) {
        SCOPED_TRACE(c.at(0) + " | " + c.at(1));
        unsigned w = 0, h = 0;
        ASSERT_EQ(std::sscanf(c[0].c_str(), "%ux%u", &w, &h), 2);
        SpriteOptions o = optionsOf(c[1]);
        o.frames = true;
        const SpriteFrames f = spriteFrames(w, h, o);
        EXPECT_EQ((std::vector<unsigned>{f.columns, f.rows, f.rightOver, f.bottomOver}),
                  (std::vector<unsigned>{casetable::number(c.at(2)), casetable::number(c.at(3)),
                                         casetable::number(c.at(4)), casetable::number(c.at(5))}));
        EXPECT_EQ(spritesSideBySide(w, o), o.attached ? 2u : 1u);
    }
}

TEST(Sprites, EveryTextAssemblesToItsBytes) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    // Each width with and without attached pairs, and each kind of control words.
    std::mt19937 random(11);
    for (const char *options :
         {"aga w16", "aga w16 attached control", "aga w32 at $90+3 $12c", "aga w32 attached",
          "aga w64 control", "aga w64 attached at $90+3 $12c", "aga w16 frames at $90 $40",
          "aga w32 attached fh2 at $90+3 $12c", "aga w64 fh1 control"}) {
        SCOPED_TRACE(options);
        const SpriteOptions o = optionsOf(options);
        // Three sprites wide (at most six attached), the last one padded; or two frames across
        // (the rest left out) and as many down as the frames' height gives.
        Picture p;
        p.width = o.width * 2 + 7;
        p.height = 5;
        for (unsigned i = 0; i < p.width * p.height; ++i)
            p.pixels.push_back(static_cast<std::uint8_t>(random() % (o.attached ? 16 : 4)));
        const auto data = sprites(p, o);
        const unsigned frames = 2 * (o.frameHeight == 0 ? 1 : p.height / o.frameHeight);
        ASSERT_EQ(data.size(), (o.frames ? frames : 3u) * (o.attached ? 2u : 1u))
            << problem(p, o).value_or("");
        EXPECT_EQ(bytesOfWords(assembled(spriteText(data, o))), spriteBytes(data));
    }
}

TEST(SpriteHorizontalStart, HexadecimalPixelsAndQuarterFractions) {
    const std::string problems[] = {"", "NotLoresPixels", "BadFraction", "FractionNeedsAga"};
    const auto table = casetable::rows("sprites.txt", "horizontal starts");
    EXPECT_EQ(table.size(), 15u);
    for (const casetable::Row &c : table) {
        SCOPED_TRACE(c.at(0));
        const amiga::HorizontalStart start = amiga::readHorizontalStart(c[0], c.at(1) == "aga");
        const std::string &problem = problems[static_cast<int>(start.problem)]; // in their order
        EXPECT_EQ(problem.empty() ? std::to_string(start.quarters) : problem, c.at(2));
    }
}
