// The Copper tool without its widgets: each instruction's row and words, the refused registers,
// the code for a run of lines, and the list's edits as steps that can be undone. The words are
// worked out by hand from the Hardware Reference Manual's copper chapter: a WAIT's first word is
// VP,HP with bit 0 set, its second the mask bytes with bit 0 clear (set for a SKIP, bit 15 the
// blitter-finished-disable bit); a MOVE's first word is the register's offset.
#include "copper/CopperTool.h"

#include "QtPrinters.h"
#include "golden_text.h"
#include <gtest/gtest.h>

#include <variant>

namespace {

using Move = CopperTool::MoveFields;
using Wait = CopperTool::WaitFields;
using Instruction = std::variant<Move, Wait>;

QStringList rows(CopperTool &tool) {
    QStringList texts;
    for (int row = 0; row < tool.list().rowCount(); ++row)
        texts << tool.list().index(row).data().toString();
    return texts;
}

// An instruction as the data files write it: "MOVE register|high|low|high follows|low
// follows" or "WAIT vertical|horizontal|vertical mask|horizontal mask|skip".
Instruction parsed(const QString &text) {
    const QStringList f = text.mid(5).split('|');
    EXPECT_EQ(f.size(), 5) << text;
    if (text.startsWith("MOVE"))
        return Move{f.value(0), f.value(1), f.value(2), f.value(3) == "1", f.value(4) == "1"};
    return Wait{f.value(0), f.value(1), f.value(2), f.value(3), f.value(4) == "1"};
}

// Adds the instruction; the message that refuses it, if any.
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

// The fields a row gives back, as the data files write them.
QString givenBack(const CopperTool &tool, int row) {
    if (const std::optional<Move> m = tool.moveFieldsAt(row))
        return QStringList{m->reg, m->high, m->low, QString::number(m->autoHigh),
                           QString::number(m->autoLow)}
            .join('|');
    const std::optional<Wait> w = tool.waitFieldsAt(row);
    return w ? QStringList{w->vertical, w->horizontal, w->verticalMask, w->horizontalMask,
                           QString::number(w->skip)}
                   .join('|')
             : QString();
}

} // namespace

// Each instruction as typed: its row, its words on line $2c and the fields it gives back, or the
// message that refuses it (data/rows.txt).
TEST(CopperTool, EachInstructionsRowWordsAndFields) {
    const std::map<std::string, std::string> cases = golden::read(QUILLFEN_COPPER_DATA "/rows.txt");
    ASSERT_EQ(cases.size(), 31u);
    for (const auto &[typed, expected] : cases) {
        SCOPED_TRACE(typed);
        const QStringList shown = QString::fromStdString(expected).split('\n');
        auto tool = toolWith({}, "1", "2c");
        const Instruction instruction = parsed(QString::fromStdString(typed));
        const QString refused = add(*tool, instruction);
        EXPECT_EQ(rows(*tool), refused.isEmpty() ? QStringList{shown[0]} : QStringList{});
        if (!refused.isEmpty()) {
            EXPECT_EQ(refused, shown[0]);
            continue;
        }
        EXPECT_EQ(tool->code(), "\tdc.w\t$2c07,$fffe," + shown.value(1).toStdString() + "\n");
        EXPECT_TRUE(givenBack(*tool, 1).isEmpty() && givenBack(*tool, -1).isEmpty());
        if (shown.size() > 3) {
            EXPECT_EQ(givenBack(*tool, 0), shown[2]);
            add(*tool, parsed(QString::fromStdString(typed).left(5) + shown[2]));
            EXPECT_EQ(rows(*tool).last(), rows(*tool).first());
        }
    }
}

// The code for a run of lines (data/runs.txt); the line WAIT's fields: its bit 0 stays a WAIT's
// whatever they hold ($2c00 would be a MOVE to BLTDDAT, $ffff a SKIP); each mask byte in its own
// half.
TEST(CopperTool, TheCodeForARunOfLines) {
    const std::map<std::string, std::string> cases = golden::read(QUILLFEN_COPPER_DATA "/runs.txt");
    ASSERT_EQ(cases.size(), 8u);
    for (const auto &[run, code] : cases) {
        const QString key = QString::fromStdString(run);
        auto tool = toolWith({}, "", "");
        tool->lines = key.section(" from ", 0, 0);
        tool->firstLine = key.section(" from ", 1).section(':', 0, 0);
        for (const QString &i : key.section(": ", 1).split("; ", Qt::SkipEmptyParts))
            add(*tool, parsed(i));
        EXPECT_EQ(tool->code(), code) << run;
    }
    const char *const waits[][4] = {{"00", "ff", "fe", "$2c01,$fffe"},
                                    {"07", "ff", "ff", "$2c07,$fffe"},
                                    {"07", "f", "fe", "$2c07,$0ffe"},
                                    {"07", "ff", "e", "$2c07,$ff0e"}};
    for (const auto &[h, vm, hm, line] : waits) {
        auto tool = toolWith({}, "1", "2c");
        tool->horizontal = h;
        tool->verticalMask = vm;
        tool->horizontalMask = hm;
        EXPECT_EQ(tool->code(), std::string("\tdc.w\t") + line + "\n");
    }
}

// A PAL frame has lines $000-$137 (312), an NTSC one $000-$105 (262): a run stops there, with
// the line WAITs printed, the wait for line $ff and (when some were left out) a comment.
TEST(CopperTool, ARunStopsAtTheEndOfTheFrame) {
    const struct {
        const char *lines;
        bool ntsc;
        int printed;
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
        const QStringList lines =
            QString::fromStdString(toolWith({}, c.lines, "2c", c.ntsc)->code()).split('\n');
        const int comments = std::string(c.lines) == "268" ? 0 : 1;
        EXPECT_EQ(lines.size(), c.printed + 1 + comments + 1) << c.lines; // ends with '\n'
        EXPECT_TRUE(!c.last || lines[lines.size() - 2] == c.last) << c.lines;
    }
    // A WAIT of the list that lands on line $100 or later before the line's own wait for it, or
    // past the end of the frame, is named above the code.
    EXPECT_EQ(
        QString::fromStdString(toolWith({Wait{"10", "07", "ff", "fe"}}, "32", "e0")->code())
            .section('\n', 0, 0),
        "; the WAIT for line $100 on line $f0 comes before the wait for the end of line $ff: the "
        "copper compares $00 and does not wait");
    EXPECT_EQ(
        QString::fromStdString(toolWith({Wait{"30", "07", "ff", "fe"}}, "1", "f0", true)->code())
            .section('\n', 1, 1),
        "; the WAIT for line $120 on line $f0 is past the end of an NTSC frame ($105)");
}

TEST(CopperTool, EachEditIsAStepThatCanBeUndone) {
    CopperTool tool;
    for (const char *reg : {"COLOR00", "COLOR01", "COLOR02", "COLOR03"})
        tool.addMove(Move{reg, "00", "00"});
    const auto uuid = [&](int row) { return tool.list().objectAt(row)->uuid().toString(); };
    const auto c = [](int n) { return QString("[MOVE] COLOR0%1,$0000").arg(n); };
    const struct {
        std::function<bool()> edit;
        bool changes;
        QStringList after;
    } cases[] = {
        {[&] { return tool.duplicate(1); }, true, {c(0), c(1), c(2), c(3), c(1)}},
        // The copy is an instruction of its own: a drag of it moves it, not the original; the
        // dragged text may come with blanks around it.
        {[&] { return tool.drop(uuid(4), 0); }, true, {c(1), c(0), c(1), c(2), c(3)}},
        {[&] { return tool.remove(2); }, true, {c(1), c(0), c(2), c(3)}},
        {[&] { return tool.move(0, 4); }, true, {c(0), c(2), c(3), c(1)}},
        {[&] { return tool.move(3, 1); }, true, {c(0), c(1), c(2), c(3)}},
        {[&] { return tool.drop(" " + uuid(1) + " ", 4); }, true, {c(0), c(2), c(3), c(1)}},
        // The gaps on either side of a row, and rows that are not there, change nothing.
        {[&] {
             return tool.move(1, 1) || tool.move(1, 2) || tool.move(4, 0) || tool.move(0, 5) ||
                    tool.move(-1, 0) || tool.remove(4) || tool.remove(-1) || tool.duplicate(4) ||
                    tool.drop("{00000000-0000-0000-0000-000000000001}", 0) ||
                    tool.drop("not a uuid", 0);
         },
         false,
         {}},
        {[&] { return tool.clear(), true; }, true, {}},
        {[&] { return tool.clear(), false; }, false, {}}, // an empty list: no step
    };
    std::vector<QStringList> states{rows(tool)};
    for (const auto &edit : cases) {
        const QStringList before = rows(tool);
        EXPECT_EQ(edit.edit(), edit.changes) << before.join(' ');
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
    tool.addWait(Wait{"", "", "", "", true});
    EXPECT_EQ(undo.undoText(), "Add SKIP");
}
