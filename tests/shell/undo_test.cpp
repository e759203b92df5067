// Undo and redo from the Edit menu, on the tool on show: every change to a palette is one step,
// and nothing a user did is lost to a stray wheel notch.
#include "colour/ColourViewController.h"
#include "colour/PaletteDataSource.h"
#include "gradient/GradientViewController.h"
#include "shell/MainTabViewController.h"
#include "shell/MainWindow.h"
#include "ui_ColourViewController.h"

#include "QtPrinters.h"
#include "UserInput.h"

#include <QtTest>
#include <QtWidgets>
#include <gtest/gtest.h>

TEST(Undo, TheEditMenuUndoesTheStepsOfTheToolOnShow) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QAction *undo = window.findChild<QAction *>("undoAction");
    // Ctrl+Z and Ctrl+Shift+Z act on the stack of the tool on show, which has none of the other
    // tools' steps.
    const auto press = [&](Qt::KeyboardModifiers keys) {
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | keys);
    };
    const auto show = [&](QWidget *tool) {
        window.tabViewController()->setCurrentWidget(tool);
        QApplication::processEvents();
        EXPECT_FALSE(undo->isEnabled()) << "nothing done yet in " << tool->objectName();
    };

    // A wheel notch over the palette size is no change; a drag of a slider, however many steps,
    // is one edit; a typed value one more; a smaller palette drops entries, and can be had back
    // with its status line.
    ColourViewController *colour = window.colourViewController();
    PaletteDataSource *palette = colour->paletteDataSource();
    show(colour);
    auto *ui = colour->controls();
    QComboBox *size = ui->paletteColourEntriesPopupButton;
    const QPoint middle = size->rect().center();
    QWheelEvent notch(middle, size->mapToGlobal(middle), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(size, &notch);
    EXPECT_FALSE(undo->isEnabled());
    const QList<Colour> start = palette->paletteEntries();
    ASSERT_EQ(start.size(), 32);
    ui->paletteEditorCollectionView->selectionModel()->select(palette->index(3, 0),
                                                              QItemSelectionModel::ClearAndSelect);
    ui->greenSlider->setSliderDown(true);
    for (int value : {10, 60, 120, 200})
        ui->greenSlider->setValue(value);
    ui->greenSlider->setSliderDown(false);
    const QList<Colour> dragged = palette->paletteEntries();
    userinput::typeAndReturn(ui->redValueTextField, "17");
    const QList<Colour> typed = palette->paletteEntries();
    ui->keepExistingPaletteButton->setChecked(true);
    userinput::chooseWithKeys(size, size->findText("16"));
    EXPECT_EQ(palette->paletteEntries().size(), 16);
    EXPECT_TRUE(ui->paletteStatusLabel->text().isEmpty());
    press(Qt::NoModifier);
    EXPECT_EQ(size->currentText(), "32");
    EXPECT_EQ(ui->paletteStatusLabel->text(), "The palette has 32 colours.");
    for (const QList<Colour> &before : {typed, dragged, start}) {
        EXPECT_EQ(palette->paletteEntries(), before);
        press(Qt::NoModifier);
    }
    EXPECT_FALSE(undo->isEnabled());
    press(Qt::ShiftModifier);
    EXPECT_EQ(palette->paletteEntries(), dragged);

    // A gradient key added, dragged through many lines (one step) and removed comes back step
    // by step.
    GradientViewController *gradient = window.gradientViewController();
    show(gradient);
    const std::vector<amiga::GradientKey> before = gradient->keys();
    gradient->addKey();
    const std::vector<amiga::GradientKey> added = gradient->keys();
    for (int line = 10; line <= 40; line += 5)
        gradient->moveKey(1, line);
    const std::vector<amiga::GradientKey> moved = gradient->keys();
    gradient->removeKey();
    for (const auto &keys : {moved, added, before}) {
        press(Qt::NoModifier);
        EXPECT_EQ(gradient->keys(), keys);
    }
    EXPECT_FALSE(undo->isEnabled());
    press(Qt::ShiftModifier);
    EXPECT_EQ(gradient->keys(), added);

    // Back on the Colour tab its own steps are undone again.
    window.tabViewController()->setCurrentWidget(colour);
    press(Qt::NoModifier);
    EXPECT_EQ(palette->paletteEntries(), start);
}
