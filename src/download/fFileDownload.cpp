#include "download/fFileDownload.h"

#include <QRandomGenerator>
#include <QUrl>
#include <algorithm>

#include "app/AboutBox.h"
#include "app/AppServices.h"
#include "app/BrowserCacheViewer.h"
#include "app/ConfigReaders.h"
#include "app/SettingsKeys.h"
#include "app/fCover.h"
#include "app/fOption.h"
#include "download/DownloadList.h"
#include "download/DownloadListTools.h"
#include "download/EntryFileActions.h"
#include "download/FileTypeDetection.h"
#include "download/UrlReplace.h"
#include "net/RequestFactory.h"
#include "platform/browser/Browser.h"
#include "platform/browser/BrowserFactory.h"
#include "platform/desktop/Clipboard.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/runtime/Runtime.h"
#include "platform/window/Forms.h"
#include "sys/FileSystem.h"
#include "sys/ListHelpers.h"
#include "sys/ShellActions.h"
#include "sys/SoundCue.h"
#include "sys/WindowGeometry.h"

namespace {

const QString kSameNameGroup = QStringLiteral("同名文件");
const QString kLoginGroup = QStringLiteral("登录方式");
const QString kMethodLabel = QStringLiteral("下载方式：");
constexpr int kStatusPanels = 4;
constexpr int kPathPanel = 2;
constexpr int kStatePanel = 3;
constexpr int kCountsPanel = 4;
constexpr int kLongestPause = 600;
// AutoSizeColumns' width for the wider of content and header.
constexpr int kFitToContent = -2;

// Only a web address (http or https) goes to the desktop's browser: the panel may show
// text that came from a web page.
bool isWebAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QStringLiteral("http") || scheme == QStringLiteral("https"));
}

}  // namespace

fFileDownload::fFileDownload(Forms& forms, AppServices& services)
    : Window(forms, kName),
      Picture3(new PictureBox(this, QStringLiteral("Picture3"))),
      Image1(new PictureBox(this, QStringLiteral("Image1"),
                            QStringLiteral(":/images/download_panel.png"))),
      Command4(new Button(this, QStringLiteral("Command4"), QStringLiteral("开始下载"))),
      Command31(new Button(this, QStringLiteral("Command31"), QStringLiteral("停止下载"))),
      Label7(new Label(this, QStringLiteral("Label7"), kMethodLabel)),
      Command26(new Button(this, QStringLiteral("Command26"), QStringLiteral("切换"))),
      Combo1(new ComboBox(this, QStringLiteral("Combo1"), ComboBox::Style::ListOnly)),
      Combo2(new ComboBox(this, QStringLiteral("Combo2"), ComboBox::Style::ListOnly)),
      Shape1(new PictureBox(this, QStringLiteral("Shape1"))),
      Label1(new Label(this, QStringLiteral("Label1"), QStringLiteral("0条"))),
      Check4(new CheckBox(this, QStringLiteral("Check4"),
                          QStringLiteral("当有待下载项时，自动启动下载"))),
      Check3(new CheckBox(this, QStringLiteral("Check3"), QStringLiteral("自动重新下载："))),
      Combo4(new ComboBox(this, QStringLiteral("Combo4"), ComboBox::Style::ListOnly)),
      Check6(new CheckBox(this, QStringLiteral("Check6"), QStringLiteral("声音提示"))),
      Check5(new CheckBox(this, QStringLiteral("Check5"),
                          QStringLiteral("有5个以上下载出错或者网页文件，就停止下载"))),
      Option1(new OptionButton(this, QStringLiteral("Option1"), kSameNameGroup,
                               QStringLiteral("跳过"))),
      Option2(new OptionButton(this, QStringLiteral("Option2"), kSameNameGroup,
                               QStringLiteral("覆盖"))),
      Option3(new OptionButton(this, QStringLiteral("Option3"), kSameNameGroup,
                               QStringLiteral("重命名"), true)),
      Command1(new Button(this, QStringLiteral("Command1"), QStringLiteral("网页登录"))),
      ListView3(new ListView(this, QStringLiteral("ListView3"))),
      PicWebBK(new PictureBox(this, QStringLiteral("PicWebBK"))),
      Text1(new TextBox(this, QStringLiteral("Text1"))),
      Command2(new Button(this, QStringLiteral("Command2"), QStringLiteral("浏览"))),
      Command3(new Button(this, QStringLiteral("Command3"), QStringLiteral("关闭(隐藏)"))),
      Option4(new OptionButton(this, QStringLiteral("Option4"), kLoginGroup,
                               QStringLiteral("帐号登录："), true)),
      Text2(new TextBox(this, QStringLiteral("Text2"))),
      Text3(new TextBox(this, QStringLiteral("Text3"))),
      Option5(
          new OptionButton(this, QStringLiteral("Option5"), kLoginGroup, QStringLiteral("IP登录"))),
      Command5(new Button(this, QStringLiteral("Command5"), QStringLiteral("测试登录"))),
      Check2(new CheckBox(this, QStringLiteral("Check2"), QStringLiteral("自动登录"))),
      Combo3(new ComboBox(this, QStringLiteral("Combo3"), ComboBox::Style::ListOnly)),
      Check1(new CheckBox(this, QStringLiteral("Check1"), QStringLiteral("自动刷新(每分钟)"))),
      Web1(services.browsers.create(this, QStringLiteral("Web1"))),
      StatusBar1(new StatusBar(this, QStringLiteral("StatusBar1"), kStatusPanels)),
      Timer1(new Timer(this, QStringLiteral("Timer1"), services.runtime, 1000)),
      Timer_Down(new Timer(this, QStringLiteral("Timer_Down"), services.runtime, 1000)),
      Timer2(new Timer(this, QStringLiteral("Timer2"), services.runtime, 60000)),
      single(services.runtime, forms.dialogs(), services.requests, *ListView3, runState, *this),
      parallel(this, services.runtime, services.requests, *ListView3, runState, *this,
               [this](const std::function<void()>& event) { guard(event)(); }),
      scheduler(services.runtime, forms.dialogs(), *ListView3, runState, single, parallel, *this),
      login(services.runtime, forms.dialogs(), Web1, *this),
      services_(services) {
    setMinimumSize(QSize(9000, 6000));

    Combo1->setItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                      QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")});
    Combo4->setItems({QStringLiteral("出错项"), QStringLiteral("文件类型为HTM和HTML项"),
                      QStringLiteral("出错项和文件类型为HTM和HTML项")});
    Combo3->setItems({QStringLiteral("下载到网页文件(htm/html/asp)文件")});
    Shape1->setBackColor(Color::fromRgb(0x2E7D32));
    Shape1->setVisible(false);
    PicWebBK->setVisible(false);

    ListView3->addColumn(QStringLiteral("名称"), 280);
    ListView3->addColumn(QStringLiteral("类型"), 50);
    ListView3->addColumn(QStringLiteral("文件大小"), 90, ListColumn::Align::Right);
    ListView3->addColumn(QStringLiteral("已下载数"), 90, ListColumn::Align::Right);
    ListView3->addColumn(QStringLiteral("百分比"), 60, ListColumn::Align::Right);
    ListView3->addColumn(QStringLiteral("保存路径"), 320);
    ListView3->setMultiSelect(true);
    ListView3->setToolTip(QStringLiteral("双击鼠标：下载当前项或者打开文件"));
    PaintRowStripes(*ListView3, kRowHeight);
    StatusBar1->setPanelText(1, QStringLiteral("下载列表"));

    ListView3->onBeforeLabelEdit = [](bool& cancel) { cancel = true; };
    ListView3->onItemClick = guard([this](ListRow* row) { ListView3_ItemClick(row); });
    ListView3->onClick = guard([this] { ListView3_Click(); });
    ListView3->onDblClick = guard([this] { ListView3_DblClick(); });
    ListView3->onColumnClick = guard([this](int column) { ListView3_ColumnClick(column); });
    ListView3->onMouseDown =
        guard([this](MouseButton button, QPoint) { ListView3_MouseDown(button); });
    StatusBar1->onPanelClick = guard([this](int panel) { StatusBar1_PanelClick(panel); });
    Command31->onClick = guard([this] { StopDownload(); });
    Command4->onClick = guard([this] { Timer_Down->start(); });
    Command26->onClick = guard([this] { Command26_Click(); });
    Timer_Down->onTick = guard([this] { scheduler.DownloadTick(); });
    Timer1->onTick = guard([this] { scheduler.SupervisorTick(); });

    buildMenus();
    bindLoginHandlers();
}

void fFileDownload::bindLoginHandlers() {
    Command1->onClick = guard([this] { Command1_Click(); });
    Command3->onClick = guard([this] { Command3_Click(); });
    Command2->onClick = guard([this] { login.OpenLoginPage(); });
    Command5->onClick = guard([this] { login.RunWebLogin(true); });
    Check2->onClick = guard([this] { Check2_Click(); });
    Check1->onClick = guard([this] { Timer2->setOn(Check1->value()); });
    Timer2->onTick = guard([this] {
        if (Web1) {
            Web1->reload();
        }
    });
    if (!Web1) {
        return;
    }
    connect(Web1, &Browser::titleChange, this,
            guard([this](const QString& title) { Web1_TitleChange(title); }));
    connect(Web1, &Browser::documentComplete, this,
            guard([this](bool topLevel, const QString&) { login.DocumentComplete(topLevel); }));
    connect(Web1, &Browser::newWindow, this,
            guard([this](const QString& url, bool* handled) { Web1_NewWindow(url, handled); }));
    connect(Web1, &Browser::windowClosing, this, [](bool* cancel) { *cancel = true; });
    connect(Web1, &Browser::quitRequested, this, [](bool* cancel) { *cancel = true; });
}

namespace {

enum MenuFlag {
    kSeparatorAfter = 1,
    // Refused while downloads may run: it moves rows or files that transfers use.
    kGuarded = 2,
    // Lets pending events run first, as the re-download and deletion items do.
    kEventsFirst = 4,
};

}  // namespace

// The menu tree, one row per item in menu order: its depth (0 a menu of the bar, 1 an
// item of it, 2 an item of a submenu), its member, name and caption, its handler and
// its flags.
void fFileDownload::buildMenus() {
    using W = fFileDownload;
    struct Row {
        int depth;
        MenuItem* W::*item;
        const char16_t* name;
        const char16_t* caption;
        void (*handler)(W&);
        int flags;
    };
    static const Row rows[] = {
        {0, &W::menu列表操作, u"menu列表操作", u"列表操作(&D)", nullptr, 0},
        {1, &W::menu全选, u"menu全选", u"全选", [](W& w) { w.ListView3->selectAll(true); }, 0},
        {1, &W::menu全不选, u"menu全不选", u"全不选", [](W& w) { w.ListView3->selectAll(false); },
         0},
        {1, &W::menu随机排序, u"menu随机排序", u"随机排序列表(打乱)",
         [](W& w) { w.menu随机排序_Click(); }, kGuarded},
        {1, &W::menu自动调整列宽, u"menu自动调整列宽", u"自动调整列宽",
         [](W& w) { w.menu自动调整列宽_Click(); }, kSeparatorAfter},
        {1, &W::menu重新下载, u"menu重新下载", u"重新下载", nullptr, kSeparatorAfter},
        {2, &W::menu重新下载选中项, u"menu重新下载选中项", u"选中项",
         [](W& w) { RequeueEntries(*w.ListView3, RequeueChoice::Selected); }, kEventsFirst},
        {2, &W::menu重新下载出错项, u"menu重新下载出错项", u"出错项",
         [](W& w) { RequeueEntries(*w.ListView3, RequeueChoice::Failed); }, kEventsFirst},
        {2, &W::menu重新下载网页类型, u"menu重新下载网页类型", u"网页类型文件(HTM/HTML/xml)项",
         [](W& w) { RequeueEntries(*w.ListView3, RequeueChoice::WebPages); }, kEventsFirst},
        {2, &W::menu重新下载出错和网页类型, u"menu重新下载出错和网页类型",
         u"重新下载出错项和网页类型文件项",
         [](W& w) { RequeueEntries(*w.ListView3, RequeueChoice::FailedOrWebPages); }, kEventsFirst},
        {2, &W::menu重新下载小文件, u"menu重新下载小文件", u"文件大小小于指定数字的项",
         [](W& w) { w.menu重新下载小文件_Click(); }, kEventsFirst},
        {1, &W::menu移除, u"menu移除", u"移除(不删除文件)", nullptr, 0},
        {2, &W::menu移除选中项, u"menu移除选中项", u"选中项",
         [](W& w) { w.Remove(RemovalChoice::Selected); }, kGuarded},
        {2, &W::menu移除完成项, u"menu移除完成项", u"完成项",
         [](W& w) { w.Remove(RemovalChoice::Done); }, kGuarded},
        {2, &W::menu移除未完成项, u"menu移除未完成项", u"未完成项",
         [](W& w) { w.Remove(RemovalChoice::NotDone); }, kGuarded},
        {2, &W::menu移除出错项, u"menu移除出错项", u"全部出错项",
         [](W& w) { w.Remove(RemovalChoice::Failed); }, kGuarded},
        {2, &W::menu清空全部, u"menu清空全部", u"清空全部", [](W& w) { w.menu清空全部_Click(); },
         kGuarded},
        {1, &W::menu删除文件, u"menu删除文件", u"删除文件(不移除)", nullptr, kSeparatorAfter},
        {2, &W::menu删除网页类型, u"menu删除网页类型", u"网页类型文件(HTM/HTML/xml)项",
         [](W& w) { DeleteEntryFiles(*w.ListView3, DeletionChoice::WebPages); }, kEventsFirst},
        {2, &W::menu删除出错项, u"menu删除出错项", u"出错项",
         [](W& w) { DeleteEntryFiles(*w.ListView3, DeletionChoice::Failed); }, kEventsFirst},
        {2, &W::menu删除选中项, u"menu删除选中项", u"选中项",
         [](W& w) { DeleteEntryFiles(*w.ListView3, DeletionChoice::Selected); }, kEventsFirst},
        {2, &W::menu删除小文件, u"menu删除小文件", u"文件大小小于指定数的",
         [](W& w) { w.menu删除小文件_Click(); }, kEventsFirst},
        {1, &W::menu下载全部, u"menu下载全部", u"开始下载", [](W& w) { w.Timer_Down->start(); }, 0},
        {1, &W::menu停止下载, u"menu停止下载", u"停止下载", [](W& w) { w.StopDownload(); }, 0},
        {1, &W::menu取消下载选中项, u"menu取消下载选中项", u"取消下载选中项",
         [](W& w) { w.menu取消下载选中项_Click(); }, kSeparatorAfter},
        {1, &W::menu打开下载文件, u"menu打开下载文件", u"打开下载文件",
         [](W& w) { w.onCurrentEntry(OpenEntryFile); }, 0},
        {1, &W::menu打开所在文件夹, u"menu打开所在文件夹", u"打开所在文件夹",
         [](W& w) { w.onCurrentEntry(OpenEntryFolder); }, 0},
        {1, &W::menu用记事本打开, u"menu用记事本打开", u"用记事本打开文件",
         [](W& w) { w.onCurrentEntry(OpenEntryInTextEditor); }, kSeparatorAfter},
        {1, &W::menu复制名称, u"menu复制名称", u"复制名称", [](W& w) { w.menu复制名称_Click(); },
         0},
        {1, &W::menu批量替换网址, u"menu批量替换网址", u"批量替换网址",
         [](W& w) { w.menu批量替换网址_Click(); }, 0},
        {1, &W::menu导出名称, u"menu导出名称", u"导出名称", nullptr, kSeparatorAfter},
        {2, &W::menu导出全部, u"menu导出全部", u"全部", [](W& w) { w.ExportNames(false); }, 0},
        {2, &W::menu导出未完成项, u"menu导出未完成项", u"未完成项",
         [](W& w) { w.ExportNames(true); }, 0},
        {1, &W::menu关闭窗口, u"menu关闭窗口", u"关闭本下载窗口", [](W& w) { w.close(); }, 0},

        {0, &W::menu窗口, u"menu窗口", u"窗口(&W)", nullptr, 0},
        {1, &W::menu资料检索分析窗口, u"menu资料检索分析窗口", u"资料检索分析窗口",
         [](W& w) { w.menu资料检索分析窗口_Click(); }, 0},

        {0, &W::menu工具, u"menu工具", u"工具(&T)", nullptr, 0},
        {1, &W::menu设置, u"menu设置", u"设置", [](W& w) { w.menu设置_Click(); }, 0},
        {1, &W::menu自动定位到下载项, u"menu自动定位到下载项", u"自动定位到下载项",
         [](W& w) { w.menu自动定位到下载项->setChecked(!w.menu自动定位到下载项->checked()); },
         kSeparatorAfter},
        {1, &W::menu检查文件是否存在, u"menu检查文件是否存在", u"检查文件是否存在",
         [](W& w) { CheckFilesExist(*w.ListView3); }, 0},
        {1, &W::menu检查并纠正文件类型, u"menu检查并纠正文件类型", u"检查并纠正磁盘文件类型",
         [](W& w) { w.menu检查并纠正文件类型_Click(); }, kGuarded | kSeparatorAfter},
        {1, &W::menu清空浏览器缓存, u"menu清空浏览器缓存", u"清空IE浏览器缓存",
         [](W& w) { ClearBrowserCache(w.forms(), true, CacheReach::EveryProfile); }, 0},
        {1, &W::menu打开文件判断类型, u"menu打开文件判断类型", u"打开文件判断类型",
         [](W& w) { w.menu打开文件判断类型_Click(); }, 0},

        {0, &W::menu帮助, u"menu帮助", u"帮助(&H)", nullptr, 0},
        {1, &W::menu关于, u"menu关于", u"关于", [](W& w) { ShowAboutBox(w.dialogs()); },
         kSeparatorAfter},
        {1, &W::menu软件主页, u"menu软件主页", u"软件主页",
         [](W& w) { OpenWebPage(ProgramPage(w.services_.makerSite), w.services_.shell); }, 0},
        {1, &W::menu意见反馈, u"menu意见反馈", u"意见反馈",
         [](W& w) {
             SendFeedbackMail(w.services_.shell, w.services_.makerSite, Settings::kAppTitle,
                              w.runtime().wallClock().date());
         },
         0},
    };

    MenuItem* parents[3] = {};
    for (const Row& row : rows) {
        const QString name = QString::fromUtf16(row.name);
        const QString caption = QString::fromUtf16(row.caption);
        MenuItem* item =
            row.depth == 0 ? addMenu(name, caption) : parents[row.depth - 1]->add(name, caption);
        this->*row.item = parents[row.depth] = item;
        if (row.flags & kSeparatorAfter) {
            parents[row.depth - 1]->addSeparator();
        }
        if (row.handler) {
            item->onClick = guard([this, row] {
                if ((row.flags & kGuarded) && refusedWhileDownloading()) {
                    return;
                }
                if (row.flags & kEventsFirst) {
                    runtime().yield();
                    if (isUnloaded()) {
                        return;
                    }
                }
                row.handler(*this);
            });
        }
    }
    // The maker's pages need its site; without one they stay disabled.
    menu软件主页->setEnabled(!services_.makerSite.isEmpty());
    menu意见反馈->setEnabled(!services_.makerSite.isEmpty());
}

// --- life cycle ------------------------------------------------------------------------

void fFileDownload::Form_Load() {
    Config& config = services_.config;
    SettingsStore& settings = services_.settings;

    setCaption(QStringLiteral("文件下载-") + Settings::kAppTitle);
    setIcon(fCover::kIcon);
    Combo3->setListIndex(0);
    FitComboDropWidth(*Combo4, services_.screen);
    Combo4->setListIndex(0);
    runState.lastTransferEnd = runtime().now();
    ListView3->clear();
    ListView3->setIconSet(kStateIcons);

    ConfigReaders::loadDownloadValues(settings, config);
    ApplyDownloadMethod(config.downloadMethod);
    if (config.downloadMethod != 1 && config.slotChoiceIndex >= 0 &&
        config.slotChoiceIndex < Combo1->listCount()) {
        Combo1->setListIndex(config.slotChoiceIndex);
    }
    const QString policy = config.duplicatePolicy.trimmed();
    if (Option1->caption().trimmed() == policy) {
        Option1->setValue(true);
    } else if (Option2->caption().trimmed() == policy) {
        Option2->setValue(true);
    } else {
        Option3->setValue(true);
    }

    RestoreWindowGeometry(*this, settings, services_.screen);

    Combo2->setItems(WholeNumbers(0, kLongestPause));
    Combo2->setListIndex(0);

    if (Web1) {
        Web1->setSilent(true);
        Web1->navigate(QStringLiteral("about:blank"));
    }
    Timer1->start();
}

void fFileDownload::Form_Activate() {
    RefreshCountLabel();
}

void fFileDownload::Form_Resize() {
    if (windowState() != WindowState::Minimized) {
        PaintRowStripes(*ListView3, kRowHeight);
    }
}

void fFileDownload::Form_QueryUnload(bool& cancel) {
    Config& config = services_.config;
    // Stored even when the close is refused below.
    config.duplicatePolicy = selectedDuplicatePolicy();
    ConfigReaders::write(services_.settings, Settings::kDuplicatePolicy, config.duplicatePolicy);
    ConfigReaders::write(services_.settings, Settings::kDownloadMethod,
                         QString::number(config.downloadMethod));

    if (scheduler.CountDownloaderSlots() > 1 || single.executing() ||
        !检测是否下载列表完毕(*ListView3) || Timer_Down->isEnabled()) {
        if (!dialogs().askYesNo(
                QStringLiteral("正在下载文件或者下载没有完成，要强制关闭窗口吗？"))) {
            cancel = true;
        }
    }
}

void fFileDownload::Form_Unload() {
    Timer1->stop();
    Timer_Down->stop();
    Timer2->stop();
    StopDownload();
    SaveWindowGeometry(*this, services_.settings, services_.screen);
    services_.config.slotChoiceIndex = Combo1->listIndex();
    ConfigReaders::write(services_.settings, Settings::kSlotChoice,
                         QString::number(services_.config.slotChoiceIndex));
    runtime().yield();
    runtime().yield();
    fCover::ShowUnlessLoaded(forms(), WindowNames::kSearch);
}

QString fFileDownload::selectedDuplicatePolicy() const {
    for (const OptionButton* option : {Option1, Option2, Option3}) {
        if (option->value()) {
            return option->caption().trimmed();
        }
    }
    return Option3->caption().trimmed();
}

// --- the list ------------------------------------------------------------------------------

void fFileDownload::RefreshCountLabel() {
    Label1->setCaption(QString::number(ListView3->count()) + QStringLiteral("条"));
}

void fFileDownload::ApplyDownloadMethod(int method) {
    Label7->setCaption(kMethodLabel + QString::number(method));
    Combo1->setText(QStringLiteral("1"));
    Combo1->setEnabled(method != 1);
}

void fFileDownload::Command26_Click() {
    Config& config = services_.config;
    config.downloadMethod = config.downloadMethod == 2 ? 1 : 2;
    ApplyDownloadMethod(config.downloadMethod);
}

void fFileDownload::RunWebLogin(bool interactive) {
    login.RunWebLogin(interactive);
}

// --- the login panel -----------------------------------------------------------------------

void fFileDownload::Command1_Click() {
    PicWebBK->setVisible(true);
    ListRow* row = ListView3->selectedItem();
    // Without a login running by itself, the user sees what the site answers for the entry.
    if (Web1 && !Check1->value() && !Check2->value() && row) {
        Web1->navigate(选择url(row->key()));
    }
}

void fFileDownload::Command3_Click() {
    PicWebBK->setVisible(false);
    if (Web1 && !Check1->value()) {
        Web1->navigate(QStringLiteral("about:blank"));
    }
}

void fFileDownload::Check2_Click() {
    if (Check2->value()) {
        login.CheckLoginSettings(true);
    }
}

void fFileDownload::Web1_TitleChange(const QString& title) {
    if (title.trimmed().toLower() != QStringLiteral("about:blank")) {
        StatusBar1->setPanelText(kStatePanel, title);
    }
}

void fFileDownload::Web1_NewWindow(const QString& url, bool* handled) {
    *handled = true;
    const QString address = url.trimmed();
    if (!address.isEmpty() && address.toLower() != QStringLiteral("about:blank")) {
        Web1->navigate(address);
    }
}

WebLoginHost::LoginSettings fFileDownload::loginSettings() const {
    return {Text1->text(), Text2->text(), Text3->text(), Option4->value()};
}

void fFileDownload::clearAutoLogin() {
    Check2->setValue(false);
}

void fFileDownload::setBrowseEnabled(bool enabled) {
    Command2->setEnabled(enabled);
}

void fFileDownload::setTestLoginEnabled(bool enabled) {
    Command5->setEnabled(enabled);
}

// --- what the scheduler and the methods read and show ----------------------------------

DownloadOptions fFileDownload::options() const {
    DownloadOptions options;
    options.method = services_.config.downloadMethod == 1 ? 1 : 2;
    options.slotCount = std::clamp(Combo1->text().toInt(), 1, DownloadSlots::kSlots);
    options.pauseSeconds = Combo2->text().toInt();
    options.autoStart = Check4->value();
    options.autoRequeue = Check3->value();
    options.requeueChoice = Combo4->listIndex();
    options.failureStop = Check5->value();
    options.soundNotice = Check6->value();
    options.autoLogin = Check2->value();
    options.followEntry = menu自动定位到下载项->checked();
    options.maxFileSizeMB = services_.config.maxFileSizeMB;
    options.duplicatePolicy = SelectedDuplicatePolicy({Option1, Option2, Option3});
    options.proxyEnabled = services_.config.proxyEnabled == 1;
    options.proxyHost = services_.config.proxyHost.trimmed();
    options.proxyPort = services_.config.proxyPort.trimmed();
    return options;
}

bool fFileDownload::downloadTimerOn() const {
    return Timer_Down->isEnabled();
}

void fFileDownload::setDownloadTimer(bool on) {
    Timer_Down->setOn(on);
}

void fFileDownload::clearAutomatics() {
    Check4->setValue(false);
    Check3->setValue(false);
}

void fFileDownload::showRunState(bool startEnabled, bool busyShown) {
    menu下载全部->setEnabled(startEnabled);
    Shape1->setVisible(busyShown);
}

void fFileDownload::showStatusCounts(const QString& counts) {
    StatusBar1->setPanelText(kCountsPanel, counts);
}

void fFileDownload::showStatusText(const QString& text) {
    StatusBar1->setPanelText(kPathPanel, text);
}

void fFileDownload::showTransferState(const QString& text) {
    StatusBar1->setPanelText(kStatePanel, text);
}

bool fFileDownload::closing() const {
    return isUnloaded();
}

void fFileDownload::playCue(int number) {
    PlaySoundCue(number, services_.paths.dataFolder, services_.sound);
}

void fFileDownload::ListView3_ItemClick(ListRow* row) {
    const QString path = EntryFilePath(DownloadEntry(*ListView3, row));
    StatusBar1->setPanelText(kPathPanel, FileExists(path) ? path : QString());
}

void fFileDownload::ListView3_Click() {
    ListRow* row = ListView3->selectedItem();
    if (!row) {
        return;
    }
    StatusBar1->setPanelText(kPathPanel, row->key());
    services_.clipboard.clear();
    services_.clipboard.setText(row->key());
}

void fFileDownload::ListView3_DblClick() {
    ListRow* row = ListView3->selectedItem();
    if (!row) {
        return;
    }
    DownloadEntry entry(*ListView3, row);
    switch (entry.state()) {
        case EntryState::Done:
            OpenWithShell(EntryFilePath(entry), services_.shell, dialogs());
            break;
        case EntryState::Failed:
            DeleteOwnedEntryFile(entry);
            entry.setState(EntryState::Waiting);
            entry.setSizeText(QString());
            entry.setReceivedText(QString());
            entry.setProgressText(QString());
            break;
        case EntryState::Waiting:
        case EntryState::Downloading:
            break;
    }
}

void fFileDownload::ListView3_ColumnClick(int column) {
    if (Timer_Down->isEnabled() || runState.downloadBusy) {
        dialogs().info(QStringLiteral("停止下载后方可排序！"));
        return;
    }
    sortOrder_ = sortOrder_ == ListView::SortOrder::Ascending ? ListView::SortOrder::Descending
                                                              : ListView::SortOrder::Ascending;
    SortDownloadList(*ListView3, column - 1, sortOrder_);
}

void fFileDownload::ListView3_MouseDown(MouseButton button) {
    if (button != MouseButton::Right) {
        return;
    }
    SetListMenuState();
    popupMenu(menu列表操作);
}

void fFileDownload::SetListMenuState() {
    const bool busy = runState.downloadBusy || Timer_Down->isEnabled();
    menu移除->setEnabled(!busy);
    menu清空全部->setEnabled(!busy);
    menu全选->setEnabled(!busy);
    menu停止下载->setEnabled(busy);
}

void fFileDownload::StatusBar1_PanelClick(int panel) {
    if (panel != kPathPanel) {
        return;
    }
    const QString text = StatusBar1->panelText(kPathPanel).trimmed();
    if (text.isEmpty()) {
        return;
    }
    const QString address = 选择url(text).trimmed();
    if (isWebAddress(address)) {
        OpenWebPage(address, services_.shell);
    } else if (FileExists(text)) {
        OpenWithShell(text, services_.shell, dialogs());
    }
}

// --- the list menu ---------------------------------------------------------------------------

bool fFileDownload::refusedWhileDownloading() {
    if (!DownloadActive()) {
        return false;
    }
    dialogs().info(QStringLiteral("停止下载以后，才能执行此操作！"));
    return true;
}

void fFileDownload::menu重新下载小文件_Click() {
    // Anything but a number ends it without a word.
    if (const std::optional<double> limit =
            NumberIn(dialogs().inputBox(QStringLiteral("请输入数字：")))) {
        RequeueSmallFiles(*ListView3, *limit);
    }
}

void fFileDownload::Remove(RemovalChoice choice) {
    RemoveEntries(*ListView3, choice);
    RefreshCountLabel();
}

void fFileDownload::menu清空全部_Click() {
    if (dialogs().askYesNo(QStringLiteral("您确定要清空列表的所有信息吗？"), MessageIcon::None)) {
        ListView3->clear();
        RefreshCountLabel();
    }
}

void fFileDownload::menu删除小文件_Click() {
    const std::optional<double> limit = NumberIn(
        dialogs().inputBox(QStringLiteral("请输入文件大小（KB），小于这个数的文件将会被全部删除！"),
                           QStringLiteral("删除文件大小小于指定数的全部文件")));
    if (!limit) {
        dialogs().error(QStringLiteral("文件大小无效！"));
        return;
    }
    DeleteSmallFiles(*ListView3, *limit);
}

void fFileDownload::menu随机排序_Click() {
    QRandomGenerator random = QRandomGenerator::securelySeeded();
    ShuffleList(*ListView3, random);
    dialogs().info(QStringLiteral("随机排序完成！"));
}

void fFileDownload::menu自动调整列宽_Click() {
    AutoSizeColumns(*ListView3, kFitToContent);
    PaintRowStripes(*ListView3, kRowHeight);
}

void fFileDownload::menu取消下载选中项_Click() {
    if (runState.downloadBusy) {
        dialogs().error(QStringLiteral("停止下载后方可设置！"));
        return;
    }
    CancelSelected(*ListView3);
}

void fFileDownload::onCurrentEntry(void (*action)(const DownloadEntry&, Shell&, Dialogs&)) {
    if (ListRow* row = ListView3->selectedItem()) {
        action(DownloadEntry(*ListView3, row), services_.shell, dialogs());
    }
}

void fFileDownload::menu复制名称_Click() {
    if (ListRow* row = ListView3->selectedItem()) {
        services_.clipboard.clear();
        services_.clipboard.setText(DownloadEntry(*ListView3, row).name());
    }
}

void fFileDownload::menu批量替换网址_Click() {
    if (auto* dialog = forms().load<UrlReplace>(UrlReplace::kName)) {
        dialog->setList(*ListView3);
        dialog->showModal();
    }
}

void fFileDownload::ExportNames(bool unfinishedOnly) {
    if (ListView3->count() == 0) {
        return;
    }
    FileDialogOptions options;
    options.filter = QStringLiteral("*.txt|*.txt");
    options.defaultExtension = QStringLiteral("txt");
    options.askBeforeOverwrite = true;
    const QString path = dialogs().saveFile(options);
    QString error;
    if (!path.isEmpty() && !ExportEntryNames(*ListView3, path, unfinishedOnly, error)) {
        dialogs().error(error);
    }
}

void fFileDownload::menu资料检索分析窗口_Click() {
    if (Window* search = forms().load(WindowNames::kSearch)) {
        search->show();
    }
}

void fFileDownload::menu设置_Click() {
    if (Window* options = forms().load(fOption::kName)) {
        options->showModal();
    }
}

void fFileDownload::menu检查并纠正文件类型_Click() {
    if (ListView3->count() == 0) {
        return;
    }
    const int corrected = CorrectEntryTypes(*ListView3);
    dialogs().info(QStringLiteral("纠正文件类型：") + QString::number(corrected) +
                   QStringLiteral("个."));
}

void fFileDownload::menu打开文件判断类型_Click() {
    FileDialogOptions options;
    options.filter = QStringLiteral("*.*|*.*");
    const QString path = dialogs().openFile(options);
    if (path.isEmpty()) {
        return;
    }
    const QString type = 打开文件判断文件类型(LocalFilePath(path));
    dialogs().info(type.isEmpty() ? QStringLiteral("目前还无法判断。")
                                  : QStringLiteral("文件类型为：") + type);
}
