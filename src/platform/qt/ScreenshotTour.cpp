#include "platform/qt/ScreenshotTour.h"

#include <QDir>
#include <QImage>
#include <QSet>
#include <QWidget>

#include "app/AppServices.h"
#include "app/Config.h"
#include "app/fCover.h"
#include "app/fOption.h"
#include "app/fSeleFileSavePath.h"
#include "download/DownloadList.h"
#include "download/fFileDownload.h"
#include "platform/browser/Browser.h"
#include "platform/qt/QtWindowHost.h"
#include "platform/runtime/Runtime.h"
#include "platform/window/Forms.h"
#include "search/SearchAddress.h"
#include "search/fWebSearch.h"

namespace {

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

// A few entries, one in every state, so that the picture shows icons and columns.
void addSampleEntries(fFileDownload& window, const QString& folder) {
    struct Sample {
        const char* file;
        const char* name;
        EntryState state;
        const char* size;
        const char* received;
        const char* progress;
    };
    const Sample samples[] = {
        {"annual-2023.pdf", "2023年度报告", EntryState::Done, "1048576", "1048576", "100%"},
        {"manual.doc", "产品使用说明书", EntryState::Downloading, "524288", "262144", "50%"},
        {"minutes.ppt", "会议纪要与讨论", EntryState::Waiting, "", "", ""},
        {"whitepaper.pdf", "技术白皮书", EntryState::Failed, "下载失败", "", ""},
    };
    for (const Sample& sample : samples) {
        const QString file = QString::fromUtf8(sample.file);
        DownloadEntry entry = AddEntry(
            *window.ListView3, QStringLiteral("https://files.example.com/") + file,
            QString::fromUtf8(sample.name), file.section(QLatin1Char('.'), -1), folder, QString());
        entry.setState(sample.state);
        entry.setSizeText(QString::fromUtf8(sample.size));
        entry.setReceivedText(QString::fromUtf8(sample.received));
        entry.setProgressText(QString::fromUtf8(sample.progress));
    }
    window.RefreshCountLabel();
}

const QString kSampleGroup = QStringLiteral("机器学习");

// Windows open at a common size rather than maximised to the offscreen screen.
QRect commonGeometry(int heightPixels) {
    constexpr int kTwipsPerPixel = 15;
    return QRect(40 * kTwipsPerPixel, 40 * kTwipsPerPixel, 1000 * kTwipsPerPixel,
                 heightPixels * kTwipsPerPixel);
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

bool ScreenshotTour::shoot(const QString& windowName) {
    // Let the window finish its layout and the updates its views batch per event turn.
    const double start = services_.runtime.now();
    waitFor([&] { return services_.runtime.now() - start >= 0.2; }, 1);
    QImage picture;
    const bool painted = waitFor(
        [&] {
            Window* window = services_.forms.find(windowName);
            QWidget* form = window ? host_.formOf(window) : nullptr;
            if (!form || !form->isVisible()) {
                return false;
            }
            picture = form->grab().toImage();
            return looksPainted(picture);
        },
        10);
    if (!painted) {
        failures_.append(windowName);
        return false;
    }
    QDir().mkpath(folder_);
    return picture.save(QDir(folder_).filePath(windowName + QStringLiteral(".png")));
}

void ScreenshotTour::run() {
    shoot(fCover::kName);
    if (auto* download = services_.forms.load<fFileDownload>(fFileDownload::kName)) {
        download->setWindowState(WindowState::Normal);
        download->setGeometry(commonGeometry(660));
        addSampleEntries(*download, services_.paths.defaultSaveFolder());
        download->show();
        shoot(fFileDownload::kName);
    }
    searchWindow();
    // The dialogs are shown without their modal loop, so that the tour goes on.
    for (const QString& dialog : {fOption::kName, fSeleFileSavePath::kName}) {
        if (Window* window = services_.forms.load(dialog)) {
            window->show();
            shoot(dialog);
        }
    }
    services_.forms.endProgram();
}

void ScreenshotTour::searchWindow() {
    auto* search = services_.forms.load<fWebSearch>(fWebSearch::kName);
    if (!search) {
        failures_.append(fWebSearch::kName);
        return;
    }
    search->setWindowState(WindowState::Normal);
    search->setGeometry(commonGeometry(700));
    // The tour answers no dialogs: the entries take the default folder.
    search->savePathPreset = true;
    services_.config.ChosenSaveFolder = services_.paths.defaultSaveFolder();
    // One group and one type: the batch runs the real browser over the engine's pages.
    search->Text1->setText(kSampleGroup);
    for (CheckBox* type : {search->Check8, search->Check9, search->Check10, search->Check11}) {
        type->setValue(false);
    }
    search->Command1->click();
    if (search->ListView1->count() == 0 || !search->WebBrowser1) {
        failures_.append(fWebSearch::kName);
        return;
    }
    // The batch ends on the home page; the picture shows the group's first result page.
    search->WebBrowser1->navigate(BuildSearchAddress(services_.searchBase, kSampleGroup,
                                                     kFileTypes[0], search->searchOptions()));
    waitFor([&] { return !search->WebBrowser1->busy(); }, 20);
    shoot(fWebSearch::kName);
}
