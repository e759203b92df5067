// Register names and offsets as the Hardware Reference Manual's register summary gives them.
#include <amiga/customregisters.h>
#include <amiga/registercode.h>

#include <gtest/gtest.h>

using namespace amiga;

TEST(CustomRegisters, NamesAtTheManualsOffsets) {
    const struct {
        std::uint16_t offset;
        const char *name;
    } known[] = {
        {0x000, "BLTDDAT"}, {0x02e, "COPCON"},   {0x058, "BLTSIZE"},  {0x080, "COP1LCH"},
        {0x0fe, "BPL8PTL"}, {0x106, "BPLCON3"},  {0x146, "SPR0DATB"}, {0x180, "COLOR00"},
        {0x1be, "COLOR31"}, {0x1dc, "BEAMCON0"}, {0x1fc, "FMODE"},    {0x1fe, "NOOP"},
    };
    for (const auto &r : known)
        EXPECT_EQ(registerName(r.offset), r.name) << std::hex << r.offset;
    // Offsets without a register, odd offsets and offsets past the last register have no name.
    for (const std::uint16_t none : {0x068, 0x076, 0x0ac, 0x1f0, 0x1fa, 0x181, 0x200, 0xffff})
        EXPECT_EQ(registerName(none), "") << std::hex << none;
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
    const struct {
        const char *text;
        std::uint16_t offset;
    } accepted[] = {
        {"color00", 0x180},  {"  Bplcon0\t", 0x100}, {"$180", 0x180},    {"180", 0x180},
        {"0x180", 0x180},    {"0X1FE", 0x1fe},       {"$dff180", 0x180}, {"$DFF1BE", 0x1be},
        {"dff096", 0x096},   {" $1f0 ", 0x1f0},      {"$0", 0x000},      {"$dff000", 0x000},
        {"0xdff1fe", 0x1fe}, {"2e", 0x02e},
    };
    for (const auto &a : accepted)
        EXPECT_EQ(registerOffset(a.text), a.offset) << a.text;
    for (const char *refused :
         {"", "   ", "COLOR32", "COLOR 00", "COLOR00,", "$181", "$200", "$dff200", "$dff181",
          "dff000x", "$", "0x", "$-2", "$$180", "123456789"})
        EXPECT_EQ(registerOffset(refused), std::nullopt) << '"' << refused << '"';
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
