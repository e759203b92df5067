#pragma once
#include "common/CodeOutputTool.h"
#include "display/DisplayTool.h"

#include <QImage>
#include <QWidget>
#include <memory>

namespace Ui {
class DisplayViewController;
}
class QLineEdit;

// The Display tool: bitplane memory and modulo from width, height and depth, and the registers
// that open such a screen (display window, data fetch, BPLCON0, modulos, FMODE) with the code
// that writes them.
class DisplayViewController : public QWidget, public CodeOutputTool {
    Q_OBJECT
public:
    explicit DisplayViewController(QWidget *parent = nullptr);
    ~DisplayViewController() override;

    // Reads the three inputs and rewrites every result and arithmetic label, then the set-up.
    void calculateDisplay();
    // Reads the screen's inputs and rewrites the set-up registers, their warnings and the code.
    void calculateDisplaySetup();

    QPlainTextEdit *codeOutputView() const override;

    // Control access for the window and its tests.
    Ui::DisplayViewController *controls() const { return ui.get(); }
    // What the controls hold, as the last computation read them.
    const DisplayTool &tool() const { return m_tool; }

    // The picture the Convert tab works on, for the screen on the frame when the user asks for
    // it; nothing when there is none the planes can hold.
    void usePicture(std::shared_ptr<const DisplayTool::ScreenPicture> picture);

public slots:
    // The screen on the frame again, at the zoom and with the outlines chosen.
    void showScreen();
    // Puts the set-up code on the clipboard.
    void copySetupCode();
    // The depth pop-up was changed by the user: write its depth, recompute.
    void changeColours(int index);
    // A field was edited: clean it to its character set, then recompute.
    void controlTextDidChange(QLineEdit *field);

private:
    void configureController();
    // The chip set decides which resolutions and fetch modes can be chosen.
    void enableChipsetChoices();
    // Copies every control into the tool.
    void readControls();
    // Runs the set-up and its test pattern through the display model, once the frame's page is
    // on show; until then the frame is only marked out of date.
    void drawScreen();

    std::unique_ptr<Ui::DisplayViewController> ui;
    DisplayTool m_tool;
    std::shared_ptr<const DisplayTool::ScreenPicture> m_givenPicture;
    QImage m_screen; // one column per hires (or superhires) pixel, one row per line
    std::vector<amiga::LineOutline> m_outlines;
    int m_columnsPerPixel = 2;    // frame columns a lores pixel
    bool m_screenOutdated = true; // the set-up changed while the frame's page was hidden
};
