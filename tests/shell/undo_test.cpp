// Undo and redo from the Edit menu, on the tool on show: every change to a palette is one step,
// and nothing a user did is lost to a stray wheel notch.
#include "colour/ColourViewController.h"
#include "colour/PaletteDataSource.h"
#include "copper/CopperViewController.h"
#include "gradient/GradientViewController.h"
#include "shell/MainTabViewController.h"
#include "shell/MainWindow.h"
#include "ui_ColourViewController.h"
#include "ui_CopperViewController.h"

#include "QtPrinters.h"
#include "UserInput.h"

#include <QAction>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

class Undo : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        undo = window.findChild<QAction *>("undoAction");
        redo = window.findChild<QAction *>("redoAction");
        ASSERT_NE(undo, nullptr);
        ASSERT_NE(redo, nullptr);
    }
    void show(QWidget *tool) {
        window.tabViewController()->setCurrentWidget(tool);
        QApplication::processEvents();
    }
    MainWindow window;
    QAction *undo = nullptr;
    QAction *redo = nullptr;
};

} // namespace

// The Edit menu's Undo and Redo act on the stack of the tool on show (the steps themselves are
// each tool's: tests/copper, tests/gradient).
TEST_F(Undo, TheEditMenuUndoesInTheToolOnShow) {
    EXPECT_EQ(undo->shortcut(), QKeySequence(QKeySequence::Undo));
    EXPECT_EQ(redo->shortcut(), QKeySequence("Ctrl+Shift+Z"));
    CopperViewController *copper = window.copperViewController();
    show(copper);
    EXPECT_FALSE(undo->isEnabled());
    userinput::type(copper->controls()->moveRegisterTextField, "color01");
    userinput::click(copper->controls()->addMoveButton);
    show(window.gradientViewController());
    EXPECT_FALSE(undo->isEnabled());
    show(copper);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(copper->tool().list().rowCount(), 0);
    redo->trigger();
    EXPECT_EQ(copper->tool().list().rowCount(), 1);
}

TEST_F(Undo, PaletteChangesAreStepsAndTheStatusLineFollows) {
    ColourViewController *colour = window.colourViewController();
    show(colour);
    auto *ui = colour->controls();
    PaletteDataSource *palette = colour->paletteDataSource();
    const QList<Colour> start = palette->paletteEntries();
    ASSERT_EQ(start.size(), 32);

    // A drag of a slider, however many steps, is one edit.
    auto *grid = ui->paletteEditorCollectionView;
    grid->selectionModel()->select(palette->index(3, 0), QItemSelectionModel::ClearAndSelect);
    QSlider *green = ui->greenSlider;
    green->setSliderDown(true);
    for (int value : {10, 60, 120, 200})
        green->setValue(value);
    green->setSliderDown(false);
    const QList<Colour> dragged = palette->paletteEntries();
    EXPECT_NE(dragged, start);
    // A typed value is one more.
    userinput::typeAndReturn(ui->redValueTextField, "17");
    const QList<Colour> typed = palette->paletteEntries();
    EXPECT_NE(typed, dragged);

    // A smaller palette drops entries, and can be had back.
    ui->keepExistingPaletteButton->setChecked(true);
    userinput::chooseWithKeys(ui->paletteColourEntriesPopupButton,
                              ui->paletteColourEntriesPopupButton->findText("16"));
    EXPECT_EQ(palette->paletteEntries().size(), 16);
    EXPECT_TRUE(ui->paletteStatusLabel->text().isEmpty());

    undo->trigger();
    EXPECT_EQ(palette->paletteEntries(), typed);
    EXPECT_EQ(ui->paletteColourEntriesPopupButton->currentText(), "32");
    EXPECT_EQ(ui->paletteStatusLabel->text(), "The palette has 32 colours.");
    undo->trigger();
    EXPECT_EQ(palette->paletteEntries(), dragged);
    undo->trigger();
    EXPECT_EQ(palette->paletteEntries(), start);
    EXPECT_FALSE(undo->isEnabled());
    redo->trigger();
    EXPECT_EQ(palette->paletteEntries(), dragged);
}

TEST_F(Undo, TheWheelOverThePaletteSizeChangesNothing) {
    ColourViewController *colour = window.colourViewController();
    show(colour);
    QComboBox *size = colour->controls()->paletteColourEntriesPopupButton;
    const QString before = size->currentText();
    const QList<Colour> entries = colour->paletteDataSource()->paletteEntries();
    const QPoint middle = size->rect().center();
    QWheelEvent notch(middle, size->mapToGlobal(middle), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(size, &notch);
    EXPECT_EQ(size->currentText(), before);
    EXPECT_EQ(colour->paletteDataSource()->paletteEntries(), entries);
    EXPECT_FALSE(undo->isEnabled());
}

TEST_F(Undo, GradientKeysComeBack) {
    GradientViewController *gradient = window.gradientViewController();
    show(gradient);
    EXPECT_FALSE(undo->isEnabled());
    const std::vector<amiga::GradientKey> start = gradient->keys();
    gradient->addKey();
    const std::vector<amiga::GradientKey> added = gradient->keys();
    ASSERT_EQ(added.size(), start.size() + 1);
    // A key dragged through many lines is one step.
    const int dragged = gradient->keys().size() > 1 ? 1 : 0;
    for (int line = 10; line <= 40; line += 5)
        gradient->moveKey(dragged, line);
    const std::vector<amiga::GradientKey> moved = gradient->keys();
    gradient->removeKey();
    undo->trigger();
    EXPECT_EQ(gradient->keys(), moved);
    undo->trigger();
    EXPECT_EQ(gradient->keys(), added);
    undo->trigger();
    EXPECT_EQ(gradient->keys(), start);
    EXPECT_FALSE(undo->isEnabled());
    redo->trigger();
    EXPECT_EQ(gradient->keys(), added);
}
