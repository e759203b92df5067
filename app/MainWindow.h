#pragma once
#include <QMainWindow>
#include <memory>

namespace Ui {
class MainWindow;
}
class MainTabViewController;

// The one window: its content is the tab container with the four tools.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    MainTabViewController *tabViewController() const;

private:
    std::unique_ptr<Ui::MainWindow> ui;
};
