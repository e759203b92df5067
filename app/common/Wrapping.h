#pragma once

class QPlainTextEdit;

// Keeps every line of a code view on one line: no wrapping, a horizontal
// scroll bar when a line is wider than the view, and read-only text.
// Applying it more than once changes nothing further.
void disableWordWrap(QPlainTextEdit *textView);
