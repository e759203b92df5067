#include "common/Reading.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

void waitForReading(QObject *tool, QThread *reader) {
    reader->wait();
    QCoreApplication::sendPostedEvents(tool, QEvent::MetaCall);
}
