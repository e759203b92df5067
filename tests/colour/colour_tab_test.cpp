// The Colour tab driven as a user drives it: sliders, fields, the grid's
// selection, the palette size, the code buttons.
#include "ColourTabFixture.h"
#include "colour/PaletteEntryCollectionViewItem.h"
#include "common/CopperFramePreview.h"

#include <QClipboard>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <functional>

namespace {

Colour rgb(int r, int g, int b) {
    return Colour::convertFrom24BitWithRed(r, g, b);
}

} // namespace

TEST_F(ColourTab, StartsWithTheDefaultPaletteOfThePopUpsSize) {
    EXPECT_EQ(ui->paletteColourEntriesPopupButton->currentText(), "32");
    ASSERT_EQ(source->rowCount(), 32);
    EXPECT_EQ(source->paletteEntries(), Colour::amigaDefaults(32));
    EXPECT_EQ(source->data(source->index(31, 0)).toString(), "31");
    EXPECT_EQ(shown(14), QColor(0x00, 0x66, 0xff));
    QStringList offered;
    for (int i = 0; i < ui->paletteColourEntriesPopupButton->count(); ++i)
        offered << ui->paletteColourEntriesPopupButton->itemText(i);
    EXPECT_EQ(offered, (QStringList{"2", "4", "8", "16", "32", "64", "128", "256"}));
    EXPECT_EQ(ui->dragDropMethodPopupButton->itemText(0), "Swap");
    EXPECT_EQ(code(), "\tdc.w\tBPLCON3,$0c00\n\tdc.w\tCOLOR00,$0000\n"
                      "\tdc.w\tBPLCON3,$0e00\n\tdc.w\tCOLOR00,$0000\n"
                      "\tdc.w\tBPLCON3,$0c00\n");
}

TEST_F(ColourTab, SlidersShowDecimalTwelveAndTwentyFourBitAndRecolourTheSelection) {
    click(3);
    slide(ui->greenSlider, 200);
    EXPECT_EQ(greenFields(), (QStringList{"200", "c", "c8"}));
    EXPECT_EQ(ui->colourWell->color(), rgb(0xff, 200, 0xff));
    EXPECT_EQ(entry(3), rgb(0xff, 200, 0xff)) << "the edit reaches the palette";
    EXPECT_EQ(shown(3), QColor(0xff, 200, 0xff));
    EXPECT_EQ(entry(2), rgb(0x55, 0x55, 0x55)) << "entries not selected keep their colours";
    EXPECT_TRUE(code().contains("\tdc.w\tCOLOR03,$0fcf\n")) << code().toStdString();

    // The 12-bit nibble is the high nibble, as the AGA high half and OCS code have it.
    struct Case {
        int value;
        const char *twelve, *twentyFour;
    };
    for (const Case &k : {Case{15, "0", "0f"}, Case{16, "1", "10"}, Case{17, "1", "11"},
                          Case{0xb9, "b", "b9"}, Case{0xf0, "f", "f0"}}) {
        slide(ui->redSlider, k.value);
        EXPECT_EQ(ui->red12BitValueTextField->text(), k.twelve) << k.value;
        EXPECT_EQ(ui->red24BitValueTextField->text(), k.twentyFour) << k.value;
    }
    // The single colour's OCS code agrees with the field: $f0 is f, not e.
    ui->agaChipsetButton->click();
    EXPECT_EQ(code(), "\tdc.w\tCOLOR03,$0fcf\n");
}

TEST_F(ColourTab, TypedValuesAreCutTo255WhenTheEditEnds) {
    typeAndEnd(ui->redValueTextField, "300");
    EXPECT_EQ(ui->redValueTextField->text(), "255");
    EXPECT_EQ(ui->redSlider->value(), 255);
    EXPECT_EQ(ui->red12BitValueTextField->text(), "f");
    EXPECT_EQ(ui->red24BitValueTextField->text(), "ff");

    // The field takes three digits at most and nothing but digits.
    typeAndEnd(ui->blueValueTextField, "12a34");
    EXPECT_EQ(ui->blueValueTextField->text(), "123");
    EXPECT_EQ(ui->blueSlider->value(), 123);
    EXPECT_EQ(ui->blue24BitValueTextField->text(), "7b");

    // An emptied field counts as 0 and shows it.
    typeAndEnd(ui->blueValueTextField, "");
    EXPECT_EQ(ui->blueValueTextField->text(), "0");
    EXPECT_EQ(ui->blueSlider->value(), 0);
    EXPECT_EQ(ui->colourWell->color(), rgb(255, 0, 0));
}

TEST_F(ColourTab, SelectingAnEntryLoadsItsColourBankAndRegister) {
    choosePaletteSize("256");
    ASSERT_EQ(source->rowCount(), 256);
    struct Case {
        int row, bank, reg;
    };
    for (const Case &k : {Case{70, 2, 6}, Case{31, 0, 31}, Case{255, 7, 31}, Case{9, 0, 9}}) {
        grid->scrollTo(source->index(k.row, 0));
        click(k.row);
        EXPECT_EQ(ui->agaColourBankSlider->value(), k.bank);
        EXPECT_EQ(ui->agaColourBankTextField->text(), QString::number(k.bank));
        EXPECT_EQ(ui->colourRegisterSlider->value(), k.reg);
        EXPECT_EQ(ui->colourRegisterTextField->text(), QString::number(k.reg));
        EXPECT_EQ(ui->calculatedColourRegisterTextField->text(), QString::number(k.row));
    }
    // Entry 9 of the default palette is ff aa 88.
    EXPECT_EQ(ui->redValueTextField->text(), "255");
    EXPECT_EQ(ui->greenValueTextField->text(), "170");
    EXPECT_EQ(ui->blue24BitValueTextField->text(), "88");
    EXPECT_EQ(ui->colourWell->color(), rgb(0xff, 0xaa, 0x88));
    EXPECT_EQ(source->paletteEntries(), Colour::amigaDefaults(256)) << "selecting changes nothing";

    ui->colourRegisterSlider->setFocus();
    QTest::keyClick(ui->colourRegisterSlider, Qt::Key_Home);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(ui->colourRegisterSlider, Qt::Key_Right);
    slide(ui->agaColourBankSlider, 3);
    EXPECT_EQ(ui->agaColourBankTextField->text(), "3");
    EXPECT_EQ(ui->calculatedColourRegisterTextField->text(), "101");
    EXPECT_TRUE(code().startsWith("\tdc.w\tBPLCON3,$6c00\n\tdc.w\tCOLOR05,$0fa8\n"))
        << code().toStdString();
}

TEST_F(ColourTab, SelectionCycleKeepsColoursAndCarriesRainbowHeights) {
    // Clicking another entry: each keeps its colour, the editor shows the new one.
    click(4);
    click(6);
    EXPECT_EQ(entry(4), rgb(0x88, 0x00, 0x88));
    EXPECT_EQ(entry(6), rgb(0xee, 0x00, 0x00));
    EXPECT_EQ(ui->redValueTextField->text(), "238");

    // Adding an entry with Ctrl shows it; only an edit recolours both.
    click(8, Qt::ControlModifier);
    EXPECT_EQ(grid->selectedRows(), (QList<int>{6, 8}));
    EXPECT_EQ(ui->calculatedColourRegisterTextField->text(), "8");
    EXPECT_EQ(entry(6), rgb(0xee, 0x00, 0x00));
    slide(ui->blueSlider, 10);
    EXPECT_EQ(entry(6), rgb(0xff, 0x66, 10));
    EXPECT_EQ(entry(8), rgb(0xff, 0x66, 10));

    // Taking one of two out of the selection: the other is shown, nothing changes.
    click(8, Qt::ControlModifier);
    EXPECT_EQ(grid->selectedRows(), (QList<int>{6}));
    EXPECT_EQ(ui->calculatedColourRegisterTextField->text(), "6");
    EXPECT_EQ(entry(6), rgb(0xff, 0x66, 10));
    EXPECT_EQ(entry(8), rgb(0xff, 0x66, 10));

    // Ending the selection resets the editor to black and leaves the entries alone.
    grid->clearSelection();
    EXPECT_EQ(ui->redValueTextField->text(), "0");
    EXPECT_EQ(ui->colourWell->color(), rgb(0, 0, 0));
    EXPECT_EQ(entry(6), rgb(0xff, 0x66, 10));

    // Heights: typed while one entry is selected, they stay with that entry.
    // The start line is typed as hex; upper-case digits are taken as lower case.
    ui->rainbowStartTextField->clear();
    QTest::keyClicks(ui->rainbowStartTextField, "2C");
    EXPECT_EQ(ui->rainbowStartTextField->text(), "2c");
    click(0);
    QTest::keyClicks(ui->rainbowIndexHeightTextField, "4");
    click(1);
    EXPECT_EQ(ui->rainbowIndexHeightTextField->text(), "0");
    ui->rainbowIndexHeightTextField->selectAll();
    QTest::keyClicks(ui->rainbowIndexHeightTextField, "4");
    ui->outputRainbowCodeButton->click();
    const QString rainbow = code();
    EXPECT_TRUE(rainbow.startsWith("\tdc.w\t$2c01,$fffe\n")) << rainbow.toStdString();
    EXPECT_TRUE(
        rainbow.contains("\tdc.w\t$3001,$fffe\n\tdc.w\tBPLCON3,$0c00\n\tdc.w\tCOLOR00,$0aaa\n"));
    EXPECT_TRUE(
        rainbow.contains("\tdc.w\t$3401,$fffe\n\tdc.w\tBPLCON3,$0c00\n\tdc.w\tCOLOR00,$0555\n"));
    EXPECT_TRUE(
        rainbow.contains("\tdc.w\t$3401,$fffe\n\tdc.w\tBPLCON3,$0c00\n\tdc.w\tCOLOR00,$0fff\n"))
        << "an entry of height 0 moves the next one no further";
    EXPECT_TRUE(rainbow.endsWith("\tdc.w\tBPLCON3,$0e00\n\tdc.w\tCOLOR00,$0aaa\n"
                                 "\tdc.w\tBPLCON3,$0c00\n"))
        << "the rainbow ends with BPLCON3's base, LOCT clear";
    click(0);
    EXPECT_EQ(ui->rainbowIndexHeightTextField->text(), "4");
    // Letters do not go into the height.
    QTest::keyClicks(ui->rainbowIndexHeightTextField, "x");
    EXPECT_EQ(ui->rainbowIndexHeightTextField->text(), "4");

    // NTSC: the frame ends after line $105, so from $fe the third entry ($106) is left out.
    ui->rainbowStartTextField->setText("fe");
    ui->ntscButton->click();
    ui->outputRainbowCodeButton->click();
    EXPECT_TRUE(code().contains("; line $106 is past the end of an NTSC frame"))
        << code().toStdString();
    EXPECT_EQ(ui->codeFramePreview->bands(0).back().lastLine, 0x105);
}

TEST_F(ColourTab, PaletteSizeChangesWithAndWithoutKeepingColours) {
    click(1);
    slide(ui->redSlider, 7);
    const Colour edited = entry(1);
    QSignalSpy resets(source, &QAbstractItemModel::modelReset);

    ui->keepExistingPaletteButton->click();
    choosePaletteSize("16");
    ASSERT_EQ(source->rowCount(), 16);
    EXPECT_EQ(entry(1), edited) << "edits are kept with the palette";
    EXPECT_EQ(entry(15), rgb(0x00, 0x00, 0xaa));
    choosePaletteSize("32");
    ASSERT_EQ(source->rowCount(), 32);
    EXPECT_EQ(entry(1), edited);
    for (int i = 16; i < 32; ++i)
        EXPECT_EQ(entry(i), Colour::defaultAmigaGrey());
    EXPECT_EQ(resets.size(), 2);

    choosePaletteSize("32"); // the size the palette has: nothing happens
    EXPECT_EQ(resets.size(), 2);

    ui->keepExistingPaletteButton->click();
    choosePaletteSize("4");
    EXPECT_EQ(source->paletteEntries(), Colour::amigaDefaults(4));
    choosePaletteSize("64");
    EXPECT_EQ(source->paletteEntries(), Colour::amigaDefaults(64));
}

TEST_F(ColourTab, ANewPaletteShowsItsFirstEntryInTheEditor) {
    click(3);
    // A load, and a new colour count (kept or not): entry 0 selected, its colour in the editor,
    // and an edit goes to it.
    const auto loaded = [this] {
        controller->usePaletteColours({rgb(0x12, 0x34, 0x56), rgb(0xab, 0xcd, 0xef)}, "two");
    };
    const auto newCount = [this] { choosePaletteSize("8"); };
    const auto keptCount = [this] {
        ui->keepExistingPaletteButton->click();
        choosePaletteSize("16");
    };
    for (const std::function<void()> &change :
         {std::function<void()>(loaded), {newCount}, {keptCount}}) {
        change();
        EXPECT_EQ(grid->selectedRows(), QList<int>{0});
        EXPECT_EQ(ui->redSlider->value(), Colour::eightBitValue(entry(0).redComponent()));
        EXPECT_EQ(ui->blueSlider->value(), Colour::eightBitValue(entry(0).blueComponent()));
    }
    slide(ui->redSlider, 0x77);
    EXPECT_EQ(Colour::eightBitValue(entry(0).redComponent()), 0x77);
}

TEST_F(ColourTab, CodeForTheEditedColourFollowsTheOptions) {
    slide(ui->agaColourBankSlider, 1);
    ui->colourRegisterSlider->setFocus();
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(ui->colourRegisterSlider, Qt::Key_Right);
    typeAndEnd(ui->redValueTextField, "18");
    typeAndEnd(ui->greenValueTextField, "52");
    typeAndEnd(ui->blueValueTextField, "86");
    EXPECT_EQ(code(), "\tdc.w\tBPLCON3,$2c00\n\tdc.w\tCOLOR05,$0135\n"
                      "\tdc.w\tBPLCON3,$2e00\n\tdc.w\tCOLOR05,$0246\n"
                      "\tdc.w\tBPLCON3,$0c00\n");
    // The BPLCON3 base field: the bank and LOCT are set in what it holds, and it is written last.
    typeAndEnd(ui->bplcon3TextField, "1020");
    ui->copperInstructionsButton->click();
    EXPECT_EQ(code(), "\tmove.w\t#$3020,BPLCON3(a6)\n\tmove.w\t#$0135,COLOR05(a6)\n"
                      "\tmove.w\t#$3220,BPLCON3(a6)\n\tmove.w\t#$0246,COLOR05(a6)\n"
                      "\tmove.w\t#$1020,BPLCON3(a6)\n");
    ui->agaChipsetButton->click();
    EXPECT_EQ(code(), "\tmove.w\t#$0135,COLOR05(a6)\n");
    ui->copperInstructionsButton->click();
    EXPECT_EQ(code(), "\tdc.w\tCOLOR05,$0135\n");

    ui->copyCodeButton->click();
    EXPECT_EQ(QApplication::clipboard()->text(), "\tdc.w\tCOLOR05,$0135\n");
    EXPECT_EQ(controller->codeOutputView(), ui->codeOutputTextView);
}

TEST_F(ColourTab, PaletteCodeListsWhatTheGridShows) {
    choosePaletteSize("2");
    click(1);
    EXPECT_EQ(ui->calculatedColourRegisterTextField->text(), "1");
    typeAndEnd(ui->redValueTextField, "255");
    typeAndEnd(ui->greenValueTextField, "255");
    typeAndEnd(ui->blueValueTextField, "255");
    ui->colourRegisterSlider->setFocus();
    QTest::keyClick(ui->colourRegisterSlider, Qt::Key_Home);
    ui->outputPaletteCodeButton->click();
    EXPECT_EQ(code(), "; AGA palette: 2 colours from bank 0 COLOR00, copper list data\n"
                      "\tdc.w\tBPLCON3,$0c00\n\tdc.w\tCOLOR00,$0000\n\tdc.w\tCOLOR01,$0fff\n"
                      "\tdc.w\tBPLCON3,$0e00\n\tdc.w\tCOLOR00,$0000\n\tdc.w\tCOLOR01,$0fff\n"
                      "\tdc.w\tBPLCON3,$0c00\n");
    // Without the copper: the same halves as move.w, BPLCON3 included.
    ui->copperInstructionsButton->click();
    ui->outputPaletteCodeButton->click();
    EXPECT_EQ(code(), "; AGA palette: 2 colours from bank 0 COLOR00, move.w with a6 = $dff000\n"
                      "\tmove.w\t#$0c00,BPLCON3(a6)\n\tmove.w\t#$0000,COLOR00(a6)\n"
                      "\tmove.w\t#$0fff,COLOR01(a6)\n\tmove.w\t#$0e00,BPLCON3(a6)\n"
                      "\tmove.w\t#$0000,COLOR00(a6)\n\tmove.w\t#$0fff,COLOR01(a6)\n"
                      "\tmove.w\t#$0c00,BPLCON3(a6)\n");
    ui->outputRainbowCodeButton->click();
    EXPECT_EQ(code(), "");
}

TEST_F(ColourTab, ColourWellPickGoesThroughTheEditor) {
    click(2);
    click(5, Qt::ControlModifier);
    emit ui->colourWell->colourPicked(rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(ui->redValueTextField->text(), "16");
    EXPECT_EQ(ui->greenSlider->value(), 32);
    EXPECT_EQ(ui->blue24BitValueTextField->text(), "30");
    EXPECT_EQ(entry(2), rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(entry(5), rgb(0x10, 0x20, 0x30));
}

TEST_F(ColourTab, DigitsOfOtherScriptsAreTheirValue) {
    // Arabic-Indic 200 and full-width 200 mean 200, as the formatter that admits them says.
    for (const QString &typed :
         {QString::fromUtf8("\u0662\u0660\u0660"), QString::fromUtf8("\uff12\uff10\uff10")}) {
        typeAndEnd(ui->greenValueTextField, typed);
        EXPECT_EQ(ui->greenSlider->value(), 200) << typed.toStdString();
        EXPECT_EQ(ui->green24BitValueTextField->text(), "c8");
    }
}

// The rainbow's preview: each entry's band on the lines the code gives it. Three entries of
// 4, 0 and 60 lines from line $f0: red on $f0-$f3, the second entry not at all (no lines), and
// blue from $f4 past the $ff/$100 wrap to the end of the frame; above $f0, black.
TEST_F(ColourTab, RainbowPreviewShowsEachEntryOnItsLines) {
    choosePaletteSize("4");
    source->setPaletteEntries({rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(0, 0, 0)});
    const int heights[] = {4, 0, 60, 0};
    for (int i = 0; i < 4; ++i)
        source->storeRainbowHeight(heights[i], i);
    ui->rainbowStartTextField->setText("f0");
    for (const int aga : {1, 0}) {
        ui->agaChipsetButton->setChecked(aga == 1);
        ui->outputRainbowCodeButton->click();
        EXPECT_EQ(ui->codeFramePreview->bands(0),
                  (QVector<CopperFramePreview::Band>{{0, 0xef, QColor(0, 0, 0)},
                                                     {0xf0, 0xf3, QColor(255, 0, 0)},
                                                     {0xf4, 0x12f, QColor(0, 0, 255)},
                                                     {0x130, 0x137, QColor(0, 0, 0)}}))
            << code().toStdString();
    }
}

TEST_F(ColourTab, ABankOfThirtyTwoIsOneBlockOfTheGrid) {
    choosePaletteSize("256");
    QApplication::processEvents();
    const int columns = grid->columns();
    ASSERT_TRUE(columns == 16 || columns == 8) << columns;
    // Every bank starts a row at the left edge, and its 32 cells fill whole rows.
    for (int bank = 0; bank < 8; ++bank) {
        const QRect first = cell(bank * 32);
        EXPECT_EQ(first.left(), cell(0).left()) << "bank " << bank;
        EXPECT_EQ(cell(bank * 32 + 31).top() - first.top(), (32 / columns - 1) * first.height())
            << "bank " << bank;
        EXPECT_GT(cell(bank * 32 + columns - 1).left(), first.left());
    }
}

TEST_F(ColourTab, AWhiteCellShowsItsEdgeOnAWhiteGround) {
    PaletteEntryCollectionViewItem white;
    white.setPaletteValuesForIndex(3, 1.0, 1.0, 1.0);
    QImage image(34, 34, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    white.draw(&painter, image.rect(), grid->palette(), false);
    painter.end();
    // Somewhere on the cell's outline a pixel is not white.
    bool edge = false;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            edge = edge || (image.pixel(x, y) != qRgb(255, 255, 255) &&
                            (x < 8 || y < 8 || x > 25 || y > 25));
    EXPECT_TRUE(edge);
}
