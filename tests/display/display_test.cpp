// The Display tool: its rules and texts as tables on DisplayTool, then the tab's wiring (each
// control reaches the tool, each output reaches its view) and one parity case with quillfen-asm.
// The set-up's register values themselves are the amiga library's (tests/amiga).
#include "display/DisplayTool.h"
#include "display/DisplayViewController.h"
#include "ui_DisplayViewController.h"

#include "QtPrinters.h"
#include "UserInput.h"
#include "english_locale.h"
#include "golden_text.h"
#include "run_program.h"

#include <QLocale>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using DisplayToolTest = EnglishLocale;

DisplayTool screen(qint64 width, qint64 height, qint64 depth, int chipset = 0, int resolution = 0) {
    DisplayTool tool;
    tool.width = width;
    tool.height = height;
    tool.depth = depth;
    tool.chipset = chipset;
    tool.resolution = resolution;
    return tool;
}

const DisplayTool::Row &row(const std::vector<DisplayTool::Row> &rows, amiga::DisplayRegister reg) {
    return *std::find_if(rows.begin(), rows.end(), [reg](const auto &r) { return r.reg == reg; });
}

} // namespace

// The results and their arithmetic for each size, and the depth pop-up's item: data/memory.txt.
TEST_F(DisplayToolTest, MemoryResultsWithTheirArithmetic) {
    const std::map<std::string, std::string> cases =
        golden::read(QUILLFEN_DISPLAY_DATA "/memory.txt");
    ASSERT_EQ(cases.size(), 6u);
    for (const auto &[sizes, results] : cases) {
        const QStringList size = QString::fromStdString(sizes).split(' ');
        const DisplayTool::Memory m =
            screen(size[0].toLongLong(), size[1].toLongLong(), size[2].toLongLong()).memory();
        EXPECT_EQ((m.all() << QString::number(m.colourChoice)).join('\n') + '\n',
                  QString::fromStdString(results))
            << sizes;
    }
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(screen(1280, 1024, 8).memory().bytesAllPlanes, "1.310.720");
}

// OCS: hires instead of superhires, fetch mode 0; ECS: fetch mode 0; AGA keeps both.
TEST_F(DisplayToolTest, TheChipsetRulesOutWhatItCannotShow) {
    for (auto [chipset, resolution, fetchMode] : {std::tuple{0, 1, 0}, {1, 2, 0}, {2, 2, 3}}) {
        DisplayTool tool = screen(320, 256, 5, chipset, 2);
        tool.fetchMode = 3;
        tool.applyChipsetRules();
        EXPECT_EQ(tool.resolution, resolution) << chipset;
        EXPECT_EQ(tool.fetchMode, fetchMode) << chipset;
    }
}

// (A centred window, which takes no typed start, and the CPU code are the parity cases'.)
TEST_F(DisplayToolTest, RowsShowOnlyWhatTheScreenNeedsWithItsWarnings) {
    using R = amiga::DisplayRegister;
    const std::vector<DisplayTool::Row> standard = screen(320, 256, 5).rows();
    EXPECT_EQ(row(standard, R::Diwstrt).value, "$2c81");
    EXPECT_TRUE(row(standard, R::Ddfstop).shown);
    for (R unused : {R::Diwhigh, R::Bplcon1, R::Fmode})
        EXPECT_FALSE(row(standard, unused).shown);
    DisplayTool tool = screen(320, 256, 5);
    tool.hstart = 0x89; // the window never closes: refused, on the row of DIWSTOP
    const QString refused = row(tool.rows(), R::Diwstop).warning;
    EXPECT_TRUE(refused.startsWith("The hardware cannot show this: ") &&
                refused.contains("HSTOP $1c7"))
        << refused;
    tool.hstart = 0x71; // a warning that is no refusal
    tool.width = 336;
    const QString warned = row(tool.rows(), R::Ddfstrt).warning;
    EXPECT_TRUE(warned.contains("sprites 6-7") && !warned.startsWith("The hardware")) << warned;
}

// 40 bytes both ways: no note; no depth, no fetch; past the widest screen the set-up reads
// another width. The scroll unit is a word more, past what the memory results count.
TEST_F(DisplayToolTest, SaysWhenTheDisplayFetchesMoreThanTheMemoryResults) {
    for (auto [width, depth, says] : {std::tuple<qint64, qint64, const char *>{320, 5, nullptr},
                                      {100, 0, nullptr},
                                      {100000, 5, nullptr},
                                      {100, 5,
                                       "takes 14 bytes in memory (whole words) and the "
                                       "set-up fetches 14 bytes"}}) {
        DisplayTool tool = screen(width, 256, depth);
        tool.scroll = width > 99999;
        const QString note = tool.fetchNote();
        EXPECT_TRUE(says ? note.contains(says) && note.contains("2 more than") : note.isEmpty())
            << width << note;
    }
}

// The screen on the frame, the pattern's or a picture's, in every layout (data/frames.txt).
TEST(DisplayScreenFrame, TheScreenFillsTheWindowInEveryLayout) {
    const std::map<std::string, std::string> cases =
        golden::read(QUILLFEN_DISPLAY_DATA "/frames.txt");
    ASSERT_EQ(cases.size(), 8u);
    const auto picture =
        std::make_shared<const DisplayTool::ScreenPicture>(DisplayTool::ScreenPicture{
            3,
            2,
            {1, 2, 5, 0, 3, 255},
            {{0x20, 0x40, 0x60}, {0x12, 0x34, 0x56}, {255, 255, 255}, {0xa0, 0xb0, 0xc0}}});
    for (const auto &[layout, pixels] : cases) {
        std::istringstream in(layout), at(pixels);
        int chipset, resolution, width, height, depth;
        std::string how;
        in >> chipset >> resolution >> width >> height >> depth >> how;
        DisplayTool tool = screen(width, height, depth, chipset, resolution);
        tool.interleaved = how == "interleaved";
        tool.interlace = how == "interlaced";
        tool.screenPicture = how == "picture" ? picture : nullptr;
        amiga::FramePicture frame;
        QString message;
        ASSERT_TRUE(tool.screenFrame(&frame, &message)) << layout << message;
        std::size_t column, row;
        for (std::uint32_t colour; at >> std::dec >> column >> row >> std::hex >> colour;)
            EXPECT_EQ(frame.pixels[row * frame.columns + column], colour)
                << layout << ": column " << column << ", row " << row;
    }
    // Refused with a reason: no depth; more than chip memory, also where 32-bit arithmetic
    // would wrap (12500 x 99999 x 8 bytes); a picture whose pixels do not match its size.
    DisplayTool mismatched = screen(320, 256, 2);
    mismatched.screenPicture = std::make_shared<const DisplayTool::ScreenPicture>(
        DisplayTool::ScreenPicture{3, 3, {1, 2}, {}});
    for (const DisplayTool &refused :
         {screen(320, 256, 0), screen(1024, 4096, 5), screen(99999, 99999, 8), mismatched}) {
        amiga::FramePicture picture;
        QString message;
        EXPECT_FALSE(refused.screenFrame(&picture, &message)) << refused.width;
        EXPECT_FALSE(message.isEmpty());
    }
}

// --- The tab's wiring ---

namespace {

class DisplayTab : public EnglishLocale {
protected:
    void SetUp() override {
        EnglishLocale::SetUp();
        controller = std::make_unique<DisplayViewController>();
        controller->show();
        ui = controller->controls();
    }
    QLabel *label(const QString &name) const { return controller->findChild<QLabel *>(name); }
    void showPage(int page) { userinput::showPage(ui->setupOutputTabWidget, page); }
    // Sets controls as a user does: NAME=TEXT types into a field, NAME=N chooses a pop-up's item
    // N with the keys, a bare NAME clicks a button.
    void act(const char *actions) {
        for (const QString &action : QString(actions).split(' ')) {
            const QString value = action.section('=', 1);
            QWidget *control = controller->findChild<QWidget *>(action.section('=', 0, 0));
            if (auto *field = qobject_cast<QLineEdit *>(control))
                userinput::type(field, value);
            else if (auto *popUp = qobject_cast<QComboBox *>(control))
                userinput::chooseWithKeys(popUp, value.toInt());
            else
                userinput::click(qobject_cast<QAbstractButton *>(control));
        }
    }
    QImage shownFrame() const { return ui->screenFrameLabel->pixmap().toImage(); }
    // Every output shows what the tool computes from what the controls hold.
    void expectViewsShowTheTool() {
        const DisplayTool &tool = controller->tool();
        QStringList memory;
        for (const char *name :
             {"bytesBitplaneLineTextField", "bytesBitplaneLineLabel", "bytesBitplaneTextField",
              "bytesBitplaneLabel", "bytesAllBitplanesTextField", "bytesAllBitplanesLabel",
              "bytesPerBitplaneLineAllBitplanesTextField", "bytesPerBitplaneLineAllBitplanesLabel",
              "moduloTextField", "moduloHexTextField", "moduloLabel"})
            memory << label(name)->text();
        EXPECT_EQ(memory, tool.memory().all());
        EXPECT_EQ(ui->displayColoursPopupButton->currentIndex(), tool.memory().colourChoice);
        const std::vector<DisplayTool::Row> rows = tool.rows();
        int i = 0;
        for (const char *name : {"diwstrt", "diwstop", "diwhigh", "ddfstrt", "ddfstop", "bplcon0",
                                 "bplcon1", "bpl1mod", "bpl2mod", "fmode"}) {
            const DisplayTool::Row &row = rows.at(i++);
            EXPECT_EQ(QStringList({label(name + QString("ValueLabel"))->text(),
                                   label(name + QString("ArithmeticLabel"))->text(),
                                   label(name + QString("WarningLabel"))->text()}),
                      QStringList({row.value, row.arithmetic, row.warning}));
            EXPECT_EQ(label(name + QString("ValueLabel"))->isVisible(), row.shown) << name;
        }
        EXPECT_EQ(ui->fetchedBytesLabel->isVisible() ? ui->fetchedBytesLabel->text() : "",
                  tool.fetchNote());
        EXPECT_EQ(ui->setupCodeTextView->toPlainText(), tool.code());
    }

    std::unique_ptr<DisplayViewController> controller;
    Ui::DisplayViewController *ui = nullptr;
};

} // namespace

// Every control reaches the tool: the tab prints what quillfen-asm prints for the same screen
// (data/setups.txt), and every output shows what the tool computes.
TEST_F(DisplayTab, TheTabAndTheCommandLinePrintTheSameSetUp) {
    const std::map<std::string, std::string> cases =
        golden::read(QUILLFEN_DISPLAY_DATA "/setups.txt");
    ASSERT_EQ(cases.size(), 3u);
    for (const auto &[actions, arguments] : cases) {
        SCOPED_TRACE(arguments);
        SetUp();
        act(actions.c_str());
        const testprogram::Outcome tool = testprogram::run(
            QUILLFEN_ASM_TOOL, "display " + arguments.substr(0, arguments.size() - 1));
        ASSERT_LE(tool.status, 1) << tool.err;
        EXPECT_EQ(ui->setupCodeTextView->toPlainText().toStdString(), tool.out);
        expectViewsShowTheTool();
        EXPECT_NE(ui->hstartTextField->isEnabled(), ui->centredButton->isChecked());
    }
    // The chipset's rules reach the pop-ups; an emptied depth chooses no item.
    act("chipsetPopUpButton=2 resolutionPopUpButton=2 chipsetPopUpButton=0");
    EXPECT_EQ(ui->resolutionPopUpButton->currentIndex(), 1);
    EXPECT_FALSE(ui->fetchModePopUpButton->isEnabled());
    act("displayDepthTextField=");
    expectViewsShowTheTool();
}

// Pasted text is cleaned first, then cut (data/fields.txt).
TEST_F(DisplayTab, FieldsKeepWhatTheUserMeant) {
    const std::map<std::string, std::string> cases =
        golden::read(QUILLFEN_DISPLAY_DATA "/fields.txt");
    ASSERT_EQ(cases.size(), 9u);
    for (const auto &[pasted, kept] : cases) {
        auto *field = controller->findChild<QLineEdit *>(
            QString::fromStdString(pasted.substr(0, pasted.find(' '))));
        userinput::paste(field, QString::fromStdString(pasted.substr(pasted.find(' ') + 1)));
        EXPECT_EQ(field->text().toStdString() + "\n", kept) << pasted;
    }
    // A stray letter typed in the middle goes, and the cursor stays where it was.
    userinput::type(ui->displayWidthTextField, "3200");
    ui->displayWidthTextField->setCursorPosition(2);
    QTest::keyClicks(ui->displayWidthTextField, "x");
    EXPECT_EQ(ui->displayWidthTextField->text(), "3200");
    EXPECT_EQ(ui->displayWidthTextField->cursorPosition(), 2);
    // An emptied width keeps the results of the last one.
    userinput::type(ui->displayWidthTextField, "");
    EXPECT_EQ(ui->bytesBitplaneLineTextField->text(), "400");
    // Upper-case digits and a fourth digit never reach a start field.
    userinput::type(ui->vstartTextField, "2C");
    EXPECT_NE(ui->vstartTextField->text(), "2C");
}

// The screen follows the set-up and the zoom; its controls sit beside the tabs while its tab
// is on show, the code's while the code's is.
TEST_F(DisplayTab, TheFrameShowsTheScreenAtTheZoomChosen) {
    EXPECT_TRUE(ui->screenFrameLabel->pixmap().isNull()); // rendered once its page is shown
    showPage(1);
    EXPECT_EQ(ui->setupOutputControlsStack->currentWidget(), ui->screenControlsPage);
    const int width = shownFrame().width();
    EXPECT_EQ(width, 2 * (0x1d4 - 0x5c)); // the visible frame, a column per hires pixel
    ui->screenZoomSpinBox->setValue(2);
    EXPECT_EQ(shownFrame().width(), 2 * width);
    const QImage before = shownFrame();
    userinput::type(ui->displayWidthTextField, "160");
    EXPECT_NE(shownFrame(), before);
    // A picture handed over is shown when asked for, and is let go when it is gone.
    EXPECT_FALSE(ui->screenPictureCheckBox->isEnabled());
    controller->usePicture(std::make_shared<const DisplayTool::ScreenPicture>(
        DisplayTool::ScreenPicture{1, 1, {1}, {{0, 0, 0}, {0x12, 0x34, 0x56}}}));
    const QImage pattern = shownFrame();
    userinput::click(ui->screenPictureCheckBox);
    EXPECT_NE(shownFrame(), pattern);
    controller->usePicture(nullptr);
    EXPECT_FALSE(ui->screenPictureCheckBox->isChecked());
    EXPECT_EQ(shownFrame(), pattern);
    userinput::type(ui->displayDepthTextField, "");
    EXPECT_FALSE(ui->screenNoteLabel->text().isEmpty());
    // A set-up changed while the code is on show is on the frame when its page is back.
    userinput::type(ui->displayDepthTextField, "2");
    const QImage shown = shownFrame();
    showPage(0);
    userinput::type(ui->displayWidthTextField, "320");
    showPage(1);
    EXPECT_NE(shownFrame(), shown);
}
