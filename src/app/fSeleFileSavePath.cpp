#include "app/fSeleFileSavePath.h"

#include "app/AppServices.h"
#include "app/Config.h"
#include "app/ConfigReaders.h"
#include "app/SettingsKeys.h"
#include "app/fCover.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/runtime/Runtime.h"
#include "platform/settings/SettingsStore.h"
#include "sys/FileSystem.h"
#include "sys/ListHelpers.h"
#include "sys/ShellActions.h"

namespace {
const QString kNamingGroup = QStringLiteral("文件命名");
}  // namespace

fSeleFileSavePath::fSeleFileSavePath(Forms& forms, AppServices& services)
    : Window(forms, kName),
      Combo1(new ComboBox(this, QStringLiteral("Combo1"))),
      Command1(new Button(this, QStringLiteral("Command1"), QStringLiteral("..."))),
      Option1(new OptionButton(this, QStringLiteral("Option1"), kNamingGroup,
                               QStringLiteral("原文件名"))),
      Option2(new OptionButton(this, QStringLiteral("Option2"), kNamingGroup,
                               QStringLiteral("文章标题名称"), true)),
      Command2(new Button(this, QStringLiteral("Command2"), QStringLiteral("确定"))),
      Command3(new Button(this, QStringLiteral("Command3"), QStringLiteral("取消"))),
      services_(services) {
    Command1->onClick = guard([this] { Command1_Click(); });
    Command2->onClick = guard([this] { Command2_Click(); });
    Command3->onClick = guard([this] { Command3_Click(); });
}

QString fSeleFileSavePath::historyFile() const {
    return services_.paths.dataFolder + kHistoryFile;
}

void fSeleFileSavePath::Form_Load() {
    Config& config = services_.config;
    setCaption(QStringLiteral("选择下载保存路径－岚鹊软件"));
    setIcon(fCover::kIcon);
    if (config.NameByOriginalFileName) {
        Option1->setValue(true);
    }
    LoadComboHistory(*Combo1, historyFile());
    runtime().yield();
    config.ChosenSaveFolder =
        services_.settings.SettingsRead(Settings::kSaveFolder.section, Settings::kSaveFolder.key,
                                        services_.paths.defaultSaveFolder());
    Combo1->setText(config.ChosenSaveFolder);
    FitComboDropWidth(*Combo1, services_.screen);
    setTopMost(true);
}

void fSeleFileSavePath::Command1_Click() {
    Combo1->setText(BrowseForFolder(dialogs(), Combo1->text(),
                                    QStringLiteral("请选择要浏览的文件夹:"),
                                    services_.paths.homeFolder));
}

void fSeleFileSavePath::Command2_Click() {
    Config& config = services_.config;
    config.NameByOriginalFileName = Option1->value();
    QString folder = Combo1->text();
    if (!folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    folder = CreateFolderPath(folder, dialogs());
    Combo1->setText(folder);
    if (folder.isEmpty()) {
        dialogs().error(QStringLiteral("文件夹设置错误！"));
        return;
    }
    config.ChosenSaveFolder = folder + QLatin1Char('/');
    ConfigReaders::write(services_.settings, Settings::kSaveFolder, config.ChosenSaveFolder);
    config.SavePathCancelled = false;
    Combo1->addItem(folder.trimmed());
    SaveComboHistory(*Combo1, historyFile());
    close();
}

void fSeleFileSavePath::Command3_Click() {
    services_.config.SavePathCancelled = true;
    close();
}
