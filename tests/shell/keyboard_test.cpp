// Keyboard and screen-reader access to the tools, all in one window: who
// owns each key, what each control is called, and where Tab goes.
#include "shell/MainTabViewController.h"
#include "shell/MainWindow.h"

#include "QtPrinters.h"
#include <QtTest>
#include <QtWidgets>
#include <gtest/gtest.h>

namespace {

QString nameOf(const QObject *object) {
    return object->objectName().isEmpty() ? QString::fromLatin1(object->metaObject()->className())
                                          : object->objectName();
}

// The controls of a tool that take the keyboard focus with Tab. A composite
// control counts once: the line edit of an editable combo box or the viewport
// of a list is part of its owner.
QList<QWidget *> inputsOf(QWidget *tool) {
    QList<QWidget *> inputs;
    for (QWidget *widget : tool->findChildren<QWidget *>()) {
        bool inner = widget->isWindow() || !(widget->focusPolicy() & Qt::TabFocus);
        for (QWidget *up = widget->parentWidget(); up && up != tool; up = up->parentWidget())
            inner = inner || (up->focusPolicy() & Qt::TabFocus);
        if (!inner)
            inputs.append(widget);
    }
    return inputs;
}

// The tab stops an interface file declares, in order. Each tool's file is in its own folder.
QStringList declaredTabStops(const QString &className) {
    QDirIterator found(QStringLiteral(QUILLFEN_APP_SOURCE_DIR), {className + ".ui"}, QDir::Files,
                       QDirIterator::Subdirectories);
    QFile file(found.hasNext() ? found.next() : QString());
    file.open(QIODevice::ReadOnly);
    QStringList stops;
    for (QXmlStreamReader xml(&file); !xml.atEnd();)
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"tabstop")
            stops.append(xml.readElementText());
    return stops;
}

// Every key that does something while a tool is on show: the window's
// shortcuts, the menu titles' and tabs' mnemonics, and (given a tool) the
// mnemonics and shortcuts of its own buttons, check boxes, group boxes and labels.
QMultiMap<QString, QString> keyOwners(MainWindow &window, QWidget *tool = nullptr) {
    QMultiMap<QString, QString> owners;
    auto own = [&owners](const QKeySequence &key, const QString &owner) {
        if (!key.isEmpty())
            owners.insert(key.toString(QKeySequence::PortableText), owner);
    };
    for (QAction *action : window.findChildren<QAction *>())
        for (const QKeySequence &key : action->shortcuts())
            own(key, nameOf(action));
    for (QShortcut *shortcut : window.findChildren<QShortcut *>())
        own(shortcut->key(), nameOf(shortcut));
    for (QAction *menu : window.menuBar()->actions())
        own(QKeySequence::mnemonic(menu->text()), "menu " + menu->text());
    const MainTabViewController *tabs = window.tabViewController();
    for (int i = 0; i < tabs->count(); ++i)
        own(QKeySequence::mnemonic(tabs->tabText(i)), "tab " + tabs->tabText(i));
    if (!tool)
        return owners;
    for (QAbstractButton *button : tool->findChildren<QAbstractButton *>())
        if (button->isVisible())
            own(button->shortcut(), nameOf(button));
    for (QGroupBox *box : tool->findChildren<QGroupBox *>())
        if (box->isVisible())
            own(QKeySequence::mnemonic(box->title()), nameOf(box));
    for (QLabel *label : tool->findChildren<QLabel *>())
        if (label->isVisible() && label->buddy())
            own(QKeySequence::mnemonic(label->text()), nameOf(label));
    return owners;
}

// Whether b may follow a in reading order: further down, further right on the
// same row, or at the top of a column to the right of a.
bool readsAfter(const QRect &a, const QRect &b) {
    if (std::abs(a.center().y() - b.center().y()) < std::min(a.height(), b.height()) / 2)
        return b.left() > a.center().x();
    return b.top() > a.center().y() || b.left() > a.right();
}

// One owner a key, whichever tool is on show (the File menu's Ctrl+O among them); the tool's
// own controls do take part, each with keys of its own. A label's mnemonic takes the
// focus to its field; a field that is switched off (a choice the other choices rule out) takes
// no focus, from the keyboard or otherwise.
void keysOf(MainWindow &window, QWidget *tool, const std::string &where) {
    const QMultiMap<QString, QString> owners = keyOwners(window, tool);
    for (const QString &key : owners.uniqueKeys())
        EXPECT_EQ(owners.values(key).size(), 1)
            << where << key.toStdString() << " is owned by " << owners.values(key);
    EXPECT_GT(owners.size(), keyOwners(window).size()) << where;
    for (QLabel *label : tool->findChildren<QLabel *>()) {
        const QKeySequence key = QKeySequence::mnemonic(label->text());
        if (key.isEmpty() || !label->isVisible())
            continue;
        QWidget *buddy = label->buddy();
        ASSERT_NE(buddy, nullptr) << nameOf(label) << " shows a mnemonic that leads nowhere";
        if (!buddy->isEnabled())
            continue;
        window.setFocus();
        QTest::keySequence(&window, key);
        QWidget *focus = QApplication::focusWidget();
        EXPECT_TRUE(focus && (focus == buddy || buddy->isAncestorOf(focus)))
            << where << nameOf(label) << " focused " << (focus ? nameOf(focus) : "nothing");
    }
}

// Each control has a name of its own and a tool tip; a label that shows a result says which
// result it is (its text is its value).
void namesOf(QWidget *tool, const std::string &where) {
    QMultiMap<QString, QString> names;
    const QList<QWidget *> inputs = inputsOf(tool);
    EXPECT_GE(inputs.size(), 5) << where;
    for (QWidget *input : inputs) {
        EXPECT_FALSE(input->accessibleName().trimmed().isEmpty()) << where << nameOf(input);
        EXPECT_FALSE(input->toolTip().trimmed().isEmpty()) << where << nameOf(input);
        names.insert(input->accessibleName(), nameOf(input));
    }
    for (const QString &name : names.uniqueKeys())
        EXPECT_EQ(names.count(name), 1) << where << name << " names " << names.values(name);
    for (QLabel *label : tool->findChildren<QLabel *>())
        EXPECT_TRUE(!(label->textInteractionFlags() & Qt::TextSelectableByMouse) ||
                    !label->accessibleDescription().isEmpty())
            << where << nameOf(label);
}

// Every control is placed in the declared order; the order reads top to
// bottom, left to right, column by column, and Tab follows it. A control that hands the focus
// on (a tab widget to its tab bar) is where it lands.
void tabOrderOf(QWidget *tool, const std::string &where) {
    const QStringList stops = declaredTabStops(tool->metaObject()->className());
    for (QWidget *input : inputsOf(tool))
        EXPECT_TRUE(stops.contains(input->objectName())) << where << nameOf(input);
    QStringList expected;
    for (const QString &stop : stops) {
        auto *widget = tool->findChild<QWidget *>(stop);
        if (widget && widget->isEnabled() && widget->isVisible() &&
            (widget->focusPolicy() & Qt::TabFocus))
            expected.append(stop);
    }
    ASSERT_FALSE(expected.isEmpty()) << where;
    auto placeOf = [tool](const QString &name) {
        const QWidget *widget = tool->findChild<QWidget *>(name);
        widget = widget->focusProxy() ? widget->focusProxy() : widget;
        return QRect(widget->mapTo(tool, QPoint(0, 0)), widget->size());
    };
    for (qsizetype i = 1; i < expected.size(); ++i)
        EXPECT_TRUE(readsAfter(placeOf(expected[i - 1]), placeOf(expected[i])))
            << where << expected[i] << " comes after " << expected[i - 1];
    // The stop a focused widget belongs to (the combo box of its line edit).
    auto stopOf = [&](QWidget *focus) -> QString {
        for (QWidget *widget = focus; widget && widget != tool; widget = widget->parentWidget())
            if (stops.contains(widget->objectName()) && tool->isAncestorOf(widget))
                return widget->objectName();
        return {};
    };
    tool->findChild<QWidget *>(expected.first())->setFocus(Qt::TabFocusReason);
    QStringList visited{stopOf(QApplication::focusWidget())};
    for (int presses = 0; presses < 4 * stops.size(); ++presses) {
        ASSERT_NE(QApplication::focusWidget(), nullptr) << where << "Tab lost the focus";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QString stop = stopOf(QApplication::focusWidget());
        if (stop == expected.first())
            break;
        if (!stop.isEmpty())
            visited.append(stop);
    }
    EXPECT_EQ(visited, expected) << where;
}

} // namespace

// Every tool in turn, on show: each key has one owner, and each control a name, a tool tip and
// its place in the Tab order.
TEST(ShellKeyboard, EveryToolWorksFromTheKeyboard) {
    MainWindow window;
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    MainTabViewController *tabs = window.tabViewController();
    for (int index = 0; index < tabs->count(); ++index) {
        tabs->setCurrentIndex(index);
        QApplication::processEvents();
        QWidget *tool = tabs->currentWidget();
        const std::string where = tabs->tabText(index).toStdString() + ": ";
        keysOf(window, tool, where);
        namesOf(tool, where);
        tabOrderOf(tool, where);
    }
}
