#pragma once

#include <QString>

class Forms;
class HandOverHost;
class ListRow;
class ListView;
class Runtime;
struct Config;
struct SearchRunState;

// The hand-over ("分析") of result entries to the download window's list: the four passes
// over the result list, and the two steps they share. A pass is a loop on the window's
// thread that yields after every entry it hands over; handOverStop ends it after that
// entry.
//
// One pass runs at a time: a start while a pass runs (a Timer1 tick that falls into one of
// its yields, or a click meanwhile) is skipped, not nested. The running pass hands over the
// entries it counted at its start and the next tick takes what is left, so every entry is
// handed over once, and no inner pass can end the outer one halfway.
class HandOver {
  public:
    // The passes, named after their menu items.
    enum class Pass { 分析未分析项, 分析失败项, 分析选中项, 分析全部 };

    // `results` is the window's ListView1 and `state` holds its run flags.
    HandOver(Runtime& runtime, Forms& forms, Config& config, ListView& results,
             SearchRunState& state, HandOverHost& host);

    void RunPass(Pass pass);

    // Whether the entries' folder is settled: asked at extraction (each entry holds it), or
    // the save-path dialog confirmed now.
    bool SaveFolderConfirmed();

    // Adds one result to the download list as a Waiting entry: named after the title (line
    // breaks removed, trimmed) or with NameByOriginalFileName after the link's file name,
    // cleaned; saved into `saveFolder`, or ChosenSaveFolder when that is empty; the source
    // page as referrer. A link already in the list adds nothing. The download window is
    // loaded on first access but not shown.
    void 加入下载列表(const QString& link, const QString& title, const QString& type,
                      const QString& saveFolder, const QString& sourcePage);
    // Shows the download window when it is loaded; a minimised one stays minimised.
    void 显示下载窗口();

  private:
    bool SaveFolderSettled(Pass pass);
    void HandOverEntries(Pass pass);
    bool Takes(Pass pass, const ListRow& row) const;
    void yield();

    Runtime& runtime_;
    Forms& forms_;
    Config& config_;
    ListView& results_;
    SearchRunState& state_;
    HandOverHost& host_;
    bool running_ = false;
};
