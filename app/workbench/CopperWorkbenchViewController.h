#pragma once
#include "common/CodeOutputTool.h"
#include "workbench/WorkbenchTool.h"

#include <QWidget>
#include <memory>

namespace Ui {
class CopperWorkbenchViewController;
}
class CopperListingModel;
class FrameView;
class QThread;

// The Copper workbench: a copper list pasted or opened (assembler data, a memory view, a binary
// file) read back as instructions, each explained, with the fields of the selected one and a
// preview of the colours the list gives each line of the frame. What is read and shown is
// WorkbenchTool's; the controller wires the controls to it and reads files on a worker.
class CopperWorkbenchViewController : public QWidget, public CodeOutputTool {
    Q_OBJECT
public:
    explicit CopperWorkbenchViewController(QWidget *parent = nullptr);
    ~CopperWorkbenchViewController() override;

    // Control access for the window and its tests.
    Ui::CopperWorkbenchViewController *controls() const { return ui.get(); }
    const WorkbenchTool &tool() const { return m_tool; }
    FrameView *frameView() const { return m_frameView; }
    // The listing as the command line prints it.
    QString listingText() const { return m_tool.listingText(); }
    // The message line: what was read, or why it could not be.
    QString readMessage() const;
    // The output is the listing, a list rather than a text view: Copy Output copies its text.
    QPlainTextEdit *codeOutputView() const override { return nullptr; }
    QString codeOutputText() const override { return listingText(); }

public slots:
    // Reads the pasted text; says why in the message line when it cannot (and gives false).
    bool readList();
    // Asks for a file and reads it: as text, or as binary words from the offset on.
    void openList();
    // Reads a file as openList does, without asking: on a worker thread, the window going on
    // meanwhile and the message line saying what is read; fileRead tells whether it was read.
    // Only a regular file of at most 64 MiB is read.
    void startReading(const QString &path);
    // The same, waiting for the reading to end: whether the list was read.
    bool openFile(const QString &path);
    // Reads a file named on the command line: as text when it holds no control character
    // but tabs and line ends, else as binary words from its start; the Binary file box is set to
    // match.
    bool openFileByContent(const QString &path);
    void copyListing();
    // Shows the fields of the listing's selected instruction.
    void selectInstruction();
    void updatePreview();

signals:
    void fileRead(bool ok);

private:
    void configureController();
    // Reads the bytes of a file: as text, or as binary words from the offset on.
    bool showFile(const QByteArray &bytes);

    std::unique_ptr<Ui::CopperWorkbenchViewController> ui;
    WorkbenchTool m_tool;
    CopperListingModel *m_listing = nullptr;
    FrameView *m_frameView = nullptr;
    // The reading under way, and the name of its file.
    QThread *m_reader = nullptr;
    QString m_readingName;
};
