#pragma once

#include <functional>

#include "app/WindowNames.h"
#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Frame.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListView.h"
#include "platform/controls/OptionButton.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/StatusBar.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Timer.h"
#include "platform/window/Window.h"
#include "search/HandOver.h"
#include "search/HandOverHost.h"
#include "search/SearchBatch.h"
#include "search/SearchBatchHost.h"
#include "search/SearchOptions.h"
#include "search/SearchRunState.h"

class Browser;
struct AppServices;

// The search window: the embedded browser that shows the engine's result pages, the
// batch search that drives it (SearchBatch), the result list that the extraction of
// those pages fills, and the hand-over of that list to the download window (HandOver).
class fWebSearch final : public Window, private SearchBatchHost, private HandOverHost {
  public:
    static inline const QString kName = WindowNames::kSearch;
    // The run buttons' captions.
    static inline const QString kBatchStart = QStringLiteral("开始批量搜索提取");
    static inline const QString kBatchStop = QStringLiteral("停止批量搜索");
    static inline const QString kAddAllStart = QStringLiteral("加入全部到列表");
    static inline const QString kAddAllStop = QStringLiteral("停止加入全部");
    // Label11 while a hand-over pass runs.
    static inline const QString kPassRunning = QStringLiteral("正在分析,请稍候...");
    static constexpr int kRowHeight = 17;
    // Smallest window, in twips.
    static constexpr int kMinimumWidth = 9000;
    static constexpr int kMinimumHeight = 5000;

    fWebSearch(Forms& forms, AppServices& services);
    ~fWebSearch() override;

    // The browser pane: the search panel and the browser.
    PictureBox* PicPanWeb;
    Frame* Frame1;
    Label* Label3;  // "每行一组关键词："
    TextBox* Text1;
    Button* Command1;
    Label* Label6;
    TextBox* Text2;
    Button* Command4;
    Label* Label7;
    ComboBox* Combo1;
    CheckBox* Check5;
    ComboBox* Combo2;
    CheckBox* Check6;
    CheckBox* Check4;
    OptionButton* Option1;
    OptionButton* Option2;
    Label* Label4;  // "文件类型："
    CheckBox* Check3;
    CheckBox* Check8;
    CheckBox* Check9;
    CheckBox* Check10;
    CheckBox* Check11;
    // Null when the program runs without browsers.
    Browser* WebBrowser1;

    // The splitter between the panes.
    PictureBox* PicBar;

    // The list pane.
    PictureBox* PicPanList;
    CheckBox* Check1;
    CheckBox* Check2;
    CheckBox* Check12;
    CheckBox* Check7;
    Label* Label2;
    Label* Label1;
    Button* Command9;
    Button* Command7;
    Button* Command2;
    ListView* ListView1;
    PictureBox* PicPanPrograss;
    Label* Label11;
    Button* Command5;

    StatusBar* StatusBar1;
    Timer* Timer1;

    // 浏览(&B)
    MenuItem* menu浏览;
    MenuItem* menu打开雅虎搜索首页;
    MenuItem* menu打开指定网址;
    MenuItem* menu后退;
    MenuItem* menu前进;
    MenuItem* menu关闭本窗口;
    // 清除(&C), also the result list's pop-up menu.
    MenuItem* menu清除;
    MenuItem* menu清除选中项;
    MenuItem* menu清除分析成功项;
    MenuItem* menu清除标题含指定字符项;
    MenuItem* menu清除标题不含指定字符项;
    MenuItem* menu清空全部;
    // 工具(&T)
    MenuItem* menu工具;
    MenuItem* menu设置;
    MenuItem* menu打开下载窗口;
    MenuItem* menu查看IE浏览器缓存;
    MenuItem* menu清空IE浏览器缓存;
    MenuItem* menu网页源码另存为;
    // 帮助(&H)
    MenuItem* menu帮助;
    MenuItem* menu关于;
    MenuItem* menu使用方法;
    MenuItem* menu最新版本;
    MenuItem* menu作者网站;
    MenuItem* menu岚鹊软件;
    MenuItem* menu澄楠软件;
    MenuItem* menu软件定制;
    // 加入: hidden from the menu bar, the pop-up menu of Command2.
    MenuItem* menu加入;
    MenuItem* menu分析未分析项;
    MenuItem* menu分析失败项;
    MenuItem* menu分析选中项;
    MenuItem* menu分析全部;

    SearchRunState runState;
    SearchBatch batch;
    HandOver handOver;

    // When set, the save folder of the run is fixed beforehand (ChosenSaveFolder and
    // AskPathAtExtraction) and the save-path dialog is never shown, neither at extraction
    // nor at hand-over: the batch mode.
    bool savePathPreset = false;

    // The query options as the controls set them now.
    SearchOptions searchOptions() const override;

    // Adds every accepted result of the page shown in WebBrowser1 to ListView1 with
    // `saveFolder`, and shows the number of entries in Label1. The verification page
    // adds nothing and raises runState.verificationDemanded.
    void ExtractResultPage(const QString& saveFolder);
    // Adds one result entry; a link already in the list changes nothing.
    void 加入LV1(const QString& title, const QString& link, const QString& sourcePage,
                 const QString& type, const QString& saveFolder);

    // The result list's lines as the export writes them, each ending with CR LF.
    QString ExportText() const;

  protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;

  private:
    // What the batch reads and reports.
    int delaySeconds() const override;
    int timeoutSeconds() const override;
    void extractShownPage() override;
    void askSaveFolder() override;
    void runChanged(Run run, bool running) override;
    void batchStopRequested() override;
    void progressChanged(const QString& progress) override;
    void pagesAdded() override;
    // What a hand-over pass reads and shows.
    void showPassRunning(bool running) override;
    bool automaticMode() const override;
    bool confirmSaveFolder() override;
    // The save folder that an extraction passes on: ChosenSaveFolder when the folder is
    // asked at extraction, else the empty text.
    QString ExtractionSaveFolder() const;
    // Fits ListView1's columns to header and content.
    void FitResultColumns();

    void buildMenus();
    void bindHandlers();
    void LayoutPanes();
    void PicBar_MouseDown(MouseButton button, QPoint twips);
    void PicBar_MouseMove(MouseButton button, QPoint twips);
    void PicBar_MouseUp(MouseButton button, QPoint twips);
    void Command9_Click();
    void Command7_Click();
    void Command2_Click();
    void Check7_Click();
    void Timer1_Timer();
    void ListView1_MouseDown(MouseButton button);
    // The clearing commands.
    bool RefuseClearingDuringHandOver();
    void RemoveEntriesWhere(const std::function<bool(ListRow*)>& removes);
    void menu清除标题_Click(bool containing);
    void menu清空全部_Click();
    // The browser commands and events.
    void menu打开雅虎搜索首页_Click();
    void menu打开指定网址_Click();
    void menu网页源码另存为_Click();
    void WebBrowser1_BeforeNavigate(const QString& url);
    void WebBrowser1_NewWindow(const QString& url, bool* handled);
    void WebBrowser1_DocumentComplete(bool topLevel);
    bool IsMakerAddress(const QString& url) const;

    AppServices& services_;
    // The splitter drag: where the mouse went down on PicBar, in twips.
    bool draggingBar_ = false;
    int dragStartY_ = 0;
    // Before the first layout; it then starts at three fifths of the height.
    static constexpr int kBarNotPlaced = -1;
    int barTop_ = kBarNotPlaced;
};
