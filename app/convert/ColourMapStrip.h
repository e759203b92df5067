#pragma once
#include <QColor>
#include <QList>
#include <QWidget>

// A picture's colour map as swatches across the strip, colour 0 first, at most 32 to a row.
// Hovering a swatch tells its number and value.
class ColourMapStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kColumns = 32;

    explicit ColourMapStrip(QWidget *parent = nullptr);

    void setColours(const QList<QColor> &colours);
    const QList<QColor> &colours() const { return m_colours; }
    // The colour number under a point, or -1.
    int colourAt(const QPoint &point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int columns() const;
    int rows() const;
    int rowHeight() const;
    QRect swatchRect(int index) const;

    QList<QColor> m_colours;
};
