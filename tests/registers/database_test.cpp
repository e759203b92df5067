// The register database as the Registers tool takes it: read cleanly, every register fit for the
// calculator (sixteen bits, groups that count from 0 without a gap, the AGA flags as the AGA
// documentation has them), and read ahead on a worker thread at start-up. The bit names
// themselves are held against the manuals in bitnames_test.cpp, the registers' offsets in
// tests/amiga.
#include "registers/RegisterDatabase.h"
#include "registers/RegistersViewController.h"

#include "LogCapture.h"
#include "QtPrinters.h"
#include <QMap>
#include <gtest/gtest.h>

TEST(RegisterDatabaseContents, EveryRegisterFitsTheCalculator) {
    LogCapture log;
    const QList<std::shared_ptr<Register>> database = RegisterDatabase::read();
    EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join('\n').toStdString();
    QStringList agaOnly;
    for (const auto &reg : database) {
        SCOPED_TRACE(reg->name.toStdString());
        EXPECT_FALSE(reg->summary.trimmed().isEmpty());
        ASSERT_EQ(reg->bits.size(), 16);
        QMap<QString, QList<std::uint64_t>> groups;
        for (int i = 0; i < 16; ++i) {
            const RegisterBit &bit = *reg->bits[i];
            EXPECT_EQ(bit.position, static_cast<std::uint64_t>(i));
            EXPECT_FALSE(bit.functionDescription.trimmed().isEmpty()) << i;
            if (bit.groupName)
                groups[*bit.groupName].append(bit.groupPosition);
            // A register that exists only on AGA has no other kind of bit to mark.
            if (reg->isAGA)
                EXPECT_TRUE(bit.isAGA || bit.functionName == "unused") << i;
        }
        for (auto it = groups.begin(); it != groups.end(); ++it) {
            std::sort(it->begin(), it->end());
            for (qsizetype p = 0; p < it->size(); ++p)
                EXPECT_EQ((*it)[p], static_cast<std::uint64_t>(p)) << it.key().toStdString();
        }
        if (reg->isAGA)
            agaOnly << reg->name;
    }
    EXPECT_EQ(agaOnly, QStringList({"BPL7PTH", "BPL7PTL", "BPL8PTH", "BPL8PTL", "BPLCON4",
                                    "CLXCON2", "BPL7DAT", "BPL8DAT", "FMODE"}));
    // Scattered AGA scroll bits: the group places each at its 35 ns weight (AGA documentation).
    const auto bplcon1 = std::find_if(database.begin(), database.end(),
                                      [](const auto &reg) { return reg->name == "BPLCON1"; });
    ASSERT_NE(bplcon1, database.end());
    const std::pair<int, std::uint64_t> pf1h[] = {{8, 0}, {9, 1}, {0, 2},  {1, 3},
                                                  {2, 4}, {3, 5}, {10, 6}, {11, 7}};
    for (const auto &[bit, position] : pf1h) {
        EXPECT_EQ((*bplcon1)->bits[bit]->groupName, QString("PF1H")) << bit;
        EXPECT_EQ((*bplcon1)->bits[bit]->groupPosition, position) << bit;
    }
}

// The database read on a worker thread at start-up is the one a fresh read gives, and each
// taker gets registers of its own.
TEST(RegisterPreload, BackgroundReadMatchesAFreshReadAndIsNotShared) {
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
