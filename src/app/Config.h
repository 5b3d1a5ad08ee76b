#pragma once

#include <QString>
#include <cstdint>

// Facts about the machine, determined once by the start window's load and read-only
// for the rest of the run.
struct SystemFacts {
    QString bitness;  // "64" or "32"
    // The system's description followed by "[", the bitness and "位]".
    QString osText;
};

// The configuration values that the windows load from the settings and share for the
// run. One instance lives in AppServices.
struct Config {
    int32_t maxFileSizeMB = 0;
    int16_t downloadMethod = 0;
    QString proxyHost;
    QString proxyPort;
    int16_t proxyEnabled = 0;
    int16_t AskPathAtExtraction = 0;
    QString duplicatePolicy;
    int32_t slotChoiceIndex = 0;

    // Results of the save-path dialog.
    QString ChosenSaveFolder;
    bool SavePathCancelled = false;
    bool NameByOriginalFileName = false;

    // Whether the download window's values (method, proxy) and the search window's
    // AskPathAtExtraction were loaded in this run; the options dialog loads them
    // itself when not, so that confirming it never stores defaults over stored values.
    bool downloadValuesLoaded = false;
    bool askPathLoaded = false;

    SystemFacts system;
};
