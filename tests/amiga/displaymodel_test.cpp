// The display model: the scenes of data/displaymodel.txt, worked out by hand from the Hardware
// Reference Manual and the AGA documentation, and the emulator's reference frames reproduced
// pixel for pixel.
#include "frame_fixture.h"
#include "golden_text.h"
#include "scratch_files.h"

#include <amiga/copperread.h>
#include <amiga/displaymodel.h>

#include "assembled_copper_list.h"
#include "case_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace amiga;

namespace {

constexpr std::uint32_t kList = 0x1000, kPlanes = 0x10000, kSprite = 0x20000;
constexpr std::size_t kPlaneWords = 20 * 256; // one plane of 320 x 256

// "screen": a standard lores screen, window $2c81-$2cc1, fetch $38-$d0, plane 1 at kPlanes.
const std::vector<std::uint16_t> kScreen = {0x08e, 0x2c81, 0x090, 0x2cc1, 0x092, 0x0038,
                                            0x094, 0x00d0, 0x0e0, 0x0001, 0x0e2, 0x0000};
// "pointers": planes 2-6 one after another from the end of plane 1.
const std::vector<std::uint16_t> kPlanePointers = {
    0x0e4, 0x0001, 0x0e6, 2 * kPlaneWords, 0x0e8, 0x0001, 0x0ea, 4 * kPlaneWords,
    0x0ec, 0x0001, 0x0ee, 6 * kPlaneWords, 0x0f0, 0x0001, 0x0f2, 8 * kPlaneWords,
    0x0f4, 0x0001, 0x0f6, 10 * kPlaneWords};

struct At { // the colour at lores pixel h, line v, which of its two hires columns
    std::uint32_t h, v, column, rgb;
};

// A scene as the data file writes it (its header tells the words).
FrameRequest sceneRequest(const std::string &text, std::vector<At> *checks) {
    FrameRequest request;
    request.setup.copperAddress = kList;
    std::vector<std::uint16_t> planes, sprites;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::replace(line.begin(), line.end(), ',', ' ');
        std::istringstream in(line);
        std::string what, word;
        in >> what;
        if (what == "aga") {
            request.setup.chipset = Chipset::Aga;
        } else if (what == "plane") {
            std::size_t plane = 0, row = 0, column = 0;
            in >> plane >> row >> column >> word;
            planes.resize(std::max(planes.size(), plane * kPlaneWords));
            planes.at((plane - 1) * kPlaneWords + row * 20 + column) =
                static_cast<std::uint16_t>(casetable::number(word));
        } else if (what == "at") {
            std::string h, v, rgb;
            std::uint32_t column = 0;
            in >> h >> v >> column >> rgb;
            checks->push_back(
                {casetable::number(h), casetable::number(v), column, casetable::number(rgb)});
        } else if (what == "list" || what == "sprites") {
            std::vector<std::uint16_t> &to = what == "list" ? request.list : sprites;
            while (in >> word) {
                const std::vector<std::uint16_t> &named =
                    word == "screen" ? kScreen : kPlanePointers;
                if (word == "screen" || word == "pointers")
                    to.insert(to.end(), named.begin(), named.end());
                else
                    to.push_back(static_cast<std::uint16_t>(casetable::number(word)));
            }
        } else if (!what.empty()) {
            ADD_FAILURE() << "a line the test does not know: " << line;
        }
    }
    request.list.insert(request.list.end(), {0xffff, 0xfffe});
    request.chip.push_back({kPlanes, bytesOfWords(planes), "planes"});
    if (!sprites.empty()) {
        request.setup.spriteDma = true;
        request.chip.push_back({kSprite, bytesOfWords(sprites), "sprites"});
    }
    return request;
}

const std::map<std::string, std::string> &cases() {
    static const auto all = golden::read(QUILLFEN_AMIGA_DATA "/displaymodel.txt");
    return all;
}

TEST(DisplayModel, ScenesShowWhatTheManualSays) {
    int scenes = 0;
    for (const auto &[name, text] : cases()) {
        if (name.rfind("scene: ", 0) != 0)
            continue;
        ++scenes;
        std::vector<At> checks;
        const FrameRequest request = sceneRequest(text, &checks);
        FramePicture picture;
        std::string message;
        ASSERT_TRUE(drawFrame(request, FrameRegion{0, 0, kFrameEnd, kPalLines}, &picture, &message))
            << name << ": " << message;
        for (const At &c : checks) {
            const std::uint32_t got =
                picture
                    .pixels[static_cast<std::size_t>(c.v) * picture.columns + 2 * c.h + c.column];
            EXPECT_EQ(got, c.rgb) << name << ": H $" << std::hex << c.h << " line $" << c.v
                                  << " column " << c.column;
        }
    }
    EXPECT_EQ(scenes, 12);
}

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
        } else if (a == "--ntsc" || a == "--sprites") {
            (a == "--ntsc" ? request.setup.ntsc : request.setup.spriteDma) = true;
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

// The "refused" and "notes" cases of the data file.
TEST(DisplayModel, RefusesChipDataThatDoesNotFitAndNotesWhatItDoesNotModel) {
    for (const casetable::Row &c : casetable::rows("displaymodel.txt", "refused")) {
        FrameRequest request;
        request.setup.copperAddress = kList;
        request.list = {0xffff, 0xfffe};
        std::istringstream pieces(c.at(0));
        for (std::string piece; pieces >> piece && piece != "-";) {
            const std::size_t at = piece.find('@'), plus = piece.find('+');
            request.chip.push_back(
                {casetable::number(piece.substr(at + 1, plus - at - 1)),
                 std::vector<std::uint8_t>(casetable::number(piece.substr(plus + 1))),
                 piece.substr(0, at)});
        }
        FrameRegion region;
        if (const auto r = casetable::words(c.at(1) == "-" ? "" : c[1]); r.size() == 4)
            region = {r[0], r[1], r[2], r[3]};
        FramePicture picture;
        std::string message;
        EXPECT_FALSE(drawFrame(request, region, &picture, &message)) << c[2];
        EXPECT_EQ(message.substr(0, c.at(2).size()), c[2]);
    }
    for (const casetable::Row &c : casetable::rows("displaymodel.txt", "notes")) {
        FrameRequest request;
        request.setup.copperAddress = kList;
        request.list = casetable::words(c.at(0));
        std::vector<std::string> notes;
        std::istringstream parts(c.size() > 1 ? c[1] : "");
        for (std::string note; std::getline(parts >> std::ws, note, ';');)
            notes.push_back(note);
        FramePicture picture;
        std::string message;
        ASSERT_TRUE(drawFrame(request, visibleRegion(false), &picture, &message));
        ASSERT_EQ(picture.notes.size(), notes.size()) << c[0];
        for (std::size_t i = 0; i < notes.size(); ++i)
            EXPECT_EQ(picture.notes[i].substr(0, notes[i].size()), notes[i]);
    }
}

TEST(DisplayModel, TellsWhatMadeAPixel) {
    std::vector<At> checks;
    const FrameRequest request = sceneRequest(cases().at("scene: lores pixels"), &checks);
    int pixels = 0;
    for (const auto &[name, text] : cases()) {
        unsigned h = 0, v = 0;
        if (std::sscanf(name.c_str(), "pixel $%x,$%x", &h, &v) != 2)
            continue;
        ++pixels;
        std::string told, message;
        ASSERT_TRUE(
            explainPixel(request, static_cast<int>(h), static_cast<int>(v), &told, &message))
            << message;
        EXPECT_EQ(told, text) << name;
    }
    EXPECT_EQ(pixels, 3);
}

} // namespace
