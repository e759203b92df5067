#include "CopperViewController.h"
#include "ui_CopperViewController.h"

CopperViewController::CopperViewController(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::CopperViewController>()) {
    ui->setupUi(this);
    configureController();
}

CopperViewController::~CopperViewController() = default;

void CopperViewController::configureController() {}
