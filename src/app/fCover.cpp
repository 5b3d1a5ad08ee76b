#include "app/fCover.h"

#include "Version.h"
#include "app/AppServices.h"
#include "app/SettingsKeys.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/runtime/Runtime.h"
#include "platform/window/Forms.h"

fCover::fCover(Forms& forms, AppServices& services)
    : Window(forms, kName),
      Image1(new PictureBox(this, QStringLiteral("Image1"), QStringLiteral(":/images/cover.png"))),
      Label2(new Label(this, QStringLiteral("Label2"), QStringLiteral("版本："))),
      Label4(new Label(
          this, QStringLiteral("Label4"),
          QStringLiteral("(该软件仅用于爱学习的人们辅助少量下载；请不要恶意下载和大量下载！)"))),
      Command1(new Button(this, QStringLiteral("Command1"), QStringLiteral("搜索文档下载"))),
      Command3(new Button(this, QStringLiteral("Command3"), QStringLiteral("退出软件"))),
      services_(services) {
    setIcon(kIcon);
    Label4->setForeColor(Color::fromRgb(0x808080));
    Command1->onClick = guard([this] { Command1_Click(); });
    Command3->onClick = guard([this] { Command3_Click(); });
}

void fCover::Form_Load() {
    setCaption(Settings::kAppTitle);
    Label2->setCaption(QStringLiteral("版本:%1.%2.%3")
                           .arg(Version::kMajor)
                           .arg(Version::kMinor)
                           .arg(Version::kRevision));
    show();
    runtime().yield();
}

void fCover::Command1_Click() {
    // Until the search window exists, the cover leads to the download window, whose
    // close shows the cover again.
    hide();
    if (Window* download = forms().load(QStringLiteral("fFileDownload"))) {
        download->show();
    }
}

void fCover::Command3_Click() {
    close();
}

void fCover::Form_Unload() {
    hide();
    forms().endProgram();
}
