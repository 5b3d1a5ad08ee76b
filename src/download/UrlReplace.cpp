#include "download/UrlReplace.h"

#include "app/fCover.h"
#include "download/DownloadListTools.h"
#include "platform/dialogs/Dialogs.h"

UrlReplace::UrlReplace(Forms& forms)
    : Window(forms, kName),
      Text1(new TextBox(this, QStringLiteral("Text1"))),
      Text2(new TextBox(this, QStringLiteral("Text2"))),
      Command1(new Button(this, QStringLiteral("Command1"), QStringLiteral("替换"))),
      Command2(new Button(this, QStringLiteral("Command2"), QStringLiteral("取消"))) {
    Command1->onClick = guard([this] { Command1_Click(); });
    Command2->onClick = guard([this] { close(); });
}

void UrlReplace::Form_Load() {
    setCaption(QStringLiteral("网址批量替换"));
    setIcon(fCover::kIcon);
}

void UrlReplace::Command1_Click() {
    if (Text1->text().trimmed().isEmpty()) {
        dialogs().error(QStringLiteral("请输入字符串！"));
        return;
    }
    const int kept = list_ ? ReplaceInAddresses(*list_, Text1->text(), Text2->text()) : 0;
    close();
    if (kept == 0) {
        dialogs().info(QStringLiteral("全部网址替换完成！"));
    } else {
        dialogs().info(QStringLiteral("网址替换完成！其中%1项替换后的网址与列表中其他项的网址相同，"
                                      "这些项保留了原来的网址。")
                           .arg(kept));
    }
}
