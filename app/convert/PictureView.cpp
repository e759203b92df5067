#include "convert/PictureView.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

PictureView::PictureView(QWidget *parent) : QAbstractScrollArea(parent) {
    setBackgroundRole(QPalette::Dark);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    updateScrollBars();
}

void PictureView::setImage(const QImage &image) {
    m_image = image;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

void PictureView::setZoom(int zoom) {
    if (zoom != One && zoom != Two && zoom != Four)
        zoom = Fit;
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    updateScrollBars();
    viewport()->update();
}

void PictureView::setPixelAspect(QSize aspect) {
    aspect = QSize(std::max(1, aspect.width()), std::max(1, aspect.height()));
    if (aspect == m_aspect)
        return;
    m_aspect = aspect;
    updateScrollBars();
    viewport()->update();
}

QSize PictureView::steps() const {
    return {m_image.width() * m_aspect.width(), m_image.height() * m_aspect.height()};
}

double PictureView::scale() const {
    if (m_image.isNull())
        return 1.0;
    if (m_zoom != Fit)
        return m_zoom;
    const QSize room = viewport()->size();
    const QSize size = steps();
    const double fit = std::min(static_cast<double>(room.width()) / size.width(),
                                static_cast<double>(room.height()) / size.height());
    // A small picture grows by whole pixels of the screen (device pixels, at 150% or 200% too),
    // so that every picture pixel is as large as the next and a hires pixel exactly twice as
    // tall as wide; a large one shrinks to fit.
    const double ratio = devicePixelRatioF();
    return fit >= 1.0 ? std::max(1.0, std::floor(fit * ratio) / ratio) : fit;
}

QSizeF PictureView::pixelSize() const {
    const double s = scale();
    return {m_aspect.width() * s, m_aspect.height() * s};
}

QRectF PictureView::pictureRect() const {
    if (m_image.isNull())
        return {};
    const double s = scale();
    const QSizeF size(steps().width() * s, steps().height() * s);
    const QSize room = viewport()->size();
    // Centred where the view is larger; scrolled where it is smaller.
    const double x = size.width() <= room.width() ? std::floor((room.width() - size.width()) / 2)
                                                  : -horizontalScrollBar()->value();
    const double y = size.height() <= room.height()
                         ? std::floor((room.height() - size.height()) / 2)
                         : -verticalScrollBar()->value();
    return {QPointF(x, y), size};
}

QSize PictureView::sizeHint() const {
    return {320, 256};
}

QSize PictureView::minimumSizeHint() const {
    return {160, 120};
}

void PictureView::paintEvent(QPaintEvent *) {
    if (m_image.isNull())
        return;
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRectF shown = pictureRect();
    painter.drawImage(shown, m_image);
    if (m_cuts.isEmpty())
        return;
    // The cuts: a thin line round each, on a dark edge so that it shows on any colour; the chosen
    // one thicker, in the highlight colour; labels where they fit.
    const QSizeF pixel = pixelSize();
    const QFontMetrics metrics(painter.font());
    const QColor line(255, 255, 255, 200), edge(0, 0, 0, 160);
    for (int i = 0; i < m_cuts.size(); ++i) {
        const QRect &cut = m_cuts[i];
        const QRectF area(shown.left() + cut.x() * pixel.width(),
                          shown.top() + cut.y() * pixel.height(), cut.width() * pixel.width(),
                          cut.height() * pixel.height());
        const bool chosen = i == m_chosen;
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(edge, chosen ? 4 : 3));
        painter.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
        painter.setPen(QPen(chosen ? palette().color(QPalette::Highlight) : line, chosen ? 2 : 1));
        painter.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
        const QString label = i < m_labels.size() ? m_labels[i] : QString();
        const QRectF box(area.topLeft() + QPointF(2, 2),
                         QSizeF(metrics.horizontalAdvance(label) + 4, metrics.height()));
        if (label.isEmpty() || box.width() > area.width() - 2 || box.height() > area.height() - 2)
            continue;
        painter.fillRect(box, chosen ? palette().color(QPalette::Highlight) : edge);
        painter.setPen(chosen ? palette().color(QPalette::HighlightedText) : Qt::white);
        painter.drawText(box, Qt::AlignCenter, label);
    }
}

void PictureView::setCuts(const QList<QRect> &cuts, const QStringList &labels, int chosen) {
    if (cuts == m_cuts && labels == m_labels && chosen == m_chosen)
        return;
    m_cuts = cuts;
    m_labels = labels;
    m_chosen = chosen;
    viewport()->update();
}

void PictureView::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PictureView::scrollContentsBy(int, int) {
    viewport()->update();
}

void PictureView::updateScrollBars() {
    const QSize room = viewport()->size();
    const bool zoomed = m_zoom != Fit && !m_image.isNull();
    const int width = zoomed ? steps().width() * m_zoom : 0;
    const int height = zoomed ? steps().height() * m_zoom : 0;
    horizontalScrollBar()->setRange(0, std::max(0, width - room.width()));
    horizontalScrollBar()->setPageStep(room.width());
    horizontalScrollBar()->setSingleStep(16);
    verticalScrollBar()->setRange(0, std::max(0, height - room.height()));
    verticalScrollBar()->setPageStep(room.height());
    verticalScrollBar()->setSingleStep(16);
}
