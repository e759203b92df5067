#pragma once
#include "common/CodeOutputTool.h"
#include "registers/RegistersTool.h"

#include <QByteArray>
#include <QList>
#include <QWidget>
#include <array>
#include <memory>

namespace Ui {
class RegistersViewController;
}
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class BlitterSection;

// The Registers tool: a custom-chip register from the register database, its
// sixteen bits as check buttons, and the word they make (low byte, high byte,
// whole word and one bit group) in decimal, hexadecimal and binary. Goal seek
// sets the bits from a typed hexadecimal value.
class RegistersViewController : public QWidget, public CodeOutputTool {
    Q_OBJECT
public:
    explicit RegistersViewController(QWidget *parent = nullptr);
    ~RegistersViewController() override;

    // Takes the machine library's register database, fills the register
    // pop-up and shows the first register.
    void parseRegisterData();
    // The same from the bytes of a database document.
    void parseRegisterData(const QByteArray &data);

    // The chipset chosen in the chipset pop-up.
    amiga::Chipset chipset() const;

    // The bit check button with that tag (bit i has the tag i + 1), or null.
    QAbstractButton *viewWithTag(int tag) const;

    // The database, in document order.
    const QList<std::shared_ptr<Register>> &registers() const { return m_tool.registers; }
    // The register shown; null until one is chosen.
    const std::shared_ptr<Register> &shownRegister() const { return m_tool.shown; }
    // What the controls hold, as the last computation read them.
    const RegistersTool &tool() const { return m_tool; }

    // The view with the line that writes the word.
    QPlainTextEdit *codeOutputView() const override;

    // Control access for the window and its tests.
    Ui::RegistersViewController *controls() const { return ui.get(); }

public slots:
    // Shows the register named by the sender's selected item, all bits off.
    void changeRegister(QComboBox *sender);
    // Another group was chosen: recompute.
    void changeGroup(QComboBox *sender);
    // Another chipset was chosen: the shown register's bits are named as it has them; the
    // ticked bits stay.
    void changeChipset();
    // Reads the sixteen bit buttons and rewrites every result label.
    void calculateBitValue(QObject *sender = nullptr);
    // A field was edited: the goal field keeps a "$" or "0x" prefix and hexadecimal digits, at
    // most four.
    void controlTextDidChange(QLineEdit *field);
    // Sets the bit buttons from the goal field's hexadecimal value.
    void goalSeek(QObject *sender = nullptr);
    // Rewrites the code line: the instruction that writes the word to the shown register.
    void outputCode();
    // Puts the code line on the clipboard.
    void copyCode();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void configureController();
    // Takes the registers as the database and fills the register pop-up.
    void showRegisterArray(QList<std::shared_ptr<Register>> registers);
    // Shows the register whose name the user typed into the register pop-up.
    void jumpToTypedRegister();
    // Puts the shown register's name back into the pop-up's edit field.
    void restoreRegisterName();
    // The note, further information, AGA flag and bit tooltips of the shown register.
    void showRegisterDetails();
    // Ticks the bit boxes of the tool's word.
    void showWord();

    // The word the sixteen bit boxes make.
    std::uint16_t currentWord() const;

    std::unique_ptr<Ui::RegistersViewController> ui;
    RegistersTool m_tool;
    BlitterSection *m_blitter = nullptr;
    // The sixteen bit boxes, bit 0 first.
    std::array<QCheckBox *, 16> m_bitButtons{};
};
