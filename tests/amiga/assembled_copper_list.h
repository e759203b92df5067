// Copper code as the assembler makes it, ready for the copper model; words as bytes in memory.
#pragma once

#include <amiga/copperlist.h>
#include <amiga/customregisters.h>

#include "golden_text.h"
#include "m68k_assembler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The words the assembler makes of a text exactly as given; a text that does not assemble fails
// the test (and gives no words).
inline std::vector<std::uint16_t> assembled(const std::string &text) {
    const m68k::Result result = m68k::assemble(text);
    EXPECT_TRUE(result.words) << result.messages << text;
    return result.words.value_or(std::vector<std::uint16_t>{});
}

// The words of a text, ended by the end-of-list WAIT.
inline std::vector<std::uint16_t> assembledCopperList(const std::string &text) {
    std::vector<std::uint16_t> words = assembled(text);
    words.insert(words.end(), {0xffff, 0xfffe});
    return words;
}

// Every register name as an equate, so that any MOVE of a listing assembles.
inline std::string allRegisterEquates() {
    std::string text;
    for (std::uint16_t offset = 0; offset <= amiga::kLastRegisterOffset; offset += 2)
        if (!amiga::registerName(offset).empty())
            text += std::string(amiga::registerName(offset)) + "\tequ\t" + std::to_string(offset) +
                    "\n";
    return text;
}

// Words as the bytes that hold them in chip memory, high byte first.
inline std::vector<std::uint8_t> bytesOfWords(const std::vector<std::uint16_t> &words) {
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t w : words)
        bytes.insert(bytes.end(),
                     {static_cast<std::uint8_t>(w >> 8), static_cast<std::uint8_t>(w)});
    return bytes;
}

// The listing of words, assembled, gives the same words.
inline void expectListingReassembles(const std::vector<std::uint16_t> &words,
                                     amiga::CopperFrame::Chipset chipset) {
    const std::string text = amiga::copperListingText(amiga::disassemble(words, {chipset, {}}));
    const m68k::Result result = m68k::assemble(text, allRegisterEquates());
    ASSERT_TRUE(result.words) << result.messages << text;
    EXPECT_EQ(*result.words, words) << text;
}

// Texts against the cases of a golden file (golden_text.h): every case of the file is given, each
// text is its case character for character, and each assembles as it stands.
inline void expectGoldenTexts(const std::string &path,
                              const std::vector<std::pair<std::string, std::string>> &texts) {
    const std::map<std::string, std::string> expected = golden::read(path);
    EXPECT_EQ(expected.size(), texts.size()) << path;
    for (const auto &[name, text] : texts) {
        const auto found = expected.find(name);
        ASSERT_NE(found, expected.end()) << name;
        EXPECT_EQ(text, found->second) << name;
        if (!m68k::available())
            continue;
        const m68k::Result result = m68k::assemble(text);
        EXPECT_TRUE(result.words) << name << "\n" << result.messages;
    }
}
