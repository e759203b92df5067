#pragma once
#include <QWidget>
#include <memory>

namespace Ui {
class DisplayViewController;
}
class QLineEdit;

// The Display tool: bitplane memory and modulo from width, height and depth.
class DisplayViewController : public QWidget {
    Q_OBJECT
public:
    explicit DisplayViewController(QWidget *parent = nullptr);
    ~DisplayViewController() override;

    // Reads the three inputs and rewrites every result and arithmetic label.
    void calculateDisplay();

    // Control access for the window and its tests.
    Ui::DisplayViewController *controls() const { return ui.get(); }

public slots:
    // The depth pop-up was changed by the user: write its depth, recompute.
    void changeColours(int index);
    // A field was edited: clean it to its character set, then recompute.
    void controlTextDidChange(QLineEdit *field);

private:
    void configureController();

    std::unique_ptr<Ui::DisplayViewController> ui;
};
