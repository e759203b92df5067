// Copper code as the assembler makes it, ready for the copper model.
#pragma once

#include "m68k_assembler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// The words of a text as the assembler makes them, ended by the end-of-list WAIT; a text that
// does not assemble fails the test.
inline std::vector<std::uint16_t> assembledCopperList(const std::string &text) {
    const m68k::Result result = m68k::assemble(text);
    EXPECT_TRUE(result.words) << result.messages << text;
    std::vector<std::uint16_t> words = result.words.value_or(std::vector<std::uint16_t>{});
    words.insert(words.end(), {0xffff, 0xfffe});
    return words;
}
