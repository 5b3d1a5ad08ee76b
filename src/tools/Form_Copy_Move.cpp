#include "tools/Form_Copy_Move.h"

#include "app/AppServices.h"
#include "app/ConfigReaders.h"
#include "app/SettingsKeys.h"
#include "app/fCover.h"
#include "app/fSeleFileSavePath.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/runtime/Runtime.h"
#include "platform/settings/SettingsStore.h"
#include "sys/FileSystem.h"
#include "sys/ListHelpers.h"
#include "sys/ShellActions.h"
#include "tools/CopyMoveJob.h"

namespace {

const QString kRuleGroup = QStringLiteral("Frame1");
// Red in the platform's blue-green-red order.
constexpr Color kRunningColour = Color::fromBgr(255);

}  // namespace

Form_Copy_Move::Form_Copy_Move(Forms& forms, AppServices& services)
    : Window(forms, kName),
      Label1(new Label(this, QStringLiteral("Label1"), QStringLiteral("目的文件夹："))),
      Combo1(new ComboBox(this, QStringLiteral("Combo1"))),
      Command3(new Button(this, QStringLiteral("Command3"), QStringLiteral("浏览"))),
      Frame1(new Frame(this, QStringLiteral("Frame1"), QStringLiteral("如果同名文件已经存在"))),
      Option1{},
      Label2(new Label(this, QStringLiteral("Label2"), QStringLiteral("进度;"))),
      ProgressBar1(new ProgressBar(this, QStringLiteral("ProgressBar1"))),
      Label4(new Label(this, QStringLiteral("Label4"), QStringLiteral("当前文件："))),
      Label3(new Label(this, QStringLiteral("Label3"))),
      Command1(new Button(this, QStringLiteral("Command1"), kStart)),
      Command2(new Button(this, QStringLiteral("Command2"), QStringLiteral("关闭"))),
      services_(services) {
    const QString rules[] = {
        QStringLiteral("跳过"),
        QStringLiteral("覆盖"),
        QStringLiteral("自动重命名"),
        QStringLiteral("文件大小和修改时间均相同：覆盖；否则：自动重命名"),
        QStringLiteral("文件大小相同：覆盖；否则：自动重命名"),
    };
    for (int index = 1; index <= int(Option1.size()); ++index) {
        OptionButton*& option = Option1[index - 1];
        option = new OptionButton(this, QStringLiteral("Option1_%1").arg(index), kRuleGroup,
                                  rules[index - 1]);
        option->onClick = guard([this, index] { Option1_Click(index); });
    }
    Command1->onClick = guard([this] { Command1_Click(); });
    Command2->onClick = guard([this] { close(); });
    Command3->onClick = guard([this] { Command3_Click(); });
}

QString Form_Copy_Move::historyFile() const {
    return services_.paths.dataFolder + fSeleFileSavePath::kHistoryFile;
}

void Form_Copy_Move::Form_Load() {
    setCaption(MoveMode ? QStringLiteral("移动文件...") : QStringLiteral("复制文件..."));
    setIcon(fCover::kIcon);
    LoadComboHistory(*Combo1, historyFile());
    FitComboDropWidth(*Combo1, services_.screen);
    const Settings::Key& folder = Settings::kCopyMoveFolder;
    Combo1->setText(
        services_.settings.SettingsRead(folder.section, folder.key, services_.paths.dataFolder));
    const auto index = ConfigReaders::wholeNumber(
        ConfigReaders::read(services_.settings, Settings::kCopyMoveOption));
    if (index && *index >= 1 && *index <= int(Option1.size())) {
        Option1[*index - 1]->setValue(true);
        rule_ = SameNameRule(*index);
    }
}

void Form_Copy_Move::Form_Unload() {
    jobStopped_ = true;
}

void Form_Copy_Move::Option1_Click(int index) {
    rule_ = SameNameRule(index);
}

void Form_Copy_Move::Command3_Click() {
    Combo1->setText(BrowseForFolder(dialogs(), Combo1->text(),
                                    QStringLiteral("请选择要浏览的文件夹:"),
                                    services_.paths.homeFolder));
}

void Form_Copy_Move::Command1_Click() {
    执行(true);
}

void Form_Copy_Move::执行(bool showCompletion) {
    const QString folder = CreateFolderPath(Combo1->text(), dialogs());
    Combo1->setText(folder);
    if (folder.isEmpty()) {
        dialogs().error(QStringLiteral("创建文件夹出错！"));
        return;
    }
    const QString destination = folder.endsWith(QLatin1Char('/')) ? folder : folder + u'/';
    ConfigReaders::write(services_.settings, Settings::kCopyMoveFolder, destination);
    ConfigReaders::write(services_.settings, Settings::kCopyMoveOption,
                         QString::number(int(rule_)));
    const QString entry = destination.trimmed();
    if (!Combo1->items().contains(entry, Qt::CaseInsensitive)) {
        Combo1->addItem(entry);
    }
    SaveComboHistory(*Combo1, historyFile());
    Label3->setCaption(QString());
    Files.removeIf([](const QString& path) { return !FileExists(path); });
    if (Files.isEmpty()) {
        return;
    }
    if (jobActive_) {
        StopJob();  // this click came while the job yields
        return;
    }
    RunJob(destination, showCompletion);
}

void Form_Copy_Move::RunJob(const QString& destination, bool showCompletion) {
    jobActive_ = true;
    jobStopped_ = false;
    Command1->setCaption(kStop);
    Command1->setBackColor(kRunningColour);
    ProgressBar1->setRange(0, int(Files.size()) + 1);
    ProgressBar1->setValue(0);
    // A stop click prunes Files while the job is suspended: the job keeps its own list.
    const QStringList files = Files;
    RunCopyMoveJob(files, destination, rule_, MoveMode, *this, runtime());
    jobActive_ = false;
    ProgressBar1->setValue(0);
    Label3->setCaption(QString());
    StopJob();
    if (showCompletion && !isUnloaded() && !runtime().quitRequested()) {
        dialogs().info(MoveMode ? QStringLiteral("移动文件完成！")
                                : QStringLiteral("复制文件完成！"));
    }
}

void Form_Copy_Move::StopJob() {
    jobStopped_ = true;
    Command1->setCaption(kStart);
    Command1->setBackColor(Color());
}

bool Form_Copy_Move::jobRunning() const {
    return !jobStopped_ && !runtime().quitRequested();
}

void Form_Copy_Move::fileReached(int number) {
    ProgressBar1->setValue(number);
}

void Form_Copy_Move::copyingAs(const QString& name) {
    Label3->setCaption(name);
}
