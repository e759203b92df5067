// The Colour tab's wiring: each control reaches ColourTool and the palette, each output shows
// what the tool computes (fields, well, code, preview, status line), the grid's drags and
// drops, palettes loaded from files, and one parity case with quillfen-iff palette.
#include "colour/ColourViewController.h"
#include "colour/PaletteDataSource.h"
#include "colour/PaletteEntryCollectionViewItem.h"
#include "common/CopperFramePreview.h"
#include "ui_ColourViewController.h"

#include "../convert/picture_path.h"
#include "QtPrinters.h"
#include "UserInput.h"
#include "colour_values.h"
#include "iff_bytes.h"
#include "run_program.h"
#include "scratch_files.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QInputDialog>
#include <QMimeData>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ColourTab : public ::testing::Test {
protected:
    void SetUp() override {
        controller = std::make_unique<ColourViewController>();
        controller->resize(900, 600);
        controller->show();
        QApplication::processEvents();
        ui = controller->controls();
        grid = ui->paletteEditorCollectionView;
        source = controller->paletteDataSource();
    }
    // Moves a slider with the keyboard: Home, then one step right at a time.
    static void slide(QSlider *slider, int value) {
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Home);
        for (int i = 0; i < value; ++i)
            QTest::keyClick(slider, Qt::Key_Right);
    }
    QRect cell(int row) const { return grid->visualRect(source->index(row, 0)); }
    void click(int row, Qt::KeyboardModifiers modifiers = {}) {
        grid->scrollTo(source->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell(row).center());
    }
    void choosePaletteSize(const char *count) {
        userinput::chooseWithKeys(ui->paletteColourEntriesPopupButton,
                                  ui->paletteColourEntriesPopupButton->findText(count));
    }
    Colour entry(int row) const { return source->paletteEntries().at(row); }
    QString code() const { return ui->codeOutputTextView->toPlainText(); }
    QString status() const { return ui->paletteStatusLabel->text(); }

    // Every output of the editor shows what the tool computes from what the controls hold.
    void expectEditorShowsTheTool(ColourTool::Output output = ColourTool::Output::Colour) {
        const ColourTool &tool = controller->tool();
        QStringList shown, wanted;
        for (const QWidget *field : std::initializer_list<const QWidget *>{
                 ui->redValueTextField, ui->red12BitValueTextField, ui->red24BitValueTextField,
                 ui->greenValueTextField, ui->green12BitValueTextField,
                 ui->green24BitValueTextField, ui->blueValueTextField, ui->blue12BitValueTextField,
                 ui->blue24BitValueTextField, ui->redSlider, ui->greenSlider, ui->blueSlider,
                 ui->agaColourBankSlider, ui->colourRegisterSlider,
                 ui->calculatedColourRegisterTextField})
            shown << field->property(qobject_cast<const QSlider *>(field) ? "value" : "text")
                         .toString();
        for (const int gun : {tool.red, tool.green, tool.blue})
            wanted << ColourTool::gunTexts(gun);
        for (const int value : {tool.red, tool.green, tool.blue, tool.bank, tool.colourRegister,
                                static_cast<int>(tool.paletteIndex())})
            wanted << QString::number(value);
        EXPECT_EQ(shown, wanted);
        EXPECT_EQ(ui->colourWell->color(), ColourTool::colourOf(tool.red, tool.green, tool.blue));
        EXPECT_EQ(code().toStdString(), tool.code(output, source->snapshot()));
    }

    // A drag over the grid that ends with a drop at point, refused or not; true when taken.
    bool drop(QMimeData *mime, QPoint point, Qt::DropActions actions = Qt::CopyAction) {
        QDragEnterEvent enter(point, actions, mime, Qt::LeftButton, Qt::NoModifier);
        QDragMoveEvent move(point, actions, mime, Qt::LeftButton, Qt::NoModifier);
        QDropEvent dropEvent(point, actions, mime, Qt::LeftButton, Qt::NoModifier);
        for (QEvent *event : std::initializer_list<QEvent *>{&enter, &move, &dropEvent})
            QApplication::sendEvent(grid->viewport(), event);
        return enter.isAccepted() && move.isAccepted() && dropEvent.isAccepted();
    }
    // A drag that started in the grid with these entries, dropped at point.
    bool dragFromGrid(const QList<int> &rows, QPoint point) {
        QModelIndexList indexes;
        for (int row : rows)
            indexes << source->index(row, 0);
        std::unique_ptr<QMimeData> mime(source->mimeData(indexes));
        controller->draggingSessionWillBegin(rows);
        const bool taken = drop(mime.get(), point, Qt::CopyAction | Qt::MoveAction);
        controller->draggingSessionEnded(taken ? Qt::MoveAction : Qt::IgnoreAction);
        return taken;
    }
    QPoint onto(int row) const { return cell(row).center(); }
    QPoint before(int row) const { return {cell(row).left() + 1, cell(row).center().y()}; }

    std::unique_ptr<ColourViewController> controller;
    Ui::ColourViewController *ui = nullptr;
    PaletteCollectionView *grid = nullptr;
    PaletteDataSource *source = nullptr;
};

} // namespace

TEST_F(ColourTab, TheEditorsControlsReachTheToolAndTheSelection) {
    EXPECT_EQ(source->paletteEntries(), Colour::amigaDefaults(32));
    expectEditorShowsTheTool();
    // Sliders: the edit reaches every selected entry and no other; the editor shows the entry
    // added last (8: ff 66 00).
    click(6);
    click(8, Qt::ControlModifier);
    slide(ui->greenSlider, 200);
    slide(ui->blueSlider, 10);
    expectEditorShowsTheTool();
    EXPECT_EQ(source->paletteEntries().mid(6, 3),
              (QList<Colour>{rgb(0xff, 200, 10), rgb(0x66, 0x22, 0x00), rgb(0xff, 200, 10)}));
    // A typed value is cut to 255 when its edit ends; its slider and fields follow.
    userinput::typeAndReturn(ui->redValueTextField, "300");
    expectEditorShowsTheTool();
    EXPECT_EQ(entry(8), rgb(255, 200, 10));
    // A colour picked in the well goes through the editor too.
    emit ui->colourWell->colourPicked(rgb(0x10, 0x20, 0x30));
    expectEditorShowsTheTool();
    EXPECT_EQ(entry(6), rgb(0x10, 0x20, 0x30));
    // One of two taken out of the selection: the other is shown; none: the editor is black.
    click(8, Qt::ControlModifier);
    EXPECT_EQ(controller->tool().paletteIndex(), 6);
    grid->clearSelection();
    EXPECT_EQ(ui->colourWell->color(), rgb(0, 0, 0));
    EXPECT_EQ(entry(6), rgb(0x10, 0x20, 0x30));
    // Another palette size keeps the colours, or not, as the box says.
    const QList<Colour> edited = source->paletteEntries();
    userinput::click(ui->keepExistingPaletteButton);
    choosePaletteSize("64");
    EXPECT_EQ(source->paletteEntries(), ColourTool::resized(edited, 64, true));
    userinput::click(ui->keepExistingPaletteButton);
    choosePaletteSize("4");
    EXPECT_EQ(source->paletteEntries(), Colour::amigaDefaults(4));
    // A new palette shows its first entry in the editor, and an edit goes to it.
    EXPECT_EQ(grid->selectedRows(), QList<int>{0});
    slide(ui->redSlider, 0x77);
    EXPECT_EQ(entry(0), rgb(0x77, 0, 0));
}

TEST_F(ColourTab, SelectingAnEntryLoadsItsColourAndPlace) {
    choosePaletteSize("256");
    ASSERT_EQ(source->rowCount(), 256);
    // The grid draws banks as blocks and every cell visibly.
    QApplication::processEvents();
    const int columns = grid->columns();
    ASSERT_TRUE(columns == 16 || columns == 8) << columns;
    // Every bank starts a row at the left edge, and its 32 cells fill whole rows.
    for (int bank = 0; bank < 8; ++bank) {
        const QRect first = cell(bank * 32);
        EXPECT_EQ(first.left(), cell(0).left()) << bank;
        EXPECT_EQ(cell(bank * 32 + 31).top() - first.top(), (32 / columns - 1) * first.height());
    }
    // A white cell shows its edge on a white ground.
    PaletteEntryCollectionViewItem white;
    white.setPaletteValuesForIndex(3, 1.0, 1.0, 1.0);
    QImage image(34, 34, QImage::Format_RGB32), ground(8, 34, QImage::Format_RGB32);
    image.fill(Qt::white);
    ground.fill(Qt::white);
    QPainter painter(&image);
    white.draw(&painter, image.rect(), grid->palette(), false);
    painter.end();
    EXPECT_NE(image.copy(0, 0, 8, 34), ground) << "no edge on the left";
    // A selected entry's colour and place go to the editor.
    for (const int row : {70, 9}) {
        click(row);
        EXPECT_EQ(controller->tool().paletteIndex(), row);
        EXPECT_EQ(rgb(controller->tool().red, controller->tool().green, controller->tool().blue),
                  entry(row));
        expectEditorShowsTheTool();
    }
    EXPECT_EQ(source->paletteEntries(), Colour::amigaDefaults(256)) << "selecting changes nothing";
    // The bank and register sliders, and the options, reach the code.
    slide(ui->agaColourBankSlider, 3);
    slide(ui->colourRegisterSlider, 5);
    EXPECT_EQ(controller->tool().paletteIndex(), 101);
    userinput::typeAndReturn(ui->bplcon3TextField, "1020");
    userinput::click(ui->copperInstructionsButton);
    EXPECT_EQ(controller->tool().bplcon3, "1020");
    EXPECT_FALSE(controller->tool().copper);
    expectEditorShowsTheTool();
    userinput::click(ui->agaChipsetButton);
    EXPECT_FALSE(controller->tool().aga);
    expectEditorShowsTheTool();
    // An emptied BPLCON3 field shows the reset value again.
    userinput::typeAndReturn(ui->bplcon3TextField, "");
    EXPECT_EQ(ui->bplcon3TextField->text(), "0c00");
    ui->copyCodeButton->click();
    EXPECT_EQ(QApplication::clipboard()->text(), code());
}

TEST_F(ColourTab, PaletteAndRainbowCodeWithTheirPreview) {
    choosePaletteSize("4");
    source->setPaletteEntries({rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(0, 0, 0)});
    // Heights typed while one entry is selected stay with that entry.
    for (const auto &[row, height] : {std::pair{0, "4"}, {2, "60"}}) {
        click(row);
        userinput::type(ui->rainbowIndexHeightTextField, height);
    }
    click(1);
    EXPECT_EQ(ui->rainbowIndexHeightTextField->text(), "0");
    click(0);
    EXPECT_EQ(ui->rainbowIndexHeightTextField->text(), "4");
    userinput::type(ui->rainbowStartTextField, "f0");
    ui->outputRainbowCodeButton->click();
    expectEditorShowsTheTool(ColourTool::Output::Rainbow);
    // The preview shows the rainbow (its lines are the amiga library's): blue from $f4 past
    // the $ff/$100 wrap for 60 lines, after red's 4 and none of the second entry.
    EXPECT_EQ(ui->codeFramePreview->bands(0).at(2),
              (CopperFramePreview::Band{0xf4, 0x12f, QColor(0, 0, 255)}));
    // NTSC: the frame ends after line $105, in the code and in the preview.
    ui->ntscButton->click();
    ui->outputRainbowCodeButton->click();
    expectEditorShowsTheTool(ColourTool::Output::Rainbow);
    EXPECT_EQ(ui->codeFramePreview->bands(0).back().lastLine, 0x105);
}

TEST_F(ColourTab, EntriesDraggedWithinTheGridAndColoursDroppedFromOutside) {
    source->updatePaletteEntryForCollectionView(2, rgb(255, 0, 0));
    source->updatePaletteEntryForCollectionView(5, rgb(0, 0, 255));
    source->storeRainbowHeight(9, 2);
    // Onto another entry: swap, or copy as the pop-up says.
    ASSERT_TRUE(dragFromGrid({2}, onto(5)));
    EXPECT_EQ((QList<Colour>{entry(2), entry(5)}), (QList<Colour>{rgb(0, 0, 255), rgb(255, 0, 0)}));
    userinput::chooseWithKeys(ui->dragDropMethodPopupButton, 1);
    ASSERT_TRUE(dragFromGrid({5}, onto(2)));
    EXPECT_EQ((QList<Colour>{entry(2), entry(5)}), (QList<Colour>{rgb(255, 0, 0), rgb(255, 0, 0)}));
    // Between entries: moved with its rainbow height to where the tool says; the editor follows
    // the selected entry.
    QList<Colour> expected = source->paletteEntries();
    click(2);
    ASSERT_TRUE(dragFromGrid({2}, before(8)));
    expected.move(2, ColourTool::movedTo(2, 8));
    EXPECT_EQ(source->paletteEntries(), expected);
    EXPECT_EQ(source->itemAtIndex(7)->rainbowHeight(), 9);
    EXPECT_EQ(grid->selectedRows(), QList<int>{7});
    EXPECT_EQ(controller->tool().paletteIndex(), 7);
    // Ctrl+arrows move the selected entry like a drop between entries; the first stays first.
    QTest::keyClick(grid, Qt::Key_Left, Qt::ControlModifier);
    expected.move(7, 6);
    EXPECT_EQ(source->paletteEntries(), expected);
    EXPECT_EQ(controller->tool().paletteIndex(), 6);
    click(0);
    QTest::keyClick(grid, Qt::Key_Left, Qt::ControlModifier);
    // Several entries at once are refused.
    EXPECT_FALSE(dragFromGrid({2, 3}, onto(5)));
    EXPECT_EQ(source->paletteEntries(), expected);

    // A colour dropped from outside onto an entry.
    click(1);
    click(3, Qt::ControlModifier);
    QMimeData colour;
    colour.setColorData(QColor(0x12, 0x34, 0x56));
    ASSERT_TRUE(drop(&colour, onto(7)));
    EXPECT_EQ(entry(7), rgb(0x12, 0x34, 0x56));
    EXPECT_EQ(grid->selectedRows(), QList<int>{7}); // selected alone, shown in the editor
    expectEditorShowsTheTool();
    EXPECT_EQ(entry(1), rgb(0xa0, 0xa0, 0xa0));
    QMimeData text;
    text.setText("#ff8800");
    ASSERT_TRUE(drop(&text, onto(9)));
    EXPECT_EQ(entry(9), rgb(0xff, 0x88, 0x00));
    // Between entries, text that is no colour, no data: refused, nothing changes.
    const QList<Colour> now = source->paletteEntries();
    QMimeData words, empty;
    words.setText("not a colour");
    EXPECT_FALSE(drop(&colour, before(9)));
    EXPECT_FALSE(drop(&words, onto(10)));
    EXPECT_FALSE(drop(&empty, onto(10)));
    EXPECT_EQ(source->paletteEntries(), now);
    // An entry dragged out carries its colour as a colour and as text.
    std::unique_ptr<QMimeData> mime(source->mimeData({source->index(9, 0)}));
    EXPECT_EQ(qvariant_cast<QColor>(mime->colorData()), QColor(0xff, 0x88, 0x00));
    EXPECT_EQ(mime->text(), "#ff8800");
}

// Palettes of real pictures (tests/ilbm/pictures, see SOURCES.md there); the tab prints the
// palette code quillfen-iff palette prints for the same file.
TEST_F(ColourTab, PalettesLoadedFromFiles) {
    testfiles::Folder dir;
    // A file without a palette changes nothing and says why.
    click(3);
    const QList<Colour> before = source->paletteEntries();
    // The second is refused before it is read: it would never end.
    for (const auto &[path, says] :
         {std::pair{picturePath("truncated-bmhd-chunk.iff"),
                    "Cannot load a palette from “truncated-bmhd-chunk.iff”: "},
          {QStringLiteral("/dev/zero"), "not a regular file"}}) {
        EXPECT_FALSE(controller->decodePaletteWithURL(path)) << path.toStdString();
        EXPECT_TRUE(status().contains(QString::fromUtf8(says))) << status().toStdString();
        // No library mark glued into the sentence.
        EXPECT_FALSE(status().contains("error:", Qt::CaseInsensitive)) << status().toStdString();
    }
    EXPECT_EQ(source->paletteEntries(), before);
    EXPECT_EQ(grid->selectedRows(), QList<int>{3});

    const QString ham6 = picturePath("ham6.iff");
    source->storeRainbowHeight(6, 1); // heights stay with their indexes
    ASSERT_TRUE(controller->decodePaletteWithURL(ham6));
    EXPECT_EQ(source->itemAtIndex(1)->rainbowHeight(), 6);
    EXPECT_EQ(ui->paletteColourEntriesPopupButton->currentText(), "16");
    EXPECT_EQ(status(), ColourTool::loadedStatus(16, "ham6.iff"));
    EXPECT_EQ(grid->selectedRows(), QList<int>{0});
    ui->outputPaletteCodeButton->click();
    const testprogram::Outcome program =
        testprogram::run(QUILLFEN_IFF_TOOL, "palette --aga '" + ham6.toStdString() + "'");
    EXPECT_EQ(code().toStdString(), program.out) << program.err;
    // Of several pictures the user chooses one: a CAT of a real picture of 8 colours and one of
    // 5, a count the pop-up has no item for: it keeps its choice.
    const iffbytes::Bytes five = iffbytes::group(
        "FORM", "ILBM",
        {iffbytes::bmhd(1, 1, 3),
         iffbytes::chunk("CMAP", {0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0xff, 0xff, 0xff}),
         iffbytes::chunk("BODY", {0, 0, 0, 0, 0, 0})});
    const std::string cat = dir.file("two.iff");
    ASSERT_TRUE(iffbytes::save(
        cat, iffbytes::group("CAT ", "ILBM",
                             {testfiles::load(picturePath("gradient.iff").toStdString()), five})));
    EXPECT_FALSE(controller->decodePaletteWithURL(QString::fromStdString(cat)));
    auto *dialog = controller->findChild<QInputDialog *>("choosePictureDialog");
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->comboBoxItems().size(), 2);
    EXPECT_TRUE(dialog->comboBoxItems()[1].startsWith("2: "))
        << dialog->comboBoxItems()[1].toStdString();
    dialog->setTextValue(dialog->comboBoxItems()[1]);
    QSignalSpy loaded(controller.get(), &ColourViewController::paletteRead);
    dialog->accept();
    ASSERT_TRUE(!loaded.isEmpty() || loaded.wait());
    EXPECT_EQ(source->paletteEntries(), (QList<Colour>{rgb(0, 0, 0), rgb(1, 2, 3), rgb(4, 5, 6),
                                                       rgb(7, 8, 9), rgb(255, 255, 255)}));
    EXPECT_EQ(ui->paletteColourEntriesPopupButton->currentText(), "16");
}
