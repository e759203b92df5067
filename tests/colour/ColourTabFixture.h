#pragma once
#include "UserInput.h"
// The real Colour tab, shown offscreen, and the ways a user drives it.
#include "colour/ColourViewController.h"
#include "colour/PaletteDataSource.h"
#include "ui_ColourViewController.h"

#include "QtPrinters.h"
#include <QApplication>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

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
    // Replaces a field's text by typing, then ends the edit with Return.
    static void typeAndEnd(QLineEdit *field, const QString &text) {
        userinput::typeAndReturn(field, text);
    }
    QRect cell(int row) const { return grid->visualRect(source->index(row, 0)); }
    void click(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell(row).center());
    }
    void choosePaletteSize(const QString &count) {
        QComboBox *popup = ui->paletteColourEntriesPopupButton;
        const int index = popup->findText(count);
        ASSERT_GE(index, 0) << count.toStdString();
        popup->setCurrentIndex(index);
        emit popup->activated(index); // what choosing the item in the open pop-up sends
    }
    Colour entry(int row) const { return source->paletteEntries().at(row); }
    QColor shown(int row) const {
        return qvariant_cast<QColor>(source->data(source->index(row, 0), Qt::DecorationRole));
    }
    QString code() const { return ui->codeOutputTextView->toPlainText(); }
    QStringList greenFields() const {
        return {ui->greenValueTextField->text(), ui->green12BitValueTextField->text(),
                ui->green24BitValueTextField->text()};
    }

    // A drag over the grid that ends with a drop at point; true when taken.
    bool drop(QMimeData *mime, QPoint point, Qt::DropActions actions = Qt::CopyAction) {
        QWidget *viewport = grid->viewport();
        QDragEnterEvent enter(point, actions, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(point, actions, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        if (!move.isAccepted()) {
            QDragLeaveEvent leave;
            QApplication::sendEvent(viewport, &leave);
            return false;
        }
        QDropEvent dropEvent(point, actions, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &dropEvent);
        return dropEvent.isAccepted();
    }
    QPoint onto(int row) const { return cell(row).center(); }
    QPoint before(int row) const { return {cell(row).left() + 1, cell(row).center().y()}; }

    std::unique_ptr<ColourViewController> controller;
    Ui::ColourViewController *ui = nullptr;
    PaletteCollectionView *grid = nullptr;
    PaletteDataSource *source = nullptr;
};
