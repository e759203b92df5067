#include "colour/ColourWell.h"
#include "colour/ColourMimeData.h"

#include <QColorDialog>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

ColourWell::ColourWell(QWidget *parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setCursor(Qt::PointingHandCursor);
    setMinimumSize(48, 32);
    setToolTip(tr("Click to pick a colour"));
}

void ColourWell::setColor(const Colour &colour) {
    if (colour == m_colour)
        return;
    m_colour = colour;
    setToolTip(tr("%1 (click to pick a colour)").arg(colour.name()));
    update();
}

void ColourWell::chooseColour() {
    const QColor picked = QColorDialog::getColor(m_colour.toQColor(), this, tr("Colour"));
    if (picked.isValid())
        emit colourPicked(Colour::fromQColor(picked));
}

void ColourWell::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(contentsRect().adjusted(2, 2, -2, -2), m_colour.toQColor());
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.0, Qt::DotLine));
        painter.drawRect(contentsRect().adjusted(1, 1, -2, -2));
    }
}

void ColourWell::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        chooseColour();
        event->accept();
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

void ColourWell::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        chooseColour();
        event->accept();
        return;
    }
    QFrame::keyPressEvent(event);
}

void ColourWell::dragEnterEvent(QDragEnterEvent *event) {
    if (colourFromMimeData(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ColourWell::dropEvent(QDropEvent *event) {
    if (const std::optional<Colour> colour = colourFromMimeData(event->mimeData())) {
        event->acceptProposedAction();
        emit colourPicked(*colour);
        return;
    }
    event->ignore();
}
