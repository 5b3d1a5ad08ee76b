#include "sys/WindowGeometry.h"

#include <algorithm>

#include "platform/desktop/ScreenMetrics.h"
#include "platform/settings/SettingsStore.h"
#include "platform/window/Window.h"

namespace {

// The window position record, in the section named after the window.
const QString kResolution = QStringLiteral("分辨率");
const QString kTop = QStringLiteral("上");
const QString kLeft = QStringLiteral("左");
const QString kWidth = QStringLiteral("宽");
const QString kHeight = QStringLiteral("高");

constexpr int kMinWidth = 4000;
constexpr int kMinHeight = 3000;

int stored(const SettingsStore& settings, const QString& section, const QString& key,
           int defaultValue) {
    bool ok = false;
    const int value = settings.SettingsRead(section, key, QString()).trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

}  // namespace

QString ScreenResolutionText(const ScreenMetrics& screen) {
    const QSize size = screen.screenPixels();
    return QStringLiteral("%1*%2").arg(size.width()).arg(size.height());
}

void SaveWindowGeometry(const Window& window, SettingsStore& settings,
                        const ScreenMetrics& screen) {
    const QString section = window.name();
    if (window.windowState() == WindowState::Maximized) {
        settings.SettingsWrite(section, kResolution, QStringLiteral("0*0"));
        return;
    }
    const QRect g = window.geometry();
    settings.SettingsWrite(section, kResolution, ScreenResolutionText(screen));
    settings.SettingsWrite(section, kTop, QString::number(g.top()));
    settings.SettingsWrite(section, kLeft, QString::number(g.left()));
    settings.SettingsWrite(section, kWidth, QString::number(g.width()));
    settings.SettingsWrite(section, kHeight, QString::number(g.height()));
}

void RestoreWindowGeometry(Window& window, const SettingsStore& settings,
                           const ScreenMetrics& screen) {
    const QString section = window.name();
    const QString resolution = settings.SettingsRead(section, kResolution, QStringLiteral("000"));
    if (resolution != ScreenResolutionText(screen)) {
        window.setWindowState(WindowState::Maximized);
        return;
    }
    const int top = std::max(0, stored(settings, section, kTop, 100));
    const int left = std::max(0, stored(settings, section, kLeft, 100));
    const int width = std::max(kMinWidth, stored(settings, section, kWidth, 15000));
    const int height = std::max(kMinHeight, stored(settings, section, kHeight, 10000));
    window.setGeometry(QRect(left, top, width, height));
    window.setWindowState(WindowState::Normal);
}
