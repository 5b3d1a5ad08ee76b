#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "support/ScriptedDialogs.h"

TEST(ScriptedDialogs, AnswersFromTheScriptAndRecordsEveryDialog) {
    ScriptedDialogs dialogs;
    dialogs.expectMessage("文件不存在！", MessageIcon::Error)
        .expectQuestion("您确定要清空辛辛苦苦搜索的列表数据吗？", MessageAnswer::No)
        .expectInput("请输入指定字符：", "pdf")
        .expectSaveFile("/tmp/out.txt");
    Dialogs& asked = dialogs;
    asked.error("文件不存在！");
    EXPECT_FALSE(asked.askYesNo("您确定要清空辛辛苦苦搜索的列表数据吗？"));
    EXPECT_EQ(asked.inputBox("请输入指定字符："), "pdf");
    EXPECT_EQ(asked.saveFile({}), "/tmp/out.txt");
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList({"文件不存在！", "您确定要清空辛辛苦苦搜索的列表数据吗？"}));
    EXPECT_EQ(dialogs.pending(), 0);
}

TEST(ScriptedDialogs, AnUnexpectedDialogFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            static_cast<Dialogs&>(dialogs).info("surprise");
        },
        "unexpected message: surprise");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.expectMessage("never");
        },
        "never shown");
}
