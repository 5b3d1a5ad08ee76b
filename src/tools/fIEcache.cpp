#include "tools/fIEcache.h"

#include <QFileInfo>
#include <algorithm>

#include "app/AppServices.h"
#include "app/SettingsKeys.h"
#include "app/fCover.h"
#include "platform/browser/BrowserFactory.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/runtime/Runtime.h"
#include "sys/FileSystem.h"
#include "sys/ListHelpers.h"
#include "tools/CacheDeletion.h"
#include "tools/ExtensionFromAddress.h"
#include "tools/Form_Copy_Move.h"
#include "tools/UserCacheFolders.h"

namespace {

const QString kUserRow = QStringLiteral("用户:");
// Sizes are sorted as texts of at least this many digits.
constexpr qsizetype kSortDigits = 12;

bool every(const ListRow*) {
    return true;
}

bool selected(const ListRow* row) {
    return row->selected();
}

QString withoutLeadingZeros(const QString& digits) {
    qsizetype zeros = 0;
    while (zeros + 1 < digits.size() && digits.at(zeros) == QLatin1Char('0')) {
        ++zeros;
    }
    return digits.mid(zeros);
}

// Hides a list for a bulk change and shows it as it was at the end.
class HiddenWhileChanging {
  public:
    explicit HiddenWhileChanging(ListView& list) : list_(list), shown_(list.visible()) {
        list_.setVisible(false);
    }
    ~HiddenWhileChanging() { list_.setVisible(shown_); }
    HiddenWhileChanging(const HiddenWhileChanging&) = delete;
    HiddenWhileChanging& operator=(const HiddenWhileChanging&) = delete;

  private:
    ListView& list_;
    bool shown_;
};

}  // namespace

fIEcache::fIEcache(Forms& forms, AppServices& services)
    : Window(forms, kName),
      Command1(new Button(this, QStringLiteral("Command1"), QStringLiteral("查看我的缓存"))),
      Command7(new Button(this, QStringLiteral("Command7"), QStringLiteral("查看所有用户缓存"))),
      Command6(new Button(this, QStringLiteral("Command6"), QStringLiteral("复制选中..."))),
      Command2(new Button(this, QStringLiteral("Command2"), QStringLiteral("删除所选文件"))),
      Command3(new Button(this, QStringLiteral("Command3"), QStringLiteral("全部删除"))),
      Command4(new Button(this, QStringLiteral("Command4"), QStringLiteral("关闭"))),
      ListView1(new ListView(this, QStringLiteral("ListView1"))),
      ListView2(new ListView(this, QStringLiteral("ListView2"))),
      ListView3(new ListView(this, QStringLiteral("ListView3"))),
      Label1(new Label(this, QStringLiteral("Label1"), QStringLiteral("000"))),
      services_(services),
      cache_(services.paths.cacheFolder) {
    ListView1->addColumn(QStringLiteral("URL"), 320);
    ListView1->addColumn(QStringLiteral("TYPE"), 50);
    ListView1->addColumn(QStringLiteral("SIZE(Byte)"), 80, ListColumn::Align::Right);
    ListView1->addColumn(QStringLiteral("FilePath"), 320);
    ListView1->setMultiSelect(true);
    ListView2->addColumn(QStringLiteral("用户名"), 80);
    ListView2->addColumn(QStringLiteral("文件夹"), 220);
    ListView3->addColumn(QStringLiteral("文件夹"), 300);
    for (ListView* list : {ListView1, ListView2, ListView3}) {
        list->onBeforeLabelEdit = [](bool& cancel) { cancel = true; };
    }
    Command1->onClick = guard([this] { Command1_Click(); });
    Command7->onClick = guard([this] { Command7_Click(); });
    Command6->onClick = guard([this] { Command6_Click(); });
    Command2->onClick = guard([this] { Command2_Click(); });
    Command3->onClick = guard([this] { Command3_Click(); });
    Command4->onClick = guard([this] { close(); });
    ListView1->onColumnClick = guard([this](int column) { ListView1_ColumnClick(column); });
}

void fIEcache::Form_Load() {
    setCaption(QStringLiteral("IE浏览器Cookie 缓存和历史列表-") + Settings::kAppTitle);
    setIcon(fCover::kIcon);
    folderList_ = QStringList{QString()};
    listTag_.clear();
}

void fIEcache::Form_Unload() {
    stop_ = true;
}

void fIEcache::ClearBrowserCache(bool showMessage, CacheReach reach) {
    if (busy_) {
        return;  // a command of this window is still running
    }
    // Called from another window: this one must outlive its loops all the same.
    RunGuard running(*this);
    Exclusive([this, reach] {
        IndexListing();
        DeleteRows(every);
        FolderListing(reach);
        DeleteRows(every);
    });
    // The desktop browser's own HTTP cache; its cookies stay.
    services_.browsers.clearHttpCache();
    const bool finished = !Stopped();
    close();
    if (showMessage && finished) {
        dialogs().info(QStringLiteral("IE缓存清空完毕！"));
    }
}

bool fIEcache::GetCachedFileName(const QString& address, QString& localPath) {
    localPath = cache_.localFile(address);
    return !localPath.isEmpty();
}

// --- commands ---------------------------------------------------------------------------

void fIEcache::Command1_Click() {
    Exclusive([this] { IndexListing(); });
}

void fIEcache::Command7_Click() {
    Exclusive([this] { FolderListing(CacheReach::EveryProfile); });
}

void fIEcache::Command2_Click() {
    Exclusive([this] { DeleteRows(selected); });
}

void fIEcache::Command3_Click() {
    Exclusive([this] { DeleteRows(every); });
}

void fIEcache::Command6_Click() {
    Exclusive([this] {
        auto* copy = forms().load<Form_Copy_Move>(Form_Copy_Move::kName);
        if (!copy) {
            return;
        }
        for (int position = 1; position <= ListView1->count(); ++position) {
            const ListRow* row = ListView1->at(position);
            if (row->selected() && !row->subItem(FilePath).isEmpty()) {
                copy->Files.append(row->subItem(FilePath));
            }
        }
        copy->MoveMode = false;
        copy->setCaption(QStringLiteral("复制文件：") + QString::number(copy->Files.size()) +
                         QStringLiteral(" 个文件..."));
        copy->showModal();
    });
}

void fIEcache::ListView1_ColumnClick(int column) {
    Exclusive([this, column] {
        sortOrder_ = sortOrder_ != ListView::SortOrder::Descending ? ListView::SortOrder::Descending
                                                                   : ListView::SortOrder::Ascending;
        const int sorted = column - 1;
        HiddenWhileChanging hidden(*ListView1);
        if (sorted != Size) {
            ListView1->sortOnce(sorted, sortOrder_);
            return;
        }
        // Sizes in numeric order: as texts of equal length, zero-filled for the sort.
        qsizetype width = kSortDigits;
        for (int position = 1; position <= ListView1->count(); ++position) {
            width = std::max(width, ListView1->at(position)->subItem(Size).size());
        }
        for (int position = 1; position <= ListView1->count(); ++position) {
            ListRow* row = ListView1->at(position);
            if (!row->subItem(Size).isEmpty()) {
                ListView1->setSubItem(row, Size,
                                      row->subItem(Size).rightJustified(width, QLatin1Char('0')));
            }
        }
        ListView1->sortOnce(Size, sortOrder_);
        for (int position = 1; position <= ListView1->count(); ++position) {
            ListRow* row = ListView1->at(position);
            if (!row->subItem(Size).isEmpty()) {
                ListView1->setSubItem(row, Size, withoutLeadingZeros(row->subItem(Size)));
            }
        }
    });
}

// --- the work behind them -----------------------------------------------------------------

void fIEcache::Exclusive(const std::function<void()>& command) {
    if (busy_) {
        return;
    }
    busy_ = true;
    command();
    busy_ = false;
}

bool fIEcache::Stopped() const {
    return stop_ || runtime().quitRequested();
}

void fIEcache::IndexListing() {
    GetCacheURLList();
    AutoSizeColumns(*ListView1, -2);
    listTag_ = kMyCache;
}

void fIEcache::GetCacheURLList() {
    HiddenWhileChanging hidden(*ListView1);
    ListView1->clear();
    const auto entries = cache_.entries();
    if (!entries) {
        ShowCount(QStringLiteral("出错!!!共有"));
        return;
    }
    for (const UrlCache::Entry& entry : *entries) {
        if (!entry.normal) {
            continue;
        }
        // A second entry of one address would be a duplicate key: not added.
        if (ListRow* row = ListView1->add(entry.address, entry.address)) {
            ListView1->setSubItem(row, Type, ExtensionFromAddress(entry.address));
        }
    }
    ShowCount(QStringLiteral("共有"));
    判断文件在缓存中文件路径();
}

void fIEcache::判断文件在缓存中文件路径() {
    for (int position = 1; position <= ListView1->count() && !Stopped(); ++position) {
        ListRow* row = ListView1->at(position);
        QString local;
        if (GetCachedFileName(row->text(), local)) {
            const QFileInfo file(local);
            if (file.isFile()) {
                ListView1->setSubItem(row, FilePath, local);
                ListView1->setSubItem(row, Size, QString::number(file.size()));
            }
        }
        runtime().yield();
    }
}

void fIEcache::FolderListing(CacheReach reach) {
    reach_ = reach;
    {
        HiddenWhileChanging hidden(*ListView1);
        ListView1->clear();
        ListUserCaches(reach);
        AddUserCacheFiles();
    }
    ShowCount(QStringLiteral("共有"));
    for (ListView* list : {ListView1, ListView2, ListView3}) {
        AutoSizeColumns(*list, -2);
    }
    listTag_ = kAllCaches;
}

void fIEcache::ListUserCaches(CacheReach reach) {
    folderList_ = QStringList{QString()};
    ListView2->clear();
    ListView3->clear();
    const QList<UserCacheFolder> users =
        FindUserCacheFolders(GetInternetCacheFolder(cache_.folder()), services_.paths.homeFolder,
                             services_.paths.profilesRoot, reach == CacheReach::EveryProfile);
    for (const UserCacheFolder& user : users) {
        if (ListRow* row = ListView2->add(user.folder, user.user)) {
            ListView2->setSubItem(row, 1, user.folder);
            QString folder = user.folder;
            ListSubfolders(folder, folderList_, true);
        }
    }
    for (const QString& folder : std::as_const(folderList_)) {
        if (!folder.isEmpty()) {
            ListView3->add(folder, folder);
        }
    }
}

void fIEcache::AddUserCacheFiles() {
    for (int position = 1; position <= ListView2->count() && !Stopped(); ++position) {
        const ListRow* user = ListView2->at(position);
        QString folder = user->subItem(1);
        QStringList files{QString()};
        ListFiles(folder, files, true);
        for (const QString& file : std::as_const(files)) {
            ListRow* row = file.isEmpty() ? nullptr : ListView1->add(file, kUserRow + user->text());
            if (row) {
                ListView1->setSubItem(row, Type, ExtensionFromAddress(file));
                ListView1->setSubItem(row, Size, QString::number(QFileInfo(file).size()));
                ListView1->setSubItem(row, FilePath, file);
            }
        }
        runtime().yield();
    }
}

void fIEcache::DeleteRows(const std::function<bool(const ListRow*)>& chosen) {
    // Only what lies in the folders listed here may go: the current user's cache and
    // the profiles' caches of the last folder listing.
    QStringList folders{cache_.folder()};
    for (int position = 1; position <= ListView2->count(); ++position) {
        folders.append(ListView2->at(position)->subItem(1));
    }
    CacheDeletion deletion(cache_, folders);
    for (int position = 1; position <= ListView1->count() && !Stopped(); ++position) {
        const ListRow* row = ListView1->at(position);
        if (chosen(row)) {
            deletion.DeleteRow(row->text(), row->subItem(Type), row->subItem(FilePath));
            runtime().yield();
        }
    }
    deletion.DeleteEntries();
    deletion.删除空文件夹(folderList_);
    if (Stopped()) {
        return;
    }
    if (listTag_ == kMyCache) {
        IndexListing();
    } else if (listTag_ == kAllCaches) {
        FolderListing(reach_);
    }
}

void fIEcache::ShowCount(const QString& prefix) {
    Label1->setCaption(prefix + QString::number(ListView1->count()) + QStringLiteral(" 个文件"));
}
