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
// links none of the program's code.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMainWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QUrl>
#include <cstdio>

namespace {

class Report {
public:
    explicit Report(const QString &path) : m_file(path) {
        if (!path.isEmpty() && !m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::fprintf(stderr, "e2e: cannot write the report %s\n", qPrintable(path));
    }

    bool check(const QString &name, const QString &got, const QString &expected) {
        const bool pass = got == expected;
        ++m_checks;
        m_failures += pass ? 0 : 1;
        write(pass ? QStringLiteral("PASS %1: got %2").arg(name, quoted(got))
                   : QStringLiteral("FAIL %1: got %2 expected %3")
                         .arg(name, quoted(got), quoted(expected)));
        return pass;
    }
    bool check(const QString &name, bool condition) {
        return check(name, condition ? QStringLiteral("true") : QStringLiteral("false"),
                     QStringLiteral("true"));
    }
    // A line that is no check: a measurement for the reader.
    void note(const QString &what) { write(QStringLiteral("NOTE %1").arg(what)); }
    void fail(const QString &what) {
        ++m_checks;
        ++m_failures;
        write(QStringLiteral("FAIL %1").arg(what));
    }
    void finish() {
        write(QStringLiteral("DONE %1 checks, %2 failed").arg(m_checks).arg(m_failures));
    }

private:
    static QString quoted(QString text) {
        text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }
    void write(const QString &line) {
        // Written as it goes, so a crash still leaves the checks made so far.
        if (m_file.isOpen()) {
            m_file.write(line.toUtf8() + '\n');
            m_file.flush();
        } else {
            std::fprintf(stderr, "e2e: %s\n", qPrintable(line));
        }
    }

    QFile m_file;
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
            m_window->resize(qEnvironmentVariable("QUILLFEN_SCREENSHOT_SIZE") ==
                                     QLatin1String("minimum")
                                 ? m_window->minimumSize()
                                 : QSize(1000, 700));
        m_window->activateWindow();
        m_report.note(QStringLiteral("window minimum size %1x%2")
                          .arg(m_window->minimumWidth())
                          .arg(m_window->minimumHeight()));
        m_report.check(QStringLiteral("window active"), QTest::qWaitForWindowActive(m_window));
        m_tabs = find<QTabWidget>("mainTabViewController");
        if (m_tabs && QCoreApplication::arguments().size() > 1)
            fileOnTheCommandLine();
        if (m_tabs) {
            display();
            colour();
            registers();
            copper();
            workbench();
            gradient();
            convert();
        }
        m_report.note(QStringLiteral("window minimum size at the end %1x%2")
                          .arg(m_window->minimumWidth())
                          .arg(m_window->minimumHeight()));
        m_report.finish();
        if (auto *quit = find<QAction>("quitAction"))
            quit->trigger();
        else
            QApplication::exit(3);
    }

private:
    template <class T> T *find(const char *name) {
        T *object = m_window->findChild<T *>(QLatin1String(name));
        if (!object)
            m_report.fail(
                QStringLiteral("no %1 named %2")
                    .arg(QLatin1String(T::staticMetaObject.className()), QLatin1String(name)));
        return object;
    }

    // Ctrl+1 to Ctrl+4, the View menu's shortcuts; true when the tool is shown.
    bool showTool(int number, const char *toolName) {
        QTest::keyClick(m_window, static_cast<Qt::Key>(Qt::Key_0 + number), Qt::ControlModifier);
        QApplication::processEvents();
        QWidget *shown = m_tabs->currentWidget();
        return m_report.check(QStringLiteral("Ctrl+%1 shows").arg(number),
                              shown ? shown->objectName() : QString(), QLatin1String(toolName));
    }

    // Replaces a field's text the way a user does: select all, delete, type.
    static void type(QLineEdit *field, const QString &text) {
        field->setFocus(Qt::MouseFocusReason);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    // Return goes where the keyboard is: to a completion list when one is up.
    static void typeAndReturn(QLineEdit *field, const QString &text) {
        type(field, text);
        QWidget *popup = QApplication::activePopupWidget();
        QTest::keyClick(popup ? popup : field, Qt::Key_Return);
    }
    static void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    struct Shown {
        const char *name;
        QString text;
    };
    // Checks the text each named field or label shows.
    void checkShown(const char *tool, std::initializer_list<Shown> expected) {
        for (const Shown &item : expected) {
            QWidget *widget = m_window->findChild<QWidget *>(QLatin1String(item.name));
            QString shown;
            if (auto *field = qobject_cast<QLineEdit *>(widget))
                shown = field->text();
            else if (auto *label = qobject_cast<QLabel *>(widget))
                shown = label->text();
            m_report.check(
                QStringLiteral("%1 %2").arg(QLatin1String(tool), QLatin1String(item.name)), shown,
                item.text);
        }
    }

    void screenshot(const char *name) { shot(m_window, name); }
    // A picture of one part of the window.
    void shot(QWidget *widget, const char *name) {
        if (m_shots.isEmpty())
            return;
        QApplication::processEvents();
        QTest::qWait(150);
        const QString path = QDir(m_shots).filePath(QLatin1String(name) + QLatin1String(".png"));
        if (!widget->grab().save(path))
            m_report.fail(QStringLiteral("screenshot %1 not saved").arg(path));
    }

    // Decimal digits grouped in threes the way the Display tool shows them.
    static QString grouped(const char *digits) {
        QString text = QLatin1String(digits);
        for (qsizetype at = text.size() - 3; at > 0; at -= 3)
            text.insert(at, QLocale().groupSeparator());
        return text;
    }

    void display() {
        if (!showTool(1, "displayViewController"))
            return;
        auto *width = find<QLineEdit>("displayWidthTextField");
        auto *height = find<QLineEdit>("displayHeightTextField");
        auto *depth = find<QLineEdit>("displayDepthTextField");
        auto *colours = find<QComboBox>("displayColoursPopupButton");
        if (!width || !height || !depth || !colours)
            return;
        // A letter typed among the digits is taken out at once.
        type(width, QStringLiteral("32x0"));
        m_report.check(QStringLiteral("display width keeps only digits"), width->text(),
                       QStringLiteral("320"));
        type(height, QStringLiteral("256"));
        type(depth, QStringLiteral("5"));

        checkShown("display", {
                                  {"bytesAllBitplanesTextField", grouped("51200")},
                                  {"moduloHexTextField", QStringLiteral("0xa0")},
                              });
        m_report.check(QStringLiteral("display depth pop-up follows"), colours->currentText(),
                       QStringLiteral("5 bitplanes (32 colours)"));
        screenshot("display");

        // The screen on the frame shares the code's place: its tab shows the visible PAL frame,
        // H $5c-$1d3 at a column per hires pixel.
        auto *output = find<QTabWidget>("setupOutputTabWidget");
        auto *frame = find<QLabel>("screenFrameLabel");
        auto *scroll = m_tabs->currentWidget()->findChild<QScrollArea *>("toolScrollArea");
        if (!output || !frame || !scroll)
            return;
        QTest::mouseClick(output->tabBar(), Qt::LeftButton, {},
                          output->tabBar()->tabRect(1).center());
        QApplication::processEvents();
        m_report.check(QStringLiteral("display frame on show"), frame->isVisible());
        m_report.check(QStringLiteral("display frame columns"),
                       QString::number(frame->pixmap().width()),
                       QString::number(2 * (0x1d4 - 0x5c)));
        scroll->ensureWidgetVisible(output);
        screenshot("display-frame");
        QTest::mouseClick(output->tabBar(), Qt::LeftButton, {},
                          output->tabBar()->tabRect(0).center());
    }

    void colour() {
        if (!showTool(2, "colourViewController"))
            return;
        auto *grid = find<QAbstractItemView>("paletteEditorCollectionView");
        auto *green = find<QLineEdit>("greenValueTextField");
        auto *green12 = find<QLabel>("green12BitValueTextField");
        auto *registerField = find<QLabel>("calculatedColourRegisterTextField");
        auto *code = find<QPlainTextEdit>("codeOutputTextView");
        if (!grid || !green || !green12 || !registerField || !code)
            return;
        QAbstractItemModel *palette = grid->model();
        if (!m_report.check(QStringLiteral("colour palette has entries"),
                            palette && palette->rowCount() > 3))
            return;

        const int row = 3;
        const QModelIndex entry = palette->index(row, 0);
        const QColor before = qvariant_cast<QColor>(palette->data(entry, Qt::DecorationRole));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(entry).center());
        m_report.check(QStringLiteral("colour clicked entry is selected"),
                       grid->selectionModel()->isSelected(entry));
        m_report.check(QStringLiteral("colour editor shows the entry's green"), green->text(),
                       QString::number(before.green()));
        m_report.check(QStringLiteral("colour register of the entry"), registerField->text(),
                       QString::number(row));

        // 200 = $c8; its 12-bit nibble is the high nibble, $c.
        typeAndReturn(green, QStringLiteral("200"));
        m_report.check(QStringLiteral("colour green 12-bit"), green12->text(), QStringLiteral("c"));
        const QColor after = qvariant_cast<QColor>(palette->data(entry, Qt::DecorationRole));
        m_report.check(QStringLiteral("colour cell shows the new colour"), after.name(),
                       QColor(before.red(), 200, before.blue()).name());
        m_report.check(QStringLiteral("colour code is for the entry's register"),
                       code->toPlainText().contains(QStringLiteral("COLOR03")));
        screenshot("colour");
    }

    void registers() {
        if (!showTool(3, "registersViewController"))
            return;
        auto *popUp = find<QComboBox>("registerPopUpButton");
        auto *address = find<QLabel>("registerAddressLabel");
        auto *goal = find<QLineEdit>("goalSeekTextField");
        auto *word = find<QLabel>("finalWordBase16Label");
        if (!popUp || !address || !goal || !word)
            return;
        if (!m_report.check(QStringLiteral("registers pop-up is editable"),
                            popUp->lineEdit() != nullptr))
            return;
        // Typing a register's name and Return jumps to it.
        typeAndReturn(popUp->lineEdit(), QStringLiteral("bplcon0"));
        m_report.check(QStringLiteral("registers chosen register"), popUp->currentText(),
                       QStringLiteral("BPLCON0"));
        m_report.check(QStringLiteral("registers address"), address->text(),
                       QStringLiteral("$dff100"));

        // Only hexadecimal digits stay; Return seeks the goal.
        typeAndReturn(goal, QStringLiteral("12g34"));
        m_report.check(QStringLiteral("registers goal keeps hex digits"), goal->text(),
                       QStringLiteral("1234"));
        QString bits;
        for (int bit = 15; bit >= 0; --bit) {
            const auto *box = m_window->findChild<QCheckBox *>(
                QStringLiteral("bit%1").arg(bit, 2, 10, QLatin1Char('0')));
            bits += !box               ? QLatin1Char('?')
                    : box->isChecked() ? QLatin1Char('1')
                                       : QLatin1Char('0');
        }
        m_report.check(QStringLiteral("registers bit buttons 15..0"), bits,
                       QStringLiteral("0001001000110100"));
        m_report.check(QStringLiteral("registers word"), word->text(), QStringLiteral("0x1234"));
        screenshot("registers");
    }

    void copper() {
        if (!showTool(4, "copperViewController"))
            return;
        auto *iterations = find<QLineEdit>("iterationsTextField");
        auto *vertical = find<QLineEdit>("initialVerticalWaitTextField");
        auto *horizontal = find<QLineEdit>("initialHorizontalWaitTextField");
        auto *verticalMask = find<QLineEdit>("initialVerticleMaskTextField");
        auto *horizontalMask = find<QLineEdit>("initialHorizontalMaskTextField");
        auto *moveRegister = find<QLineEdit>("moveRegisterTextField");
        auto *moveHigh = find<QLineEdit>("moveVerticalValueTextField");
        auto *moveLow = find<QLineEdit>("moveHorizontalValueTextField");
        auto *autoHigh = find<QCheckBox>("moveAutoVerticalValueButton");
        auto *addMove = find<QPushButton>("addMoveButton");
        auto *output = find<QPushButton>("outputCodeButton");
        auto *list = find<QAbstractItemView>("sequenceTableView");
        auto *code = find<QPlainTextEdit>("sequenceOutputTextView");
        if (!iterations || !vertical || !horizontal || !verticalMask || !horizontalMask ||
            !moveRegister || !moveHigh || !moveLow || !autoHigh || !addMove || !output || !list ||
            !code)
            return;

        type(iterations, QStringLiteral("3"));
        type(vertical, QStringLiteral("2c"));
        type(horizontal, QStringLiteral("07"));
        type(verticalMask, QStringLiteral("ff"));
        type(horizontalMask, QStringLiteral("fe"));

        // One MOVE to COLOR00 whose high byte is each line's number.
        if (!autoHigh->isChecked())
            click(autoHigh);
        m_report.check(QStringLiteral("copper auto box locks its field"), !moveHigh->isEnabled());
        type(moveRegister, QStringLiteral("COLOR00"));
        type(moveLow, QStringLiteral("00"));
        click(addMove);
        m_report.check(QStringLiteral("copper list rows"),
                       QString::number(list->model() ? list->model()->rowCount() : -1),
                       QStringLiteral("1"));
        click(output);
        m_report.check(QStringLiteral("copper output"), code->toPlainText(),
                       QStringLiteral("\tdc.w\t$2c07,$fffe,COLOR00,$2c00\n"
                                      "\tdc.w\t$2d07,$fffe,COLOR00,$2d00\n"
                                      "\tdc.w\t$2e07,$fffe,COLOR00,$2e00\n"));

        if (!m_shots.isEmpty()) {
            // A fuller list: halfway along each line a WAIT, then a fixed red for COLOR01.
            auto *waitH = find<QLineEdit>("waitHorizontalValueTextField");
            auto *waitV = find<QLineEdit>("waitVerticalValueTextField");
            auto *waitVM = find<QLineEdit>("waitVerticleMaskTextField");
            auto *waitHM = find<QLineEdit>("waitHorizontalMaskTextField");
            auto *addWait = find<QPushButton>("addWaitButton");
            if (waitH && waitV && waitVM && waitHM && addWait) {
                type(waitV, QStringLiteral("00"));
                type(waitH, QStringLiteral("71"));
                type(waitVM, QStringLiteral("ff"));
                type(waitHM, QStringLiteral("fe"));
                click(addWait);
                click(autoHigh);
                type(moveRegister, QStringLiteral("COLOR01"));
                type(moveHigh, QStringLiteral("0f"));
                type(moveLow, QStringLiteral("00"));
                click(addMove);
                type(iterations, QStringLiteral("7"));
                click(output);
            }
        }
        screenshot("copper");
    }

    void workbench() {
        if (!showTool(5, "copperWorkbenchViewController"))
            return;
        auto *source = find<QPlainTextEdit>("copperSourceTextEdit");
        auto *chipset = find<QComboBox>("chipsetComboBox");
        auto *read = find<QPushButton>("readListButton");
        auto *listing = find<QAbstractItemView>("listingListView");
        auto *picked = find<QSpinBox>("previewRegisterSpinBox");
        if (!source || !chipset || !read || !listing || !picked)
            return;
        // A screen's set-up and a sky of blues down to the horizon, below line $ff a brown
        // ground, and the text colour changing halfway down.
        QString text = QStringLiteral("copperlist:\n"
                                      "\tdc.w\tDIWSTRT,$2c81,DIWSTOP,$2cc1\n"
                                      "\tdc.w\tDDFSTRT,$0038,DDFSTOP,$00d0\n"
                                      "\tdc.w\tBPLCON0,$4200,BPLCON1,$0000\n"
                                      "\tdc.w\tCOLOR00,$0000,COLOR01,$0fff\n");
        for (int step = 0; step < 12; ++step)
            text += QStringLiteral("\tdc.w\t$%1,$fffe,COLOR00,$%2\t; sky\n")
                        .arg((0x2c + step * 16) << 8 | 0x07, 4, 16, QLatin1Char('0'))
                        .arg(0x0004 + step * 0x0011 + (step / 2) * 0x100, 4, 16, QLatin1Char('0'));
        text += QStringLiteral("\tdc.w\t$9007,$fffe,COLOR01,$0ff0\n"
                               "\tdc.w\t$ffdf,$fffe\n"
                               "\tdc.w\t$0407,$fffe,COLOR00,$0530\n"
                               "\tdc.w\t$2007,$fffe,COLOR00,$0320\n"
                               "\tdc.w\t$ffff,$fffe\n");
        source->setPlainText(text);
        click(read);
        m_report.check(QStringLiteral("workbench listing rows"),
                       QString::number(listing->model() ? listing->model()->rowCount() : -1),
                       QStringLiteral("40"));
        if (listing->model())
            listing->setCurrentIndex(listing->model()->index(30, 0));
        screenshot("workbench");

        // Under the listing the whole frame; a click on a pixel of the sky at line $50, H $a0
        // (zoomed twice: column 2 x 2 x ($a0 - $5c), row 2 x ($50 - $1a)) tells its story and
        // selects the move that last set COLOR00 there: the one after the WAIT for line $4c,
        // instruction 13 (8 moves of the set-up, then two a step), $0126.
        auto *frameView = m_tabs->currentWidget()->findChild<QWidget *>("FrameView");
        auto *frame = find<QLabel>("frameLabel");
        auto *story = find<QLabel>("storyLabel");
        auto *zoom = find<QSpinBox>("zoomSpinBox");
        auto *frameScroll = find<QScrollArea>("frameScrollArea");
        auto *toolScroll = m_tabs->currentWidget()->findChild<QScrollArea *>("toolScrollArea");
        if (!frameView || !frame || !story || !zoom || !frameScroll || !toolScroll)
            return;
        zoom->setValue(2);
        const QPoint sky(2 * 2 * (0xa0 - 0x5c), 2 * (0x50 - 0x1a));
        QTest::mouseClick(frame, Qt::LeftButton, {}, sky);
        m_report.check(QStringLiteral("workbench pixel's instruction selected"),
                       QString::number(listing->currentIndex().row()), QStringLiteral("13"));
        m_report.check(QStringLiteral("workbench pixel's colour"),
                       story->text().contains(QLatin1String("COLOR00 = #112266")));
        // The picture shows more of the frame at a column a hires pixel.
        zoom->setValue(1);
        frameScroll->ensureVisible(sky.x() / 2, sky.y() / 2, 200, 60);
        toolScroll->ensureWidgetVisible(frameView);
        shot(frameView, "workbench-frame");
    }

    void gradient() {
        if (!showTool(6, "gradientViewController"))
            return;
        auto *code = find<QPlainTextEdit>("gradientCodeTextView");
        if (!code)
            return;
        // The tab starts with a worked gradient; its list ends with the count line.
        m_report.check(
            QStringLiteral("gradient code ends with its count"),
            code->toPlainText().section(QLatin1Char('\n'), -2, -2).startsWith(QLatin1String("; "))
                ? QStringLiteral("yes")
                : code->toPlainText().right(80),
            QStringLiteral("yes"));
        screenshot("gradient");
    }

    // quillfen ham6.iff: the picture is open in the Convert tool, on show.
    void fileOnTheCommandLine() {
        m_report.check(QStringLiteral("a picture on the command line shows"),
                       m_tabs->currentWidget()->objectName(),
                       QStringLiteral("convertViewController"));
        if (auto *mode = find<QLabel>("modeValueLabel"))
            m_report.check(QStringLiteral("the picture on the command line is open"), mode->text(),
                           QStringLiteral("ILBM HAM6"));
    }

    void convert() {
        if (!showTool(7, "convertViewController"))
            return;
        QWidget *tool = m_tabs->currentWidget();
        auto *mode = find<QLabel>("modeValueLabel");
        auto *size = find<QLabel>("sizeValueLabel");
        auto *exports = find<QTabWidget>("exportTabWidget");
        auto *code = find<QPlainTextEdit>("exportCodeTextView");
        auto *save = find<QPushButton>("saveButton");
        if (!mode || !size || !exports || !code || !save)
            return;
        // A HAM6 picture dropped from the file manager onto the tab.
        auto *data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(QStringLiteral(QUILLFEN_E2E_PICTURES "/ham6.iff"))});
        const QPoint middle = tool->rect().center();
        QDragEnterEvent enter(middle, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tool, &enter);
        QDropEvent drop(middle, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        // The tab reads the picture on a worker thread and says when it is shown.
        QSignalSpy read(tool, SIGNAL(pictureRead(bool)));
        QApplication::sendEvent(tool, &drop);
        delete data;
        m_report.check(QStringLiteral("convert picture read"), read.count() == 1 || read.wait());
        m_report.check(QStringLiteral("convert picture mode"), mode->text(),
                       QStringLiteral("ILBM HAM6"));
        m_report.check(QStringLiteral("convert picture size"), size->text(),
                       QStringLiteral("256 \u00d7 256"));
        // Its sixteen colours as a LoadRGB4 table: a comment line, then the words.
        QTest::mouseClick(exports->tabBar(), Qt::LeftButton, {},
                          exports->tabBar()->tabRect(1).center());
        m_report.check(QStringLiteral("convert palette page"),
                       QString::number(exports->currentIndex()), QStringLiteral("1"));
        const QStringList lines = code->toPlainText().split(QLatin1Char('\n'));
        m_report.check(QStringLiteral("convert palette text"),
                       lines.size() > 2 && lines[0].startsWith(QLatin1Char(';')) &&
                               lines[1].startsWith(QLatin1String("\tdc.w\t$"))
                           ? QStringLiteral("a comment, then dc.w lines")
                           : code->toPlainText().left(80),
                       QStringLiteral("a comment, then dc.w lines"));
        m_report.check(QStringLiteral("convert can save"), save->isEnabled());
        screenshot("convert");
    }

    QMainWindow *m_window;
    Report &m_report;
    QString m_shots;
    QTabWidget *m_tabs = nullptr;
};

QMainWindow *mainWindow() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (auto *window = qobject_cast<QMainWindow *>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

void drive(int attemptsLeft) {
    QMainWindow *window = mainWindow();
    if (!window) {
        if (attemptsLeft > 0) {
            QTimer::singleShot(50, qApp, [attemptsLeft] { drive(attemptsLeft - 1); });
        } else {
            std::fprintf(stderr, "e2e: the main window never showed\n");
            QApplication::exit(2);
        }
        return;
    }
    static Report report(qEnvironmentVariable("QUILLFEN_E2E_REPORT"));
    Driver(window, report, qEnvironmentVariable("QUILLFEN_SCREENSHOTS")).run();
}

void startDriving() {
    if (qEnvironmentVariableIsEmpty("QUILLFEN_E2E_REPORT") &&
        qEnvironmentVariableIsEmpty("QUILLFEN_SCREENSHOTS"))
        return;
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    // Runs once the event loop does, when main has built and shown the window.
    QTimer::singleShot(0, qApp, [] { drive(100); });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriving)
