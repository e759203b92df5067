#pragma once
// Collects the application's log lines while it lives.
#include <QString>
#include <QStringList>
#include <QtGlobal>

class LogCapture {
public:
    LogCapture() {
        previous = qInstallMessageHandler(&LogCapture::handler);
        current() = this;
    }
    ~LogCapture() {
        qInstallMessageHandler(previous);
        current() = nullptr;
    }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList lines;

private:
    static LogCapture *&current() {
        static LogCapture *instance = nullptr;
        return instance;
    }
    static void handler(QtMsgType, const QMessageLogContext &, const QString &message) {
        if (current())
            current()->lines.append(message);
    }
    QtMessageHandler previous = nullptr;
};
