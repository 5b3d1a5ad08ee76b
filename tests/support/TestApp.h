#pragma once

#include <QTemporaryDir>

#include "app/AppServices.h"
#include "app/Config.h"
#include "net/RequestFactory.h"
#include "platform/runtime/VirtualRuntime.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/window/Forms.h"
#include "support/FakeBrowserFactory.h"
#include "support/FakeClipboard.h"
#include "support/FixedScreenMetrics.h"
#include "support/RecordingShell.h"
#include "support/RecordingSoundPlayer.h"
#include "support/ScriptedDialogs.h"

// The whole program on fakes: virtual time, scripted dialogs, settings in memory,
// folders in a temporary directory, and every window registered.
struct TestApp {
    TestApp();

    QTemporaryDir temp;
    VirtualRuntime runtime;
    ScriptedDialogs dialogs;
    Forms forms{runtime, dialogs};
    MemorySettingsStore settings;
    Config config;
    RecordingShell shell;
    FakeClipboard clipboard;
    FixedScreenMetrics screen;
    RecordingSoundPlayer sound;
    FakeBrowserFactory browsers{runtime};
    RequestFactory requests;
    AppServices services;
};
