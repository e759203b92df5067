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

// As strtol(text, 0, 16) reads it, clamped to 64 bits; 0 where no number starts ("0x" needs a
// digit after it, no blank between sign and digits, nothing before a non-ASCII first character).
TEST(ConvertHexToInteger, ReadsLikeStrtolBase16) {
    const qint64 max = std::numeric_limits<qint64>::max(), min = std::numeric_limits<qint64>::min();
    // clang-format off
    const std::pair<const char *, qint64> cases[] = {
        {"", 0}, {"ff", 255}, {"FF", 255}, {"0xff", 255}, {"0XfF", 255}, {" 1f", 31},
        {"\t\n\v\f\r1f", 31}, {"1fz", 31}, {"$1f", 0}, {"-10", -16}, {"+10", 16}, {"g", 0},
        {"0x", 0}, {"0xg", 0}, {"- 1", 0}, {"7fffffffffffffff", max}, {"8000000000000000", max},
        {"ffffffffffffffffffff", max}, {"-8000000000000000", min}, {"-ffffffffffffffffff", min},
        {"\xc3\xa9\x31", 0}};
    // clang-format on
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(convertHexToInteger(QString::fromUtf8(text)), expected) << text;
}

TEST(ConvertHexToBinary, SpellsEveryHexDigitAndSkipsTheRest) {
    // clang-format off
    const std::pair<const char *, const char *> cases[] = {
        {"", ""}, {"a5", "10100101"}, {"A5", "10100101"}, {"Fe", "11111110"}, {"0x1", "00000001"},
        {"$f", "1111"}, {"1 2", "00010010"}, {"00", "00000000"}, {"-g9", "1001"},
        {"\xc3\xa9\x63", "1100"},
        {"0123456789abcdef", "0000000100100011010001010110011110001001101010111100110111101111"}};
    // clang-format on
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(convertHexToBinary(QString::fromUtf8(text)), expected) << text;
    // No number is formed on the way: long inputs keep every digit.
    EXPECT_EQ(convertHexToBinary(QString(100, QChar('f'))), QString(400, QChar('1')));
}

// Whole characters move: a base keeps its combining marks after it (one or two), a surrogate
// pair (an emoji outside the BMP) stays whole.
TEST(Reverse, MovesWholeCharactersAndKeepsTheirInnerOrder) {
    // clang-format off
    const std::pair<const char *, const char *> cases[] = {
        {"", ""}, {"0011", "1100"}, {"0000000000000001", "1000000000000000"},
        {"xe\xcc\x81y", "ye\xcc\x81x"}, {"a\xf0\x9f\x98\x80\x62", "b\xf0\x9f\x98\x80\x61"},
        {"a\xcc\x81\xcc\xa3z", "za\xcc\x81\xcc\xa3"}};
    // clang-format on
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(reverse(QString::fromUtf8(text)), QString::fromUtf8(expected)) << text;
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
