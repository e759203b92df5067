#include "registers/RegisterDatabase.h"
#include "shell/AppDelegate.h"
#include "shell/MainWindow.h"

#include <QApplication>

int main(int argc, char **argv) {
    // The register database is read beside the rest of start-up.
    RegisterDatabase::preload();
    QApplication application(argc, argv);
    AppDelegate delegate;
    delegate.attach(application);

    // The window is on the screen before the tools behind the first tab are built.
    MainWindow window(nullptr, MainWindow::ToolLoading::AfterFirstPaint);
    delegate.attach(window);
    window.show();
    delegate.applicationDidFinishLaunching();
    return application.exec();
}
