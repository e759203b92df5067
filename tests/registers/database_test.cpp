#include "registers/RegisterDatabase.h"

#include <amiga/registercode.h>

#include "LogCapture.h"
#include "QtPrinters.h"
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

class RegisterDatabaseContents : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        LogCapture log;
        database = new QList<std::shared_ptr<Register>>(RegisterDatabase::read());
        logLines = new QStringList(log.lines);
    }
    static void TearDownTestSuite() {
        delete database;
        delete logLines;
    }
    static const Register *find(const QString &name) {
        for (const auto &reg : *database)
            if (reg->name == name)
                return reg.get();
        return nullptr;
    }
    static QList<std::shared_ptr<Register>> *database;
    static QStringList *logLines;
};
QList<std::shared_ptr<Register>> *RegisterDatabaseContents::database = nullptr;
QStringList *RegisterDatabaseContents::logLines = nullptr;

} // namespace

TEST_F(RegisterDatabaseContents, ReadsCleanlyAndKeepsEveryRegister) {
    EXPECT_TRUE(logLines->isEmpty()) << logLines->join('\n').toStdString();
    std::string error;
    amiga::registerDatabase(&error);
    EXPECT_EQ(error, "");
    const std::string_view raw = amiga::registerDatabaseDocument();
    qsizetype elements = 0;
    for (std::size_t at = raw.find("<register "); at != std::string_view::npos;
         at = raw.find("<register ", at + 1))
        ++elements;
    EXPECT_EQ(database->size(), elements);
}

TEST_F(RegisterDatabaseContents, EveryRegisterFitsTheCalculator) {
    static const QRegularExpression hexAddress("^dff[0-9a-f]{3}$");
    QSet<QString> names;
    QSet<QString> addresses;
    int previous = -1;
    for (const auto &reg : *database) {
        SCOPED_TRACE(reg->name.toStdString());
        EXPECT_FALSE(reg->name.isEmpty());
        EXPECT_FALSE(names.contains(reg->name));
        names.insert(reg->name);
        EXPECT_TRUE(hexAddress.match(reg->address).hasMatch()) << reg->address.toStdString();
        EXPECT_FALSE(addresses.contains(reg->address));
        addresses.insert(reg->address);
        const int address = reg->address.toInt(nullptr, 16);
        EXPECT_EQ(address % 2, 0);
        EXPECT_GE(address, 0xdff000);
        EXPECT_LE(address, 0xdff1fe);
        EXPECT_GT(address, previous) << "registers are listed in address order";
        previous = address;
        EXPECT_FALSE(reg->summary.trimmed().isEmpty());
        EXPECT_FALSE(reg->note.trimmed().isEmpty());

        ASSERT_EQ(reg->bits.size(), 16);
        QMap<QString, QList<std::uint64_t>> groups;
        for (int i = 0; i < 16; ++i) {
            const RegisterBit &bit = *reg->bits[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(bit.position, static_cast<std::uint64_t>(i));
            EXPECT_FALSE(bit.functionName.isEmpty());
            EXPECT_FALSE(bit.functionDescription.trimmed().isEmpty());
            if (bit.functionName == "unused") {
                EXPECT_EQ(bit.functionDescription, "unused");
            }
            if (bit.groupName) {
                EXPECT_FALSE(bit.groupName->isEmpty());
                groups[*bit.groupName].append(bit.groupPosition);
            }
            // A register that exists only on AGA has no other kind of bit to mark.
            if (reg->isAGA) {
                EXPECT_TRUE(bit.isAGA || bit.functionName == "unused");
            }
        }
        for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
            QList<std::uint64_t> positions = it.value();
            std::sort(positions.begin(), positions.end());
            for (qsizetype p = 0; p < positions.size(); ++p)
                EXPECT_EQ(positions[p], static_cast<std::uint64_t>(p))
                    << "group " << it.key().toStdString() << " is not contiguous from 0";
        }
    }
}

TEST_F(RegisterDatabaseContents, KnownRegistersAndBits) {
    struct Spot {
        const char *name;
        const char *address;
        int bit;
        const char *function;
    };
    const Spot spots[] = {
        {"DMACON", "dff096", 9, "DMAEN"},   {"DMACON", "dff096", 15, "SET/CLR"},
        {"DMACONR", "dff002", 14, "BBUSY"}, {"INTENA", "dff09a", 14, "INTEN"},
        {"INTREQ", "dff09c", 5, "VERTB"},   {"BPLCON0", "dff100", 15, "HIRES"},
        {"BPLCON0", "dff100", 0, "ECSENA"}, {"BPLCON0", "dff100", 4, "BPU3"},
        {"COLOR00", "dff180", 11, "R3"},    {"COLOR31", "dff1be", 0, "B0"},
        {"FMODE", "dff1fc", 0, "BPL32"},    {"FMODE", "dff1fc", 15, "SSCAN2"},
    };
    for (const Spot &spot : spots) {
        SCOPED_TRACE(spot.name);
        const Register *reg = find(spot.name);
        ASSERT_NE(reg, nullptr);
        EXPECT_EQ(reg->address, spot.address);
        EXPECT_EQ(reg->bits[spot.bit]->functionName, spot.function);
    }

    const Register *bplcon0 = find("BPLCON0");
    for (int i = 12; i <= 14; ++i) {
        EXPECT_EQ(bplcon0->bits[i]->groupName, QString("BPU"));
        EXPECT_EQ(bplcon0->bits[i]->groupPosition, static_cast<std::uint64_t>(i - 12));
    }
    EXPECT_EQ(bplcon0->bits[4]->groupPosition, 3u);
    EXPECT_TRUE(bplcon0->bits[4]->isAGA);
    EXPECT_TRUE(bplcon0->bits[5]->isAGA);
    EXPECT_FALSE(bplcon0->bits[15]->isAGA);
    EXPECT_FALSE(bplcon0->isAGA);
    EXPECT_TRUE(find("FMODE")->isAGA);
    EXPECT_FALSE(find("DMACON")->isAGA);
}

TEST_F(RegisterDatabaseContents, HoldsTheWholeCustomChipRegisterSet) {
    QStringList expected = {
        "BLTDDAT", "DMACONR", "VPOSR",    "VHPOSR",  "DSKDATR",  "JOY0DAT",  "JOY1DAT",  "CLXDAT",
        "ADKCONR", "POT0DAT", "POT1DAT",  "POTGOR",  "SERDATR",  "DSKBYTR",  "INTENAR",  "INTREQR",
        "DSKPTH",  "DSKPTL",  "DSKLEN",   "DSKDAT",  "REFPTR",   "VPOSW",    "VHPOSW",   "COPCON",
        "SERDAT",  "SERPER",  "POTGO",    "JOYTEST", "STREQU",   "STRVBL",   "STRHOR",   "STRLONG",
        "BLTCON0", "BLTCON1", "BLTAFWM",  "BLTALWM", "BLTSIZE",  "BLTCON0L", "BLTSIZV",  "BLTSIZH",
        "SPRHDAT", "BPLHDAT", "DENISEID", "DSKSYNC", "COP1LCH",  "COP1LCL",  "COP2LCH",  "COP2LCL",
        "COPJMP1", "COPJMP2", "COPINS",   "DIWSTRT", "DIWSTOP",  "DDFSTRT",  "DDFSTOP",  "DMACON",
        "CLXCON",  "INTENA",  "INTREQ",   "ADKCON",  "BPLCON0",  "BPLCON1",  "BPLCON2",  "BPLCON3",
        "BPL1MOD", "BPL2MOD", "BPLCON4",  "CLXCON2", "HTOTAL",   "HSSTOP",   "HBSTRT",   "HBSTOP",
        "VTOTAL",  "VSSTOP",  "VBSTRT",   "VBSTOP",  "SPRHSTRT", "SPRHSTOP", "BPLHSTRT", "BPLHSTOP",
        "HHPOSW",  "HHPOSR",  "BEAMCON0", "HSSTRT",  "VSSTRT",   "HCENTER",  "DIWHIGH",  "BPLHMOD",
        "SPRHPTH", "SPRHPTL", "BPLHPTH",  "BPLHPTL", "FMODE",    "NOOP"};
    for (const char *channel : {"A", "B", "C", "D"}) {
        expected << QString("BLT%1PTH").arg(channel) << QString("BLT%1PTL").arg(channel)
                 << QString("BLT%1MOD").arg(channel);
        if (QString(channel) != "D")
            expected << QString("BLT%1DAT").arg(channel);
    }
    for (int i = 0; i < 4; ++i)
        for (const char *suffix : {"LCH", "LCL", "LEN", "PER", "VOL", "DAT"})
            expected << QString("AUD%1%2").arg(i).arg(suffix);
    for (int i = 1; i <= 8; ++i)
        expected << QString("BPL%1PTH").arg(i) << QString("BPL%1PTL").arg(i)
                 << QString("BPL%1DAT").arg(i);
    for (int i = 0; i < 8; ++i)
        for (const char *suffix : {"PTH", "PTL", "POS", "CTL", "DATA", "DATB"})
            expected << QString("SPR%1%2").arg(i).arg(suffix);
    for (int i = 0; i < 32; ++i)
        expected << QString("COLOR%1").arg(i, 2, 10, QChar('0'));

    QStringList missing;
    for (const QString &name : expected)
        if (!find(name))
            missing << name;
    EXPECT_TRUE(missing.isEmpty()) << missing.join(' ').toStdString();
    EXPECT_EQ(database->size(), expected.size());
}

TEST_F(RegisterDatabaseContents, FamiliesSitAtTheirAddresses) {
    auto address = [](const QString &name) {
        const Register *reg = find(name);
        return reg ? reg->address.toInt(nullptr, 16) - 0xdff000 : -1;
    };
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(address(QString("COLOR%1").arg(i, 2, 10, QChar('0'))), 0x180 + 2 * i);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(address(QString("SPR%1PTH").arg(i)), 0x120 + 4 * i);
        EXPECT_EQ(address(QString("SPR%1POS").arg(i)), 0x140 + 8 * i);
        EXPECT_EQ(address(QString("SPR%1DATB").arg(i)), 0x146 + 8 * i);
        EXPECT_EQ(address(QString("BPL%1PTL").arg(i + 1)), 0x0e2 + 4 * i);
        EXPECT_EQ(address(QString("BPL%1DAT").arg(i + 1)), 0x110 + 2 * i);
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(address(QString("AUD%1LCH").arg(i)), 0x0a0 + 0x10 * i);
        EXPECT_EQ(address(QString("AUD%1DAT").arg(i)), 0x0aa + 0x10 * i);
    }
    const std::pair<const char *, int> singles[] = {
        {"BLTCON0", 0x040}, {"BLTSIZE", 0x058}, {"BLTAMOD", 0x064},  {"BLTADAT", 0x074},
        {"COP1LCH", 0x080}, {"COPJMP1", 0x088}, {"DIWSTRT", 0x08e},  {"DDFSTOP", 0x094},
        {"ADKCON", 0x09e},  {"BPLCON3", 0x106}, {"BPL2MOD", 0x10a},  {"BPLCON4", 0x10c},
        {"CLXCON2", 0x10e}, {"HTOTAL", 0x1c0},  {"BEAMCON0", 0x1dc}, {"DIWHIGH", 0x1e4},
        {"POTGOR", 0x016},  {"SERPER", 0x032},  {"DSKSYNC", 0x07e},  {"DENISEID", 0x07c}};
    for (const auto &[name, offset] : singles)
        EXPECT_EQ(address(name), offset) << name;
}

TEST_F(RegisterDatabaseContents, FieldsAndChipsetFlags) {
    // Scattered AGA scroll bits: the group places each at its 35 ns weight.
    const Register *bplcon1 = find("BPLCON1");
    const std::pair<int, std::uint64_t> pf1h[] = {{8, 0}, {9, 1}, {0, 2},  {1, 3},
                                                  {2, 4}, {3, 5}, {10, 6}, {11, 7}};
    for (const auto &[bit, position] : pf1h) {
        EXPECT_EQ(bplcon1->bits[bit]->groupName, QString("PF1H")) << bit;
        EXPECT_EQ(bplcon1->bits[bit]->groupPosition, position) << bit;
        EXPECT_EQ(bplcon1->bits[bit]->isAGA, bit >= 8) << bit;
    }
    const Register *bplcon3 = find("BPLCON3");
    for (int i = 13; i <= 15; ++i) {
        EXPECT_EQ(bplcon3->bits[i]->groupName, QString("BANK"));
        EXPECT_TRUE(bplcon3->bits[i]->isAGA);
    }
    EXPECT_EQ(bplcon3->bits[10]->groupName, QString("PF2OF"));
    EXPECT_EQ(bplcon3->bits[9]->functionName, "LOCT");
    EXPECT_FALSE(bplcon3->bits[6]->isAGA); // SPRES0 is ECS
    const Register *bplcon4 = find("BPLCON4");
    EXPECT_TRUE(bplcon4->isAGA);
    EXPECT_EQ(bplcon4->bits[15]->functionName, "BPLAM7");
    EXPECT_EQ(bplcon4->bits[7]->functionName, "ESPRM7");
    EXPECT_EQ(bplcon4->bits[0]->functionName, "OSPRM4");
    EXPECT_EQ(find("BEAMCON0")->bits[5]->functionName, "PAL");
    EXPECT_EQ(find("POTGOR")->bits[10]->functionName, "DATLY");
    EXPECT_EQ(find("BLTCON0")->bits[15]->functionName, "ASH3");
    EXPECT_EQ(find("BLTCON0")->bits[0]->groupName, QString("LF"));
    EXPECT_EQ(find("ADKCON")->bits[10]->functionName, "WORDSYNC");
    EXPECT_EQ(find("VPOSR")->bits[15]->functionName, "LOF");
    EXPECT_EQ(find("SPR1CTL")->bits[7]->functionName, "ATT");
    EXPECT_EQ(find("AUD0VOL")->bits[6]->groupPosition, 6u);

    // AGA-only registers are flagged as such, and only those.
    QStringList agaOnly;
    for (const auto &reg : *database)
        if (reg->isAGA)
            agaOnly << reg->name;
    EXPECT_EQ(agaOnly, QStringList({"BPL7PTH", "BPL7PTL", "BPL8PTH", "BPL8PTL", "BPLCON4",
                                    "CLXCON2", "BPL7DAT", "BPL8DAT", "FMODE"}));
}

TEST_F(RegisterDatabaseContents, EcsenaSaysWhichBplcon3BitsItGates) {
    // AGA documentation, BPLCON0 bit 0: ECSENA enables BRDRBLNK, BRDNTRAN, ZDCLKEN, BRDSPRT and
    // EXTBLKEN; the colour bank, LOCT and the rest of BPLCON3 work without it.
    const QString text = find("BPLCON0")->bits[0]->functionDescription;
    for (const char *bit : {"BRDRBLNK", "BRDNTRAN", "ZDCLKEN", "BRDSPRT", "EXTBLKEN"})
        EXPECT_TRUE(text.contains(bit)) << bit;
    EXPECT_TRUE(text.contains("BANK"));
}
