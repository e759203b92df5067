#pragma once
#include <amiga/copperframe.h>
#include <amiga/copperlist.h>
#include <amiga/copperread.h>

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// What the Workbench tab reads and shows, without its widgets: a copper list read from pasted
// text or from a file's bytes (text, or binary words from an offset), the message that says what
// was read or why it could not be, the listing's rows with their notes, the fields of one
// instruction, the text Copy takes and the frame the preview shows. The controller copies its
// controls in and the results out.
class WorkbenchTool {
public:
    // The controls' choices: the chip set the list is read for and the frame's length.
    bool aga = false;
    bool ntsc = false;
    // Values for symbols the text uses but does not define: NAME=VALUE, separated by blanks or
    // commas, as quillfen-asm copper --define takes them.
    QString symbols;

    // Reads a copper list's words from text. Gives false when it cannot, and the message says
    // where; the words and the listing of the last list read stay, so nothing is lost.
    bool read(const QString &text);
    // The listing of the words read, on the chip set and frame chosen now, and the message that
    // counts its instructions.
    void disassemble();
    // The text a file's bytes put in the tab's source field: the file's own text, or for binary
    // words from the byte offset on, a memory view that reads back to the same words. None
    // when the words cannot be had, and the message says why.
    std::optional<QString> sourceOfFile(const QByteArray &bytes, bool binary, std::size_t offset);
    // A file holds binary words when its start holds a control character other than tabs and
    // line ends: a MOVE's first word, a register offset below $200, always has one.
    static bool looksBinary(const QByteArray &head);

    const QString &message() const { return m_message; }
    bool hasList() const { return !m_words.empty(); }
    // The words of the last list read, as the copper reads them.
    const std::vector<std::uint16_t> &words() const { return m_words; }
    const amiga::CopperListing &listing() const { return m_listing; }
    // The listing as the command line prints it.
    QString listingText() const;

    // A row of the listing: the byte offset, the line as the listing prints it (its tabs as
    // blanks) and its explanation.
    static QString rowText(const amiga::CopperListEntry &entry);
    // The problems and notes of a row, a line each; empty for a row that has none.
    static QString rowNotes(const amiga::CopperListEntry &entry);
    // The fields of the instruction at row, as a table (rich text).
    QString fieldsText(int row) const;

    // The highest colour register the preview can pick.
    int lastColourRegister() const { return aga ? 255 : 31; }
    amiga::CopperFrame::Chipset chipset() const {
        return aga ? amiga::CopperFrame::Chipset::Aga : amiga::CopperFrame::Chipset::Ocs;
    }
    int frameLines() const {
        return ntsc ? amiga::CopperFrame::kNtscLines : amiga::CopperFrame::kLines;
    }
    // The frame as the list leaves it (a list must have been read).
    amiga::CopperFrame frame() const;

private:
    std::vector<std::uint16_t> m_words;
    std::vector<amiga::CopperUnknownWord> m_unknown; // words over undefined symbols, in order
    std::vector<amiga::CopperReadError> m_notes;     // what the reader passed over
    amiga::CopperListing m_listing;
    QString m_message;
    // The register database's bit names, read at the first list (the command line reads the
    // same document with the same reader, so both print the same text).
    amiga::ExplainValue m_explain;
    bool m_explainAga = false;
};
