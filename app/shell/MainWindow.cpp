#include "shell/MainWindow.h"
#include "colour/ColourViewController.h"
#include "colour/ColourWell.h"
#include "colour/PaletteDataSource.h"
#include "common/CodeOutputTool.h"
#include "common/UndoableTool.h"
#include "convert/ConvertViewController.h"
#include "copper/CopperViewController.h"
#include "gradient/GradientViewController.h"
#include "registers/RegistersViewController.h"
#include "ui_MainWindow.h"
#include "workbench/CopperWorkbenchViewController.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTextBrowser>
#include <QUndoGroup>
#include <QUndoStack>
#include <QUrl>
#include <iterator>

MainWindow::MainWindow(QWidget *parent, ToolLoading loading)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainWindow>()), loading(loading) {
    ui->setupUi(this);

    connect(ui->quitAction, &QAction::triggered, qApp, &QApplication::closeAllWindows);
    connect(ui->loadPaletteAction, &QAction::triggered, this, &MainWindow::loadPalette);
    connect(ui->openPictureAction, &QAction::triggered, this, &MainWindow::openPicture);
    connect(ui->copyOutputAction, &QAction::triggered, this, &MainWindow::copyOutput);
    connect(ui->aboutAction, &QAction::triggered, this, &MainWindow::showAbout);
    connect(ui->userGuideAction, &QAction::triggered, this, &MainWindow::showUserGuide);
    setAcceptDrops(true);

    // Edit > Undo and Redo work on the changes of the tool on show.
    m_undoGroup = new QUndoGroup(this);
    QAction *undo = m_undoGroup->createUndoAction(this, tr("&Undo"));
    undo->setObjectName(QStringLiteral("undoAction"));
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = m_undoGroup->createRedoAction(this, tr("&Redo"));
    redo->setObjectName(QStringLiteral("redoAction"));
    redo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    QMenu *edit = ui->editMenu;
    QAction *first = edit->actions().isEmpty() ? nullptr : edit->actions().first();
    edit->insertAction(first, undo);
    edit->insertAction(first, redo);
    edit->insertSeparator(first);

    const std::array<QAction *, kTools> toolActions = this->toolActions();
    // The View menu marks the tool on show.
    auto *shownTool = new QActionGroup(this);
    for (QAction *action : toolActions) {
        action->setCheckable(true);
        shownTool->addAction(action);
    }
    for (int index = 0; index < kTools; ++index) {
        connect(toolActions[static_cast<std::size_t>(index)], &QAction::triggered, this,
                [this, index] {
                    buildTools();
                    ui->mainTabViewController->setCurrentIndex(index);
                    ui->mainTabViewController->currentWidget()->setFocus(Qt::ShortcutFocusReason);
                });
    }
    connect(ui->mainTabViewController, &QTabWidget::currentChanged, this, [this](int index) {
        // A tab chosen before its tool is built shows the tool a moment later.
        if (index > 0 && !toolsAreBuilt())
            queueBuildTools();
        updateActions();
    });
    if (loading == ToolLoading::WithTheWindow)
        buildTools();
    updateActions();
    fitMinimumSizeToTools();
}

MainWindow::~MainWindow() = default;

MainTabViewController *MainWindow::tabViewController() const {
    return ui->mainTabViewController;
}

ColourViewController *MainWindow::colourViewController() {
    buildTools();
    return colour;
}

RegistersViewController *MainWindow::registersViewController() {
    buildTools();
    return registers;
}

CopperViewController *MainWindow::copperViewController() {
    buildTools();
    return copper;
}

CopperWorkbenchViewController *MainWindow::copperWorkbenchViewController() {
    buildTools();
    return workbench;
}

GradientViewController *MainWindow::gradientViewController() {
    buildTools();
    return gradient;
}

ConvertViewController *MainWindow::convertViewController() {
    buildTools();
    return convert;
}

bool MainWindow::event(QEvent *event) {
    // The whole window is painted in one pass, this first, so what is queued
    // here runs once the first picture of the window is complete.
    if (event->type() == QEvent::Paint && loading == ToolLoading::AfterFirstPaint &&
        !toolsAreBuilt())
        queueBuildTools();
    return QMainWindow::event(event);
}

void MainWindow::queueBuildTools() {
    if (buildQueued)
        return;
    buildQueued = true;
    QMetaObject::invokeMethod(this, &MainWindow::buildTools, Qt::QueuedConnection);
}

void MainWindow::buildTools() {
    if (toolsAreBuilt())
        return;
    colour = new ColourViewController;
    colour->setObjectName(QStringLiteral("colourViewController"));
    registers = new RegistersViewController;
    registers->setObjectName(QStringLiteral("registersViewController"));
    copper = new CopperViewController;
    copper->setObjectName(QStringLiteral("copperViewController"));
    workbench = new CopperWorkbenchViewController;
    workbench->setObjectName(QStringLiteral("copperWorkbenchViewController"));
    gradient = new GradientViewController;
    gradient->setObjectName(QStringLiteral("gradientViewController"));
    // The Gradient tool takes colours from the Colour tool's palette and editor.
    ColourViewController *colourTool = colour;
    gradient->setColourSource(
        {[colourTool] { return colourTool->paletteDataSource()->paletteEntries(); },
         [colourTool] {
             const auto *well = colourTool->findChild<ColourWell *>(QStringLiteral("colourWell"));
             return well ? well->color() : Colour();
         }});
    convert = new ConvertViewController;
    convert->setObjectName(QStringLiteral("convertViewController"));
    // The Convert tool hands a picture's colour map to the Colour tool, as a load that can be
    // undone there, and shows it.
    convert->setPaletteSink([this](const QList<Colour> &colours, const QString &name) {
        ui->mainTabViewController->setCurrentWidget(colour);
        colour->usePaletteColours(colours, name);
    });

    // Each tool takes the place of its tab's stand-in, under the same title.
    MainTabViewController *tabs = ui->mainTabViewController;
    const int current = tabs->currentIndex();
    {
        const QSignalBlocker quiet(tabs);
        QWidget *const tools[] = {colour, registers, copper, workbench, gradient, convert};
        for (int i = 0; i < static_cast<int>(std::size(tools)); ++i) {
            const int index = i + 1;
            QWidget *standIn = tabs->widget(index);
            const QString title = tabs->tabText(index);
            tabs->removeTab(index);
            tabs->insertTab(index, tools[i], title);
            delete standIn;
        }
        tabs->setCurrentIndex(current);
    }
    updateActions();
    fitMinimumSizeToTools();
    emit toolsBuilt();
}

QPlainTextEdit *MainWindow::currentOutputView() const {
    // Each tool that prints code says which view holds it.
    const auto *tool =
        dynamic_cast<const CodeOutputTool *>(ui->mainTabViewController->currentWidget());
    return tool ? tool->codeOutputView() : nullptr;
}

std::array<QAction *, MainWindow::kTools> MainWindow::toolActions() const {
    return {ui->showDisplayAction, ui->showColourAction,    ui->showRegistersAction,
            ui->showCopperAction,  ui->showWorkbenchAction, ui->showGradientAction,
            ui->showConvertAction};
}

void MainWindow::fitMinimumSizeToTools() {
    QSize need(0, 0);
    MainTabViewController *tabs = ui->mainTabViewController;
    for (int index = 0; index < tabs->count(); ++index)
        if (const auto *contents =
                tabs->widget(index)->findChild<QWidget *>(QStringLiteral("toolContents")))
            need = need.expandedTo(contents->minimumSizeHint());
    // The window around a tool: frame of the tab page, tab bar, menu bar and status bar.
    const QSize chrome(2 * tabs->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 24,
                       tabs->tabBar()->sizeHint().height() + menuBar()->sizeHint().height() +
                           statusBar()->sizeHint().height() + 24);
    QSize wanted = need + chrome;
    if (const QScreen *shown = screen())
        wanted = wanted.boundedTo(shown->availableGeometry().size());
    setMinimumSize(wanted);
}

void MainWindow::updateActions() {
    ui->copyOutputAction->setEnabled(currentOutputView() != nullptr);
    const auto *undoable =
        dynamic_cast<const UndoableTool *>(ui->mainTabViewController->currentWidget());
    QUndoStack *stack = undoable ? undoable->undoStack() : nullptr;
    if (stack && !m_undoGroup->stacks().contains(stack))
        m_undoGroup->addStack(stack);
    m_undoGroup->setActiveStack(stack);
    const std::array<QAction *, kTools> actions = toolActions();
    const int index = ui->mainTabViewController->currentIndex();
    if (index >= 0 && index < kTools)
        actions[static_cast<std::size_t>(index)]->setChecked(true);
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
    statusBar()->showMessage(lines == 1 ? tr("Copied 1 line of output.")
                                        : tr("Copied %1 lines of output.").arg(lines),
                             4000);
}

void MainWindow::loadPalette() {
    ColourViewController *tool = colourViewController();
    ui->mainTabViewController->setCurrentWidget(tool);
    tool->loadPalette();
}

void MainWindow::openPicture() {
    ConvertViewController *tool = convertViewController();
    ui->mainTabViewController->setCurrentWidget(tool);
    tool->openPicture();
}

QString MainWindow::userGuidePath() {
    const QString program = QCoreApplication::applicationDirPath();
    const QStringList places = {
        program + QStringLiteral("/../share/doc/quillfen/guide.md"),
        QStringLiteral(QUILLFEN_SOURCE_DIR "/docs/guide.md"),
    };
    for (const QString &place : places)
        if (QFileInfo(place).isFile())
            return QFileInfo(place).canonicalFilePath();
    return {};
}

void MainWindow::showUserGuide() {
    const QString path = userGuidePath();
    if (path.isEmpty()) {
        statusBar()->showMessage(
            tr("The user guide is not installed (share/doc/quillfen/guide.md)."), 6000);
        return;
    }
    if (!guide) {
        auto *browser = new QTextBrowser;
        browser->setObjectName(QStringLiteral("userGuideBrowser"));
        browser->setAttribute(Qt::WA_DeleteOnClose);
        browser->setWindowTitle(tr("Quillfen User Guide"));
        browser->setOpenExternalLinks(true);
        browser->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
        browser->resize(900, 700);
        connect(browser, &QObject::destroyed, this, [this] { guide = nullptr; });
        guide = browser;
    }
    guide->show();
    guide->raise();
    guide->activateWindow();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // On the Convert tab a picture is for converting; anywhere else its palette is for the
    // Colour tool.
    if (convert && ui->mainTabViewController->currentWidget() == convert) {
        convert->startReading(urls.first().toLocalFile());
        return;
    }
    ColourViewController *tool = colourViewController();
    ui->mainTabViewController->setCurrentWidget(tool);
    tool->startLoadingPalette(urls.first().toLocalFile());
}

void MainWindow::showAbout() {
    QMessageBox::about(
        this, tr("About Quillfen"),
        tr("<h3>Quillfen %1</h3>"
           "<p>A toolbox for writing Amiga software in 68000 assembly: bitplane memory and "
           "modulo, AGA and OCS/ECS colour code, custom-chip register bits, copper lists, "
           "gradients and fades, and pictures made into bitplanes, palettes and sprites.</p>"
           "<p>Released under the MIT licence.</p>")
            .arg(QApplication::applicationVersion()));
}
