#pragma once
#include "registers/RegistersTool.h"

#include <QObject>

namespace Ui {
class RegistersViewController;
}

// The Registers tab's blitter section: wires its controls to the tool's blit, whose BLTCON0,
// BLTCON1 and size code is what `quillfen-asm blitter` writes.
class BlitterSection : public QObject {
    Q_OBJECT
public:
    // Works on the section's controls in the tab's interface and on the tool's blit; both
    // outlive it.
    BlitterSection(Ui::RegistersViewController *ui, RegistersTool::Blitter *tool,
                   QObject *parent = nullptr);

public slots:
    // Fills the controls from the preset at index (1 onwards; 0 is "Custom").
    void choosePreset(int index);
    // Recomputes the minterms and the code from the controls.
    void update();
    void copyCode();

private:
    // The function was typed: its channels follow it, the preset shows "Custom".
    void functionEdited();
    void readControls();
    // Shows the tool's function, channels, fill and preset in the controls.
    void showBlit();

    Ui::RegistersViewController *ui;
    RegistersTool::Blitter *m_tool;
};
