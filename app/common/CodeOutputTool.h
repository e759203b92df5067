#pragma once

class QPlainTextEdit;

// A tool that prints code says which of its views holds it, for the window's Edit > Copy Output.
class CodeOutputTool {
public:
    virtual ~CodeOutputTool() = default;
    // The read-only view with the tool's code; null while the tool shows none.
    virtual QPlainTextEdit *codeOutputView() const = 0;
};
