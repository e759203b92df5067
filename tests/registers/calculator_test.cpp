#include "registers/RegistersViewController.h"
#include "ui_RegistersViewController.h"

#include "LogCapture.h"
#include "QtPrinters.h"
#include "UserInput.h"
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// GROUPS: bits 12-14 make BPU (0-2), bits 0-3 make LOW, bits 5 and 6 make GAP at
// positions 1 and 2 (none at 0); bit 9 is AGA only. PLAIN: no groups. WIDE is AGA only.
const QByteArray testDatabase = [] {
    QByteArray xml = "<registers><register name=\"GROUPS\"><address>dff100</address>"
                     "<summary>Grouped</summary><note>The note</note><extra>More</extra>";
    for (int i = 0; i < 16; ++i) {
        QByteArray attributes = "position=\"" + QByteArray::number(i) + "\" function=\"B" +
                                QByteArray::number(i) + "\"";
        if (i >= 12 && i <= 14)
            attributes += " group=\"BPU\" group-position=\"" + QByteArray::number(i - 12) + "\"";
        else if (i <= 3)
            attributes += " group=\"LOW\" group-position=\"" + QByteArray::number(i) + "\"";
        else if (i == 5 || i == 6)
            attributes += " group=\"GAP\" group-position=\"" + QByteArray::number(i - 4) + "\"";
        if (i == 9)
            attributes += " chipset=\"aga\"";
        xml += "<bit " + attributes + ">Description " + QByteArray::number(i) + "</bit>";
    }
    xml += "</register>";
    for (const char *name : {"PLAIN", "WIDE"}) {
        xml += QByteArray("<register name=\"") + name + "\"" +
               (QByteArray(name) == "WIDE" ? " chipset=\"aga\"" : "") +
               "><address>dff1fc</address><summary>S</summary>";
        for (int i = 0; i < 16; ++i)
            xml += "<bit function=\"P" + QByteArray::number(i) + "\">d</bit>";
        xml += "</register>";
    }
    return xml + "</registers>";
}();

class RegistersTool : public ::testing::Test {
protected:
    void SetUp() override {
        controller = std::make_unique<RegistersViewController>();
        controller->show();
        ui = controller->controls();
    }
    void useTestDatabase() { controller->parseRegisterData(testDatabase); }

    QAbstractButton *bit(int i) const { return controller->viewWithTag(i + 1); }
    void click(int i) { bit(i)->click(); }

    static void type(QLineEdit *field, const QString &text) { userinput::type(field, text); }
    void goal(const QString &text) {
        type(ui->goalSeekTextField, text);
        ui->goalSeekButton->click();
    }
    // Moves a pop-up's selection the way the keyboard does, which the pop-up reports.
    static void chooseWithKeys(QComboBox *popUp, int index) {
        userinput::chooseWithKeys(popUp, index);
    }
    QStringList byteLabels() const {
        return {ui->lowByteLabel->text(),        ui->lowByteBase16Label->text(),
                ui->lowByteBinaryLabel->text(),  ui->highByteLabel->text(),
                ui->highByteBase16Label->text(), ui->highByteBinaryLabel->text(),
                ui->finalWordLabel->text(),      ui->finalWordBase16Label->text(),
                ui->finalBinaryLabel->text()};
    }
    QStringList groupLabels() const {
        return {ui->groupWordLabel->text(), ui->groupWordBase16Label->text(),
                ui->groupBinaryLabel->text()};
    }
    QStringList groupItems() const {
        QStringList items;
        for (int i = 0; i < ui->groupPopUpButton->count(); ++i)
            items << ui->groupPopUpButton->itemText(i);
        return items;
    }

    std::unique_ptr<RegistersViewController> controller;
    Ui::RegistersViewController *ui = nullptr;
};

const QStringList allOff = {"0", "0x00",   "00000000",        "0", "0x00", "00000000",
                            "0", "0x0000", "0000000000000000"};

} // namespace

TEST_F(RegistersTool, EachBitButtonCarriesItsOwnTag) {
    for (int i = 0; i < 16; ++i) {
        QAbstractButton *button = bit(i);
        ASSERT_NE(button, nullptr) << i;
        EXPECT_EQ(button->objectName(), QString("bit%1").arg(i, 2, 10, QChar('0')));
    }
    EXPECT_EQ(controller->viewWithTag(0), nullptr);
    EXPECT_EQ(controller->viewWithTag(17), nullptr);
}

TEST_F(RegistersTool, BitsMakeBytesAndWordInThreeBases) {
    useTestDatabase();
    EXPECT_EQ(byteLabels(), allOff);
    click(0);
    click(15);
    EXPECT_EQ(byteLabels(), QStringList({"1", "0x01", "00000001", "128", "0x80", "10000000",
                                         "32769", "0x8001", "1000000000000001"}));
    click(15);
    EXPECT_EQ(ui->finalWordLabel->text(), "1");
    // A mixed state counts as off.
    auto *box = qobject_cast<QCheckBox *>(bit(4));
    box->setTristate(true);
    box->setCheckState(Qt::PartiallyChecked);
    controller->calculateBitValue();
    EXPECT_EQ(ui->finalWordLabel->text(), "1");
}

TEST_F(RegistersTool, GoalSeekSetsExactlyTheBitsOfTheValue) {
    useTestDatabase();
    click(15);
    goal("f");
    EXPECT_EQ(ui->finalWordBase16Label->text(), "0x000f");
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(bit(i)->isChecked(), i < 4) << i;
    // Return in the field applies the goal too.
    type(ui->goalSeekTextField, "1234");
    QTest::keyClick(ui->goalSeekTextField, Qt::Key_Return);
    EXPECT_EQ(ui->finalWordBase16Label->text(), "0x1234");
    EXPECT_EQ(ui->finalWordLabel->text(), "4660");
    goal("FfFf");
    EXPECT_EQ(ui->finalWordLabel->text(), "65535");
    goal("");
    EXPECT_EQ(byteLabels(), allOff);
}

TEST_F(RegistersTool, GoalFieldKeepsOnlyFourHexDigitsAsTyped) {
    QLineEdit *field = ui->goalSeekTextField;
    type(field, "12345");
    EXPECT_EQ(field->text(), "1234");
    type(field, "a g");
    EXPECT_EQ(field->text(), "a");
    type(field, "aBcD");
    EXPECT_EQ(field->text(), "aBcD");
    // An assembler's "$" or a C programmer's "0x" in front stays; the four digits come after it.
    type(field, "$52001");
    EXPECT_EQ(field->text(), "$5200");
    type(field, "0x52001");
    EXPECT_EQ(field->text(), "0x5200");
    // Typed key by key, the x goes (nothing before it makes a prefix) and the $ then starts one.
    type(field, "x$5");
    EXPECT_EQ(field->text(), "$5");
    // A pasted text is cleaned the same way, and nothing is computed.
    field->selectAll();
    field->insert("$1f x9");
    emit field->textEdited(field->text());
    EXPECT_EQ(field->text(), "$1f9");
    EXPECT_EQ(ui->finalWordLabel->text(), "0");
}

TEST_F(RegistersTool, GoalsWithAPrefixGiveTheSameWord) {
    for (const char *text : {"5200", "$5200", "0x5200", "0X5200"}) {
        type(ui->goalSeekTextField, text);
        ui->goalSeekButton->click();
        EXPECT_EQ(ui->finalWordBase16Label->text(), "0x5200") << text;
    }
}

TEST_F(RegistersTool, GroupValuesFollowTheGroupPositions) {
    useTestDatabase();
    EXPECT_EQ(groupItems(), QStringList({"LOW", "GAP", "BPU"}));
    EXPECT_EQ(ui->groupPopUpButton->currentText(), "LOW");
    EXPECT_EQ(groupLabels(), QStringList({"0", "0x0000", "0000"}));

    click(12);
    click(13);
    chooseWithKeys(ui->groupPopUpButton, 2);
    EXPECT_EQ(groupLabels(), QStringList({"3", "0x0003", "011"}));
    EXPECT_EQ(ui->finalWordLabel->text(), "12288");

    // Positions 1 and 2 but none at 0: counted, but no binary text.
    click(5);
    click(6);
    const QStringList bytesBefore = byteLabels();
    chooseWithKeys(ui->groupPopUpButton, 1);
    EXPECT_EQ(groupLabels(), QStringList({"6", "0x0006", ""}));
    // Choosing another group touches only the group labels.
    EXPECT_EQ(byteLabels(), bytesBefore);
}

TEST_F(RegistersTool, ChoosingARegisterShowsItWithAllBitsOff) {
    useTestDatabase();
    EXPECT_EQ(ui->registerAddressLabel->text(), "$dff100");
    EXPECT_EQ(ui->registerSummaryLabel->text(), "Grouped");
    EXPECT_EQ(ui->registerNoteLabel->text(), "The note");
    EXPECT_EQ(ui->registerExtraLabel->text(), "More");
    EXPECT_EQ(bit(9)->text(), "B9");
    EXPECT_TRUE(bit(9)->font().italic());
    EXPECT_FALSE(bit(8)->font().italic());
    EXPECT_TRUE(bit(9)->toolTip().contains("Description 9"));
    EXPECT_TRUE(bit(9)->toolTip().contains("AGA"));
    // A screen reader hears the bit's number with its function, then the same
    // facts as the tooltip in plain text.
    EXPECT_EQ(bit(9)->accessibleName(), "Bit 9 B9");
    EXPECT_TRUE(bit(9)->accessibleDescription().contains("Description 9"));
    EXPECT_TRUE(bit(9)->accessibleDescription().contains("AGA only"));
    EXPECT_FALSE(bit(9)->accessibleDescription().contains('<'));
    EXPECT_FALSE(ui->registerIsAGACheckButton->isChecked());

    click(3);
    click(13);
    chooseWithKeys(ui->registerPopUpButton, 1);
    EXPECT_EQ(controller->shownRegister()->name, "PLAIN");
    EXPECT_EQ(bit(3)->text(), "P3");
    EXPECT_EQ(bit(3)->accessibleName(), "Bit 3 P3");
    EXPECT_EQ(byteLabels(), allOff);
    // No groups: the pop-up is empty and the group labels keep what they showed.
    EXPECT_EQ(ui->groupPopUpButton->count(), 0);
    EXPECT_EQ(groupLabels(), QStringList({"8", "0x0008", "1000"}));
    EXPECT_TRUE(ui->registerNoteLabel->isHidden());

    chooseWithKeys(ui->registerPopUpButton, 2);
    ASSERT_EQ(controller->shownRegister()->name, "WIDE");
    EXPECT_TRUE(controller->shownRegister()->isAGA);
    EXPECT_TRUE(ui->registerIsAGACheckButton->isChecked());
    // The box reports; a click does not change it.
    QTest::mouseClick(ui->registerIsAGACheckButton, Qt::LeftButton);
    EXPECT_TRUE(ui->registerIsAGACheckButton->isChecked());

    // Choosing the shown register again clears its bits.
    click(1);
    controller->changeRegister(ui->registerPopUpButton);
    EXPECT_FALSE(bit(1)->isChecked());
}

TEST_F(RegistersTool, TypingARegisterNameJumpsToIt) {
    QLineEdit *edit = ui->registerPopUpButton->lineEdit();
    ASSERT_NE(edit, nullptr);
    type(edit, "bplcon0");
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_NE(controller->shownRegister(), nullptr);
    EXPECT_EQ(controller->shownRegister()->name, "BPLCON0");
    EXPECT_EQ(ui->registerPopUpButton->currentText(), "BPLCON0");

    // A name that matches nothing puts the shown register's name back.
    type(edit, "NOSUCH");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(controller->shownRegister()->name, "BPLCON0");
    EXPECT_EQ(edit->text(), "BPLCON0");
}

TEST_F(RegistersTool, BitplaneCountOfBplcon0) {
    const int index = ui->registerPopUpButton->findText("BPLCON0");
    ASSERT_GE(index, 0);
    chooseWithKeys(ui->registerPopUpButton, index);
    EXPECT_EQ(ui->registerAddressLabel->text(), "$dff100");
    EXPECT_EQ(bit(15)->text(), "HIRES");
    EXPECT_EQ(bit(0)->text(), "ECSENA");
    click(12);
    click(13);
    EXPECT_EQ(ui->finalWordLabel->text(), "12288");
    EXPECT_EQ(ui->finalWordBase16Label->text(), "0x3000");
    const int bpu = ui->groupPopUpButton->findText("BPU");
    ASSERT_GE(bpu, 0);
    chooseWithKeys(ui->groupPopUpButton, bpu);
    EXPECT_EQ(ui->groupWordLabel->text(), "3");
    EXPECT_EQ(ui->groupWordBase16Label->text(), "0x0003");
    EXPECT_EQ(ui->groupBinaryLabel->text(), "0011");
    EXPECT_TRUE(bit(4)->font().italic()); // BPU3 is AGA only
}

TEST_F(RegistersTool, WithoutADatabaseTheTabSaysSoAndStillCounts) {
    LogCapture log;
    controller->parseRegisterData(QByteArray());
    EXPECT_TRUE(controller->registers().isEmpty());
    EXPECT_EQ(controller->shownRegister(), nullptr);
    EXPECT_EQ(ui->registerPopUpButton->count(), 0);
    EXPECT_TRUE(ui->registerSummaryLabel->text().contains("could not be read"));
    EXPECT_EQ(bit(7)->text(), "Bit 7");
    EXPECT_EQ(log.lines.size(), 1);
    click(7);
    EXPECT_EQ(ui->finalWordLabel->text(), "128");
    goal("3");
    EXPECT_EQ(ui->finalWordLabel->text(), "3");
}
