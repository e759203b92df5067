#include "copper/CopperCode.h"
#include "copper/CopperMove.h"
#include "copper/CopperWait.h"

#include <amiga/asmtext.h>
#include <amiga/colourcode.h>
#include <amiga/copperframe.h>
#include <amiga/customregisters.h>

#include <set>

namespace {

constexpr qint64 kWrapLine = 0x100;

std::string lineText(qint64 line) {
    return amiga::hex(static_cast<std::uint32_t>(line), 2);
}

// The comments that go above the first line: registers the copper may not write, and WAITs of
// the sequence that land past line $ff before the line's own wait for it, or past the frame.
void warn(amiga::AsmWriter &out, const CopperRun &run, qint64 printed,
          const CopperSequence &sequence) {
    std::set<std::uint16_t> registers;
    bool waitBeforeWrap = false;
    bool waitPastFrame = false;
    for (const auto &object : sequence) {
        if (const auto *move = dynamic_cast<const CopperMove *>(object.get())) {
            const std::optional<std::uint16_t> offset = move->registerOffset();
            if (!offset || !registers.insert(*offset).second)
                continue;
            const std::vector<amiga::CopperProblem> problems =
                amiga::copperProblems(amiga::CopperInstruction::move(*offset, 0));
            for (const amiga::CopperProblem problem : problems)
                out.comment(move->registerText().toStdString() + " (" + amiga::hex(*offset, 3) +
                            "): " + std::string(amiga::describe(problem)));
        } else if (const auto *wait = dynamic_cast<const CopperWait *>(object.get())) {
            for (qint64 i = 0; i < printed; ++i) {
                const qint64 line = run.firstLine + i;
                const qint64 target = line + wait->verticalPosition();
                if (line < kWrapLine && target >= kWrapLine && !waitBeforeWrap) {
                    waitBeforeWrap = true;
                    out.comment("the WAIT for line " + lineText(target) + " on line " +
                                lineText(line) + " comes before the wait for the end of line " +
                                "$ff: the copper compares " + lineText(target & 0xff) +
                                " and does not wait");
                }
                if (target >= run.frameLines && !waitPastFrame) {
                    waitPastFrame = true;
                    out.comment("the WAIT for line " + lineText(target) + " on line " +
                                lineText(line) + " is past " + amiga::frameEndText(run.frameLines) +
                                " (" + lineText(run.frameLines - 1) + ")");
                }
            }
        }
    }
}

} // namespace

std::string copperCode(const CopperRun &run, const CopperSequence &sequence) {
    amiga::AsmWriter out;
    if (run.lines <= 0)
        return {};
    const qint64 frameLines = run.frameLines;
    const qint64 inFrame = run.firstLine >= frameLines ? 0 : frameLines - run.firstLine;
    const qint64 printed = std::min(run.lines, inFrame);
    warn(out, run, printed, sequence);

    // The machine library's line writer: each line's WAIT, the wait for the end of line $ff and
    // the end of the frame as rainbows and gradients have them.
    // The writer keeps the WAIT's bit 0 of each word as a WAIT needs it.
    const auto mask =
        static_cast<std::uint16_t>((run.verticalMask & 0xff) << 8 | (run.horizontalMask & 0xff));
    amiga::CopperLineWaits waits(out, static_cast<int>(run.horizontal & 0xff), mask,
                                 run.frameLines);
    waits.explainWrap("end of line $ff: later lines count from $00 again");
    std::vector<std::string> operands;
    for (qint64 i = 0; i < printed; ++i) {
        const qint64 line = run.firstLine + i;
        operands.clear();
        for (const auto &object : sequence)
            object->appendOperands(operands, line, 0);
        waits.waitFor(static_cast<long>(line), operands);
    }
    if (printed < run.lines)
        out.comment("lines from " + lineText(frameLines) + " on are past " +
                    amiga::frameEndText(run.frameLines) + " (" + std::to_string(frameLines) +
                    " lines): " + std::to_string(run.lines - printed) + " of the " +
                    std::to_string(run.lines) + " lines asked for are not generated");
    return out.take();
}
