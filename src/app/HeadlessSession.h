#pragma once

#include <QTextStream>
#include <memory>

#include "app/AppServices.h"
#include "app/Config.h"
#include "net/HeadlessBrowserFactory.h"
#include "net/RequestFactory.h"
#include "platform/desktop/HeadlessDesktop.h"
#include "platform/dialogs/TerminalDialogs.h"
#include "platform/runtime/QtRuntime.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/window/Forms.h"

// A window without a display, as the batch modes run it: the program's event loop, the
// headless browser, dialogs on the terminal and settings kept in memory, so that a run
// reads and writes none of the user's settings.
class HeadlessSession {
  public:
    HeadlessSession(const QString& searchBase, QTextStream& messages);
    ~HeadlessSession();
    HeadlessSession(const HeadlessSession&) = delete;
    HeadlessSession& operator=(const HeadlessSession&) = delete;

    Runtime& runtime() { return runtime_; }
    Dialogs& dialogs() { return dialogs_; }
    Config& config() { return config_; }
    AppServices& services() { return services_; }
    RequestFactory& requests() { return requests_; }

    // Registers a window of the run, so that it is made when a window loads it by name.
    template <class W>
    void registerWindow() {
        forms_.registerWindow(
            W::kName, [this](Forms& forms) { return std::make_unique<W>(forms, services_); });
    }
    // Registers the window and loads it; a window already loaded is given as it is.
    template <class W>
    W* loadWindow() {
        registerWindow<W>();
        return forms_.load<W>(W::kName);
    }

  private:
    QtRuntime runtime_;
    RequestFactory requests_;
    HeadlessBrowserFactory browsers_{runtime_, requests_};
    TerminalDialogs dialogs_;
    MemorySettingsStore settings_;
    Config config_;
    HeadlessDesktop desktop_;
    // After the network: the windows and their browsers go first.
    Forms forms_{runtime_, dialogs_};
    AppServices services_;
};
