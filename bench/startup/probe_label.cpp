// A second reference: the empty window with one line of text, which pays for
// loading the font database as every program that shows text does.
#include "probe_common.h"

#include <QLabel>
#include <QVBoxLayout>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(900, 640);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Quillfen")));
    new QuitAfterFirstPaint(&window);
    window.show();
    return application.exec();
}
