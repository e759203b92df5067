#pragma once
#include "colour/Colour.h"

#include <QFrame>

// A swatch showing one colour. Clicking it (or pressing Space while it has the
// focus) opens a colour dialog; a colour dropped on it counts as picked too.
class ColourWell : public QFrame {
    Q_OBJECT
public:
    explicit ColourWell(QWidget *parent = nullptr);

    Colour color() const { return m_colour; }
    // Shows a colour; sends nothing.
    void setColor(const Colour &colour);

signals:
    // The user picked a colour, in the dialog or by dropping one here.
    void colourPicked(const Colour &colour);

public slots:
    void chooseColour();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    Colour m_colour;
};
