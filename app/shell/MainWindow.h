#pragma once
#include <QMainWindow>
#include <array>
#include <memory>

namespace Ui {
class MainWindow;
}
class ColourViewController;
class CopperViewController;
class ConvertViewController;
class CopperWorkbenchViewController;
class GradientViewController;
class MainTabViewController;
class QAction;
class QDragEnterEvent;
class QDropEvent;
class QPlainTextEdit;
class QUndoGroup;
class RegistersViewController;

// The one window: its content is the tab container with the tools, and
// a menu bar that reaches every tool from the keyboard.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // When the tools on the hidden tabs are built.
    enum class ToolLoading {
        // With the window, all at once.
        WithTheWindow,
        // The Display tool with the window; each of the others when its tab is first shown
        // or it is first asked for, so that the window is on the screen without waiting for
        // tools that may never be used.
        WhenShown,
    };

    explicit MainWindow(QWidget *parent = nullptr,
                        ToolLoading loading = ToolLoading::WithTheWindow);
    ~MainWindow() override;

    MainTabViewController *tabViewController() const;

    // The tools behind the first tab; asking for one builds it when it has not been built
    // yet.
    ColourViewController *colourViewController();
    RegistersViewController *registersViewController();
    CopperViewController *copperViewController();
    CopperWorkbenchViewController *copperWorkbenchViewController();
    GradientViewController *gradientViewController();
    ConvertViewController *convertViewController();
    bool toolsAreBuilt() const;

    // Where the user guide is: installed beside the program, or in the source tree it was
    // built from; empty when there is none.
    static QString userGuidePath();

    // The code view of the tool on show, or null when that tool prints no code.
    QPlainTextEdit *currentOutputView() const;

    // Opens each file in the tool it belongs to: a picture (PNG, or an IFF ILBM, ACBM or PBM
    // with its image) in Convert, an IFF ILBM that holds only a palette in Colour, anything
    // else in Workbench, as a copper list. The tool of the last file is on show. Gives a
    // sentence for each file that could not be read (also in the tool's own message line).
    QStringList openFiles(const QStringList &paths);

public slots:
    // Builds the tools not built yet, in their tabs; the tab on show stays on show.
    void buildTools();
    // Builds the tool of the tab at index when it is not built yet; gives the tool.
    QWidget *buildTool(int index);

    void loadPalette();
    // Shows the Convert tool and asks it for a picture file.
    void openPicture();
    void copyOutput();
    void showAbout();
    // Opens the user guide in a window of its own.
    void showUserGuide();

signals:
    // Every tool is in its tab.
    void toolsBuilt();
    // The window has been painted for the first time (sent once that picture is complete).
    void firstPainted();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A picture file dragged from the file manager gives the Colour tool its palette.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The View menu's actions, one a tab, in tab order.
    static constexpr int kTools = 7;
    // The tabs, in order (the Display tool's is 0).
    enum Tab { kColour = 1, kRegisters, kCopper, kWorkbench, kGradient, kConvert };
    // The tool in the tab at index; null while it is not built.
    QWidget *toolAt(int index) const;
    std::array<QAction *, kTools> toolActions() const;
    void updateActions();
    // The minimum size at which every built tool shows whole, within the screen: a tool needing
    // more than the screen has scrolls instead of squeezing its controls.
    void fitMinimumSizeToTools();
    // Fits it once the window has been laid out.
    void queueFitMinimumSize();
    // One file of openFiles; empty when it was read.
    QString openFile(const QString &path);

    std::unique_ptr<Ui::MainWindow> ui;
    bool painted = false;
    bool fitQueued = false;
    ColourViewController *colour = nullptr;
    RegistersViewController *registers = nullptr;
    CopperViewController *copper = nullptr;
    CopperWorkbenchViewController *workbench = nullptr;
    GradientViewController *gradient = nullptr;
    ConvertViewController *convert = nullptr;
    QWidget *guide = nullptr;
    QUndoGroup *m_undoGroup = nullptr;
};
