#include "registers/RegisterDatabase.h"
#include "registers/RegistersViewController.h"

#include <gtest/gtest.h>

// The database read on a worker thread at start-up is the same one a fresh read
// gives, and each taker gets registers of its own.
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
    EXPECT_EQ(controller.registers().first()->name, preloaded.first()->name);
}
