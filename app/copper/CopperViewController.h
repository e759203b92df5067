#pragma once
#include <QWidget>
#include <memory>

namespace Ui {
class CopperViewController;
}
class CopperObject;
class CopperSequenceModel;
class HexFormatter;

// The Copper tool: a short list of MOVE and WAIT instructions, printed as one
// dc.w line per display line, each line a WAIT followed by the list's words.
class CopperViewController : public QWidget {
    Q_OBJECT
public:
    // Most lines outputCode() writes, and most characters in all; more gets a
    // message in the output view instead.
    static constexpr qint64 maximumIterations = 65536;
    static constexpr qint64 maximumOutputLength = 16 * 1024 * 1024;

    explicit CopperViewController(QWidget *parent = nullptr);
    ~CopperViewController() override;

    // Control access for the window and its tests.
    Ui::CopperViewController *controls() const { return ui.get(); }
    CopperSequenceModel *sequenceArray() const { return m_sequence; }
    qint64 selectedCommandRow() const { return m_selectedCommandRow; }

public slots:
    void addMoveCommand();
    void addWaitCommand();
    // Remembers the list's selected row and enables copy and remove with it.
    void selectRow();
    void copyCommand();
    void removeCommand();
    void clearSequence();
    void autoCheck(QObject *sender);
    void outputCode();
    // Puts the generated code on the clipboard.
    void copyOutput();
    // Loads a row's values back into the MOVE or WAIT fields.
    void loadCommand(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void configureController();
    // Moves the instruction named by uuidText into the gap before gap.
    bool acceptDrop(const QString &uuidText, int gap);
    // The line fields as numbers, read once per output.
    struct OutputFields {
        qint64 verticalWait;
        qint64 horizontalWait;
        qint64 verticalMask;
        qint64 horizontalMask;
    };
    // Appends one generated line: the WAIT for display line `line` (counted
    // from the first), then every instruction's words, ended by a line feed.
    void appendOutputLine(QString &text, const OutputFields &fields, qint64 line) const;
    // The row the list really shows selected, -1 for none.
    int currentSelectedRow() const;

    std::unique_ptr<Ui::CopperViewController> ui;
    CopperSequenceModel *m_sequence = nullptr;
    HexFormatter *m_hexFormatter = nullptr;
    qint64 m_selectedCommandRow = 0;
};
