#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include "app/fCover.h"
#include "app/fOption.h"
#include "download/DownloadList.h"
#include "download/fFileDownload.h"
#include "support/FakeBrowser.h"
#include "support/TestApp.h"

namespace {

const QString kSettings = QStringLiteral("设置");

fFileDownload* openDownloadWindow(TestApp& app) {
    auto* window = app.forms.load<fFileDownload>(fFileDownload::kName);
    window->show();
    return window;
}

DownloadEntry addEntry(fFileDownload& window, const QString& key, EntryState state,
                       const QString& folder = QStringLiteral("/nowhere/")) {
    const QString name = QStringLiteral("报告%1").arg(window.ListView3->count() + 1);
    DownloadEntry entry =
        AddEntry(*window.ListView3, key, name, QStringLiteral("pdf"), folder, QString());
    entry.setState(state);
    return entry;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString folderIn(TestApp& app) {
    const QString folder = app.temp.path() + QStringLiteral("/files/");
    QDir().mkpath(folder);
    return folder;
}

// A window that stands for the search window in the close rules.
class StandInSearchWindow final : public Window {
  public:
    explicit StandInSearchWindow(Forms& forms) : Window(forms, QStringLiteral("fWebSearch")) {}
};

class NoBrowsers final : public BrowserFactory {
  public:
    Browser* create(QObject*, const QString&) override { return nullptr; }
};

}  // namespace

TEST(DownloadWindow, FirstLoadUsesMethodTwoThreeSlotsRenameAndAnEmptyList) {
    TestApp app;
    auto* w = openDownloadWindow(app);
    EXPECT_EQ(w->caption(), "文件下载-Orvellin");
    EXPECT_EQ(w->icon(), fCover::kIcon);
    EXPECT_EQ(w->Label7->caption(), "下载方式：2");
    EXPECT_TRUE(w->Combo1->enabled());
    EXPECT_EQ(w->Combo1->text(), "3");
    EXPECT_TRUE(w->Option3->value());
    EXPECT_FALSE(w->Option1->value() || w->Option2->value());
    EXPECT_EQ(app.config.maxFileSizeMB, 10);
    EXPECT_EQ(w->Combo2->listCount(), 601);
    EXPECT_EQ(w->Combo2->item(600), "600");
    EXPECT_EQ(w->Combo2->text(), "0");
    EXPECT_EQ(w->Combo3->text(), "下载到网页文件(htm/html/asp)文件");
    EXPECT_EQ(w->Combo4->text(), "出错项");
    EXPECT_GT(w->Combo4->dropDownWidth(), 0);
    EXPECT_TRUE(w->Timer1->isEnabled());
    EXPECT_FALSE(w->Timer_Down->isEnabled());
    EXPECT_FALSE(w->Timer2->isEnabled());
    EXPECT_FALSE(w->PicWebBK->visible());
    EXPECT_TRUE(w->Option4->value());
    // No stored position: the window opens maximised.
    EXPECT_EQ(w->windowState(), WindowState::Maximized);

    auto* browser = qobject_cast<FakeBrowser*>(w->Web1);
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->silent());
    EXPECT_EQ(browser->navigations(), QStringList{"about:blank"});

    const ListView& list = *w->ListView3;
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.iconSet(), fFileDownload::kStateIcons);
    EXPECT_EQ(list.rowHeight(), 17);
    EXPECT_TRUE(list.multiSelect());
    EXPECT_EQ(list.toolTip(), "双击鼠标：下载当前项或者打开文件");
    QStringList captions;
    QList<bool> right;
    for (const ListColumn& column : list.columns()) {
        captions << column.caption;
        right << (column.align == ListColumn::Align::Right);
    }
    EXPECT_EQ(captions,
              QStringList({"名称", "类型", "文件大小", "已下载数", "百分比", "保存路径"}));
    EXPECT_EQ(right, QList<bool>({false, false, true, true, true, false}));
}

TEST(DownloadWindow, StoredValuesChooseMethodSlotsAndSameNameOption) {
    TestApp app;
    app.settings.SettingsWrite(kSettings, "下载方式", "1");
    app.settings.SettingsWrite("下载", "线程", "4");
    app.settings.SettingsWrite("专利下载", "重复文件名设置", "跳过");
    auto* w = openDownloadWindow(app);
    EXPECT_EQ(w->Label7->caption(), "下载方式：1");
    EXPECT_FALSE(w->Combo1->enabled());
    EXPECT_EQ(w->Combo1->text(), "1");
    EXPECT_EQ(app.config.slotChoiceIndex, 0);  // not read with method 1
    EXPECT_TRUE(w->Option1->value());
    w->close();

    app.settings.SettingsWrite(kSettings, "下载方式", "2");
    app.settings.SettingsWrite("下载", "线程", "0");
    app.settings.SettingsWrite("专利下载", "重复文件名设置", "覆盖");
    w = openDownloadWindow(app);
    EXPECT_EQ(w->Combo1->text(), "1");
    EXPECT_TRUE(w->Combo1->enabled());
    EXPECT_TRUE(w->Option2->value());
}

TEST(DownloadWindow, LoadsWithoutALoginBrowser) {
    TestApp app;
    NoBrowsers none;
    AppServices services{app.runtime,
                         app.dialogs,
                         app.forms,
                         app.settings,
                         app.config,
                         app.shell,
                         app.clipboard,
                         app.screen,
                         app.sound,
                         none,
                         app.requests,
                         app.services.paths,
                         app.services.searchBase,
                         app.services.makerSite};
    fFileDownload window(app.forms, services);
    window.load();
    EXPECT_EQ(window.Web1, nullptr);
    EXPECT_TRUE(window.Timer1->isEnabled());
}

TEST(DownloadWindow, CountLabelFollowsTheListWhenTheWindowIsActivated) {
    TestApp app;
    auto* w = openDownloadWindow(app);
    EXPECT_EQ(w->Label1->caption(), "0条");
    for (int i = 0; i < 12; ++i) {
        addEntry(*w, QString::number(i), EntryState::Waiting);
    }
    EXPECT_EQ(w->Label1->caption(), "0条");
    w->activatedByView();
    EXPECT_EQ(w->Label1->caption(), "12条");
}

TEST(DownloadWindow, ClicksShowTheFileOrTheAddressesAndCopyTheAddresses) {
    TestApp app;
    auto* w = openDownloadWindow(app);
    const QString folder = folderIn(app);
    DownloadEntry entry = addEntry(*w, "http://x/a.pdf|http://y/a.pdf", EntryState::Done, folder);

    // Nothing selected: the click does nothing.
    w->ListView3->click();
    EXPECT_TRUE(w->StatusBar1->panelText(2).isEmpty());
    EXPECT_EQ(app.clipboard.clears(), 0);

    w->ListView3->setSelectedItem(entry.row());
    w->ListView3->itemClick(entry.row());
    EXPECT_TRUE(w->StatusBar1->panelText(2).isEmpty());  // no file yet
    writeFile(EntryFilePath(entry), "%PDF");
    w->ListView3->itemClick(entry.row());
    EXPECT_EQ(w->StatusBar1->panelText(2), EntryFilePath(entry));

    w->ListView3->click();
    EXPECT_EQ(w->StatusBar1->panelText(2), "http://x/a.pdf|http://y/a.pdf");
    EXPECT_EQ(app.clipboard.clears(), 1);
    EXPECT_EQ(app.clipboard.text(), "http://x/a.pdf|http://y/a.pdf");
    EXPECT_FALSE(w->ListView3->beforeLabelEdit());
}

TEST(DownloadWindow, DoubleClickOpensADoneFileOrSaysItIsGone) {
    TestApp app;
    auto* w = openDownloadWindow(app);
    w->ListView3->dblClick();  // nothing selected: nothing happens
    DownloadEntry done = addEntry(*w, "a", EntryState::Done, folderIn(app));
    w->ListView3->setSelectedItem(done.row());

    app.dialogs.expectMessage("文件不存在！", MessageIcon::Error);
    w->ListView3->dblClick();
    EXPECT_TRUE(app.shell.calls().isEmpty());

    writeFile(EntryFilePath(done), "%PDF");
    w->ListView3->dblClick();
    ASSERT_EQ(app.shell.calls().size(), 1);
    EXPECT_EQ(app.shell.calls()[0].first, RecordingShell::Op::OpenFile);
    EXPECT_EQ(app.shell.calls()[0].second, EntryFilePath(done));
}

TEST(DownloadWindow, DoubleClickRequeuesAFailedEntryDeletingOnlyItsOwnFile) {
    TestApp app;
    auto* w = openDownloadWindow(app);
    const QString folder = folderIn(app);

    DownloadEntry partial = addEntry(*w, "partial", EntryState::Failed, folder);
    partial.setSizeText("下载失败");
    partial.setReceivedText("100");
    partial.setProgressText("10%");
    writeFile(EntryFilePath(partial), "half");
    partial.setOwnedFile(EntryFilePath(partial));
    w->ListView3->setSelectedItem(partial.row());
    w->ListView3->dblClick();
    EXPECT_FALSE(QFile::exists(EntryFilePath(partial)));
    EXPECT_EQ(partial.state(), EntryState::Waiting);
    EXPECT_TRUE(partial.sizeText().isEmpty());
    EXPECT_TRUE(partial.receivedText().isEmpty());
    EXPECT_TRUE(partial.progressText().isEmpty());
    EXPECT_TRUE(partial.ownedFile().isEmpty());

    // A file of that name that was there before the download is the user's.
    DownloadEntry foreign = addEntry(*w, "foreign", EntryState::Failed, folder);
    writeFile(EntryFilePath(foreign), "the user's own");
    w->ListView3->setSelectedItem(foreign.row());
    w->ListView3->dblClick();
    EXPECT_TRUE(QFile::exists(EntryFilePath(foreign)));
    EXPECT_EQ(foreign.state(), EntryState::Waiting);

    for (EntryState state : {EntryState::Waiting, EntryState::Downloading}) {
        DownloadEntry busy = addEntry(*w, QString::number(int(state)), state, folder);
        busy.setProgressText("5%");
        w->ListView3->setSelectedItem(busy.row());
        w->ListView3->dblClick();
        EXPECT_EQ(busy.state(), state);
        EXPECT_EQ(busy.progressText(), "5%");
    }
    EXPECT_TRUE(app.dialogs.shown().isEmpty());
}

TEST(DownloadWindow, EveryHeaderClickFlipsTheOneSortOrder) {
    TestApp app;
    auto* w = openDownloadWindow(app);
    w->ListView3->columnClick(3);  // empty list: only the order flips
    addEntry(*w, "a", EntryState::Done).setSizeText("12000");
    addEntry(*w, "b", EntryState::Done).setSizeText("900");
    auto sizes = [w] {
        return QStringList{w->ListView3->at(1)->subItem(2), w->ListView3->at(2)->subItem(2)};
    };
    w->ListView3->columnClick(3);
    EXPECT_EQ(sizes(), QStringList({"12000", "900"}));
    w->ListView3->columnClick(1);
    w->ListView3->columnClick(3);
    EXPECT_EQ(sizes(), QStringList({"12000", "900"}));
    w->ListView3->columnClick(3);
    EXPECT_EQ(sizes(), QStringList({"900", "12000"}));
}

TEST(DownloadWindow, SortingWaitsUntilTheDownloadIsStopped) {
    TestApp app;
    auto* w = openDownloadWindow(app);
    addEntry(*w, "b", EntryState::Waiting);
    addEntry(*w, "a", EntryState::Waiting);
    w->Timer_Down->start();
    app.dialogs.expectMessage("停止下载后方可排序！");
    w->ListView3->columnClick(1);
    w->Timer_Down->stop();
    w->runState.downloadBusy = true;
    app.dialogs.expectMessage("停止下载后方可排序！");
    w->ListView3->columnClick(1);
    EXPECT_EQ(w->ListView3->at(1)->key(), "b");
}

TEST(DownloadWindow, RightButtonOpensTheListMenuWithRemovalOrStopEnabled) {
    TestApp app;
    auto* w = openDownloadWindow(app);
    QSignalSpy popups(w, &Window::popupRequested);
    w->ListView3->mouseDown(MouseButton::Left, {});
    EXPECT_EQ(popups.count(), 0);
    for (MenuItem* item : {w->menu移除, w->menu清空全部, w->menu全选, w->menu停止下载}) {
        EXPECT_TRUE(item->enabled()) << "before the first right click";
    }

    const struct {
        bool timer;
        bool busy;
    } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}, {false, false}};
    for (const auto& c : cases) {
        w->Timer_Down->setOn(c.timer);
        w->runState.downloadBusy = c.busy;
        w->ListView3->mouseDown(MouseButton::Right, {});
        ASSERT_FALSE(popups.isEmpty());
        EXPECT_EQ(popups.takeLast()[0].value<MenuItem*>(), w->menu列表操作);
        const bool busy = c.timer || c.busy;
        EXPECT_EQ(w->menu移除->enabled(), !busy);
        EXPECT_EQ(w->menu清空全部->enabled(), !busy);
        EXPECT_EQ(w->menu全选->enabled(), !busy);
        EXPECT_EQ(w->menu停止下载->enabled(), busy);
        EXPECT_TRUE(w->menu删除文件->enabled() && w->menu重新下载->enabled());
    }
}

TEST(DownloadWindow, StatusPanelOpensOnlyWebAddressesAndExistingFiles) {
    TestApp app;
    auto* w = openDownloadWindow(app);
    const QString file = folderIn(app) + QStringLiteral("a.pdf");
    writeFile(file, "%PDF");
    const QStringList ignored = {"",
                                 "javascript:alert(1)",
                                 "ftp://x/a.pdf",
                                 "file:///etc/passwd|http://x/",
                                 folderIn(app) + "missing.pdf",
                                 "http://"};
    for (const QString& text : ignored) {
        w->StatusBar1->setPanelText(2, text);
        w->StatusBar1->clickPanel(2);
    }
    EXPECT_TRUE(app.shell.calls().isEmpty());

    w->StatusBar1->setPanelText(2, "HTTPS://x.example/a.pdf|http://y.example/a.pdf");
    w->StatusBar1->clickPanel(2);
    w->StatusBar1->setPanelText(2, file);
    w->StatusBar1->clickPanel(2);
    w->StatusBar1->clickPanel(1);
    ASSERT_EQ(app.shell.calls().size(), 2);
    EXPECT_EQ(app.shell.calls()[0],
              RecordingShell::Call(RecordingShell::Op::OpenUrl, "HTTPS://x.example/a.pdf"));
    EXPECT_EQ(app.shell.calls()[1], RecordingShell::Call(RecordingShell::Op::OpenFile, file));
}

TEST(DownloadWindow, StopDownloadFailsRunningEntriesAndStopsTheAutomatics) {
    TestApp app;
    auto* w = openDownloadWindow(app);
    DownloadEntry running = addEntry(*w, "a", EntryState::Downloading);
    DownloadEntry waiting = addEntry(*w, "b", EntryState::Waiting);
    w->Check3->setValue(true);
    w->Check4->setValue(true);
    w->Timer_Down->start();
    w->runState.downloadBusy = true;
    w->Command31->click();
    EXPECT_EQ(running.state(), EntryState::Failed);
    EXPECT_EQ(waiting.state(), EntryState::Waiting);
    EXPECT_FALSE(w->Check3->value());
    EXPECT_FALSE(w->Check4->value());
    EXPECT_FALSE(w->Timer_Down->isEnabled());
    EXPECT_FALSE(w->runState.downloadBusy);
    EXPECT_FALSE(w->DownloadActive());
}

TEST(DownloadWindow, RefusedCloseStillStoresPolicyAndMethodButNotThePosition) {
    TestApp app;
    app.forms.load(fCover::kName)->hide();
    auto* w = openDownloadWindow(app);
    addEntry(*w, "a", EntryState::Waiting);
    w->Option1->click();
    app.config.downloadMethod = 1;
    app.dialogs.expectQuestion("正在下载文件或者下载没有完成，要强制关闭窗口吗？",
                               MessageAnswer::No);
    EXPECT_FALSE(w->close());
    EXPECT_EQ(app.settings.SettingsRead("专利下载", "重复文件名设置", ""), "跳过");
    EXPECT_EQ(app.settings.SettingsRead(kSettings, "下载方式", ""), "1");
    EXPECT_EQ(app.settings.SettingsRead("fFileDownload", "分辨率", "none"), "none");
    EXPECT_EQ(w->ListView3->count(), 1);
    EXPECT_TRUE(w->Timer1->isEnabled());
    EXPECT_FALSE(app.forms.find(fCover::kName)->visible());
}

TEST(DownloadWindow, ConfirmedCloseStopsStoresAndShowsTheCoverAgain) {
    TestApp app;
    app.forms.load(fCover::kName)->hide();
    auto* w = openDownloadWindow(app);
    DownloadEntry running = addEntry(*w, "a", EntryState::Downloading);
    w->Combo1->select(4);
    app.dialogs.expectQuestion("正在下载文件或者下载没有完成，要强制关闭窗口吗？",
                               MessageAnswer::Yes);
    EXPECT_TRUE(w->close());
    EXPECT_EQ(running.state(), EntryState::Failed);
    EXPECT_FALSE(w->Timer1->isEnabled());
    EXPECT_EQ(app.settings.SettingsRead("下载", "线程", ""), "4");
    EXPECT_EQ(app.settings.SettingsRead("fFileDownload", "分辨率", ""), "0*0");
    EXPECT_TRUE(app.forms.find(fCover::kName)->visible());
    EXPECT_FALSE(app.forms.IsFormLoaded(fFileDownload::kName));

    // A new window starts with an empty list.
    app.runtime.advance(0.1);
    w = openDownloadWindow(app);
    EXPECT_EQ(w->ListView3->count(), 0);
    EXPECT_EQ(w->Combo1->text(), "5");
}

TEST(DownloadWindow, CloseLeavesTheCoverHiddenWhileTheSearchWindowIsOpen) {
    TestApp app;
    app.forms.registerWindow(
        "fWebSearch", [](Forms& forms) { return std::make_unique<StandInSearchWindow>(forms); });
    app.forms.load(fCover::kName)->hide();
    app.forms.load("fWebSearch");
    auto* w = openDownloadWindow(app);
    addEntry(*w, "a", EntryState::Done);
    EXPECT_TRUE(w->close());  // a finished list closes without a question
    EXPECT_FALSE(app.forms.find(fCover::kName)->visible());
}

TEST(DownloadWindow, SettingsMenuOpensTheOptionsDialogModally) {
    TestApp app;
    auto* w = openDownloadWindow(app);
    app.dialogs.expectModal(fOption::kName, [](Window& options) { options.close(); });
    w->menu设置->click();
    EXPECT_FALSE(app.forms.IsFormLoaded(fOption::kName));
}
