#pragma once
#include <QColor>
#include <QList>
#include <QWidget>

// A gradient line by line as horizontal bands, in two columns side by side: the exact colours on
// the left and what the chipset shows on the right. Marks at the left edge stand for the key
// colours; dragging one moves its key.
class GradientPreview : public QWidget {
    Q_OBJECT
public:
    explicit GradientPreview(QWidget *parent = nullptr);

    // One colour a line in each column, and the lines of the keys (from the first line).
    void setLines(const QList<QColor> &exact, const QList<QColor> &shown,
                  const QList<int> &keyLines, int selectedKey);

    const QList<QColor> &exactColours() const { return m_exact; }
    const QList<QColor> &shownColours() const { return m_shown; }
    // The line under a point of the widget (clamped to the lines).
    int lineAt(int y) const;
    // The y of the middle of a line's band.
    int yOfLine(int line) const;

signals:
    void keyPressed(int key);
    // A dragged key's mark has reached line.
    void keyDragged(int key, int line);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QList<QColor> m_exact;
    QList<QColor> m_shown;
    QList<int> m_keyLines;
    int m_selectedKey = -1;
    int m_draggedKey = -1;
};
