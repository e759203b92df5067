#pragma once
// Ends the process right after the watched window has been painted once, so a
// parent can time "process start to first painted window". When the parent
// gives a pipe in QUILLFEN_PROBE_FD, the moment the painted window is on the
// screen (CLOCK_MONOTONIC, nanoseconds) is written to it first, then the CPU
// time the main thread had used by then: the parent times the start-up from
// that, without the process's way out.
#include "monotonic_clock.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <functional>
#include <unistd.h>

class QuitAfterFirstPaint : public QObject {
public:
    // alsoWaitFor runs once the paint has been flushed, before the moment is
    // taken: work the start-up is not complete without.
    explicit QuitAfterFirstPaint(QWidget *window, std::function<void()> alsoWaitFor = {})
        : QObject(window), alsoWaitFor(std::move(alsoWaitFor)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && !seen) {
            seen = true;
            // Let the paint finish and reach the window system, then leave.
            QTimer::singleShot(0, qApp, [this] {
                if (alsoWaitFor)
                    alsoWaitFor();
                report();
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void report() {
        const char *fd = std::getenv("QUILLFEN_PROBE_FD");
        if (!fd)
            return;
        const std::int64_t moments[2] = {monotonicNanoseconds(), threadCpuNanoseconds()};
        if (write(std::atoi(fd), moments, sizeof moments) != sizeof moments)
            std::_Exit(4);
    }

    std::function<void()> alsoWaitFor;
    bool seen = false;
};
