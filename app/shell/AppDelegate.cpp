#include "shell/AppDelegate.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QIcon>

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
    connect(&window, &MainWindow::firstPainted, this,
            [] { QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/quillfen.png"))); });
}

void AppDelegate::applicationDidFinishLaunching() {}

// Nothing is saved on the way out.
void AppDelegate::applicationWillTerminate() {}
