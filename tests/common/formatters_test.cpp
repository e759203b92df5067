// The input formatters in a real field: what typing and pasting leave in it.
#include "common/HexFormatter.h"
#include "common/RGBColourNumberFormatter.h"

#include "QtPrinters.h"
#include "UserInput.h"
#include "golden_table.h"
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Starting from an empty field, the steps of case `name` of data/formatters.txt: each types
// over the whole text, types on, or pastes over the whole text; the field keeps the text given.
void check(QValidator &&formatter, const char *name) {
    QLineEdit field;
    field.setValidator(&formatter);
    field.show();
    for (const QStringList &step : golden::table(QUILLFEN_COMMON_DATA "/formatters.txt", name)) {
        if (step[0] == "type on")
            QTest::keyClicks(&field, step[1]);
        else
            step[0] == "paste" ? userinput::paste(&field, step[1])
                               : userinput::type(&field, step[1]);
        EXPECT_EQ(field.text(), step[2]) << name << ": " << step.join('|');
    }
}

} // namespace

TEST(Formatters, HexFieldsTakeLowerCaseHexDigitsUpToTheirLength) {
    check(HexFormatter(2), "hex field of 2");
    check(HexFormatter(4), "hex field of 4");
    check(HexFormatter(0), "hex field of 0");
}

TEST(Formatters, ColourNumberFieldsTakeThreeDecimalDigits) {
    check(RGBColourNumberFormatter(), "colour number field");
}
