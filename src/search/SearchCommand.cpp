#include "search/SearchCommand.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

#include "app/Config.h"
#include "app/ConfigReaders.h"
#include "app/HeadlessSession.h"
#include "download/DownloadRun.h"
#include "download/fFileDownload.h"
#include "platform/controls/ListView.h"
#include "platform/runtime/StopSignals.h"
#include "platform/text/Gbk.h"
#include "search/SearchAddress.h"
#include "search/fWebSearch.h"
#include "sys/FileSystem.h"
#include "sys/ListHelpers.h"

namespace SearchCommand {

namespace {

// The window's ranges.
constexpr int kLongestDelay = 120;
constexpr int kShortestTimeout = 10;
constexpr int kLongestTimeout = 120;

const QCommandLineOption kKeywords(QStringLiteral("keywords"),
                                   QStringLiteral("Keyword groups, one per line (UTF-8)."),
                                   QStringLiteral("FILE"));
const QCommandLineOption kKeyword(QStringLiteral("keyword"),
                                  QStringLiteral("A keyword group; may be repeated."),
                                  QStringLiteral("TEXT"));
const QCommandLineOption kTypes(QStringLiteral("types"),
                                QStringLiteral("Document types, comma-separated (default: "
                                               "pdf,doc,ppt,xls,txt)."),
                                QStringLiteral("LIST"));
const QCommandLineOption kDelay(QStringLiteral("delay"),
                                QStringLiteral("Seconds to wait between pages, 0 to 120 "
                                               "(default 0)."),
                                QStringLiteral("D"));
const QCommandLineOption kTimeout(QStringLiteral("timeout"),
                                  QStringLiteral("Seconds a page may take, 10 to 120 "
                                                 "(default 10)."),
                                  QStringLiteral("T"));
const QCommandLineOption kPhrase(QStringLiteral("phrase"),
                                 QStringLiteral("Search each group as one exact phrase."));
const QCommandLineOption kTitleOnly(QStringLiteral("title-only"),
                                    QStringLiteral("Search in titles only."));
const QCommandLineOption kSimplified(QStringLiteral("simplified-chinese"),
                                     QStringLiteral("Only pages in Simplified Chinese."));
const QCommandLineOption kKeepUnknown(QStringLiteral("keep-unknown"),
                                      QStringLiteral("Keep links of unknown type."));
const QCommandLineOption kKeepBlanks(QStringLiteral("keep-blanks"),
                                     QStringLiteral("Keep the blanks in titles."));
const QCommandLineOption kKeepSource(QStringLiteral("keep-source"),
                                     QStringLiteral("Keep the source site at the end of "
                                                    "titles."));
const QCommandLineOption kSearchBase(QStringLiteral("search-base"),
                                     QStringLiteral("Scheme and host of the search engine "
                                                    "(also ORVELLIN_SEARCH_BASE)."),
                                     QStringLiteral("URL"));
const QCommandLineOption kSaveFolder(QStringLiteral("save-folder"),
                                     QStringLiteral("The folder the results are to be saved "
                                                    "to (made when missing)."),
                                     QStringLiteral("DIR"));
const QCommandLineOption kDownload(QStringLiteral("download"),
                                   QStringLiteral("Hand every result over and download it into "
                                                  "this folder (made when missing) before "
                                                  "exiting."),
                                   QStringLiteral("DIR"));
const QCommandLineOption kExport(QStringLiteral("export"),
                                 QStringLiteral("Write the list as the window exports it "
                                                "(GBK)."),
                                 QStringLiteral("FILE"));
const QCommandLineOption kTsv(QStringLiteral("tsv"),
                              QStringLiteral("Write the results tab-separated (UTF-8)."),
                              QStringLiteral("FILE"));

void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Searches every keyword group for every chosen document type, page after page, and "
        "collects the results.\nExit: 0 done, 1 an output file could not be written or a "
        "download failed, 2 bad options, 3 the engine asked for a human check; of several, "
        "the highest."));
    parser.addHelpOption();
    parser.addOptions({kKeywords, kKeyword, kTypes, kDelay, kTimeout, kPhrase, kTitleOnly,
                       kSimplified, kKeepUnknown, kKeepBlanks, kKeepSource, kSearchBase,
                       kSaveFolder, kDownload, kExport, kTsv});
}

bool readGroups(const QCommandLineParser& parser, Options& options, QString& error) {
    QStringList groups;
    if (parser.isSet(kKeywords)) {
        QFile file(parser.value(kKeywords));
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("cannot read the keyword file %1").arg(file.fileName());
            return false;
        }
        QString text = QString::fromUtf8(file.readAll());
        // Editors of Chinese text often start a UTF-8 file with a byte-order mark.
        if (text.startsWith(QChar::ByteOrderMark)) {
            text.remove(0, 1);
        }
        groups = text.split(u'\n');
        for (QString& group : groups) {
            if (group.endsWith(u'\r')) {
                group.chop(1);
            }
        }
    }
    groups.append(parser.values(kKeyword));
    const bool anyGroup = std::any_of(groups.cbegin(), groups.cend(),
                                      [](const QString& g) { return !g.trimmed().isEmpty(); });
    if (!anyGroup) {
        error = QStringLiteral("no keyword group: give --keywords FILE or --keyword TEXT");
        return false;
    }
    options.keywords = groups.join(QStringLiteral("\r\n"));
    return true;
}

bool readTypes(const QCommandLineParser& parser, Options& options, QString& error) {
    if (!parser.isSet(kTypes)) {
        return true;
    }
    options.types.fill(false);
    const QStringList names = parser.value(kTypes).split(u',', Qt::SkipEmptyParts);
    for (const QString& name : names) {
        const auto type =
            std::find_if(kFileTypes.cbegin(), kFileTypes.cend(),
                         [&](const FileType& t) { return t.type == name.trimmed().toLower(); });
        if (type == kFileTypes.cend()) {
            error = QStringLiteral("unknown document type \"%1\"").arg(name);
            return false;
        }
        options.types[size_t(type - kFileTypes.cbegin())] = true;
    }
    if (names.isEmpty()) {
        error = QStringLiteral("--types names no document type");
        return false;
    }
    return true;
}

bool readWaits(const QCommandLineParser& parser, Options& options, QString& error) {
    if (parser.isSet(kDelay)) {
        const auto delay = ConfigReaders::wholeNumberIn(parser.value(kDelay), 0, kLongestDelay);
        if (!delay) {
            error = QStringLiteral("--delay must be a whole number from 0 to 120");
            return false;
        }
        options.delaySeconds = *delay;
    }
    if (parser.isSet(kTimeout)) {
        const auto timeout =
            ConfigReaders::wholeNumberIn(parser.value(kTimeout), kShortestTimeout, kLongestTimeout);
        if (!timeout) {
            error = QStringLiteral("--timeout must be a whole number from 10 to 120");
            return false;
        }
        options.timeoutSeconds = *timeout;
    }
    return true;
}

// Makes a folder of the options as the save-path dialog does; false with the reason when
// it cannot be made as asked.
bool makeFolder(QString& folder, const QString& what, QString& error, QTextStream& err) {
    if (folder.isEmpty()) {
        return true;
    }
    TerminalDialogs dialogs(err);
    const QString asked = folder;
    folder = CreateFolderAsAsked(asked, dialogs);
    if (folder.isEmpty()) {
        error = QStringLiteral("cannot make the %1 folder %2").arg(what, asked);
        return false;
    }
    return true;
}

// Writes what Text2 gains, one group and type a line.
void printProgress(fWebSearch& window, QTextStream& out) {
    QObject::connect(window.Text2, &Control::changed, [&window, &out, shown = QString()]() mutable {
        const QString text = window.Text2->text();
        const QString gained = text.startsWith(shown) ? text.mid(shown.size()) : text;
        shown = text;
        if (!gained.trimmed().isEmpty()) {
            out << gained.trimmed() << '\n';
            out.flush();
        }
    });
}

void setControls(fWebSearch& window, const Options& options) {
    window.Text1->setText(options.keywords);
    CheckBox* const types[] = {window.Check3, window.Check8, window.Check9, window.Check10,
                               window.Check11};
    for (size_t i = 0; i < options.types.size(); ++i) {
        types[i]->setValue(options.types[i]);
    }
    window.Combo1->setListIndex(options.delaySeconds);
    window.Combo2->setListIndex(options.timeoutSeconds - kShortestTimeout);
    window.Check6->setValue(options.phrase);
    window.Check4->setValue(options.titleOnly);
    window.Option2->setValue(options.simplifiedChinese);
    window.Option1->setValue(!options.simplifiedChinese);
    window.Check2->setValue(!options.keepUnknown);
    window.Check1->setValue(!options.keepBlanks);
    window.Check12->setValue(!options.keepSource);
}

// Hands every result over as "分析全部" does and downloads them as the download window
// does; false when not every entry ended Done.
bool downloadResults(fWebSearch& window, fFileDownload& download, Runtime& runtime,
                     const StopSignals& stop, QTextStream& out, QTextStream& err) {
    DownloadRun run(download, runtime, out, err);
    window.menu分析全部->click();
    if (stop.caught() == 0) {
        run.runUntilIdle();
    }
    run.summary();
    return run.allDone();
}

}  // namespace

QString Usage() {
    QCommandLineParser parser;
    describe(parser);
    // The parser names the program as it was started; the command has its own usage line.
    return QStringLiteral("Usage: orvellin search [options]\n") +
           parser.helpText().section(u'\n', 1);
}

std::optional<Options> Parse(const QStringList& args, const QString& environmentBase,
                             QString& error) {
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(QStringList{QStringLiteral("orvellin search")} + args)) {
        error = parser.errorText();
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error =
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first());
        return std::nullopt;
    }
    Options options;
    if (!readGroups(parser, options, error) || !readTypes(parser, options, error) ||
        !readWaits(parser, options, error)) {
        return std::nullopt;
    }
    options.searchBase = ChooseSearchBase(parser.value(kSearchBase), environmentBase);
    if (options.searchBase.isEmpty()) {
        error = QStringLiteral("the search base must be an http or https address");
        return std::nullopt;
    }
    options.phrase = parser.isSet(kPhrase);
    options.titleOnly = parser.isSet(kTitleOnly);
    options.simplifiedChinese = parser.isSet(kSimplified);
    options.keepUnknown = parser.isSet(kKeepUnknown);
    options.keepBlanks = parser.isSet(kKeepBlanks);
    options.keepSource = parser.isSet(kKeepSource);
    options.saveFolder = parser.value(kSaveFolder);
    options.downloadFolder = parser.value(kDownload);
    // The hand-over keeps the folder a result carries: with both, the documents would not
    // go where --download says.
    if (!options.saveFolder.isEmpty() && !options.downloadFolder.isEmpty()) {
        error = QStringLiteral("--save-folder and --download both name the folder; give one");
        return std::nullopt;
    }
    options.exportFile = parser.value(kExport);
    options.tsvFile = parser.value(kTsv);
    return options;
}

QString TsvText(const ListView& list) {
    QString text;
    for (int position = 1; position <= list.count(); ++position) {
        const ListRow* row = list.at(position);
        text += TsvLine({row->text(), row->key(), row->subItem(1), row->subItem(2), row->subItem(3),
                         row->tag()});
    }
    return text;
}

int Run(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        out << Usage();
        return kExitDone;
    }
    QString error;
    std::optional<Options> options =
        Parse(args, qEnvironmentVariable("ORVELLIN_SEARCH_BASE"), error);
    if (options && (!makeFolder(options->saveFolder, QStringLiteral("save"), error, err) ||
                    !makeFolder(options->downloadFolder, QStringLiteral("download"), error, err))) {
        options.reset();
    }
    if (!options) {
        err << "orvellin search: " << error << "\n\n" << Usage();
        return kExitBadOptions;
    }

    HeadlessSession session(options->searchBase, err);
    fWebSearch& window = *session.loadWindow<fWebSearch>();
    setControls(window, *options);
    // The folder is fixed for the run: the save-path dialog never opens. Results carry the
    // save folder; those without one are handed over into the download folder.
    window.savePathPreset = true;
    session.config().AskPathAtExtraction = options->saveFolder.isEmpty() ? 0 : 1;
    session.config().ChosenSaveFolder =
        options->saveFolder.isEmpty() ? options->downloadFolder : options->saveFolder;

    printProgress(window, out);
    fFileDownload* download = nullptr;
    // SIGINT and SIGTERM stop the run as the stop buttons do, so that the results found so
    // far are still written.
    const StopSignals stop([&window, &download](int) {
        if (window.batch.batchRunning()) {
            window.Command1->click();
        }
        window.Command5->click();
        if (download) {
            download->StopDownload();
        }
    });
    window.Command1->click();

    out << QStringLiteral("结果：") << window.ListView1->count() << '\n';
    out.flush();
    int code = window.runState.verificationDemanded ? kExitVerification : kExitDone;
    if (code == kExitVerification) {
        err << "orvellin search: the search engine asks for a human check; the run stopped\n";
    }
    if (!options->downloadFolder.isEmpty() && stop.caught() == 0) {
        download = session.loadWindow<fFileDownload>();
        if (!downloadResults(window, *download, session.runtime(), stop, out, err)) {
            code = std::max(code, kExitFailed);
        }
    }
    if (stop.caught() != 0) {
        err << "orvellin search: stopped by signal " << stop.caught() << '\n';
        code = kExitSignalBase + stop.caught();
    }
    const auto write = [&](const QString& path, const QByteArray& bytes) {
        if (!path.isEmpty() && !ReplaceFile(path, bytes)) {
            err << "orvellin search: cannot write " << path << '\n';
            code = std::max(code, kExitFailed);
        }
    };
    write(options->exportFile, Gbk::encode(window.ExportText()));
    write(options->tsvFile, TsvText(*window.ListView1).toUtf8());
    return code;
}

}  // namespace SearchCommand
