#include "download/DownloadCommand.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>
#include <QUrl>

#include "app/ConfigReaders.h"
#include "app/HeadlessSession.h"
#include "download/DownloadEntry.h"
#include "download/DownloadList.h"
#include "download/DownloadListOperations.h"
#include "download/EntryNaming.h"
#include "download/NumberedNames.h"
#include "download/fFileDownload.h"
#include "platform/runtime/StopSignals.h"
#include "sys/FileSystem.h"
#include "sys/ListHelpers.h"

namespace DownloadCommand {

namespace {

constexpr int kLongestPause = 600;
constexpr int kTsvFields = 6;
// How often the terminal's progress line is rewritten, in seconds.
constexpr double kProgressEvery = 0.5;

const QCommandLineOption kList(QStringLiteral("list"),
                               QStringLiteral("The documents: one address per line, or the TSV "
                                              "that `orvellin search --tsv` writes."),
                               QStringLiteral("FILE"));
const QCommandLineOption kFolder(QStringLiteral("folder"),
                                 QStringLiteral("The folder for every document (made when "
                                                "missing; default: the TSV's folder, else the "
                                                "current one)."),
                                 QStringLiteral("DIR"));
const QCommandLineOption kMethod(QStringLiteral("method"),
                                 QStringLiteral("1: one transfer at a time over one connection "
                                                "(with --proxy); 2: parallel slots (default)."),
                                 QStringLiteral("N"));
const QCommandLineOption kProxy(QStringLiteral("proxy"),
                                QStringLiteral("An HTTP proxy for method 1."),
                                QStringLiteral("HOST:PORT"));
const QCommandLineOption kSlots(QStringLiteral("slots"),
                                QStringLiteral("Parallel transfers, 1 to 6 (default 3)."),
                                QStringLiteral("N"));
const QCommandLineOption kPause(QStringLiteral("pause"),
                                QStringLiteral("Seconds between two transfers, 0 to 600 "
                                               "(default 0)."),
                                QStringLiteral("S"));
const QCommandLineOption kMaxSize(QStringLiteral("max-size"),
                                  QStringLiteral("Skip files larger than this many MB "
                                                 "(default 10)."),
                                  QStringLiteral("MB"));
const QCommandLineOption kSameName(QStringLiteral("same-name"),
                                   QStringLiteral("When a file of the name exists: skip, "
                                                  "overwrite or rename (default rename)."),
                                   QStringLiteral("RULE"));
const QCommandLineOption kRetry(QStringLiteral("retry"),
                                QStringLiteral("Download again: failed, pages (entries that "
                                               "turned out web pages) or both."),
                                QStringLiteral("WHAT"));
const QCommandLineOption kRetryRounds(QStringLiteral("retry-rounds"),
                                      QStringLiteral("How many times to download again "
                                                     "(default 3)."),
                                      QStringLiteral("N"));
const QCommandLineOption kStopAfterFailures(
    QStringLiteral("stop-after-failures"),
    QStringLiteral("Stop when 5 or more downloads failed or are web pages."));
const QCommandLineOption kTsv(QStringLiteral("tsv"),
                              QStringLiteral("Write the final list tab-separated (UTF-8)."),
                              QStringLiteral("FILE"));

void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Downloads every document of a list as the download window does, on parallel "
        "slots or over one connection.\nExit: 0 every entry done, 1 otherwise, 2 bad options, 128 "
        "plus the "
        "signal when stopped by SIGINT or SIGTERM."));
    parser.addHelpOption();
    parser.addOptions({kList, kFolder, kMethod, kProxy, kSlots, kPause, kMaxSize, kSameName, kRetry,
                       kRetryRounds, kStopAfterFailures, kTsv});
}

// A whole-number option within its range; false with the reason otherwise.
bool readNumber(const QCommandLineParser& parser, const QCommandLineOption& option, int low,
                int high, std::optional<int>& value, QString& error) {
    if (!parser.isSet(option)) {
        return true;
    }
    value = ConfigReaders::wholeNumberIn(parser.value(option), low, high);
    if (!value) {
        error = QStringLiteral("--%1 must be a whole number from %2 to %3")
                    .arg(option.names().constFirst())
                    .arg(low)
                    .arg(high);
    }
    return value.has_value();
}

bool readChoices(const QCommandLineParser& parser, Options& options, QString& error) {
    if (parser.isSet(kSameName)) {
        const QString rule = parser.value(kSameName);
        if (rule == u"skip") {
            options.sameName = DuplicatePolicy::Skip;
        } else if (rule == u"overwrite") {
            options.sameName = DuplicatePolicy::Overwrite;
        } else if (rule == u"rename") {
            options.sameName = DuplicatePolicy::Rename;
        } else {
            error = QStringLiteral("--same-name must be skip, overwrite or rename");
            return false;
        }
    }
    if (parser.isSet(kRetry)) {
        const QString what = parser.value(kRetry);
        if (what == u"failed") {
            options.retry = Retry::Failed;
        } else if (what == u"pages") {
            options.retry = Retry::Pages;
        } else if (what == u"both") {
            options.retry = Retry::Both;
        } else {
            error = QStringLiteral("--retry must be failed, pages or both");
            return false;
        }
    }
    return true;
}

// The folder, made as the save-path dialog makes it; empty when it cannot be made.
QString madeFolder(const QString& folder, QTextStream& err) {
    TerminalDialogs dialogs(err);
    const QString wanted = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString made = CreateFolderPath(wanted + u'/', dialogs);
    if (made.isEmpty() ||
        QFileInfo(made).canonicalFilePath() != QFileInfo(wanted).canonicalFilePath()) {
        return {};
    }
    return WithTrailingSlash(made);
}

// A file the run can write at its end: its folder exists and takes new files.
bool writable(const QString& path) {
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    return folder.isDir() && folder.isWritable() && (!file.exists() || file.isWritable());
}

QString stateWord(EntryState state) {
    switch (state) {
        case EntryState::Waiting:
            return QStringLiteral("Waiting");
        case EntryState::Downloading:
            return QStringLiteral("Downloading");
        case EntryState::Done:
            return QStringLiteral("Done");
        case EntryState::Failed:
            return QStringLiteral("Failed");
    }
    return {};
}

QString fileName(const DownloadEntry& entry) {
    return entry.type().isEmpty() ? entry.name() : entry.name() + u'.' + entry.type();
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void setControls(fFileDownload& window, const Options& options, Config& config) {
    if (options.method) {
        config.downloadMethod = int16_t(*options.method);
        window.ApplyDownloadMethod(*options.method);
    }
    if (!options.proxyHost.isEmpty()) {
        config.proxyEnabled = 1;
        config.proxyHost = options.proxyHost;
        config.proxyPort = options.proxyPort;
    }
    if (options.slots) {
        window.Combo1->setListIndex(*options.slots - 1);
    }
    if (options.pauseSeconds) {
        window.Combo2->setListIndex(*options.pauseSeconds);
    }
    if (options.maxSizeMB) {
        config.maxFileSizeMB = *options.maxSizeMB;
    }
    if (options.sameName) {
        OptionButton* const rules[] = {window.Option1, window.Option2, window.Option3};
        rules[int(*options.sameName)]->setValue(true);
    }
    window.Check5->setValue(options.stopAfterFailures);
}

// `folder` wins over the documents' own; without either, the current folder.
void addDocuments(fFileDownload& window, const QList<Document>& documents, const QString& folder) {
    ListView& list = *window.ListView3;
    const QString current = WithTrailingSlash(QDir::currentPath());
    const bool shown = list.visible();
    list.setVisible(false);
    for (const Document& document : documents) {
        const QString target = !folder.isEmpty()            ? folder
                               : !document.folder.isEmpty() ? document.folder
                                                            : current;
        AddFoundDocument(list, document.link, document.title, document.type, target,
                         document.sourcePage, document.title.isEmpty());
    }
    list.setVisible(shown);
}

// Watches the list: one line per entry that ends, the times of the first start and the
// last end, and a progress line on a terminal.
class RunReport {
  public:
    RunReport(fFileDownload& window, Runtime& runtime, QTextStream& out, QTextStream& err)
        : window_(window), runtime_(runtime), out_(out), err_(err), terminal_(isatty(2)) {
        ListView* list = window.ListView3;
        // Rows are counted from 0 in the signals.
        QObject::connect(list, &ListView::rowChanged, list,
                         [this, list](int row) { rowChanged(list->at(row + 1)); });
        QObject::connect(list, &ListView::rowsReset, list, [this, list] {
            for (int position = 1; position <= list->count(); ++position) {
                rowChanged(list->at(position));
            }
        });
    }

    void tick() {
        if (!terminal_ || runtime_.now() - shown_ < kProgressEvery) {
            return;
        }
        shown_ = runtime_.now();
        err_ << '\r' << StatusCountsText(*window_.ListView3) << "\x1b[K";
        err_.flush();
    }

    void summary() {
        if (terminal_) {
            err_ << "\r\x1b[K";
            err_.flush();
        }
        const double transfer = started_ ? lastEnd_ - firstStart_ : 0;
        out_ << StatusCountsText(*window_.ListView3) << '\n'
             << QStringLiteral("传输：%1 s  CPU：%2 s")
                    .arg(transfer, 0, 'f', 3)
                    .arg(cpuSeconds(), 0, 'f', 3)
             << '\n';
        out_.flush();
    }

  private:
    void rowChanged(ListRow* row) {
        const DownloadEntry entry(*window_.ListView3, row);
        if (!entry.isValid()) {
            return;
        }
        // Method 1 transfers inside the download tick: its rows carry the progress line.
        tick();
        const EntryState state = entry.state();
        const bool ended = state == EntryState::Done || state == EntryState::Failed;
        if (state == EntryState::Downloading && !started_) {
            started_ = true;
            firstStart_ = runtime_.now();
        }
        if (!ended) {
            reported_.remove(entry.id());
            return;
        }
        if (reported_.contains(entry.id())) {
            return;
        }
        reported_.insert(entry.id());
        lastEnd_ = runtime_.now();
        if (terminal_) {
            err_ << "\r\x1b[K";
            err_.flush();
        }
        out_ << (state == EntryState::Done ? QStringLiteral("完成") : QStringLiteral("失败"))
             << '\t' << fileName(entry) << '\t' << entry.progressText() << '\t'
             << 选择url(entry.addresses()) << '\n';
        out_.flush();
    }

    fFileDownload& window_;
    Runtime& runtime_;
    QTextStream& out_;
    QTextStream& err_;
    const bool terminal_;
    QSet<quint64> reported_;
    bool started_ = false;
    double firstStart_ = 0;
    double lastEnd_ = 0;
    double shown_ = -kProgressEvery;
};

// Runs the download timer until it is off and no transfer runs any more.
void runUntilIdle(fFileDownload& window, Runtime& runtime, RunReport& report) {
    window.Command4->click();
    while (window.DownloadActive()) {
        runtime.waitStep();
        report.tick();
    }
}

// Puts the entries of the retry choice back in the queue; false when there were none.
bool requeue(ListView& list, Retry retry) {
    const int waitingBefore = 统计未下载项数目(list);
    if (retry == Retry::Failed || retry == Retry::Both) {
        RequeueEntries(list, RequeueChoice::Failed);
    }
    if (retry == Retry::Pages || retry == Retry::Both) {
        RequeueEntries(list, RequeueChoice::WebPages);
    }
    return 统计未下载项数目(list) > waitingBefore;
}

bool allDone(ListView& list) {
    for (int position = 1; position <= list.count(); ++position) {
        if (DownloadEntry(list, list.at(position)).state() != EntryState::Done) {
            return false;
        }
    }
    return true;
}

}  // namespace

QString Usage() {
    QCommandLineParser parser;
    describe(parser);
    // The parser names the program as it was started; the command has its own usage line.
    return QStringLiteral("Usage: orvellin download --list FILE [options]\n") +
           parser.helpText().section(u'\n', 1);
}

std::optional<Options> Parse(const QStringList& args, QString& error) {
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(QStringList{QStringLiteral("orvellin download")} + args)) {
        error = parser.errorText();
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error =
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first());
        return std::nullopt;
    }
    if (!parser.isSet(kList)) {
        error = QStringLiteral("no list: give --list FILE");
        return std::nullopt;
    }
    Options options;
    std::optional<int> rounds;
    if (!readNumber(parser, kMethod, 1, 2, options.method, error) ||
        !readNumber(parser, kSlots, 1, 6, options.slots, error) ||
        !readNumber(parser, kPause, 0, kLongestPause, options.pauseSeconds, error) ||
        !readNumber(parser, kMaxSize, 0, INT32_MAX, options.maxSizeMB, error) ||
        !readNumber(parser, kRetryRounds, 0, 100, rounds, error) ||
        !readChoices(parser, options, error)) {
        return std::nullopt;
    }
    options.retryRounds = rounds.value_or(options.retryRounds);
    if (parser.isSet(kProxy)) {
        const QString proxy = parser.value(kProxy).trimmed();
        const qsizetype colon = proxy.lastIndexOf(u':');
        options.proxyHost = proxy.left(colon);
        options.proxyPort = proxy.mid(colon + 1);
        if (colon <= 0 || !ConfigReaders::wholeNumberIn(options.proxyPort, 1, 65535)) {
            error = QStringLiteral("--proxy must be HOST:PORT with a port from 1 to 65535");
            return std::nullopt;
        }
    }
    options.listFile = parser.value(kList);
    options.folder = parser.value(kFolder);
    options.stopAfterFailures = parser.isSet(kStopAfterFailures);
    options.tsvFile = parser.value(kTsv);
    return options;
}

QList<Document> ReadDocuments(const QString& text) {
    QList<Document> documents;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        const QStringList fields = line.split(u'\t');
        if (fields.size() == kTsvFields) {
            documents.append({fields[1].trimmed(), fields[0], fields[2].trimmed(), fields[4],
                              fields[5].trimmed()});
        } else if (!line.trimmed().isEmpty()) {
            const QString link = line.trimmed();
            // The type is the extension of the address's path, without its query.
            const QUrl url(link);
            QString base;
            const QString type =
                SplitFileName(FileNameOf(url.isValid() ? url.path() : link, false), base);
            documents.append({link, QString(), type.toLower(), QString(), QString()});
        }
    }
    return documents;
}

QString TsvText(ListView& list) {
    QString text;
    for (int position = 1; position <= list.count(); ++position) {
        const DownloadEntry entry(list, list.at(position));
        text += TsvLine({entry.name(), entry.type(), entry.sizeText(), entry.receivedText(),
                         entry.progressText(), entry.folder(), stateWord(entry.state()),
                         entry.addresses()});
    }
    return text;
}

int Run(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        out << Usage();
        return kExitDone;
    }
    QString error;
    std::optional<Options> options = Parse(args, error);
    QFile list(options ? options->listFile : QString());
    if (options && !list.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read the list %1").arg(options->listFile);
        options.reset();
    }
    if (options && !options->tsvFile.isEmpty() && !writable(options->tsvFile)) {
        error = QStringLiteral("cannot write %1").arg(options->tsvFile);
        options.reset();
    }
    if (options && !options->folder.isEmpty()) {
        const QString asked = options->folder;
        options->folder = madeFolder(asked, err);
        if (options->folder.isEmpty()) {
            error = QStringLiteral("cannot make the folder %1").arg(asked);
            options.reset();
        }
    }
    if (!options) {
        err << "orvellin download: " << error << "\n\n" << Usage();
        return kExitBadOptions;
    }
    const QList<Document> documents = ReadDocuments(QString::fromUtf8(list.readAll()));

    HeadlessSession session(QString(), err);
    fFileDownload& window = *session.loadWindow<fFileDownload>();
    setControls(window, *options, session.config());
    addDocuments(window, documents, options->folder);
    RunReport report(window, session.runtime(), out, err);
    const StopSignals stop([&window](int) { window.StopDownload(); });

    runUntilIdle(window, session.runtime(), report);
    for (int round = 0; round < options->retryRounds && stop.caught() == 0 &&
                        options->retry != Retry::None && requeue(*window.ListView3, options->retry);
         ++round) {
        runUntilIdle(window, session.runtime(), report);
    }
    report.summary();

    int code = allDone(*window.ListView3) ? kExitDone : kExitNotAllDone;
    if (stop.caught() != 0) {
        err << "orvellin download: stopped by signal " << stop.caught() << '\n';
        code = kExitSignalBase + stop.caught();
    }
    if (!options->tsvFile.isEmpty() &&
        !ReplaceFile(options->tsvFile, TsvText(*window.ListView3).toUtf8())) {
        err << "orvellin download: cannot write " << options->tsvFile << '\n';
        code = std::max(code, kExitNotAllDone);
    }
    return code;
}

}  // namespace DownloadCommand
