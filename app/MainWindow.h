#pragma once
#include <QMainWindow>
#include <memory>

namespace Ui {
class MainWindow;
}
class MainTabViewController;
class QPlainTextEdit;

// The one window: its content is the tab container with the four tools, and
// a menu bar that reaches every tool from the keyboard.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    MainTabViewController *tabViewController() const;

    // The code view of the tool on show, or null when that tool prints no code.
    QPlainTextEdit *currentOutputView() const;

public slots:
    void loadPalette();
    void copyOutput();
    void showAbout();

private:
    void updateActions();

    std::unique_ptr<Ui::MainWindow> ui;
};
