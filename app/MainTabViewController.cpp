#include "MainTabViewController.h"

MainTabViewController::MainTabViewController(QWidget *parent) : QTabWidget(parent) {
    setDocumentMode(true);
}
