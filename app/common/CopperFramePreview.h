#pragma once
#include <amiga/copperframe.h>

#include <QColor>
#include <QVector>
#include <QWidget>
#include <string>

// What a copper list does to the screen: the colour of every line of a frame (PAL or NTSC), as the
// copper frame model leaves it, drawn as horizontal bands with the line numbers beside them. Two
// columns: the background (colour 0) and one more colour register that the tool chooses.
// The widget draws; the tools run the list.
class CopperFramePreview : public QWidget {
    Q_OBJECT
public:
    // A run of lines that show one colour.
    struct Band {
        int firstLine = 0;
        int lastLine = 0;
        QColor colour;
        friend bool operator==(const Band &, const Band &) = default;
    };

    explicit CopperFramePreview(QWidget *parent = nullptr);

    // Takes every line's colour 0 and colour register `picked` (none when it is out of range)
    // from a frame that has run; a colour not known is an invalid QColor, drawn hatched.
    void showFrame(const amiga::CopperFrame &frame, int picked);
    // Reads copper data as a tool prints it (dc.w lines), runs it over a frame and shows that; a
    // negative picked shows the first colour register other than colour 0 that the list writes.
    // Shows nothing, and gives false, for text that holds no copper data (move.w code).
    // frameLines: the frame's length (CopperFrame::kLines for PAL, kNtscLines for NTSC).
    bool showCopperText(const std::string &text, amiga::CopperFrame::Chipset chipset,
                        int picked = -1, int frameLines = amiga::CopperFrame::kLines);
    // Shows nothing.
    void clearFrame();

    int pickedRegister() const { return m_picked; }
    // The bands of colour 0 (column 0) or of the picked register (column 1), top to bottom.
    QVector<Band> bands(int column) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVector<QColor> m_background;
    QVector<QColor> m_pickedColours;
    int m_picked = -1;
    int m_lineCount = amiga::CopperFrame::kLines;
};
