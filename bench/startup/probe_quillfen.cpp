// Quillfen's own start-up path (the same objects main.cpp makes), ending once
// the window is painted and the register database has been read.
#include "AppDelegate.h"
#include "MainWindow.h"
#include "RegisterDatabase.h"
#include "probe_common.h"

#include <QIcon>

int main(int argc, char **argv) {
    RegisterDatabase::preload();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillfen"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLFEN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quillfen"));
    AppDelegate delegate;
    delegate.attach(application);
    MainWindow window(nullptr, MainWindow::ToolLoading::AfterFirstPaint);
    QObject::connect(&window, &MainWindow::toolsBuilt, &application, [] {
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/quillfen.png")));
    });
    new QuitAfterFirstPaint(&window, &RegisterDatabase::waitForPreload);
    window.show();
    delegate.applicationDidFinishLaunching();
    return application.exec();
}
