#include "app/AboutBox.h"

#include "platform/dialogs/Dialogs.h"

void ShowAboutBox(Dialogs& dialogs) {
    dialogs.info(
        QStringLiteral("雅虎页面数据检索分析\r\n按关键词批量搜索文档链接，"
                       "加入下载列表后批量下载。"));
}
