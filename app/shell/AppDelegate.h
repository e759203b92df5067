#pragma once
#include <QObject>

class MainWindow;
class QApplication;

// Answers the application's life-cycle questions.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(QObject *parent = nullptr);

    // Applies the delegate's answers to the application object, and gives it
    // the program's name, version and desktop entry.
    void attach(QApplication &application);
    // The program's window: the application's icon is decoded once the
    // window has been painted for the first time, so that decoding it
    // does not hold the window back. The desktop shows the launcher's icon
    // until then.
    void attach(MainWindow &window);

    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    // Closing the last window quits: nothing is kept between runs.
    bool applicationShouldTerminateAfterLastWindowClosed() const { return true; }
};
