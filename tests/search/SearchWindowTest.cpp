#include <gtest/gtest.h>

#include <QFile>

#include "app/SettingsKeys.h"
#include "app/fSeleFileSavePath.h"
#include "platform/text/Gbk.h"
#include "search/fWebSearch.h"
#include "support/FakeBrowser.h"
#include "support/FakeSearchEngine.h"
#include "support/TestApp.h"

namespace {

const QString kBase = QStringLiteral("http://engine.example");

class SearchWindow : public ::testing::Test {
  protected:
    SearchWindow() {
        app.services.searchBase = kBase;
        app.services.makerSite = QStringLiteral("https://www.maker.example");
        app.settings.SettingsWrite(Settings::kAskPathAtExtraction.section,
                                   Settings::kAskPathAtExtraction.key, QStringLiteral("0"));
    }

    fWebSearch& open() {
        window = app.forms.load<fWebSearch>(fWebSearch::kName);
        return *window;
    }
    FakeBrowser& browser() { return *app.browsers.browsers().constLast(); }

    // Entries with their titles; the statuses where given.
    void fill(const QStringList& titles, const QStringList& statuses = {}) {
        for (int i = 0; i < titles.size(); ++i) {
            window->加入LV1(titles.at(i), QStringLiteral("http://f.cn/%1.pdf").arg(i),
                            QStringLiteral("http://engine.example/search"), QStringLiteral("pdf"),
                            QString());
            window->ListView1->setSubItem(window->ListView1->at(i + 1), 2, statuses.value(i));
        }
    }
    QStringList titles() const {
        QStringList result;
        for (int i = 1; i <= window->ListView1->count(); ++i) {
            result.append(window->ListView1->at(i)->text());
        }
        return result;
    }

    TestApp app;
    fWebSearch* window = nullptr;
};

TEST_F(SearchWindow, LoadRestoresTheKeywordsAndChoicesAndUnloadKeepsThem) {
    app.settings.SettingsWrite(Settings::kSearchKeywords.section, Settings::kSearchKeywords.key,
                               QStringLiteral("机器学习\r\n深度"));
    app.settings.SettingsWrite(Settings::kSearchDelay.section, Settings::kSearchDelay.key,
                               QStringLiteral("5"));
    app.settings.SettingsWrite(Settings::kSearchTimeout.section, Settings::kSearchTimeout.key,
                               QStringLiteral("999"));
    open();
    EXPECT_EQ(window->caption(), "雅虎页面数据检索分析-Orvellin");
    EXPECT_TRUE(window->visible());
    EXPECT_FALSE(window->menu加入->visible());
    EXPECT_TRUE(browser().silent());
    EXPECT_EQ(browser().navigations(), (QStringList{"about:blank", kBase + "/"}));
    EXPECT_EQ(window->Text1->text(), "机器学习\r\n深度");
    EXPECT_EQ(window->Combo1->listCount(), 121);
    EXPECT_EQ(window->Combo1->text(), "5");
    // A position outside the list keeps the first choice.
    EXPECT_EQ(window->Combo2->listCount(), 111);
    EXPECT_EQ(window->Combo2->text(), "10");
    EXPECT_EQ(window->minimumSize(), QSize(9000, 5000));

    window->Text1->setText(QStringLiteral("新"));
    window->Combo1->setListIndex(7);
    window->Combo2->setListIndex(20);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(app.settings.SettingsRead(Settings::kSearchKeywords.section,
                                        Settings::kSearchKeywords.key, {}),
              "新");
    EXPECT_EQ(
        app.settings.SettingsRead(Settings::kSearchDelay.section, Settings::kSearchDelay.key, {}),
        "7");
    EXPECT_EQ(app.settings.SettingsRead(Settings::kSearchTimeout.section,
                                        Settings::kSearchTimeout.key, {}),
              "20");
}

TEST_F(SearchWindow, ClosingDuringABatchEndsTheRun) {
    open();
    window->Text1->setText(QStringLiteral("a\r\nb\r\nc"));
    window->Combo1->setListIndex(60);
    app.runtime.callAfter(2000, [&] { window->close(); });
    window->Command1->click();
    EXPECT_LT(app.runtime.now(), 30.0);
    EXPECT_TRUE(window->isUnloaded());
    EXPECT_EQ(
        app.settings.SettingsRead(Settings::kSearchDelay.section, Settings::kSearchDelay.key, {}),
        "60");
}

TEST_F(SearchWindow, ClearingCommandsRemoveWhatTheyNameAndKeepTheRest) {
    open();
    fill({"Alpha PDF", "beta", "Gamma pdf", "delta"}, {"成功", "", "成功", ""});
    window->ListView1->setSelected(window->ListView1->at(2), true);
    window->menu清除选中项->click();
    EXPECT_EQ(titles(), (QStringList{"Alpha PDF", "Gamma pdf", "delta"}));
    EXPECT_EQ(window->Label1->caption(), "3");

    window->menu清除分析成功项->click();
    EXPECT_EQ(titles(), QStringList{"delta"});

    window->ListView1->clear();
    fill({"Alpha PDF", "beta", "Gamma pdf", "delta"});
    app.dialogs.expectInput(QStringLiteral("请输入指定字符："), QStringLiteral("pdf"));
    window->menu清除标题不含指定字符项->click();
    EXPECT_EQ(titles(), (QStringList{"Alpha PDF", "Gamma pdf"}));
    app.dialogs.expectInput(QStringLiteral("请输入指定字符："), QStringLiteral("ALPHA"));
    window->menu清除标题含指定字符项->click();
    EXPECT_EQ(titles(), QStringList{"Gamma pdf"});
    app.dialogs.expectInput(QStringLiteral("请输入指定字符："), QString());
    window->menu清除标题含指定字符项->click();
    EXPECT_EQ(titles(), QStringList{"Gamma pdf"});

    const QString question = QStringLiteral("您确定要清空辛辛苦苦搜索的列表数据吗？");
    app.dialogs.expectQuestion(question, MessageAnswer::No);
    window->menu清空全部->click();
    EXPECT_EQ(window->ListView1->count(), 1);
    app.dialogs.expectQuestion(question, MessageAnswer::Yes);
    window->menu清空全部->click();
    EXPECT_EQ(window->ListView1->count(), 0);
    EXPECT_EQ(window->Label1->caption(), "0");

    // An empty list asks nothing.
    window->menu清除标题含指定字符项->click();
}

TEST_F(SearchWindow, NothingIsClearedWhileEntriesAreHandedOver) {
    open();
    fill({"a", "b"});
    window->runState.handOverStop = false;
    for (MenuItem* item :
         {window->menu清除选中项, window->menu清除分析成功项, window->menu清除标题含指定字符项,
          window->menu清除标题不含指定字符项, window->menu清空全部}) {
        app.dialogs.expectMessage(QStringLiteral("正在分析，不能清除！"), MessageIcon::Error);
        item->click();
    }
    EXPECT_EQ(window->ListView1->count(), 2);
}

TEST_F(SearchWindow, ExportWritesGbkLinesAndReportsTheSize) {
    open();
    window->Command7->click();  // an empty list asks nothing
    QStringList names;
    for (int i = 0; i < 95; ++i) {
        names.append(QStringLiteral("报告%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    fill(names, {"成功"});
    const QString path = app.temp.path() + QStringLiteral("/out.txt");
    app.dialogs.expectSaveFile(path);
    // 95 lines of 报告NN-【pdf】 (14 bytes) and CR LF, the first with 成功 (4 bytes):
    // 1,524 bytes.
    app.dialogs.expectMessage(QStringLiteral("保存文件完毕：1.5KB"));
    window->Command7->click();
    const FileDialogOptions& options = app.dialogs.shown().at(0).options;
    EXPECT_EQ(options.filter, "*.txt|*.txt");
    EXPECT_EQ(options.defaultExtension, "txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.size(), 95 * 16 + 4);
    EXPECT_TRUE(
        bytes.startsWith(Gbk::encode(QStringLiteral("报告00-【pdf】成功\r\n报告01-【pdf】\r\n"))));
    EXPECT_TRUE(bytes.endsWith("\r\n"));

    app.dialogs.expectSaveFile(QString());
    window->Command7->click();
}

TEST_F(SearchWindow, ThePageSourceIsSavedAsGbk) {
    open();
    browser().addPage(kBase + "/p", QStringLiteral("<html><body>中文</body></html>"));
    browser().navigate(kBase + "/p");
    app.runtime.waitUntil([&] { return !browser().busy(); }, 1);
    const QString path = app.temp.path() + QStringLiteral("/page.htm");
    app.dialogs.expectSaveFile(path);
    app.dialogs.expectMessage(QStringLiteral("OK"));
    window->menu网页源码另存为->click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(Gbk::decode(file.readAll()), "<html><head></head><body>中文</body></html>");
}

TEST_F(SearchWindow, BrowserCommandsAndEvents) {
    open();
    app.dialogs.expectInput(QStringLiteral("请输入需要打开的网址："), QStringLiteral("   "));
    window->menu打开指定网址->click();
    app.dialogs.expectInput(QStringLiteral("请输入需要打开的网址："),
                            QStringLiteral("  http://a.example/x  "));
    window->menu打开指定网址->click();
    EXPECT_EQ(browser().navigations().constLast(), "http://a.example/x");
    window->menu后退->click();
    window->menu前进->click();

    // The maker's pages hide the status bar; others show it again.
    browser().navigate(QStringLiteral("http://maker.example/about"));
    EXPECT_FALSE(window->StatusBar1->visible());
    browser().navigate(QStringLiteral("http://other.example/"));
    EXPECT_TRUE(window->StatusBar1->visible());

    Q_EMIT browser().statusTextChange(QStringLiteral("完成"));
    EXPECT_EQ(window->StatusBar1->panelText(2), "完成");

    bool handled = false;
    Q_EMIT browser().newWindow(QStringLiteral("http://popup.example/"), &handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(browser().navigations().constLast(), "http://popup.example/");

    bool cancel = false;
    Q_EMIT browser().windowClosing(&cancel);
    EXPECT_TRUE(cancel);

    window->menu最新版本->click();
    ASSERT_FALSE(app.shell.calls().isEmpty());
}

TEST_F(SearchWindow, AddingThePageAsksForTheFolderWhenItIsAskedAtExtraction) {
    app.settings.SettingsWrite(Settings::kAskPathAtExtraction.section,
                               Settings::kAskPathAtExtraction.key, QStringLiteral("1"));
    open();
    FakeSearchEngine::Page page;
    page.results = {{QStringLiteral("Annual report"), QStringLiteral("http://f.cn/a.pdf")}};
    page.total = 1;
    browser().addPage(kBase + "/r",
                      QString::fromUtf8(FakeSearchEngine::resultPageHtml(kBase, page)));
    browser().navigate(kBase + "/r");
    app.runtime.waitUntil([&] { return !browser().busy(); }, 1);
    const QString folder = app.temp.path() + QStringLiteral("/chosen");
    app.dialogs.expectModal(fSeleFileSavePath::kName, [&](Window& dialog) {
        dialog.control<ComboBox>(QStringLiteral("Combo1"))->setText(folder);
        dialog.control<Button>(QStringLiteral("Command2"))->click();
    });
    window->Command9->click();
    ASSERT_EQ(window->ListView1->count(), 1);
    EXPECT_EQ(window->ListView1->at(1)->subItem(3), folder + "/");
}

TEST_F(SearchWindow, TheSplitterStaysInsideTheWindowAndFollowsTheMouse) {
    open();
    window->resizedByView(QRect(0, 0, 15000, 10500), QSize(15000, 9000));
    const QRect bar = window->PicBar->geometry();
    EXPECT_EQ(bar.left(), 20);
    EXPECT_EQ(bar.width(), 15000 - 300);
    EXPECT_EQ(bar.top(), 9000 * 3 / 5);
    EXPECT_EQ(window->PicPanWeb->geometry().bottom() + 1, bar.top());

    window->PicBar->mouseDown(MouseButton::Left, QPoint(100, 30));
    window->PicBar->mouseMove(MouseButton::Left, QPoint(100, 30 - 3000));
    window->PicBar->mouseUp(MouseButton::Left, QPoint(100, 30 - 3000));
    EXPECT_EQ(window->PicBar->geometry().top(), 9000 * 3 / 5 - 3000);
    EXPECT_EQ(window->PicPanList->geometry().top(), window->PicBar->geometry().bottom() + 1);
    EXPECT_EQ(window->PicPanList->geometry().bottom() + 1, 9000);

    // Dragged above the browser pane, or too close to the bottom edge: back to four
    // fifths.
    window->PicBar->mouseDown(MouseButton::Left, QPoint(100, 30));
    window->PicBar->mouseMove(MouseButton::Left, QPoint(100, 30 - 4000));
    window->PicBar->mouseUp(MouseButton::Left, QPoint(100, 30 - 4000));
    EXPECT_EQ(window->PicBar->geometry().top(), 9000 * 4 / 5);
    window->resizedByView(QRect(0, 0, 15000, 10500), QSize(15000, 9000));
    window->resizedByView(QRect(0, 0, 15000, 5500), QSize(15000, 4000));
    EXPECT_EQ(window->PicBar->geometry().top(), 4000 * 4 / 5);
}

}  // namespace
