#include "RegistersViewController.h"
#include "ui_RegistersViewController.h"

RegistersViewController::RegistersViewController(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::RegistersViewController>()) {
    ui->setupUi(this);
    configureController();
}

RegistersViewController::~RegistersViewController() = default;

void RegistersViewController::configureController() {}
