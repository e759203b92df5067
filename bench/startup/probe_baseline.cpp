// The baseline: the smallest Qt Widgets program that opens one empty window.
#include "probe_common.h"

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(900, 640);
    new QuitAfterFirstPaint(&window);
    window.show();
    return application.exec();
}
