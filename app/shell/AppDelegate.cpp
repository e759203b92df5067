#include "shell/AppDelegate.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

AppDelegate::AppDelegate(QObject *parent) : QObject(parent) {}

void AppDelegate::attach(QApplication &application) {
    QApplication::setApplicationName(QStringLiteral("Quillfen"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLFEN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quillfen"));
    application.setQuitOnLastWindowClosed(applicationShouldTerminateAfterLastWindowClosed());
    connect(&application, &QCoreApplication::aboutToQuit, this,
            &AppDelegate::applicationWillTerminate);
}

void AppDelegate::attach(MainWindow &window) {
    // The icon is read once the first picture of the window is complete (it is not in it).
    connect(&window, &MainWindow::firstPainted, this, [this] {
        QTimer::singleShot(0, this, [] {
            QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/quillfen.png")));
        });
    });
}

void AppDelegate::applicationDidFinishLaunching() {}

// Nothing is saved on the way out.
void AppDelegate::applicationWillTerminate() {}
