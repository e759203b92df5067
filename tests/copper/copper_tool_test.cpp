// The Copper tool without its widgets: each instruction's row and words, the refused registers,
// the code for a run of lines, and the list's edits as steps that can be undone. The words are
// worked out by hand from the Hardware Reference Manual's copper chapter: a WAIT's first word is
// VP,HP with bit 0 set, its second the mask bytes with bit 0 clear (set for a SKIP, bit 15 the
// blitter-finished-disable bit); a MOVE's first word is the register's offset.
#include "copper/CopperTool.h"

#include "QtPrinters.h"
#include <gtest/gtest.h>

#include <algorithm>
#include <variant>

namespace {

using Move = CopperTool::MoveFields;
using Wait = CopperTool::WaitFields;
using Instruction = std::variant<Move, Wait>;

Move move(const char *reg, const char *high, const char *low, bool autoHigh = false,
          bool autoLow = false) {
    return {reg, high, low, autoHigh, autoLow};
}
Wait wait(const char *v, const char *h, const char *vm, const char *hm, bool skip = false) {
    return {v, h, vm, hm, skip};
}

QStringList rows(CopperTool &tool) {
    QStringList texts;
    for (int row = 0; row < tool.list().rowCount(); ++row)
        texts << tool.list().index(row).data().toString();
    return texts;
}

QString add(CopperTool &tool, const Instruction &instruction) {
    if (const auto *m = std::get_if<Move>(&instruction))
        return tool.addMove(*m);
    tool.addWait(std::get<Wait>(instruction));
    return {};
}

// A tool with the list given and the run: lines from first, the line WAIT at $07 under $fffe.
std::unique_ptr<CopperTool> toolWith(std::initializer_list<Instruction> list, const char *lines,
                                     const char *first, bool ntsc = false) {
    auto tool = std::make_unique<CopperTool>();
    for (const Instruction &i : list)
        add(*tool, i);
    tool->lines = lines;
    tool->firstLine = first;
    tool->horizontal = "07";
    tool->verticalMask = "ff";
    tool->horizontalMask = "fe";
    tool->ntsc = ntsc;
    return tool;
}

} // namespace

TEST(CopperTool, EachInstructionsRowAndItsWordsOnLine2c) {
    const struct {
        Instruction typed;
        const char *row, *words;
    } cases[] = {
        {move("COLOR00", "0f", "00"), "[MOVE] COLOR00,$0f00", "COLOR00,$0f00"},
        // A byte that follows the line takes the line's low byte, added to its own.
        {move("COLOR00", "", "00", true), "[MOVE] COLOR00,$--00", "COLOR00,$2c00"},
        {move("COLOR00", "0f", "01", false, true), "[MOVE] COLOR00,$0f--", "COLOR00,$0f2d"},
        {move("COLOR01", "ff", "ff", true, true), "[MOVE] COLOR01,$----", "COLOR01,$2b2b"},
        {move("BPLCON0", "", ""), "[MOVE] BPLCON0,$0000", "BPLCON0,$0000"},
        // Any form of a register, printed by its name, or by its offset when it has none.
        {move(" $180 ", "0a", "5"), "[MOVE] COLOR00,$0a05", "COLOR00,$0a05"},
        {move("color01", "0a", "5"), "[MOVE] COLOR01,$0a05", "COLOR01,$0a05"},
        {move("$dff100", "0a", "5"), "[MOVE] BPLCON0,$0a05", "BPLCON0,$0a05"},
        {move("1fc", "0a", "5"), "[MOVE] FMODE,$0a05", "FMODE,$0a05"},
        {move("$dff1f0", "0a", "5"), "[MOVE] $1f0,$0a05", "$1f0,$0a05"},
        {move("0x1f2", "0a", "5"), "[MOVE] $1f2,$0a05", "$1f2,$0a05"},
        // A WAIT's vertical position is counted from the line ("--" is the line itself).
        {wait("0", "e1", "ff", "fe"), "[WAIT] $--e1,$fffe", "$2ce1,$fffe"},
        {wait("10", "07", "7f", "fe"), "[WAIT] $1007,$7ffe", "$3c07,$7ffe"},
        {wait("d0", "07", "ff", "fe"), "[WAIT] $d007,$fffe", "$fc07,$fffe"},
        // Empty fields read as 0, but the first word keeps bit 0: $2c00 would be a MOVE.
        {wait("", "", "", ""), "[WAIT] $--01,$0000", "$2c01,$0000"},
        {wait("", "06", "ff", "fe"), "[WAIT] $--07,$fffe", "$2c07,$fffe"},
        // The mask's bit 0 is the SKIP's: clear for a WAIT, set for a SKIP, whatever is typed.
        {wait("", "07", "ff", "ff"), "[WAIT] $--07,$fffe", "$2c07,$fffe"},
        {wait("", "07", "ff", "fe", true), "[SKIP] $--07,$ffff", "$2c07,$ffff"},
        {wait("", "e1", "ff", "00", true), "[SKIP] $--e1,$ff01", "$2ce1,$ff01"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.row);
        auto tool = toolWith({c.typed}, "1", "2c");
        EXPECT_EQ(rows(*tool), QStringList{c.row});
        EXPECT_EQ(tool->code(), std::string("\tdc.w\t$2c07,$fffe,") + c.words + "\n");
    }
}

TEST(CopperTool, AMoveNeedsARegisterOfTheCustomChips) {
    const QString none = "Type a register for the MOVE: a name such as COLOR00 or an offset such "
                         "as $180.";
    const auto noRegister = [](const char *typed) {
        return QString("\u201c%1\u201d is no custom-chip register: type a name such as COLOR00 or "
                       "an offset such as $180 or $dff180.")
            .arg(typed);
    };
    const struct {
        const char *typed;
        QString says;
    } cases[] = {
        {"", none},
        {"   ", none},
        {"COLOR32", noRegister("COLOR32")},
        {" COLOR 02", noRegister("COLOR 02")},
        {"$181", noRegister("$181")}, // odd: no register starts there
        {"$200", noRegister("$200")},
        {"dff200x", noRegister("dff200x")},
        {"COLOR02", ""},
    };
    CopperTool tool;
    for (const auto &c : cases)
        EXPECT_EQ(tool.addMove(move(c.typed, "0f", "00")), c.says) << c.typed;
    EXPECT_EQ(rows(tool), QStringList{"[MOVE] COLOR02,$0f00"});
}

TEST(CopperTool, TheCodeForARunOfLines) {
    const Instruction colourFollows = move("COLOR00", "", "00", true);
    const std::string endOfLineFf =
        "\tdc.w\t$ffdf,$fffe\t; end of line $ff: later lines count from $00 again\n";
    const struct {
        std::unique_ptr<CopperTool> tool;
        std::string code;
    } cases[] = {
        {toolWith({colourFollows}, "3", "2c"), "\tdc.w\t$2c07,$fffe,COLOR00,$2c00\n"
                                               "\tdc.w\t$2d07,$fffe,COLOR00,$2d00\n"
                                               "\tdc.w\t$2e07,$fffe,COLOR00,$2e00\n"},
        {toolWith({move("COLOR00", "0f", "00"), wait("00", "e1", "ff", "fe")}, "1", "2c"),
         "\tdc.w\t$2c07,$fffe,COLOR00,$0f00,$2ce1,$fffe\n"},
        // The Lines field reads as a decimal number; nothing, or none, prints nothing.
        {toolWith({}, "  +2 lines", "2c"), "\tdc.w\t$2c07,$fffe\n\tdc.w\t$2d07,$fffe\n"},
        {toolWith({colourFollows}, "0", "2c"), ""},
        {toolWith({colourFollows}, "-3", "2c"), ""},
        {toolWith({colourFollows}, "lines", "2c"), ""},
        // Past line $ff the copper compares the low byte: first the wait for the end of $ff.
        {toolWith({colourFollows}, "3", "fe"), "\tdc.w\t$fe07,$fffe,COLOR00,$fe00\n"
                                               "\tdc.w\t$ff07,$fffe,COLOR00,$ff00\n" +
                                                   endOfLineFf +
                                                   "\tdc.w\t$0007,$fffe,COLOR00,$0000\n"},
        // Registers the copper cannot write, or writes only with COPCON's danger bit, once each.
        {toolWith(
             {move("COPCON", "00", "02"), move("bltcon0", "09", "f0"), move("COPCON", "00", "00")},
             "1", "2c"),
         "; COPCON ($02e): the copper cannot write registers $000-$03e\n"
         "; BLTCON0 ($040): the copper writes registers $040-$07e only while COPCON's danger "
         "bit is set\n"
         "\tdc.w\t$2c07,$fffe,COPCON,$0002,BLTCON0,$09f0,COPCON,$0000\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.tool->code(), c.code) << c.tool->lines.toStdString();

    // The line WAIT's fields: its bit 0 stays a WAIT's whatever they hold.
    const struct {
        const char *h, *vm, *hm, *line;
    } waits[] = {
        {"00", "ff", "fe", "\tdc.w\t$2c01,$fffe\n"}, // $2c00 would be a MOVE to BLTDDAT
        {"06", "ff", "fe", "\tdc.w\t$2c07,$fffe\n"},
        {"07", "ff", "ff", "\tdc.w\t$2c07,$fffe\n"}, // $ffff would be a SKIP
        {"07", "f", "fe", "\tdc.w\t$2c07,$0ffe\n"},
        {"07", "ff", "e", "\tdc.w\t$2c07,$ff0e\n"},
        {"07", "", "", "\tdc.w\t$2c07,$0000\n"},
    };
    for (const auto &w : waits) {
        auto tool = toolWith({}, "1", "2c");
        tool->horizontal = w.h;
        tool->verticalMask = w.vm;
        tool->horizontalMask = w.hm;
        EXPECT_EQ(tool->code(), w.line);
    }
}

// A PAL frame has lines $000-$137 (312), an NTSC one $000-$105 (262): a run stops there.
TEST(CopperTool, ARunStopsAtTheEndOfTheFrame) {
    const struct {
        const char *lines;
        bool ntsc;
        int printed; // lines printed, then the wait for line $ff and the closing comment
        const char *last;
    } cases[] = {
        {"300", false, 268,
         "; lines from $138 on are past the end of a PAL frame (312 lines): 32 of the 300 lines "
         "asked for are not generated"},
        {"99999999999999999999999", false, 268, nullptr},
        {"268", false, 268, "\tdc.w\t$3707,$fffe"},
        {"300", true, 218,
         "; lines from $106 on are past the end of an NTSC frame (262 lines): 82 of the 300 "
         "lines asked for are not generated"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.lines);
        auto tool = toolWith({}, c.lines, "2c", c.ntsc);
        const QStringList lines = QString::fromStdString(tool->code()).split('\n');
        const int comments = std::string(c.lines) == "268" ? 0 : 1;
        EXPECT_EQ(lines.size(), c.printed + 1 + comments + 1); // the last line ends with '\n'
        if (c.last) {
            EXPECT_EQ(lines[lines.size() - 2], c.last);
        }
    }
    // A WAIT of the list that lands past line $ff before the line's own wait for it, or past
    // the end of the frame, is named above the code.
    auto before = toolWith({wait("10", "07", "ff", "fe")}, "32", "e0");
    EXPECT_EQ(QString::fromStdString(before->code()).section('\n', 0, 0),
              "; the WAIT for line $100 on line $f0 comes before the wait for the end of line "
              "$ff: the copper compares $00 and does not wait");
    auto past = toolWith({wait("30", "07", "ff", "fe")}, "1", "2c", true);
    past->firstLine = "f0";
    EXPECT_EQ(QString::fromStdString(past->code()).section('\n', 1, 1),
              "; the WAIT for line $120 on line $f0 is past the end of an NTSC frame ($105)");
}

TEST(CopperTool, EachEditIsAStepThatCanBeUndone) {
    CopperTool tool;
    for (const char *reg : {"COLOR00", "COLOR01", "COLOR02", "COLOR03"})
        tool.addMove(move(reg, "00", "00"));
    const auto uuid = [&](int row) { return tool.list().objectAt(row)->uuid().toString(); };
    const auto c = [](int n) { return QString("[MOVE] COLOR0%1,$0000").arg(n); };
    const struct {
        std::function<bool()> edit;
        bool changes;
        QStringList after;
    } cases[] = {
        {[&] { return tool.duplicate(1); }, true, {c(0), c(1), c(2), c(3), c(1)}},
        // The copy is an instruction of its own: a drag of it moves it, not the original.
        {[&] { return tool.drop(uuid(4), 0); }, true, {c(1), c(0), c(1), c(2), c(3)}},
        {[&] { return tool.remove(2); }, true, {c(1), c(0), c(2), c(3)}},
        {[&] { return tool.move(0, 4); }, true, {c(0), c(2), c(3), c(1)}},
        {[&] { return tool.move(3, 1); }, true, {c(0), c(1), c(2), c(3)}},
        {[&] { return tool.drop(uuid(1) + " ", 4); }, true, {c(0), c(2), c(3), c(1)}},
        // The gaps on either side of a row, and rows that are not there, change nothing.
        {[&] { return tool.move(1, 1) || tool.move(1, 2) || tool.move(4, 0); }, false, {}},
        {[&] { return tool.move(0, 5) || tool.move(-1, 0); }, false, {}},
        {[&] { return tool.remove(4) || tool.remove(-1) || tool.duplicate(4); }, false, {}},
        {[&] { return tool.drop("{00000000-0000-0000-0000-000000000001}", 0); }, false, {}},
        {[&] { return tool.drop("not a uuid", 0); }, false, {}},
        {[&] { return tool.clear(), true; }, true, {}},
        {[&] { return tool.clear(), false; }, false, {}}, // an empty list: no step
    };
    std::vector<QStringList> states{rows(tool)};
    for (const auto &edit : cases) {
        const QStringList before = rows(tool);
        EXPECT_EQ(edit.edit(), edit.changes) << before.join(' ').toStdString();
        if (edit.changes)
            states.push_back(edit.after);
        EXPECT_EQ(rows(tool), states.back());
    }
    // Four additions and seven edits: eleven steps back, and forward again.
    QUndoStack &undo = tool.undoStack();
    EXPECT_EQ(undo.count(), 4 + 7);
    EXPECT_EQ(undo.undoText(), "Clear List");
    for (auto state = states.rbegin() + 1; state != states.rend(); ++state) {
        undo.undo();
        EXPECT_EQ(rows(tool), *state);
    }
    for (int step = 0; step < 4; ++step)
        undo.undo();
    EXPECT_TRUE(rows(tool).isEmpty());
    undo.redo();
    EXPECT_EQ(undo.undoText(), "Add MOVE");
    tool.addWait(wait("", "", "", "", true));
    EXPECT_EQ(undo.undoText(), "Add SKIP");
}

TEST(CopperTool, ARowGivesBackTheFieldsThatMakeIt) {
    const struct {
        Instruction typed;
        Instruction fields; // what the row gives back: the register as printed, bytes in two digits
    } cases[] = {
        {move("bpl1mod", "", "28", true), move("BPL1MOD", "", "28", true)},
        {move("$dff18a", "a", "b"), move("COLOR05", "0a", "0b")},
        {move("COLOR05", "0a", "", false, true), move("COLOR05", "0a", "", false, true)},
        {wait("2c", "e1", "ff", "fe"), wait("2c", "e1", "ff", "fe")},
        {wait("40", "", "ff", "fe", true), wait("40", "00", "ff", "fe", true)},
        {wait("", "", "", ""), wait("00", "00", "00", "00")},
    };
    for (const auto &c : cases) {
        CopperTool tool;
        add(tool, c.typed);
        const std::optional<Move> m = tool.moveFieldsAt(0);
        const std::optional<Wait> w = tool.waitFieldsAt(0);
        ASSERT_NE(m.has_value(), w.has_value());
        EXPECT_FALSE(tool.moveFieldsAt(1) || tool.waitFieldsAt(-1));
        if (const auto *expected = std::get_if<Move>(&c.fields)) {
            ASSERT_TRUE(m);
            EXPECT_EQ((std::tuple(m->reg, m->high, m->low, m->autoHigh, m->autoLow)),
                      (std::tuple(expected->reg, expected->high, expected->low, expected->autoHigh,
                                  expected->autoLow)));
        } else {
            const Wait &given = std::get<Wait>(c.fields);
            ASSERT_TRUE(w);
            EXPECT_EQ((std::tuple(w->vertical, w->horizontal, w->verticalMask, w->horizontalMask,
                                  w->skip)),
                      (std::tuple(given.vertical, given.horizontal, given.verticalMask,
                                  given.horizontalMask, given.skip)));
        }
        // Added again, the fields make the same row.
        add(tool, m ? Instruction(*m) : Instruction(*w));
        EXPECT_EQ(rows(tool).last(), rows(tool).first());
    }
}
