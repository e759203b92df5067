#pragma once

class QObject;
class QThread;

// Waits here for a tool's reading thread, with no event loop of its own (nothing else runs
// meanwhile), then delivers to the tool what the thread's end posted to it: its result, at once.
void waitForReading(QObject *tool, QThread *reader);
