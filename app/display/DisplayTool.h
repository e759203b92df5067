#pragma once
#include <QString>
#include <QStringList>
#include <amiga/displaymodel.h>
#include <amiga/displaysetup.h>
#include <memory>
#include <vector>

// What the Display tab computes, without its widgets: bitplane memory from width, height and
// depth as the tab shows it (grouped results and their arithmetic), and the display set-up with
// the chipset's rules, its rows, the note on fetched bytes and the code. The controller copies
// its controls in and the results out.
class DisplayTool {
public:
    // The screen as the controls hold it. Width, height and depth are the numbers the fields
    // read (0 when empty); depth 0 means no depth yet.
    qint64 width = 320;
    qint64 height = 256;
    qint64 depth = 5;
    int chipset = 0; // OCS, ECS, AGA
    bool ntsc = false;
    int resolution = 0; // lores, hires, superhires
    int fetchMode = 0;
    bool interlace = false;
    bool interleaved = false;
    bool scroll = false;
    bool centred = false;
    int hstart = 0x81;
    int vstart = 0x2c;
    bool cpuCode = false; // CPU moves instead of copper data

    // The memory results, in the order the tab shows them: each number (grouped by the
    // locale) beside its arithmetic. The results that need a depth are empty without one.
    struct Memory {
        QString bytesPerLine, bytesPerLineArithmetic;
        QString bytesPerPlane, bytesPerPlaneArithmetic;
        QString bytesAllPlanes, bytesAllPlanesArithmetic;
        QString bytesPerLineAllPlanes, bytesPerLineAllPlanesArithmetic;
        QString modulo, moduloHex, moduloArithmetic;
        int colourChoice = -1; // the depth pop-up's item, -1 for none
        QStringList all() const;
    };
    Memory memory() const;

    // The chipset decides what can be chosen: superhires needs ECS or AGA, fetch modes AGA.
    bool superhiresAllowed() const { return chipset != 0; }
    bool fetchModeAllowed() const { return chipset == 2; }
    bool startTyped() const { return !centred; }
    // Moves the choices the chipset cannot have to the nearest it can.
    void applyChipsetRules();

    // One register of the set-up as the tab shows it.
    struct Row {
        amiga::DisplayRegister reg;
        bool shown = false; // a register the screen does not need shows no row
        QString value, arithmetic, warning;
    };
    amiga::DisplayRequest request() const;
    std::vector<Row> rows() const;
    // When the screen takes more bytes a line than the memory results' width / 8: says so.
    QString fetchNote() const;
    QString code() const;

    // The screen on the frame: the set-up's registers, BPLxPT and a palette written by a copper
    // list, and a test pattern in the planes (vertical bars of every colour number from left to
    // right, framed by a one-pixel edge of the last colour number), run through the display
    // model over the visible part of the frame. A wrong window or fetch shows as a cut or
    // shifted edge. With a screenPicture, the picture in the planes and its colours. False, with
    // the reason, when the screen has no depth or does not fit.
    bool screenFrame(amiga::FramePicture *picture, QString *message) const;
    // The colour number the pattern has at pixel x, line y.
    int patternColour(int x, int y) const;

    // A picture to show in the screen's planes instead of the pattern (the Convert tab's): its
    // colour numbers row after row and its colour map. Cut to the screen, the rest colour 0;
    // numbers past the depth lose their high bits, colours past the map are black.
    struct ScreenPicture {
        int width = 0, height = 0;
        std::vector<std::uint8_t> pixels;
        std::vector<amiga::Rgb8> palette;
    };
    // Shared with the view, which keeps it while the picture is not on show.
    std::shared_ptr<const ScreenPicture> screenPicture;
    static constexpr std::uint32_t kPlaneAddress = 0x10000;
};
