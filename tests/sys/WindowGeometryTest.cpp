#include <gtest/gtest.h>

#include "platform/runtime/VirtualRuntime.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/window/Forms.h"
#include "support/FixedScreenMetrics.h"
#include "support/ScriptedDialogs.h"
#include "sys/WindowGeometry.h"

namespace {

struct GeometryFixture : testing::Test {
    QString stored(const char* key) const {
        return settings.SettingsRead(QStringLiteral("fFileDownload"), QString::fromUtf8(key),
                                     QStringLiteral("<none>"));
    }
    void store(const char* key, const QString& value) {
        settings.SettingsWrite(QStringLiteral("fFileDownload"), QString::fromUtf8(key), value);
    }

    VirtualRuntime runtime;
    ScriptedDialogs dialogs;
    Forms forms{runtime, dialogs};
    Window window{forms, QStringLiteral("fFileDownload")};
    MemorySettingsStore settings;
    FixedScreenMetrics screen;
};

}  // namespace

TEST_F(GeometryFixture, ResolutionIsTheScreenInPixels) {
    EXPECT_EQ(ScreenResolutionText(screen), "1920*1080");
    screen.screen = QSize(1366, 768);
    EXPECT_EQ(ScreenResolutionText(screen), "1366*768");
}

TEST_F(GeometryFixture, ANormalWindowIsSavedInTwipsWithTheResolution) {
    window.setGeometry(QRect(1500, 750, 9000, 6000));
    SaveWindowGeometry(window, settings, screen);
    EXPECT_EQ(stored("分辨率"), "1920*1080");
    EXPECT_EQ(stored("上"), "750");
    EXPECT_EQ(stored("左"), "1500");
    EXPECT_EQ(stored("宽"), "9000");
    EXPECT_EQ(stored("高"), "6000");
}

TEST_F(GeometryFixture, AMaximisedWindowSavesOnlyItsMark) {
    window.setGeometry(QRect(1500, 750, 9000, 6000));
    window.setWindowState(WindowState::Maximized);
    SaveWindowGeometry(window, settings, screen);
    EXPECT_EQ(stored("分辨率"), "0*0");
    EXPECT_EQ(stored("宽"), "<none>");
    EXPECT_EQ(settings.writeCount(), 1);

    // ... and opens maximised again.
    window.setWindowState(WindowState::Normal);
    RestoreWindowGeometry(window, settings, screen);
    EXPECT_EQ(window.windowState(), WindowState::Maximized);
}

TEST_F(GeometryFixture, AFirstRunOrAnotherScreenOpensMaximised) {
    RestoreWindowGeometry(window, settings, screen);
    EXPECT_EQ(window.windowState(), WindowState::Maximized);

    window.setWindowState(WindowState::Normal);
    window.setGeometry(QRect(1500, 750, 9000, 6000));
    SaveWindowGeometry(window, settings, screen);
    screen.screen = QSize(1366, 768);
    RestoreWindowGeometry(window, settings, screen);
    EXPECT_EQ(window.windowState(), WindowState::Maximized);
}

TEST_F(GeometryFixture, TheSamePlaceComesBackWithinTheMinimums) {
    window.setGeometry(QRect(1500, 750, 9000, 6000));
    SaveWindowGeometry(window, settings, screen);
    window.setGeometry(QRect());
    window.setWindowState(WindowState::Maximized);
    RestoreWindowGeometry(window, settings, screen);
    EXPECT_EQ(window.windowState(), WindowState::Normal);
    EXPECT_EQ(window.geometry(), QRect(1500, 750, 9000, 6000));

    store("上", QStringLiteral("-200"));
    store("左", QStringLiteral("-1"));
    store("宽", QStringLiteral("3000"));
    store("高", QStringLiteral("2999"));
    RestoreWindowGeometry(window, settings, screen);
    EXPECT_EQ(window.geometry(), QRect(0, 0, 4000, 3000));

    // Unreadable values take the defaults.
    store("上", QStringLiteral("abc"));
    store("左", QString());
    store("宽", QStringLiteral("wide"));
    store("高", QStringLiteral("9e9"));
    RestoreWindowGeometry(window, settings, screen);
    EXPECT_EQ(window.geometry(), QRect(100, 100, 15000, 10000));
}
