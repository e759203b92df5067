#include "AppDelegate.h"
#include "MainWindow.h"
#include "RegisterDatabase.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char **argv) {
    // The register database is read beside the rest of start-up.
    RegisterDatabase::preload();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillfen"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLFEN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quillfen"));

    AppDelegate delegate;
    delegate.attach(application);

    // The window is on the screen before the tools behind the first tab are
    // built, and before its icon is decoded: the desktop shows the launcher's
    // icon until then.
    MainWindow window(nullptr, MainWindow::ToolLoading::AfterFirstPaint);
    QObject::connect(&window, &MainWindow::toolsBuilt, &application, [] {
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/quillfen.png")));
    });
    window.show();
    delegate.applicationDidFinishLaunching();
    return application.exec();
}
