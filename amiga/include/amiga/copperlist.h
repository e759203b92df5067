// Copper lists read back: from the words (see copperread.h for reading them as the user has
// them), a listing of instructions with what each one does.
//
// The listing is assembler text written through AsmWriter: every instruction is a dc.w line of
// its two words (a MOVE names its register) with its explanation as a comment, so that the text
// assembles to exactly the words that were read.
#pragma once

#include "amiga/copper.h"
#include "amiga/copperframe.h"
#include "amiga/copperread.h"
#include "amiga/registercode.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace amiga {

// The meaning of a value written to a register, from the register database: its set bits and
// bit groups ("BPU=5 COLOR"). Given the register's offset and the value; empty for nothing to say.
using ExplainValue = std::function<std::string(std::uint16_t offset, std::uint16_t value)>;

// Explains through the registers of a register database (readRegisterDatabase): a MOVE's value
// as describeWord names its bits on that chipset, for the register written at that offset.
ExplainValue explainThroughDatabase(const std::vector<RegisterLayout> &registers, Chipset chipset);

struct CopperListOptions {
    CopperFrame::Chipset chipset = CopperFrame::Chipset::Ocs;
    ExplainValue explain;                 // may be empty: MOVEs then explain colours only
    int frameLines = CopperFrame::kLines; // CopperFrame::kNtscLines for an NTSC frame
    // Words the text gave by expressions over undefined symbols (CopperRead::unknown), in word
    // order: listed as written, explained as not known.
    std::span<const CopperUnknownWord> unknown = {};
};

// One field of an instruction, for a view of its parts: ("register", "BPLCON0 ($100)").
struct CopperField {
    std::string name;
    std::string value;
};

struct CopperListEntry {
    std::size_t word = 0; // index of its first word
    CopperWords words;
    bool loneWord = false; // the last word of an odd count: no instruction
    CopperInstruction instruction;
    bool endOfList = false;
    // The line at which the copper ran it in the frame (0-$137 on PAL, 0-$105 on NTSC: after the
    // $ff/$100 wrap the line is $1xx) and the horizontal position; -1 when it does not run in
    // the frame.
    int line = -1;
    int horizontal = -1;
    std::vector<CopperProblem> problems;
    // What it does: the comment of its line in the listing.
    std::string explanation;
    // A problem that is not one of the copper's own (a WAIT whose line never comes): a comment
    // line of its own above the instruction.
    std::vector<std::string> notes;
    std::vector<CopperField> fields;
    // A word's expression as the text wrote it when its value is not known (an undefined
    // symbol); empty when the word is known.
    std::string firstExpression, secondExpression;
    // A colour register's value after this MOVE: its number (0-255) and colour; -1 for none.
    int colourIndex = -1;
    Rgb8 colour;
};

struct CopperListing {
    std::vector<CopperListEntry> entries;
    CopperFrame::Stop stop = CopperFrame::Stop::OutOfWords;
    // The copper cannot perform every instruction: a MOVE to $000-$03e, or a lone word.
    bool cannotPerform = false;
    std::size_t unknownInstructions = 0; // with a word not known
};

// Reads the words as the copper does, runs them over a PAL frame for the lines, and explains
// every instruction.
CopperListing disassemble(std::span<const std::uint16_t> words, const CopperListOptions &options);

// The same, for a list too long to hold every entry (quillfen-asm's listing of a whole chip
// memory): each gets every entry in order, and the listing given back has none.
CopperListing disassembleEach(std::span<const std::uint16_t> words,
                              const CopperListOptions &options,
                              const std::function<void(CopperListEntry &)> &each);

// The listing as assembler text: per instruction, a ';' line for each of its problems and notes,
// then its dc.w line with the explanation as comment.
std::string copperListingText(const CopperListing &listing);
// The text of one entry as the listing has it.
std::string copperEntryText(const CopperListEntry &entry);

// The listing's text made and handed to write in pieces of about 64 KiB as it is made, so that
// the longest list takes no more memory than its words: disassembleEach and copperEntryText.
// write answers false to stop the writing (the listing is still made to its end).
CopperListing writeCopperListing(std::span<const std::uint16_t> words,
                                 const CopperListOptions &options,
                                 const std::function<bool(std::string_view piece)> &write);

// The words of the instruction line alone (no comments): what the listing's line assembles to.
std::string copperInstructionText(const CopperListEntry &entry);

} // namespace amiga
