#include "app/fOption.h"

#include "app/AppServices.h"
#include "app/ConfigReaders.h"
#include "app/DownloadMethodDisplay.h"
#include "app/SettingsKeys.h"
#include "app/fCover.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/window/Forms.h"

namespace {

const QString kMethodGroup = QStringLiteral("下载方式");
constexpr int32_t kHighestPort = 65535;

bool isPort(const QString& text) {
    const auto port = ConfigReaders::wholeNumber(text);
    return port && *port >= 1 && *port <= kHighestPort;
}

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

}  // namespace

fOption::fOption(Forms& forms, AppServices& services)
    : Window(forms, kName),
      Label1(new Label(this, QStringLiteral("Label1"), QStringLiteral("下载方式："))),
      Option1(new OptionButton(this, QStringLiteral("Option1"), kMethodGroup,
                               QStringLiteral("下载方式一 (支持HTTP，单线程，代理服务器下载)"),
                               true)),
      Option2(new OptionButton(this, QStringLiteral("Option2"), kMethodGroup,
                               QStringLiteral("下载方式二 (支持HTTP，多线程下载)"))),
      Check1(new CheckBox(this, QStringLiteral("Check1"), QStringLiteral("下载使用代理服务器"))),
      Text6(new TextBox(this, QStringLiteral("Text6"))),
      Text8(new TextBox(this, QStringLiteral("Text8"))),
      Check2(new CheckBox(this, QStringLiteral("Check2"),
                          QStringLiteral("提取网页信息时，提示下载保存路径"))),
      Text1(new TextBox(this, QStringLiteral("Text1"))),
      Command1(new Button(this, QStringLiteral("Command1"), QStringLiteral("确定"))),
      Command2(new Button(this, QStringLiteral("Command2"), QStringLiteral("关闭"))),
      services_(services) {
    Text1->setText(QStringLiteral("10"));
    Command1->onClick = guard([this] { Command1_Click(); });
    Command2->onClick = guard([this] { Command2_Click(); });
}

void fOption::Form_Load() {
    Config& config = services_.config;
    setCaption(QStringLiteral("设置-") + Settings::kAppTitle);
    setIcon(fCover::kIcon);
    // Values that no window has loaded in this run come from the store, so that
    // confirming never stores defaults over them.
    if (!config.downloadValuesLoaded) {
        ConfigReaders::loadDownloadValues(services_.settings, config);
    }
    if (!config.askPathLoaded) {
        ConfigReaders::loadAskPathAtExtraction(services_.settings, config);
    }

    Check1->setValue(config.proxyEnabled == 1);
    Text6->setText(config.proxyHost);
    Text8->setText(config.proxyPort);
    if (config.downloadMethod == 1) {
        Option1->setValue(true);
    } else if (config.downloadMethod == 2) {
        Option2->setValue(true);
    }
    Check2->setValue(config.AskPathAtExtraction == 1);
    Text1->setText(QString::number(config.maxFileSizeMB));
}

void fOption::Command1_Click() {
    // Any number is stored rounded, 0 included; a text that is not a number, or one
    // too large for a 32-bit count, stores nothing and keeps the dialog open.
    const auto maxSize = ConfigReaders::roundedDecimal(Text1->text());
    if (!maxSize) {
        dialogs().error(
            QStringLiteral("下载文件大小必须是不超过2147483647的数字（单位：MB），请重新输入！"));
        return;
    }

    Config& config = services_.config;
    SettingsStore& settings = services_.settings;
    if (Option1->value()) {
        config.downloadMethod = 1;
        showMethodInDownloadWindow(1);
    } else if (Option2->value()) {
        config.downloadMethod = 2;
        showMethodInDownloadWindow(2);
    }
    ConfigReaders::write(settings, Settings::kDownloadMethod,
                         QString::number(config.downloadMethod));

    config.proxyEnabled = Check1->value() ? 1 : 0;
    ConfigReaders::write(settings, Settings::kProxyEnabled, flag(config.proxyEnabled == 1));
    config.proxyHost = Text6->text().trimmed();
    ConfigReaders::write(settings, Settings::kProxyHost, config.proxyHost);
    config.proxyPort = Text8->text().trimmed();
    ConfigReaders::write(settings, Settings::kProxyPort, config.proxyPort);
    if (config.proxyEnabled == 1 && (config.proxyHost.isEmpty() || !isPort(config.proxyPort))) {
        dialogs().error(QStringLiteral("代理服务器网址或者端口格式不对！"));
    }

    config.AskPathAtExtraction = Check2->value() ? 1 : 0;
    ConfigReaders::write(settings, Settings::kAskPathAtExtraction,
                         flag(config.AskPathAtExtraction == 1));

    config.maxFileSizeMB = *maxSize;
    ConfigReaders::write(settings, Settings::kMaxFileSize, QString::number(config.maxFileSizeMB));
    close();
}

void fOption::showMethodInDownloadWindow(int method) {
    if (auto* download = forms().find<DownloadMethodDisplay>(WindowNames::kDownload)) {
        download->ApplyDownloadMethod(method);
    }
}

void fOption::Command2_Click() {
    close();
}
