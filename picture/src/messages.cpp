// The libraries' printed messages turned into records, a line each.
#include "picture/messages.h"

#include <iff/error.h>

#include <algorithm>
#include <cstdio>

namespace picture {

namespace {

thread_local MessageCapture *current = nullptr;

bool startsWith(const std::string &text, const char *prefix) {
    return text.rfind(prefix, 0) == 0;
}

Message recordOf(std::string line) {
    Message message;
    for (const char *word : {"WARNING", "Warning"}) {
        if (startsWith(line, word)) {
            message.severity = Severity::Warning;
        }
    }
    for (const char *prefix : {"ERROR: ", "Error: ", "WARNING: ", "Warning: "}) {
        if (startsWith(line, prefix)) {
            line.erase(0, std::string(prefix).size());
            break;
        }
    }
    while (!line.empty() && (line.back() == '!' || line.back() == ' ' || line.back() == '\r')) {
        line.pop_back();
    }
    message.text = std::move(line);
    return message;
}

} // namespace

MessageCapture::MessageCapture() : previousCallback_(IFF_errorCallback), previous_(current) {
    current = this;
    IFF_errorCallback = &MessageCapture::take;
}

MessageCapture::~MessageCapture() {
    IFF_errorCallback = previousCallback_;
    current = previous_;
}

void MessageCapture::take(const char *format, va_list ap) {
    if (current == nullptr) {
        return;
    }
    va_list copy;
    va_copy(copy, ap);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) {
        return;
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, ap);
    text.resize(static_cast<std::size_t>(length));
    current->text_ += text;
}

std::vector<Message> MessageCapture::messages() const {
    std::vector<Message> records;
    std::size_t start = 0;
    while (start < text_.size()) {
        std::size_t end = text_.find('\n', start);
        if (end == std::string::npos) {
            end = text_.size();
        }
        Message message = recordOf(text_.substr(start, end - start));
        if (!message.text.empty()) {
            records.push_back(std::move(message));
        }
        start = end + 1;
    }
    return records;
}

bool MessageCapture::hasError() const {
    const std::vector<Message> records = messages();
    return std::any_of(records.begin(), records.end(),
                       [](const Message &m) { return m.severity == Severity::Error; });
}

} // namespace picture
