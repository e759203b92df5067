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

#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

TEST(Undo, TheEditMenuUndoesTheStepsOfTheToolOnShow) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QAction *undo = window.findChild<QAction *>("undoAction");
    QAction *redo = window.findChild<QAction *>("redoAction");
    const auto show = [&](QWidget *tool) {
        window.tabViewController()->setCurrentWidget(tool);
        QApplication::processEvents();
        EXPECT_FALSE(undo->isEnabled()) << "nothing done yet in " << tool->objectName();
    };

    // Ctrl+Z and Ctrl+Shift+Z act on the stack of the tool on show (the steps themselves are
    // each tool's: tests/copper).
    CopperViewController *copper = window.copperViewController();
    show(copper);
    userinput::type(copper->controls()->moveRegisterTextField, "color01");
    userinput::click(copper->controls()->addMoveButton);
    show(window.gradientViewController());
    window.tabViewController()->setCurrentWidget(copper);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(copper->tool().list().rowCount(), 0);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(copper->tool().list().rowCount(), 1);

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
    undo->trigger();
    EXPECT_EQ(size->currentText(), "32");
    EXPECT_EQ(ui->paletteStatusLabel->text(), "The palette has 32 colours.");
    for (const QList<Colour> &before : {typed, dragged, start}) {
        EXPECT_EQ(palette->paletteEntries(), before);
        undo->trigger();
    }
    EXPECT_NE(dragged, start);
    EXPECT_NE(typed, dragged);
    EXPECT_FALSE(undo->isEnabled());
    redo->trigger();
    EXPECT_EQ(palette->paletteEntries(), dragged);

    // A gradient key added, dragged through many lines (one step) and removed comes back step
    // by step.
    GradientViewController *gradient = window.gradientViewController();
    show(gradient);
    const std::vector<amiga::GradientKey> before = gradient->keys();
    gradient->addKey();
    const std::vector<amiga::GradientKey> added = gradient->keys();
    ASSERT_EQ(added.size(), before.size() + 1);
    for (int line = 10; line <= 40; line += 5)
        gradient->moveKey(1, line);
    const std::vector<amiga::GradientKey> moved = gradient->keys();
    gradient->removeKey();
    for (const auto &keys : {moved, added, before}) {
        undo->trigger();
        EXPECT_EQ(gradient->keys(), keys);
    }
    EXPECT_FALSE(undo->isEnabled());
    redo->trigger();
    EXPECT_EQ(gradient->keys(), added);
}
