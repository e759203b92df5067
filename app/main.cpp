#include "AppDelegate.h"
#include "MainWindow.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillfen"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLFEN_VERSION));

    AppDelegate delegate;
    delegate.attach(application);

    MainWindow window;
    window.show();
    delegate.applicationDidFinishLaunching();
    return application.exec();
}
