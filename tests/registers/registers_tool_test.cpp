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
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <amiga/registercode.h>
#include <gtest/gtest.h>

using namespace RegisterWord;

namespace {

RegistersTool realTool() {
    RegistersTool tool;
    tool.setRegisters(RegisterDatabase::read());
    return tool;
}

} // namespace

TEST(RegisterWord, BitsMakeTheWordAndItsBinary) {
    const std::pair<std::vector<int>, const char *> cases[] = {
        {{}, "0000000000000000"},
        {{0}, "0000000000000001"},
        {{15}, "1000000000000000"},
        {{9, 12, 14}, "0101001000000000"}, // BPLCON0: 5 planes, COLOR
    };
    for (const auto &[set, text] : cases) {
        Bits bits{};
        for (int b : set)
            bits[b] = true;
        const std::uint16_t word = wordOf(bits);
        EXPECT_EQ(binary(word), text);
        EXPECT_EQ(word, std::stoi(text, nullptr, 2)) << text;
        EXPECT_EQ(bitsOf(word), bits) << text;
    }
}

TEST(RegisterWord, GroupValueFollowsTheGroupPositionsNotTheBitNumbers) {
    // BPLCON0's plane count: BPU0-2 in bits 12-14, BPU3 in bit 4.
    const std::vector<GroupMember> bpu = {{12, 0}, {13, 1}, {14, 2}, {4, 3}};
    const struct {
        std::uint16_t word;
        std::vector<GroupMember> members;
        std::uint16_t value;
        const char *binary;
    } cases[] = {
        {0x5200, bpu, 5, "0101"},
        {0x0010, bpu, 8, "1000"},
        {0x0003, {{1, 1}, {0, 0}}, 3, "11"}, // listed out of order
        {0x0005, {{0, 0}, {2, 2}}, 5, "1"},  // a gap: the digits stop there
        // Members outside the word or the group's sixteen positions count for nothing.
        {0xffff, {{16, 0}, {0, 16}, {-1, 0}}, 0, ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(groupValue(c.word, c.members).value, c.value) << c.word;
        EXPECT_EQ(groupValue(c.word, c.members).binary, c.binary) << c.word;
    }
}

TEST(RegisterWord, GoalTextsAsTypedAndAsAWord) {
    // The field keeps a "$" or "0x" prefix and four hex digits after it; the word is the digits
    // after the prefix, the low sixteen bits of them.
    const struct {
        const char *typed, *kept;
        std::uint16_t word;
    } cases[] = {
        {"$52001", "$5200", 0x2001},
        {"0x1234f", "0x1234", 0x234f},
        {"0X00ff", "0X00ff", 0x00ff},
        {"aBcD", "aBcD", 0xabcd},
        {"f", "f", 0x000f},
        {"", "", 0},
        {"0X", "0X", 0},
        {"12$3x4", "1234", 0x1234},
        {"$$1", "$1", 1},
        {" 0x1", "01", 1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(cleanGoal(c.typed), c.kept) << c.typed;
        EXPECT_EQ(goalWord(c.typed), c.word) << c.typed;
    }
}

// Every register fit for the calculator: sixteen bits named in upper case once each, groups that
// count from 0 without a gap, the AGA flags as the AGA documentation has them; and the registers
// of data/bitnames.txt named and flagged bit by bit as there.
TEST(RegisterDatabaseContents, EveryRegisterFitsTheCalculatorAndTheManuals) {
    QMap<QString, QStringList> manual; // bit 0 first
    QFile file(QStringLiteral(QUILLFEN_BITNAMES));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << QUILLFEN_BITNAMES;
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
        QStringList words = line.split(' ', Qt::SkipEmptyParts);
        if (words.isEmpty() || words[0].startsWith('#'))
            continue;
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
    for (qsizetype i = 0; i < preloaded.size(); ++i) {
        EXPECT_EQ(preloaded[i]->name, fresh[i]->name);
        EXPECT_NE(preloaded[i].get(), fresh[i].get());
    }
    // Waiting for the read leaves its result for the tool to take.
    RegisterDatabase::preload();
    RegisterDatabase::waitForPreload();
    RegisterDatabase::waitForPreload(); // nothing more to wait for
    RegistersViewController controller;
    EXPECT_EQ(controller.registers().size(), preloaded.size());
}

TEST(RegistersToolTest, TheWordInThreeBasesAndTheGroupsValue) {
    // BPLCON1 on AGA: PF1H0 and PF1H1 in bits 8 and 9, PF1H2-5 in bits 0-3, PF1H6 and PF1H7 in
    // bits 10 and 11; PF2H the same eight bits higher (AGA documentation).
    const struct {
        std::uint16_t word;
        const char *group;
        const char *results; // low, high, word: decimal, hex, binary; then the group's
    } cases[] = {
        {0x0000, "PF1H",
         "0 0x00 00000000 0 0x00 00000000 0 0x0000 0000000000000000 0 0x0000 00000000"},
        {0x8001, "PF1H",
         "1 0x01 00000001 128 0x80 10000000 32769 0x8001 1000000000000001 4 0x0004 00000100"},
        {0x0c0f, "PF1H",
         "15 0x0f 00001111 12 0x0c 00001100 3087 0x0c0f 0000110000001111 252 0x00fc 11111100"},
        // PF2H takes its own bits only.
        {0x0301, "PF2H",
         "1 0x01 00000001 3 0x03 00000011 769 0x0301 0000001100000001 0 0x0000 00000000"},
    };
    RegistersTool tool = realTool();
    ASSERT_TRUE(tool.show("BPLCON1"));
    EXPECT_EQ(tool.groups(), QStringList({"PF1H", "PF2H"}));
    for (const auto &c : cases) {
        tool.word = c.word;
        tool.group = c.group;
        EXPECT_EQ((tool.results() + tool.groupResults()).join(' '), c.results) << c.word;
    }
    tool.group.clear(); // no group, nothing to show
    EXPECT_TRUE(tool.groupResults().isEmpty());
    tool.seekGoal("$5200");
    EXPECT_EQ(tool.word, 0x5200);
}

TEST(RegistersToolTest, ARegisterIsShownByItsNameOrTheStartOfIt) {
    // The database lists DMACONR before DMACON, INTENAR before INTENA, BPLCON0 before BPLCON1.
    RegistersTool tool = realTool();
    EXPECT_EQ(tool.shown, nullptr);
    const std::pair<const char *, const char *> typed[] = {
        {"dmacon", "DMACON"},
        {" Intena ", "INTENA"},
        {"BPLCON", "BPLCON0"},
        {"NOSUCH", ""},
        {"", ""},
    };
    for (const auto &[name, found] : typed) {
        const int index = tool.indexOfTyped(name);
        EXPECT_EQ(index < 0 ? QString() : tool.registers[index]->name, found) << name;
    }
    tool.word = 0x1234;
    EXPECT_FALSE(tool.show("NOSUCH"));
    EXPECT_EQ(tool.word, 0x1234); // nothing changes
    ASSERT_TRUE(tool.show("COPCON"));
    EXPECT_EQ(tool.word, 0); // a register shows with all bits off
    EXPECT_TRUE(tool.groups().isEmpty());
}

TEST(RegistersToolTest, AnotherChipsetNamesTheBitsItsWayAndKeepsTheWord) {
    // BPLCON1 on ECS: bits 3-0 are PF1H3-0 and bits 15-8 unused (Hardware Reference Manual); on
    // AGA bit 0 is PF1H2 and bit 8 PF1H0 (AGA documentation).
    RegistersTool tool = realTool();
    ASSERT_TRUE(tool.show("BPLCON1"));
    tool.word = 0xff11;
    EXPECT_EQ(tool.bitLabel(0).title, "PF1H2");
    tool.setChipset(amiga::Chipset::Ecs);
    EXPECT_EQ(tool.word, 0xff11);
    ASSERT_NE(tool.shown, nullptr);
    EXPECT_EQ(tool.bitLabel(0).title, "PF1H0");
    EXPECT_EQ(tool.bitLabel(8).title, "unused");
    EXPECT_EQ(tool.shown->chipset(), amiga::Chipset::Ecs);
}

TEST(RegistersToolTest, SetAndClearApplyOnlyToRegistersThatHaveThem) {
    const struct {
        const char *name;
        bool clear;
        amiga::SetClear mode;
    } cases[] = {
        {"DMACON", false, amiga::SetClear::Set},
        {"DMACON", true, amiga::SetClear::Clear},
        {"INTENA", true, amiga::SetClear::Clear},
        {"BPLCON0", true, amiga::SetClear::AsGiven},
    };
    RegistersTool tool = realTool();
    EXPECT_EQ(tool.code(), ""); // no register shown
    for (const auto &c : cases) {
        ASSERT_TRUE(tool.show(c.name));
        tool.word = 0x8380;
        tool.clear = c.clear;
        tool.copper = c.clear;
        EXPECT_EQ(tool.setClearAllowed(), c.mode != amiga::SetClear::AsGiven) << c.name;
        EXPECT_EQ(tool.code().toStdString(),
                  amiga::registerWriteCode(tool.shown->layout(), 0x8380, c.mode, c.clear))
            << c.name;
    }
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
    const struct {
        bool shown;
        int bit;
        const char *title, *toolTip, *accessibleName, *accessibleDescription;
        bool italic;
    } cases[] = {
        {true, 9, "B9", "<p><b>Bit 9: B9</b> (G, bit 1) AGA only<br>Description 9</p>", "Bit 9 B9",
         "Bit 1 of group G. AGA only. Description 9", true},
        // A title shows an ampersand doubled; a tooltip escapes it.
        {true, 7, "A&&B", "<p><b>Bit 7: A&amp;B</b><br>&lt;x&gt;</p>", "Bit 7 A&B", "<x>", false},
        {false, 7, "Bit 7", "Bit 7", "Bit 7", "", false},
    };
    for (const auto &c : cases) {
        RegistersTool tool;
        if (c.shown)
            tool.shown = reg;
        const RegistersTool::BitLabel label = tool.bitLabel(c.bit);
        EXPECT_EQ(QStringList({label.title, label.toolTip, label.accessibleName,
                               label.accessibleDescription}),
                  QStringList({c.title, c.toolTip, c.accessibleName, c.accessibleDescription}));
        EXPECT_EQ(label.italic, c.italic) << c.bit;
    }
}

TEST(RegistersToolTest, TheBlitterTakesPresetsAndTypedFunctions) {
    // Presets: function, channels, fill; a fill runs descending whatever was chosen. Minterms
    // by hand from the function over A $f0, B $cc, C $aa.
    const struct {
        int index;
        const char *minterms, *channels;
        int fill;
    } presets[] = {
        {1, "LF $f0", "AD", 0},   // copy A to D
        {2, "LF $00", "D", 0},    // clear D
        {3, "LF $ca", "ABCD", 0}, // cookie-cut AB+!AC
        {4, "LF $f0", "AD", 1},   // area fill of A
    };
    for (const auto &p : presets) {
        RegistersTool::Blitter blit;
        ASSERT_TRUE(blit.choosePreset(p.index));
        const amiga::blitter::Channels &ch = blit.channels;
        const std::string channels = std::string(ch.a ? "A" : "") + (ch.b ? "B" : "") +
                                     (ch.c ? "C" : "") + (ch.d ? "D" : "");
        EXPECT_EQ(blit.minterms(), p.minterms) << p.index;
        EXPECT_EQ(channels, p.channels) << p.index;
        EXPECT_EQ(blit.fill, p.fill) << p.index;
        EXPECT_EQ(blit.descending, p.fill != 0) << p.index;
        EXPECT_EQ(blit.descendingAllowed(), p.fill == 0) << p.index;
        EXPECT_EQ(blit.fillCarryInAllowed(), p.fill != 0) << p.index;
        EXPECT_EQ(blit.preset, p.index);
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
