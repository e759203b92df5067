#pragma once
#include <amiga/gradient.h>
#include <optional>
#include <string>
#include <vector>

// What the Gradient tab computes, without its widgets: the key colours and which one is
// selected, the rules for adding, moving, recolouring and removing keys, the request the
// controls make, the text shown (copper list, word table or fade table) with its status line,
// and the preview's colours. The controller copies its controls in and shows the results.
class GradientTool {
public:
    enum class Output { CopperList, WordTable, FadeTable };
    enum class FadeTarget { Black, White, Colour };

    // The controls' values.
    int firstLine = 0x2c;
    int lines = 200;
    bool aga = false;
    int colourRegister = 0;
    bool oklab = false;
    amiga::GradientDither dither = amiga::GradientDither::None; // ignored on AGA
    int horizontal = 0x07;
    std::uint16_t bplcon3 = amiga::kBplcon3Reset; // AGA: the display's BPLCON3
    bool ntsc = false;                            // the frame ends after line $105, not $137
    Output output = Output::CopperList;
    // The fade table: the palette faded, its target and steps.
    std::vector<amiga::Rgb8> fadePalette;
    FadeTarget fadeTarget = FadeTarget::Black;
    std::optional<amiga::Rgb8> fadeColour; // the typed colour, when it is one
    int fadeSteps = 16;

    const std::vector<amiga::GradientKey> &keys() const { return m_keys; }
    int selected() const { return m_selected; }
    // Ignores an empty list; the selection stays within the keys.
    bool setKeys(std::vector<amiga::GradientKey> keys);
    bool select(int index);
    // Moves a key to a line, at most maxLine; false when nothing changed.
    bool moveKey(int index, int line, int maxLine);
    void setSelectedColour(amiga::Rgb8 colour);
    // A new key after the selected one, half way to the next key (or the last line), in the
    // colour the gradient has there, so that the gradient stays as it is; it becomes selected.
    void addKey();
    // The last key stays.
    bool canRemoveKey() const { return m_keys.size() > 1; }
    bool removeKey();

    amiga::GradientRequest request() const;

    struct Shown {
        std::string text;
        int count = 0;           // lines of the word table, steps of the fade
        std::size_t colours = 0; // colours of each step of the fade
        // The copper list's instructions, and the lines past the end of the frame that it left
        // out (the first and the last; -1 for none).
        std::size_t instructions = 0;
        long firstLeftOut = -1;
        long lastLeftOut = -1;
    };
    // The text of the chosen output, with what the status line says of it.
    Shown shown() const;

    // Each line's exact colour, and what the printed copper list makes the register show there
    // on the chosen chipset (black past the end of the frame).
    struct Preview {
        std::vector<amiga::Rgb8> exact, shown;
    };
    Preview preview() const;

private:
    std::vector<amiga::GradientKey> m_keys;
    int m_selected = 0;
};
