#pragma once
#include <QWidget>
#include <memory>

namespace Ui {
class ColourViewController;
}

// The Colour tool. Not built yet: the tab says so.
class ColourViewController : public QWidget {
    Q_OBJECT
public:
    explicit ColourViewController(QWidget *parent = nullptr);
    ~ColourViewController() override;

private:
    void configureController();

    std::unique_ptr<Ui::ColourViewController> ui;
};
