#include "colour/ColourViewController.h"
#include "convert/ConvertViewController.h"
#include "copper/CopperViewController.h"
#include "display/DisplayViewController.h"
#include "gradient/GradientViewController.h"
#include "registers/RegistersViewController.h"
#include "shell/AppDelegate.h"
#include "shell/CommandLine.h"
#include "shell/MainTabViewController.h"
#include "shell/MainWindow.h"
#include "workbench/CopperWorkbenchViewController.h"

#include "QtPrinters.h"
#include "colour/PaletteDataSource.h"
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <gtest/gtest.h>

TEST(Shell, QuitsWithTheLastWindowAndKeepsAMinimumSize) {
    AppDelegate delegate;
    EXPECT_TRUE(delegate.applicationShouldTerminateAfterLastWindowClosed());
    QApplication::setQuitOnLastWindowClosed(false);
    delegate.attach(*qApp);
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());

    // The window shrinks to its minimum size and no further.
    MainWindow window;
    window.show();
    window.resize(100, 100);
    EXPECT_GE(window.width(), window.minimumWidth());
    EXPECT_GE(window.minimumWidth(), 600);
    QApplication::setQuitOnLastWindowClosed(false); // keep the test runner alive
}

// Ctrl+1 to Ctrl+7 show the tools, and the View menu marks the one on show however it came.
TEST(Shell, TheViewMenuShowsAndMarksEveryTool) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    MainTabViewController *tabs = window.tabViewController();
    const char *const names[] = {"showDisplayAction", "showColourAction",    "showRegistersAction",
                                 "showCopperAction",  "showWorkbenchAction", "showGradientAction",
                                 "showConvertAction"};
    const auto expectMarked = [&](int shown) {
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(window.findChild<QAction *>(names[i])->isChecked(), i == shown)
                << names[i] << " with tab " << shown;
    };
    for (int index : {6, 2, 0, 5, 4, 3, 1}) {
        QTest::keyClick(&window, Qt::Key_1 + index, Qt::ControlModifier);
        EXPECT_EQ(tabs->currentIndex(), index);
        expectMarked(index);
    }
    tabs->setCurrentIndex(3); // a click on the tab
    expectMarked(3);
    // The Display tool's code is its set-up code.
    tabs->setCurrentIndex(0);
    EXPECT_TRUE(window.findChild<QAction *>("copyOutputAction")->isEnabled());
    EXPECT_EQ(window.currentOutputView(), window.findChild<QPlainTextEdit *>("setupCodeTextView"));
}

TEST(Shell, LoadPaletteFromTheMenuOpensTheColourToolsFileDialog) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(window.tabViewController()->currentIndex(), 1);
    auto *dialog = window.findChild<QFileDialog *>();
    ASSERT_NE(dialog, nullptr) << "Ctrl+O opened no file dialog";
    EXPECT_EQ(dialog->windowTitle(), "Choose Amiga IFF Palette File");
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    dialog->reject();
}

// The program's own window is painted before the tools behind the first tab exist; each takes
// its tab's place when the tab is first shown, or at once when a menu asks for it.
TEST(Shell, HiddenToolsAreBuiltWhenFirstShown) {
    MainWindow window(nullptr, MainWindow::ToolLoading::WhenShown);
    MainTabViewController *tabs = window.tabViewController();
    EXPECT_FALSE(window.toolsAreBuilt());
    ASSERT_EQ(tabs->count(), 7);
    EXPECT_NE(qobject_cast<DisplayViewController *>(tabs->widget(0)), nullptr);
    EXPECT_EQ(tabs->widget(1)->findChildren<QWidget *>().size(), 0);

    QSignalSpy painted(&window, &MainWindow::firstPainted);
    QSignalSpy built(&window, &MainWindow::toolsBuilt);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return painted.count() == 1; }));
    QApplication::processEvents();
    EXPECT_EQ(tabs->widget(1)->objectName(), "colourPlaceholder"); // nothing built behind
    EXPECT_EQ(tabs->widget(6)->objectName(), "convertPlaceholder");
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
    EXPECT_EQ(tabs->currentIndex(), 5);
    EXPECT_EQ(tabs->currentWidget()->objectName(), "gradientViewController");
    EXPECT_TRUE(window.findChild<QAction *>("copyOutputAction")->isEnabled());
    EXPECT_TRUE(tabs->currentWidget()->isVisible());
    EXPECT_EQ(tabs->widget(6)->objectName(), "convertPlaceholder");
    EXPECT_EQ(built.count(), 0);

    // Asking for a tool builds the rest; each has its tab, its title and the tab it was on.
    const QWidget *tools[] = {
        window.colourViewController(),   window.registersViewController(),
        window.copperViewController(),   window.copperWorkbenchViewController(),
        window.gradientViewController(), window.convertViewController()};
    EXPECT_EQ(built.count(), 1);
    EXPECT_EQ(tabs->currentIndex(), 5);
    const char *const titles[] = {"Colour",    "Registers", "Copper",
                                  "Workbench", "Gradient",  "Convert"};
    for (int index = 1; index < 7; ++index) {
        EXPECT_EQ(tabs->tabText(index), titles[index - 1]);
        EXPECT_EQ(tabs->widget(index), tools[index - 1]);
    }
    EXPECT_EQ(window.findChild<QWidget *>("colourPlaceholder"), nullptr);
}

TEST(Shell, AToolAskedForBeforeTheFirstPaintIsThereAtOnce) {
    // Ctrl+3 through the View menu, before the window was ever painted.
    MainWindow window(nullptr, MainWindow::ToolLoading::WhenShown);
    window.findChild<QAction *>("showRegistersAction")->trigger();
    EXPECT_EQ(window.tabViewController()->currentIndex(), 2);
    EXPECT_EQ(window.tabViewController()->currentWidget()->objectName(), "registersViewController");
}

TEST(Shell, HelpOpensTheUserGuide) {
    MainWindow window;
    window.show();
    ASSERT_FALSE(MainWindow::userGuidePath().isEmpty());
    auto *help = window.findChild<QAction *>("userGuideAction");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
    help->trigger();
    QTextBrowser *guide = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == "userGuideBrowser" && top->isVisible())
            guide = qobject_cast<QTextBrowser *>(top);
    ASSERT_NE(guide, nullptr);
    // The guide is shown as a document, its Markdown read, not as text.
    EXPECT_TRUE(guide->toPlainText().startsWith("Quillfen user guide"))
        << guide->toPlainText().left(80).toStdString();
    EXPECT_FALSE(guide->toPlainText().contains("## Display"));
    // Each request shows the one window (none more); Esc and Ctrl+W close it, as a viewer.
    for (const char *keys : {"Esc", "Ctrl+W"}) {
        help->trigger();
        QPointer<QWidget> shown;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == "userGuideBrowser" && top->isVisible())
                shown = shown ? nullptr : top;
        ASSERT_NE(shown.data(), nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(shown));
        QTest::keySequence(shown, QKeySequence(keys));
        QApplication::processEvents();
        EXPECT_TRUE(!shown || !shown->isVisible()) << keys;
    }
}

namespace {

// A FORM ILBM with a bitmap header and a colour map of two colours, byte by byte, and no BODY:
// a palette file. FORM (46 bytes) ILBM; BMHD: 2 x 1, one plane, aspect 10:11, page 2 x 1; CMAP
// of two.
QByteArray paletteOnlyIlbm() {
    return QByteArray::fromHex(
        "464f524d 0000002e 494c424d"
        "424d4844 00000014 0002 0001 0000 0000 01 00 00 00 0000 0a 0b 0002 0001"
        "434d4150 00000006 123456 abcdef");
}

} // namespace

// quillfen FILE…: each file in the tool it belongs to, by its contents; the tool of the last
// on show; a file that cannot be read named in a sentence.
TEST(Shell, FilesOnTheCommandLineOpenInTheirTools) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&dir](const char *name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    // A copper list as text, and the same two instructions as words: MOVE $0fff to COLOR00
    // ($180), then the end of the list.
    const QString text = write("list.s", "\tdc.w\t$0180,$0fff\n\tdc.w\t$ffff,$fffe\n");
    const QString binary = write("list.bin", QByteArray::fromHex("01800fffffff fffe"));
    const QString palette = write("palette.iff", paletteOnlyIlbm());
    const QString pictures = QStringLiteral(QUILLFEN_TEST_PICTURES);
    struct Case {
        QString path;
        const char *tool; // the object name of the tool on show
        bool read;
    } cases[] = {
        {pictures + "/ham6.iff", "convertViewController", true},
        {palette, "colourViewController", true},
        {text, "copperWorkbenchViewController", true},
        {binary, "copperWorkbenchViewController", true},
        {pictures + "/truncated-bmhd-chunk.iff", "convertViewController", false},
        {dir.filePath("nothing here"), nullptr, false},
    };
    MainWindow window(nullptr, MainWindow::ToolLoading::WhenShown);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const QString before = window.tabViewController()->currentWidget()->objectName();
        const QStringList problems = window.openFiles({c.path});
        EXPECT_EQ(problems.isEmpty(), c.read) << problems.join(' ').toStdString();
        EXPECT_EQ(window.tabViewController()->currentWidget()->objectName(),
                  c.tool ? QString(c.tool) : before);
        if (!c.read) {
            EXPECT_TRUE(problems.value(0).contains(QFileInfo(c.path).fileName()))
                << problems.value(0).toStdString();
        }
    }
    EXPECT_EQ(window.convertViewController()->pictureName(), "ham6.iff");
    EXPECT_EQ(window.colourViewController()->paletteDataSource()->paletteEntries().size(), 2);
    // Both lists read to the same two instructions, and Copy Output copies the listing.
    CopperWorkbenchViewController *workbench = window.copperWorkbenchViewController();
    auto *binaryFile = workbench->findChild<QCheckBox *>("binaryFileCheckBox");
    EXPECT_TRUE(binaryFile->isChecked());
    const QString listing = workbench->listingText();
    window.openFiles({text});
    EXPECT_FALSE(binaryFile->isChecked());
    EXPECT_EQ(workbench->listingText(), listing);
    EXPECT_TRUE(listing.contains("COLOR00")) << listing.toStdString();
    auto *copy = window.findChild<QAction *>("copyOutputAction");
    ASSERT_TRUE(copy->isEnabled());
    copy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), listing);
}

TEST(Shell, CommandLine) {
    using Action = CommandLine::Action;
    struct Case {
        QStringList words;
        Action action;
        QStringList files;
        const char *says; // in the text
    } cases[] = {
        {{"quillfen"}, Action::OpenWindow, {}, ""},
        {{"quillfen", "a.iff", "-", "--", "--help"},
         Action::OpenWindow,
         {"a.iff", "-", "--help"},
         ""},
        {{"quillfen", "a.iff", "--help"}, Action::Help, {}, "usage: quillfen [FILE]..."},
        {{"quillfen", "--bad", "-h"}, Action::Help, {}, "usage:"},
        {{"quillfen", "-V"}, Action::Version, {}, "quillfen " QUILLFEN_VERSION "\n"},
        {{"quillfen", "--verison"},
         Action::UsageError,
         {},
         "unknown option '--verison' (did you mean '--version'?)"},
        {{"quillfen", "a.iff", "--frobnicate=1"},
         Action::UsageError,
         {},
         "option '--frobnicate'\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.words.join(' ').toStdString());
        const CommandLine line = CommandLine::read(c.words);
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.files, c.files);
        EXPECT_TRUE(line.text.contains(QLatin1String(c.says))) << line.text.toStdString();
    }
}

TEST(Shell, APictureDroppedOnTheWindowGivesTheColourToolItsPalette) {
    QTemporaryDir dir;
    const QString path = dir.filePath("two colours.iff");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(paletteOnlyIlbm()) > 0);
    file.close();
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto *data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(path)});
    const QPoint middle = window.rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(middle, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    // The file is read on a worker thread; the palette changes when it is read.
    QSignalSpy read(window.colourViewController(), &ColourViewController::paletteRead);
    QApplication::sendEvent(&window, &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_TRUE(read.count() == 1 || read.wait());
    EXPECT_EQ(window.tabViewController()->currentWidget(), window.colourViewController());
    const QList<Colour> expected = {Colour::convertFrom24BitWithRed(0x12, 0x34, 0x56),
                                    Colour::convertFrom24BitWithRed(0xab, 0xcd, 0xef)};
    EXPECT_EQ(window.colourViewController()->paletteDataSource()->paletteEntries(), expected);
    delete data;
}

namespace {

// Every control of a tool's contents shows at least at the size it asks for.
void checkControlsOf(QWidget *contents, const std::string &tool) {
    for (QWidget *control : contents->findChildren<QWidget *>()) {
        const bool isControl =
            qobject_cast<QAbstractButton *>(control) || qobject_cast<QLineEdit *>(control) ||
            qobject_cast<QComboBox *>(control) || qobject_cast<QAbstractSpinBox *>(control) ||
            qobject_cast<QAbstractSlider *>(control) ||
            qobject_cast<QAbstractItemView *>(control) || qobject_cast<QPlainTextEdit *>(control);
        // The parts Qt builds inside a control (a spin box's field) size with it.
        const bool part = control->objectName().isEmpty() ||
                          control->objectName().startsWith(QLatin1String("qt_"));
        if (!isControl || part || !control->isVisibleTo(contents) ||
            qobject_cast<QAbstractScrollArea *>(control->parentWidget()) ||
            !control->minimumSizeHint().isValid())
            continue;
        // A view's scroll bars are its own business.
        if (qobject_cast<QScrollBar *>(control))
            continue;
        const QSize hint = control->minimumSizeHint();
        EXPECT_GE(control->width(), hint.width())
            << tool << ": " << control->objectName().toStdString() << " is " << control->width()
            << " wide, needs " << hint.width();
        EXPECT_GE(control->height(), hint.height())
            << tool << ": " << control->objectName().toStdString() << " is " << control->height()
            << " high, needs " << hint.height();
        // A combo box may be squeezed below its items ("OCS/E"): it shows them whole.
        if (auto *combo = qobject_cast<QComboBox *>(control)) {
            EXPECT_GE(combo->width(), combo->sizeHint().width())
                << tool << ": " << control->objectName().toStdString() << " cuts its items";
        }
    }
}

} // namespace

// At the window's minimum size every tool shows each of its controls at least at the size the
// control asks for: a tool that needs more than the screen has scrolls instead of squeezing.
// Run at 100% and, as a second test with QT_SCALE_FACTOR=2, at 200%.
TEST(ShellLayout, EveryToolFitsTheMinimumSize) {
    // As the program starts: each tool built when its tab is first shown.
    MainWindow window(nullptr, MainWindow::ToolLoading::WhenShown);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.resize(window.minimumSize());
    QApplication::processEvents();
    EXPECT_GE(window.minimumWidth(), 320);
    MainTabViewController *tabs = window.tabViewController();
    for (int index = 0; index < tabs->count(); ++index) {
        tabs->setCurrentIndex(index);
        // The tool is built, shown, and the window fits it.
        for (int pass = 0; pass < 3; ++pass)
            QApplication::processEvents();
        const std::string tool = tabs->tabText(index).toStdString();
        auto *contents = tabs->widget(index)->findChild<QWidget *>("toolContents");
        ASSERT_NE(contents, nullptr) << tool;
        // The screen allowing, the tool shows whole without scrolling.
        const QSize screen = window.screen()->availableGeometry().size();
        if (contents->minimumSizeHint().width() + 60 < screen.width() &&
            contents->minimumSizeHint().height() + 120 < screen.height()) {
            EXPECT_GE(contents->parentWidget()->width(), contents->minimumSizeHint().width())
                << tool;
            EXPECT_GE(contents->parentWidget()->height(), contents->minimumSizeHint().height())
                << tool;
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
        QList<QTabWidget *> paged = contents->findChildren<QTabWidget *>();
        paged.removeIf([](QTabWidget *pages) { return pages->objectName().isEmpty(); });
        int pages = 1;
        for (QTabWidget *widget : paged)
            pages = std::max(pages, widget->count());
        for (int page = 0; page < pages; ++page) {
            for (QTabWidget *widget : paged)
                widget->setCurrentIndex(std::min(page, widget->count() - 1));
            QApplication::processEvents();
            checkControlsOf(contents, tool);
        }
    }
}
