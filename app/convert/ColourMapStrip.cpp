#include "convert/ColourMapStrip.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

ColourMapStrip::ColourMapStrip(QWidget *parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ColourMapStrip::setColours(const QList<QColor> &colours) {
    const int before = rows() * rowHeight();
    m_colours = colours;
    if (rows() * rowHeight() != before)
        updateGeometry();
    update();
}

int ColourMapStrip::columns() const {
    return std::clamp(static_cast<int>(m_colours.size()), 1, kColumns);
}

int ColourMapStrip::rows() const {
    return std::max(1, (static_cast<int>(m_colours.size()) + kColumns - 1) / kColumns);
}

int ColourMapStrip::rowHeight() const {
    // One row of large swatches; several rows of flatter ones.
    return m_colours.size() <= kColumns ? 16 : 10;
}

QSize ColourMapStrip::sizeHint() const {
    return {kColumns * 10, rows() * rowHeight()};
}

QSize ColourMapStrip::minimumSizeHint() const {
    return {kColumns * 4, rows() * rowHeight()};
}

QRect ColourMapStrip::swatchRect(int index) const {
    const int column = index % columns();
    const int row = index / columns();
    const int left = width() * column / columns();
    const int right = width() * (column + 1) / columns();
    return {left, row * rowHeight(), right - left, rowHeight()};
}

int ColourMapStrip::colourAt(const QPoint &point) const {
    for (int i = 0; i < m_colours.size(); ++i)
        if (swatchRect(i).contains(point))
            return i;
    return -1;
}

bool ColourMapStrip::event(QEvent *event) {
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int index = colourAt(help->pos());
        if (index >= 0) {
            const QColor colour = m_colours[index];
            QToolTip::showText(help->globalPos(), tr("Colour %1: %2").arg(index).arg(colour.name()),
                               this, swatchRect(index));
        } else {
            QToolTip::showText(help->globalPos(), toolTip(), this);
        }
        return true;
    }
    return QWidget::event(event);
}

void ColourMapStrip::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    if (m_colours.isEmpty()) {
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        return;
    }
    for (int i = 0; i < m_colours.size(); ++i)
        painter.fillRect(swatchRect(i), m_colours[i]);
}
