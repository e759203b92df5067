// The colour, palette and rainbow code, character for character, and what the assembler makes of
// it. Expected words are worked out by hand from the register layouts (see data/colourcode.txt).
#include <amiga/colourcode.h>

#include "assembled_copper_list.h"

#include <gtest/gtest.h>

using namespace amiga;

namespace {

const ColourCodeOptions agaCopper{true, true};
const ColourCodeOptions agaCpu{true, false};
const ColourCodeOptions agaCopperBaseZero{true, true, 0x0000};
const ColourCodeOptions ocsCopper{false, true};
const ColourCodeOptions ocsCpu{false, false};

std::vector<Rgb8> greys(std::initializer_list<std::uint8_t> values) {
    std::vector<Rgb8> colours;
    for (std::uint8_t v : values)
        colours.push_back({v, v, v});
    return colours;
}

} // namespace

// The texts, character for character, are in data/colourcode.txt with the reasons for them.
TEST(ColourCode, TextsAreTheGoldenOnesAndAssemble) {
    const Rgb8 c{0x12, 0x34, 0x56};
    const std::vector<Rgb8> blackWhite = greys({0x00, 0xff});
    const std::vector<Rgb8> three = {{0x12, 0x34, 0x56}, {0xff, 0xff, 0xff}, {0x00, 0x00, 0x00}};
    expectGoldenTexts(
        QUILLFEN_AMIGA_DATA "/colourcode.txt",
        {{"colour: AGA copper, bank 1 register 5", colourCode(agaCopper, 1, 5, c)},
         {"colour: AGA CPU, bank 1 register 5", colourCode(agaCpu, 1, 5, c)},
         {"colour: AGA copper, bank 7 register 31, white stored as $f0, base $0000",
          colourCode(agaCopperBaseZero, 7, 31, {0xf0, 0xf0, 0xf0})},
         {"colour: OCS copper", colourCode(ocsCopper, 3, 7, {0xb9, 0xf0, 0x0f})},
         {"colour: OCS CPU", colourCode(ocsCpu, 0, 17, {0xff, 0x10, 0x88})},
         {"palette: AGA copper, black and white", paletteCode(agaCopper, 0, 0, blackWhite)},
         {"palette: AGA CPU, bank 2 register 3", paletteCode(agaCpu, 2, 3, {{0x12, 0x34, 0x56}})},
         {"palette: AGA copper, into the next bank",
          paletteCode(agaCopper, 0, 30, greys({0x11, 0x22, 0x33}))},
         {"palette: AGA CPU, into the next bank",
          paletteCode(agaCpu, 0, 30, greys({0x11, 0x22, 0x33}))},
         {"palette: AGA copper, past bank 7", paletteCode(agaCopper, 7, 31, greys({0x9a, 0x00}))},
         {"palette: AGA copper, bank 2 register 3",
          paletteCode(agaCopper, 2, 3,
                      {{0x01, 0x02, 0x03}, {0x45, 0x67, 0x89}, {0xab, 0xcd, 0xef}})},
         {"palette: OCS copper, past COLOR31",
          paletteCode(ocsCopper, 5, 30, greys({0xb9, 0xf0, 0x10}))},
         {"palette: OCS CPU", paletteCode(ocsCpu, 0, 0, {{0xff, 0x88, 0x87}})},
         {"palette: no colours", paletteCode(agaCopper, 0, 0, {})},
         {"rainbow: AGA", rainbowCode(agaCopper, 0x2c, three, {4, 4, 0})},
         {"rainbow: OCS over line $ff",
          rainbowCode(ocsCopper, 0xf0, greys({0, 0x99, 0x55, 0xff}), {0x10, 0x1a, 0x100, 1})},
         {"rainbow: OCS from $137", rainbowCode(ocsCopper, 0x137, greys({0x10, 0x20}), {1})},
         {"rainbow: OCS from line 0", rainbowCode(ocsCopper, 0, greys({0x12, 0xff, 0x00}), {1})},
         {"rainbow: AGA, nothing on the frame", rainbowCode(agaCopper, 0x140, greys({0x10}), {})},
         {"rainbow: AGA CPU: a rainbow is copper data",
          rainbowCode(agaCpu, 0x2c, three, {4, 4, 0})},
         {"rainbow: OCS CPU", rainbowCode(ocsCpu, 0x2c, three, {4, 4, 0})},
         {"rainbow: no colours", rainbowCode(agaCopper, 0x2c, {}, {})}});
}
