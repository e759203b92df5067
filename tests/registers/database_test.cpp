#include "RegisterDataParser.h"

#include "LogCapture.h"
#include "QtPrinters.h"
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

class RegisterDatabase : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        LogCapture log;
        RegisterDataParser parser;
        database = new QList<std::shared_ptr<Register>>(
            parser.parse(RegisterDataParser::dataAsset("amigaRegisters")));
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
QList<std::shared_ptr<Register>> *RegisterDatabase::database = nullptr;
QStringList *RegisterDatabase::logLines = nullptr;

} // namespace

TEST_F(RegisterDatabase, ReadsCleanlyAndKeepsEveryRegister) {
    EXPECT_TRUE(logLines->isEmpty()) << logLines->join('\n').toStdString();
    const QByteArray raw = RegisterDataParser::dataAsset("amigaRegisters");
    EXPECT_EQ(database->size(), raw.count("<register "));
}

TEST_F(RegisterDatabase, EveryRegisterFitsTheCalculator) {
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

TEST_F(RegisterDatabase, KnownRegistersAndBits) {
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
        {"FMODE", "dff1fc", 0, "BLP32"},    {"FMODE", "dff1fc", 15, "SSCAN2"},
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
