// The colour, palette and rainbow code, character for character, and what the assembler makes of
// it. Expected words are worked out by hand from the register layouts (see data/colourcode.txt).
#include <amiga/colourcode.h>

#include "assembled_copper_list.h"
#include "case_table.h"

#include <gtest/gtest.h>

using namespace amiga;

// The texts, character for character, are in data/colourcode.txt with the reasons for them; each
// case's name ends in the call that writes it.
TEST(ColourCode, TextsAreTheGoldenOnesAndAssemble) {
    const std::string path = QUILLFEN_AMIGA_DATA "/colourcode.txt";
    std::vector<std::pair<std::string, std::string>> texts;
    for (const auto &[name, text] : golden::read(path)) {
        casetable::Row c = casetable::fields(name);
        c.resize(7);
        ColourCodeOptions o{c[2].find("aga") == 0, c[2].find("copper") != std::string::npos};
        if (const std::size_t base = c[2].find("base="); base != std::string::npos)
            o.bplcon3 = static_cast<std::uint16_t>(casetable::number(c[2].substr(base + 5)));
        std::vector<Rgb8> colours;
        std::istringstream in(c[5]);
        for (std::string colour; in >> colour;)
            colours.push_back(casetable::rgb(colour));
        const int at = static_cast<int>(casetable::number(c.at(3)));
        std::vector<int> heights;
        for (const std::uint16_t h : casetable::words(c[6]))
            heights.push_back(h);
        texts.push_back({name, c[1] == "colour"    ? colourCode(o, at, std::stoi(c[4]), colours[0])
                               : c[1] == "palette" ? paletteCode(o, at, std::stoi(c[4]), colours)
                                                   : rainbowCode(o, at, colours, heights)});
    }
    EXPECT_EQ(texts.size(), 22u);
    expectGoldenTexts(path, texts);
}
