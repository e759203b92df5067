#pragma once
#include <QObject>

#include <amiga/blitter.h>

namespace Ui {
class RegistersViewController;
}

// The Registers tab's blitter section: BLTCON0, BLTCON1 and the size register of an area-mode
// blit from a preset or from its logic function, channels, shifts, direction, fill and size,
// written through the machine library's blitter code, as `quillfen-asm blitter` writes it.
class BlitterSection : public QObject {
    Q_OBJECT
public:
    // Works on the section's controls in the tab's interface; they outlive it.
    BlitterSection(Ui::RegistersViewController *ui, QObject *parent = nullptr);

    // The blit the controls describe; nullopt while the function cannot be read.
    std::optional<amiga::blitter::Blit> blit() const;

public slots:
    // Fills the controls from the preset at index (1 onwards; 0 is "Custom").
    void choosePreset(int index);
    // Recomputes the minterms and the code from the controls.
    void update();
    void copyCode();

private:
    // The function was typed: its channels follow it, the preset shows "Custom".
    void functionEdited();
    void showChannels(const amiga::blitter::Channels &channels);

    Ui::RegistersViewController *ui;
};
