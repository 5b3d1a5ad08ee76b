#pragma once

#include <QString>

class Browser;
class Dialogs;
class Runtime;
class SearchBatchHost;
struct SearchRunState;

// The search window's runs over the engine's result pages: the batch over every keyword
// group and checked type, and the paging of one result list from the page shown. Both are
// loops on the window's thread that yield in every wait; the run flags stop them.
class SearchBatch {
  public:
    // `state` holds the window's run flags, which its buttons, its browser's events and its
    // unload set too; `browser` may be null when the program runs without browsers.
    SearchBatch(Runtime& runtime, Dialogs& dialogs, Browser* browser, const QString& searchBase,
                SearchRunState& state, SearchBatchHost& host);

    // Loads `address` and waits until it is loaded, for at most the time-out; returns at
    // once unless a batch is running.
    void 打开搜索网页(const QString& address);
    // Waits the rate-limit delay, unless a batch stop is pending.
    void 延时();
    // Extracts the page, follows its next link, waits for the new page and the delay,
    // and extracts it; true when it moved to a next page.
    bool 下一页();
    // Extracts the page shown and every page after it; a call while it runs requests its
    // stop.
    void AddAllPages();
    // The batch over every keyword group of `keywordBox` (one per CR LF line) and checked
    // type; a call while it runs requests its stop.
    void RunBatchSearch(const QString& keywordBox);

    bool batchRunning() const { return batchRunning_; }
    bool batchStopPending() const;
    bool addAllRunning() const { return addAllRunning_; }
    // The search engine's home page, loaded at the end of a batch.
    QString homeAddress() const;

  private:
    double elapsedSince(double start) const;
    // A yield between two steps, and one cycle of a wait.
    void yield();
    void waitCycle();
    void stopWhenQuitting();
    // Runs every checked type for one keyword group; false when the batch must end.
    bool SearchGroup(const QString& group);
    // Clicks the shown page's next-page link, found by the pagination rules; false when
    // there is none or the page has no further page.
    bool ClickNextCandidate();
    void SetBatchRunning(bool running);
    void SetAddAllRunning(bool running);
    void AppendProgress(const QString& text);

    Runtime& runtime_;
    Dialogs& dialogs_;
    Browser* browser_;
    const QString searchBase_;
    SearchRunState& state_;
    SearchBatchHost& host_;
    bool batchRunning_ = false;
    bool addAllRunning_ = false;
    QString progress_;
};
