#include "program/ScreenshotTour.h"

#include <QDir>
#include <QImage>
#include <QPointer>
#include <QSet>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

#include "app/AppServices.h"
#include "app/Config.h"
#include "app/fCover.h"
#include "app/fOption.h"
#include "app/fSeleFileSavePath.h"
#include "download/DownloadList.h"
#include "download/EntryNaming.h"
#include "download/UrlReplace.h"
#include "download/fFileDownload.h"
#include "platform/browser/Browser.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/qt/QtWindowHost.h"
#include "platform/qt/ViewUnits.h"
#include "platform/runtime/Runtime.h"
#include "platform/window/Forms.h"
#include "search/fWebSearch.h"
#include "tools/Form_Copy_Move.h"
#include "tools/fIEcache.h"

namespace {

// The batch pages through a few result pages of one type; a hanging page must not
// hold the tour for ever.
constexpr int kBatchLimitSeconds = 90;

// Windows open at a common size rather than maximised to the offscreen screen.
void placeWindow(Window& window, int widthPixels, int heightPixels) {
    window.setWindowState(WindowState::Normal);
    window.setGeometry(QRect(40 * kTwipsPerPixel, 40 * kTwipsPerPixel, widthPixels * kTwipsPerPixel,
                             heightPixels * kTwipsPerPixel));
}

bool showsResultPage(const Browser* browser) {
    const auto document = browser ? browser->document() : nullptr;
    return document && !browser->busy() && document->url().contains(QStringLiteral("/search?"));
}

// A picture with only a few colours is a window that has not painted yet.
bool looksPainted(const QImage& image) {
    if (image.isNull()) {
        return false;
    }
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            colours.insert(image.pixel(x, y));
            if (colours.size() > 8) {
                return true;
            }
        }
    }
    return false;
}

// Rows as the listings make them, without touching the user's cache.
void addSampleCacheRows(fIEcache& window, const QString& cacheFolder) {
    struct Sample {
        const char* address;
        const char* type;
        const char* size;
        const char* file;
    };
    const Sample samples[] = {
        {"https://files.example.com/annual-2023.pdf", "pdf", "1048576", "4f1c2a9e07b3d5e8.pdf"},
        {"https://docs.example.org/manual.doc", "doc", "524288", "9a03e1c4b2f7d6a1.doc"},
        {"https://example.net/minutes.ppt?id=7", "ppt", "262144", "c5e8b1d0a4f29367.ppt"},
        {"https://example.com/cookie:visitor", "", "", ""},
    };
    const QString folder = cacheFolder + QStringLiteral("UrlCache/");
    for (const Sample& sample : samples) {
        const QString address = QString::fromUtf8(sample.address);
        ListRow* row = window.ListView1->add(address, address);
        window.ListView1->setSubItem(row, fIEcache::Type, QString::fromUtf8(sample.type));
        window.ListView1->setSubItem(row, fIEcache::Size, QString::fromUtf8(sample.size));
        const QString file = QString::fromUtf8(sample.file);
        window.ListView1->setSubItem(row, fIEcache::FilePath,
                                     file.isEmpty() ? QString() : folder + file);
    }
    ListRow* user = window.ListView2->add(folder, QStringLiteral("user"));
    window.ListView2->setSubItem(user, 1, folder);
    window.ListView3->add(folder + QStringLiteral("pages"), folder + QStringLiteral("pages"));
    window.Label1->setCaption(QStringLiteral("共有4 个文件"));
}

}  // namespace

ScreenshotTour::ScreenshotTour(AppServices& services, QtWindowHost& host, QString folder)
    : services_(services), host_(host), folder_(std::move(folder)) {}

void ScreenshotTour::start() {
    services_.runtime.callAfter(100, [this] { run(); });
}

bool ScreenshotTour::waitFor(const std::function<bool()>& done, double seconds) {
    const double start = services_.runtime.now();
    while (!done()) {
        if (services_.runtime.now() - start > seconds || services_.runtime.quitRequested()) {
            return false;
        }
        services_.runtime.waitStep();
    }
    return true;
}

bool ScreenshotTour::shoot(const QString& windowName, const QString& picture) {
    // Let the window finish its layout and the updates its views batch per event turn.
    const double start = services_.runtime.now();
    waitFor([&] { return services_.runtime.now() - start >= 0.2; }, 1);
    QImage image;
    const bool painted = waitFor(
        [&] {
            Window* window = services_.forms.find(windowName);
            QWidget* form = window ? host_.formOf(window) : nullptr;
            if (!form || !form->isVisible()) {
                return false;
            }
            image = form->grab().toImage();
            return looksPainted(image);
        },
        10);
    if (!painted) {
        failures_.append(windowName);
        return false;
    }
    QDir().mkpath(folder_);
    const QString name = picture.isEmpty() ? windowName : picture;
    return image.save(QDir(folder_).filePath(name + QStringLiteral(".png")));
}

// One keyword group and one type, no delay: the batch pages through the engine's
// results into the list and ends on the engine's home page.
bool ScreenshotTour::runSearchBatch(fWebSearch& window) {
    // The save folder is chosen beforehand: no save-path dialog in the middle of the run.
    window.savePathPreset = true;
    services_.config.ChosenSaveFolder = services_.paths.defaultSaveFolder();
    window.Text1->setText(QStringLiteral("年度报告"));
    window.Check3->setValue(true);
    for (CheckBox* type : {window.Check8, window.Check9, window.Check10, window.Check11}) {
        type->setValue(false);
    }
    window.Combo1->setListIndex(0);   // no delay between pages
    window.Combo2->setListIndex(20);  // a page time-out of 30 seconds
    // The batch is a loop that yields: it runs from the event loop, as a click would.
    const QPointer<fWebSearch> guarded(&window);
    const auto ended = std::make_shared<bool>(false);
    const auto overran = std::make_shared<bool>(false);
    services_.runtime.post([guarded, ended] {
        if (guarded) {
            guarded->Command1->click();
        }
        *ended = true;
    });
    // A second click while it runs is the user's stop.
    const Runtime::TimerId limit =
        services_.runtime.callAfter(kBatchLimitSeconds * 1000, [guarded, overran] {
            if (guarded && guarded->batch.batchRunning()) {
                *overran = true;
                guarded->Command1->click();
            }
        });
    const bool finished = waitFor([&] { return *ended; }, kBatchLimitSeconds + 30);
    services_.runtime.stopTimer(limit);
    if (!finished || *overran || window.batch.batchRunning()) {
        qWarning("screenshots: the search batch did not end by itself");
        return false;
    }
    if (window.ListView1->count() == 0) {
        qWarning("screenshots: the search batch found no results");
        return false;
    }
    // Back from the home page to the last result page, as the user would.
    window.menu后退->click();
    if (!waitFor([&] { return showsResultPage(window.WebBrowser1); }, 30)) {
        qWarning("screenshots: the browser shows no result page after the batch");
        return false;
    }
    return true;
}

void ScreenshotTour::shootSearchWindow() {
    auto* search = services_.forms.load<fWebSearch>(fWebSearch::kName);
    if (!search) {
        failures_.append(fWebSearch::kName);
        return;
    }
    placeWindow(*search, 1000, 700);
    if (!runSearchBatch(*search)) {
        failures_.append(fWebSearch::kName);
        return;
    }
    shoot(fWebSearch::kName);
}

// A real run against the engine's documents on two slots, photographed when it shows
// every state: a document done, two arriving slowly, one the engine does not have, one
// waiting for a free slot.
void ScreenshotTour::shootDownloadWindow() {
    auto* download = services_.forms.load<fFileDownload>(fFileDownload::kName);
    if (!download) {
        failures_.append(fFileDownload::kName);
        return;
    }
    placeWindow(*download, 1000, 660);
    download->show();
    QTemporaryDir folder;
    const QString base = services_.searchBase;
    const QStringList documents{base + QStringLiteral("/files/pdf/2023年度报告.pdf"),
                                base + QStringLiteral("/files/trickle/产品使用说明书.doc"),
                                base + QStringLiteral("/missing/技术白皮书.pdf"),
                                base + QStringLiteral("/files/trickle/会议纪要与讨论.ppt"),
                                base + QStringLiteral("/files/xls/销售数据汇总.xls")};
    ListView& list = *download->ListView3;
    for (const QString& address : documents) {
        AddFoundDocument(list, address, QString(), address.section(u'.', -1), folder.path() + u'/',
                         QString(), true);
    }
    download->RefreshCountLabel();
    download->Combo1->setListIndex(1);
    download->Command4->click();
    const auto showsEveryState = [&list, download] {
        QSet<int> states;
        for (int position = 1; position <= list.count(); ++position) {
            const DownloadEntry entry(list, list.at(position));
            if (entry.state() != EntryState::Downloading || !entry.progressText().isEmpty()) {
                states.insert(int(entry.state()));
            }
        }
        // The status bar's counts follow at the supervisor's next tick.
        return states.size() == 4 && download->StatusBar1->panelText(4) == StatusCountsText(list);
    };
    if (!waitFor(showsEveryState, 30) || !shoot(fFileDownload::kName)) {
        qWarning("screenshots: the download run did not show every state");
        failures_.append(fFileDownload::kName);
    }
    download->StopDownload();
    // The counts follow the stop at the supervisor's next tick.
    waitFor(
        [download, &list] { return download->StatusBar1->panelText(4) == StatusCountsText(list); },
        3);
    // The login panel over the list, its browser on the engine's home page.
    download->Text1->setText(base + QStringLiteral("/"));
    download->Text2->setText(QStringLiteral("reader"));
    download->Command1->click();
    download->Web1->navigate(base + QStringLiteral("/"));
    waitFor([download] { return !download->Web1->busy(); }, 20);
    if (!shoot(fFileDownload::kName, QStringLiteral("fFileDownload-login"))) {
        failures_.append(QStringLiteral("fFileDownload-login"));
    }
    download->Command3->click();
}

void ScreenshotTour::run() {
    shoot(fCover::kName);
    shootDownloadWindow();
    shootSearchWindow();
    // The dialogs are shown without their modal loop, so that the tour goes on.
    for (const QString& dialog : {fOption::kName, fSeleFileSavePath::kName}) {
        if (Window* window = services_.forms.load(dialog)) {
            window->show();
            shoot(dialog);
        }
    }
    if (auto* replace = services_.forms.load<UrlReplace>(UrlReplace::kName)) {
        replace->Text1->setText(QStringLiteral("http://old-mirror.example.com/"));
        replace->Text2->setText(QStringLiteral("https://files.example.com/"));
        replace->show();
        shoot(UrlReplace::kName);
    }
    if (auto* cache = services_.forms.load<fIEcache>(fIEcache::kName)) {
        placeWindow(*cache, 860, 560);
        addSampleCacheRows(*cache, services_.paths.cacheFolder);
        cache->show();
        shoot(fIEcache::kName);
    }
    if (auto* copy = services_.forms.load<Form_Copy_Move>(Form_Copy_Move::kName)) {
        copy->setCaption(QStringLiteral("复制文件：3 个文件..."));
        copy->show();
        shoot(Form_Copy_Move::kName);
    }
    services_.forms.endProgram();
}
