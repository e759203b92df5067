#pragma once
#include <QWidget>
#include <memory>

namespace Ui {
class CopperViewController;
}

// The Copper tool. Not built yet: the tab says so.
class CopperViewController : public QWidget {
    Q_OBJECT
public:
    explicit CopperViewController(QWidget *parent = nullptr);
    ~CopperViewController() override;

private:
    void configureController();

    std::unique_ptr<Ui::CopperViewController> ui;
};
