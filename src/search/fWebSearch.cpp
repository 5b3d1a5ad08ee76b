#include "search/fWebSearch.h"

#include <QLocale>
#include <QUrl>

#include "app/AboutBox.h"
#include "app/AppServices.h"
#include "app/BrowserCacheViewer.h"
#include "app/Config.h"
#include "app/ConfigReaders.h"
#include "app/SettingsKeys.h"
#include "app/fCover.h"
#include "app/fOption.h"
#include "app/fSeleFileSavePath.h"
#include "platform/browser/Browser.h"
#include "platform/browser/BrowserFactory.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/runtime/Runtime.h"
#include "platform/text/Gbk.h"
#include "platform/window/Forms.h"
#include "search/ResultColumns.h"
#include "search/ResultPageRules.h"
#include "sys/FileSystem.h"
#include "sys/ListHelpers.h"
#include "sys/ShellActions.h"

namespace {

const QString kLanguageGroup = QStringLiteral("语言");
constexpr int kStatusPanels = 2;
constexpr int kBrowserStatusPanel = 2;
// The splitter: its margins and thickness, and the room it leaves the list pane.
constexpr int kBarLeft = 20;
constexpr int kBarWidthMargin = 300;
constexpr int kBarHeight = 60;
constexpr int kBarLowestGap = 1200;
// Red in the platform's blue-green-red order.
constexpr Color kRunningColour = Color::fromBgr(255);

// Restores a choice list's position saved as decimal text; anything else keeps it.
void restoreListIndex(ComboBox& combo, const QString& saved) {
    const std::optional<int32_t> index = ConfigReaders::wholeNumber(saved);
    if (index && *index >= 0 && *index < combo.listCount()) {
        combo.setListIndex(*index);
    }
}

// Writes a text file in GBK, replacing the old one only once the new one is complete;
// the number of bytes written, or -1.
qint64 writeGbkFile(const QString& path, const QString& text) {
    const QByteArray bytes = Gbk::encode(text);
    return ReplaceFile(LocalFilePath(path), bytes) ? bytes.size() : -1;
}

}  // namespace

fWebSearch::fWebSearch(Forms& forms, AppServices& services)
    : Window(forms, kName),
      PicPanWeb(new PictureBox(this, QStringLiteral("PicPanWeb"))),
      Frame1(new Frame(this, QStringLiteral("Frame1"), QStringLiteral("自动提取文档链接"))),
      Label3(new Label(this, QStringLiteral("Label3"), QStringLiteral("每行一组关键词："))),
      Text1(new TextBox(this, QStringLiteral("Text1"), true)),
      Command1(new Button(this, QStringLiteral("Command1"), kBatchStart)),
      Label6(new Label(this, QStringLiteral("Label6"), QStringLiteral("已经完成："))),
      Text2(new TextBox(this, QStringLiteral("Text2"), true)),
      Command4(new Button(this, QStringLiteral("Command4"), kAddAllStart)),
      Label7(new Label(this, QStringLiteral("Label7"), QStringLiteral("限速延时：       秒"))),
      Combo1(new ComboBox(this, QStringLiteral("Combo1"), ComboBox::Style::ListOnly)),
      Check5(new CheckBox(this, QStringLiteral("Check5"),
                          QStringLiteral("禁止网页脚本对话框  网页超时："), true)),
      Combo2(new ComboBox(this, QStringLiteral("Combo2"), ComboBox::Style::ListOnly)),
      Check6(new CheckBox(this, QStringLiteral("Check6"),
                          QStringLiteral("每一组关键词作为完整关键词搜索"))),
      Check4(new CheckBox(this, QStringLiteral("Check4"), QStringLiteral("仅在标题中搜索"))),
      Option1(new OptionButton(this, QStringLiteral("Option1"), kLanguageGroup,
                               QStringLiteral("全部语言"), true)),
      Option2(new OptionButton(this, QStringLiteral("Option2"), kLanguageGroup,
                               QStringLiteral("简体中文"))),
      Label4(new Label(this, QStringLiteral("Label4"), QStringLiteral("文件类型："))),
      Check3(new CheckBox(this, kFileTypes[0].checkBox, kFileTypes[0].type, true)),
      Check8(new CheckBox(this, kFileTypes[1].checkBox, kFileTypes[1].type, true)),
      Check9(new CheckBox(this, kFileTypes[2].checkBox, kFileTypes[2].type, true)),
      Check10(new CheckBox(this, kFileTypes[3].checkBox, kFileTypes[3].type, true)),
      Check11(new CheckBox(this, kFileTypes[4].checkBox, kFileTypes[4].type, true)),
      WebBrowser1(services.browsers.create(this, QStringLiteral("WebBrowser1"))),
      PicBar(new PictureBox(this, QStringLiteral("PicBar"))),
      PicPanList(new PictureBox(this, QStringLiteral("PicPanList"))),
      Check1(
          new CheckBox(this, QStringLiteral("Check1"), QStringLiteral("删除标题中的空格"), true)),
      Check2(new CheckBox(this, QStringLiteral("Check2"),
                          QStringLiteral("不添加文件类型不明的链接"), true)),
      Check12(new CheckBox(this, QStringLiteral("Check12"), QStringLiteral("删除标题中的来源网址"),
                           true)),
      Check7(new CheckBox(this, QStringLiteral("Check7"), QStringLiteral("自动分析未分析项"))),
      Label2(new Label(this, QStringLiteral("Label2"), QStringLiteral("待下载列表："))),
      Label1(new Label(this, QStringLiteral("Label1"), QStringLiteral("0"))),
      Command9(new Button(this, QStringLiteral("Command9"), QStringLiteral("加入本页到列表"))),
      Command7(new Button(this, QStringLiteral("Command7"), QStringLiteral("导出数据..."))),
      Command2(new Button(this, QStringLiteral("Command2"), QStringLiteral("分析下载"))),
      ListView1(new ListView(this, QStringLiteral("ListView1"))),
      PicPanPrograss(new PictureBox(this, QStringLiteral("PicPanPrograss"))),
      Label11(new Label(this, QStringLiteral("Label11"), QStringLiteral("正在分析，请稍候..."))),
      Command5(new Button(this, QStringLiteral("Command5"), QStringLiteral("停止"))),
      StatusBar1(new StatusBar(this, QStringLiteral("StatusBar1"), kStatusPanels)),
      Timer1(new Timer(this, QStringLiteral("Timer1"), services.runtime, 1000)),
      batch(services.runtime, forms.dialogs(), WebBrowser1, services.searchBase, runState, *this),
      handOver(services.runtime, forms, services.config, *ListView1, runState, *this),
      services_(services) {
    setMinimumSize(QSize(kMinimumWidth, kMinimumHeight));
    Text2->setLocked(true);
    PicPanPrograss->setVisible(false);
    PicBar->setBackColor(Color::fromRgb(0xC0C0C0));

    ListView1->addColumn(QStringLiteral("标题"), 360);
    ListView1->addColumn(QStringLiteral("类型"), 50);
    ListView1->addColumn(QStringLiteral("分析状态"), 70);
    ListView1->addColumn(QStringLiteral("保存路径"), 200);
    ListView1->setMultiSelect(true);
    PaintRowStripes(*ListView1, kRowHeight);

    buildMenus();
    bindHandlers();
}

fWebSearch::~fWebSearch() = default;

void fWebSearch::buildMenus() {
    menu浏览 = addMenu(QStringLiteral("menu浏览"), QStringLiteral("浏览(&B)"));
    menu打开雅虎搜索首页 =
        menu浏览->add(QStringLiteral("menu打开雅虎搜索首页"), QStringLiteral("打开雅虎搜索首页"));
    menu打开指定网址 =
        menu浏览->add(QStringLiteral("menu打开指定网址"), QStringLiteral("打开指定网址"));
    menu浏览->addSeparator();
    menu后退 = menu浏览->add(QStringLiteral("menu后退"), QStringLiteral("后退"));
    menu前进 = menu浏览->add(QStringLiteral("menu前进"), QStringLiteral("前进"));
    menu浏览->addSeparator();
    menu关闭本窗口 = menu浏览->add(QStringLiteral("menu关闭本窗口"), QStringLiteral("关闭本窗口"));

    menu清除 = addMenu(QStringLiteral("menu清除"), QStringLiteral("清除(&C)"));
    menu清除选中项 = menu清除->add(QStringLiteral("menu清除选中项"), QStringLiteral("清除选中项"));
    menu清除分析成功项 =
        menu清除->add(QStringLiteral("menu清除分析成功项"), QStringLiteral("清除分析成功项"));
    menu清除标题含指定字符项 = menu清除->add(QStringLiteral("menu清除标题含指定字符项"),
                                             QStringLiteral("清除标题含指定字符项"));
    menu清除标题不含指定字符项 = menu清除->add(QStringLiteral("menu清除标题不含指定字符项"),
                                               QStringLiteral("清除标题不含指定字符项"));
    menu清空全部 = menu清除->add(QStringLiteral("menu清空全部"), QStringLiteral("清空全部"));

    menu工具 = addMenu(QStringLiteral("menu工具"), QStringLiteral("工具(&T)"));
    menu设置 = menu工具->add(QStringLiteral("menu设置"), QStringLiteral("设置"));
    menu打开下载窗口 =
        menu工具->add(QStringLiteral("menu打开下载窗口"), QStringLiteral("打开下载窗口"));
    menu工具->addSeparator();
    menu查看IE浏览器缓存 =
        menu工具->add(QStringLiteral("menu查看IE浏览器缓存"), QStringLiteral("查看IE浏览器缓存"));
    menu清空IE浏览器缓存 =
        menu工具->add(QStringLiteral("menu清空IE浏览器缓存"), QStringLiteral("清空IE浏览器缓存"));
    menu网页源码另存为 =
        menu工具->add(QStringLiteral("menu网页源码另存为"), QStringLiteral("网页源码另存为"));

    menu帮助 = addMenu(QStringLiteral("menu帮助"), QStringLiteral("帮助(&H)"));
    menu关于 = menu帮助->add(QStringLiteral("menu关于"), QStringLiteral("关于(&A)"));
    menu使用方法 = menu帮助->add(QStringLiteral("menu使用方法"), QStringLiteral("使用方法"));
    menu帮助->addSeparator();
    menu最新版本 = menu帮助->add(QStringLiteral("menu最新版本"), QStringLiteral("最新版本"));
    menu作者网站 = menu帮助->add(QStringLiteral("menu作者网站"), QStringLiteral("作者网站"));
    menu岚鹊软件 = menu作者网站->add(QStringLiteral("menu岚鹊软件"), QStringLiteral("岚鹊软件"));
    menu澄楠软件 = menu作者网站->add(QStringLiteral("menu澄楠软件"), QStringLiteral("澄楠软件"));
    menu软件定制 = menu帮助->add(QStringLiteral("menu软件定制"), QStringLiteral("软件定制"));
    // The maker's pages need its site; without one they stay disabled.
    for (MenuItem* item : {menu最新版本, menu作者网站, menu软件定制}) {
        item->setEnabled(!services_.makerSite.isEmpty());
    }

    menu加入 = addMenu(QStringLiteral("menu加入"), QStringLiteral("加入"));
    menu分析未分析项 =
        menu加入->add(QStringLiteral("menu分析未分析项"), QStringLiteral("分析未分析项"));
    menu分析失败项 = menu加入->add(QStringLiteral("menu分析失败项"), QStringLiteral("分析失败项"));
    menu分析选中项 = menu加入->add(QStringLiteral("menu分析选中项"), QStringLiteral("分析选中项"));
    menu分析全部 = menu加入->add(QStringLiteral("menu分析全部"), QStringLiteral("分析全部"));
}

void fWebSearch::bindHandlers() {
    Command1->onClick = guard([this] { batch.RunBatchSearch(Text1->text()); });
    Command4->onClick = guard([this] { batch.AddAllPages(); });
    Command9->onClick = guard([this] { Command9_Click(); });
    Command7->onClick = guard([this] { Command7_Click(); });
    Command2->onClick = guard([this] { Command2_Click(); });
    Check7->onClick = guard([this] { Check7_Click(); });
    Timer1->onTick = guard([this] { Timer1_Timer(); });
    Command5->onClick = guard([this] { runState.handOverStop = true; });
    const auto pass = [this](HandOver::Pass pass) {
        return guard([this, pass] { handOver.RunPass(pass); });
    };
    menu分析未分析项->onClick = pass(HandOver::Pass::分析未分析项);
    menu分析失败项->onClick = pass(HandOver::Pass::分析失败项);
    menu分析选中项->onClick = pass(HandOver::Pass::分析选中项);
    menu分析全部->onClick = pass(HandOver::Pass::分析全部);
    Check5->onClick = guard([this] {
        if (WebBrowser1) {
            WebBrowser1->setSilent(Check5->value());
        }
    });
    ListView1->onMouseDown =
        guard([this](MouseButton button, QPoint) { ListView1_MouseDown(button); });
    PicBar->onMouseDown = guard([this](MouseButton b, QPoint at) { PicBar_MouseDown(b, at); });
    PicBar->onMouseMove = guard([this](MouseButton b, QPoint at) { PicBar_MouseMove(b, at); });
    PicBar->onMouseUp = guard([this](MouseButton b, QPoint at) { PicBar_MouseUp(b, at); });

    menu打开雅虎搜索首页->onClick = guard([this] { menu打开雅虎搜索首页_Click(); });
    menu打开指定网址->onClick = guard([this] { menu打开指定网址_Click(); });
    menu后退->onClick = guard([this] {
        if (WebBrowser1) {
            WebBrowser1->back();
        }
    });
    menu前进->onClick = guard([this] {
        if (WebBrowser1) {
            WebBrowser1->forward();
        }
    });
    menu关闭本窗口->onClick = guard([this] { close(); });

    menu清除选中项->onClick =
        guard([this] { RemoveEntriesWhere([](ListRow* row) { return row->selected(); }); });
    menu清除分析成功项->onClick = guard([this] {
        RemoveEntriesWhere([](ListRow* row) {
            return row->subItem(ResultColumns::kStatus) == ResultColumns::kHandedOver;
        });
    });
    menu清除标题含指定字符项->onClick = guard([this] { menu清除标题_Click(true); });
    menu清除标题不含指定字符项->onClick = guard([this] { menu清除标题_Click(false); });
    menu清空全部->onClick = guard([this] { menu清空全部_Click(); });

    menu设置->onClick = guard([this] {
        if (Window* options = forms().load(fOption::kName)) {
            options->showModal();
        }
    });
    menu打开下载窗口->onClick = guard([this] {
        if (Window* download = forms().load(WindowNames::kDownload)) {
            download->show();
        }
    });
    menu查看IE浏览器缓存->onClick = guard([this] {
        if (Window* viewer = forms().load(WindowNames::kIEcache)) {
            viewer->showModal();
        }
    });
    menu清空IE浏览器缓存->onClick =
        guard([this] { ClearBrowserCache(forms(), true, CacheReach::EveryProfile); });
    menu网页源码另存为->onClick = guard([this] { menu网页源码另存为_Click(); });
    menu关于->onClick = guard([this] { ShowAboutBox(dialogs()); });
    menu使用方法->onClick = guard([this] {
        dialogs().info(
            QStringLiteral("1. 每行输入一组关键词，勾选文件类型；\r\n"
                           "2. 点击“开始批量搜索提取”，程序逐页搜索并把文档链接加入列表；\r\n"
                           "3. 出现验证页面时批量搜索自动停止，请在网页中完成验证后再继续；\r\n"
                           "4. 点击“分析下载”把列表交给下载窗口。"));
    });
    const auto makerPage = [this](const QString& path) {
        return guard(
            [this, path] { OpenWebPage(MakerPage(services_.makerSite, path), services_.shell); });
    };
    menu最新版本->onClick =
        guard([this] { OpenWebPage(ProgramPage(services_.makerSite), services_.shell); });
    menu岚鹊软件->onClick = makerPage(QStringLiteral("/"));
    menu澄楠软件->onClick = makerPage(QStringLiteral("/software/"));
    menu软件定制->onClick = makerPage(QStringLiteral("/custom/"));

    if (WebBrowser1) {
        connect(WebBrowser1, &Browser::documentComplete, this,
                guard([this](bool topLevel, const QString&) {
                    WebBrowser1_DocumentComplete(topLevel);
                }));
        connect(WebBrowser1, &Browser::statusTextChange, this, guard([this](const QString& text) {
                    StatusBar1->setPanelText(kBrowserStatusPanel, text);
                }));
        connect(WebBrowser1, &Browser::beforeNavigate, this,
                guard([this](const QString& url) { WebBrowser1_BeforeNavigate(url); }));
        connect(WebBrowser1, &Browser::newWindow, this,
                guard([this](const QString& url, bool* handled) {
                    WebBrowser1_NewWindow(url, handled);
                }));
        connect(WebBrowser1, &Browser::windowClosing, this, [](bool* cancel) { *cancel = true; });
    }
}

// --- life cycle ------------------------------------------------------------------------

void fWebSearch::Form_Load() {
    Config& config = services_.config;
    SettingsStore& settings = services_.settings;
    setCaption(QStringLiteral("雅虎页面数据检索分析-") + Settings::kAppTitle);
    setIcon(fCover::kIcon);
    menu加入->setVisible(false);
    ConfigReaders::loadAskPathAtExtraction(settings, config);
    if (WebBrowser1) {
        WebBrowser1->setSilent(Check5->value());
        WebBrowser1->navigate(QStringLiteral("about:blank"));
    }
    runtime().yield();
    show();
    menu打开雅虎搜索首页_Click();
    runState.handOverStop = true;
    runState.addAllStop = true;
    runState.batchStop = true;
    Text1->setText(ConfigReaders::read(settings, Settings::kSearchKeywords));
    Combo1->setItems(WholeNumbers(0, 120));
    Combo1->setListIndex(0);
    restoreListIndex(*Combo1, ConfigReaders::read(settings, Settings::kSearchDelay));
    Combo2->setItems(WholeNumbers(10, 120));
    Combo2->setListIndex(0);
    restoreListIndex(*Combo2, ConfigReaders::read(settings, Settings::kSearchTimeout));
}

void fWebSearch::Form_Resize() {
    if (windowState() != WindowState::Minimized) {
        LayoutPanes();
    }
}

void fWebSearch::Form_Unload() {
    runState.addAllStop = true;
    runState.handOverStop = true;
    runState.batchStop = true;
    SettingsStore& settings = services_.settings;
    ConfigReaders::write(settings, Settings::kSearchKeywords, Text1->text());
    ConfigReaders::write(settings, Settings::kSearchDelay, QString::number(Combo1->listIndex()));
    ConfigReaders::write(settings, Settings::kSearchTimeout, QString::number(Combo2->listIndex()));
    Timer1->stop();
    fCover::ShowUnlessLoaded(forms(), WindowNames::kDownload);
}

// --- the panes and the splitter --------------------------------------------------------

void fWebSearch::LayoutPanes() {
    const QSize client = clientSize();
    if (client.isEmpty()) {
        return;
    }
    if (barTop_ == kBarNotPlaced) {
        barTop_ = client.height() * 3 / 5;
    }
    if (barTop_ > client.height() - kBarLowestGap || barTop_ < 0) {
        barTop_ = client.height() * 4 / 5;
    }
    PicPanWeb->setGeometry(QRect(0, 0, client.width(), barTop_));
    PicBar->setGeometry(QRect(kBarLeft, barTop_, client.width() - kBarWidthMargin, kBarHeight));
    const int listTop = barTop_ + kBarHeight;
    PicPanList->setGeometry(QRect(0, listTop, client.width(), client.height() - listTop));
    PaintRowStripes(*ListView1, kRowHeight);
}

void fWebSearch::PicBar_MouseDown(MouseButton button, QPoint twips) {
    if (button == MouseButton::Left) {
        draggingBar_ = true;
        dragStartY_ = twips.y();
    }
}

void fWebSearch::PicBar_MouseMove(MouseButton button, QPoint twips) {
    if (!draggingBar_ || button != MouseButton::Left) {
        return;
    }
    barTop_ += twips.y() - dragStartY_;
    const QRect bar = PicBar->geometry();
    PicBar->setGeometry(QRect(bar.left(), barTop_, bar.width(), bar.height()));
}

void fWebSearch::PicBar_MouseUp(MouseButton button, QPoint) {
    if (button == MouseButton::Left && draggingBar_) {
        draggingBar_ = false;
        LayoutPanes();
    }
}

// --- extraction ------------------------------------------------------------------------

SearchOptions fWebSearch::searchOptions() const {
    SearchOptions options;
    options.quoteWholeGroup = Check6->value();
    options.titleOnly = Check4->value();
    options.simplifiedChineseOnly = Option2->value();
    const CheckBox* const types[] = {Check3, Check8, Check9, Check10, Check11};
    for (size_t i = 0; i < kFileTypes.size(); ++i) {
        options.fileTypes[i] = types[i]->value();
    }
    return options;
}

QString fWebSearch::ExtractionSaveFolder() const {
    return services_.config.AskPathAtExtraction == 1 ? services_.config.ChosenSaveFolder
                                                     : QString();
}

void fWebSearch::askSaveFolder() {
    if (savePathPreset || services_.config.AskPathAtExtraction != 1) {
        return;
    }
    if (Window* dialog = forms().load(fSeleFileSavePath::kName)) {
        dialog->showModal();
    }
}

void fWebSearch::ExtractResultPage(const QString& saveFolder) {
    const std::shared_ptr<const HtmlDocument> document =
        WebBrowser1 ? WebBrowser1->document() : nullptr;
    const auto options = [this] {
        return ResultPageRules::Options{Check1->value(), Check2->value(), Check12->value()};
    };
    const QString sourcePage = document ? document->url() : QString();
    const auto kind =
        ResultPageRules::Walk(document.get(), options, [&](const ResultPageRules::Entry& entry) {
            加入LV1(entry.title, entry.link, sourcePage, entry.type, saveFolder);
        });
    if (kind == ResultPageRules::PageKind::Verification) {
        runState.verificationDemanded = true;
    }
    Label1->setCaption(QString::number(ListView1->count()));
}

void fWebSearch::加入LV1(const QString& title, const QString& link, const QString& sourcePage,
                         const QString& type, const QString& saveFolder) {
    // The link is the row key and compared exactly: two addresses that differ only in
    // letter case are different entries, since paths on most servers are case-sensitive.
    ListRow* row = ListView1->add(link, title);
    if (!row) {
        return;  // already in the list
    }
    ListView1->setSubItem(row, ResultColumns::kType, type);
    ListView1->setTag(row, sourcePage);
    ListView1->setSubItem(row, ResultColumns::kSaveFolder, saveFolder);
}

void fWebSearch::FitResultColumns() {
    AutoSizeColumns(*ListView1, -2);
}

void fWebSearch::Command9_Click() {
    askSaveFolder();
    ExtractResultPage(ExtractionSaveFolder());
    FitResultColumns();
}

// --- what the batch reads and reports ---------------------------------------------------

int fWebSearch::delaySeconds() const {
    return Combo1->text().toInt();
}

int fWebSearch::timeoutSeconds() const {
    return Combo2->text().toInt();
}

void fWebSearch::extractShownPage() {
    ExtractResultPage(ExtractionSaveFolder());
}

void fWebSearch::runChanged(Run run, bool running) {
    const bool batchRun = run == Run::Batch;
    Button& button = batchRun ? *Command1 : *Command4;
    if (running) {
        button.setCaption(batchRun ? kBatchStop : kAddAllStop);
        button.setBackColor(kRunningColour);
    } else {
        button.setCaption(batchRun ? kBatchStart : kAddAllStart);
        button.setBackColor(Color());
        button.setEnabled(true);
    }
}

void fWebSearch::batchStopRequested() {
    Command1->setEnabled(false);
}

void fWebSearch::progressChanged(const QString& progress) {
    Text2->setText(progress);
}

void fWebSearch::pagesAdded() {
    FitResultColumns();
}

// --- the hand-over -----------------------------------------------------------------------

void fWebSearch::Command2_Click() {
    Command2->setEnabled(false);
    if (ListView1->count() == 0) {
        dialogs().info(QStringLiteral("列表没有数据哦！"));
    } else if (ListView1->selectedRows().isEmpty()) {
        handOver.RunPass(HandOver::Pass::分析全部);
    } else {
        popupMenu(menu加入);
    }
    Command2->setEnabled(true);
}

void fWebSearch::Check7_Click() {
    // Switching the automatic mode on settles the folder once for all its passes.
    const bool automatic = Check7->value() && handOver.SaveFolderConfirmed();
    Timer1->setOn(automatic);
    Check7->setValue(automatic);
}

void fWebSearch::Timer1_Timer() {
    handOver.RunPass(HandOver::Pass::分析未分析项);
}

void fWebSearch::showPassRunning(bool running) {
    if (running) {
        Label11->setCaption(kPassRunning);
        PicPanPrograss->bringToFront();
    }
    PicPanPrograss->setVisible(running);
}

bool fWebSearch::automaticMode() const {
    return Timer1->isEnabled();
}

bool fWebSearch::confirmSaveFolder() {
    if (savePathPreset) {
        return true;
    }
    Window* dialog = forms().load(fSeleFileSavePath::kName);
    if (!dialog) {
        return false;
    }
    dialog->showModal();
    return !services_.config.SavePathCancelled;
}

// --- the result list ---------------------------------------------------------------------

void fWebSearch::ListView1_MouseDown(MouseButton button) {
    if (button == MouseButton::Right) {
        popupMenu(menu清除);
    }
}

bool fWebSearch::RefuseClearingDuringHandOver() {
    if (runState.handOverStop) {
        return false;
    }
    dialogs().error(QStringLiteral("正在分析，不能清除！"));
    return true;
}

void fWebSearch::RemoveEntriesWhere(const std::function<bool(ListRow*)>& removes) {
    if (RefuseClearingDuringHandOver() || ListView1->count() == 0) {
        return;
    }
    ListView1->setVisible(false);
    int position = 1;
    while (position <= ListView1->count()) {
        ListRow* row = ListView1->at(position);
        if (removes(row)) {
            ListView1->removeAt(position);
        } else {
            ++position;
        }
    }
    ListView1->setVisible(true);
    Label1->setCaption(QString::number(ListView1->count()));
}

void fWebSearch::menu清除标题_Click(bool containing) {
    if (RefuseClearingDuringHandOver() || ListView1->count() == 0) {
        return;
    }
    const QString characters = dialogs().inputBox(QStringLiteral("请输入指定字符："));
    if (characters.isEmpty()) {
        return;
    }
    RemoveEntriesWhere([&](ListRow* row) {
        return row->text().contains(characters, Qt::CaseInsensitive) == containing;
    });
}

void fWebSearch::menu清空全部_Click() {
    if (RefuseClearingDuringHandOver()) {
        return;
    }
    if (dialogs().askYesNo(QStringLiteral("您确定要清空辛辛苦苦搜索的列表数据吗？"))) {
        ListView1->clear();
        Label1->setCaption(QString::number(ListView1->count()));
    }
}

QString fWebSearch::ExportText() const {
    QString text;
    for (int position = 1; position <= ListView1->count(); ++position) {
        const ListRow* row = ListView1->at(position);
        text += row->text() + QStringLiteral("-【") + row->subItem(ResultColumns::kType) +
                QStringLiteral("】") + row->subItem(ResultColumns::kStatus) +
                QStringLiteral("\r\n");
    }
    return text;
}

void fWebSearch::Command7_Click() {
    if (ListView1->count() == 0) {
        return;
    }
    FileDialogOptions options;
    options.filter = QStringLiteral("*.txt|*.txt");
    options.defaultExtension = QStringLiteral("txt");
    const QString path = dialogs().saveFile(options);
    if (path.isEmpty()) {
        return;
    }
    const qint64 size = writeGbkFile(path, ExportText());
    if (size < 0) {
        return;
    }
    const QString kilobytes = QLocale(QLocale::English).toString(double(size) / 1024, 'f', 1);
    dialogs().info(QStringLiteral("保存文件完毕：") + kilobytes + QStringLiteral("KB"));
}

// --- the browser -------------------------------------------------------------------------

void fWebSearch::menu打开雅虎搜索首页_Click() {
    if (WebBrowser1) {
        WebBrowser1->navigate(batch.homeAddress());
    }
}

void fWebSearch::menu打开指定网址_Click() {
    const QString address =
        dialogs()
            .inputBox(QStringLiteral("请输入需要打开的网址："), {}, QStringLiteral("请输入..."))
            .trimmed();
    if (!address.isEmpty() && WebBrowser1) {
        WebBrowser1->navigate(address);
    }
}

void fWebSearch::menu网页源码另存为_Click() {
    FileDialogOptions options;
    options.filter = QStringLiteral("*.htm|*.htm");
    options.defaultExtension = QStringLiteral("htm");
    const QString path = dialogs().saveFile(options);
    const std::shared_ptr<const HtmlDocument> document =
        WebBrowser1 ? WebBrowser1->document() : nullptr;
    if (path.isEmpty() || !document) {
        return;
    }
    if (writeGbkFile(path, document->documentElement().outerHtml()) >= 0) {
        dialogs().info(QStringLiteral("OK"));
    }
}

bool fWebSearch::IsMakerAddress(const QString& url) const {
    QString host = QUrl(services_.makerSite).host().toLower();
    if (host.isEmpty()) {
        return false;
    }
    if (host.startsWith(QStringLiteral("www."))) {
        host.remove(0, 4);
    }
    // The bare host covers both of the maker's domains, with and without "www.".
    return url.contains(host, Qt::CaseInsensitive);
}

void fWebSearch::WebBrowser1_BeforeNavigate(const QString& url) {
    StatusBar1->setVisible(!IsMakerAddress(url));
}

void fWebSearch::WebBrowser1_NewWindow(const QString& url, bool* handled) {
    *handled = true;
    WebBrowser1->navigate(url);
}

void fWebSearch::WebBrowser1_DocumentComplete(bool topLevel) {
    if (topLevel) {
        runState.pageLoading = false;
    }
}
