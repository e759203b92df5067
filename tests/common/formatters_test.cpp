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
enum How { Type, TypeOn, Paste };
struct Step {
    How how;
    const char *text, *kept;
};

void check(QValidator &&formatter, std::initializer_list<Step> steps) {
    QLineEdit field;
    field.setValidator(&formatter);
    field.show();
    for (const Step &step : steps) {
        const QString text = QString::fromUtf8(step.text);
        if (step.how == TypeOn)
            QTest::keyClicks(&field, text);
        else
            step.how == Paste ? userinput::paste(&field, text) : userinput::type(&field, text);
        EXPECT_EQ(field.text(), QString::fromUtf8(step.kept)) << step.text;
    }
}

} // namespace

// Upper case is taken as lower case; no digit past the length; a paste is refused as a whole;
// the field can always be emptied.
TEST(Formatters, HexFieldsTakeLowerCaseHexDigitsUpToTheirLength) {
    // clang-format off
    check(HexFormatter(2), {{Type, "0F", "0f"}, {TypeOn, "G", "0f"}, {Type, "Gab", "ab"},
                            {Paste, "7f", "7f"}, {Paste, "0x1", "7f"}, {Paste, "abc", "7f"},
                            {Paste, " f", "7f"}, {Paste, "$f", "7f"}, {Paste, "C0", "c0"},
                            {Paste, "ABCDE", "c0"}, {Type, "", ""}});
    // clang-format on
    check(HexFormatter(4), {{Paste, "AbCd", "abcd"}, {TypeOn, "e", "abcd"}});
    check(HexFormatter(0), {{Type, "0", ""}});
}

// Decimal digits of any script, three at most; no letters, signs, points or blanks.
TEST(Formatters, ColourNumberFieldsTakeThreeDecimalDigits) {
    // clang-format off
    check(RGBColourNumberFormatter(), {{Type, "2a5-5.9", "255"}, {Paste, "1 2", "255"},
        {Paste, "+1", "255"}, {Paste, "1000", "255"}, {Paste, "007", "007"},
        {Paste, "\u0661\u0662\u0663", "\u0661\u0662\u0663"}, // Arabic-Indic
        {Paste, "\u216b", "\u0661\u0662\u0663"},              // Roman twelve: no digit
        {Paste, "12", "12"}});
    // clang-format on
}
