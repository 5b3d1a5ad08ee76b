#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <cstring>

#include "download/DownloadCommand.h"
#include "download/FileTypeCommand.h"
#include "program/DesktopProgram.h"
#include "search/SearchCommand.h"

namespace {

// Commands that run in the terminal, without a display: `orvellin NAME ARGS...`.
struct Subcommand {
    const char* name;
    const char* usage;
    const char* summary;
    int (*run)(const QStringList& args);
};

int fileType(const QStringList& args) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunFileTypeCommand(args, out, err);
}

int search(const QStringList& args) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    return SearchCommand::Run(args, out, err);
}

int download(const QStringList& args) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    return DownloadCommand::Run(args, out, err);
}

constexpr Subcommand kSubcommands[] = {
    {"search", "search --keyword TEXT... [OPTIONS]",
     "Search every keyword group for the chosen document types, page after page, as the "
     "search window does; `orvellin search --help` lists the options.",
     search},
    {"download", "download --list FILE [OPTIONS]",
     "Download every document of a list on parallel slots, as the download window does; "
     "`orvellin download --help` lists the options.",
     download},
    {"filetype", "filetype FILE...",
     "Print each file's path, a tab and its type judged from its content.", fileType},
};

QString subcommandHelp() {
    QString help = QStringLiteral(
        "Without a command the desktop program starts.\n\nCommands (no display needed):");
    for (const Subcommand& command : kSubcommands) {
        help += QStringLiteral("\n  orvellin %1\n      %2")
                    .arg(QString::fromUtf8(command.usage), QString::fromUtf8(command.summary));
    }
    return help;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        for (const Subcommand& command : kSubcommands) {
            if (std::strcmp(argv[1], command.name) == 0) {
                QCoreApplication app(argc, argv);
                return command.run(QCoreApplication::arguments().mid(2));
            }
        }
    }
    return DesktopProgram::run(argc, argv, subcommandHelp());
}
