#include "gradient/GradientPreview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMarkWidth = 10; // the key marks' strip at the left edge
constexpr int kGap = 4;        // between the two columns

} // namespace

GradientPreview::GradientPreview(QWidget *parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientPreview::setLines(const QList<QColor> &exact, const QList<QColor> &shown,
                               const QList<int> &keyLines, int selectedKey) {
    m_exact = exact;
    m_shown = shown;
    m_keyLines = keyLines;
    m_selectedKey = selectedKey;
    update();
}

int GradientPreview::lineAt(int y) const {
    const int lines = static_cast<int>(std::max(m_exact.size(), qsizetype(1)));
    return std::clamp(static_cast<int>(std::floor(double(y) * lines / std::max(height(), 1))), 0,
                      lines - 1);
}

int GradientPreview::yOfLine(int line) const {
    const int lines = static_cast<int>(std::max(m_exact.size(), qsizetype(1)));
    return static_cast<int>((line + 0.5) * height() / lines);
}

void GradientPreview::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int lines = static_cast<int>(m_exact.size());
    if (lines == 0)
        return;
    const int columnWidth = std::max((width() - kMarkWidth - kGap) / 2, 1);
    const int left = kMarkWidth;
    const int right = kMarkWidth + columnWidth + kGap;
    for (int i = 0; i < lines; ++i) {
        const int top = i * height() / lines;
        const int bottom = (i + 1) * height() / lines;
        if (bottom <= top)
            continue;
        painter.fillRect(left, top, columnWidth, bottom - top, m_exact[i]);
        if (i < m_shown.size())
            painter.fillRect(right, top, columnWidth, bottom - top, m_shown[i]);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < m_keyLines.size(); ++k) {
        const int y = yOfLine(m_keyLines[k]);
        const QPolygon mark({QPoint(0, y - 5), QPoint(kMarkWidth - 1, y), QPoint(0, y + 5)});
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setBrush(k == m_selectedKey ? palette().highlight() : palette().base());
        painter.drawPolygon(mark);
    }
}

void GradientPreview::mousePressEvent(QMouseEvent *event) {
    // The nearest mark within a few pixels, anywhere across the widget.
    const int y = event->position().toPoint().y();
    int best = -1;
    int bestDistance = 7;
    for (int k = 0; k < m_keyLines.size(); ++k) {
        const int distance = std::abs(yOfLine(m_keyLines[k]) - y);
        if (distance < bestDistance) {
            best = k;
            bestDistance = distance;
        }
    }
    m_draggedKey = best;
    if (best >= 0)
        emit keyPressed(best);
}

void GradientPreview::mouseMoveEvent(QMouseEvent *event) {
    if (m_draggedKey >= 0 && (event->buttons() & Qt::LeftButton))
        emit keyDragged(m_draggedKey, lineAt(event->position().toPoint().y()));
}

void GradientPreview::mouseReleaseEvent(QMouseEvent *) {
    m_draggedKey = -1;
}
