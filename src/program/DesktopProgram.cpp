#include "program/DesktopProgram.h"

#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

#include "app/AppServices.h"
#include "app/Config.h"
#include "app/SettingsKeys.h"
#include "net/RequestFactory.h"
#include "platform/qt/DesktopShell.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtScreenMetrics.h"
#include "platform/qt/QtSoundPlayer.h"
#include "platform/qt/QtWindowHost.h"
#include "platform/qt/WebEngineBrowserFactory.h"
#include "platform/runtime/QtRuntime.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/window/Forms.h"
#include "program/ScreenshotTour.h"
#include "program/Startup.h"
#include "search/SearchAddress.h"

// The resources live in the shell's static library; the linker keeps them only when
// asked by name (and Q_INIT_RESOURCE cannot stand inside a namespace).
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace {

// Chromium refuses to start as root with its sandbox on.
void allowWebEngineAsRoot() {
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        std::fprintf(stderr,
                     "orvellin: running as root, so the web engine runs without its sandbox "
                     "(QTWEBENGINE_DISABLE_SANDBOX=1)\n");
    }
}

void useChineseLook(QApplication& app, QTranslator& translator) {
    const QString cjk = QStringLiteral("Noto Sans CJK SC");
    if (QFontDatabase::families().contains(cjk)) {
        QFont font(cjk);
        font.setPointSize(10);
        QApplication::setFont(font);
    }
    if (translator.load(QStringLiteral("qtbase_zh_CN"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(&translator);
    }
}

const QCommandLineOption kScreenshotsOption(
    QStringLiteral("screenshots"), QStringLiteral("Save a picture of every window to DIR and end."),
    QStringLiteral("DIR"));
const QCommandLineOption kSearchBaseOption(
    QStringLiteral("search-base"),
    QStringLiteral("Scheme and host of the search engine (default %1; also "
                   "ORVELLIN_SEARCH_BASE).")
        .arg(kDefaultSearchBase),
    QStringLiteral("URL"));

void describe(QCommandLineParser& parser, const QString& commands) {
    parser.setApplicationDescription(commands);
    parser.addHelpOption();
    parser.addOption(kScreenshotsOption);
    parser.addOption(kSearchBaseOption);
}

bool asksForHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray word(argv[i]);
        if (word == "-h" || word == "--help" || word == "--help-all") {
            return true;
        }
    }
    return false;
}

}  // namespace

namespace DesktopProgram {

int run(int argc, char** argv, const QString& commands) {
    if (asksForHelp(argc, argv)) {
        // The help needs no display: it prints and ends here.
        QCoreApplication app(argc, argv);
        QCommandLineParser parser;
        describe(parser, commands);
        parser.process(app);
    }
    allowWebEngineAsRoot();
    initResources();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvellin"));

    QCommandLineParser parser;
    describe(parser, commands);
    parser.process(app);
    const QString searchBase = ChooseSearchBase(parser.value(kSearchBaseOption),
                                                qEnvironmentVariable("ORVELLIN_SEARCH_BASE"));
    if (searchBase.isEmpty()) {
        std::fprintf(stderr, "orvellin: the search base must be an http or https address\n");
        return 2;
    }

    QTranslator translator;
    useChineseLook(app, translator);

    QtRuntime runtime;
    const AppPaths paths = AppPaths::forCurrentUser();
    RequestFactory requests;
    // Before the windows: their browsers' pages must go before the profile they use.
    WebEngineBrowserFactory browsers(runtime, &requests.cookieJar(), paths.dataFolder,
                                     paths.cacheFolder);
    QtDialogs dialogs(runtime, Settings::kAppTitle);
    Forms forms(runtime, dialogs);
    QtWindowHost host(forms);
    dialogs.setWindowHost(&host);
    IniSettingsStore settings(paths.configFile);
    Config config;
    DesktopShell shell;
    QtClipboard clipboard;
    QtScreenMetrics screen(host);
    QtSoundPlayer sound;
    AppServices services{runtime,    dialogs,
                         forms,      settings,
                         config,     shell,
                         clipboard,  screen,
                         sound,      browsers,
                         requests,   paths,
                         searchBase, qEnvironmentVariable("ORVELLIN_MAKER_SITE")};

    Startup::registerWindows(services);
    std::unique_ptr<ScreenshotTour> tour;
    if (parser.isSet(kScreenshotsOption)) {
        tour = std::make_unique<ScreenshotTour>(services, host, parser.value(kScreenshotsOption));
        tour->start();
    }
    Startup::start(services);
    const int code = runtime.run();
    if (tour && !tour->failures().isEmpty()) {
        std::fprintf(stderr, "orvellin: no picture of %s\n",
                     qPrintable(tour->failures().join(u", ")));
        return 1;
    }
    return code;
}

}  // namespace DesktopProgram
