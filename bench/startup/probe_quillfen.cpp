// Quillfen's own start-up path (the same objects main.cpp makes), ending after the first paint.
#include "AppDelegate.h"
#include "MainWindow.h"
#include "RegisterDatabase.h"
#include "probe_common.h"

#include <QIcon>

int main(int argc, char **argv) {
    // The register database is read beside the rest of start-up.
    RegisterDatabase::preload();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillfen"));
    QApplication::setDesktopFileName(QStringLiteral("quillfen"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/quillfen.png")));
    AppDelegate delegate;
    delegate.attach(application);
    MainWindow window;
    new QuitAfterFirstPaint(&window);
    window.show();
    delegate.applicationDidFinishLaunching();
    return application.exec();
}
