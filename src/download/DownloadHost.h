#pragma once

#include <QString>

#include "download/DownloadOptions.h"

// What the scheduler and the download methods need of the download window: its
// choices, its download timer, and the places where it shows a run.
class DownloadHost {
  public:
    virtual ~DownloadHost() = default;

    virtual DownloadOptions options() const = 0;

    virtual bool downloadTimerOn() const = 0;
    virtual void setDownloadTimer(bool on) = 0;
    // Unticks the automatic start and the automatic re-download.
    virtual void clearAutomatics() = 0;

    // Whether the start command is enabled and the busy indicator shown.
    virtual void showRunState(bool startEnabled, bool busyShown) = 0;
    // The entry counts of the status bar: "总数:12 正在下载:2 ...".
    virtual void showStatusCounts(const QString& counts) = 0;
    // The status bar's text panel ("完成下载:" and a name).
    virtual void showStatusText(const QString& text) = 0;
    // The status bar's panel of the single connection's state.
    virtual void showTransferState(const QString& text) = 0;
    // Whether the window is closing (or closed): transfers end without cues or login.
    virtual bool closing() const = 0;
    virtual void playCue(int number) = 0;
    // The web login after a download brought a web page.
    virtual void RunWebLogin(bool interactive) = 0;
};
