#pragma once

#include <QString>

#include "download/DuplicatePolicy.h"

// The download window's choices as they stand at one moment: the scheduler and the
// parallel method read them afresh at every tick and every event.
struct DownloadOptions {
    int method = 2;            // 1 single connection, 2 parallel slots
    int slotCount = 1;         // 1 to 6 (method 2)
    int pauseSeconds = 0;      // between two transfers
    bool autoStart = false;    // start when there are entries to download
    bool autoRequeue = false;  // re-download automatically ...
    int requeueChoice = 0;     // ... 0 failed, 1 web pages, 2 both
    bool failureStop = false;  // stop at 5 failed or web-page entries
    bool soundNotice = false;
    bool autoLogin = false;    // log in when a download brought a web page
    bool followEntry = false;  // scroll a starting entry into view
    qint64 maxFileSizeMB = 0;
    DuplicatePolicy duplicatePolicy = DuplicatePolicy::Rename;
    // The proxy of method 1.
    bool proxyEnabled = false;
    QString proxyHost;
    QString proxyPort;
};
