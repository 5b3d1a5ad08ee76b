#include "download/DownloadCommand.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QUrl>

#include "app/ConfigReaders.h"
#include "app/HeadlessSession.h"
#include "download/DownloadEntry.h"
#include "download/DownloadList.h"
#include "download/DownloadListOperations.h"
#include "download/DownloadRun.h"
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
const QCommandLineOption kLoginUrl(QStringLiteral("login-url"),
                                   QStringLiteral("Log in on this page before the run and again "
                                                  "whenever a download brings a web page."),
                                   QStringLiteral("URL"));
const QCommandLineOption kAccount(QStringLiteral("account"),
                                  QStringLiteral("The login's account; its password comes from "
                                                 "--password-file or ORVELLIN_PASSWORD."),
                                  QStringLiteral("NAME"));
const QCommandLineOption kPasswordFile(QStringLiteral("password-file"),
                                       QStringLiteral("A file whose first line is the password."),
                                       QStringLiteral("FILE"));
const QCommandLineOption kIpLogin(QStringLiteral("ip-login"),
                                  QStringLiteral("Log in by address: no account."));
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
    parser.addOptions({kList, kFolder, kMethod, kProxy, kLoginUrl, kAccount, kPasswordFile,
                       kIpLogin, kSlots, kPause, kMaxSize, kSameName, kRetry, kRetryRounds,
                       kStopAfterFailures, kTsv});
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
    if (!options.loginUrl.isEmpty()) {
        window.Text1->setText(options.loginUrl);
        window.Text2->setText(options.account);
        window.Text3->setText(options.password);
        (options.ipLogin ? window.Option5 : window.Option4)->setValue(true);
        window.Check2->setValue(true);
    }
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

}  // namespace

QString Usage() {
    QCommandLineParser parser;
    describe(parser);
    // The parser names the program as it was started; the command has its own usage line.
    return QStringLiteral("Usage: orvellin download --list FILE [options]\n") +
           parser.helpText().section(u'\n', 1);
}

// The login options; false with the reason when they do not make a login.
bool readLogin(const QCommandLineParser& parser, const QString& environmentPassword,
               Options& options, QString& error) {
    options.loginUrl = parser.value(kLoginUrl).trimmed();
    options.account = parser.value(kAccount).trimmed();
    options.ipLogin = parser.isSet(kIpLogin);
    if (parser.isSet(kPasswordFile)) {
        QFile file(parser.value(kPasswordFile));
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("cannot read the password file %1").arg(file.fileName());
            return false;
        }
        options.password = QString::fromUtf8(file.readLine()).trimmed();
    } else {
        options.password = environmentPassword.trimmed();
    }
    const bool accountGiven = !options.account.isEmpty() || parser.isSet(kPasswordFile);
    if (options.loginUrl.isEmpty()) {
        if (accountGiven || options.ipLogin) {
            error = QStringLiteral("--account, --password-file and --ip-login need --login-url");
            return false;
        }
        return true;
    }
    if (options.ipLogin ? accountGiven : options.account.isEmpty() || options.password.isEmpty()) {
        error = QStringLiteral(
            "--login-url needs --account with a password (--password-file or "
            "ORVELLIN_PASSWORD), or --ip-login alone");
        return false;
    }
    return true;
}

std::optional<Options> Parse(const QStringList& args, QString& error,
                             const QString& environmentPassword) {
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
    if (!readLogin(parser, environmentPassword, options, error)) {
        return std::nullopt;
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
    std::optional<Options> options = Parse(args, error, qEnvironmentVariable("ORVELLIN_PASSWORD"));
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
        TerminalDialogs dialogs(err);
        options->folder = CreateFolderAsAsked(asked, dialogs);
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
    DownloadRun run(window, session.runtime(), out, err);
    const StopSignals stop([&window](int) { window.StopDownload(); });

    if (!options->loginUrl.isEmpty()) {
        window.RunWebLogin(false);
    }
    run.runUntilIdle();
    for (int round = 0; round < options->retryRounds && stop.caught() == 0 &&
                        options->retry != Retry::None && requeue(*window.ListView3, options->retry);
         ++round) {
        run.runUntilIdle();
    }
    run.summary();

    int code = run.allDone() ? kExitDone : kExitNotAllDone;
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
