// The Copper tab's wiring: each control reaches CopperTool, each output reaches its view (the
// code view shows the tool's code, the preview that code's frame), and the list's keys, mouse
// and drags reach the tool's edits. What the code says is CopperTool's (copper_tool_test.cpp).
#include "common/CopperFramePreview.h"
#include "copper/CopperViewController.h"
#include "ui_CopperViewController.h"

#include "QtPrinters.h"
#include "UserInput.h"
#include "copper_rows.h"
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

using userinput::click, userinput::type;

class CopperTab : public ::testing::Test {
protected:
    void SetUp() override {
        controller.resize(900, 600);
        controller.show();
    }
    QStringList rows() { return rowsOf(list); }
    void addMove(const QString &reg, const QString &high, const QString &low) {
        type(ui->moveRegisterTextField, reg);
        type(ui->moveVerticalValueTextField, high);
        type(ui->moveHorizontalValueTextField, low);
        click(ui->addMoveButton);
    }
    QPoint centreOf(int row) { return view()->visualRect(list.index(row)).center(); }
    void clickRow(int row) {
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, centreOf(row));
    }
    // A double click as the window system delivers it: a click, the second press as a
    // double-click event, then its release.
    void doubleClickRow(int row) {
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, centreOf(row));
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, centreOf(row));
        QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, centreOf(row));
    }
    // Drags a row and drops it at a point of the list, through the list's own handling.
    void dropRow(int row, QPoint at) {
        std::unique_ptr<QMimeData> dragged(list.mimeData({list.index(row)}));
        QDragEnterEvent enter(at, Qt::MoveAction, dragged.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view()->viewport(), &enter);
        QDragMoveEvent move(at, Qt::MoveAction, dragged.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view()->viewport(), &move);
        QDropEvent drop(at, Qt::MoveAction, dragged.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view()->viewport(), &drop);
    }
    QListView *view() { return ui->sequenceTableView; }
    QString shown() { return ui->sequenceOutputTextView->toPlainText(); }

    CopperViewController controller;
    Ui::CopperViewController *ui = controller.controls();
    CopperSequenceModel &list = controller.tool().list();
};

} // namespace

TEST_F(CopperTab, EveryControlReachesTheToolAndTheViewsShowIt) {
    const CopperTool &tool = controller.tool();
    for (auto [field, member, typed] :
         {std::tuple{ui->iterationsTextField, &CopperTool::lines, "3"},
          {ui->initialVerticalWaitTextField, &CopperTool::firstLine, "2b"},
          {ui->initialHorizontalWaitTextField, &CopperTool::horizontal, "09"},
          {ui->initialVerticleMaskTextField, &CopperTool::verticalMask, "7f"},
          {ui->initialHorizontalMaskTextField, &CopperTool::horizontalMask, "fc"}}) {
        type(field, typed);
        EXPECT_EQ(tool.*member, typed) << typed;
    }
    click(ui->ntscButton);
    EXPECT_TRUE(tool.ntsc);

    click(ui->moveAutoVerticalValueButton);
    addMove("color00", "", "0f");
    click(ui->moveAutoHorizontalValueButton);
    addMove("COLOR01", "12", "");
    type(ui->waitVerticalValueTextField, "10");
    type(ui->waitHorizontalValueTextField, "e1");
    type(ui->waitVerticleMaskTextField, "7f");
    type(ui->waitHorizontalMaskTextField, "fc");
    click(ui->waitSkipButton);
    click(ui->addWaitButton);
    EXPECT_EQ(rows(),
              (QStringList{"[MOVE] COLOR00,$--0f", "[MOVE] COLOR01,$----", "[SKIP] $10e1,$7ffd"}));
    // The code follows every change at once; the preview runs that code on an NTSC frame.
    EXPECT_EQ(shown().toStdString(), tool.code());
    const auto *preview = controller.findChild<CopperFramePreview *>("outputFramePreview");
    EXPECT_EQ(preview->bands(0).back().lastLine, 0x105);
    // COLOR00 $2b0f, $2c0f, $2d0f from line $2b: red the line's low nibble, blue $f.
    EXPECT_EQ(preview->bands(0)[1], (CopperFramePreview::Band{0x2b, 0x2b, QColor(0xbb, 0, 0xff)}));

    // A register that is none: the tab's message line says what the tool says.
    addMove("COLOR32", "", "");
    EXPECT_TRUE(ui->moveRegisterMessageLabel->text().contains("COLOR32"));
    addMove("COLOR02", "", "");
    EXPECT_EQ(ui->moveRegisterMessageLabel->text(), "");
    click(ui->clearSequenceButton);
    EXPECT_EQ(shown(), QString::fromStdString(tool.code()));
    EXPECT_TRUE(rows().isEmpty()); // undone: the tool's steps (copper_tool_test.cpp)
    click(ui->copyOutputButton);
    EXPECT_EQ(QApplication::clipboard()->text(), shown());
}

TEST_F(CopperTab, FieldsTakeTwoHexDigitsAndAutoBoxesLockTheirs) {
    for (QLineEdit *field : {ui->initialVerticalWaitTextField, ui->initialHorizontalWaitTextField,
                             ui->initialVerticleMaskTextField, ui->initialHorizontalMaskTextField,
                             ui->moveVerticalValueTextField, ui->moveHorizontalValueTextField,
                             ui->waitVerticalValueTextField, ui->waitHorizontalValueTextField,
                             ui->waitVerticleMaskTextField, ui->waitHorizontalMaskTextField}) {
        type(field, "aG-F9c1");
        EXPECT_EQ(field->text(), "af") << field->objectName();
    }
    const std::pair<QCheckBox *, QLineEdit *> boxes[] = {
        {ui->moveAutoVerticalValueButton, ui->moveVerticalValueTextField},
        {ui->moveAutoHorizontalValueButton, ui->moveHorizontalValueTextField}};
    for (const auto &[box, field] : boxes) {
        click(box);
        EXPECT_EQ(field->text(), "");
        EXPECT_FALSE(field->isEnabled());
        field->setText("7");
        click(box);
        EXPECT_EQ(field->text(), "");
        EXPECT_TRUE(field->isEnabled());
    }
}

TEST_F(CopperTab, TheListsKeysMouseAndDragsReachTheTool) {
    for (int i = 0; i < 4; ++i)
        addMove(QStringLiteral("COLOR0%1").arg(i), "0" + QString::number(i), "00");
    const QStringList start = rows();
    const auto order = [&](std::initializer_list<int> rows) {
        QStringList texts;
        for (int row : rows)
            texts << start[row];
        return texts;
    };
    EXPECT_FALSE(ui->removeCommandButton->isEnabled());
    clickRow(1);
    EXPECT_TRUE(ui->removeCommandButton->isEnabled() && ui->xcopyCommandButton->isEnabled());
    QTest::keyClick(view(), Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(view(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(rows(), order({0, 2, 3, 1}));
    QTest::keyClick(view(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(rows(), order({0, 2, 1, 3}));
    click(ui->xcopyCommandButton);
    EXPECT_EQ(rows(), order({0, 2, 1, 3, 1}));
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_EQ(rows(), order({0, 2, 3, 1}));
    click(ui->removeCommandButton); // the next row is selected now
    EXPECT_EQ(rows(), order({0, 2, 1}));

    // A drag carries its row, whatever is selected, into the gap it is dropped in; below the
    // last row is after it.
    clickRow(0);
    dropRow(2, view()->visualRect(list.index(0)).topLeft() + QPoint(10, 1));
    EXPECT_EQ(rows(), order({1, 0, 2}));
    EXPECT_EQ(view()->selectionModel()->selectedRows().value(0).row(), 1);
    dropRow(0, view()->visualRect(list.index(2)).bottomLeft() + QPoint(10, 20));
    EXPECT_EQ(rows(), order({0, 2, 1}));

    // Return and a double click load a row's fields back.
    clickRow(1);
    QTest::keyClick(view(), Qt::Key_Return);
    EXPECT_EQ(ui->moveRegisterTextField->text(), "COLOR02");
    doubleClickRow(2);
    EXPECT_EQ(ui->moveVerticalValueTextField->text(), "01");
    click(ui->waitSkipButton);
    click(ui->addWaitButton);
    click(ui->waitSkipButton);
    doubleClickRow(3);
    EXPECT_TRUE(ui->waitSkipButton->isChecked());
    EXPECT_EQ(ui->waitVerticalValueTextField->text(), "00");

    // Undo puts a list back without a selection, and the buttons follow.
    controller.undoStack()->undo();
    EXPECT_EQ(rows(), order({0, 2, 1}));
    EXPECT_FALSE(ui->removeCommandButton->isEnabled());
}
