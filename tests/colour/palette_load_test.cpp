// Palettes loaded from picture files written in the test with the ILBM library
// (and one by netpbm's ppmtoilbm, a converter of its own design).
#include "ColourTabFixture.h"
#include "colour/PaletteFile.h"
#include "m68k_assembler.h"

#include <QImage>
#include <QInputDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <iff/cat.h>
#include <iff/form.h>
#include <iff/list.h>
#include <iff/prop.h>
#include <ilbm/bitmapheader.h>
#include <ilbm/colormap.h>
#include <ilbm/ilbm.h>

namespace {

struct Guns {
    int r, g, b;
};

// A CMAP of these registers.
IFF_Chunk *colourMap(const QList<Guns> &registers) {
    ILBM_ColorMap *map = ILBM_createColorMap();
    for (const Guns &g : registers) {
        ILBM_ColorRegister *reg = ILBM_addColorRegisterInColorMap(map);
        reg->red = static_cast<IFF_UByte>(g.r);
        reg->green = static_cast<IFF_UByte>(g.g);
        reg->blue = static_cast<IFF_UByte>(g.b);
    }
    return reinterpret_cast<IFF_Chunk *>(map);
}

// A picture form with a bitmap header and, when given, a colour map.
IFF_Form *pictureForm(const char *formType, IFF_Chunk *map) {
    IFF_Form *form = IFF_createForm(formType);
    IFF_addToForm(form, reinterpret_cast<IFF_Chunk *>(ILBM_createBitMapHeader()));
    if (map)
        IFF_addToForm(form, map);
    return form;
}

QList<Guns> ramp(int count, int seed) {
    QList<Guns> registers;
    for (int i = 0; i < count; ++i)
        registers.append({(i * 8 + seed) % 256, (255 - i * 5) % 256, (i * 29 + seed) % 256});
    return registers;
}

QList<Colour> coloursOf(const QList<Guns> &registers) {
    QList<Colour> colours;
    for (const Guns &g : registers)
        colours.append(Colour::convertFrom24BitWithRed(g.r, g.g, g.b));
    return colours;
}

class PaletteLoading : public ColourTab {
protected:
    void SetUp() override {
        ColourTab::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    // Writes the tree to a file of the test folder and frees it.
    QString write(const char *name, IFF_Chunk *tree) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(ILBM_write(QFile::encodeName(path).constData(), tree));
        ILBM_free(tree);
        return path;
    }
    template <typename T> static IFF_Chunk *chunk(T *group) {
        return reinterpret_cast<IFF_Chunk *>(group);
    }
    QString popup() const { return ui->paletteColourEntriesPopupButton->currentText(); }
    QString status() const { return ui->paletteStatusLabel->text(); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(PaletteLoading, ColourMapsOfDifferentSizes) {
    const QList<Guns> map32 = ramp(32, 3);
    ASSERT_TRUE(controller->decodePaletteWithURL(
        write("32.iff", chunk(pictureForm(ILBM_ID_ILBM, colourMap(map32))))));
    EXPECT_EQ(source->paletteEntries(), coloursOf(map32));
    EXPECT_EQ(shown(31), QColor(map32[31].r, map32[31].g, map32[31].b));
    EXPECT_EQ(popup(), "32");
    EXPECT_TRUE(status().contains("32")) << status().toStdString();

    choosePaletteSize("8");
    const QList<Guns> map5 = ramp(5, 40);
    ASSERT_TRUE(controller->decodePaletteWithURL(
        write("5.iff", chunk(pictureForm(ILBM_ID_ILBM, colourMap(map5))))));
    EXPECT_EQ(source->paletteEntries(), coloursOf(map5));
    EXPECT_EQ(popup(), "8") << "no item for 5: the pop-up keeps its choice";
    // The next choice compares with the loaded size: 8 differs from 5.
    choosePaletteSize("8");
    EXPECT_EQ(source->rowCount(), 8);

    // A colour map without one whole colour is none, in the programs' words; the palette stays.
    const QList<Colour> kept = source->paletteEntries();
    EXPECT_FALSE(controller->decodePaletteWithURL(
        write("0.iff", chunk(pictureForm(ILBM_ID_ILBM, colourMap({}))))));
    EXPECT_EQ(source->paletteEntries(), kept);
    EXPECT_TRUE(status().contains("colour map")) << status().toStdString();
}

TEST_F(PaletteLoading, ColourMapFromAPropOfTheEnclosingList) {
    const QList<Guns> shared = ramp(16, 77);
    IFF_List *list = IFF_createList(ILBM_ID_ILBM);
    IFF_Prop *prop = IFF_createProp(ILBM_ID_ILBM);
    IFF_addToProp(prop, colourMap(shared));
    IFF_addPropToList(list, prop);
    IFF_addToList(list, chunk(pictureForm(ILBM_ID_ILBM, nullptr)));
    ASSERT_TRUE(controller->decodePaletteWithURL(write("list.iff", chunk(list))));
    EXPECT_EQ(source->paletteEntries(), coloursOf(shared));
    EXPECT_EQ(popup(), "16");
}

TEST_F(PaletteLoading, OfSeveralPicturesTheUserChoosesOneAsThePrograms) {
    // The programs take the first picture unless told otherwise; the tab asks which.
    const QList<Guns> first = ramp(4, 1), second = ramp(8, 2);
    IFF_CAT *cat = IFF_createCAT(ILBM_ID_ILBM);
    IFF_addToCAT(cat, chunk(pictureForm(ILBM_ID_ILBM, colourMap(first))));
    IFF_addToCAT(cat, chunk(pictureForm(ILBM_ID_PBM, colourMap(second))));
    const QString path = write("cat.iff", chunk(cat));
    EXPECT_FALSE(controller->decodePaletteWithURL(path));
    auto *dialog = controller->findChild<QInputDialog *>("choosePictureDialog");
    ASSERT_NE(dialog, nullptr);
    const QStringList items = dialog->comboBoxItems();
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0].startsWith("1: ") && items[0].endsWith(", 4 colours"))
        << items[0].toStdString();
    EXPECT_TRUE(items[1].startsWith("2: ") && items[1].endsWith(", 8 colours"))
        << items[1].toStdString();
    dialog->setTextValue(dialog->comboBoxItems()[1]);
    // The chosen picture is read on a worker thread, as any palette file is.
    QSignalSpy loaded(controller.get(), &ColourViewController::paletteRead);
    dialog->accept();
    ASSERT_TRUE(!loaded.isEmpty() || loaded.wait());
    EXPECT_EQ(source->paletteEntries(), coloursOf(second));
    EXPECT_EQ(popup(), "8");

    ASSERT_TRUE(controller->decodePaletteWithURL(path, 0));
    EXPECT_EQ(source->paletteEntries(), coloursOf(first));
}

TEST_F(PaletteLoading, FilesWithoutAPaletteChangeNothingAndSaySo) {
    click(3);
    slide(ui->redSlider, 1);
    const QList<Colour> before = source->paletteEntries();

    EXPECT_FALSE(controller->decodePaletteWithURL(
        write("nomap.iff", chunk(pictureForm(ILBM_ID_ILBM, nullptr)))));
    EXPECT_TRUE(status().contains("no colour map")) << status().toStdString();

    QFile text(dir.filePath("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("This is not a picture.\n");
    text.close();
    EXPECT_FALSE(controller->decodePaletteWithURL(text.fileName()));
    EXPECT_TRUE(status().startsWith("Cannot load a palette from “notes.txt”"))
        << status().toStdString();
    // Cut short inside its colour map.
    const QString whole =
        write("cut.iff", chunk(pictureForm(ILBM_ID_ILBM, colourMap(ramp(32, 9)))));
    QFile cut(whole);
    ASSERT_TRUE(cut.resize(cut.size() - 20));
    EXPECT_FALSE(controller->decodePaletteWithURL(whole));
    EXPECT_TRUE(status().startsWith("Cannot load a palette from “cut.iff”: "))
        << status().toStdString();
    EXPECT_FALSE(status().contains(
        QRegularExpression("(error|warning)\\s*:", QRegularExpression::CaseInsensitiveOption)))
        << "no library mark glued into the sentence: " << status().toStdString();
    EXPECT_FALSE(controller->decodePaletteWithURL(dir.filePath("missing.iff")));
    EXPECT_FALSE(controller->decodePaletteWithURL(dir.path()));
    // A device is refused before it is read: it would never end.
    EXPECT_FALSE(controller->decodePaletteWithURL(QStringLiteral("/dev/zero")));
    EXPECT_TRUE(status().contains("not a regular file")) << status().toStdString();
    EXPECT_FALSE(controller->decodePaletteWithURL(QString()));

    EXPECT_EQ(source->paletteEntries(), before);
    EXPECT_EQ(grid->selectedRows(), (QList<int>{3}));
}

TEST_F(PaletteLoading, RainbowHeightsStayWithTheirIndexes) {
    source->storeRainbowHeight(6, 1);
    ASSERT_TRUE(controller->decodePaletteWithURL(
        write("4.iff", chunk(pictureForm(ILBM_ID_ILBM, colourMap(ramp(4, 0)))))));
    EXPECT_EQ(source->itemAtIndex(1)->rainbowHeight(), 6);
}

TEST_F(PaletteLoading, PpmtoilbmPictureAndItsPaletteCode) {
    const QString ppmtoilbm = QStandardPaths::findExecutable("ppmtoilbm");
    if (ppmtoilbm.isEmpty())
        GTEST_SKIP() << "ppmtoilbm not found: install netpbm (scripts/install-deps)";
    // A 4 x 2 picture of eight colours, as a plain PPM.
    const QList<Guns> pixels = {{255, 0, 0},  {0, 255, 0},    {0, 0, 255},     {255, 255, 0},
                                {16, 32, 48}, {170, 85, 170}, {255, 255, 255}, {0, 0, 0}};
    QByteArray ppm = "P3\n4 2\n255\n";
    for (const Guns &g : pixels)
        ppm += QByteArray::number(g.r) + ' ' + QByteArray::number(g.g) + ' ' +
               QByteArray::number(g.b) + '\n';
    QProcess convert;
    convert.setStandardOutputFile(dir.filePath("netpbm.iff"));
    convert.start(ppmtoilbm, {"-maxplanes", "5"});
    ASSERT_TRUE(convert.waitForStarted());
    convert.write(ppm);
    convert.closeWriteChannel();
    ASSERT_TRUE(convert.waitForFinished(30000));
    ASSERT_EQ(convert.exitCode(), 0);

    ASSERT_TRUE(controller->decodePaletteWithURL(dir.filePath("netpbm.iff")));
    const QList<Colour> palette = source->paletteEntries();
    ASSERT_GE(palette.size(), 8);
    for (const Guns &g : pixels)
        EXPECT_TRUE(palette.contains(Colour::convertFrom24BitWithRed(g.r, g.g, g.b)))
            << g.r << ' ' << g.g << ' ' << g.b;
    for (int i = 0; i < palette.size(); ++i)
        EXPECT_EQ(shown(i), palette[i].toQColor());

    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as not found: install binutils-m68k-linux-gnu";
    ui->outputPaletteCodeButton->click();
    const m68k::Result result = m68k::assemble(code().toStdString());
    ASSERT_TRUE(result.words) << result.messages;
    std::vector<std::uint16_t> expected;
    for (int low = 0; low < 2; ++low) {
        // BPLCON3's reset value $0c00 (PF2OF = 3) with LOCT ($0200) clear, then set.
        expected.insert(expected.end(), {0x106, static_cast<std::uint16_t>(low ? 0x0e00 : 0x0c00)});
        for (int i = 0; i < palette.size(); ++i) {
            auto n = [low](int v) { return low ? v & 0xf : v >> 4; };
            expected.insert(
                expected.end(),
                {static_cast<std::uint16_t>(0x180 + 2 * i),
                 static_cast<std::uint16_t>(n(palette[i].red8()) << 8 |
                                            n(palette[i].green8()) << 4 | n(palette[i].blue8()))});
        }
    }
    expected.insert(expected.end(), {0x106, 0x0c00}); // the reset value again, LOCT clear
    EXPECT_EQ(*result.words, expected);
}

#ifdef QUILLFEN_IFF_TOOL

// quillfen-iff palette prints what the tab's palette code shows for the same colours, from bank 0
// COLOR00: --aga as AGA copper data, --ocs as OCS/ECS copper data, both without an option.
TEST_F(PaletteLoading, TheCommandLinePrintsTheTabsPaletteCode) {
    // 40 colours: past the first bank for AGA and past COLOR31 for OCS/ECS; guns stored as
    // n << 4 and as n x 17 alike.
    QList<Guns> registers = ramp(38, 11);
    registers << Guns{0xf0, 0xf0, 0xf0} << Guns{0xb9, 0x11, 0x0f};
    const QString path = write("40.iff", chunk(pictureForm(ILBM_ID_ILBM, colourMap(registers))));
    ASSERT_TRUE(controller->decodePaletteWithURL(path));

    auto printed = [&](const QStringList &options) {
        QProcess tool;
        tool.start(QStringLiteral(QUILLFEN_IFF_TOOL),
                   QStringList{"palette"} + options + QStringList{path});
        EXPECT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        return QString::fromUtf8(tool.readAllStandardOutput());
    };
    auto shownInTheTab = [&](bool aga) {
        if (ui->agaChipsetButton->isChecked() != aga)
            ui->agaChipsetButton->click();
        ui->outputPaletteCodeButton->click();
        return code();
    };
    ASSERT_TRUE(ui->copperInstructionsButton->isChecked());
    ASSERT_EQ(ui->agaColourBankTextField->text(), "0");
    ASSERT_EQ(ui->colourRegisterTextField->text(), "0");
    const QString aga = shownInTheTab(true), ocs = shownInTheTab(false);
    EXPECT_TRUE(aga.contains("\tdc.w\tBPLCON3,$2c00\n")) << aga.toStdString();
    EXPECT_TRUE(ocs.contains("\tdc.w\tCOLOR31,")) << ocs.toStdString();
    EXPECT_EQ(printed({"--aga"}), aga);
    EXPECT_EQ(printed({"--ocs"}), ocs);
    EXPECT_EQ(printed({}), aga + ocs);
}

#endif

TEST_F(PaletteLoading, TheStatusLineCountsInWordsThatAgree) {
    ASSERT_TRUE(controller->decodePaletteWithURL(
        write("one.iff", chunk(pictureForm(ILBM_ID_ILBM, colourMap(ramp(1, 9)))))));
    EXPECT_EQ(status(), QString::fromUtf8("Loaded 1 colour from “one.iff”."));
    ASSERT_TRUE(controller->decodePaletteWithURL(
        write("two.iff", chunk(pictureForm(ILBM_ID_ILBM, colourMap(ramp(2, 9)))))));
    EXPECT_EQ(status(), QString::fromUtf8("Loaded 2 colours from “two.iff”."));
}

TEST_F(PaletteLoading, APngGivesItsPaletteInOrder) {
    // An indexed PNG as desktop paint programs save one: its colour table, in its order.
    const QList<QRgb> table = {qRgb(0, 0, 0), qRgb(0xff, 0x80, 0x00), qRgb(0x12, 0x34, 0x56),
                               qRgb(0xff, 0xff, 0xff), qRgb(0x0f, 0xf0, 0x55)};
    QImage indexed(5, 1, QImage::Format_Indexed8);
    indexed.setColorTable(table);
    for (int x = 0; x < 5; ++x)
        indexed.setPixel(x, 0, static_cast<uint>(4 - x));
    const QString png = dir.filePath("art.png");
    ASSERT_TRUE(indexed.save(png, "PNG"));
    ASSERT_TRUE(controller->decodePaletteWithURL(png));
    QList<Colour> expected;
    for (QRgb c : table)
        expected.append(Colour::convertFrom24BitWithRed(qRed(c), qGreen(c), qBlue(c)));
    EXPECT_EQ(source->paletteEntries(), expected);
    EXPECT_EQ(status(), "Loaded 5 colours from “art.png”.");

    // A true-colour PNG has no palette to give: nothing changes, and the tab says why.
    QImage photo(2, 1, QImage::Format_RGB32);
    photo.setPixel(0, 0, qRgb(1, 2, 3));
    photo.setPixel(1, 0, qRgb(4, 5, 6));
    const QString truePng = dir.filePath("photo.png");
    ASSERT_TRUE(photo.save(truePng, "PNG"));
    EXPECT_FALSE(controller->decodePaletteWithURL(truePng));
    EXPECT_EQ(status(), "No palette in “photo.png”: the true-colour picture has no colour map.");
    EXPECT_EQ(source->paletteEntries(), expected);
}
