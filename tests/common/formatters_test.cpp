#include "common/HexFormatter.h"
#include "common/RGBColourNumberFormatter.h"

#include "QtPrinters.h"
#include "UserInput.h"
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Pastes into the field where its cursor is, as the keyboard does.
void paste(QLineEdit &field, const QString &text) {
    userinput::paste(&field, text, false);
}

} // namespace

TEST(HexFormatter, EditCheckOnWholeTexts) {
    HexFormatter two(2);
    for (const char *ok : {"", "f", "0f", "ff", "a9"})
        EXPECT_TRUE(two.isPartialStringValid(ok)) << ok;
    for (const char *bad : {"fff", "FF", "0x", " f", "g", "$f", "-1", "f "})
        EXPECT_FALSE(two.isPartialStringValid(bad)) << bad;

    HexFormatter none(0);
    EXPECT_TRUE(none.isPartialStringValid(""));
    EXPECT_FALSE(none.isPartialStringValid("0"));

    HexFormatter byDefault;
    EXPECT_EQ(byDefault.maximumLength(), 2);
    EXPECT_TRUE(byDefault.isPartialStringValid("ab"));
    EXPECT_FALSE(byDefault.isPartialStringValid("abc"));

    byDefault.setMaximumLength(4);
    EXPECT_TRUE(byDefault.isPartialStringValid("abcd"));

    // An edit's upper-case digits become lower case; anything else still refuses it whole.
    const struct {
        const char *typed, *kept;
        QValidator::State state;
    } edits[] = {{"0F", "0f", QValidator::Acceptable},
                 {"AbCd", "abcd", QValidator::Acceptable},
                 {"Fg", "Fg", QValidator::Invalid},
                 {"0X", "0X", QValidator::Invalid},
                 {"ABCDE", "ABCDE", QValidator::Invalid}};
    for (const auto &edit : edits) {
        QString text = edit.typed;
        int position = 0;
        EXPECT_EQ(byDefault.validate(text, position), edit.state) << edit.typed;
        EXPECT_EQ(text, edit.kept) << edit.typed;
    }
}

TEST(HexFormatter, TypingAndPastingIntoARealField) {
    HexFormatter formatter(2);
    QLineEdit field;
    field.setValidator(&formatter);
    field.show();

    QTest::keyClicks(&field, "0F"); // upper case is taken as lower case
    EXPECT_EQ(field.text(), "0f");
    QTest::keyClicks(&field, "G"); // still too long, and no hex digit
    EXPECT_EQ(field.text(), "0f");
    field.clear();
    QTest::keyClicks(&field, "G");
    EXPECT_EQ(field.text(), "");
    QTest::keyClicks(&field, "a");
    QTest::keyClicks(&field, "b");
    QTest::keyClicks(&field, "c"); // a third character is too long
    EXPECT_EQ(field.text(), "ab");

    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(field.text(), "a");
    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(field.text(), ""); // the field can always be cleared

    paste(field, "7f");
    EXPECT_EQ(field.text(), "7f");
    field.selectAll();
    paste(field, "0x1"); // refused as a whole
    EXPECT_EQ(field.text(), "7f");
    field.selectAll();
    paste(field, "abc");
    EXPECT_EQ(field.text(), "7f");
    field.selectAll();
    paste(field, "e");
    EXPECT_EQ(field.text(), "e");
    field.selectAll();
    paste(field, "C0");
    EXPECT_EQ(field.text(), "c0");
}

TEST(RGBColourNumberFormatter, EditCheckOnWholeTexts) {
    RGBColourNumberFormatter formatter;
    for (const char *ok : {"", "0", "15", "255", "999", "007"})
        EXPECT_TRUE(formatter.isPartialStringValid(ok)) << ok;
    for (const char *bad : {"1000", "-1", "1.5", "12a", "1 2", "+1", "1,0", " 1"})
        EXPECT_FALSE(formatter.isPartialStringValid(bad)) << bad;
    // Every decimal digit of Unicode category Nd counts: Arabic-Indic 1 2 3.
    EXPECT_TRUE(formatter.isPartialStringValid(QString::fromUtf8("\xd9\xa1\xd9\xa2\xd9\xa3")));
    // Roman numeral twelve is a number but not a decimal digit.
    EXPECT_FALSE(formatter.isPartialStringValid(QString::fromUtf8("\xe2\x85\xab")));
}

TEST(RGBColourNumberFormatter, TypingAndPastingIntoARealField) {
    RGBColourNumberFormatter formatter;
    QLineEdit field;
    field.setValidator(&formatter);
    field.show();

    QTest::keyClicks(&field, "2a5-5.9");
    EXPECT_EQ(field.text(), "255"); // letters, signs and points refused; a fourth digit too
    field.selectAll();
    paste(field, "1 2");
    EXPECT_EQ(field.text(), "255");
    field.selectAll();
    paste(field, "12");
    EXPECT_EQ(field.text(), "12");
}
