#pragma once

#include "app/DownloadMethodDisplay.h"
#include "app/WindowNames.h"
#include "download/DownloadHost.h"
#include "download/DownloadListOperations.h"
#include "download/DownloadRunState.h"
#include "download/DownloadScheduler.h"
#include "download/ParallelMethod.h"
#include "download/SingleConnectionMethod.h"
#include "download/WebLogin.h"
#include "download/WebLoginHost.h"
#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListView.h"
#include "platform/controls/OptionButton.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/StatusBar.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Timer.h"
#include "platform/window/Window.h"

struct AppServices;
class Browser;
class Dialogs;
class DownloadEntry;
class Shell;

// The download window: the download list with its control panel, the login panel and
// the menus. The list is the model of the entries (see DownloadEntry); it lives as
// long as the window and starts empty at every load.
class fFileDownload final : public Window,
                            public DownloadMethodDisplay,
                            private DownloadHost,
                            private WebLoginHost {
  public:
    static inline const QString kName = WindowNames::kDownload;
    // The state icons of the list: <state>.png.
    static inline const QString kStateIcons = QStringLiteral(":/images/IL_LV3");
    static constexpr int kRowHeight = 17;

    fFileDownload(Forms& forms, AppServices& services);

    // The control panel and its background.
    PictureBox* Picture3;
    PictureBox* Image1;
    Button* Command4;
    Button* Command31;
    Label* Label7;
    Button* Command26;
    ComboBox* Combo1;
    ComboBox* Combo2;
    PictureBox* Shape1;
    Label* Label1;
    CheckBox* Check4;
    CheckBox* Check3;
    ComboBox* Combo4;
    CheckBox* Check6;
    CheckBox* Check5;
    OptionButton* Option1;
    OptionButton* Option2;
    OptionButton* Option3;
    Button* Command1;

    ListView* ListView3;

    // The login panel over the list, hidden at start.
    PictureBox* PicWebBK;
    TextBox* Text1;
    Button* Command2;
    Button* Command3;
    OptionButton* Option4;
    TextBox* Text2;
    TextBox* Text3;
    OptionButton* Option5;
    Button* Command5;
    CheckBox* Check2;
    ComboBox* Combo3;
    CheckBox* Check1;
    // The login browser; nullptr when the platform has none.
    Browser* Web1;

    StatusBar* StatusBar1;
    Timer* Timer1;
    Timer* Timer_Down;
    Timer* Timer2;

    // 列表操作(&D), also the list's pop-up menu.
    MenuItem* menu列表操作;
    MenuItem* menu全选;
    MenuItem* menu全不选;
    MenuItem* menu随机排序;
    MenuItem* menu自动调整列宽;
    MenuItem* menu重新下载;
    MenuItem* menu重新下载选中项;
    MenuItem* menu重新下载出错项;
    MenuItem* menu重新下载网页类型;
    MenuItem* menu重新下载出错和网页类型;
    MenuItem* menu重新下载小文件;
    MenuItem* menu移除;
    MenuItem* menu移除选中项;
    MenuItem* menu移除完成项;
    MenuItem* menu移除未完成项;
    MenuItem* menu移除出错项;
    MenuItem* menu清空全部;
    MenuItem* menu删除文件;
    MenuItem* menu删除网页类型;
    MenuItem* menu删除出错项;
    MenuItem* menu删除选中项;
    MenuItem* menu删除小文件;
    MenuItem* menu下载全部;
    MenuItem* menu停止下载;
    MenuItem* menu取消下载选中项;
    MenuItem* menu打开下载文件;
    MenuItem* menu打开所在文件夹;
    MenuItem* menu用记事本打开;
    MenuItem* menu复制名称;
    MenuItem* menu批量替换网址;
    MenuItem* menu导出名称;
    MenuItem* menu导出全部;
    MenuItem* menu导出未完成项;
    MenuItem* menu关闭窗口;
    // 窗口(&W)
    MenuItem* menu窗口;
    MenuItem* menu资料检索分析窗口;
    // 工具(&T)
    MenuItem* menu工具;
    MenuItem* menu设置;
    MenuItem* menu自动定位到下载项;
    MenuItem* menu检查文件是否存在;
    MenuItem* menu检查并纠正文件类型;
    MenuItem* menu清空浏览器缓存;
    MenuItem* menu打开文件判断类型;
    // 帮助(&H)
    MenuItem* menu帮助;
    MenuItem* menu关于;
    MenuItem* menu软件主页;
    MenuItem* menu意见反馈;

    // downloadBusy and the last transfer end, shared with the scheduler and the methods.
    DownloadRunState runState;
    SingleConnectionMethod single;
    ParallelMethod parallel;
    DownloadScheduler scheduler;
    WebLogin login;

    // Label1 shows the number of entries: "12条".
    void RefreshCountLabel();
    // True while downloads may be running: list operations that move rows or files
    // refuse to run then.
    bool DownloadActive() const { return scheduler.DownloadActive(); }
    // Stops everything: the automatic starts, the download timer, every transfer, the
    // busy flag; entries that were downloading become Failed.
    void StopDownload() { scheduler.StopDownload(); }
    // The web login; `interactive` shows its messages. Runs after a download brought a
    // web page when automatic login is ticked.
    void RunWebLogin(bool interactive) override;
    void ApplyDownloadMethod(int method) override;

  protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_QueryUnload(bool& cancel) override;
    void Form_Unload() override;

  private:
    // What the scheduler and the methods read and show.
    DownloadOptions options() const override;
    bool downloadTimerOn() const override;
    void setDownloadTimer(bool on) override;
    void clearAutomatics() override;
    void showRunState(bool startEnabled, bool busyShown) override;
    void showStatusCounts(const QString& counts) override;
    void showStatusText(const QString& text) override;
    void showTransferState(const QString& text) override;
    bool closing() const override;
    void playCue(int number) override;

    // What the web login reads and shows.
    LoginSettings loginSettings() const override;
    void clearAutoLogin() override;
    void setBrowseEnabled(bool enabled) override;
    void setTestLoginEnabled(bool enabled) override;

    void buildMenus();
    void bindLoginHandlers();
    void Command1_Click();
    void Command3_Click();
    void Check2_Click();
    void Web1_TitleChange(const QString& title);
    void Web1_NewWindow(const QString& url, bool* handled);
    // The guard of the operations that move rows or files: while downloads may run, it
    // says so and refuses.
    bool refusedWhileDownloading();
    void Command26_Click();
    void ListView3_ItemClick(ListRow* row);
    void ListView3_Click();
    void ListView3_DblClick();
    void ListView3_ColumnClick(int column);
    void ListView3_MouseDown(MouseButton button);
    void StatusBar1_PanelClick(int panel);
    // The list menu.
    void menu重新下载小文件_Click();
    void Remove(RemovalChoice choice);
    void menu清空全部_Click();
    void menu删除小文件_Click();
    void menu随机排序_Click();
    void menu自动调整列宽_Click();
    void menu取消下载选中项_Click();
    // Runs an action on the list's current entry; nothing when there is none.
    void onCurrentEntry(void (*action)(const DownloadEntry&, Shell&, Dialogs&));
    void menu复制名称_Click();
    void menu批量替换网址_Click();
    void ExportNames(bool unfinishedOnly);
    void menu资料检索分析窗口_Click();
    void menu设置_Click();
    void menu检查并纠正文件类型_Click();
    void menu打开文件判断类型_Click();
    // Enables the list menu's items for the pop-up: removals while idle, stop while busy.
    void SetListMenuState();
    QString selectedDuplicatePolicy() const;

    AppServices& services_;
    ListView::SortOrder sortOrder_ = ListView::SortOrder::Descending;
};
