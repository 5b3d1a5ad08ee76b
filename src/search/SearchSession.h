#pragma once

#include <QTextStream>

#include "app/AppServices.h"
#include "app/Config.h"
#include "net/HeadlessBrowserFactory.h"
#include "net/RequestFactory.h"
#include "platform/desktop/HeadlessDesktop.h"
#include "platform/dialogs/TerminalDialogs.h"
#include "platform/runtime/QtRuntime.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/window/Forms.h"

class fWebSearch;

// The search window without a display, as the batch mode runs it: the program's event
// loop, the headless browser, dialogs on the terminal and settings kept in memory, so
// that a run reads and writes none of the user's settings.
class SearchSession {
  public:
    SearchSession(const QString& searchBase, QTextStream& messages);
    ~SearchSession();
    SearchSession(const SearchSession&) = delete;
    SearchSession& operator=(const SearchSession&) = delete;

    Runtime& runtime() { return runtime_; }
    Dialogs& dialogs() { return dialogs_; }
    Config& config() { return config_; }
    // The loaded search window.
    fWebSearch& window() { return *window_; }

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
    fWebSearch* window_ = nullptr;
};
