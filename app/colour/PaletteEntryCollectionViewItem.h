#pragma once
#include "colour/Colour.h"

#include <QString>
#include <QtGlobal>

class QPainter;
class QPalette;
class QRect;

// One cell of the palette grid: the colour it shows, its index, how it looks
// when selected, and the entry's rainbow height (display lines the entry covers
// in rainbow code). The grid's data source keeps one per entry; a cell that is
// given a new colour or index keeps its rainbow height.
class PaletteEntryCollectionViewItem {
public:
    static constexpr double selectedMargin = 2.5;
    static constexpr double unselectedMargin = 1.0;

    void setPaletteValuesForIndex(qint64 index, double red, double green, double blue);
    void setSelected(bool selected);

    bool isSelected() const { return m_selected; }
    qint64 index() const { return m_index; }
    QString indexLabel() const { return m_indexLabel; }
    double redColor() const { return m_redColor; }
    double greenColor() const { return m_greenColor; }
    double blueColor() const { return m_blueColor; }
    Colour colour() const { return Colour::colorWithRed(m_redColor, m_greenColor, m_blueColor); }

    qint64 rainbowHeight() const { return m_rainbowHeight; }
    void setRainbowHeight(qint64 height) { m_rainbowHeight = height; }

    // The four margins between the cell's edge and its colour box.
    double topConstraint() const { return m_margin; }
    double trailingConstraint() const { return m_margin; }
    double bottomConstraint() const { return m_margin; }
    double leadingConstraint() const { return m_margin; }

    // Draws the cell into rect: the colour box inside the margins, the index over
    // it in black or white (whichever reads better), and a selection frame.
    void draw(QPainter *painter, const QRect &rect, const QPalette &palette, bool hasFocus) const;

private:
    qint64 m_index = 0;
    QString m_indexLabel = QStringLiteral("0");
    double m_redColor = 0.0;
    double m_greenColor = 0.0;
    double m_blueColor = 0.0;
    qint64 m_rainbowHeight = 0;
    bool m_selected = false;
    double m_margin = unselectedMargin;
};
