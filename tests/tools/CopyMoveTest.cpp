// The copy/move tool: its same-name rules, what a start stores, the files it leaves
// alone, and a job that is stopped or whose window closes while the job yields.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDateTime>

#include "platform/text/Gbk.h"
#include "support/TestApp.h"
#include "tools/Form_Copy_Move.h"
#include "tools/SameNameCopy.h"
#include "tools/ToolTestFiles.h"

namespace {

const QString kSection = QStringLiteral("Form_Copy_Move");
const QString kFolderKey = QStringLiteral("目的文件夹");
const QString kRuleKey = QStringLiteral("OpIndex");

void setModified(const QString& path, const QDateTime& time) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(time, QFile::FileModificationTime)) {
        ADD_FAILURE() << "cannot date " << path.toStdString();
    }
}

// Every file of the folder, hidden ones too, with its content.
QMap<QString, QByteArray> contents(const QString& folder) {
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        files.insert(name, readFile(folder + name));
    }
    return files;
}

class CopyMove : public ::testing::Test {
  protected:
    // The tool as the cache viewer opens it, with a stored destination and rule.
    Form_Copy_Move* open(const QStringList& files, bool move, const QString& rule = "2") {
        app.settings.SettingsWrite(kSection, kFolderKey, destination);
        app.settings.SettingsWrite(kSection, kRuleKey, rule);
        auto* tool = app.forms.load<Form_Copy_Move>(Form_Copy_Move::kName);
        tool->Files = files;
        tool->MoveMode = move;
        tool->show();
        return tool;
    }
    QString source(const QString& name, const QByteArray& bytes = "data") {
        return writeFile(app.temp.filePath("source/") + name, bytes);
    }

    TestApp app;
    QString destination = app.temp.filePath("destination/");
};

}  // namespace

TEST_F(CopyMove, EachRuleTreatsANameTheFolderHoldsAsItSays) {
    const QDateTime time(QDate(2024, 3, 1), QTime(12, 0));
    const struct {
        const char* rule;
        const char* existing;
        int olderBy;  // seconds
        bool numberedToo;
        QMap<QString, QByteArray> after;
    } cases[] = {
        {"1", "old!", 0, false, {{"a.txt", "old!"}}},
        {"2", "old", 60, false, {{"a.txt", "new!"}}},
        {"3", "old", 0, true, {{"a.txt", "old"}, {"a[001].txt", "one"}, {"a[002].txt", "new!"}}},
        {"4", "old!", 60, false, {{"a.txt", "old!"}, {"a[001].txt", "new!"}}},
        {"4", "old!", 0, false, {{"a.txt", "new!"}}},
        {"5", "old!", 60, false, {{"a.txt", "new!"}}},
        {"5", "old", 0, false, {{"a.txt", "old"}, {"a[001].txt", "new!"}}},
        {"9", "old", 0, false, {{"a.txt", "old"}}},  // no rule chosen: nothing
    };
    const QString from = source("a.txt", "new!");
    setModified(from, time);
    int round = 0;
    for (const auto& c : cases) {
        destination = app.temp.filePath(QStringLiteral("destination%1/").arg(++round));
        setModified(writeFile(destination + "a.txt", c.existing), time.addSecs(-c.olderBy));
        if (c.numberedToo) {
            writeFile(destination + "a[001].txt", "one");
        }
        auto* tool = open({from}, false, c.rule);
        app.dialogs.expectMessage("复制文件完成！");
        tool->Command1->click();
        // Nothing else is left behind, no temporary file either.
        EXPECT_EQ(contents(destination), c.after) << "rule " << c.rule << ", round " << round;
        EXPECT_EQ(readFile(from), "new!");
        tool->close();
    }
}

TEST_F(CopyMove, ANumberedNameDropsTheNumberTheSourceCarries) {
    writeFile(destination + "report.pdf");
    writeFile(destination + "notes");
    QString newName;
    QString baseName;
    ASSERT_TRUE(
        复制相同文件自动重命名(source("report[002].pdf", "r"), destination, newName, baseName));
    EXPECT_EQ(newName, "report[001].pdf");
    EXPECT_EQ(baseName, "report[001]");
    EXPECT_EQ(readFile(destination + newName), "r");
    ASSERT_TRUE(复制相同文件自动重命名(source("notes"), destination, newName, baseName));
    EXPECT_EQ(newName, "notes[001]");
    EXPECT_FALSE(
        复制相同文件自动重命名(app.temp.filePath("none.pdf"), destination, newName, baseName));
}

TEST_F(CopyMove, AStartStoresTheFolderTheRuleAndTheHistoryOnce) {
    const QString history = app.services.paths.dataFolder + "SaveList.dat";
    writeFile(history, "/data/a\r\n");
    auto* tool = app.forms.load<Form_Copy_Move>(Form_Copy_Move::kName);
    EXPECT_EQ(tool->caption(), "复制文件...");
    EXPECT_EQ(tool->Combo1->text(), app.services.paths.dataFolder);
    EXPECT_EQ(tool->Combo1->items(), QStringList({"/data/a"}));
    EXPECT_TRUE(tool->Option1[3]->value());
    tool->show();

    app.dialogs.expectFolder(app.temp.filePath("picked"));
    tool->Command3->click();
    EXPECT_EQ(tool->Combo1->text(), app.temp.filePath("picked/"));

    // Every file has vanished: the start stores and does nothing else, without a word.
    tool->Files = {app.temp.filePath("vanished.pdf")};
    const QString typed = app.temp.filePath("Dest");
    tool->Combo1->edit(typed);
    tool->Option1[1]->click();
    tool->Command1->click();
    EXPECT_TRUE(QFileInfo(typed).isDir());
    EXPECT_EQ(app.settings.SettingsRead(kSection, kFolderKey, ""), typed + "/");
    EXPECT_EQ(app.settings.SettingsRead(kSection, kRuleKey, ""), "2");
    EXPECT_EQ(readFile(history), Gbk::encode("/data/a\r\n" + typed + "/\r\n"));
    EXPECT_TRUE(tool->Files.isEmpty());

    tool->Combo1->edit(app.temp.filePath("DEST/"));
    tool->Command1->click();
    EXPECT_EQ(readFile(history), Gbk::encode("/data/a\r\n" + typed + "/\r\n"));
}

TEST_F(CopyMove, FilesInTheFolderAlreadyOrTheSameFileStayWhereTheyAre) {
    const QString inPlace = writeFile(destination + "own.txt", "own");
    const QString viaLink = app.temp.filePath("link");
    ASSERT_EQ(
        symlink(QFile::encodeName(destination).constData(), QFile::encodeName(viaLink).constData()),
        0);
    const QString hard = source("hard.txt", "hard");
    ASSERT_EQ(link(QFile::encodeName(hard).constData(),
                   QFile::encodeName(destination + "hard.txt").constData()),
              0);
    // Another folder, although its name differs only in case.
    const QString otherCase = writeFile(app.temp.filePath("Destination/x.txt"), "x");
    auto* tool = open({viaLink + "/own.txt", hard, otherCase}, true);
    app.dialogs.expectMessage("移动文件完成！");
    tool->Command1->click();
    EXPECT_EQ(readFile(inPlace), "own");
    EXPECT_EQ(readFile(hard), "hard");
    EXPECT_EQ(readFile(destination + "hard.txt"), "hard");
    EXPECT_FALSE(QFile::exists(otherCase));
    EXPECT_EQ(readFile(destination + "x.txt"), "x");

    // "跳过" in move mode keeps the source too.
    const QString skipped = source("own.txt", "new");
    tool->Files = {skipped};
    tool->Option1[0]->click();
    app.dialogs.expectMessage("移动文件完成！");
    tool->Command1->click();
    EXPECT_EQ(readFile(skipped), "new");
    EXPECT_EQ(readFile(inPlace), "own");
}

TEST_F(CopyMove, AStopAfterTheFirstOfThreeFilesMovesThatOneOnly) {
    const QStringList files = {source("1.txt"), source("2.txt"), source("3.txt")};
    auto* tool = open(files, true);
    app.runtime.post([&] {
        EXPECT_EQ(tool->Command1->caption(), "停止");
        EXPECT_EQ(tool->Label3->caption(), "1.txt");
        EXPECT_EQ(tool->ProgressBar1->value(), 1);
        EXPECT_EQ(tool->ProgressBar1->max(), 4);
        QFile::remove(files[2]);
        tool->Command1->click();
    });
    app.dialogs.expectMessage("移动文件完成！");
    tool->Command1->click();
    EXPECT_FALSE(QFile::exists(files[0]));
    EXPECT_EQ(readFile(destination + "1.txt"), "data");
    EXPECT_TRUE(QFile::exists(files[1]));
    EXPECT_FALSE(QFile::exists(destination + "2.txt"));
    // The stop click pruned Files of the vanished file; the job kept its own list.
    EXPECT_EQ(tool->Files, files.mid(0, 2));
    EXPECT_EQ(tool->Command1->caption(), "开始");
    EXPECT_EQ(tool->ProgressBar1->value(), 0);
    EXPECT_EQ(tool->Label3->caption(), "");
}

TEST_F(CopyMove, AClosedWindowOrTheProgramsEndStopsTheJobAndTheWindowGoesAfterIt) {
    const QStringList files = {source("1.txt"), source("2.txt")};
    auto* tool = open(files, false);
    app.runtime.post([tool] { tool->close(); });
    tool->Command1->click();
    // The file in hand is finished, the next one never started, and nothing is said.
    EXPECT_TRUE(QFile::exists(destination + "1.txt"));
    EXPECT_FALSE(QFile::exists(destination + "2.txt"));
    EXPECT_FALSE(app.forms.IsFormLoaded(Form_Copy_Move::kName));
    app.runtime.yield();

    tool = open(files, false, "1");
    app.runtime.post([this] { app.runtime.requestQuit(); });
    tool->Command1->click();
    EXPECT_FALSE(QFile::exists(destination + "2.txt"));
    EXPECT_TRUE(app.dialogs.messageTexts().isEmpty());
}

TEST_F(CopyMove, ADestinationThatCannotBeMadeIsReported) {
    const QString blocker = writeFile(app.temp.filePath("plain-file"));
    auto* tool = open({source("a.txt")}, false);
    for (const QString& folder : {blocker + "/sub", QString()}) {
        tool->Combo1->edit(folder);
        app.dialogs.expectMessage("创建文件夹出错！", MessageIcon::Error);
        tool->Command1->click();
    }
    EXPECT_FALSE(QFileInfo::exists(destination));
    EXPECT_EQ(app.settings.SettingsRead(kSection, kFolderKey, ""), destination);
}
