// The window as a whole: menus, tools built when first shown, files on the command line and
// dropped, the user guide, and the layout at the minimum size.
#include "colour/ColourViewController.h"
#include "colour/PaletteDataSource.h"
#include "convert/ConvertViewController.h"
#include "copper/CopperViewController.h"
#include "gradient/GradientViewController.h"
#include "registers/RegistersViewController.h"
#include "shell/AppDelegate.h"
#include "shell/CommandLine.h"
#include "shell/MainTabViewController.h"
#include "shell/MainWindow.h"
#include "workbench/CopperWorkbenchViewController.h"

#include "../convert/picture_path.h"
#include "QtPrinters.h"
#include "UserInput.h"
#include "golden_table.h"
#include <QtTest>
#include <QtWidgets>
#include <gtest/gtest.h>

namespace {

// The files the tests open; data/README.txt says what each holds.
QString dataFile(const QString &name) {
    return QStringLiteral(QUILLFEN_SHELL_DATA "/") + name;
}

QAction *action(const MainWindow &window, const char *name) {
    return window.findChild<QAction *>(name);
}

struct ShownWindow : MainWindow {
    explicit ShownWindow(ToolLoading loading = ToolLoading::WithTheWindow)
        : MainWindow(nullptr, loading) {
        show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(this));
    }
};

} // namespace

// Ctrl+1 to Ctrl+7 show the tools, and the View menu marks the one on show however it came;
// Copy Output copies the output of the tool on show; the Help menu shows the guide. The program
// quits with its last window (the end-to-end run quits through the File menu instead).
TEST(Shell, TheMenusShowTheToolsAndTheGuide) {
    AppDelegate().attach(*qApp);
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
    ShownWindow window;
    MainTabViewController *tabs = window.tabViewController();
    const char *const names[] = {"showDisplayAction", "showColourAction",    "showRegistersAction",
                                 "showCopperAction",  "showWorkbenchAction", "showGradientAction",
                                 "showConvertAction"};
    for (int index : {6, 2, 0, 5, 4, 3, 1}) {
        QTest::keyClick(&window, Qt::Key_1 + index, Qt::ControlModifier);
        EXPECT_EQ(tabs->currentIndex(), index);
    }
    tabs->setCurrentIndex(3); // a click on the tab: its tool marked, and only that one
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(action(window, names[i])->isChecked(), i == 3) << names[i];
    // Each of these tools shows its code from the start.
    for (auto [index, view] : {std::pair{0, "setupCodeTextView"}, {5, "gradientCodeTextView"}}) {
        tabs->setCurrentIndex(index);
        EXPECT_EQ(window.currentOutputView(), window.findChild<QPlainTextEdit *>(view));
        action(window, "copyOutputAction")->trigger();
        EXPECT_EQ(QApplication::clipboard()->text(), window.currentOutputView()->toPlainText());
        EXPECT_FALSE(QApplication::clipboard()->text().isEmpty()) << view;
    }
    // Ctrl+O loads a palette into the Colour tool.
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
    auto *dialog = window.findChild<QFileDialog *>();
    ASSERT_NE(dialog, nullptr) << "Ctrl+O opened no file dialog";
    EXPECT_EQ(dialog->windowTitle(), "Choose Amiga IFF Palette File");
    dialog->reject();
    // The guide is shown as a document, its Markdown read, not as text. Each request shows the
    // one window (asked twice, none more); Esc and Ctrl+W close it, as a viewer.
    QAction *help = action(window, "userGuideAction");
    EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
    for (const char *keys : {"Esc", "Ctrl+W"}) {
        help->trigger();
        help->trigger();
        QPointer<QWidget> shown;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == "userGuideBrowser" && top->isVisible())
                shown = shown ? nullptr : top;
        ASSERT_NE(shown.data(), nullptr);
        const QString text = qobject_cast<QTextBrowser *>(shown)->toPlainText();
        EXPECT_TRUE(text.startsWith("Quillfen user guide") && !text.contains("## Display"));
        ASSERT_TRUE(QTest::qWaitForWindowActive(shown));
        QTest::keySequence(shown, QKeySequence(keys));
        QApplication::processEvents();
        EXPECT_TRUE(!shown || !shown->isVisible()) << keys;
    }
    // A picture dropped on the window gives the Colour tool its palette, read on a worker
    // thread.
    tabs->setCurrentIndex(0);
    QSignalSpy read(window.colourViewController(), &ColourViewController::paletteRead);
    EXPECT_TRUE(userinput::dropFile(&window, dataFile("two colours.iff")));
    ASSERT_TRUE(read.count() == 1 || read.wait());
    EXPECT_EQ(window.tabViewController()->currentWidget(), window.colourViewController());
    EXPECT_EQ(window.colourViewController()->paletteDataSource()->paletteEntries().size(), 2);
}

// The program's own window is painted before the tools behind the first tab exist; each takes
// its tab's place when the tab is first shown, or at once when a menu asks for it.
TEST(Shell, HiddenToolsAreBuiltWhenFirstShown) {
    MainWindow window(nullptr, MainWindow::ToolLoading::WhenShown);
    MainTabViewController *tabs = window.tabViewController();
    QSignalSpy painted(&window, &MainWindow::firstPainted);
    QSignalSpy built(&window, &MainWindow::toolsBuilt);
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return painted.count() == 1; }));
    QApplication::processEvents();
    EXPECT_EQ(tabs->widget(1)->objectName(), "colourPlaceholder"); // nothing built behind
    // The results, painted plain at first, can be selected once the window is up.
    for (const char *name :
         {"fetchedBytesLabel", "diwstrtArithmeticLabel", "fmodeWarningLabel", "diwstrtValueLabel"})
        EXPECT_TRUE(tabs->widget(0)->findChild<QLabel *>(name)->textInteractionFlags() &
                    Qt::TextSelectableByMouse)
            << name;
    // A click on the Gradient tab: its tool follows on that tab, and the Edit menu learns that
    // there is output to copy; the others wait.
    tabs->setCurrentIndex(5);
    QApplication::processEvents();
    EXPECT_EQ(tabs->currentWidget()->objectName(), "gradientViewController");
    EXPECT_TRUE(action(window, "copyOutputAction")->isEnabled());
    EXPECT_TRUE(tabs->currentWidget()->isVisible());
    EXPECT_EQ(tabs->widget(6)->objectName(), "convertPlaceholder");
    EXPECT_EQ(built.count(), 0);
    // Asking for a tool builds the rest; each has its tab, its title and the tab it was on.
    const std::pair<QWidget *, const char *> tools[] = {
        {window.colourViewController(), "Colour"},
        {window.registersViewController(), "Registers"},
        {window.copperViewController(), "Copper"},
        {window.copperWorkbenchViewController(), "Workbench"},
        {window.gradientViewController(), "Gradient"},
        {window.convertViewController(), "Convert"}};
    EXPECT_EQ(built.count(), 1);
    EXPECT_EQ(tabs->currentIndex(), 5);
    for (const auto &[tool, title] : tools)
        EXPECT_EQ(tabs->tabText(tabs->indexOf(tool)), title);
    // Ctrl+3 through the View menu, before the window was ever painted.
    MainWindow unpainted(nullptr, MainWindow::ToolLoading::WhenShown);
    action(unpainted, "showRegistersAction")->trigger();
    EXPECT_EQ(unpainted.tabViewController()->currentWidget()->objectName(),
              "registersViewController");
}

// quillfen FILE…, the files of data/files.txt: each file in the tool it belongs to, by its
// contents; the tool of the last on show; a file that cannot be read named in a sentence.
TEST(Shell, FilesOnTheCommandLineOpenInTheirTools) {
    MainWindow window(nullptr, MainWindow::ToolLoading::WhenShown);
    for (const QStringList &c : golden::table(QUILLFEN_SHELL_DATA "/files.txt", "files")) {
        const QString path =
            c[0].startsWith("pictures/") ? picturePath("") + c[0].mid(9) : dataFile(c[0]);
        SCOPED_TRACE(path.toStdString());
        const QStringList problems = window.openFiles({path});
        EXPECT_EQ(problems.isEmpty(), c[2] == "read") << problems.join(' ');
        EXPECT_EQ(window.tabViewController()->currentWidget()->objectName(), c[1]);
        EXPECT_TRUE(problems.isEmpty() || problems.value(0).contains(QFileInfo(path).fileName()));
    }
    EXPECT_EQ(window.convertViewController()->pictureName(), "ham6.iff");
    EXPECT_EQ(window.colourViewController()->paletteDataSource()->paletteEntries().size(), 2);
    // The list as text, after the one as words, was read as text.
    EXPECT_FALSE(window.copperWorkbenchViewController()
                     ->findChild<QCheckBox *>("binaryFileCheckBox")
                     ->isChecked());
}

// data/commandline.txt: the words, the action, the files, a piece of the text.
TEST(Shell, CommandLine) {
    const std::map<QString, CommandLine::Action> actions = {
        {"open", CommandLine::Action::OpenWindow},
        {"help", CommandLine::Action::Help},
        {"version", CommandLine::Action::Version},
        {"usage error", CommandLine::Action::UsageError}};
    for (QStringList fields : golden::table(QUILLFEN_SHELL_DATA "/commandline.txt", "lines")) {
        ASSERT_EQ(fields.size(), 4) << fields.join('|');
        for (QString &field : fields)
            field = field.trimmed();
        SCOPED_TRACE(fields.join(" | ").toStdString());
        const CommandLine line = CommandLine::read(fields[0].split(' '));
        EXPECT_EQ(line.action, actions.at(fields[1]));
        EXPECT_EQ(line.files, fields[2].split(' ', Qt::SkipEmptyParts));
        EXPECT_TRUE(line.text.contains(
            QString(fields[3]).replace("@VERSION@", QUILLFEN_VERSION).replace("\\n", "\n")))
            << line.text;
    }
}

namespace {

// Every control of a tool's contents shows at least at the size it asks for; a combo box may
// be squeezed below its items ("OCS/E"): it shows them whole. The parts Qt builds inside a
// control (a spin box's field) size with it, and a view's scroll bars are its own business.
void checkControlsOf(QWidget *contents, const std::string &tool) {
    for (QWidget *control : contents->findChildren<QWidget *>()) {
        const bool isControl =
            qobject_cast<QAbstractButton *>(control) || qobject_cast<QLineEdit *>(control) ||
            qobject_cast<QComboBox *>(control) || qobject_cast<QAbstractSpinBox *>(control) ||
            qobject_cast<QAbstractSlider *>(control) ||
            qobject_cast<QAbstractItemView *>(control) || qobject_cast<QPlainTextEdit *>(control);
        if (!isControl || control->objectName().isEmpty() ||
            control->objectName().startsWith(QLatin1String("qt_")) ||
            !control->isVisibleTo(contents) || qobject_cast<QScrollBar *>(control) ||
            qobject_cast<QAbstractScrollArea *>(control->parentWidget()) ||
            !control->minimumSizeHint().isValid())
            continue;
        const std::string name = tool + ": " + control->objectName().toStdString();
        const QSize hint = control->minimumSizeHint();
        EXPECT_GE(control->width(), hint.width()) << name;
        EXPECT_GE(control->height(), hint.height()) << name;
        if (auto *combo = qobject_cast<QComboBox *>(control)) {
            EXPECT_GE(combo->width(), combo->sizeHint().width()) << name << " cuts its items";
        }
    }
}

} // namespace

// At the window's minimum size every tool shows each of its controls at least at the size the
// control asks for: a tool that needs more than the screen has scrolls instead of squeezing.
// Run at 100% and, as a second test with QT_SCALE_FACTOR=2, at 200%.
TEST(ShellLayout, EveryToolFitsTheMinimumSize) {
    // As the program starts: each tool built when its tab is first shown.
    ShownWindow window(MainWindow::ToolLoading::WhenShown);
    window.resize(window.minimumSize());
    QApplication::processEvents();
    MainTabViewController *tabs = window.tabViewController();
    const QSize screen = window.screen()->availableGeometry().size();
    for (int index = 0; index < tabs->count(); ++index) {
        tabs->setCurrentIndex(index);
        // The tool is built, shown, and the window fits it.
        for (int pass = 0; pass < 3; ++pass)
            QApplication::processEvents();
        const std::string tool = tabs->tabText(index).toStdString();
        auto *contents = tabs->widget(index)->findChild<QWidget *>("toolContents");
        ASSERT_NE(contents, nullptr) << tool;
        // The screen allowing, the tool shows whole without scrolling: its place is at least
        // the tool's minimum size.
        const QSize needs = contents->minimumSizeHint(), has = contents->parentWidget()->size();
        if (needs.width() + 60 < screen.width() && needs.height() + 120 < screen.height()) {
            EXPECT_EQ(has.expandedTo(needs), has) << tool;
        }
        // Lines that wrap make a tool taller as it narrows: still no scroll bar while the
        // window's minimum is within the screen.
        if (window.minimumWidth() < screen.width() && window.minimumHeight() < screen.height()) {
            const auto *area =
                qobject_cast<QAbstractScrollArea *>(contents->parentWidget()->parentWidget());
            ASSERT_NE(area, nullptr) << tool;
            EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << tool;
            EXPECT_FALSE(area->verticalScrollBar()->isVisible()) << tool;
        }
        // Each page of a tab widget within the tool in turn: only the page on show is laid out.
        const QList<QTabWidget *> paged = contents->findChildren<QTabWidget *>();
        for (int page = 0, pages = 1; page < pages; ++page) {
            for (QTabWidget *widget : paged) {
                pages = std::max(pages, widget->count());
                widget->setCurrentIndex(std::min(page, widget->count() - 1));
            }
            QApplication::processEvents();
            checkControlsOf(contents, tool);
        }
    }
}
