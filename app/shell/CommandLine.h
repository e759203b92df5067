#pragma once
#include <QString>
#include <QStringList>

// The program's command line:
//
//   quillfen [FILE]...          the window, each FILE opened in the tool it belongs to
//   quillfen --help | -h        how to call it, on the standard output
//   quillfen --version | -V     its name and version
//
// --help and --version win over everything else before "--", so they are answered in the
// terminal before any window system is asked for. Qt's own options (-platform, -style, …) are
// taken out by QApplication before the files are read; any other word starting with '-' is an
// unknown option, named with the nearest known one when it looks like a slip of the keyboard.
struct CommandLine {
    enum class Action { OpenWindow, Help, Version, UsageError };

    Action action = Action::OpenWindow;
    QStringList files;
    // For Help, Version and UsageError: the text to print (ending in a new line).
    QString text;

    static CommandLine read(const QStringList &arguments);
    // The answer to --help.
    static QString usage();

    // The exit status of a command line answered in the terminal: 0, or 2 for bad usage.
    static constexpr int kUsageError = 2;
};
