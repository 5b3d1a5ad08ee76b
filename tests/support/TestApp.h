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
#include "support/FakeNetwork.h"
#include "support/FixedScreenMetrics.h"
#include "support/RecordingShell.h"
#include "support/RecordingSoundPlayer.h"
#include "support/ScriptedDialogs.h"

// The whole program on fakes: virtual time, scripted dialogs, settings in memory,
// folders in a temporary directory, and every window registered; the network is the
// real one or one on the runtime's clock.
struct TestApp {
    enum class Network { Real, Fake };
    explicit TestApp(Network network = Network::Real);

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
    // With Network::Fake every request of the windows goes to it, on the runtime's
    // clock: serve what a test needs. Null with the real network.
    FakeNetwork* network = nullptr;
    RequestFactory requests;
    AppServices services;
};
