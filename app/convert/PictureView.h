#pragma once
#include <QAbstractScrollArea>
#include <QImage>

// A picture at a zoom, each of its pixels a square of screen pixels (nearest neighbour, no
// smoothing): at 1, 2 or 4 screen pixels a picture pixel with scroll bars when it is larger than
// the view, or fitted into the view (by whole screen pixels when the picture is smaller).
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
    // Screen pixels a picture pixel takes at the view's size now.
    double scale() const;
    // Where the picture is drawn in the viewport.
    QRectF pictureRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollBars();

    QImage m_image;
    int m_zoom = Fit;
};
