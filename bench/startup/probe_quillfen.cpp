// Quillfen's own start-up path (the same objects main.cpp makes), ending once
// the window is painted. The register database is read after that, in the
// background, as main.cpp does; the Display tool on show does not need it.
#include "probe_common.h"
#include "registers/RegisterDatabase.h"
#include "shell/AppDelegate.h"
#include "shell/MainWindow.h"

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    AppDelegate delegate;
    delegate.attach(application);
    MainWindow window(nullptr, MainWindow::ToolLoading::WhenShown);
    delegate.attach(window);
    QObject::connect(&window, &MainWindow::firstPainted, &RegisterDatabase::preload);
    new QuitAfterFirstPaint(&window);
    window.show();
    delegate.applicationDidFinishLaunching();
    return application.exec();
}
