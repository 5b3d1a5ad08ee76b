// The download window's list and tool menus as the user meets them: guards, questions,
// input boxes, messages and what reaches the desktop.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "DownloadTestSupport.h"
#include "download/DownloadList.h"
#include "download/UrlReplace.h"
#include "download/fFileDownload.h"
#include "platform/text/Gbk.h"
#include "support/TestApp.h"

namespace {

class ListMenu : public testing::Test {
  protected:
    void SetUp() override {
        w = app.forms.load<fFileDownload>(fFileDownload::kName);
        w->show();
        folder = app.temp.path() + QStringLiteral("/files/");
        QDir().mkpath(folder);
    }
    DownloadEntry add(const QString& name, EntryState state, const QString& size = {}) {
        DownloadEntry entry = AddEntry(*w->ListView3, QStringLiteral("http://x/") + name, name,
                                       QStringLiteral("pdf"), folder, QString());
        entry.setState(state);
        entry.setSizeText(size);
        entry.setReceivedText(size);
        return entry;
    }
    QStringList names() const {
        QStringList result;
        for (int position = 1; position <= w->ListView3->count(); ++position) {
            result << w->ListView3->at(position)->text();
        }
        return result;
    }
    void select(const DownloadEntry& entry) { w->ListView3->setSelectedItem(entry.row()); }

    TestApp app;
    fFileDownload* w = nullptr;
    QString folder;
};

const QString kGuardText = QStringLiteral("停止下载以后，才能执行此操作！");

}  // namespace

TEST_F(ListMenu, ItemsThatMoveRowsOrFilesWaitUntilTheDownloadStops) {
    add("a", EntryState::Done);
    add("b", EntryState::Done);
    select(add("c", EntryState::Waiting));
    add("d", EntryState::Done);
    w->Timer_Down->start();
    for (MenuItem* item :
         {w->menu随机排序, w->menu移除选中项, w->menu移除完成项, w->menu移除未完成项,
          w->menu移除出错项, w->menu清空全部, w->menu检查并纠正文件类型}) {
        app.dialogs.expectMessage(kGuardText);
        item->click();
        EXPECT_EQ(names(), QStringList({"a", "b", "c", "d"})) << item->name().toStdString();
    }
    // Not guarded: re-downloading and cancelling go on while the timer runs.
    w->menu重新下载出错项->click();
    w->menu取消下载选中项->click();
    EXPECT_EQ(DownloadEntry(*w->ListView3, w->ListView3->at(3)).state(), EntryState::Failed);

    w->Timer_Down->stop();
    w->menu移除完成项->click();
    EXPECT_EQ(names(), QStringList({"c"}));
    EXPECT_EQ(w->Label1->caption(), "1条");
    app.dialogs.expectMessage("随机排序完成！");
    w->menu随机排序->click();
    EXPECT_EQ(names(), QStringList({"c"}));

    app.dialogs.expectQuestion("您确定要清空列表的所有信息吗？", MessageAnswer::No,
                               MessageIcon::None);
    w->menu清空全部->click();
    EXPECT_EQ(names(), QStringList({"c"}));
    app.dialogs.expectQuestion("您确定要清空列表的所有信息吗？", MessageAnswer::Yes,
                               MessageIcon::None);
    w->menu清空全部->click();
    EXPECT_EQ(w->Label1->caption(), "0条");
    // Asked even when there is nothing to clear.
    app.dialogs.expectQuestion("您确定要清空列表的所有信息吗？", MessageAnswer::Yes,
                               MessageIcon::None);
    w->menu清空全部->click();

    w->runState.downloadBusy = true;
    app.dialogs.expectMessage("停止下载后方可设置！", MessageIcon::Error);
    w->menu取消下载选中项->click();
}

TEST_F(ListMenu, TheSizeItemsReadTheirAnswers) {
    DownloadEntry whole = add("whole", EntryState::Done, "4096");
    ASSERT_TRUE(WriteFile(EntryFilePath(whole), "x"));
    for (const char* answer : {"", "abc", "5千"}) {
        app.dialogs.expectInput("请输入数字：", answer);
        w->menu重新下载小文件->click();
    }
    EXPECT_EQ(whole.state(), EntryState::Done);
    EXPECT_EQ(app.dialogs.messageTexts(), QStringList());
    app.dialogs.expectInput("请输入数字：", " 5000 ");
    w->menu重新下载小文件->click();
    EXPECT_EQ(whole.state(), EntryState::Waiting);
    EXPECT_TRUE(app.dialogs.shown().last().title.isEmpty());

    const QString prompt = QStringLiteral("请输入文件大小（KB），小于这个数的文件将会被全部删除！");
    for (const char* answer : {"", "五"}) {
        app.dialogs.expectInput(prompt, answer);
        app.dialogs.expectMessage("文件大小无效！", MessageIcon::Error);
        w->menu删除小文件->click();
    }
    whole.setState(EntryState::Done);
    whole.setSizeText("4096");
    app.dialogs.expectInput(prompt, "5");
    w->menu删除小文件->click();
    EXPECT_EQ(app.dialogs.shown().last().title, "删除文件大小小于指定数的全部文件");
    EXPECT_EQ(whole.state(), EntryState::Waiting);
    EXPECT_FALSE(QFile::exists(EntryFilePath(whole)));
}

TEST_F(ListMenu, ExportedNamesAreGbkLinesEndingInCrLf) {
    w->menu导出全部->click();  // an empty list: no dialog
    add("报告p", EntryState::Done);
    add("报告q", EntryState::Failed);
    add("r", EntryState::Waiting);
    const QString path = folder + QStringLiteral("名称.txt");
    app.dialogs.expectSaveFile(path);
    w->menu导出未完成项->click();
    EXPECT_EQ(ReadFile(path), Gbk::encode(QStringLiteral("报告q\r\nr\r\n")));
    const FileDialogOptions& options = app.dialogs.shown().last().options;
    EXPECT_EQ(options.filter, "*.txt|*.txt");
    EXPECT_TRUE(options.askBeforeOverwrite);

    app.dialogs.expectSaveFile(path);
    w->menu导出全部->click();
    EXPECT_EQ(ReadFile(path), Gbk::encode(QStringLiteral("报告p\r\n报告q\r\nr\r\n")));

    app.dialogs.expectSaveFile(QString());  // cancelled
    w->menu导出全部->click();
    app.dialogs.expectSaveFile(folder + QStringLiteral("missing/名称.txt"));
    app.dialogs.expectMessage(QString(), MessageIcon::Error);
    w->menu导出全部->click();
    EXPECT_FALSE(app.dialogs.shown().last().text.isEmpty());
}

TEST_F(ListMenu, FileActionsOpenWhatExistsAndSayWhatIsMissing) {
    using Op = RecordingShell::Op;
    w->menu打开下载文件->click();  // no current entry: nothing
    DownloadEntry entry = add("报告", EntryState::Done);
    select(entry);
    const QString file = EntryFilePath(entry);
    for (MenuItem* item : {w->menu打开下载文件, w->menu用记事本打开}) {
        app.dialogs.expectMessage("该文件不存在！", MessageIcon::Error);
        item->click();
    }
    w->menu打开所在文件夹->click();

    ASSERT_TRUE(WriteFile(file, QByteArray(2048 * 1024, 'x')));
    w->menu打开下载文件->click();
    w->menu打开所在文件夹->click();
    w->menu用记事本打开->click();
    ASSERT_TRUE(WriteFile(file, QByteArray(2048 * 1024 + 1, 'x')));
    app.dialogs.expectMessage("该文件太大，超过了2M，不便于用记事本打开！", MessageIcon::Error);
    w->menu用记事本打开->click();
    EXPECT_EQ(app.shell.calls(), QList<RecordingShell::Call>({{Op::OpenFolder, folder},
                                                              {Op::OpenFile, file},
                                                              {Op::ShowInFolder, file},
                                                              {Op::OpenInTextEditor, file}}));

    // A desktop without a text editor, or a file manager that fails.
    app.shell.result = false;
    ASSERT_TRUE(WriteFile(file, "纯文本"));
    app.dialogs.expectMessage(QString(), MessageIcon::Error);
    w->menu用记事本打开->click();
    EXPECT_TRUE(app.dialogs.shown().last().text.contains("text/plain"));
    app.dialogs.expectMessage("打开失败！", MessageIcon::Error);
    w->menu打开所在文件夹->click();
    entry.setFolder(folder + QStringLiteral("gone/"));
    app.dialogs.expectMessage("文件夹不存在！", MessageIcon::Error);
    w->menu打开所在文件夹->click();

    w->menu复制名称->click();
    EXPECT_EQ(app.clipboard.text(), "报告");
    EXPECT_EQ(app.clipboard.clears(), 1);
}

TEST_F(ListMenu, TheReplaceDialogKeepsKeysUniqueAndSaysSo) {
    DownloadEntry first = add("ABC", EntryState::Done);
    DownloadEntry holder = add("xyz", EntryState::Done);
    DownloadEntry other = add("abc-2", EntryState::Downloading);
    const auto replace = [](const QString& find, const QString& by) {
        return [find, by](Window& window) {
            auto& dialog = static_cast<UrlReplace&>(window);
            EXPECT_EQ(dialog.caption(), "网址批量替换");
            dialog.Text1->setText("  ");
            dialog.Command1->click();  // refused: the dialog stays
            dialog.Text1->setText(find);
            dialog.Text2->setText(by);
            dialog.Command1->click();
        };
    };
    app.dialogs.expectModal(UrlReplace::kName, replace("abc", "xyz"));
    app.dialogs.expectMessage("请输入字符串！", MessageIcon::Error);
    app.dialogs.expectMessage(QString());
    w->menu批量替换网址->click();
    EXPECT_TRUE(app.dialogs.shown().last().text.contains("1项"));
    EXPECT_EQ(first.addresses(), "http://x/ABC");
    EXPECT_EQ(holder.addresses(), "http://x/xyz");
    EXPECT_EQ(other.addresses(), "http://x/xyz-2");
    EXPECT_EQ(other.state(), EntryState::Downloading);

    app.dialogs.expectModal(UrlReplace::kName, replace("HTTP://X/", "https://y/"));
    app.dialogs.expectMessage("请输入字符串！", MessageIcon::Error);
    app.dialogs.expectMessage("全部网址替换完成！");
    w->menu批量替换网址->click();
    EXPECT_EQ(first.addresses(), "https://y/ABC");

    app.dialogs.expectModal(UrlReplace::kName, [](Window& window) {
        static_cast<UrlReplace&>(window).Command2->click();
    });
    w->menu批量替换网址->click();
    EXPECT_EQ(first.addresses(), "https://y/ABC");
}

TEST_F(ListMenu, TypeToolsCountCorrectionsAndNameTheType) {
    app.dialogs.expectOpenFile(QString());
    w->menu打开文件判断类型->click();  // cancelled: nothing

    DownloadEntry pdf = add("文档", EntryState::Done);
    pdf.setType("doc");
    ASSERT_TRUE(WriteFile(EntryFilePath(pdf), "%PDF-1.4\n"));
    DownloadEntry missing = add("缺", EntryState::Failed);
    w->menu检查文件是否存在->click();
    EXPECT_EQ(missing.progressText(), "不存在");
    EXPECT_TRUE(pdf.progressText().isEmpty());

    app.dialogs.expectMessage("纠正文件类型：1个.");
    w->menu检查并纠正文件类型->click();
    EXPECT_EQ(pdf.type(), "pdf");

    app.dialogs.expectOpenFile(EntryFilePath(pdf));
    app.dialogs.expectMessage("文件类型为：pdf");
    w->menu打开文件判断类型->click();
    const QString unknown = folder + QStringLiteral("unknown.bin");
    ASSERT_TRUE(WriteFile(unknown, QByteArray(3, '\x01')));
    app.dialogs.expectOpenFile(unknown);
    app.dialogs.expectMessage("目前还无法判断。");
    w->menu打开文件判断类型->click();
}
