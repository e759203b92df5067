#include "ColourViewController.h"
#include "ui_ColourViewController.h"

ColourViewController::ColourViewController(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::ColourViewController>()) {
    ui->setupUi(this);
    configureController();
}

ColourViewController::~ColourViewController() = default;

void ColourViewController::configureController() {}
