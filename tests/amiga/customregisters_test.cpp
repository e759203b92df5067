// Register names and offsets as the Hardware Reference Manual's register summary gives them (the
// cases in data/customregisters.txt).
#include <amiga/customregisters.h>
#include <amiga/registercode.h>

#include "case_table.h"

#include <gtest/gtest.h>

using namespace amiga;

TEST(CustomRegisters, NamesAtTheManualsOffsets) {
    for (const casetable::Row &r : casetable::rows("customregisters.txt", "names"))
        EXPECT_EQ(registerName(static_cast<std::uint16_t>(casetable::number(r.at(0)))),
                  r.size() > 1 ? r[1] : "")
            << r[0];
    // Every name names its one offset, and the register database the bits are named from names
    // each register as the copper words do: 237 registers, the no-op among them ($000-$1fe less
    // the 19 unused offsets).
    int named = 0, compared = 0;
    for (std::uint16_t offset = 0; offset <= kLastRegisterOffset; offset += 2) {
        const std::string_view name = registerName(offset);
        named += !name.empty();
        EXPECT_EQ(name.empty() ? offset : registerOffset(name), offset) << name;
    }
    for (const RegisterLayout &layout : registerDatabase()) {
        if (layout.address < kCustomBase || layout.address > kCustomBase + kLastRegisterOffset)
            continue;
        ++compared;
        EXPECT_EQ(registerName(static_cast<std::uint16_t>(layout.address - kCustomBase)),
                  layout.name)
            << layout.address;
    }
    EXPECT_EQ(named, 237);
    EXPECT_EQ(compared, 237);
}

TEST(CustomRegisters, TextsThatNameARegister) {
    const auto table = casetable::rows("customregisters.txt", "texts");
    EXPECT_EQ(table.size(), 29u);
    for (const casetable::Row &r : table) {
        const std::optional<std::uint16_t> offset = registerOffset(r.at(0));
        if (r.at(1) == "none")
            EXPECT_EQ(offset, std::nullopt) << '"' << r[0] << '"';
        else
            EXPECT_EQ(offset, casetable::number(r[1])) << '"' << r[0] << '"';
    }
}

TEST(CustomRegisters, WhatTheCopperMayWrite) {
    // Hardware Reference Manual, "Copper control register": $000-$03e never, $040-$07e only with
    // the danger bit (CDANG, COPCON bit 1), everything from $080 always.
    const auto N = CopperAccess::Never, D = CopperAccess::WithDangerBit, A = CopperAccess::Always;
    const std::pair<std::uint16_t, CopperAccess> cases[] = {
        {0x000, N}, {0x02e, N}, {0x03e, N}, {0x040, D}, {0x07e, D}, {0x080, A}, {0x1fe, A}};
    for (const auto &[offset, access] : cases)
        EXPECT_EQ(copperAccess(offset), access) << std::hex << offset;
    for (const std::uint16_t offset : {0x17e, 0x180, 0x181, 0x1be, 0x1c0})
        EXPECT_EQ(isColourRegister(offset), offset == 0x180 || offset == 0x1be) << offset;
}
