#pragma once

class QPlainTextEdit;
class QString;

// A tool that prints code says which of its views holds it, for the window's Edit > Copy Output.
class CodeOutputTool {
public:
    virtual ~CodeOutputTool() = default;
    // The read-only view with the tool's code; null while the tool shows none, or when its
    // output is not a text view.
    virtual QPlainTextEdit *codeOutputView() const = 0;
    // The text that Copy Output copies: the code view's.
    virtual QString codeOutputText() const;
};

// Shows assembler text in a view: the system's fixed-width font, and a tab stop every eight
// characters of it, as an editor shows the source the text is pasted into.
void showAsCode(QPlainTextEdit *view);
