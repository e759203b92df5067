// A user at the keyboard and mouse, loaded into the real quillfen program with
// LD_PRELOAD. Once the program's event loop runs it finds the main window,
// walks through the tools doing one job in each, reads what the widgets
// show and quits through the File menu's Quit action.
//
//   QUILLFEN_E2E_REPORT=FILE   one line per check ("PASS name: got X" or
//                              "FAIL name: got X expected Y"), then "DONE"
//   QUILLFEN_SCREENSHOTS=DIR   also fills each tool with a fuller example and
//                              saves DIR/{display,colour,registers,copper,workbench,gradient,
//                              convert,convert-sheet}.png, and display-frame.png (the Display tab's
//                              screen on the frame) and workbench-frame.png (the Workbench's frame
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
#include <map>

namespace {

using userinput::click, userinput::showPage, userinput::type;

QString quoted(QString text) {
    return '"' + text.replace('\\', QLatin1String("\\\\")).replace('\n', QLatin1String("\\n")) +
           '"';
}

// The report, written as it goes (on the error channel when the file cannot be written), so a
// crash still leaves the checks made so far.
struct Report {
    std::FILE *out = [] {
        const QByteArray path = QFile::encodeName(qEnvironmentVariable("QUILLFEN_E2E_REPORT"));
        std::FILE *file = path.isEmpty() ? nullptr : std::fopen(path.constData(), "w");
        return file ? file : stderr;
    }();
    int checks = 0, failures = 0;
    void write(const QString &line) {
        std::fprintf(out, "%s\n", line.toUtf8().constData());
        std::fflush(out);
    }
    bool check(const QString &name, const QString &got, const QString &expected) {
        const bool pass = got == expected;
        checks += 1;
        failures += pass ? 0 : 1;
        write((pass ? "PASS " : "FAIL ") + name + ": got " + quoted(got) +
              (pass ? QString() : " expected " + quoted(expected)));
        return pass;
    }
    bool check(const QString &name, bool condition) {
        return check(name, condition ? "true" : "false", "true");
    }
};

class Driver {
public:
    explicit Driver(QMainWindow *window) : m_window(window) {}

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
        // quillfen ham6.iff: the picture is open in the Convert tool.
        if (QCoreApplication::arguments().size() > 1)
            m_report.check("the picture on the command line is open", textOf("modeValueLabel"),
                           "ILBM HAM6");
        walk(QStringLiteral(QUILLFEN_E2E_DATA "/walk.txt"));
        noteMinimumSize("window minimum size at the end");
        m_report.write(QStringLiteral("DONE %1 checks, %2 failed")
                           .arg(m_report.checks)
                           .arg(m_report.failures));
        find<QAction>("quitAction")->trigger();
    }

private:
    // The steps of data/walk.txt, in turn.
    void walk(const QString &path) {
        QFile file(path);
        m_report.check("walk read", file.open(QIODevice::ReadOnly | QIODevice::Text));
        const std::map<QString, void (Driver::*)()> own = {{"displayFrame", &Driver::displayFrame},
                                                           {"colourEntry", &Driver::colourEntry},
                                                           {"workbench", &Driver::workbench},
                                                           {"convertDrop", &Driver::convertDrop},
                                                           {"convertSheet", &Driver::convertSheet}};
        bool shown = true;
        for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
            const QString verb = line.section(' ', 0, 0), rest = line.section(' ', 1);
            if (verb == u"show")
                shown = showTool(rest.section(' ', 0, 0).toInt(), rest.section(' ', 1));
            else if (!shown || line.isEmpty() || line.startsWith('#'))
                continue;
            else if (verb == u"do" || (verb == u"pictures" && !m_shots.isEmpty()))
                act(rest);
            else if (verb == u"expect")
                m_report.check(rest.section(' ', 0, 0), textOf(rest.section(' ', 0, 0)),
                               rest.section(' ', 1).replace("\\t", "\t").replace("\\n", "\n"));
            else if (verb == u"shot")
                shot(m_window, rest);
            else if (verb == u"run" && own.count(rest))
                (this->*own.at(rest))();
            else if (verb != u"pictures")
                m_report.check("walk step " + line, false);
        }
    }
    void noteMinimumSize(const char *what) {
        // A line that is no check: a measurement for the reader.
        m_report.write(QStringLiteral("NOTE %1 %2x%3")
                           .arg(what)
                           .arg(m_window->minimumWidth())
                           .arg(m_window->minimumHeight()));
    }
    // A widget the walk needs; without it the walk cannot go on, and ends at once with the
    // report's last line saying which.
    template <class T> T *find(const QString &name) {
        if (T *object = m_window->findChild<T *>(name))
            return object;
        m_report.write(
            QStringLiteral("FAIL no %1 named %2").arg(T::staticMetaObject.className(), name));
        std::_Exit(4);
    }
    template <class T> T *inTool(const char *name) {
        auto *object = m_tabs->currentWidget()->findChild<T *>(QLatin1String(name));
        return object ? object : find<T>(name);
    }

    // Ctrl+1 to Ctrl+7, the View menu's shortcuts; true when the tool is shown.
    bool showTool(int number, const QString &toolName) {
        QTest::keyClick(m_window, static_cast<Qt::Key>(Qt::Key_0 + number), Qt::ControlModifier);
        QApplication::processEvents();
        QWidget *shown = m_tabs->currentWidget();
        return m_report.check(QStringLiteral("Ctrl+%1 shows").arg(number),
                              shown ? shown->objectName() : QString(), toolName);
    }

    // Return goes where the keyboard is: to a completion list when one is up.
    static void typeAndReturn(QLineEdit *field, const QString &text) {
        type(field, text);
        QWidget *popup = QApplication::activePopupWidget();
        QTest::keyClick(popup ? popup : field, Qt::Key_Return);
    }
    // A field to type into: a line edit, or the one of an editable pop-up.
    QLineEdit *field(const QString &name) {
        auto *popUp = m_window->findChild<QComboBox *>(name);
        return popUp && popUp->lineEdit() ? popUp->lineEdit() : find<QLineEdit>(name);
    }
    // The actions of a "do" step (data/walk.txt).
    void act(const QString &actions) {
        for (const QString &action : actions.split(' ')) {
            const qsizetype at = action.indexOf(QRegularExpression("[=:]"));
            if (action.startsWith('+')) {
                if (auto *box = find<QCheckBox>(action.mid(1)); !box->isChecked())
                    click(box);
            } else if (at < 0) {
                click(find<QAbstractButton>(action));
            } else if (action[at] == '=') {
                type(field(action.left(at)), action.mid(at + 1));
            } else {
                typeAndReturn(field(action.left(at)), action.mid(at + 1));
            }
        }
    }
    QString textOf(const QString &name) {
        auto *view = m_window->findChild<QPlainTextEdit *>(name);
        return view ? view->toPlainText() : find<QLabel>(name)->text();
    }

    // A picture of one part of the window.
    void shot(QWidget *widget, const QString &name) {
        if (m_shots.isEmpty())
            return;
        QApplication::processEvents();
        QTest::qWait(150);
        // (scripts/screenshots checks that each picture was written.)
        widget->grab().save(QDir(m_shots).filePath(name + ".png"));
    }

    // The screen on the frame shares the code's place: its tab, rendered when first shown (what
    // it shows is the Display tool's tests').
    void displayFrame() {
        auto *output = find<QTabWidget>("setupOutputTabWidget");
        showPage(output, 1);
        QApplication::processEvents();
        inTool<QScrollArea>("toolScrollArea")->ensureWidgetVisible(output);
        shot(m_window, "display-frame");
        showPage(output, 0);
    }

    // Entry 3 clicked, its green typed: the cell and the code follow.
    void colourEntry() {
        auto *grid = find<QAbstractItemView>("paletteEditorCollectionView");
        QAbstractItemModel *palette = grid->model();
        const QModelIndex entry = palette->index(3, 0);
        const QColor before = qvariant_cast<QColor>(palette->data(entry, Qt::DecorationRole));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(entry).center());
        act("greenValueTextField:200");
        m_report.check("colour cell shows the new colour",
                       qvariant_cast<QColor>(palette->data(entry, Qt::DecorationRole)).name(),
                       QColor(before.red(), 200, before.blue()).name());
    }

    void workbench() {
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
        shot(m_window, "workbench");

        // Under the listing the whole frame; a click on a pixel of the sky at line $50, H $a0
        // (zoomed twice: column 2 x 2 x ($a0 - $5c), row 2 x ($50 - $1a)) selects the move that
        // last set COLOR00 there: the one after the WAIT for line $4c, instruction 13 (8 moves of
        // the set-up, then two a step), $0126: the picture shows its story.
        auto *frameView = inTool<QWidget>("FrameView");
        auto *zoom = find<QSpinBox>("zoomSpinBox");
        zoom->setValue(2);
        const QPoint sky(2 * 2 * (0xa0 - 0x5c), 2 * (0x50 - 0x1a));
        QTest::mouseClick(find<QLabel>("frameLabel"), Qt::LeftButton, {}, sky);
        // The picture shows more of the frame at a column a hires pixel.
        zoom->setValue(1);
        find<QScrollArea>("frameScrollArea")->ensureVisible(sky.x() / 2, sky.y() / 2, 200, 60);
        inTool<QScrollArea>("toolScrollArea")->ensureWidgetVisible(frameView);
        shot(frameView, "workbench-frame");
    }

    void convertDrop() {
        // A HAM6 picture dropped from the file manager onto the tab, read on a worker thread.
        QWidget *tool = m_tabs->currentWidget();
        QSignalSpy read(tool, SIGNAL(pictureRead(bool)));
        userinput::dropFile(tool, QStringLiteral(QUILLFEN_E2E_PICTURES "/ham6.iff"));
        m_report.check("convert picture read", read.count() == 1 || read.wait());
        // The picture shows its sixteen colours as a LoadRGB4 table.
        showPage(find<QTabWidget>("exportTabWidget"), 1);
    }

    // The picture cut into bobs of 64 x 64 on the Sheet page, frame 5 shown by itself.
    void convertSheet() {
        showPage(find<QTabWidget>("exportTabWidget"), 3);
        for (const auto &[name, value] : {std::pair{"sheetWidthSpinBox", "64"},
                                          {"sheetHeightSpinBox", "64"},
                                          {"sheetFrameSpinBox", "5"}}) {
            auto *box = find<QSpinBox>(name);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box, value);
        }
        // 16 frames of 64 x 64 in 6 planes, 3,072 bytes each.
        m_report.check("sheet cut", textOf("convertStatusLabel").section(' ', 0, 1), "16 frames:");
        shot(m_window, "convert-sheet");
    }

    QMainWindow *m_window;
    Report m_report;
    QString m_shots = qEnvironmentVariable("QUILLFEN_SCREENSHOTS");
    QTabWidget *m_tabs = nullptr;
};

// Drives the program's main window once it is on show.
void drive(int attemptsLeft) {
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<QMainWindow *>(widget); window && window->isVisible()) {
            return Driver(window).run();
        }
    }
    if (attemptsLeft > 0) {
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
