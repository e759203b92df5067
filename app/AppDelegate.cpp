#include "AppDelegate.h"

#include <QApplication>

AppDelegate::AppDelegate(QObject *parent) : QObject(parent) {}

void AppDelegate::attach(QApplication &application) {
    application.setQuitOnLastWindowClosed(applicationShouldTerminateAfterLastWindowClosed());
    connect(&application, &QCoreApplication::aboutToQuit, this,
            &AppDelegate::applicationWillTerminate);
}

void AppDelegate::applicationDidFinishLaunching() {}

// Nothing is saved on the way out.
void AppDelegate::applicationWillTerminate() {}
