#pragma once

#include <functional>

#include "app/BrowserCacheViewer.h"
#include "app/WindowNames.h"
#include "platform/cache/UrlCache.h"
#include "platform/controls/Button.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListView.h"
#include "platform/window/Window.h"

struct AppServices;

// The browser cache viewer: the current user's URL cache by its index, or the cache
// folders of every user profile, in one list whose rows can be deleted or copied out
// with the copy/move tool. Made hidden, it is also the engine of ClearBrowserCache.
//
// Its listings and deletions yield between rows; meanwhile it refuses further commands,
// and a close stops them at the next row.
class fIEcache final : public Window, public BrowserCacheViewer {
  public:
    static inline const QString kName = WindowNames::kIEcache;
    // The list tags: which listing the list shows, and so how a deletion refreshes it.
    static inline const QString kMyCache = QStringLiteral("我的缓存");
    static inline const QString kAllCaches = QStringLiteral("所有缓存");
    // ListView1's columns; 0 is the row's text.
    enum Column { Url = 0, Type, Size, FilePath };

    fIEcache(Forms& forms, AppServices& services);

    Button* Command1;
    Button* Command7;
    Button* Command6;
    Button* Command2;
    Button* Command3;
    Button* Command4;
    ListView* ListView1;
    ListView* ListView2;
    ListView* ListView3;
    Label* Label1;

    void ClearBrowserCache(bool showMessage, CacheReach reach) override;
    // The local file of the address's cache entry; false when the cache names none.
    bool GetCachedFileName(const QString& address, QString& localPath);

    QString listTag() const { return listTag_; }

  protected:
    void Form_Load() override;
    void Form_Unload() override;

  private:
    void Command1_Click();
    void Command7_Click();
    void Command6_Click();
    void Command2_Click();
    void Command3_Click();
    void ListView1_ColumnClick(int column);

    // Runs a command unless another one is still running (in a yield).
    void Exclusive(const std::function<void()>& command);
    bool Stopped() const;
    void IndexListing();
    void GetCacheURLList();
    void 判断文件在缓存中文件路径();
    void FolderListing(CacheReach reach);
    void ListUserCaches(CacheReach reach);
    void AddUserCacheFiles();
    // Deletes the rows for which `chosen` holds, then the emptied folders, and lists
    // again what the list showed.
    void DeleteRows(const std::function<bool(const ListRow*)>& chosen);
    void ShowCount(const QString& prefix);

    AppServices& services_;
    UrlCache cache_;
    QString listTag_;
    // Every folder under the listed cache folders, parents first; starts with "".
    QStringList folderList_;
    CacheReach reach_ = CacheReach::EveryProfile;
    ListView::SortOrder sortOrder_ = ListView::SortOrder::Ascending;
    bool busy_ = false;
    bool stop_ = false;
};
