// The input formatters in a real field: what typing and pasting leave in it.
#include "common/HexFormatter.h"
#include "common/RGBColourNumberFormatter.h"

#include "QtPrinters.h"
#include "UserInput.h"
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Starting from an empty field, each step types or pastes over the whole text (or types on).
struct Step {
    enum { Type, TypeOn, Paste } how;
    const char *text;
    const char *kept;
};

void check(QValidator &formatter, std::initializer_list<Step> steps) {
    QLineEdit field;
    field.setValidator(&formatter);
    field.show();
    for (const Step &step : steps) {
        if (step.how == Step::Paste)
            userinput::paste(&field, QString::fromUtf8(step.text));
        else if (step.how == Step::Type)
            userinput::type(&field, QString::fromUtf8(step.text));
        else
            QTest::keyClicks(&field, step.text);
        EXPECT_EQ(field.text(), QString::fromUtf8(step.kept)) << step.text;
    }
}

} // namespace

TEST(Formatters, HexFieldsTakeLowerCaseHexDigitsUpToTheirLength) {
    HexFormatter two(2);
    check(two, {
                   {Step::Type, "0F", "0f"}, // upper case is taken as lower case
                   {Step::TypeOn, "G", "0f"},
                   {Step::Type, "Gab", "ab"}, // no hex digit; a third digit is too long
                   {Step::Paste, "7f", "7f"},
                   {Step::Paste, "0x1", "7f"}, // a paste is refused as a whole
                   {Step::Paste, "abc", "7f"},
                   {Step::Paste, " f", "7f"},
                   {Step::Paste, "$f", "7f"},
                   {Step::Paste, "C0", "c0"},
                   {Step::Paste, "ABCDE", "c0"},
                   {Step::Type, "", ""}, // the field can always be emptied
               });
    HexFormatter four(4);
    check(four, {{Step::Paste, "AbCd", "abcd"}, {Step::TypeOn, "e", "abcd"}});
    HexFormatter none(0);
    check(none, {{Step::Type, "0", ""}});
}

TEST(Formatters, ColourNumberFieldsTakeThreeDecimalDigits) {
    RGBColourNumberFormatter formatter;
    check(formatter, {
                         {Step::Type, "2a5-5.9", "255"}, // letters, signs and points; a fourth
                         {Step::Paste, "1 2", "255"},
                         {Step::Paste, "+1", "255"},
                         {Step::Paste, "1000", "255"},
                         {Step::Paste, "007", "007"},
                         {Step::Paste, "\u0661\u0662\u0663", "\u0661\u0662\u0663"}, // Arabic-Indic
                         {Step::Paste, "\u216b", "\u0661\u0662\u0663"}, // Roman twelve: no digit
                         {Step::Paste, "12", "12"},
                     });
}
