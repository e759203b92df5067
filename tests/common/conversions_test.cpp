#include "common/HexToBinary.h"
#include "common/HexToInteger.h"
#include "common/Reverse.h"
#include "common/Wrapping.h"

#include "QtPrinters.h"
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

TEST(ConvertHexToInteger, ReadsLikeStrtolBase16) {
    const std::vector<std::pair<QString, qint64>> cases = {
        {"", 0},
        {"ff", 255},
        {"FF", 255},
        {"0xff", 255},
        {"0XfF", 255},
        {" 1f", 31},
        {"\t\n\v\f\r1f", 31},
        {"1fz", 31},
        {"$1f", 0},
        {"-10", -16},
        {"+10", 16},
        {"g", 0},
        {"0x", 0}, // the prefix needs a digit after it: the 0 alone is read
        {"0xg", 0},
        {"- 1", 0}, // no blank between sign and digits
        {"7fffffffffffffff", std::numeric_limits<qint64>::max()},
        {"8000000000000000", std::numeric_limits<qint64>::max()},
        {"ffffffffffffffffffff", std::numeric_limits<qint64>::max()},
        {"-8000000000000000", std::numeric_limits<qint64>::min()},
        {"-ffffffffffffffffff", std::numeric_limits<qint64>::min()},
        {QString::fromUtf8("\xc3\xa9"
                           "1"),
         0}, // non-ASCII first: no number
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(convertHexToInteger(text), expected) << text.toStdString();
}

TEST(ConvertHexToBinary, SpellsEveryHexDigitAndSkipsTheRest) {
    const std::vector<std::pair<QString, QString>> cases = {
        {"", ""},
        {"a5", "10100101"},
        {"A5", "10100101"},
        {"Fe", "11111110"},
        {"0x1", "00000001"},
        {"$f", "1111"},
        {"1 2", "00010010"},
        {"00", "00000000"},
        {"-g9", "1001"},
        {QString::fromUtf8("\xc3\xa9"
                           "c"),
         "1100"},
        {"0123456789abcdef", "0000000100100011010001010110011110001001101010111100110111101111"},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(convertHexToBinary(text), expected) << text.toStdString();

    // No number is formed on the way: long inputs keep every digit.
    const QString longText(100, QChar('f'));
    EXPECT_EQ(convertHexToBinary(longText), QString(400, QChar('1')));
}

TEST(Reverse, MovesWholeCharactersAndKeepsTheirInnerOrder) {
    EXPECT_EQ(reverse(""), "");
    EXPECT_EQ(reverse("0011"), "1100");
    EXPECT_EQ(reverse("0000000000000001"), "1000000000000000");
    // e followed by a combining acute accent stays "e + accent".
    EXPECT_EQ(reverse(QString::fromUtf8("xe\xcc\x81y")), QString::fromUtf8("ye\xcc\x81x"));
    // A surrogate pair (an emoji outside the BMP) is not split.
    EXPECT_EQ(reverse(QString::fromUtf8("a\xf0\x9f\x98\x80"
                                        "b")),
              QString::fromUtf8("b\xf0\x9f\x98\x80"
                                "a"));
    // Two combining marks on one base.
    EXPECT_EQ(reverse(QString::fromUtf8("a\xcc\x81\xcc\xa3z")),
              QString::fromUtf8("za\xcc\x81\xcc\xa3"));
}

TEST(DisableWordWrap, KeepsLongLinesOnOneLine) {
    QPlainTextEdit view;
    view.resize(200, 100);
    disableWordWrap(&view);
    view.setPlainText(QString("\tdc.w $0180,$0fff").repeated(40));
    view.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(view.document()->lineCount(), 1);
    EXPECT_GT(view.horizontalScrollBar()->maximum(), 0);
    EXPECT_TRUE(view.isReadOnly());
    disableWordWrap(nullptr); // harmless
}
