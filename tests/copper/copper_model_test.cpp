#include "copper/CopperMove.h"
#include "copper/CopperWait.h"

#include "QtPrinters.h"
#include <gtest/gtest.h>
#include <limits>

namespace {

std::unique_ptr<CopperMove> makeMove(const QString &reg, const QString &high, bool autoHigh,
                                     const QString &low, bool autoLow) {
    auto move = std::make_unique<CopperMove>(0);
    move->setRegisterReference(reg);
    move->setAutoVerticalValue(autoHigh);
    move->setAutoHorizontalValue(autoLow);
    move->setVerticalHexValue(high, low);
    return move;
}

std::unique_ptr<CopperWait> makeWait(const QString &v, const QString &h, const QString &vm,
                                     const QString &hm) {
    auto wait = std::make_unique<CopperWait>(1);
    wait->setVerticalPositionHexValue(v, h);
    wait->setVerticalMaskHexValue(vm, hm);
    return wait;
}

TEST(CopperInstruction, RowTextAndOutputOfTheWorkedExamples) {
    const qint64 line = 0x2c;
    struct Case {
        std::unique_ptr<CopperObject> object;
        const char *row;
        const char *output;
    };
    Case cases[] = {
        {makeMove("COLOR00", "0f", false, "00", false), "[MOVE] COLOR00,$0f00", "COLOR00,$0f00"},
        {makeMove("COLOR00", "00", true, "00", false), "[MOVE] COLOR00,$--00", "COLOR00,$2c00"},
        {makeWait("0", "e1", "ff", "fe"), "[WAIT] $--e1,$fffe", "$2ce1,$fffe"},
        {makeWait("10", "07", "7f", "fe"), "[WAIT] $1007,$7ffe", "$3c07,$7ffe"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.object->commandDescription(), QString::fromLatin1(c.row));
        EXPECT_EQ(c.object->outputWithVerticalIncrement(line, 0), QString::fromLatin1(c.output));
    }
}

TEST(CopperInstruction, EmptyFieldsReadAsZero) {
    // Zeros, except that the first word of a WAIT always has bit 0 set: $2c00 would be a MOVE.
    auto wait = makeWait("", "", "", "");
    EXPECT_EQ(wait->commandDescription(), "[WAIT] $--01,$0000");
    EXPECT_EQ(wait->outputWithVerticalIncrement(0x2c, 0), "$2c01,$0000");

    auto move = makeMove("BPLCON0", "", false, "", false);
    EXPECT_EQ(move->commandDescription(), "[MOVE] BPLCON0,$0000");
}

TEST(CopperInstruction, WaitWordsAreWhatTheySay) {
    struct Case {
        const char *h, *vm, *hm;
        bool skip;
        const char *row, *output;
    } cases[] = {
        // Bit 0 of the horizontal position belongs to the first word and is always set.
        {"06", "ff", "fe", false, "[WAIT] $--07,$fffe", "$2c07,$fffe"},
        {"07", "ff", "fe", false, "[WAIT] $--07,$fffe", "$2c07,$fffe"},
        {"00", "ff", "fe", false, "[WAIT] $--01,$fffe", "$2c01,$fffe"},
        // Bit 0 of the horizontal mask belongs to the second word: clear for a WAIT...
        {"07", "ff", "ff", false, "[WAIT] $--07,$fffe", "$2c07,$fffe"},
        // ...and set for a SKIP, whatever the mask says.
        {"07", "ff", "fe", true, "[SKIP] $--07,$ffff", "$2c07,$ffff"},
        {"e1", "ff", "00", true, "[SKIP] $--e1,$ff01", "$2ce1,$ff01"},
        // The vertical mask's bit 7 is the blitter-finished-disable bit, kept as typed.
        {"07", "7f", "fe", false, "[WAIT] $--07,$7ffe", "$2c07,$7ffe"},
    };
    for (const Case &c : cases) {
        auto wait = makeWait("", c.h, c.vm, c.hm);
        wait->setSkip(c.skip);
        EXPECT_EQ(wait->commandDescription(), QString::fromLatin1(c.row)) << c.row;
        EXPECT_EQ(wait->outputWithVerticalIncrement(0x2c, 0), QString::fromLatin1(c.output));
    }
}

TEST(CopperInstruction, SumsAboveFfKeepTheirLowByte) {
    // A word holds two bytes: a position or value that passes $ff keeps its low byte (the
    // copper compares only the low byte of a line; the output adds the wait for line $ff).
    auto wait = makeWait("f0", "07", "ff", "fe");
    EXPECT_EQ(wait->outputWithVerticalIncrement(0x20, 0), "$1007,$fffe");
    // The horizontal increment is added to a WAIT; a MOVE byte that follows the line takes the
    // line (the vertical increment), the low byte as well as the high one.
    EXPECT_EQ(wait->outputWithVerticalIncrement(0, 0x100), "$f007,$fffe");
    auto move = makeMove("COLOR01", "ff", true, "ff", true);
    EXPECT_EQ(move->outputWithVerticalIncrement(2, 0), "COLOR01,$0101");
    EXPECT_EQ(move->outputWithVerticalIncrement(0, 3), "COLOR01,$ffff");
    EXPECT_EQ(move->commandDescription(), "[MOVE] COLOR01,$----");
    auto fixed = makeMove("COLOR01", "ff", false, "ff", false);
    EXPECT_EQ(fixed->outputWithVerticalIncrement(2, 3), "COLOR01,$ffff");
}

TEST(CopperInstruction, RegisterIsPrintedByItsName) {
    const struct {
        const char *typed, *printed;
    } cases[] = {
        {" $180 ", "COLOR00"}, {"color01", "COLOR01"}, {"$dff100", "BPLCON0"},
        {"1fc", "FMODE"},      {"$dff1f0", "$1f0"},    {"0x1f2", "$1f2"},
    };
    for (const auto &c : cases) {
        auto move = makeMove(QString::fromLatin1(c.typed), "0a", false, "5", false);
        EXPECT_EQ(move->outputWithVerticalIncrement(0, 0),
                  QString::fromLatin1(c.printed) + ",$0a05");
        EXPECT_EQ(move->commandDescription(),
                  "[MOVE] " + QString::fromLatin1(c.printed) + ",$0a05");
    }
    // Text that names no register (the tab refuses it) is left as it is.
    auto odd = makeMove("$181", "00", false, "00", false);
    EXPECT_EQ(odd->registerOffset(), std::nullopt);
    EXPECT_EQ(odd->outputWithVerticalIncrement(0, 0), "$181,$0000");
}

TEST(CopperInstruction, NewInstructionsHaveDistinctVersionFourUuids) {
    CopperMove a;
    CopperWait b;
    EXPECT_FALSE(a.uuid().isNull());
    EXPECT_NE(a.uuid(), b.uuid());
    EXPECT_EQ(a.uuid().version(), QUuid::Random);
    EXPECT_EQ(a.type(), 0u);
    EXPECT_EQ(b.type(), 1u);
}

TEST(CopperInstruction, CopiesMatchButHaveNoIdentity) {
    auto move = makeMove("COLOR00", "0f", true, "3c", false);
    auto wait = makeWait("10", "07", "7f", "fe");
    wait->setSkip(true);
    for (const CopperObject *original :
         {static_cast<CopperObject *>(move.get()), static_cast<CopperObject *>(wait.get())}) {
        auto copy = original->copy();
        ASSERT_TRUE(copy);
        EXPECT_TRUE(copy->uuid().isNull());
        EXPECT_EQ(copy->type(), original->type());
        EXPECT_EQ(copy->commandDescription(), original->commandDescription());
        EXPECT_EQ(copy->outputWithVerticalIncrement(0x40, 0),
                  original->outputWithVerticalIncrement(0x40, 0));
    }
    // The copy is separate: changing it leaves the original alone.
    auto copy = move->copy();
    auto *moveCopy = dynamic_cast<CopperMove *>(copy.get());
    ASSERT_TRUE(moveCopy);
    moveCopy->setRegisterReference("COLOR31");
    moveCopy->setAutoVerticalValue(false);
    EXPECT_EQ(move->commandDescription(), "[MOVE] COLOR00,$--3c");
}

TEST(CopperInstruction, BaseClassAnswersWithoutFailing) {
    CopperObject base(7);
    EXPECT_EQ(base.commandDescription(), "Requires Subclass Implementation");
    EXPECT_EQ(base.outputWithVerticalIncrement(1, 2), "Requires Subclass Implementation");
    EXPECT_EQ(base.copy(), nullptr);
    EXPECT_EQ(base.type(), 7u);
}

TEST(CopperInstruction, ExtremeValuesKeepTheirLowByte) {
    CopperWait wait;
    wait.setVerticalPosition(std::numeric_limits<qint64>::max());
    wait.setHorizontalPosition(-1);
    EXPECT_EQ(wait.outputWithVerticalIncrement(1, 0), "$00ff,$0000");
}

} // namespace
