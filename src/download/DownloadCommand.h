#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "download/DuplicatePolicy.h"

class ListView;
class QTextStream;

// `orvellin download`: the download window's run without a display. The options set the
// window's controls; what is not given keeps the window's start values, never stored
// ones.
namespace DownloadCommand {

constexpr int kExitDone = 0;
constexpr int kExitNotAllDone = 1;
constexpr int kExitBadOptions = 2;
// Stopped by SIGINT or SIGTERM: this plus the signal's number, as a shell reports it.
constexpr int kExitSignalBase = 128;

// Which finished entries a retry round puts back in the queue.
enum class Retry { None, Failed, Pages, Both };

struct Options {
    QString listFile;
    // With a "/" at the end; empty: the entry's own folder (the TSV's), else the
    // current folder.
    QString folder;
    std::optional<int> method;
    std::optional<int> slots;
    std::optional<int> pauseSeconds;
    std::optional<int> maxSizeMB;
    std::optional<DuplicatePolicy> sameName;
    Retry retry = Retry::None;
    int retryRounds = 3;
    bool stopAfterFailures = false;
    QString tsvFile;
    // The proxy of method 1: host and port; empty for none.
    QString proxyHost;
    QString proxyPort;
    // The web login before the run and whenever a web page arrives: its address, and an
    // account with its password or a login by address.
    QString loginUrl;
    QString account;
    QString password;
    bool ipLogin = false;
};

// One document of the list: a plain address line, or a line of the search's TSV.
struct Document {
    QString link;
    QString title;
    QString type;
    QString folder;
    QString sourcePage;
};

// The options of `args` (the words after "download"), or nothing with the reason in
// `error`. `environmentPassword` is ORVELLIN_PASSWORD, read when no password file is
// given: a password never stands on the command line, where other users see it.
std::optional<Options> Parse(const QStringList& args, QString& error,
                             const QString& environmentPassword = {});
QString Usage();

// The documents of a list file's text: each non-blank line is an address, or a line of
// six tab-separated fields as `orvellin search --tsv` writes them (title, link, type,
// status, save folder, source page).
QList<Document> ReadDocuments(const QString& text);

// One line per entry in list order: name, type, size, received, progress, folder, state
// (Waiting, Downloading, Done or Failed) and addresses, tab-separated.
QString TsvText(ListView& list);

// Runs the downloads and answers the exit code.
int Run(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace DownloadCommand
