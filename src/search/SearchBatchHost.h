#pragma once

#include <QString>

#include "search/SearchOptions.h"

// What a run over the result pages needs of the window that starts it: the boxes it reads
// anew at every wait, the extraction of the page shown, and where its progress goes.
class SearchBatchHost {
  public:
    enum class Run { Batch, AddAll };

    virtual ~SearchBatchHost() = default;

    // The rate-limit delay D and the page time-out T in seconds, read at every wait cycle.
    virtual int delaySeconds() const = 0;
    virtual int timeoutSeconds() const = 0;
    // The query options, read for every keyword group.
    virtual SearchOptions searchOptions() const = 0;
    // Extracts the page shown into the result list with the extraction's save folder.
    virtual void extractShownPage() = 0;
    // Shows the save-path dialog when the folder is asked at extraction.
    virtual void askSaveFolder() = 0;
    // A run started or ended.
    virtual void runChanged(Run run, bool running) = 0;
    // The stop of the running batch was requested; the batch ends at its next check.
    virtual void batchStopRequested() = 0;
    // The progress text: one line per keyword group listing the types done.
    virtual void progressChanged(const QString& progress) = 0;
    // An add-all run ended or was asked to stop: the result list has new rows.
    virtual void pagesAdded() = 0;
};
