// Quillfen's own start-up path (the same objects main.cpp makes), ending once
// the window is painted and the register database has been read.
#include "probe_common.h"
#include "registers/RegisterDatabase.h"
#include "shell/AppDelegate.h"
#include "shell/MainWindow.h"

int main(int argc, char **argv) {
    RegisterDatabase::preload();
    QApplication application(argc, argv);
    AppDelegate delegate;
    delegate.attach(application);
    MainWindow window(nullptr, MainWindow::ToolLoading::AfterFirstPaint);
    delegate.attach(window);
    new QuitAfterFirstPaint(&window, &RegisterDatabase::waitForPreload);
    window.show();
    delegate.applicationDidFinishLaunching();
    return application.exec();
}
