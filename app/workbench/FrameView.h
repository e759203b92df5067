#pragma once
#include <amiga/displaymodel.h>

#include <QImage>
#include <QWidget>
#include <memory>
#include <vector>

namespace Ui {
class FrameView;
}

// The whole frame of the Workbench's list: what the display chips show of it with the chip data
// the user opens (files, or a chip-memory dump, each at its address), zoomable, the display
// window and the data fetch outlined; a click on a pixel shows what made it and names the
// instruction that set its colour.
class FrameView : public QWidget {
    Q_OBJECT
public:
    explicit FrameView(QWidget *parent = nullptr);
    ~FrameView() override;

    Ui::FrameView *controls() const { return ui.get(); }
    // The list to draw, and the chips it runs on.
    void setList(const std::vector<std::uint16_t> &words, amiga::Chipset chipset, bool ntsc);
    // Reads a file into chip memory at address (a dump: its base address); false, with the
    // reason in the chip line, when it cannot be read.
    bool addChipFile(const QString &path, std::uint32_t address);
    void clearChip();
    // The frame as drawn (one column per hires pixel, one row per line), without outlines.
    const QImage &frameImage() const { return m_image; }
    // What made the pixel at lores h, line v: shown under the frame; gives the instruction
    // that set its colour (-1 none) through instructionChosen.
    void explainAt(int h, int v);
    QString storyText() const;

signals:
    void instructionChosen(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openChip();
    void redraw();
    void showImage();

    std::unique_ptr<Ui::FrameView> ui;
    amiga::FrameRequest m_request;
    bool m_hasList = false;
    amiga::FrameRegion m_region;
    bool m_interlaced = false;
    QImage m_image;
    std::vector<amiga::LineOutline> m_outlines;
};
