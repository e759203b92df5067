#include "colour/PaletteEntryCollectionViewItem.h"

#include <QPainter>
#include <QPalette>
#include <QRect>

void PaletteEntryCollectionViewItem::setPaletteValuesForIndex(qint64 index, double red,
                                                              double green, double blue) {
    m_redColor = red;
    m_greenColor = green;
    m_blueColor = blue;
    if (index != m_index || m_indexLabel.isEmpty()) {
        m_index = index;
        m_indexLabel = QString::number(index);
    }
}

void PaletteEntryCollectionViewItem::setSelected(bool selected) {
    m_selected = selected;
    m_margin = selected ? selectedMargin : unselectedMargin;
}

void PaletteEntryCollectionViewItem::draw(QPainter *painter, const QRect &rect,
                                          const QPalette &palette, bool hasFocus) const {
    painter->save();
    const QRectF cell(rect);
    if (m_selected) {
        painter->fillRect(cell, palette.color(QPalette::Highlight));
    }
    const QRectF box = cell.adjusted(m_margin, m_margin, -m_margin, -m_margin);
    const QColor fill = colour().toQColor();
    painter->fillRect(box, fill);
    if (m_selected) {
        // A light inner line keeps the frame visible on colours near the highlight.
        painter->setPen(QPen(palette.color(QPalette::HighlightedText), 1.0));
        painter->drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    } else if (hasFocus) {
        painter->setPen(QPen(palette.color(QPalette::Highlight), 1.0, Qt::DotLine));
        painter->drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    } else {
        // A thin edge, so that a cell shows on a background of its own colour (white on white).
        painter->setPen(QPen(palette.color(QPalette::Mid), 1.0));
        painter->drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    // Rec. 601 luma decides between black and white text.
    const int luma = (fill.red() * 299 + fill.green() * 587 + fill.blue() * 114) / 1000;
    painter->setPen(luma >= 128 ? Qt::black : Qt::white);
    QFont font = painter->font();
    font.setBold(m_selected);
    painter->setFont(font);
    painter->drawText(box, Qt::AlignCenter, m_indexLabel);
    painter->restore();
}
