// What a user does to real widgets, for every widget test: typing over a field's text, pasting,
// ending an edit with Return, choosing a pop-up item with the keyboard, clicking a button. Each
// goes through the widget's own key and mouse handling, so validators, formatters and the
// signals a user's action sends (textEdited, activated, clicked) all take part. And a page's tab
// clicked, and a file dropped from a file manager.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QUrl>

namespace userinput {

// Puts text on the clipboard and pastes it over the field's selection with the keyboard.
inline void paste(QLineEdit *field, const QString &text, bool overWholeText = true) {
    field->setFocus();
    if (overWholeText)
        field->selectAll();
    QApplication::clipboard()->setText(text);
    QTest::keySequence(field, QKeySequence::Paste);
}

// Replaces the field's text as a user does: select all, delete, type key by key. Characters that
// have no key of their own (other scripts) are pasted, as a user would enter them.
inline void type(QLineEdit *field, const QString &text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(field, c.toLatin1());
        else
            paste(field, QString(c), false);
    }
}

// Types, then ends the edit with Return.
inline void typeAndReturn(QLineEdit *field, const QString &text) {
    type(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

// Moves a pop-up's selection with the arrow keys, which the pop-up reports as the user's choice.
inline void chooseWithKeys(QComboBox *popUp, int index) {
    popUp->setFocus();
    while (popUp->currentIndex() < index)
        QTest::keyClick(popUp, Qt::Key_Down);
    while (popUp->currentIndex() > index)
        QTest::keyClick(popUp, Qt::Key_Up);
}

inline void click(QAbstractButton *button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// Shows a page of a tab widget by a click on its tab.
inline void showPage(QTabWidget *pages, int page) {
    QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(page).center());
}

// Drops a file's URL in the middle of a widget, as a file manager does; true when both the drag's
// entry and the drop were taken.
inline bool dropFile(QWidget *target, const QString &path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint middle = target->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return enter.isAccepted() && drop.isAccepted();
}

} // namespace userinput
