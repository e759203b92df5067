#pragma once
#include "UserInput.h"
// Drives a Copper tab through its widgets the way a user does.
#include "copper/CopperSequenceModel.h"
#include "copper/CopperViewController.h"
#include "ui_CopperViewController.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class CopperToolDriver : public ::testing::Test {
protected:
    void SetUp() override {
        controller = std::make_unique<CopperViewController>();
        controller->resize(900, 600);
        controller->show();
        ui = controller->controls();
        model = controller->sequenceArray();
    }

    // Replaces a field's text: select all, delete, type.
    static void type(QLineEdit *field, const QString &text) { userinput::type(field, text); }
    static void click(QAbstractButton *button) { userinput::click(button); }
    // A field locked by its auto box is left alone.
    void addMove(const QString &reg, const QString &high, const QString &low) {
        type(ui->moveRegisterTextField, reg);
        if (ui->moveVerticalValueTextField->isEnabled())
            type(ui->moveVerticalValueTextField, high);
        if (ui->moveHorizontalValueTextField->isEnabled())
            type(ui->moveHorizontalValueTextField, low);
        click(ui->addMoveButton);
    }
    void addWait(const QString &v, const QString &h, const QString &vm, const QString &hm) {
        type(ui->waitVerticalValueTextField, v);
        type(ui->waitHorizontalValueTextField, h);
        type(ui->waitVerticleMaskTextField, vm);
        type(ui->waitHorizontalMaskTextField, hm);
        click(ui->addWaitButton);
    }
    void setLines(const QString &n, const QString &v, const QString &h, const QString &vm,
                  const QString &hm) {
        type(ui->iterationsTextField, n);
        type(ui->initialVerticalWaitTextField, v);
        type(ui->initialHorizontalWaitTextField, h);
        type(ui->initialVerticleMaskTextField, vm);
        type(ui->initialHorizontalMaskTextField, hm);
    }
    QString generate() {
        click(ui->outputCodeButton);
        return ui->sequenceOutputTextView->toPlainText();
    }

    std::unique_ptr<CopperViewController> controller;
    Ui::CopperViewController *ui = nullptr;
    CopperSequenceModel *model = nullptr;
};
