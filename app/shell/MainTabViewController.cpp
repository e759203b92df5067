#include "shell/MainTabViewController.h"

MainTabViewController::MainTabViewController(QWidget *parent) : QTabWidget(parent) {
    setDocumentMode(true);
}
