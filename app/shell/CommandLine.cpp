#include "shell/CommandLine.h"

#include <amiga/nearestname.h>

#include <QCoreApplication>

namespace {

bool isHelp(const QString &argument) {
    return argument == QLatin1String("--help") || argument == QLatin1String("-h");
}

bool isVersion(const QString &argument) {
    return argument == QLatin1String("--version") || argument == QLatin1String("-V");
}

} // namespace

QString CommandLine::usage() {
    return QStringLiteral(
        "usage: quillfen [FILE]...\n"
        "       quillfen --help | --version\n"
        "\n"
        "Opens the Quillfen window: tools that work out the numbers the Amiga's custom chips\n"
        "expect and write them as 68000 assembler text. Each FILE opens in the tool it belongs\n"
        "to: a picture (PNG, IFF ILBM, ACBM or PBM) in Convert, an IFF ILBM that holds only a\n"
        "palette in Colour, anything else (a copper list as text, a binary dump) in Workbench.\n"
        "\n"
        "Options:\n"
        "  -h, --help     print this text and exit\n"
        "  -V, --version  print the version and exit\n"
        "Qt's own options, such as -platform NAME and -style NAME, are taken too.\n");
}

CommandLine CommandLine::read(const QStringList &arguments) {
    CommandLine line;
    bool optionsEnded = false;
    QString unknown;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || !argument.startsWith(QLatin1Char('-'))) {
            line.files.append(argument);
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (isHelp(argument)) {
            return {Action::Help, {}, usage()};
        } else if (isVersion(argument)) {
            return {Action::Version,
                    {},
                    QStringLiteral("quillfen %1\n").arg(QStringLiteral(QUILLFEN_VERSION))};
        } else if (unknown.isEmpty()) {
            unknown = argument.section(QLatin1Char('='), 0, 0);
        }
    }
    if (!unknown.isEmpty()) {
        const std::optional<std::string> nearest =
            amiga::nearestName(unknown.toStdString(), {"--help", "--version"});
        line.action = Action::UsageError;
        line.text =
            QStringLiteral("quillfen: unknown option '%1'").arg(unknown) +
            (nearest ? QStringLiteral(" (did you mean '%1'?)").arg(QString::fromStdString(*nearest))
                     : QString()) +
            QStringLiteral("\nTry 'quillfen --help' for how to call it.\n");
        line.files.clear();
    }
    return line;
}
