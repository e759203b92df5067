#include "CopperToolDriver.h"
#include "common/CopperFramePreview.h"
#include "common/HexFormatter.h"

#include "QtPrinters.h"
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

class CopperTool : public CopperToolDriver {
protected:
    QStringList rows() const {
        QStringList texts;
        for (int r = 0; r < model->rowCount(); ++r)
            texts << model->index(r).data().toString();
        return texts;
    }
    QRect rowRect(int row) const { return ui->sequenceTableView->visualRect(model->index(row)); }
    void selectRowByMouse(int row) {
        QTest::mouseClick(ui->sequenceTableView->viewport(), Qt::LeftButton, {},
                          rowRect(row).center());
    }
    // A double click as the window system delivers it: a click, then the
    // second press as a double-click event, then its release.
    void doubleClickRow(int row) {
        QWidget *viewport = ui->sequenceTableView->viewport();
        const QPoint at = rowRect(row).center();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    }
    // Four distinct rows: MOVEs to COLOR00..COLOR03.
    void addFourRows() {
        for (int i = 0; i < 4; ++i)
            addMove(QStringLiteral("COLOR0%1").arg(i), "0" + QString::number(i), "00");
    }
    // What a drag of row would carry.
    std::unique_ptr<QMimeData> dragData(int row) const {
        return std::unique_ptr<QMimeData>(model->mimeData({model->index(row)}));
    }
    // Drags and drops through the list view's own drag-and-drop handling.
    bool dropAt(const QMimeData *data, QPoint position) {
        QWidget *viewport = ui->sequenceTableView->viewport();
        QDragEnterEvent enter(position, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(position, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        if (!move.isAccepted())
            return false;
        QDropEvent drop(position, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        return drop.isAccepted();
    }
    QPoint gapBefore(int row) const { return rowRect(row).topLeft() + QPoint(10, 1); }
};

// --- Input fields -------------------------------------------------------------

TEST_F(CopperTool, HexFieldsShareOneTwoDigitFormatter) {
    const QList<QLineEdit *> hexFields = {
        ui->initialVerticalWaitTextField, ui->initialHorizontalWaitTextField,
        ui->initialVerticleMaskTextField, ui->initialHorizontalMaskTextField,
        ui->moveVerticalValueTextField,   ui->moveHorizontalValueTextField,
        ui->waitVerticalValueTextField,   ui->waitHorizontalValueTextField,
        ui->waitVerticleMaskTextField,    ui->waitHorizontalMaskTextField};
    const QValidator *shared = hexFields.first()->validator();
    ASSERT_TRUE(qobject_cast<const HexFormatter *>(shared));
    for (QLineEdit *field : hexFields) {
        EXPECT_EQ(field->validator(), shared) << field->objectName().toStdString();
        // G and - are refused; F is taken as f; then the field is full.
        type(field, "aG-F9c1");
        EXPECT_EQ(field->text(), "af") << field->objectName().toStdString();
    }
    for (QLineEdit *field : {ui->iterationsTextField, ui->moveRegisterTextField})
        EXPECT_EQ(field->validator(), nullptr);
}

TEST_F(CopperTool, AutoCheckBoxesEmptyAndLockTheirField) {
    const std::pair<QCheckBox *, QLineEdit *> pairs[] = {
        {ui->moveAutoVerticalValueButton, ui->moveVerticalValueTextField},
        {ui->moveAutoHorizontalValueButton, ui->moveHorizontalValueTextField}};
    for (auto [box, field] : pairs) {
        type(field, "3c");
        click(box);
        EXPECT_TRUE(box->isChecked());
        EXPECT_EQ(field->text(), "");
        EXPECT_FALSE(field->isEnabled());
        field->setText("7"); // left over from elsewhere: turning the box off empties it again
        click(box);
        EXPECT_EQ(field->text(), "");
        EXPECT_TRUE(field->isEnabled());
    }
    // The other field is left alone.
    type(ui->moveHorizontalValueTextField, "11");
    click(ui->moveAutoVerticalValueButton);
    EXPECT_EQ(ui->moveHorizontalValueTextField->text(), "11");
    type(ui->moveRegisterTextField, "COLOR00");
    click(ui->addMoveButton);
    EXPECT_EQ(rows(), QStringList{"[MOVE] COLOR00,$--11"});
}

// --- Adding instructions ------------------------------------------------------

TEST_F(CopperTool, AddingMovesAndWaits) {
    addMove("", "0f", "00");
    EXPECT_EQ(model->rowCount(), 0);
    addMove("COLOR00", "0f", "0");
    addWait("", "", "", "");
    addWait("10", "7", "7f", "fe");
    EXPECT_EQ(rows(),
              (QStringList{"[MOVE] COLOR00,$0f00", "[WAIT] $--01,$0000", "[WAIT] $1007,$7ffe"}));
    // The fields keep their texts for the next one.
    EXPECT_EQ(ui->moveRegisterTextField->text(), "COLOR00");
    EXPECT_EQ(ui->waitHorizontalValueTextField->text(), "7");
}

TEST_F(CopperTool, TheRegisterOfAMoveIsOneTheChipsHave) {
    QLabel *message = ui->moveRegisterMessageLabel;
    EXPECT_EQ(message->accessibleName(), "MOVE register message");
    EXPECT_TRUE(message->text().isEmpty());
    // Refused, with the reason in the tab: nothing, blanks, a name or offset of no register.
    for (const char *refused : {"", "   ", "COLOR32", "COLOR 02", "$181", "$200", "dff200x"}) {
        addMove(refused, "0f", "00");
        EXPECT_EQ(model->rowCount(), 0) << refused;
        EXPECT_FALSE(message->text().isEmpty()) << refused;
        EXPECT_TRUE(message->isVisible());
    }
    EXPECT_TRUE(message->text().contains("COLOR00")) << message->text().toStdString();
    EXPECT_TRUE(message->text().contains("dff200x")) << message->text().toStdString();
    // Taken in any case and form, shown as its name in upper case or as its offset.
    for (const char *accepted : {"COLOR02 ", " color02", "$184", "184", "$dff184", "0x184"})
        addMove(accepted, "0f", "00");
    addMove("$1f0", "00", "01");
    EXPECT_TRUE(message->text().isEmpty());
    const QStringList shown = rows();
    ASSERT_EQ(shown.size(), 7);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(shown[i], "[MOVE] COLOR02,$0f00");
    EXPECT_EQ(shown[6], "[MOVE] $1f0,$0001");
}

TEST_F(CopperTool, SkipBoxMakesTheNextWaitASkip) {
    EXPECT_EQ(ui->waitSkipButton->accessibleName(), "WAIT is a SKIP");
    addWait("", "06", "ff", "ff");
    click(ui->waitSkipButton);
    addWait("", "06", "ff", "fe");
    EXPECT_EQ(rows(), (QStringList{"[WAIT] $--07,$fffe", "[SKIP] $--07,$ffff"}));
    setLines("1", "2c", "07", "ff", "fe");
    EXPECT_EQ(generate(), "\tdc.w\t$2c07,$fffe,$2c07,$fffe,$2c07,$ffff\n");
}

TEST_F(CopperTool, DoubleClickLoadsARowBackIntoItsFields) {
    click(ui->moveAutoVerticalValueButton);
    addMove("BPL1MOD", "", "28");
    click(ui->moveAutoVerticalValueButton);
    addMove("COLOR05", "0a", "0b");
    addWait("2c", "e1", "ff", "fe");
    addWait("", "", "", "");

    doubleClickRow(0);
    EXPECT_EQ(ui->moveRegisterTextField->text(), "BPL1MOD");
    EXPECT_TRUE(ui->moveAutoVerticalValueButton->isChecked());
    EXPECT_FALSE(ui->moveVerticalValueTextField->isEnabled());
    EXPECT_EQ(ui->moveVerticalValueTextField->text(), "");
    EXPECT_EQ(ui->moveHorizontalValueTextField->text(), "28");
    // Re-added unchanged it is the same instruction again.
    click(ui->addMoveButton);
    EXPECT_EQ(rows().last(), rows().first());

    doubleClickRow(1);
    EXPECT_FALSE(ui->moveAutoVerticalValueButton->isChecked());
    EXPECT_TRUE(ui->moveVerticalValueTextField->isEnabled());
    EXPECT_EQ(ui->moveVerticalValueTextField->text(), "0a");

    doubleClickRow(2);
    EXPECT_EQ(ui->waitVerticalValueTextField->text(), "2c");
    EXPECT_EQ(ui->waitHorizontalMaskTextField->text(), "fe");
    EXPECT_FALSE(ui->waitSkipButton->isChecked());
    doubleClickRow(3);
    click(ui->addWaitButton);
    EXPECT_EQ(rows().last(), "[WAIT] $--01,$0000");

    // A SKIP comes back as a SKIP, and the box goes off again for a WAIT.
    click(ui->waitSkipButton);
    addWait("40", "", "ff", "fe");
    click(ui->waitSkipButton);
    doubleClickRow(model->rowCount() - 1);
    EXPECT_TRUE(ui->waitSkipButton->isChecked());
    doubleClickRow(2);
    EXPECT_FALSE(ui->waitSkipButton->isChecked());
}

// --- Output -------------------------------------------------------------------

TEST_F(CopperTool, WorkedExamplesPrintOneLinePerDisplayLine) {
    // An empty sequence prints each line's WAIT on its own line.
    setLines("3", "2c", "07", "ff", "fe");
    EXPECT_EQ(generate(), "\tdc.w\t$2c07,$fffe\n\tdc.w\t$2d07,$fffe\n\tdc.w\t$2e07,$fffe\n");

    click(ui->moveAutoVerticalValueButton);
    addMove("COLOR00", "", "00");
    EXPECT_EQ(generate(), "\tdc.w\t$2c07,$fffe,COLOR00,$2c00\n"
                          "\tdc.w\t$2d07,$fffe,COLOR00,$2d00\n"
                          "\tdc.w\t$2e07,$fffe,COLOR00,$2e00\n");

    click(ui->clearSequenceButton);
    click(ui->moveAutoVerticalValueButton);
    addMove("COLOR00", "0f", "00");
    addWait("00", "e1", "ff", "fe");
    EXPECT_TRUE(generate().startsWith("\tdc.w\t$2c07,$fffe,COLOR00,$0f00,$2ce1,$fffe\n"));
}

TEST_F(CopperTool, TheOutputFollowsEveryChangeWithoutGenerate) {
    const auto shown = [this] { return ui->sequenceOutputTextView->toPlainText(); };
    setLines("2", "2c", "07", "ff", "fe");
    EXPECT_EQ(shown(), "\tdc.w\t$2c07,$fffe\n\tdc.w\t$2d07,$fffe\n");
    addMove("COLOR00", "0f", "00");
    EXPECT_EQ(shown(), "\tdc.w\t$2c07,$fffe,COLOR00,$0f00\n\tdc.w\t$2d07,$fffe,COLOR00,$0f00\n");
    type(ui->iterationsTextField, "1");
    EXPECT_EQ(shown(), "\tdc.w\t$2c07,$fffe,COLOR00,$0f00\n");
    controller->undoStack()->undo();
    EXPECT_EQ(shown(), "\tdc.w\t$2c07,$fffe\n");
    controller->undoStack()->redo();
    click(ui->clearSequenceButton);
    EXPECT_EQ(shown(), "\tdc.w\t$2c07,$fffe\n");
    controller->undoStack()->undo();
    EXPECT_EQ(controller->codeOutputView(), ui->sequenceOutputTextView);
    EXPECT_TRUE(ui->sequenceOutputTextView->isReadOnly());
    QApplication::clipboard()->clear();
    click(ui->copyOutputButton);
    EXPECT_EQ(QApplication::clipboard()->text(), "\tdc.w\t$2c07,$fffe,COLOR00,$0f00\n");
}

TEST_F(CopperTool, IterationCountIsReadLikeADecimalNumber) {
    setLines("2", "2c", "07", "ff", "fe");
    addWait("", "", "ff", "fe");
    EXPECT_EQ(generate().count('\n'), 2);
    for (const char *nothing : {"0", "-3", "lines", ""}) {
        type(ui->iterationsTextField, nothing);
        EXPECT_EQ(generate(), "") << nothing;
    }
    type(ui->iterationsTextField, "  +3 lines");
    EXPECT_EQ(generate().count('\n'), 3);
}

TEST_F(CopperTool, AnyLineCountStopsAtTheEndOfTheFrame) {
    setLines("", "2c", "07", "ff", "fe");
    addWait("", "", "ff", "fe");
    // Lines $2c-$137 (268), the wait for the end of line $ff, and the comment for the rest.
    for (const char *huge : {"65537", "99999999999999999999999", "269"}) {
        type(ui->iterationsTextField, huge);
        const QString text = generate();
        EXPECT_EQ(text.count('\n'), 268 + 2) << huge;
        EXPECT_TRUE(text.section('\n', -2, -2).startsWith("; lines from $138 on are past the end"))
            << text.section('\n', -2, -2).toStdString();
    }
    type(ui->iterationsTextField, "268");
    EXPECT_EQ(generate().count('\n'), 268 + 1);
    EXPECT_FALSE(generate().contains("past the end"));
}

TEST_F(CopperTool, MasksArePrintedAsTwoDigitBytes) {
    addWait("", "", "ff", "fe");
    struct Case {
        const char *vertical, *horizontal, *word;
    } cases[] = {{"ff", "fe", "$fffe"},
                 {"f", "fe", "$0ffe"},
                 {"ff", "e", "$ff0e"},
                 {"", "", "$0000"},
                 // Bit 0 of the horizontal mask would make the line's WAIT a SKIP.
                 {"ff", "ff", "$fffe"}};
    for (const Case &c : cases) {
        setLines("1", "2c", "07", c.vertical, c.horizontal);
        EXPECT_EQ(generate(), QStringLiteral("\tdc.w\t$2c07,%1,$2c01,$fffe\n").arg(c.word));
    }
}

TEST_F(CopperTool, LinesPastFfWaitForTheEndOfLineFfFirst) {
    setLines("2", "ff", "07", "ff", "fe");
    click(ui->moveAutoVerticalValueButton);
    addMove("COLOR00", "", "00");
    EXPECT_EQ(generate(),
              "\tdc.w\t$ff07,$fffe,COLOR00,$ff00\n"
              "\tdc.w\t$ffdf,$fffe\t; end of line $ff: later lines count from $00 again\n"
              "\tdc.w\t$0007,$fffe,COLOR00,$0000\n");
}

// --- Selection, copy, remove, clear -------------------------------------------

TEST_F(CopperTool, ButtonsFollowTheRealSelection) {
    EXPECT_FALSE(ui->xcopyCommandButton->isEnabled());
    EXPECT_FALSE(ui->removeCommandButton->isEnabled());
    // Nothing selected: copy and remove do nothing, even on an empty list.
    controller->copyCommand();
    controller->removeCommand();
    addFourRows();
    controller->copyCommand();
    controller->removeCommand();
    EXPECT_EQ(model->rowCount(), 4);

    selectRowByMouse(1);
    EXPECT_EQ(controller->selectedCommandRow(), 1);
    EXPECT_TRUE(ui->xcopyCommandButton->isEnabled());
    EXPECT_TRUE(ui->removeCommandButton->isEnabled());

    click(ui->removeCommandButton);
    EXPECT_EQ(rows(), (QStringList{"[MOVE] COLOR00,$0000", "[MOVE] COLOR02,$0200",
                                   "[MOVE] COLOR03,$0300"}));
    // The list selects the next row; the remembered row and the buttons follow.
    EXPECT_EQ(ui->sequenceTableView->selectionModel()->selectedRows().value(0).row(), 1);
    EXPECT_EQ(controller->selectedCommandRow(), 1);
    EXPECT_TRUE(ui->removeCommandButton->isEnabled());
    // Removing the last row selects the one before it.
    selectRowByMouse(2);
    click(ui->removeCommandButton);
    EXPECT_EQ(controller->selectedCommandRow(), 1);
    EXPECT_EQ(rows().last(), "[MOVE] COLOR02,$0200");

    selectRowByMouse(2);
    click(ui->clearSequenceButton);
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(controller->selectedCommandRow(), -1);
    EXPECT_FALSE(ui->xcopyCommandButton->isEnabled());
    controller->copyCommand();
    controller->removeCommand();
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(CopperTool, DeleteKeyRemovesTheSelectedRow) {
    addFourRows();
    selectRowByMouse(3);
    QTest::keyClick(ui->sequenceTableView, Qt::Key_Delete);
    EXPECT_EQ(rows(), (QStringList{"[MOVE] COLOR00,$0000", "[MOVE] COLOR01,$0100",
                                   "[MOVE] COLOR02,$0200"}));
    QTest::keyClick(ui->sequenceTableView, Qt::Key_Backspace);
    EXPECT_EQ(model->rowCount(), 2);
    // With nothing selected the key does nothing; in a field it edits the field.
    ui->sequenceTableView->clearSelection();
    QTest::keyClick(ui->sequenceTableView, Qt::Key_Delete);
    EXPECT_EQ(model->rowCount(), 2);
    type(ui->moveRegisterTextField, "COLOR1");
    QTest::keyClick(ui->moveRegisterTextField, Qt::Key_Backspace);
    EXPECT_EQ(ui->moveRegisterTextField->text(), "COLOR");
    EXPECT_EQ(model->rowCount(), 2);
}

TEST_F(CopperTool, KeyboardLoadsAndMovesTheSelectedRow) {
    addFourRows();
    selectRowByMouse(1);
    QTest::keyClick(ui->sequenceTableView, Qt::Key_Return);
    EXPECT_EQ(ui->moveRegisterTextField->text(), "COLOR01");
    EXPECT_EQ(ui->moveVerticalValueTextField->text(), "01");

    // Ctrl+Down twice takes row 1 to the end; the selection goes with it.
    QTest::keyClick(ui->sequenceTableView, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(ui->sequenceTableView, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(rows(), (QStringList{"[MOVE] COLOR00,$0000", "[MOVE] COLOR02,$0200",
                                   "[MOVE] COLOR03,$0300", "[MOVE] COLOR01,$0100"}));
    // At the end it stays; Ctrl+Up moves it back one place.
    QTest::keyClick(ui->sequenceTableView, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(ui->sequenceTableView, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(rows(), (QStringList{"[MOVE] COLOR00,$0000", "[MOVE] COLOR02,$0200",
                                   "[MOVE] COLOR01,$0100", "[MOVE] COLOR03,$0300"}));
    QTest::keyClick(ui->sequenceTableView, Qt::Key_Delete);
    EXPECT_EQ(rows(), (QStringList{"[MOVE] COLOR00,$0000", "[MOVE] COLOR02,$0200",
                                   "[MOVE] COLOR03,$0300"}));
}

TEST_F(CopperTool, CopyAppendsANewInstructionAndKeepsTheSelection) {
    addMove("COLOR00", "0f", "00");
    addWait("10", "07", "7f", "fe");
    addMove("COLOR01", "00", "0f");
    selectRowByMouse(0);
    click(ui->xcopyCommandButton);
    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_EQ(rows()[3], rows()[0]);
    EXPECT_FALSE(model->objectAt(3)->uuid().isNull());
    EXPECT_NE(model->objectAt(3)->uuid(), model->objectAt(0)->uuid());
    EXPECT_EQ(controller->selectedCommandRow(), 0);
    EXPECT_EQ(ui->sequenceTableView->selectionModel()->selectedRows().value(0).row(), 0);
    // The copy is an instruction of its own: removing the original keeps it.
    click(ui->removeCommandButton);
    EXPECT_EQ(rows().last(), "[MOVE] COLOR00,$0f00");
}

// --- Reordering by drag -------------------------------------------------------

TEST_F(CopperTool, DragCarriesTheUuidAndOnlyGapsTakeADrop) {
    addFourRows();
    auto data = dragData(2);
    ASSERT_TRUE(data);
    EXPECT_EQ(QUuid::fromString(QString::fromUtf8(data->data("copper.command"))),
              model->objectAt(2)->uuid());
    EXPECT_TRUE(model->canDropMimeData(data.get(), Qt::MoveAction, 1, 0, QModelIndex()));
    EXPECT_FALSE(model->canDropMimeData(data.get(), Qt::MoveAction, -1, -1, model->index(1)));
    EXPECT_FALSE(model->dropMimeData(data.get(), Qt::MoveAction, -1, -1, model->index(1)));
    QMimeData text;
    text.setText(model->objectAt(2)->uuid().toString());
    EXPECT_FALSE(model->canDropMimeData(&text, Qt::MoveAction, 1, 0, QModelIndex()));
    EXPECT_TRUE(ui->sequenceTableView->dragEnabled());
}

TEST_F(CopperTool, DraggedRowLandsInTheGap) {
    addFourRows();
    const QStringList before = rows();
    selectRowByMouse(0);
    EXPECT_TRUE(dropAt(dragData(0).get(), gapBefore(3)));
    EXPECT_EQ(rows(), (QStringList{before[1], before[2], before[0], before[3]}));

    const QStringList middle = rows();
    selectRowByMouse(3);
    EXPECT_TRUE(dropAt(dragData(3).get(), gapBefore(0)));
    EXPECT_EQ(rows(), (QStringList{middle[3], middle[0], middle[1], middle[2]}));

    // Below the last row means after it.
    const QStringList last = rows();
    const QPoint below = rowRect(3).bottomLeft() + QPoint(10, 20);
    EXPECT_TRUE(dropAt(dragData(1).get(), below));
    EXPECT_EQ(rows(), (QStringList{last[0], last[2], last[3], last[1]}));

    // The moved instruction stays selected and the buttons follow it.
    EXPECT_EQ(controller->selectedCommandRow(), 0);
    EXPECT_TRUE(ui->removeCommandButton->isEnabled());
}

TEST_F(CopperTool, DropMovesTheDraggedRowNotTheSelectedOne) {
    addFourRows();
    const QStringList before = rows();
    selectRowByMouse(1);
    EXPECT_TRUE(dropAt(dragData(3).get(), gapBefore(0)));
    EXPECT_EQ(rows(), (QStringList{before[3], before[0], before[1], before[2]}));
    // The selection went with its instruction.
    EXPECT_EQ(controller->selectedCommandRow(), 2);

    // Dropping next to itself changes nothing.
    EXPECT_TRUE(dropAt(dragData(1).get(), gapBefore(2)));
    EXPECT_EQ(rows(), (QStringList{before[3], before[0], before[1], before[2]}));
}

TEST_F(CopperTool, DropOfAnUnknownInstructionIsRefused) {
    addFourRows();
    const QStringList before = rows();
    auto stale = dragData(2);
    selectRowByMouse(2);
    click(ui->removeCommandButton);
    EXPECT_FALSE(dropAt(stale.get(), gapBefore(0)));
    QMimeData junk;
    junk.setData("copper.command", "not a uuid");
    EXPECT_FALSE(dropAt(&junk, gapBefore(0)));
    EXPECT_EQ(rows(), (QStringList{before[0], before[1], before[3]}));

    click(ui->clearSequenceButton);
    EXPECT_FALSE(model->dropMimeData(stale.get(), Qt::MoveAction, 0, 0, QModelIndex()));
}

} // namespace

// The tab's own preview reads its output back: a MOVE to COLOR00 with the line as its high byte
// on 3 lines from $2c gives $2c00, $2d00 and $2e00: red is bits 11-8 ($c, $d, $e), green and
// blue 0, and bits 15-12 are no part of a colour. From $2f on the last value stays.
TEST_F(CopperTool, OutputPreviewShowsTheLinesTheCodeSets) {
    ui->moveAutoVerticalValueButton->click();
    addMove("COLOR00", "", "00");
    setLines("3", "2c", "07", "ff", "fe");
    generate();
    const auto *preview = controller->findChild<CopperFramePreview *>("outputFramePreview");
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->bands(0),
              (QVector<CopperFramePreview::Band>{{0, 0x2b, QColor(0, 0, 0)},
                                                 {0x2c, 0x2c, QColor(0xcc, 0, 0)},
                                                 {0x2d, 0x2d, QColor(0xdd, 0, 0)},
                                                 {0x2e, 0x137, QColor(0xee, 0, 0)}}));
}
