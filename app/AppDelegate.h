#pragma once
#include <QObject>

class QApplication;

// Answers the application's life-cycle questions.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(QObject *parent = nullptr);

    // Applies the delegate's answers to the application object.
    void attach(QApplication &application);

    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    // Closing the last window quits: nothing is kept between runs.
    bool applicationShouldTerminateAfterLastWindowClosed() const { return true; }
};
