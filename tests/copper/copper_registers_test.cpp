// The register database of the Registers tool and the register table of the copper words name
// the same registers, so that the two cannot drift apart.
#include "registers/RegisterDatabase.h"

#include <amiga/customregisters.h>

#include <gtest/gtest.h>

TEST(CopperRegisters, EveryCustomRegisterOfTheDatabaseHasTheSameName) {
    const auto registers = RegisterDatabase::read();
    int compared = 0;
    for (const auto &r : registers) {
        bool ok = false;
        const unsigned address = r->address.toUInt(&ok, 16);
        ASSERT_TRUE(ok) << r->name.toStdString();
        if (address < amiga::kCustomBase || address > amiga::kCustomBase + 0x1fe)
            continue;
        ++compared;
        const auto offset = static_cast<std::uint16_t>(address - amiga::kCustomBase);
        const std::string name = r->name.toStdString();
        EXPECT_EQ(amiga::registerName(offset), name) << r->address.toStdString();
    }
    EXPECT_EQ(compared, 237);
}
