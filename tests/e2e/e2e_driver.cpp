// A user at the keyboard and mouse, loaded into the real quillfen program with
// LD_PRELOAD. Once the program's event loop runs it finds the main window,
// walks through the tools doing one job in each, reads what the widgets
// show and quits through the File menu's Quit action.
//
//   QUILLFEN_E2E_REPORT=FILE   one line per check ("PASS name: got X" or
//                              "FAIL name: got X expected Y"), then "DONE"
//   QUILLFEN_SCREENSHOTS=DIR   also fills each tool with a fuller example and
//                              saves DIR/{display,colour,registers,copper,workbench,gradient,
//                              convert}.png, and display-frame.png (the Display tab's screen
//                              on the frame) and workbench-frame.png (the Workbench's frame
//                              with a pixel's story)
//
// With neither set the module does nothing, so a stray preload is harmless.
// Only object names, Qt's own classes and public signals are used: the module
// links none of the program's code. The tools' results themselves are their own tests'; the
// walk checks that each job reaches its output in the program as built.
#include "UserInput.h"

#include <QtTest>
#include <QtWidgets>
#include <cstdio>
#include <cstdlib>

namespace {

using userinput::click, userinput::type;

// The report, written as it goes, so a crash still leaves the checks made so far.
class Report {
public:
    explicit Report(const QString &path)
        : m_out(path.isEmpty() ? stderr : std::fopen(QFile::encodeName(path).constData(), "w")) {
        if (!m_out)
            std::fprintf(stderr, "e2e: cannot write the report %s\n", qPrintable(path));
    }
    bool check(const QString &name, const QString &got, const QString &expected) {
        const bool pass = got == expected;
        m_checks += 1;
        m_failures += pass ? 0 : 1;
        write((pass ? "PASS " : "FAIL ") + name + ": got " + quoted(got) +
              (pass ? QString() : " expected " + quoted(expected)));
        return pass;
    }
    bool check(const QString &name, bool condition) {
        return check(name, QVariant(condition).toString(), QStringLiteral("true"));
    }
    // A line that is no check: a measurement for the reader.
    void note(const QString &what) { write("NOTE " + what); }
    void finish() {
        write(QStringLiteral("DONE %1 checks, %2 failed").arg(m_checks).arg(m_failures));
    }
    void write(const QString &line) {
        std::fprintf(m_out ? m_out : stderr, "%s\n", line.toUtf8().constData());
        std::fflush(m_out ? m_out : stderr);
    }

private:
    static QString quoted(QString text) {
        return '"' + text.replace('\\', QLatin1String("\\\\")).replace('\n', QLatin1String("\\n")) +
               '"';
    }
    std::FILE *m_out;
    int m_checks = 0;
    int m_failures = 0;
};

class Driver {
public:
    Driver(QMainWindow *window, Report &report, const QString &shots)
        : m_window(window), m_report(report), m_shots(shots) {}

    void run() {
        // Pictures of a roomy window, or with QUILLFEN_SCREENSHOT_SIZE=minimum of the smallest
        // the window may be.
        if (!m_shots.isEmpty())
            m_window->resize(qEnvironmentVariable("QUILLFEN_SCREENSHOT_SIZE") == u"minimum"
                                 ? m_window->minimumSize()
                                 : QSize(1000, 700));
        m_window->activateWindow();
        noteMinimumSize("window minimum size");
        m_report.check("window active", QTest::qWaitForWindowActive(m_window));
        m_tabs = find<QTabWidget>("mainTabViewController");
        if (QCoreApplication::arguments().size() > 1)
            fileOnTheCommandLine();
        for (void (Driver::*tool)() :
             {&Driver::display, &Driver::colour, &Driver::registers, &Driver::copper,
              &Driver::workbench, &Driver::gradient, &Driver::convert})
            (this->*tool)();
        noteMinimumSize("window minimum size at the end");
        m_report.finish();
        find<QAction>("quitAction")->trigger();
    }

private:
    void noteMinimumSize(const char *what) {
        m_report.note(QStringLiteral("%1 %2x%3")
                          .arg(what)
                          .arg(m_window->minimumWidth())
                          .arg(m_window->minimumHeight()));
    }
    // A widget the walk needs; without it the walk cannot go on, and ends at once with the
    // report's last line saying which.
    template <class T> T *find(const char *name) {
        if (T *object = m_window->findChild<T *>(QLatin1String(name)))
            return object;
        m_report.write(QStringLiteral("FAIL no %1 named %2")
                           .arg(T::staticMetaObject.className(), QLatin1String(name)));
        std::_Exit(4);
    }
    template <class T> T *inTool(const char *name) {
        auto *object = m_tabs->currentWidget()->findChild<T *>(QLatin1String(name));
        return object ? object : find<T>(name);
    }

    // Ctrl+1 to Ctrl+7, the View menu's shortcuts; true when the tool is shown.
    bool showTool(int number, const char *toolName) {
        QTest::keyClick(m_window, static_cast<Qt::Key>(Qt::Key_0 + number), Qt::ControlModifier);
        QApplication::processEvents();
        QWidget *shown = m_tabs->currentWidget();
        return m_report.check(QStringLiteral("Ctrl+%1 shows").arg(number),
                              shown ? shown->objectName() : QString(), QLatin1String(toolName));
    }

    // Return goes where the keyboard is: to a completion list when one is up.
    static void typeAndReturn(QLineEdit *field, const QString &text) {
        type(field, text);
        QWidget *popup = QApplication::activePopupWidget();
        QTest::keyClick(popup ? popup : field, Qt::Key_Return);
    }
    // Does what a user does to the named controls, in turn: NAME=TEXT types into a field,
    // NAME:TEXT types and presses Return, a bare NAME clicks a button.
    void act(const char *actions) {
        for (const QString &action : QString::fromUtf8(actions).split(' ')) {
            const qsizetype at = action.indexOf(QRegularExpression("[=:]"));
            const QByteArray name = action.left(at).toLatin1();
            if (at < 0)
                click(find<QAbstractButton>(name));
            else if (action[at] == '=')
                type(find<QLineEdit>(name), action.mid(at + 1));
            else
                typeAndReturn(find<QLineEdit>(name), action.mid(at + 1));
        }
    }
    static void showPage(QTabWidget *pages, int page) {
        QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {},
                          pages->tabBar()->tabRect(page).center());
    }
    template <class T> QString textOf(const char *name) { return find<T>(name)->text(); }

    void screenshot(const char *name) { shot(m_window, name); }
    // A picture of one part of the window.
    void shot(QWidget *widget, const char *name) {
        if (m_shots.isEmpty())
            return;
        QApplication::processEvents();
        QTest::qWait(150);
        const QString path = QDir(m_shots).filePath(QLatin1String(name) + ".png");
        if (!widget->grab().save(path))
            m_report.check(QStringLiteral("screenshot %1 saved").arg(path), false);
    }

    void display() {
        if (!showTool(1, "displayViewController"))
            return;
        // A letter typed among the digits is taken out at once.
        act("displayWidthTextField=32x0 displayHeightTextField=256 displayDepthTextField=5");
        m_report.check("display modulo", textOf<QLabel>("moduloHexTextField"), "0xa0");
        screenshot("display");
        // The screen on the frame shares the code's place: its tab, rendered when first shown,
        // shows the visible PAL frame, H $5c-$1d3 at a column per hires pixel.
        auto *output = find<QTabWidget>("setupOutputTabWidget");
        auto *frame = find<QLabel>("screenFrameLabel");
        showPage(output, 1);
        QApplication::processEvents();
        m_report.check("display frame columns",
                       QString::number(frame->isVisible() ? frame->pixmap().width() : -1),
                       QString::number(2 * (0x1d4 - 0x5c)));
        inTool<QScrollArea>("toolScrollArea")->ensureWidgetVisible(output);
        screenshot("display-frame");
        showPage(output, 0);
    }

    void colour() {
        if (!showTool(2, "colourViewController"))
            return;
        auto *grid = find<QAbstractItemView>("paletteEditorCollectionView");
        QAbstractItemModel *palette = grid->model();
        if (!m_report.check("colour palette has entries", palette && palette->rowCount() > 3))
            return;
        // Entry 3 clicked, its green typed: the cell and the code follow.
        const QModelIndex entry = palette->index(3, 0);
        const QColor before = qvariant_cast<QColor>(palette->data(entry, Qt::DecorationRole));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(entry).center());
        act("greenValueTextField:200");
        m_report.check("colour cell shows the new colour",
                       qvariant_cast<QColor>(palette->data(entry, Qt::DecorationRole)).name(),
                       QColor(before.red(), 200, before.blue()).name());
        m_report.check(
            "colour code is for the entry's register",
            find<QPlainTextEdit>("codeOutputTextView")->toPlainText().contains("COLOR03"));
        screenshot("colour");
    }

    void registers() {
        if (!showTool(3, "registersViewController"))
            return;
        // Typing a register's name and Return jumps to it; only hexadecimal digits stay in the
        // goal, and Return seeks it.
        auto *popUp = find<QComboBox>("registerPopUpButton");
        if (!m_report.check("registers pop-up is editable", popUp->lineEdit() != nullptr))
            return;
        typeAndReturn(popUp->lineEdit(), "bplcon0");
        m_report.check("registers address", textOf<QLabel>("registerAddressLabel"), "$dff100");
        act("goalSeekTextField:12g34");
        m_report.check("registers word", textOf<QLabel>("finalWordBase16Label"), "0x1234");
        screenshot("registers");
    }

    void copper() {
        if (!showTool(4, "copperViewController"))
            return;
        act("iterationsTextField=3 initialVerticalWaitTextField=2c "
            "initialHorizontalWaitTextField=07 "
            "initialVerticleMaskTextField=ff initialHorizontalMaskTextField=fe");
        // One MOVE to COLOR00 whose high byte is each line's number.
        auto *autoHigh = find<QCheckBox>("moveAutoVerticalValueButton");
        if (!autoHigh->isChecked())
            click(autoHigh);
        act("moveRegisterTextField=COLOR00 moveHorizontalValueTextField=00 addMoveButton "
            "outputCodeButton");
        m_report.check("copper output",
                       find<QPlainTextEdit>("sequenceOutputTextView")->toPlainText(),
                       "\tdc.w\t$2c07,$fffe,COLOR00,$2c00\n"
                       "\tdc.w\t$2d07,$fffe,COLOR00,$2d00\n"
                       "\tdc.w\t$2e07,$fffe,COLOR00,$2e00\n");
        // For the picture a fuller list: halfway along each line a WAIT, then a fixed red for
        // COLOR01.
        if (!m_shots.isEmpty())
            act("waitVerticalValueTextField=00 waitHorizontalValueTextField=71 "
                "waitVerticleMaskTextField=ff waitHorizontalMaskTextField=fe addWaitButton "
                "moveAutoVerticalValueButton moveRegisterTextField=COLOR01 "
                "moveVerticalValueTextField=0f moveHorizontalValueTextField=00 addMoveButton "
                "iterationsTextField=7 outputCodeButton");
        screenshot("copper");
    }

    void workbench() {
        if (!showTool(5, "copperWorkbenchViewController"))
            return;
        // data/sky.s: a screen's set-up and a sky of blues down to the horizon (a WAIT every 16
        // lines from $2c, COLOR00 $004 plus $011 a step and $100 every second step), below line
        // $ff a brown ground, and the text colour changing halfway down: 40 instructions.
        QFile list(QStringLiteral(QUILLFEN_E2E_DATA "/sky.s"));
        m_report.check("workbench list read", list.open(QIODevice::ReadOnly));
        find<QPlainTextEdit>("copperSourceTextEdit")
            ->setPlainText(QString::fromUtf8(list.readAll()));
        click(find<QPushButton>("readListButton"));
        auto *listing = find<QAbstractItemView>("listingListView");
        m_report.check("workbench listing rows",
                       QString::number(listing->model() ? listing->model()->rowCount() : -1), "40");
        if (listing->model())
            listing->setCurrentIndex(listing->model()->index(30, 0));
        screenshot("workbench");

        // Under the listing the whole frame; a click on a pixel of the sky at line $50, H $a0
        // (zoomed twice: column 2 x 2 x ($a0 - $5c), row 2 x ($50 - $1a)) selects the move that
        // last set COLOR00 there: the one after the WAIT for line $4c, instruction 13 (8 moves of
        // the set-up, then two a step), $0126.
        auto *frameView = inTool<QWidget>("FrameView");
        auto *zoom = find<QSpinBox>("zoomSpinBox");
        zoom->setValue(2);
        const QPoint sky(2 * 2 * (0xa0 - 0x5c), 2 * (0x50 - 0x1a));
        QTest::mouseClick(find<QLabel>("frameLabel"), Qt::LeftButton, {}, sky);
        m_report.check("workbench pixel's instruction selected",
                       QString::number(listing->currentIndex().row()), "13");
        // The picture shows more of the frame at a column a hires pixel.
        zoom->setValue(1);
        find<QScrollArea>("frameScrollArea")->ensureVisible(sky.x() / 2, sky.y() / 2, 200, 60);
        inTool<QScrollArea>("toolScrollArea")->ensureWidgetVisible(frameView);
        shot(frameView, "workbench-frame");
    }

    void gradient() {
        if (!showTool(6, "gradientViewController"))
            return;
        // The tab starts with a worked gradient; its list ends with the count line.
        const QString code = find<QPlainTextEdit>("gradientCodeTextView")->toPlainText();
        m_report.check("gradient code ends with its count",
                       code.section('\n', -2, -2).startsWith(QLatin1String("; ")));
        screenshot("gradient");
    }

    // quillfen ham6.iff: the picture is open in the Convert tool, on show.
    void fileOnTheCommandLine() {
        m_report.check("a picture on the command line shows", m_tabs->currentWidget()->objectName(),
                       "convertViewController");
        m_report.check("the picture on the command line is open", textOf<QLabel>("modeValueLabel"),
                       "ILBM HAM6");
    }

    void convert() {
        if (!showTool(7, "convertViewController"))
            return;
        // A HAM6 picture dropped from the file manager onto the tab, read on a worker thread.
        QWidget *tool = m_tabs->currentWidget();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QStringLiteral(QUILLFEN_E2E_PICTURES "/ham6.iff"))});
        const QPoint middle = tool->rect().center();
        QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tool, &enter);
        QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QSignalSpy read(tool, SIGNAL(pictureRead(bool)));
        QApplication::sendEvent(tool, &drop);
        m_report.check("convert picture read", read.count() == 1 || read.wait());
        m_report.check("convert picture size", textOf<QLabel>("sizeValueLabel"),
                       QStringLiteral("256 \u00d7 256"));
        // Its sixteen colours as a LoadRGB4 table: a comment line, then the words.
        showPage(find<QTabWidget>("exportTabWidget"), 1);
        const QString code = find<QPlainTextEdit>("exportCodeTextView")->toPlainText();
        m_report.check("convert palette text",
                       code.startsWith(';') && code.section('\n', 1, 1).startsWith("\tdc.w\t$"));
        m_report.check("convert can save", find<QPushButton>("saveButton")->isEnabled());
        screenshot("convert");
    }

    QMainWindow *m_window;
    Report &m_report;
    QString m_shots;
    QTabWidget *m_tabs = nullptr;
};

QMainWindow *mainWindow() {
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<QMainWindow *>(widget); window && window->isVisible())
            return window;
    return nullptr;
}

void drive(int attemptsLeft) {
    QMainWindow *window = mainWindow();
    if (window) {
        static Report report(qEnvironmentVariable("QUILLFEN_E2E_REPORT"));
        Driver(window, report, qEnvironmentVariable("QUILLFEN_SCREENSHOTS")).run();
    } else if (attemptsLeft > 0) {
        QTimer::singleShot(50, qApp, [attemptsLeft] { drive(attemptsLeft - 1); });
    } else {
        std::fprintf(stderr, "e2e: the main window never showed\n");
        QApplication::exit(2);
    }
}

void startDriving() {
    if ((qEnvironmentVariableIsEmpty("QUILLFEN_E2E_REPORT") &&
         qEnvironmentVariableIsEmpty("QUILLFEN_SCREENSHOTS")) ||
        !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    // Runs once the event loop does, when main has built and shown the window.
    QTimer::singleShot(0, qApp, [] { drive(100); });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriving)
