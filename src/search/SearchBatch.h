#pragma once

#include <QString>

class Button;
class fWebSearch;

// The search window's runs over the engine's result pages: the batch over every keyword
// group and checked type (Command1), and the paging of one result list from the page
// shown (Command4). Both are loops on the window's thread that yield in every wait; the
// window's run flags stop them.
class SearchBatch {
  public:
    explicit SearchBatch(fWebSearch& window);

    // The button captions, which also tell whether a run is active.
    static inline const QString kBatchStart = QStringLiteral("开始批量搜索提取");
    static inline const QString kBatchStop = QStringLiteral("停止批量搜索");
    static inline const QString kAddAllStart = QStringLiteral("加入全部到列表");
    static inline const QString kAddAllStop = QStringLiteral("停止加入全部");

    // Loads `address` and waits until it is loaded, for at most the time-out; returns at
    // once unless a batch is running.
    void 打开搜索网页(const QString& address);
    // Waits the rate-limit delay, unless a batch stop is pending.
    void 延时();
    // Extracts the page, follows its next link, waits for the new page and the delay,
    // and extracts it; true when it moved to a next page.
    bool 下一页();
    // The action of Command4: extracts the page shown and every page after it; a click
    // while it runs requests its stop.
    void AddAllPages();
    // The action of Command1: the batch over every keyword group and checked type; a
    // click while it runs requests its stop.
    void RunBatchSearch();

    bool batchRunning() const;
    bool batchStopPending() const;

  private:
    int delaySeconds() const;
    int timeoutSeconds() const;
    double elapsedSince(double start) const;
    // A yield between two steps, and one cycle of a wait.
    void yield();
    void waitCycle();
    void stopWhenQuitting();
    // Runs every checked type for one keyword group; false when the batch must end.
    bool SearchGroup(const QString& group);
    // The next-page candidate of the shown page: the element to click, found by the
    // pagination rules; false when there is none or the page has no further page.
    bool ClickNextCandidate();
    void ExtractShownPage();
    void SetRunning(Button& button, const QString& caption, bool running);

    fWebSearch& window_;
};
