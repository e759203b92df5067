// A third reference: a main window with Quillfen's menu bar and four empty
// tabs, one line of text on the first; what any window of this shape costs
// before a tool is in it.
#include "probe_common.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.resize(900, 640);
    for (const char *title : {"&File", "&Edit", "&View", "&Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    auto *tabs = new QTabWidget;
    tabs->setDocumentMode(true);
    for (const char *title : {"Display", "Colour", "Registers", "Copper"})
        tabs->addTab(new QWidget, QString::fromLatin1(title));
    new QLabel(QStringLiteral("Width"), tabs->widget(0));
    window.setCentralWidget(tabs);
    window.statusBar();
    new QuitAfterFirstPaint(&window);
    window.show();
    return application.exec();
}
