// The Registers tool without its widgets: the word's arithmetic (RegisterWord), the register
// database as the tab reads it, and RegistersTool's rules and texts. Words are worked out by hand
// from the bit numbers (bit 0 the least significant); the code line's text itself is the amiga
// library's (tests/amiga), and so are the registers' offsets.
//
// The bit names of the registers programmers touch most are typed in data/bitnames.txt from the
// Hardware Reference Manual (appendix A, the register summary, and appendix C for ECS) and the
// AGA documentation's register list: a swapped, misspelled or misflagged bit of these registers
// fails here. Each row lists bit 15 first. "-" is an unused bit (the database's "unused"); a "*"
// after a name marks a bit that exists only on AGA. Where the manuals name a bit differently,
// the row has the one naming the database keeps (its description says which and gives the other):
//   - BPLCON0 bits 11 and 10: HAM and DPF (AGA documentation; HRM: HOMOD, DBLPF).
//   - BPLCON1: the AGA documentation's 35 ns naming (HRM bits 3-0 are PF1H3-PF1H0).
//   - BPLCON3 bit 1: BRDSPRT (AGA; on ECS Denise the bit is EXTBLKZD).
//   - SPRxCTL bits 4, 3 and 0: SHSH1, SHSH0 and SH0 (HRM, ECS chapter; AGA: SH1, SH0, SH2).
//   - DIWHIGH: the AGA documentation's H10, H1, H0 and V10-V8, each for the start (bits 5-0) and
//     the stop (bits 13-8), told apart by a START/STOP prefix (HSTART10 … VSTOP8).
//   - BLTCON1 bits 4-1 carry both modes' names, area mode first: EFE/SUD, IFE/SUL, FCI/AUL,
//     DESC/SING.
#include "registers/RegisterDatabase.h"
#include "registers/RegisterWord.h"
#include "registers/RegistersTool.h"
#include "registers/RegistersViewController.h"

#include "QtPrinters.h"
#include "golden_table.h"
#include <QMap>
#include <QRegularExpression>
#include <amiga/registercode.h>
#include <gtest/gtest.h>

using namespace RegisterWord;

namespace {

// The rows of a table in data/cases.txt.
QList<QStringList> table(const char *name) {
    return golden::table(QUILLFEN_REGISTERS_CASES, name);
}

RegistersTool realTool() {
    RegistersTool tool;
    tool.setRegisters(RegisterDatabase::read());
    return tool;
}

} // namespace

TEST(RegisterWord, BitsMakeTheWordGroupsTheirValuesAndGoalTextsTheWord) {
    for (const QStringList &c : table("bits")) {
        Bits bits{};
        for (const QString &b : c[0].split(' ', Qt::SkipEmptyParts))
            bits[b.toUInt()] = true;
        const std::uint16_t word = wordOf(bits);
        EXPECT_EQ(binary(word), c[1].toStdString());
        EXPECT_EQ(word, c[1].toUInt(nullptr, 2)) << c[1].toStdString();
        EXPECT_EQ(bitsOf(word), bits) << c[1].toStdString();
    }
    for (const QStringList &c : table("groups")) {
        std::vector<GroupMember> members;
        for (const QString &m : c[1].split(' '))
            members.push_back({m.section(':', 0, 0).toInt(), m.section(':', 1).toInt()});
        const auto group =
            groupValue(static_cast<std::uint16_t>(c[0].toUInt(nullptr, 16)), members);
        EXPECT_EQ(group.value, c[2].toUInt()) << c.join('|').toStdString();
        EXPECT_EQ(group.binary, c[3].toStdString()) << c.join('|').toStdString();
    }
    for (const QStringList &c : table("goals")) {
        EXPECT_EQ(cleanGoal(c[0].toStdString()), c[1].toStdString()) << c[0].toStdString();
        EXPECT_EQ(goalWord(c[0].toStdString()), c[2].toUInt(nullptr, 16)) << c[0].toStdString();
    }
}

// Every register fit for the calculator: sixteen bits named in upper case once each, groups that
// count from 0 without a gap, the AGA flags as the AGA documentation has them; and the registers
// of data/bitnames.txt named and flagged bit by bit as there.
TEST(RegisterDatabaseContents, EveryRegisterFitsTheCalculatorAndTheManuals) {
    QMap<QString, QStringList> manual; // bit 0 first
    for (const QStringList &row : golden::table(QUILLFEN_BITNAMES, "bit names")) {
        QStringList words = row[0].split(' ', Qt::SkipEmptyParts);
        const QString reg = words.takeFirst();
        ASSERT_EQ(words.size(), 16) << reg.toStdString();
        for (const QString &word : words)
            manual[reg].prepend(word == "-" ? QStringLiteral("unused") : word);
    }
    static const QRegularExpression form("^[A-Z][A-Z0-9/-]*$");
    QStringList agaOnly;
    for (const auto &reg : RegisterDatabase::read()) {
        SCOPED_TRACE(reg->name.toStdString());
        EXPECT_FALSE(reg->summary.trimmed().isEmpty());
        ASSERT_EQ(reg->bits.size(), 16);
        const QStringList names = manual.take(reg->name);
        QMap<QString, QList<std::uint64_t>> groups;
        QStringList seen;
        for (int i = 0; i < 16; ++i) {
            const RegisterBit &bit = *reg->bits[i];
            EXPECT_FALSE(bit.functionDescription.trimmed().isEmpty()) << i;
            EXPECT_TRUE(names.isEmpty() || bit.functionName + (bit.isAGA ? "*" : "") == names[i])
                << i << ": " << bit.functionName.toStdString() << (bit.isAGA ? "*" : "") << ", not "
                << names.value(i).toStdString();
            if (bit.groupName)
                groups[*bit.groupName].append(bit.groupPosition);
            // A register that exists only on AGA has no other kind of bit to mark.
            EXPECT_TRUE(!reg->isAGA || bit.isAGA || bit.functionName == "unused") << i;
            if (bit.functionName == "unused")
                continue;
            EXPECT_TRUE(form.match(bit.functionName).hasMatch()) << bit.functionName.toStdString();
            EXPECT_FALSE(seen.contains(bit.functionName)) << bit.functionName.toStdString();
            seen << bit.functionName;
        }
        for (auto it = groups.begin(); it != groups.end(); ++it) {
            std::sort(it->begin(), it->end());
            for (qsizetype p = 0; p < it->size(); ++p)
                EXPECT_EQ((*it)[p], static_cast<std::uint64_t>(p)) << it.key().toStdString();
        }
        if (reg->isAGA)
            agaOnly << reg->name;
    }
    EXPECT_TRUE(manual.isEmpty()) << "missing: " << manual.keys().join(' ').toStdString();
    EXPECT_EQ(agaOnly, QStringList({"BPL7PTH", "BPL7PTL", "BPL8PTH", "BPL8PTL", "BPLCON4",
                                    "CLXCON2", "BPL7DAT", "BPL8DAT", "FMODE"}));
}

// The database read on a worker thread at start-up is the one a fresh read gives, and each
// taker gets registers of its own.
TEST(RegisterDatabaseContents, TheBackgroundReadIsAFreshReadNotShared) {
    RegisterDatabase::preload();
    RegisterDatabase::preload(); // a second call while one is waiting changes nothing
    const auto preloaded = RegisterDatabase::take();
    const auto fresh = RegisterDatabase::take(); // nothing waiting: read now
    ASSERT_GT(preloaded.size(), 200);
    ASSERT_EQ(preloaded.size(), fresh.size());
    EXPECT_EQ(preloaded.back()->name, fresh.back()->name);
    EXPECT_NE(preloaded.back().get(), fresh.back().get());
    // Waiting for the read leaves its result for the tool to take.
    RegisterDatabase::preload();
    RegisterDatabase::waitForPreload();
    EXPECT_EQ(RegistersViewController().registers().size(), preloaded.size());
}

TEST(RegistersToolTest, ARegisterByItsNameItsWordInThreeBasesAndAnotherChipset) {
    RegistersTool tool = realTool();
    EXPECT_EQ(tool.code(), ""); // no register shown yet
    for (const QStringList &c : table("typed names")) {
        const int index = tool.indexOfTyped(c[0]);
        EXPECT_EQ(index < 0 ? QString() : tool.registers[index]->name, c[1]) << c[0].toStdString();
    }
    tool.word = 0x1234;
    EXPECT_FALSE(tool.show("NOSUCH"));
    EXPECT_EQ(tool.word, 0x1234); // nothing changes
    ASSERT_TRUE(tool.show("COPCON"));
    EXPECT_EQ(tool.word, 0); // a register shows with all bits off
    EXPECT_TRUE(tool.groups().isEmpty());
    // Set and clear apply only to registers that have them.
    using amiga::SetClear;
    for (auto [name, clear, mode] : {std::tuple{"DMACON", false, SetClear::Set},
                                     {"DMACON", true, SetClear::Clear},
                                     {"INTENA", true, SetClear::Clear},
                                     {"BPLCON0", true, SetClear::AsGiven}}) {
        ASSERT_TRUE(tool.show(name));
        tool.word = 0x8380;
        tool.clear = tool.copper = clear;
        EXPECT_EQ(tool.setClearAllowed(), mode != SetClear::AsGiven) << name;
        EXPECT_EQ(tool.code().toStdString(),
                  amiga::registerWriteCode(tool.shown->layout(), 0x8380, mode, clear))
            << name;
    }

    ASSERT_TRUE(tool.show("BPLCON1"));
    EXPECT_EQ(tool.groups(), QStringList({"PF1H", "PF2H"}));
    for (const QStringList &c : table("results")) {
        tool.word = static_cast<std::uint16_t>(c[0].toUInt(nullptr, 16));
        tool.group = c[1];
        EXPECT_EQ((tool.results() + tool.groupResults()).join(' '), c[2]) << c[0].toStdString();
    }
    tool.group.clear(); // no group, nothing to show
    EXPECT_TRUE(tool.groupResults().isEmpty());
    // BPLCON1 on ECS: bits 3-0 are PF1H3-0 and bits 15-8 unused (Hardware Reference Manual); on
    // AGA bit 0 is PF1H2 (AGA documentation). The word stays.
    tool.word = 0xff11;
    tool.setChipset(amiga::Chipset::Ecs);
    EXPECT_EQ(tool.word, 0xff11);
    ASSERT_NE(tool.shown, nullptr);
    EXPECT_EQ(QStringList({tool.bitLabel(0).title, tool.bitLabel(8).title}),
              QStringList({"PF1H0", "unused"}));
}

TEST(RegistersToolTest, EachBitButtonSaysWhatTheBitIs) {
    // A register made here: bit 9 AGA only and bit 1 of group G, bit 7 named "A&B".
    auto reg = std::make_shared<Register>();
    for (int i = 0; i < 16; ++i) {
        reg->bits.append(std::make_shared<RegisterBit>());
        reg->bits[i]->functionName = "B" + QString::number(i);
        reg->bits[i]->functionDescription = "Description " + QString::number(i);
    }
    reg->bits[9]->isAGA = true;
    reg->bits[9]->groupName = QStringLiteral("G");
    reg->bits[9]->groupPosition = 1;
    reg->bits[7]->functionName = "A&B";
    reg->bits[7]->functionDescription = " <x> ";
    for (const QStringList &c : table("bit labels")) {
        RegistersTool tool;
        if (c[0] == "1")
            tool.shown = reg;
        const RegistersTool::BitLabel label = tool.bitLabel(c[1].toInt());
        EXPECT_EQ(QStringList({label.title, label.toolTip, label.accessibleName,
                               label.accessibleDescription, label.italic ? "1" : "0"}),
                  c.mid(2));
    }
}

TEST(RegistersToolTest, TheBlitterTakesPresetsAndTypedFunctions) {
    for (const QStringList &p : table("presets")) {
        RegistersTool::Blitter blit;
        ASSERT_TRUE(blit.choosePreset(p[0].toInt()));
        const amiga::blitter::Channels &ch = blit.channels;
        const QString channels =
            QString(ch.a ? "A" : "") + (ch.b ? "B" : "") + (ch.c ? "C" : "") + (ch.d ? "D" : "");
        EXPECT_EQ(QStringList({QString::number(blit.preset), blit.minterms(), channels,
                               QString::number(blit.fill)}),
                  p);
        const bool fill = p[3] != "0";
        EXPECT_EQ(std::vector<bool>(
                      {blit.descending, !blit.descendingAllowed(), blit.fillCarryInAllowed()}),
                  std::vector<bool>(3, fill))
            << p[0].toStdString();
    }
    RegistersTool::Blitter blit;
    EXPECT_FALSE(blit.choosePreset(0));
    EXPECT_FALSE(blit.choosePreset(5));

    // A typed function: "Custom", the channels it reads; one that cannot be read has no code.
    blit.choosePreset(4);
    blit.function = "A|B";
    blit.functionEdited();
    EXPECT_EQ(blit.preset, 0);
    EXPECT_EQ(blit.minterms(), "LF $fc");
    EXPECT_TRUE(blit.channels.a && blit.channels.b && !blit.channels.c);
    blit.function = "A|B+";
    blit.functionEdited();
    EXPECT_TRUE(blit.channels.a && blit.channels.b); // as they were
    EXPECT_TRUE(blit.minterms().startsWith("Cannot read: ")) << blit.minterms().toStdString();
    EXPECT_EQ(blit.code(), ""); // every field's way into the code: the tab's parity case
}
