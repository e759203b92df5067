#include "shell/MainWindow.h"
#include "colour/ColourViewController.h"
#include "colour/ColourWell.h"
#include "colour/PaletteDataSource.h"
#include "colour/PaletteFile.h"
#include "common/CodeOutputTool.h"
#include "common/UndoableTool.h"
#include "convert/ConvertViewController.h"
#include "copper/CopperViewController.h"
#include "gradient/GradientViewController.h"
#include "registers/RegistersViewController.h"
#include "ui_MainWindow.h"
#include "workbench/CopperWorkbenchViewController.h"

#include <picture/picture.h>

#include <QAbstractScrollArea>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTextBrowser>
#include <QTimer>
#include <QUndoGroup>
#include <QUndoStack>
#include <QUrl>
#include <algorithm>
#include <iterator>

namespace {

// A layout squeezes a combo box down to its arrow ("OCS/E"): in a tool every one shows its
// longest item whole. Its size is known once it has been shown.
// Gives whether any had to grow.
bool showComboItemsWhole(QWidget *tool) {
    bool grown = false;
    for (QComboBox *combo : tool->findChildren<QComboBox *>()) {
        if (combo->minimumWidth() < combo->sizeHint().width()) {
            combo->setMinimumWidth(combo->sizeHint().width());
            grown = true;
        }
    }
    return grown;
}

} // namespace

MainWindow::MainWindow(QWidget *parent, ToolLoading loading)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainWindow>()) {
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
                    buildTool(index);
                    ui->mainTabViewController->setCurrentIndex(index);
                    ui->mainTabViewController->currentWidget()->setFocus(Qt::ShortcutFocusReason);
                });
    }
    connect(ui->mainTabViewController, &QTabWidget::currentChanged, this, [this](int index) {
        // A tab shown for the first time gets its tool a moment later, once the tab bar is
        // done switching.
        if (index > 0 && !toolAt(index))
            QMetaObject::invokeMethod(
                this,
                [this, index] {
                    buildTool(index);
                    queueFitMinimumSize();
                },
                Qt::QueuedConnection);
        updateActions();
        // A tool fills its fields and its output when it is first shown, and only then asks
        // for all the room it needs.
        queueFitMinimumSize();
    });
    if (auto *contents =
            ui->displayViewController->findChild<QWidget *>(QStringLiteral("toolContents")))
        contents->installEventFilter(this);
    if (loading == ToolLoading::WithTheWindow)
        buildTools();
    updateActions();
    // A label whose text can be selected keeps a text document, lays it out for every width its
    // layout tries (many when it wraps) and paints through it. The tool on show is first painted
    // with its labels plain, and they take the mouse once the picture is on the screen. (Those
    // set to the right stay: their document places the text a fraction of a pixel apart.)
    QList<QPointer<QLabel>> selectable;
    for (QLabel *label : ui->mainTabViewController->currentWidget()->findChildren<QLabel *>()) {
        if ((label->textInteractionFlags() & Qt::TextSelectableByMouse) &&
            !(label->alignment() & Qt::AlignRight)) {
            label->setTextInteractionFlags(label->textInteractionFlags() &
                                           ~Qt::TextSelectableByMouse);
            selectable.append(label);
        }
    }
    connect(this, &MainWindow::firstPainted, this, [this, selectable] {
        // After what the paint itself queued: the picture is complete before this begins.
        QTimer::singleShot(0, this, [selectable] {
            for (QLabel *label : selectable)
                if (label)
                    label->setTextInteractionFlags(label->textInteractionFlags() |
                                                   Qt::TextSelectableByMouse);
        });
    });
    fitMinimumSizeToTools();
}

MainWindow::~MainWindow() = default;

MainTabViewController *MainWindow::tabViewController() const {
    return ui->mainTabViewController;
}

ColourViewController *MainWindow::colourViewController() {
    buildTool(kColour);
    return colour;
}

RegistersViewController *MainWindow::registersViewController() {
    buildTool(kRegisters);
    return registers;
}

CopperViewController *MainWindow::copperViewController() {
    buildTool(kCopper);
    return copper;
}

CopperWorkbenchViewController *MainWindow::copperWorkbenchViewController() {
    buildTool(kWorkbench);
    return workbench;
}

GradientViewController *MainWindow::gradientViewController() {
    buildTool(kGradient);
    return gradient;
}

ConvertViewController *MainWindow::convertViewController() {
    buildTool(kConvert);
    return convert;
}

bool MainWindow::toolsAreBuilt() const {
    for (int index = 1; index < kTools; ++index)
        if (!toolAt(index))
            return false;
    return true;
}

QWidget *MainWindow::toolAt(int index) const {
    switch (index) {
    case kColour:
        return colour;
    case kRegisters:
        return registers;
    case kCopper:
        return copper;
    case kWorkbench:
        return workbench;
    case kGradient:
        return gradient;
    case kConvert:
        return convert;
    default:
        return ui->mainTabViewController->widget(index);
    }
}

bool MainWindow::event(QEvent *event) {
    // Once the window is laid out on the screen its frame can be measured, not estimated: the
    // first time once it is painted, as the estimate made before is close enough for that.
    if (event->type() == QEvent::Show && painted)
        queueFitMinimumSize();
    // The whole window is painted in one pass, this first, so what is queued here runs once
    // the first picture of the window is complete.
    if (event->type() == QEvent::Paint && !painted) {
        painted = true;
        QMetaObject::invokeMethod(this, &MainWindow::firstPainted, Qt::QueuedConnection);
        queueFitMinimumSize();
    }
    return QMainWindow::event(event);
}

void MainWindow::buildTools() {
    for (int index = 1; index < kTools; ++index)
        buildTool(index);
}

QWidget *MainWindow::buildTool(int index) {
    if (QWidget *built = toolAt(index))
        return built;
    QWidget *tool = nullptr;
    switch (index) {
    case kColour:
        tool = colour = new ColourViewController;
        colour->setObjectName(QStringLiteral("colourViewController"));
        break;
    case kRegisters:
        tool = registers = new RegistersViewController;
        registers->setObjectName(QStringLiteral("registersViewController"));
        break;
    case kCopper:
        tool = copper = new CopperViewController;
        copper->setObjectName(QStringLiteral("copperViewController"));
        break;
    case kWorkbench:
        tool = workbench = new CopperWorkbenchViewController;
        workbench->setObjectName(QStringLiteral("copperWorkbenchViewController"));
        break;
    case kGradient:
        tool = gradient = new GradientViewController;
        gradient->setObjectName(QStringLiteral("gradientViewController"));
        // The Gradient tool takes colours from the Colour tool's palette and editor, which is
        // built when they are first asked for.
        gradient->setColourSource(
            {[this] { return colourViewController()->paletteDataSource()->paletteEntries(); },
             [this] {
                 const auto *well =
                     colourViewController()->findChild<ColourWell *>(QStringLiteral("colourWell"));
                 return well ? well->color() : Colour();
             }});
        break;
    case kConvert:
        tool = convert = new ConvertViewController;
        convert->setObjectName(QStringLiteral("convertViewController"));
        // The Convert tool hands a picture's colour map to the Colour tool, as a load that can
        // be undone there, and shows it.
        convert->setPaletteSink([this](const QList<Colour> &colours, const QString &name) {
            ColourViewController *colourTool = colourViewController();
            ui->mainTabViewController->setCurrentWidget(colourTool);
            colourTool->usePaletteColours(colours, name);
        });
        // and the picture it works on to the Display tool, for the screen on the frame: one of
        // colour numbers (8 planes at most; true colour only once reduced).
        convert->setPictureSink([this](const picture::Picture *picture) {
            std::shared_ptr<const DisplayTool::ScreenPicture> screen;
            if (picture && picture->depth <= 8 && !picture->pixels.empty())
                screen =
                    std::make_shared<const DisplayTool::ScreenPicture>(DisplayTool::ScreenPicture{
                        static_cast<int>(picture->width), static_cast<int>(picture->height),
                        picture->pixels, picture->palette});
            ui->displayViewController->usePicture(std::move(screen));
        });
        break;
    default:
        return nullptr;
    }

    // The tool takes the place of its tab's stand-in, under the same title.
    MainTabViewController *tabs = ui->mainTabViewController;
    {
        const QSignalBlocker quiet(tabs);
        const int current = tabs->currentIndex();
        QWidget *standIn = tabs->widget(index);
        const QString title = tabs->tabText(index);
        tabs->removeTab(index);
        tabs->insertTab(index, tool, title);
        delete standIn;
        tabs->setCurrentIndex(current);
    }
    if (auto *contents = tool->findChild<QWidget *>(QStringLiteral("toolContents")))
        contents->installEventFilter(this);
    updateActions();
    if (toolsAreBuilt())
        emit toolsBuilt();
    return tool;
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

void MainWindow::queueFitMinimumSize() {
    if (fitQueued)
        return;
    fitQueued = true;
    QMetaObject::invokeMethod(this, &MainWindow::fitMinimumSizeToTools, Qt::QueuedConnection);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    // A tool laid out afresh (a page of its own shown, a longer line in a label) may need
    // more room than the window's minimum gives it.
    if (event->type() == QEvent::LayoutRequest)
        queueFitMinimumSize();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fitMinimumSizeToTools() {
    fitQueued = false;
    QSize need(0, 0);
    MainTabViewController *tabs = ui->mainTabViewController;
    if (isVisible() && showComboItemsWhole(tabs->currentWidget()))
        // The tool's layouts take in the wider boxes before they are measured.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QAbstractScrollArea *shownArea = nullptr;
    QList<QWidget *> wrapped; // tools with lines that wrap: they grow taller as they narrow
    for (int index = 0; index < tabs->count(); ++index) {
        auto *contents = tabs->widget(index)->findChild<QWidget *>(QStringLiteral("toolContents"));
        if (!contents)
            continue;
        need = need.expandedTo(contents->minimumSizeHint());
        if (contents->hasHeightForWidth())
            wrapped.append(contents);
        if (index == tabs->currentIndex() && contents->parentWidget())
            shownArea =
                qobject_cast<QAbstractScrollArea *>(contents->parentWidget()->parentWidget());
    }
    for (QWidget *contents : std::as_const(wrapped))
        need.setHeight(std::max(need.height(), contents->heightForWidth(need.width())));
    // The window around a tool: the frame of the tab page, the tab bar, the menu bar and the
    // status bar; measured on the window once it is laid out, estimated before.
    QSize chrome(2 * tabs->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 24,
                 tabs->tabBar()->sizeHint().height() + menuBar()->sizeHint().height() +
                     statusBar()->sizeHint().height() + 24);
    if (isVisible() && shownArea && shownArea->isVisible())
        chrome = size() - shownArea->maximumViewportSize();
    QSize wanted = need + chrome;
    if (const QScreen *shown = screen()) {
        const QSize room = shown->availableGeometry().size();
        // A tool taller than the screen scrolls: its scroll bar takes room beside it.
        if (wanted.height() > room.height())
            wanted.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        wanted = wanted.boundedTo(room);
    }
    setMinimumSize(wanted);
}

void MainWindow::updateActions() {
    ui->copyOutputAction->setEnabled(
        dynamic_cast<const CodeOutputTool *>(ui->mainTabViewController->currentWidget()));
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
    const auto *tool =
        dynamic_cast<const CodeOutputTool *>(ui->mainTabViewController->currentWidget());
    if (!tool)
        return;
    const QString text = tool->codeOutputText();
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

QStringList MainWindow::openFiles(const QStringList &paths) {
    QStringList problems;
    for (const QString &path : paths)
        if (const QString problem = openFile(path); !problem.isEmpty())
            problems.append(problem);
    if (!problems.isEmpty())
        statusBar()->showMessage(problems.last(), 8000);
    return problems;
}

QString MainWindow::openFile(const QString &path) {
    const QFileInfo info(path);
    if (!info.exists())
        return tr("There is no file “%1”.").arg(path);
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return tr("“%1” cannot be read: %2")
            .arg(path, info.isDir() ? tr("it is a folder") : file.errorString());
    const QByteArray head = file.read(12);
    file.close();
    const bool png = head.startsWith("\x89PNG\r\n\x1a\n");
    const QByteArray type = head.mid(8, 4);
    const bool iffPicture =
        head.startsWith("FORM") && (type == "ILBM" || type == "ACBM" || type == "PBM ");
    MainTabViewController *tabs = ui->mainTabViewController;
    if (iffPicture) {
        // An ILBM without its image is a palette file: the Colour tool's. (A picture is read
        // once more by the Convert tool; the files the Amiga shows are small.)
        std::string error;
        const bool picture =
            picture::readPictureFile(QFile::encodeName(path).toStdString(), &error).has_value();
        if (!picture && !PaletteFile::read(path).colours.isEmpty()) {
            ColourViewController *tool = colourViewController();
            tabs->setCurrentWidget(tool);
            tool->decodePaletteWithURL(path);
            return {};
        }
    }
    if (png || iffPicture) {
        ConvertViewController *tool = convertViewController();
        tabs->setCurrentWidget(tool);
        return tool->openPictureFile(path) ? QString() : tool->status();
    }
    CopperWorkbenchViewController *tool = copperWorkbenchViewController();
    tabs->setCurrentWidget(tool);
    return tool->openFileByContent(path) ? QString()
                                         : tr("“%1”: %2").arg(info.fileName(), tool->readMessage());
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
        // Closed from the keyboard as a viewer is: Esc, or Ctrl+W.
        for (const QKeySequence &keys :
             {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            auto *close = new QShortcut(keys, browser);
            connect(close, &QShortcut::activated, browser, &QWidget::close);
        }
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
