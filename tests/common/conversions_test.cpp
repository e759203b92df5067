#include "common/HexToBinary.h"
#include "common/HexToInteger.h"
#include "common/Reverse.h"
#include "common/Wrapping.h"

#include "QtPrinters.h"
#include "golden_table.h"
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <gtest/gtest.h>

// The cases of data/conversions.txt, each the text given and what comes of it.
const std::string kConversions = QUILLFEN_COMMON_DATA "/conversions.txt";

TEST(ConvertHexToInteger, ReadsLikeStrtolBase16) {
    for (const QStringList &c : golden::table(kConversions, "hex to integer"))
        EXPECT_EQ(convertHexToInteger(c[0]), c[1].toLongLong()) << c.join('|');
    // Before the number the six characters isspace() takes are passed over.
    EXPECT_EQ(convertHexToInteger("\t\n\v\f\r 1f"), 31);
}

TEST(ConvertHexToBinary, SpellsEveryHexDigitAndSkipsTheRest) {
    for (const QStringList &c : golden::table(kConversions, "hex to binary"))
        EXPECT_EQ(convertHexToBinary(c[0]), c[1]) << c.join('|');
    // No number is formed on the way: long inputs keep every digit.
    EXPECT_EQ(convertHexToBinary(QString(100, QChar('f'))), QString(400, QChar('1')));
}

TEST(Reverse, MovesWholeCharactersAndKeepsTheirInnerOrder) {
    for (const QStringList &c : golden::table(kConversions, "reverse"))
        EXPECT_EQ(reverse(c[0]), c[1]) << c.join('|');
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
