// Display set-up: the screens of data/displaysetup.txt, each a request and what the set-up gives
// for it, worked out by hand there with the rules and their sources; and the code it writes,
// assembled.
#include <amiga/displaysetup.h>

#include "assembled_copper_list.h"
#include "case_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

using namespace amiga;

namespace {

DisplayRegister registerNamed(const std::string &name) {
    for (int r = 0; r <= static_cast<int>(DisplayRegister::Fmode); ++r)
        if (name == displayRegisterName(static_cast<DisplayRegister>(r)))
            return static_cast<DisplayRegister>(r);
    ADD_FAILURE() << "no register " << name;
    return DisplayRegister::Fmode;
}

// A request in the words of the data file.
DisplayRequest requestOf(const std::string &words) {
    DisplayRequest r;
    std::istringstream in(words);
    for (std::string w; in >> w;) {
        const std::string value = w.substr(w.find('=') + 1);
        if (w == "ecs" || w == "aga")
            r.chipset = w == "ecs" ? Chipset::Ecs : Chipset::Aga;
        else if (w == "hires" || w == "superhires")
            r.resolution = w == "hires" ? Resolution::Hires : Resolution::SuperHires;
        else if (w == "ntsc" || w == "lace" || w == "interleaved")
            (w == "ntsc" ? r.ntsc : w == "lace" ? r.interlace : r.interleaved) = true;
        else if (w == "centred")
            r.hstart.reset(), r.vstart.reset();
        else if (w.size() > 2 && (w[0] == 'h' || w[0] == 'v') && w[1] == '=')
            (w[0] == 'h' ? r.hstart : r.vstart) = static_cast<int>(casetable::number(value));
        else if (w.rfind("fm=", 0) == 0)
            r.fetchMode = std::stoi(value);
        else if (w != "ocs" && w != "lores" &&
                 std::sscanf(w.c_str(), "%dx%dx%d", &r.width, &r.height, &r.depth) != 3)
            ADD_FAILURE() << "a word the test does not know: " << w;
    }
    return r;
}

bool warns(const DisplaySetup &setup, DisplayRegister reg, const std::string &words) {
    for (const DisplayWarning &w : setup.warnings)
        if (w.reg == reg && w.text.find(words) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(DisplaySetup, ScreensWorkedOutByHand) {
    const auto screens = casetable::rows("displaysetup.txt", "screens");
    for (const casetable::Row &row : screens) {
        SCOPED_TRACE(row[0]);
        const DisplayRequest request = requestOf(row[0]);
        const DisplaySetup setup = displaySetup(request);
        std::string warnings;
        for (const DisplayWarning &w : setup.warnings)
            warnings += std::string(displayRegisterName(w.reg)) + ": " + w.text + "\n";
        for (std::size_t field = 1; field < row.size(); ++field) {
            std::istringstream words(row[field]);
            std::string what, reg, text;
            words >> what;
            if (what == "shown" || what == "quiet") {
                EXPECT_TRUE(what == "shown" ? setup.showable() : setup.warnings.empty())
                    << what << "\n"
                    << warnings;
                continue;
            }
            if (what.find('=') == std::string::npos) { // refused, warns or not: REGISTER words
                words >> reg >> std::ws;
                std::getline(words, text);
                text.erase(text.find_last_not_of(' ') + 1);
                EXPECT_EQ(warns(setup, registerNamed(reg), text), what != "not")
                    << what << " " << reg << " " << text << "\n"
                    << warnings;
                EXPECT_TRUE(what != "refused" || !setup.showable());
                continue;
            }
            do { // REGISTER=$value, or REGISTER=- for one not written
                const std::string name = what.substr(0, what.find('='));
                const std::string value = what.substr(what.find('=') + 1);
                const DisplayValue *found = setup.find(registerNamed(name));
                EXPECT_EQ(found ? found->value : -1,
                          value == "-" ? -1 : static_cast<int>(casetable::number(value)))
                    << name;
            } while (words >> what);
        }
        const DisplayValue *bpl1mod = setup.find(DisplayRegister::Bpl1mod);
        const DisplayValue *bpl2mod = setup.find(DisplayRegister::Bpl2mod);
        ASSERT_TRUE(bpl1mod && bpl2mod);
        EXPECT_EQ(bpl2mod->value, bpl1mod->value);
        EXPECT_EQ(setup.find(DisplayRegister::Fmode) != nullptr, request.chipset == Chipset::Aga);
    }
    EXPECT_EQ(screens.size(), 42u);
}

TEST(DisplaySetup, CodeAssemblesAsPastedToItsWords) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    DisplayRequest request;
    request.chipset = Chipset::Aga;
    request.interleaved = true;
    const DisplaySetup setup = displaySetup(request);
    const std::string copper = displaySetupCode(setup, false);
    EXPECT_EQ(copper.substr(0, 20), "\tdc.w\tDIWSTRT,$2c81\n");
    // Register offsets from the hardware include files: DIWSTRT $8e, DIWSTOP $90, DDFSTRT $92,
    // DDFSTOP $94, BPLCON0 $100, BPL1MOD $108, BPL2MOD $10a, FMODE $1fc.
    const std::vector<std::uint16_t> words = {0x008e, 0x2c81, 0x0090, 0x2cc1, 0x0092, 0x0038,
                                              0x0094, 0x00d0, 0x0100, 0x5200, 0x0108, 0x00a0,
                                              0x010a, 0x00a0, 0x01fc, 0x0000};
    EXPECT_EQ(assembled(copper), words);

    // move.w #imm,d16(a6): $3d7c, the value, the register's offset.
    const std::string cpu = displaySetupCode(setup, true);
    std::vector<std::uint16_t> expected;
    for (std::size_t i = 0; i < words.size(); i += 2)
        expected.insert(expected.end(), {0x3d7c, words[i + 1], words[i]});
    EXPECT_EQ(assembled(cpu), expected);

    // Warnings are comments and assemble to nothing.
    DisplayRequest warned; // ($71 - 17) / 2 = $30: sprites 6-7 on OCS; no BPLCON1
    warned.hstart = 0x71;
    warned.width = 336;
    const std::string text = displaySetupCode(displaySetup(warned), false);
    EXPECT_NE(text.find("; the fetch starts at $30"), std::string::npos) << text;
    EXPECT_EQ(assembled(text).size(), 14u);
}
