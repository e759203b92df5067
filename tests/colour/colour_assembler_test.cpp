// What the generators print, through a real 68000 assembler: the words it makes
// must be the copper moves and processor instructions the hardware expects.
#include "M68kAssembler.h"
#include "colour/ColourCode.h"

#include <gtest/gtest.h>
#include <ostream>

using ColourCode::Options;
using Words = QList<std::uint16_t>;

namespace {

constexpr std::uint16_t BPLCON3 = 0x106;
constexpr std::uint16_t COLOR00 = 0x180;
constexpr std::uint16_t LOCT = 0x0200;              // BPLCON3: write the low nibbles
constexpr std::uint16_t moveImmediateToA6 = 0x3d7c; // move.w #imm,d16(a6)

// The value of one 12-bit half of a 24-bit colour.
std::uint16_t half(const Colour &c, bool low) {
    auto nibble = [low](int v) { return low ? v & 0xf : v >> 4; };
    return static_cast<std::uint16_t>(nibble(c.red8()) << 8 | nibble(c.green8()) << 4 |
                                      nibble(c.blue8()));
}
std::uint16_t ocs(const Colour &c) {
    return static_cast<std::uint16_t>(c.red8() / 17 << 8 | c.green8() / 17 << 4 | c.blue8() / 17);
}
std::uint16_t bankSelect(int bank, bool low) {
    return static_cast<std::uint16_t>(bank << 13 | (low ? LOCT : 0));
}
std::uint16_t colourRegister(int n) {
    return static_cast<std::uint16_t>(COLOR00 + 2 * n);
}

ColourCode::EditorColour editor(const Colour &c) {
    auto twelve = [](int v) { return QString::asprintf("%.1x", Colour::twelveBitValue(v)); };
    return {QString::asprintf("%.2x", c.red8()),
            QString::asprintf("%.2x", c.green8()),
            QString::asprintf("%.2x", c.blue8()),
            twelve(c.red8()),
            twelve(c.green8()),
            twelve(c.blue8())};
}

// A palette with every gun value somewhere in it.
QList<Colour> spread(int count) {
    QList<Colour> colours;
    for (int i = 0; i < count; ++i)
        colours.append(Colour::convertFrom24BitWithRed(i * 37 % 256, i * 11 % 256, 255 - i));
    return colours;
}

class Assembler : public ::testing::Test {
protected:
    void SetUp() override {
        if (!m68k::available())
            GTEST_SKIP() << "m68k-linux-gnu-as not found: install binutils-m68k-linux-gnu "
                            "(scripts/install-deps) to check the generated code";
    }
    static void expectAssemblesTo(const QString &source, const Words &expected) {
        const m68k::Result result = m68k::assemble(source);
        ASSERT_TRUE(result.words.has_value()) << result.messages.toStdString() << "\nsource:\n"
                                              << source.toStdString();
        EXPECT_EQ(*result.words, expected) << "source:\n" << source.toStdString();
    }
};

} // namespace

TEST_F(Assembler, SingleColour) {
    for (const Colour &c : {Colour::convertFrom24BitWithRed(0x12, 0x34, 0x56),
                            Colour::convertFrom24BitWithRed(0xff, 0x00, 0x9a)}) {
        for (int bank : {0, 1, 7}) {
            for (int reg : {0, 5, 31}) {
                expectAssemblesTo(ColourCode::colourCode({true, true}, bank, reg, editor(c)),
                                  {BPLCON3, bankSelect(bank, false), colourRegister(reg),
                                   half(c, false), BPLCON3, bankSelect(bank, true),
                                   colourRegister(reg), half(c, true)});
                expectAssemblesTo(ColourCode::colourCode({true, false}, bank, reg, editor(c)),
                                  {moveImmediateToA6, bankSelect(bank, false), BPLCON3,
                                   moveImmediateToA6, half(c, false), colourRegister(reg),
                                   moveImmediateToA6, bankSelect(bank, true), BPLCON3,
                                   moveImmediateToA6, half(c, true), colourRegister(reg)});
                expectAssemblesTo(ColourCode::colourCode({false, true}, bank, reg, editor(c)),
                                  {colourRegister(reg), ocs(c)});
                expectAssemblesTo(ColourCode::colourCode({false, false}, bank, reg, editor(c)),
                                  {moveImmediateToA6, ocs(c), colourRegister(reg)});
            }
        }
    }
}

TEST_F(Assembler, PaletteAga) {
    struct Case {
        int bank, reg, count;
    };
    for (const Case &k : {Case{0, 0, 2}, Case{0, 0, 256}, Case{3, 20, 50}, Case{7, 30, 5}}) {
        const QList<Colour> colours = spread(k.count);
        Words expected;
        for (bool low : {false, true}) {
            for (int i = 0; i < k.count; ++i) {
                const int index = k.bank * 32 + k.reg + i;
                if (index > 255)
                    break;
                if (i == 0 || index % 32 == 0)
                    expected << BPLCON3 << bankSelect(index / 32, low);
                expected << colourRegister(index % 32) << half(colours[i], low);
            }
        }
        expectAssemblesTo(ColourCode::paletteCode({true, true}, k.bank, k.reg, colours), expected);
    }
    // Without copper instructions: the two halves, registers of one bank.
    const QList<Colour> colours = spread(40);
    Words expected;
    for (bool low : {false, true})
        for (int i = 0; i < 32; ++i)
            expected << colourRegister(i) << half(colours[i], low);
    expectAssemblesTo(ColourCode::paletteCode({true, false}, 4, 0, colours), expected);
}

TEST_F(Assembler, PaletteOcs) {
    const QList<Colour> colours = spread(64);
    for (int reg : {0, 17}) {
        Words expected;
        for (int i = 0; reg + i < 32; ++i)
            expected << colourRegister(reg + i) << ocs(colours[i]);
        expectAssemblesTo(ColourCode::paletteCode({false, true}, 0, reg, colours), expected);
        expectAssemblesTo(ColourCode::paletteCode({false, false}, 0, reg, colours), expected);
    }
}

TEST_F(Assembler, Rainbow) {
    const QList<Colour> colours = spread(12);
    const QList<qint64> heights = {4, 4, 0, 1, 50, 90, 100, 0, 7, 200, 1, 1};
    for (bool aga : {true, false}) {
        Words expected;
        qint64 line = 0x2c;
        bool wrapped = false;
        for (int i = 0; i < colours.size(); ++i) {
            if (line > 0x1ff)
                break;
            if (line > 0xff && !wrapped) {
                expected << 0xffdf << 0xfffe; // the end of line 255
                wrapped = true;
            }
            expected << static_cast<std::uint16_t>((line & 0xff) << 8 | 0x01) << 0xfffe;
            if (aga)
                expected << BPLCON3 << 0x0000 << COLOR00 << half(colours[i], false) << BPLCON3
                         << LOCT << COLOR00 << half(colours[i], true);
            else
                expected << COLOR00 << ocs(colours[i]);
            line += heights[i];
        }
        expectAssemblesTo(ColourCode::rainbowCode({aga, true}, 0x2c, colours, heights), expected);
    }
}
