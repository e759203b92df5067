// The IFF and ILBM libraries' messages as records. The libraries send every message through
// IFF_errorCallback as printed text, a line in one or more pieces; a MessageCapture takes them
// while it lives, on its thread, and gives them back a line a record, so that no caller needs to
// read printed text to learn what happened.
#pragma once

#include <cstdarg>
#include <string>
#include <vector>

namespace picture {

// A line that begins with "WARNING" did not fail what the library was doing; any other did.
enum class Severity { Warning, Error };

struct Message {
    Severity severity = Severity::Error;
    // The line as the library wrote it, without its newline, the "WARNING: " or "ERROR: " that
    // begins it and the '!' that ends it ("Padding byte is non-zero").
    std::string text;
    friend bool operator==(const Message &, const Message &) = default;
};

// Takes every message sent through IFF_error on this thread from its construction until its
// destruction, when the callback that was there before is put back (captures nest: an inner one
// takes the messages while it lives). Other threads keep their own callbacks.
class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

    // The lines so far; an unfinished last line counts as one.
    std::vector<Message> messages() const;
    // Whether any of them is an error.
    bool hasError() const;

private:
    static void take(const char *format, va_list ap);

    void (*previousCallback_)(const char *, va_list);
    MessageCapture *previous_;
    std::string text_;
};

} // namespace picture
