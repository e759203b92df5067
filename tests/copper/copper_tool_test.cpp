// The Copper tool without its widgets: each instruction's row and words, the refused registers,
// the code for a run of lines, and the list's edits as steps that can be undone. The words are
// worked out by hand from the Hardware Reference Manual's copper chapter: a WAIT's first word is
// VP,HP with bit 0 set, its second the mask bytes with bit 0 clear (set for a SKIP, bit 15 the
// blitter-finished-disable bit); a MOVE's first word is the register's offset.
#include "copper/CopperTool.h"

#include "QtPrinters.h"
#include "copper_rows.h"
#include "golden_text.h"
#include "m68k_assembler.h"
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <variant>

namespace {

using Move = CopperTool::MoveFields;
using Wait = CopperTool::WaitFields;
using Instruction = std::variant<Move, Wait>;

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

// A tool for a run of lines from first, the line WAIT at $07 under $fffe.
std::unique_ptr<CopperTool> toolWith(const QString &lines, const QString &first,
                                     bool ntsc = false) {
    auto tool = std::make_unique<CopperTool>();
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

// Whether the code is the text expected, where a line "..." stands for any lines.
bool matches(const std::string &code, const std::string &text) {
    QString pattern = QRegularExpression::escape(QString::fromStdString(text));
    pattern.replace(QRegularExpression::escape("...\n"), "(.*\n)*");
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern))
        .match(QString::fromStdString(code))
        .hasMatch();
}

// The assembler takes the code as it is shown, without a word of complaint (an m68k assembler
// in its Motorola syntax, with the hardware include files' register equates).
void expectAssembled(const std::string &code) {
    if (!m68k::available())
        return;
    const m68k::Result assembled = m68k::assemble(code);
    EXPECT_TRUE(assembled.words && assembled.messages.empty()) << code << assembled.messages;
}

} // namespace

// Each instruction as typed: its row, its words on line $2c and the fields it gives back, or the
// message that refuses it (data/rows.txt); the code assembles.
TEST(CopperTool, EachInstructionsRowWordsAndFields) {
    const std::map<std::string, std::string> cases = golden::read(QUILLFEN_COPPER_DATA "/rows.txt");
    ASSERT_EQ(cases.size(), 31u);
    for (const auto &[typed, expected] : cases) {
        SCOPED_TRACE(typed);
        const QStringList shown = QString::fromStdString(expected).split('\n');
        auto tool = toolWith("1", "2c");
        const Instruction instruction = parsed(QString::fromStdString(typed));
        const QString refused = add(*tool, instruction);
        EXPECT_EQ(rowsOf(tool->list()), refused.isEmpty() ? QStringList{shown[0]} : QStringList{});
        if (!refused.isEmpty()) {
            EXPECT_EQ(refused, shown[0]);
            continue;
        }
        EXPECT_EQ(tool->code(), "\tdc.w\t$2c07,$fffe," + shown.value(1).toStdString() + "\n");
        expectAssembled(tool->code());
        EXPECT_TRUE(givenBack(*tool, 1).isEmpty() && givenBack(*tool, -1).isEmpty());
        if (shown.size() > 3) {
            EXPECT_EQ(givenBack(*tool, 0), shown[2]);
            add(*tool, parsed(QString::fromStdString(typed).left(5) + shown[2]));
            EXPECT_EQ(rowsOf(tool->list()).last(), rowsOf(tool->list()).first());
        }
    }
}

// The code for a run of lines, with the line WAIT's fields and the end of the frame
// (data/runs.txt), which the assembler takes as it is shown.
TEST(CopperTool, TheCodeForARunOfLines) {
    const std::map<std::string, std::string> cases = golden::read(QUILLFEN_COPPER_DATA "/runs.txt");
    ASSERT_EQ(cases.size(), 18u);
    for (const auto &[run, code] : cases) {
        const QString key = QString::fromStdString(run);
        const QStringList from = key.section(" from ", 1).section(':', 0, 0).split(' ');
        auto tool = toolWith(key.section(" from ", 0, 0), from[0], from.contains("ntsc"));
        if (const qsizetype at = from.indexOf("wait"); at > 0) {
            tool->horizontal = from.value(at + 1);
            tool->verticalMask = from.value(at + 2);
            tool->horizontalMask = from.value(at + 3);
        }
        for (const QString &i : key.section(": ", 1).split("; ", Qt::SkipEmptyParts))
            add(*tool, parsed(i));
        EXPECT_TRUE(matches(tool->code(), code)) << run << "\n" << tool->code();
        expectAssembled(tool->code());
    }
}

// Each edit of the list (data/edits.txt) is a step that can be undone, and one that changes
// nothing is none.
TEST(CopperTool, EachEditIsAStepThatCanBeUndone) {
    const std::map<std::string, std::string> cases =
        golden::read(QUILLFEN_COPPER_DATA "/edits.txt");
    ASSERT_EQ(cases.size(), 18u);
    CopperTool tool;
    for (const char *reg : {"COLOR00", "COLOR01", "COLOR02", "COLOR03"})
        tool.addMove(Move{reg, "00", "00"});
    QUndoStack &undo = tool.undoStack();
    const auto uuid = [&](int row) { return tool.list().objectAt(row)->uuid().toString(); };
    std::vector<QStringList> states{rowsOf(tool.list())};
    for (const auto &[step, after] : cases) {
        const QStringList e = QString::fromStdString(step).split(' ');
        const QString op = e.value(1);
        const int row = e.value(2).toInt(), gap = e.value(3).toInt();
        const bool changes = after != "unchanged\n";
        const int steps = undo.count();
        const bool edited =
            op == "duplicate" ? tool.duplicate(row)
            : op == "remove"  ? tool.remove(row)
            : op == "move"    ? tool.move(row, gap)
            : op == "clear"
                ? (tool.clear(), changes)
                : tool.drop(op == "drop-unknown" ? "{00000000-0000-0000-0000-000000000001}"
                            : op == "drop-text"  ? "not a uuid"
                            : op == "drop"       ? uuid(row)
                                                 : " " + uuid(row) + " ",
                            gap);
        EXPECT_EQ(edited, changes) << step;
        EXPECT_EQ(undo.count(), steps + changes) << step;
        if (changes) {
            states.emplace_back();
            for (const QString &n :
                 QString::fromStdString(after).simplified().split(' ', Qt::SkipEmptyParts))
                states.back() << QString("[MOVE] COLOR0%1,$0000").arg(n);
        }
        EXPECT_EQ(rowsOf(tool.list()), states.back()) << step;
    }
    // Back through every step, and forward again.
    EXPECT_EQ(undo.undoText(), "Clear List");
    for (auto state = states.rbegin() + 1; state != states.rend(); ++state) {
        undo.undo();
        EXPECT_EQ(rowsOf(tool.list()), *state);
    }
    for (int step = 0; step < 4; ++step)
        undo.undo();
    EXPECT_TRUE(rowsOf(tool.list()).isEmpty());
    undo.redo();
    EXPECT_EQ(undo.undoText(), "Add MOVE");
    tool.addWait(Wait{"", "", "", "", true});
    EXPECT_EQ(undo.undoText(), "Add SKIP");
}
