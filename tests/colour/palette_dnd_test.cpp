// Drops onto the grid's viewport: entries dragged within the grid, colours
// dragged in from outside.
#include "ColourTabFixture.h"

#include <QColor>

namespace {

Colour rgb(int r, int g, int b) {
    return Colour::convertFrom24BitWithRed(r, g, b);
}
const Colour red = rgb(255, 0, 0);
const Colour blue = rgb(0, 0, 255);

class PaletteDrops : public ColourTab {
protected:
    void SetUp() override {
        ColourTab::SetUp();
        source->updatePaletteEntryForCollectionView(2, red);
        source->updatePaletteEntryForCollectionView(5, blue);
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
        EXPECT_FALSE(controller->indexPathsOfItemsBeingDragged().has_value());
        return taken;
    }
};

} // namespace

TEST_F(PaletteDrops, OntoAnotherEntrySwapsOrCopies) {
    ASSERT_TRUE(dragFromGrid({2}, onto(5)));
    EXPECT_EQ(entry(2), blue);
    EXPECT_EQ(entry(5), red);
    EXPECT_EQ(shown(2), QColor(0, 0, 255));

    ui->dragDropMethodPopupButton->setCurrentIndex(1); // copy
    ASSERT_TRUE(dragFromGrid({5}, onto(2)));
    EXPECT_EQ(entry(2), red);
    EXPECT_EQ(entry(5), red);

    // Onto itself: nothing changes.
    ui->dragDropMethodPopupButton->setCurrentIndex(0);
    const QList<Colour> before = source->paletteEntries();
    ASSERT_TRUE(dragFromGrid({3}, onto(3)));
    EXPECT_EQ(source->paletteEntries(), before);
}

TEST_F(PaletteDrops, BetweenEntriesMovesTheEntryWithItsRainbowHeight) {
    source->storeRainbowHeight(9, 2);
    QList<Colour> expected = source->paletteEntries();
    // Between 5 and 6: it lands after the old entry 5, at index 5.
    ASSERT_TRUE(dragFromGrid({2}, before(6)));
    expected.move(2, 5);
    EXPECT_EQ(source->paletteEntries(), expected);
    EXPECT_EQ(source->itemAtIndex(5)->rainbowHeight(), 9);
    EXPECT_EQ(source->itemAtIndex(2)->rainbowHeight(), 0);
    EXPECT_EQ(source->data(source->index(5, 0)).toString(), "5");
    // Palette code lists the new order (the move reaches the palette).
    ui->outputPaletteCodeButton->click();
    EXPECT_TRUE(code().contains("\tdc.w\tCOLOR04,$000f\n\tdc.w\tCOLOR05,$0f00\n"))
        << code().toStdString();

    // Back to the front, and to the very end (past the last entry).
    ASSERT_TRUE(dragFromGrid({5}, before(0)));
    EXPECT_EQ(entry(0), red);
    ASSERT_TRUE(dragFromGrid({0}, QPoint(cell(31).right() + 10, cell(31).center().y())));
    EXPECT_EQ(entry(31), red);
    EXPECT_EQ(source->rowCount(), 32);
}

TEST_F(PaletteDrops, MovedSelectedEntryStaysSelectedAndShown) {
    click(2);
    ASSERT_TRUE(dragFromGrid({2}, before(8)));
    EXPECT_EQ(grid->selectedRows(), (QList<int>{7}));
    EXPECT_EQ(ui->calculatedColourRegisterTextField->text(), "7");
    EXPECT_EQ(ui->redValueTextField->text(), "255");
}

TEST_F(PaletteDrops, CtrlArrowsMoveTheSelectedEntryLikeADropBetweenEntries) {
    click(2);
    const Colour neighbour = entry(3);
    QTest::keyClick(grid, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(entry(3), red);
    EXPECT_EQ(entry(2), neighbour);
    EXPECT_EQ(grid->selectedRows(), (QList<int>{3}));
    EXPECT_EQ(ui->calculatedColourRegisterTextField->text(), "3");
    QTest::keyClick(grid, Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(entry(1), red);
    EXPECT_EQ(grid->selectedRows(), (QList<int>{1}));

    // The first entry stays first; with two entries selected nothing moves.
    click(0);
    const QList<Colour> before = source->paletteEntries();
    QTest::keyClick(grid, Qt::Key_Left, Qt::ControlModifier);
    click(1, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(source->paletteEntries(), before);
}

TEST_F(PaletteDrops, SeveralDraggedEntriesAreRefused) {
    const QList<Colour> before = source->paletteEntries();
    EXPECT_FALSE(dragFromGrid({2, 3}, onto(5)));
    EXPECT_EQ(source->paletteEntries(), before);
}

TEST_F(PaletteDrops, AColourFromOutsideSetsTheEntryAndSelectsItAlone) {
    click(1);
    click(3, Qt::ControlModifier);
    QMimeData colour;
    colour.setColorData(QColor(0x12, 0x34, 0x56));
    ASSERT_TRUE(drop(&colour, onto(7)));
    EXPECT_EQ(entry(7), rgb(0x12, 0x34, 0x56));
    EXPECT_EQ(grid->selectedRows(), (QList<int>{7}));
    EXPECT_EQ(ui->calculatedColourRegisterTextField->text(), "7");
    EXPECT_EQ(ui->green24BitValueTextField->text(), "34");
    EXPECT_EQ(entry(1), rgb(0xa0, 0xa0, 0xa0)) << "the entries selected before keep their colours";

    // The same entry again, already selected alone: the editor still follows.
    colour.setColorData(QColor(0xab, 0xcd, 0xef));
    ASSERT_TRUE(drop(&colour, onto(7)));
    EXPECT_EQ(ui->green24BitValueTextField->text(), "cd");

    // Between entries from outside: refused.
    const QList<Colour> unchanged = source->paletteEntries();
    EXPECT_FALSE(drop(&colour, before(9)));
    EXPECT_EQ(source->paletteEntries(), unchanged);

    // A colour as text.
    QMimeData text;
    text.setText("#ff8800");
    ASSERT_TRUE(drop(&text, onto(9)));
    EXPECT_EQ(entry(9), rgb(0xff, 0x88, 0x00));

    // Text that is no colour, and no data at all: refused, nothing changes.
    const QList<Colour> now = source->paletteEntries();
    QMimeData words;
    words.setText("not a colour");
    EXPECT_FALSE(drop(&words, onto(10)));
    QMimeData empty;
    EXPECT_FALSE(drop(&empty, onto(10)));
    EXPECT_EQ(source->paletteEntries(), now);
}

TEST_F(PaletteDrops, DraggedEntriesCarryTheirColourOut) {
    std::unique_ptr<QMimeData> mime(source->mimeData({source->index(5, 0)}));
    ASSERT_TRUE(mime);
    EXPECT_EQ(qvariant_cast<QColor>(mime->colorData()), QColor(0, 0, 255));
    EXPECT_EQ(mime->text(), "#0000ff");
}
