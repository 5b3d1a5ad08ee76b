// The hand-over of result entries to the download list: the passes, the button, the
// automatic mode and the stops, on the search window with the whole program on fakes.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "app/SettingsKeys.h"
#include "app/fSeleFileSavePath.h"
#include "download/DownloadEntry.h"
#include "download/fFileDownload.h"
#include "search/fWebSearch.h"
#include "support/TestApp.h"

namespace {

const QString kSourcePage = QStringLiteral("http://engine.example/search?p=a");
const QString kHandedOver = QStringLiteral("成功");

// The search window loaded, with AskPathAtExtraction as the settings give it.
struct Scene {
    explicit Scene(int askPath = 1) {
        app.settings.SettingsWrite(Settings::kAskPathAtExtraction.section,
                                   Settings::kAskPathAtExtraction.key, QString::number(askPath));
        app.config.ChosenSaveFolder = QStringLiteral("/chosen/");
        window = app.forms.load<fWebSearch>(fWebSearch::kName);
    }

    static QString link(int i) { return QStringLiteral("http://f.cn/%1.pdf").arg(i); }

    // Results 报告0, 报告1, ... with these statuses; the first carries its own folder.
    void fill(const QStringList& statuses) {
        for (int i = 0; i < statuses.size(); ++i) {
            add(statuses.at(i), i == 0 ? QStringLiteral("/own/") : QString());
        }
    }
    void add(const QString& status, const QString& folder = {}) {
        const int i = window->ListView1->count();
        window->加入LV1(QStringLiteral("报告%1").arg(i), link(i), kSourcePage,
                        QStringLiteral("pdf"), folder);
        window->ListView1->setSubItem(window->ListView1->at(i + 1), 2, status);
    }
    QStringList statuses() const {
        QStringList result;
        for (int i = 1; i <= window->ListView1->count(); ++i) {
            result.append(window->ListView1->at(i)->subItem(2));
        }
        return result;
    }

    fFileDownload* download() const { return app.forms.find<fFileDownload>(fFileDownload::kName); }
    // The download list's addresses in order.
    QStringList handedOver() const {
        QStringList links;
        for (int i = 1; download() && i <= download()->ListView3->count(); ++i) {
            links.append(download()->ListView3->at(i)->key());
        }
        return links;
    }
    // Runs `action` inside the pass's yield after the `nth` entry is marked handed over.
    void atHandedOver(int nth, std::function<void()> action) {
        QObject::connect(
            window->ListView1, &ListView::rowChanged, window->ListView1,
            [this, nth, action, seen = 0](int row) mutable {
                if (window->ListView1->at(row + 1)->subItem(2) == kHandedOver && ++seen == nth) {
                    app.runtime.post(action);
                }
            });
    }

    TestApp app;
    fWebSearch* window = nullptr;
};

TEST(HandOver, EachPassTakesItsEntriesAndMarksThemHandedOver) {
    using Item = MenuItem* fWebSearch::*;
    struct Case {
        Item item;
        QList<int> handedOver;
        QStringList statuses;
    };
    // Entries 0 to 3 read "", 成功, 分析失败 and ""; 1 and 2 are selected.
    const Case cases[] = {
        {&fWebSearch::menu分析未分析项, {0, 3}, {"成功", "成功", "分析失败", "成功"}},
        {&fWebSearch::menu分析失败项, {2}, {"", "成功", "成功", ""}},
        {&fWebSearch::menu分析选中项, {1, 2}, {"", "成功", "成功", ""}},
        {&fWebSearch::menu分析全部, {0, 1, 2, 3}, {"成功", "成功", "成功", "成功"}},
    };
    for (const Case& c : cases) {
        Scene scene;
        scene.fill({"", "成功", "分析失败", ""});
        scene.window->ListView1->setSelected(scene.window->ListView1->at(2), true);
        scene.window->ListView1->setSelected(scene.window->ListView1->at(3), true);
        (scene.window->*c.item)->click();

        const QString pass = (scene.window->*c.item)->caption();
        EXPECT_EQ(scene.statuses(), c.statuses) << pass.toStdString();
        QStringList expected;
        for (int i : c.handedOver) {
            expected.append(Scene::link(i));
        }
        EXPECT_EQ(scene.handedOver(), expected) << pass.toStdString();
        EXPECT_TRUE(scene.window->runState.handOverStop);
        EXPECT_FALSE(scene.window->PicPanPrograss->visible());
        EXPECT_EQ(scene.window->Label11->caption(), "正在分析,请稍候...");
        ASSERT_TRUE(scene.download());
        EXPECT_TRUE(scene.download()->visible());
        EXPECT_TRUE(scene.app.dialogs.shown().isEmpty());
    }

    // A new entry waits for its download, named after the title, in the result's own folder
    // or else the chosen one, with the result page as referrer.
    Scene scene;
    scene.fill({"", ""});
    scene.window->menu分析全部->click();
    ListView& list = *scene.download()->ListView3;
    const DownloadEntry own(list, list.at(1));
    const DownloadEntry chosen(list, list.at(2));
    EXPECT_EQ(own.name(), "报告0");
    EXPECT_EQ(own.type(), "pdf");
    EXPECT_EQ(own.folder(), "/own/");
    EXPECT_EQ(own.referrer(), kSourcePage);
    EXPECT_EQ(own.state(), EntryState::Waiting);
    EXPECT_EQ(chosen.folder(), "/chosen/");
}

TEST(HandOver, EntriesAreNamedByTitleOrFileNameAndNeverEmpty) {
    struct Case {
        bool byFileName;
        QString link;
        QString title;
        QString name;
    };
    const Case cases[] = {
        {true, "a://b/c/report.pdf", "年度报告", "report"},
        {false, "http://f.cn/x/1.pdf", " 年度\r\n报告:草稿 ", "年度报告草稿"},
        // A title that cleans to nothing takes the link's file name, then "未命名".
        {false, "http://f.cn/x/说明书.pdf", "<?>", "说明书"},
        {false, "http://f.cn/", "\r\n", "未命名"},
    };
    Scene scene;
    for (const Case& c : cases) {
        scene.app.config.NameByOriginalFileName = c.byFileName;
        scene.window->handOver.加入下载列表(c.link, c.title, "pdf", "/own/", kSourcePage);
    }
    // The first access loads the download window without showing it.
    fFileDownload* download = scene.download();
    ASSERT_TRUE(download);
    EXPECT_FALSE(download->visible());
    ASSERT_EQ(download->ListView3->count(), int(std::size(cases)));
    for (int i = 0; i < int(std::size(cases)); ++i) {
        EXPECT_EQ(DownloadEntry(*download->ListView3, download->ListView3->at(i + 1)).name(),
                  cases[i].name)
            << cases[i].link.toStdString();
    }

    scene.window->handOver.显示下载窗口();
    EXPECT_TRUE(download->visible());
    download->setWindowState(WindowState::Minimized);
    scene.window->handOver.显示下载窗口();
    EXPECT_EQ(download->windowState(), WindowState::Minimized);
}

TEST(HandOver, TheButtonSaysWhenTheListIsEmptyAsksForTheFolderAndPopsUpTheMenu) {
    Scene scene(0);
    fWebSearch& window = *scene.window;
    scene.app.dialogs.expectMessage("列表没有数据哦！");
    window.Command2->click();
    EXPECT_TRUE(window.Command2->enabled());

    // Nothing selected: every entry, once the folder is confirmed; cancelled, none.
    scene.fill({"", ""});
    scene.app.dialogs.expectModal(fSeleFileSavePath::kName, [](Window& dialog) {
        dialog.control<Button>(QStringLiteral("Command3"))->click();
    });
    window.Command2->click();
    EXPECT_EQ(scene.statuses(), QStringList({"", ""}));
    EXPECT_FALSE(scene.app.forms.IsFormLoaded(fFileDownload::kName));
    EXPECT_FALSE(window.PicPanPrograss->visible());
    EXPECT_TRUE(window.runState.handOverStop);
    EXPECT_TRUE(window.Command2->enabled());

    // An entry selected: the pop-up menu chooses the pass.
    QSignalSpy popups(&window, &Window::popupRequested);
    window.ListView1->setSelected(window.ListView1->at(2), true);
    window.Command2->click();
    ASSERT_EQ(popups.count(), 1);
    EXPECT_EQ(popups[0][0].value<MenuItem*>(), window.menu加入);
    EXPECT_EQ(scene.statuses(), QStringList({"", ""}));
}

TEST(HandOver, AStopTheWindowsCloseOrTheProgramsEndEndsThePassAfterItsEntry) {
    enum class Stop { Button, Close, ProgramEnd };
    struct Case {
        Stop stop;
        int after;  // entries handed over before the stop
    };
    const Case cases[] = {
        {Stop::Button, 2}, {Stop::Close, 2}, {Stop::ProgramEnd, 2}, {Stop::Close, 0}};
    for (const Case& c : cases) {
        Scene scene;
        scene.fill({"", "", "", "", ""});
        fWebSearch* window = scene.window;
        const auto stop = [&] {
            switch (c.stop) {
                case Stop::Button:
                    window->Command5->click();
                    break;
                case Stop::Close:
                    window->close();
                    break;
                case Stop::ProgramEnd:
                    scene.app.forms.endProgram();
                    break;
            }
        };
        if (c.after == 0) {
            // Closed before its first entry, the pass asks for no folder either.
            scene.app.config.AskPathAtExtraction = 0;
            scene.app.runtime.post(stop);
        } else {
            scene.atHandedOver(c.after, stop);
        }
        window->menu分析全部->click();

        const std::string kind = std::to_string(int(c.stop)) + "/" + std::to_string(c.after);
        QStringList links;
        for (int i = 0; i < c.after; ++i) {
            links.append(Scene::link(i));
        }
        EXPECT_EQ(scene.handedOver(), links) << kind;
        EXPECT_EQ(window->isUnloaded(), c.stop == Stop::Close) << kind;
        // The download window comes forward, but not at the program's end.
        EXPECT_EQ(scene.download() && scene.download()->visible(),
                  c.after > 0 && c.stop != Stop::ProgramEnd)
            << kind;
        if (c.stop == Stop::Button) {
            EXPECT_EQ(scene.statuses(), QStringList({"成功", "成功", "", "", ""}));
            EXPECT_FALSE(window->PicPanPrograss->visible());
        }
    }
}

TEST(HandOver, TheAutomaticModeAsksForTheFolderOnceThenHandsOverEachSecond) {
    Scene scene(0);
    fWebSearch& window = *scene.window;
    scene.fill({""});
    scene.app.dialogs.expectModal(fSeleFileSavePath::kName, [](Window& dialog) {
        dialog.control<Button>(QStringLiteral("Command3"))->click();
    });
    window.Check7->click();
    EXPECT_FALSE(window.Check7->value());
    EXPECT_FALSE(window.Timer1->isEnabled());

    const QString folder = scene.app.temp.path() + QStringLiteral("/auto");
    scene.app.dialogs.expectModal(fSeleFileSavePath::kName, [&](Window& dialog) {
        dialog.control<ComboBox>(QStringLiteral("Combo1"))->setText(folder);
        dialog.control<Button>(QStringLiteral("Command2"))->click();
    });
    window.Check7->click();
    EXPECT_TRUE(window.Check7->value());
    EXPECT_TRUE(window.Timer1->isEnabled());

    // Every tick hands over what is new, asking nothing.
    scene.app.runtime.advance(1.0);
    scene.add("");
    scene.app.runtime.advance(1.0);
    EXPECT_EQ(scene.statuses(), QStringList({"成功", "成功"}));
    EXPECT_EQ(scene.handedOver(), QStringList({Scene::link(0), Scene::link(1)}));
    EXPECT_EQ(
        DownloadEntry(*scene.download()->ListView3, scene.download()->ListView3->at(2)).folder(),
        folder + "/");

    window.Check7->click();
    EXPECT_FALSE(window.Timer1->isEnabled());
    scene.add("");
    scene.app.runtime.advance(2.0);
    EXPECT_EQ(scene.statuses().last(), "");

    // Asked at extraction, the folder is settled without the dialog.
    scene.app.config.AskPathAtExtraction = 1;
    window.Check7->click();
    EXPECT_TRUE(window.Timer1->isEnabled());
}

TEST(HandOver, ATickInsideARunningPassIsSkippedAndTheNextTakesWhatIsLeft) {
    Scene scene;
    fWebSearch& window = *scene.window;
    scene.fill({"", "", ""});
    window.Check7->click();
    ASSERT_TRUE(window.Timer1->isEnabled());

    // While the first entry is handed over, a result arrives and a tick falls due.
    int handedOverAtTick = -1;
    scene.atHandedOver(1, [&] {
        scene.add("");
        scene.app.runtime.advance(1.0);
        handedOverAtTick = int(scene.handedOver().size());
    });
    window.menu分析全部->click();
    EXPECT_EQ(handedOverAtTick, 1);
    EXPECT_EQ(scene.statuses(), QStringList({"成功", "成功", "成功", ""}));

    scene.app.runtime.advance(1.0);
    EXPECT_EQ(scene.statuses(), QStringList({"成功", "成功", "成功", "成功"}));
    EXPECT_EQ(scene.handedOver(),
              QStringList({Scene::link(0), Scene::link(1), Scene::link(2), Scene::link(3)}));
}

}  // namespace
