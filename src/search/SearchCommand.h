#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class ListView;
class QTextStream;

// `orvellin search`: the search window's batch without a display, for scripts and
// servers. The options set the window's controls; what is not given keeps the
// window's start values, never stored ones.
namespace SearchCommand {

// Of several outcomes the highest code is given.
constexpr int kExitDone = 0;
// An output file could not be written, or a download did not end Done.
constexpr int kExitFailed = 1;
constexpr int kExitBadOptions = 2;
constexpr int kExitVerification = 3;
// Stopped by SIGINT or SIGTERM: this plus the signal's number, as a shell reports it.
constexpr int kExitSignalBase = 128;

struct Options {
    QString keywords;  // the keyword box: the groups joined with CR LF
    std::array<bool, 5> types{true, true, true, true, true};
    int delaySeconds = 0;
    int timeoutSeconds = 10;
    bool phrase = false;
    bool titleOnly = false;
    bool simplifiedChinese = false;
    bool keepUnknown = false;
    bool keepBlanks = false;
    bool keepSource = false;
    QString searchBase;
    // With a "/" at the end; empty when the entries carry no folder.
    QString saveFolder;
    // Where every result is downloaded after the search, with a "/" at the end; empty for
    // no download.
    QString downloadFolder;
    QString exportFile;
    QString tsvFile;
};

// The options of `args` (the words after "search"), or nothing with the reason in
// `error`.
std::optional<Options> Parse(const QStringList& args, const QString& environmentBase,
                             QString& error);
QString Usage();

// One line per result: title, link, type, status, save folder and source page,
// tab-separated; a tab, CR or LF inside a field becomes one blank.
QString TsvText(const ListView& list);

// Runs the batch, with --download hands every result over and downloads it, and answers
// the exit code. The save and download folders are made first, so that a folder that
// cannot be made is a bad option.
int Run(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace SearchCommand
