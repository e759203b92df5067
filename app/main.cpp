#include "AppDelegate.h"
#include "MainWindow.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillfen"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLFEN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quillfen"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/quillfen.png")));

    AppDelegate delegate;
    delegate.attach(application);

    MainWindow window;
    window.show();
    delegate.applicationDidFinishLaunching();
    return application.exec();
}
