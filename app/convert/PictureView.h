#pragma once
#include <QAbstractScrollArea>
#include <QImage>
#include <QList>
#include <QRect>
#include <QStringList>

// A picture at a zoom, each of its pixels a block of screen pixels (nearest neighbour, no
// smoothing) of the display's pixel aspect: at 1, 2 or 4 screen pixels a step with scroll bars
// when it is larger than the view, or fitted into the view (by whole screen pixels when the
// picture is smaller). A picture pixel is pixelAspect() steps wide and tall: 1 x 1 square, 1 x 2
// for a hires picture, whose pixels are twice as tall as wide on the display.
class PictureView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Fit is 0; the others are the factor.
    enum Zoom { Fit = 0, One = 1, Two = 2, Four = 4 };

    explicit PictureView(QWidget *parent = nullptr);

    // The picture one picture pixel an image pixel; a null image shows nothing.
    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }
    void setZoom(int zoom);
    int zoom() const { return m_zoom; }
    // Steps across and down of one picture pixel, each at least 1 (a null size is 1 x 1).
    void setPixelAspect(QSize aspect);
    QSize pixelAspect() const { return m_aspect; }
    // Screen pixels a step takes at the view's size now: the zoom, or what fits.
    double scale() const;
    // Screen pixels a picture pixel takes across and down: scale() times the pixel aspect.
    QSizeF pixelSize() const;
    // Where the picture is drawn in the viewport.
    QRectF pictureRect() const;
    // Rectangles of picture pixels drawn over the picture, each with its label in its top left
    // corner when there is room, the one at index chosen marked; none drawn when empty.
    void setCuts(const QList<QRect> &cuts, const QStringList &labels, int chosen);
    const QList<QRect> &cuts() const { return m_cuts; }
    int chosenCut() const { return m_chosen; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollBars();
    // The picture's size in steps: its pixels times the pixel aspect.
    QSize steps() const;

    QImage m_image;
    int m_zoom = Fit;
    QSize m_aspect{1, 1};
    QList<QRect> m_cuts;
    QStringList m_labels;
    int m_chosen = -1;
};
