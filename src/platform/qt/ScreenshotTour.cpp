#include "platform/qt/ScreenshotTour.h"

#include <QDir>
#include <QImage>
#include <QSet>
#include <QWidget>

#include "app/AppServices.h"
#include "app/fCover.h"
#include "platform/qt/QtWindowHost.h"
#include "platform/runtime/Runtime.h"
#include "platform/window/Forms.h"

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
    services_.forms.endProgram();
}
