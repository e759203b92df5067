#include "MainWindow.h"
#include "ColourViewController.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPlainTextEdit>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainWindow>()) {
    ui->setupUi(this);

    connect(ui->quitAction, &QAction::triggered, qApp, &QApplication::closeAllWindows);
    connect(ui->loadPaletteAction, &QAction::triggered, this, &MainWindow::loadPalette);
    connect(ui->copyOutputAction, &QAction::triggered, this, &MainWindow::copyOutput);
    connect(ui->aboutAction, &QAction::triggered, this, &MainWindow::showAbout);

    QAction *const toolActions[] = {ui->showDisplayAction, ui->showColourAction,
                                    ui->showRegistersAction, ui->showCopperAction};
    for (int index = 0; index < 4; ++index) {
        connect(toolActions[index], &QAction::triggered, this, [this, index] {
            ui->mainTabViewController->setCurrentIndex(index);
            ui->mainTabViewController->currentWidget()->setFocus(Qt::ShortcutFocusReason);
        });
    }
    connect(ui->mainTabViewController, &QTabWidget::currentChanged, this,
            &MainWindow::updateActions);
    updateActions();
}

MainWindow::~MainWindow() = default;

MainTabViewController *MainWindow::tabViewController() const {
    return ui->mainTabViewController;
}

QPlainTextEdit *MainWindow::currentOutputView() const {
    QWidget *tool = ui->mainTabViewController->currentWidget();
    if (!tool)
        return nullptr;
    const auto views = tool->findChildren<QPlainTextEdit *>();
    for (QPlainTextEdit *view : views) {
        if (view->isReadOnly())
            return view;
    }
    return nullptr;
}

void MainWindow::updateActions() {
    ui->copyOutputAction->setEnabled(currentOutputView() != nullptr);
}

void MainWindow::copyOutput() {
    QPlainTextEdit *view = currentOutputView();
    if (!view)
        return;
    const QString text = view->toPlainText();
    if (text.isEmpty()) {
        statusBar()->showMessage(tr("There is no output to copy yet."), 4000);
        return;
    }
    QGuiApplication::clipboard()->setText(text);
    const int lines =
        static_cast<int>(text.count(QLatin1Char('\n'))) + (text.endsWith('\n') ? 0 : 1);
    statusBar()->showMessage(tr("Copied %n line(s) of output.", nullptr, lines), 4000);
}

void MainWindow::loadPalette() {
    ui->mainTabViewController->setCurrentWidget(ui->colourViewController);
    ui->colourViewController->loadPalette();
}

void MainWindow::showAbout() {
    QMessageBox::about(
        this, tr("About Quillfen"),
        tr("<h3>Quillfen %1</h3>"
           "<p>A toolbox for writing Amiga software in 68000 assembly: bitplane memory and "
           "modulo, AGA and OCS/ECS colour code, custom-chip register bits and copper lists.</p>"
           "<p>Released under the MIT licence.</p>")
            .arg(QApplication::applicationVersion()));
}
