#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/fSeleFileSavePath.h"
#include "platform/text/Gbk.h"
#include "support/TestApp.h"

namespace {

const QString kSettings = QStringLiteral("设置");
const QString kSaveFolderKey = QStringLiteral("下载文件保存路径");

fSeleFileSavePath* openSavePath(TestApp& app) {
    auto* dialog = app.forms.load<fSeleFileSavePath>(fSeleFileSavePath::kName);
    dialog->show();
    return dialog;
}

QString historyPath(TestApp& app) {
    return app.services.paths.dataFolder + QStringLiteral("SaveList.dat");
}

void writeHistory(TestApp& app, const QString& text) {
    QDir().mkpath(app.services.paths.dataFolder);
    QFile file(historyPath(app));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Gbk::encode(text));
}

QString readHistory(TestApp& app) {
    QFile file(historyPath(app));
    return file.open(QIODevice::ReadOnly) ? Gbk::decode(file.readAll()) : QString();
}

}  // namespace

TEST(SavePathDialog, OpensOnTheStoredFolderWithTheHistoryAboveOtherWindows) {
    TestApp app;
    writeHistory(app, "/data/a\r\n/data/报告\r\n");
    auto* dialog = openSavePath(app);
    EXPECT_EQ(dialog->caption(), "选择下载保存路径－岚鹊软件");
    EXPECT_TRUE(dialog->topMost());
    EXPECT_EQ(dialog->Combo1->items(), QStringList({"/data/a", "/data/报告"}));
    EXPECT_GT(dialog->Combo1->dropDownWidth(), 0);
    EXPECT_EQ(dialog->Combo1->text(), app.services.paths.homeFolder + "12345/");
    EXPECT_EQ(app.config.ChosenSaveFolder, app.services.paths.homeFolder + "12345/");
    EXPECT_TRUE(dialog->Option2->value());
    dialog->Command3->click();

    app.config.NameByOriginalFileName = true;
    app.settings.SettingsWrite(kSettings, kSaveFolderKey, "/data/b/");
    dialog = openSavePath(app);
    EXPECT_TRUE(dialog->Option1->value());
    EXPECT_EQ(dialog->Combo1->text(), "/data/b/");
}

TEST(SavePathDialog, ConfirmingCreatesTheFoldersStoresAndExtendsTheHistory) {
    TestApp app;
    writeHistory(app, "/data/a\r\n");
    app.config.SavePathCancelled = true;
    const QString target = app.temp.path() + "/new/sub";
    auto* dialog = openSavePath(app);
    dialog->Option1->click();
    dialog->Combo1->edit(target);
    dialog->Command2->click();

    EXPECT_FALSE(app.forms.IsFormLoaded(fSeleFileSavePath::kName));
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_EQ(app.config.ChosenSaveFolder, target + "/");
    EXPECT_EQ(app.settings.SettingsRead(kSettings, kSaveFolderKey, ""), target + "/");
    EXPECT_FALSE(app.config.SavePathCancelled);
    EXPECT_TRUE(app.config.NameByOriginalFileName);
    EXPECT_EQ(readHistory(app), "/data/a\r\n" + target + "\r\n");

    // The same folder again is appended again.
    dialog = openSavePath(app);
    dialog->Command2->click();
    EXPECT_EQ(readHistory(app), "/data/a\r\n" + target + "\r\n" + target + "\r\n");
}

TEST(SavePathDialog, AFolderThatCannotBeMadeKeepsTheDialogOpen) {
    TestApp app;
    QFile blocker(app.temp.path() + "/plain-file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto* dialog = openSavePath(app);
    const QString before = app.config.ChosenSaveFolder;
    dialog->Combo1->edit(blocker.fileName() + "/sub");
    app.dialogs.expectMessage("文件夹设置错误！", MessageIcon::Error);
    dialog->Command2->click();
    EXPECT_TRUE(app.forms.IsFormLoaded(fSeleFileSavePath::kName));
    EXPECT_EQ(app.config.ChosenSaveFolder, before);
    EXPECT_EQ(app.settings.writeCount(), 0);
    EXPECT_FALSE(QFile::exists(historyPath(app)));
}

TEST(SavePathDialog, CancelIsRememberedButTheCloseBoxChangesNothing) {
    TestApp app;
    auto* dialog = openSavePath(app);
    dialog->Command3->click();
    EXPECT_TRUE(app.config.SavePathCancelled);

    app.config.SavePathCancelled = false;
    dialog = openSavePath(app);
    EXPECT_TRUE(dialog->close());
    EXPECT_FALSE(app.config.SavePathCancelled);
    EXPECT_EQ(app.settings.writeCount(), 0);
}

TEST(SavePathDialog, BrowsingPutsThePickedFolderOrTheOldTextWithASlash) {
    TestApp app;
    auto* dialog = openSavePath(app);
    dialog->Combo1->edit("/data/old");
    app.dialogs.expectFolder("/data/picked");
    dialog->Command1->click();
    EXPECT_EQ(dialog->Combo1->text(), "/data/picked/");
    app.dialogs.expectFolder("");
    dialog->Command1->click();
    EXPECT_EQ(dialog->Combo1->text(), "/data/picked/");
    EXPECT_EQ(app.dialogs.shown().last().text, "请选择要浏览的文件夹:");
}
