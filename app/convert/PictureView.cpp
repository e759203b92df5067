#include "convert/PictureView.h"

#include <QPaintEvent>
#include <QPainter>
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
    painter.drawImage(pictureRect(), m_image);
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
