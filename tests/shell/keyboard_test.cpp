// Keyboard and screen-reader access to the tools, all in one window: who
// owns each key, what each control is called, and where Tab goes.
#include "shell/MainTabViewController.h"
#include "shell/MainWindow.h"

#include "QtPrinters.h"
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QTest>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdlib>
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
        if (widget->isWindow() || !(widget->focusPolicy() & Qt::TabFocus))
            continue;
        bool inner = false;
        for (QWidget *up = widget->parentWidget(); up && up != tool; up = up->parentWidget())
            inner = inner || (up->focusPolicy() & Qt::TabFocus);
        if (!inner)
            inputs.append(widget);
    }
    return inputs;
}

// The tab stops an interface file declares, in order. Each tool's file is in its own folder.
QStringList declaredTabStops(const QString &className) {
    QDirIterator found(QStringLiteral(QUILLFEN_APP_SOURCE_DIR), {className + QStringLiteral(".ui")},
                       QDir::Files, QDirIterator::Subdirectories);
    if (!found.hasNext())
        return {};
    QFile file(found.next());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList stops;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QLatin1String("tabstop"))
            stops.append(xml.readElementText());
    }
    return stops;
}

class ShellKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    MainTabViewController *tabs() { return window.tabViewController(); }

    QWidget *showTool(int index) {
        tabs()->setCurrentIndex(index);
        QApplication::processEvents();
        return tabs()->currentWidget();
    }

    QString toolName(int index) { return tabs()->tabText(index); }

    MainWindow window;
};

// Every key that does something while a tool is on show: the window's
// shortcuts, the menu titles' and tabs' mnemonics, and (given a tool) the
// mnemonics and shortcuts of its own buttons, check boxes, group boxes and labels.
QMultiMap<QString, QString> keyOwners(MainWindow &window, QWidget *tool = nullptr) {
    QMultiMap<QString, QString> owners;
    auto own = [&owners](const QKeySequence &key, const QString &owner) {
        if (!key.isEmpty())
            owners.insert(key.toString(QKeySequence::PortableText), owner);
    };
    for (QAction *action : window.findChildren<QAction *>()) {
        for (const QKeySequence &key : action->shortcuts())
            own(key, nameOf(action));
    }
    for (QShortcut *shortcut : window.findChildren<QShortcut *>())
        own(shortcut->key(), nameOf(shortcut));
    for (QAction *menu : window.menuBar()->actions())
        own(QKeySequence::mnemonic(menu->text()), QStringLiteral("menu ") + menu->text());
    const MainTabViewController *tabs = window.tabViewController();
    for (int i = 0; i < tabs->count(); ++i)
        own(QKeySequence::mnemonic(tabs->tabText(i)), QStringLiteral("tab ") + tabs->tabText(i));
    if (!tool)
        return owners;

    for (QAbstractButton *button : tool->findChildren<QAbstractButton *>()) {
        if (button->isVisible())
            own(button->shortcut(), nameOf(button));
    }
    for (QGroupBox *box : tool->findChildren<QGroupBox *>()) {
        if (box->isVisible())
            own(QKeySequence::mnemonic(box->title()), nameOf(box));
    }
    for (QLabel *label : tool->findChildren<QLabel *>()) {
        if (label->isVisible() && label->buddy())
            own(QKeySequence::mnemonic(label->text()), nameOf(label));
    }
    return owners;
}

} // namespace

TEST_F(ShellKeyboard, EveryShortcutHasOneOwnerInEveryTool) {
    for (int index = 0; index < tabs()->count(); ++index) {
        QWidget *tool = showTool(index);
        const QMultiMap<QString, QString> owners = keyOwners(window, tool);
        for (const QString &key : owners.uniqueKeys()) {
            const QStringList claims = owners.values(key);
            EXPECT_EQ(claims.size(), 1)
                << toolName(index).toStdString() << ": " << key.toStdString() << " is owned by "
                << claims.join(", ").toStdString();
        }
        // Opening a palette file is the File menu's, whichever tool is on show.
        EXPECT_EQ(owners.values(QKeySequence(QKeySequence::Open).toString()),
                  QStringList{"loadPaletteAction"})
            << toolName(index).toStdString();
        // The tool's own controls do take part: each has keys of its own.
        EXPECT_GT(owners.size(), keyOwners(window).size()) << toolName(index).toStdString();
    }
}

TEST_F(ShellKeyboard, LabelMnemonicsTakeTheFocusToTheirFields) {
    for (int index = 0; index < tabs()->count(); ++index) {
        QWidget *tool = showTool(index);
        for (QLabel *label : tool->findChildren<QLabel *>()) {
            const QKeySequence key = QKeySequence::mnemonic(label->text());
            if (key.isEmpty() || !label->isVisible())
                continue;
            ASSERT_NE(label->buddy(), nullptr)
                << nameOf(label).toStdString() << " shows a mnemonic that leads nowhere";
            // A control that is switched off (a choice the other choices rule out) takes no
            // focus, from the keyboard or otherwise.
            if (!label->buddy()->isEnabled())
                continue;
            window.setFocus();
            QTest::keySequence(&window, key);
            QWidget *focus = QApplication::focusWidget();
            EXPECT_TRUE(focus && (focus == label->buddy() || label->buddy()->isAncestorOf(focus)))
                << toolName(index).toStdString() << ": " << key.toString().toStdString()
                << " focused " << (focus ? nameOf(focus).toStdString() : "nothing")
                << " instead of " << nameOf(label->buddy()).toStdString();
        }
    }
}

TEST_F(ShellKeyboard, EveryControlTellsAScreenReaderWhatItIs) {
    for (int index = 0; index < tabs()->count(); ++index) {
        QWidget *tool = showTool(index);
        const std::string where = toolName(index).toStdString() + ": ";
        QMultiMap<QString, QString> names;
        const QList<QWidget *> inputs = inputsOf(tool);
        EXPECT_GE(inputs.size(), 5) << where;
        for (QWidget *input : inputs) {
            const std::string name = where + nameOf(input).toStdString();
            EXPECT_FALSE(input->accessibleName().trimmed().isEmpty()) << name;
            EXPECT_FALSE(input->toolTip().trimmed().isEmpty()) << name;
            names.insert(input->accessibleName(), nameOf(input));
        }
        for (const QString &name : names.uniqueKeys()) {
            EXPECT_EQ(names.count(name), 1) << where << "\"" << name.toStdString() << "\" names "
                                            << names.values(name).join(", ").toStdString();
        }
        // A label that shows a result says which result it is; its text is its value.
        for (QLabel *label : tool->findChildren<QLabel *>()) {
            if (label->textInteractionFlags() & Qt::TextSelectableByMouse) {
                EXPECT_FALSE(label->accessibleDescription().isEmpty())
                    << where << nameOf(label).toStdString();
            }
        }
    }
}

// Whether b may follow a in reading order: further down, further right on the
// same row, or at the top of a column to the right of a.
bool readsAfter(const QRect &a, const QRect &b) {
    const bool sameRow =
        std::abs(a.center().y() - b.center().y()) < std::min(a.height(), b.height()) / 2;
    if (sameRow)
        return b.left() > a.center().x();
    return b.top() > a.center().y() || b.left() > a.right();
}

TEST_F(ShellKeyboard, TabVisitsEveryControlOnceInReadingOrder) {
    for (int index = 0; index < tabs()->count(); ++index) {
        QWidget *tool = showTool(index);
        const std::string where = toolName(index).toStdString() + ": ";
        const QStringList stops =
            declaredTabStops(QString::fromLatin1(tool->metaObject()->className()));
        ASSERT_FALSE(stops.isEmpty()) << where << "no tab stops declared";

        // Every control is placed in the order, and every stop is a control.
        for (QWidget *input : inputsOf(tool))
            EXPECT_TRUE(stops.contains(input->objectName()))
                << where << nameOf(input).toStdString();
        QStringList expected;
        for (const QString &stop : stops) {
            auto *widget = tool->findChild<QWidget *>(stop);
            EXPECT_NE(widget, nullptr) << where << stop.toStdString();
            if (widget && widget->isEnabled() && widget->isVisible() &&
                (widget->focusPolicy() & Qt::TabFocus))
                expected.append(stop);
        }
        ASSERT_FALSE(expected.isEmpty()) << where;

        // The declared order reads top to bottom, left to right, column by column.
        // A control that hands the focus on (a tab widget to its tab bar) is where it lands.
        auto placeOf = [tool](const QString &name) {
            const QWidget *widget = tool->findChild<QWidget *>(name);
            if (widget->focusProxy())
                widget = widget->focusProxy();
            return QRect(widget->mapTo(tool, QPoint(0, 0)), widget->size());
        };
        for (qsizetype i = 1; i < expected.size(); ++i) {
            EXPECT_TRUE(readsAfter(placeOf(expected[i - 1]), placeOf(expected[i])))
                << where << expected[i].toStdString() << " comes after "
                << expected[i - 1].toStdString() << " but does not read after it";
        }

        // The stop a focused widget belongs to (the combo box of its line edit).
        auto stopOf = [&](QWidget *focus) -> QString {
            for (QWidget *widget = focus; widget && widget != tool;
                 widget = widget->parentWidget()) {
                if (stops.contains(widget->objectName()) && tool->isAncestorOf(widget))
                    return widget->objectName();
            }
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
}
