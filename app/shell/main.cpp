#include "registers/RegisterDatabase.h"
#include "shell/AppDelegate.h"
#include "shell/CommandLine.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <cstdio>

namespace {

int print(std::FILE *stream, const QString &text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    return std::fflush(stream) == 0 ? 0 : CommandLine::kUsageError;
}

} // namespace

int main(int argc, char **argv) {
    // --help and --version are answered in the terminal, before any window system is asked for.
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    if (const CommandLine early = CommandLine::read(words);
        early.action == CommandLine::Action::Help || early.action == CommandLine::Action::Version)
        return print(stdout, early.text);

    QApplication application(argc, argv);
    // Qt has taken its own options out of the line by now.
    const CommandLine line = CommandLine::read(QApplication::arguments());
    if (line.action == CommandLine::Action::UsageError) {
        print(stderr, line.text);
        return CommandLine::kUsageError;
    }
    AppDelegate delegate;
    delegate.attach(application);

    // The window is on the screen before the tools behind the other tabs are built, each when
    // it is first shown. The register database (the Registers and Workbench tools name bits
    // from it) is read in the background once the window is painted.
    MainWindow window(nullptr, MainWindow::ToolLoading::WhenShown);
    delegate.attach(window);
    QObject::connect(&window, &MainWindow::firstPainted, &RegisterDatabase::preload);
    window.show();
    for (const QString &problem : window.openFiles(line.files))
        print(stderr, QStringLiteral("quillfen: %1\n").arg(problem));
    delegate.applicationDidFinishLaunching();
    return application.exec();
}
