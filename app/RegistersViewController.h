#pragma once
#include <QWidget>
#include <memory>

namespace Ui {
class RegistersViewController;
}

// The Registers tool. Not built yet: the tab says so.
class RegistersViewController : public QWidget {
    Q_OBJECT
public:
    explicit RegistersViewController(QWidget *parent = nullptr);
    ~RegistersViewController() override;

private:
    void configureController();

    std::unique_ptr<Ui::RegistersViewController> ui;
};
