#include "amiga/copperlist.h"

#include "amiga/asmtext.h"
#include "amiga/colourwords.h"
#include "amiga/customregisters.h"

#include <algorithm>
#include <array>
#include <memory>

namespace amiga {

namespace {

using Chipset = CopperFrame::Chipset;

std::string registerText(std::uint16_t offset) {
    const std::string_view name = registerName(offset);
    return name.empty() ? hex(offset, 3) : std::string(name) + " (" + hex(offset, 3) + ")";
}

std::string colourText(Rgb8 colour) {
    return hex(static_cast<std::uint32_t>(colour.red << 16 | colour.green << 8 | colour.blue), 6);
}

// The colour registers as the MOVEs leave them, in list order.
class ColourRegisters {
public:
    explicit ColourRegisters(Chipset chipset) : m_chipset(chipset) {}

    // Follows a MOVE; for a colour register, fills in the entry's colour and explanation.
    void move(CopperListEntry &entry) {
        const std::uint16_t offset = entry.instruction.registerOffset;
        const std::uint16_t value = entry.instruction.value;
        if (offset == kBplcon3) {
            m_bplcon3 = value;
            return;
        }
        if (!isColourRegister(offset))
            return;
        const CopperFrame::ColourWrite written =
            CopperFrame::colourWrite(m_chipset, m_bplcon3, offset, value, m_colours);
        m_colours[static_cast<std::size_t>(written.index)] = written.colour;
        entry.colourIndex = written.index;
        entry.colour = written.colour;
        if (m_chipset == Chipset::Ocs) {
            entry.explanation =
                "colour " + std::to_string(written.index) + " = " + hex(value & 0xfff, 3);
            return;
        }
        entry.explanation = "colour " + std::to_string(written.index) + " = " +
                            colourText(written.colour) + " (bank " +
                            std::to_string(m_bplcon3 >> kBankShift & 7) +
                            ((m_bplcon3 & kBplcon3Loct) ? ", low nibbles)" : ", high nibbles)");
    }

private:
    Chipset m_chipset;
    std::uint16_t m_bplcon3 = kBplcon3Reset;
    std::array<Rgb8, kAgaColourRegisters> m_colours{};
};

// "line $96", "line $96 (mask $0f)"; lines after the wrap as $1xx.
std::string verticalText(const CopperInstruction &i, bool afterWrap) {
    const int mask = i.verticalMask & 0x7f;
    std::string text = "line " + hex(afterWrap ? 0x100 + i.vertical : i.vertical, 2);
    if (mask != 0x7f)
        text += " (mask " + hex(static_cast<std::uint32_t>(mask), 2) + ")";
    return text;
}

std::string horizontalText(const CopperInstruction &i) {
    const int mask = i.horizontalMask & 0xfe;
    if (mask == 0)
        return "any horizontal position";
    std::string text = "horizontal " + hex(i.horizontal & 0xfe, 2);
    if (mask != 0xfe)
        text += " (mask " + hex(static_cast<std::uint32_t>(mask), 2) + ")";
    return text;
}

std::string onOff(bool value) {
    return value ? "1" : "0";
}

void explainWait(CopperListEntry &entry) {
    const CopperInstruction &i = entry.instruction;
    if (entry.endOfList) {
        entry.explanation = "end of list";
    } else {
        const bool afterWrap = entry.line >= 0x100;
        const std::string where = verticalText(i, afterWrap) + ", " + horizontalText(i);
        const std::string blitter = i.blitterFinishedDisable ? "" : ", and for the blitter";
        entry.explanation = i.op == CopperOp::Skip
                                ? "SKIP the next instruction from " + where + blitter
                                : "WAIT for " + where + blitter;
        // Met at once: the beam was already past the position when the copper came to it.
        if (entry.line >= 0 && (i.verticalMask & 0x7f) == 0x7f && i.op == CopperOp::Wait &&
            (entry.line & 0xff) != i.vertical)
            entry.explanation += ", already passed: runs on line " + hex(entry.line, 2);
    }
    entry.fields.push_back({"vertical position (VP)", hex(i.vertical, 2)});
    entry.fields.push_back({"horizontal position (HP)", hex(i.horizontal & 0xfe, 2)});
    entry.fields.push_back({"vertical mask (VE)", hex(i.verticalMask & 0x7f, 2)});
    entry.fields.push_back({"horizontal mask (HE)", hex(i.horizontalMask & 0xfe, 2)});
    entry.fields.push_back(
        {"blitter finished disable (BFD)",
         onOff(i.blitterFinishedDisable) + (i.blitterFinishedDisable
                                                ? ": does not wait for the blitter"
                                                : ": also waits for the blitter to finish")});
}

void explainMove(CopperListEntry &entry, const CopperListOptions &options,
                 ColourRegisters &colours) {
    const CopperInstruction &i = entry.instruction;
    colours.move(entry);
    if (entry.colourIndex < 0 && options.explain)
        entry.explanation = options.explain(i.registerOffset, i.value);
    entry.fields.push_back({"register", registerText(i.registerOffset)});
    entry.fields.push_back({"value", word(i.value)});
    if (entry.colourIndex >= 0)
        entry.fields.push_back(
            {"colour " + std::to_string(entry.colourIndex), colourText(entry.colour)});
    else if (!entry.explanation.empty())
        entry.fields.push_back({"bits", entry.explanation});
}

// An instruction with a word the text gives over an undefined symbol: what is known of it.
// The copper model runs it with 0 for that word.
void explainUnknown(CopperListEntry &entry) {
    const CopperInstruction &i = entry.instruction;
    const bool move = entry.firstExpression.empty() && i.op == CopperOp::Move;
    if (!entry.firstExpression.empty()) {
        entry.explanation = "not known: the first word is " + entry.firstExpression;
        entry.fields.push_back({"instruction", "not known: its first word is an undefined symbol"});
        entry.fields.push_back({"first word", entry.firstExpression});
    } else if (move) {
        entry.explanation =
            std::string(registerName(i.registerOffset).empty() ? hex(i.registerOffset, 3)
                                                               : registerName(i.registerOffset)) +
            " = " + entry.secondExpression + ", not known here";
        entry.fields.push_back({"instruction", "MOVE"});
        entry.fields.push_back({"register", registerText(i.registerOffset)});
    } else {
        entry.explanation = std::string(i.op == CopperOp::Skip ? "SKIP" : "WAIT") +
                            " with masks not known here: " + entry.secondExpression;
        entry.fields.push_back({"instruction", i.op == CopperOp::Skip ? "SKIP" : "WAIT"});
    }
    if (!entry.secondExpression.empty())
        entry.fields.push_back({move ? "value" : "second word", entry.secondExpression});
    else
        entry.fields.push_back({"second word", word(entry.words.second)});
}

} // namespace

ExplainValue explainThroughDatabase(const std::vector<RegisterLayout> &registers,
                                    amiga::Chipset chipset) {
    // The register each offset writes: a database may hold a read address and a write address
    // under names of their own, and the copper only writes.
    auto byOffset =
        std::make_shared<std::array<const RegisterLayout *, kLastRegisterOffset / 2 + 1>>();
    auto held = std::make_shared<std::vector<RegisterLayout>>();
    held->reserve(registers.size());
    for (const RegisterLayout &layout : registers)
        held->push_back(layoutOn(layout, chipset));
    byOffset->fill(nullptr);
    for (const RegisterLayout &layout : *held) {
        if (layout.address < kCustomBase || layout.address > kCustomBase + kLastRegisterOffset ||
            layout.address % 2 != 0)
            continue;
        const RegisterLayout *&slot = (*byOffset)[(layout.address - kCustomBase) / 2];
        if (slot == nullptr || (slot->readOnly && !layout.readOnly))
            slot = &layout;
    }
    return [byOffset, held](std::uint16_t offset, std::uint16_t value) -> std::string {
        if (offset > kLastRegisterOffset)
            return {};
        const RegisterLayout *layout = (*byOffset)[offset / 2];
        return layout == nullptr ? std::string() : describeWord(*layout, value);
    };
}

CopperListing disassemble(std::span<const std::uint16_t> words, const CopperListOptions &options) {
    std::vector<CopperListEntry> entries;
    entries.reserve(words.size() / 2 + words.size() % 2);
    CopperListing listing = disassembleEach(words, options, [&entries](CopperListEntry &entry) {
        entries.push_back(std::move(entry));
    });
    listing.entries = std::move(entries);
    return listing;
}

CopperListing disassembleEach(std::span<const std::uint16_t> words,
                              const CopperListOptions &options,
                              const std::function<void(CopperListEntry &)> &each) {
    CopperListing listing;
    CopperFrame frame(options.chipset, CopperFrame::kPictureStart, options.frameLines);
    frame.run(words);
    listing.stop = frame.stop();
    ColourRegisters colours(options.chipset);
    const std::size_t pairs = words.size() / 2;
    std::size_t nextUnknown = 0;
    for (std::size_t pair = 0; pair < pairs; ++pair) {
        CopperListEntry entry;
        entry.word = 2 * pair;
        entry.words = {words[2 * pair], words[2 * pair + 1]};
        while (nextUnknown < options.unknown.size() &&
               options.unknown[nextUnknown].word < entry.word + 2) {
            const CopperUnknownWord &unknown = options.unknown[nextUnknown++];
            (unknown.word == entry.word ? entry.firstExpression : entry.secondExpression) =
                unknown.expression;
        }
        entry.instruction = decode(entry.words);
        if (!entry.firstExpression.empty() || !entry.secondExpression.empty()) {
            explainUnknown(entry);
            ++listing.unknownInstructions;
            each(entry);
            continue;
        }
        entry.endOfList = isEndOfList(entry.words);
        entry.problems = copperProblems(entry.words);
        if (const long clock = frame.clockOf(pair); clock >= 0) {
            entry.line = static_cast<int>(clock / CopperFrame::kClocksPerLine);
            entry.horizontal = static_cast<int>(clock % CopperFrame::kClocksPerLine);
        }
        const bool move = entry.instruction.op == CopperOp::Move;
        entry.fields.push_back({"instruction", move              ? "MOVE"
                                               : entry.endOfList ? "end of list"
                                               : entry.instruction.op == CopperOp::Wait ? "WAIT"
                                                                                        : "SKIP"});
        if (move)
            explainMove(entry, options, colours);
        else
            explainWait(entry);
        if (entry.line >= 0)
            entry.fields.push_back(
                {"runs at", "line " + hex(entry.line, 3) + ", horizontal " +
                                hex(static_cast<std::uint32_t>(entry.horizontal), 2)});
        else
            entry.fields.push_back({"runs at", "not in the frame"});
        if (frame.stop() == CopperFrame::Stop::NeverReached && frame.stopInstruction() == pair &&
            std::find(entry.problems.begin(), entry.problems.end(), CopperProblem::NeverMet) ==
                entry.problems.end())
            entry.notes.push_back("the beam does not reach this position before the end of the "
                                  "frame: the copper waits here until the next one");
        for (const CopperProblem problem : entry.problems)
            listing.cannotPerform =
                listing.cannotPerform || problem == CopperProblem::MoveNeverAllowed;
        each(entry);
    }
    if (words.size() % 2 != 0) {
        CopperListEntry entry;
        entry.word = words.size() - 1;
        entry.words.first = words.back();
        if (nextUnknown < options.unknown.size())
            entry.firstExpression = options.unknown[nextUnknown].expression;
        entry.loneWord = true;
        entry.explanation = "a lone word: no instruction";
        entry.notes.push_back("the list has an odd number of words: the copper reads words in "
                              "pairs, and the last one has no partner");
        entry.fields.push_back({"instruction", "none: a lone last word"});
        entry.fields.push_back({"word", word(entry.words.first)});
        listing.cannotPerform = true;
        each(entry);
    }
    return listing;
}

namespace {

// A MOVE names its register when the first word is the offset alone and the register has a name;
// anything else is written as its two words, so that the line assembles to the words read.
void writeInstruction(AsmWriter &out, const CopperListEntry &entry, std::string_view comment) {
    const bool named = entry.firstExpression.empty() && !entry.loneWord &&
                       entry.instruction.op == CopperOp::Move &&
                       (entry.words.first & 0xfe00) == 0 &&
                       !registerName(entry.instruction.registerOffset).empty();
    const std::string first = !entry.firstExpression.empty() ? entry.firstExpression
                              : named ? std::string(registerName(entry.instruction.registerOffset))
                                      : word(entry.words.first);
    if (entry.loneWord)
        out.dcw({first}, comment);
    else if (!entry.firstExpression.empty() || !entry.secondExpression.empty())
        out.dcw({first, entry.secondExpression.empty() ? word(entry.words.second)
                                                       : entry.secondExpression},
                comment);
    else if (entry.instruction.op == CopperOp::Move && (entry.words.first & 0xfe00) == 0 &&
             !registerName(entry.instruction.registerOffset).empty())
        out.copperMove(registerName(entry.instruction.registerOffset), entry.words.second, comment);
    else
        out.copperWords(entry.words.first, entry.words.second, comment);
}

void writeEntry(AsmWriter &out, const CopperListEntry &entry) {
    for (const CopperProblem problem : entry.problems)
        out.comment(describe(problem));
    for (const std::string &note : entry.notes)
        out.comment(note);
    writeInstruction(out, entry, entry.explanation);
}

} // namespace

std::string copperInstructionText(const CopperListEntry &entry) {
    AsmWriter out;
    writeInstruction(out, entry, {});
    std::string text = out.take();
    text.pop_back(); // the line feed
    return text;
}

std::string copperListingText(const CopperListing &listing) {
    AsmWriter out;
    for (const CopperListEntry &entry : listing.entries)
        writeEntry(out, entry);
    return out.take();
}

std::string copperEntryText(const CopperListEntry &entry) {
    AsmWriter out;
    writeEntry(out, entry);
    return out.take();
}

CopperListing writeCopperListing(std::span<const std::uint16_t> words,
                                 const CopperListOptions &options,
                                 const std::function<bool(std::string_view piece)> &write) {
    constexpr std::size_t kPiece = std::size_t{64} << 10;
    std::string piece;
    bool writing = true;
    CopperListing listing = disassembleEach(words, options, [&](CopperListEntry &entry) {
        piece += copperEntryText(entry);
        if (piece.size() >= kPiece) {
            writing = writing && write(piece);
            piece.clear();
        }
    });
    if (writing && !piece.empty())
        write(piece);
    return listing;
}

} // namespace amiga
