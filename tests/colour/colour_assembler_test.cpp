// The Colour tab's code exactly as the code view shows it, through a real 68000 assembler: the
// words it makes must be the register writes the hardware expects. Register offsets and bits are
// those of the hardware include files: COLORxx at $180 + 2n, BPLCON3 at $106 with BANK2-0 in
// bits 15-13 and LOCT in bit 9, set in the register's reset value $0c00 (PF2OF2-0 = %011, bits
// 12-10), which every AGA text writes last (AGA documentation).
#include "ColourTabFixture.h"
#include "m68k_assembler.h"

#include <ostream>
#include <vector>

namespace {

using Words = std::vector<std::uint16_t>;

constexpr std::uint16_t BPLCON3 = 0x106;
constexpr std::uint16_t moveImmediateToA6 = 0x3d7c; // move.w #imm,d16(a6) (M68000 PRM, MOVE)

struct Guns {
    int r, g, b;
};

std::uint16_t highHalf(Guns c) {
    return static_cast<std::uint16_t>((c.r >> 4) << 8 | (c.g >> 4) << 4 | c.b >> 4);
}
std::uint16_t lowHalf(Guns c) {
    return static_cast<std::uint16_t>((c.r & 15) << 8 | (c.g & 15) << 4 | (c.b & 15));
}
constexpr std::uint16_t kBplcon3Reset = 0x0c00;
std::uint16_t bankSelect(int bank, bool low) {
    return static_cast<std::uint16_t>(bank << 13 | kBplcon3Reset | (low ? 0x200 : 0));
}
std::uint16_t colourRegister(int n) {
    return static_cast<std::uint16_t>(0x180 + 2 * n);
}

// Register writes, as copper MOVEs or as CPU moves through a6.
class Writes {
public:
    explicit Writes(bool copper) : m_copper(copper) {}
    Writes &set(std::uint16_t offset, std::uint16_t value) {
        if (m_copper)
            m_words.insert(m_words.end(), {offset, value});
        else
            m_words.insert(m_words.end(), {moveImmediateToA6, value, offset});
        return *this;
    }
    Writes &wait(int line) {
        m_words.insert(m_words.end(), {static_cast<std::uint16_t>((line & 0xff) << 8 | 1), 0xfffe});
        return *this;
    }
    Writes &words(std::initializer_list<std::uint16_t> more) {
        m_words.insert(m_words.end(), more);
        return *this;
    }
    const Words &all() const { return m_words; }

private:
    bool m_copper;
    Words m_words;
};

// A palette with many different gun values.
std::vector<Guns> spread(int count) {
    std::vector<Guns> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back({i * 37 % 256, i * 11 % 256, 255 - i});
    return colours;
}

class ColourCodeAssembles : public ColourTab {
protected:
    void SetUp() override {
        if (!m68k::available())
            GTEST_SKIP() << "m68k-linux-gnu-as not found: install binutils-m68k-linux-gnu "
                            "(scripts/install-deps) to check the generated code";
        ColourTab::SetUp();
    }
    void setOptions(bool aga, bool copper) {
        if (ui->agaChipsetButton->isChecked() != aga)
            ui->agaChipsetButton->click();
        if (ui->copperInstructionsButton->isChecked() != copper)
            ui->copperInstructionsButton->click();
    }
    void setTarget(int bank, int reg) {
        ui->agaColourBankSlider->setValue(bank);
        ui->colourRegisterSlider->setValue(reg);
    }
    void setPalette(const std::vector<Guns> &colours) {
        QList<Colour> entries;
        for (const Guns &c : colours)
            entries.append(Colour::convertFrom24BitWithRed(c.r, c.g, c.b));
        source->setPaletteEntries(entries);
    }
    void expectAssemblesTo(const Words &expected, const char *what) {
        const std::string text = code().toStdString();
        const m68k::Result result = m68k::assemble(text);
        ASSERT_TRUE(result.words.has_value()) << what << "\n" << result.messages << text;
        EXPECT_EQ(*result.words, expected) << what << "\n" << text;
    }
};

} // namespace

TEST_F(ColourCodeAssembles, SingleColour) {
    for (Guns c : {Guns{0x12, 0x34, 0x56}, Guns{0xff, 0x00, 0x9a}, Guns{0xb9, 0xf0, 0x0f}}) {
        typeAndEnd(ui->redValueTextField, QString::number(c.r));
        typeAndEnd(ui->greenValueTextField, QString::number(c.g));
        typeAndEnd(ui->blueValueTextField, QString::number(c.b));
        for (auto [bank, reg] : {std::pair{0, 0}, {1, 5}, {7, 31}}) {
            setTarget(bank, reg);
            for (bool copper : {true, false}) {
                setOptions(true, copper);
                expectAssemblesTo(Writes(copper)
                                      .set(BPLCON3, bankSelect(bank, false))
                                      .set(colourRegister(reg), highHalf(c))
                                      .set(BPLCON3, bankSelect(bank, true))
                                      .set(colourRegister(reg), lowHalf(c))
                                      .set(BPLCON3, kBplcon3Reset)
                                      .all(),
                                  "AGA colour");
                setOptions(false, copper);
                expectAssemblesTo(Writes(copper).set(colourRegister(reg), highHalf(c)).all(),
                                  "OCS colour");
            }
        }
    }
}

TEST_F(ColourCodeAssembles, PaletteAga) {
    struct Case {
        int bank, reg, count;
    };
    choosePaletteSize("256");
    for (const Case &k : {Case{0, 0, 2}, Case{0, 0, 256}, Case{3, 20, 50}, Case{7, 30, 5}}) {
        const std::vector<Guns> colours = spread(k.count);
        setPalette(colours);
        setTarget(k.bank, k.reg);
        for (bool copper : {true, false}) {
            setOptions(true, copper);
            ui->outputPaletteCodeButton->click();
            Writes expected(copper);
            for (bool low : {false, true}) {
                for (int i = 0; i < k.count; ++i) {
                    const int index = k.bank * 32 + k.reg + i;
                    if (index > 255)
                        break; // bank 7 COLOR31 is the last register
                    if (i == 0 || index % 32 == 0)
                        expected.set(BPLCON3, bankSelect(index / 32, low));
                    expected.set(colourRegister(index % 32),
                                 low ? lowHalf(colours[i]) : highHalf(colours[i]));
                }
            }
            expected.set(BPLCON3, kBplcon3Reset);
            expectAssemblesTo(expected.all(), "AGA palette");
        }
    }
}

TEST_F(ColourCodeAssembles, PaletteOcs) {
    choosePaletteSize("64");
    const std::vector<Guns> colours = spread(64);
    setPalette(colours);
    for (int reg : {0, 17}) {
        setTarget(5, reg); // OCS/ECS have no banks: the bank plays no part
        for (bool copper : {true, false}) {
            setOptions(false, copper);
            ui->outputPaletteCodeButton->click();
            Writes expected(copper);
            for (int i = 0; reg + i < 32; ++i)
                expected.set(colourRegister(reg + i), highHalf(colours[i]));
            expectAssemblesTo(expected.all(), "OCS palette");
        }
    }
}

TEST_F(ColourCodeAssembles, Rainbow) {
    const std::vector<Guns> colours = spread(12);
    const int heights[] = {4, 4, 0, 1, 50, 90, 100, 0, 7, 200, 1, 1};
    choosePaletteSize("16");
    setPalette(colours);
    for (int i = 0; i < 12; ++i)
        source->storeRainbowHeight(heights[i], i);
    ui->rainbowStartTextField->setText("2c");
    for (bool aga : {true, false}) {
        setOptions(aga, true);
        ui->outputRainbowCodeButton->click();
        Writes expected(true);
        int line = 0x2c;
        bool wrapped = false;
        for (int i = 0; i < 12 && line < 0x138; line += heights[i], ++i) {
            if (line > 0xff && !wrapped) {
                expected.words({0xffdf, 0xfffe}); // the end of line $ff
                wrapped = true;
            }
            expected.wait(line);
            if (aga)
                expected.set(BPLCON3, bankSelect(0, false))
                    .set(colourRegister(0), highHalf(colours[i]))
                    .set(BPLCON3, bankSelect(0, true))
                    .set(colourRegister(0), lowHalf(colours[i]));
            else
                expected.set(colourRegister(0), highHalf(colours[i]));
        }
        if (aga)
            expected.set(BPLCON3, kBplcon3Reset);
        expectAssemblesTo(expected.all(), aga ? "AGA rainbow" : "OCS rainbow");
        // The run passes the last PAL line: a comment says which entries are left out.
        EXPECT_TRUE(code().endsWith("left out from entry 10 on\n")) << code().toStdString();
    }
    // A rainbow is copper data only.
    setOptions(true, false);
    ui->outputRainbowCodeButton->click();
    EXPECT_EQ(code(), "");
}
