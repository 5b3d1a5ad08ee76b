#include "app/fCover.h"

#include <limits>
#include <optional>

#include "Version.h"
#include "app/AppServices.h"
#include "app/BrowserCacheViewer.h"
#include "app/ConfigReaders.h"
#include "app/SettingsKeys.h"
#include "net/uXMLHTTP.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/runtime/Runtime.h"
#include "platform/window/Forms.h"
#include "sys/Registry.h"
#include "sys/ShellActions.h"
#include "sys/SystemInfo.h"

namespace {

// The cover picture is 420 x 200 pixels and sits 30 twips from the top left corner.
constexpr int kPictureMargin = 30;
const QRect kPicture(kPictureMargin, kPictureMargin, 420 * 15, 200 * 15);
// The window is as wide as the picture and this much more.
constexpr int kWindowExtraWidth = 150;
// Longer replies are no version number.
constexpr qsizetype kMaxVersionReply = 20;

// first x 10,000,000 + second x 10,000 + third. A weight beyond 64 bits is held at the
// largest number: such a published version is newer than any build.
qint64 versionWeight(qint64 first, qint64 second, qint64 third) {
    qint64 weight = 0;
    qint64 middle = 0;
    if (__builtin_mul_overflow(first, 10'000'000, &weight) ||
        __builtin_mul_overflow(second, 10'000, &middle) ||
        __builtin_add_overflow(weight, middle, &weight) ||
        __builtin_add_overflow(weight, third, &weight)) {
        return std::numeric_limits<qint64>::max();
    }
    return weight;
}

bool isAsciiNumber(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

// The weight of a published version "a.b.c"; nothing for any other text.
std::optional<qint64> publishedWeight(const QString& text) {
    const QStringList parts = text.split(u'.');
    if (parts.size() != 3) {
        return std::nullopt;
    }
    qint64 numbers[3] = {};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        numbers[i] = parts[i].toLongLong(&ok);
        if (!isAsciiNumber(parts[i]) || !ok) {
            return std::nullopt;
        }
    }
    return versionWeight(numbers[0], numbers[1], numbers[2]);
}

}  // namespace

fCover::fCover(Forms& forms, AppServices& services)
    : Window(forms, kName),
      Image1(new PictureBox(this, QStringLiteral("Image1"), QStringLiteral(":/images/cover.png"))),
      Label2(new Label(this, QStringLiteral("Label2"), QStringLiteral("版本："))),
      Label3(new Label(this, QStringLiteral("Label3"), QStringLiteral("最新版本："))),
      Label4(new Label(
          this, QStringLiteral("Label4"),
          QStringLiteral("(该软件仅用于爱学习的人们辅助少量下载；请不要恶意下载和大量下载！)"))),
      Command1(new Button(this, QStringLiteral("Command1"), QStringLiteral("搜索文档下载"))),
      Command3(new Button(this, QStringLiteral("Command3"), QStringLiteral("退出软件"))),
      uXMLHTTP2(
          new uXMLHTTP(this, QStringLiteral("uXMLHTTP2"), forms.runtime(), services.requests)),
      Timer1(new Timer(this, QStringLiteral("Timer1"), forms.runtime(), 100)),
      VersionRequestLimit(new Timer(this, QStringLiteral("VersionRequestLimit"), forms.runtime(),
                                    kVersionRequestLimitMs)),
      runningVersion{Version::kMajor, Version::kMinor, Version::kRevision},
      services_(services) {
    setIcon(kIcon);
    Image1->setGeometry(kPicture);
    Label3->setVisible(false);
    Label3->setHandCursor(true);
    Label4->setForeColor(Color::fromRgb(0x808080));
    Command1->onClick = guard([this] { Command1_Click(); });
    Command3->onClick = guard([this] { Command3_Click(); });
    Label3->onClick = guard([this] { Label3_Click(); });
    Timer1->onTick = guard([this] { Timer1_Timer(); });
    VersionRequestLimit->onTick = guard([this] { VersionRequestLimit_Timer(); });
    uXMLHTTP2->OnDateArrived = guard([this] { uXMLHTTP2_OnDateArrived(); });
    uXMLHTTP2->OnDateErr = guard([this](const QString&) { uXMLHTTP2_OnDateErr(); });
}

void fCover::Form_Load() {
    setCaption(Settings::kAppTitle);
    Label2->setCaption(QStringLiteral("版本:%1.%2.%3")
                           .arg(Version::kMajor)
                           .arg(Version::kMinor)
                           .arg(Version::kRevision));
    // The cover shows while the rest of the start runs.
    show();
    runtime().yield();
    if (isUnloaded()) {
        return;
    }
    SystemFacts& facts = services_.config.system;
    facts.bitness = GetOsBitness();
    facts.osText = GetOsDescription() + QStringLiteral("[") + facts.bitness + QStringLiteral("位]");
    Registry(registry_, [&facts] {
        return facts.bitness;
    }).SetBrowserEmulation(QStringLiteral("IE10"), true);
    ConfigReaders::loadMaxFileSize(services_.settings, services_.config);
    Timer1->start();
}

void fCover::Form_Resize() {
    if (windowState() == WindowState::Minimized) {
        return;
    }
    Image1->setGeometry(QRect(kPicture.topLeft(), Image1->geometry().size()));
    const QRect outer = geometry();
    if (!outer.isEmpty()) {
        setGeometry(QRect(outer.topLeft(),
                          QSize(Image1->geometry().width() + kWindowExtraWidth, outer.height())));
    }
}

void fCover::ShowUnlessLoaded(Forms& forms, const QString& otherWindow) {
    if (forms.IsFormLoaded(otherWindow)) {
        return;
    }
    if (Window* cover = forms.find(kName)) {
        cover->show();
    }
}

void fCover::Command1_Click() {
    hide();
    if (Window* search = forms().load(WindowNames::kSearch)) {
        search->show();
    }
}

void fCover::Command3_Click() {
    close();
}

void fCover::Label3_Click() {
    OpenWebPage(downloadPage(), services_.shell);
}

QString fCover::downloadPage() const {
    return ProgramPage(services_.makerSite);
}

void fCover::Timer1_Timer() {
    Timer1->stop();
    const QString page = downloadPage();
    if (page.isEmpty()) {
        return;  // no maker's site configured: nothing to ask
    }
    uXMLHTTP2->Open_(QStringLiteral("GET"), page + QStringLiteral("newver.txt"));
    uXMLHTTP2->Send_();
    VersionRequestLimit->start();
}

void fCover::VersionRequestLimit_Timer() {
    VersionRequestLimit->stop();
    if (uXMLHTTP2->DownOK()) {
        return;
    }
    // A server that answers too slowly must not keep the poll timer running all session.
    uXMLHTTP2->Abort_();
    uXMLHTTP2_OnDateErr();
}

void fCover::uXMLHTTP2_OnDateArrived() {
    VersionRequestLimit->stop();
    const QString published = uXMLHTTP2->ResponseText().trimmed();
    if (published.isEmpty() || published.size() > kMaxVersionReply) {
        return;
    }
    const std::optional<qint64> weight = publishedWeight(published);
    if (!weight || *weight <= versionWeight(runningVersion.major, runningVersion.minor,
                                            runningVersion.revision)) {
        return;
    }
    Label3->setCaption(QStringLiteral("最新版本：V") + published +
                       QStringLiteral("可以下载升级。"));
    Label3->setVisible(true);
    OpenWebPage(downloadPage(), services_.shell);
}

void fCover::uXMLHTTP2_OnDateErr() {
    VersionRequestLimit->stop();
    dialogs().error(QStringLiteral("请保持网络畅通！"));
}

void fCover::Form_Unload() {
    hide();
    Timer1->stop();
    VersionRequestLimit->stop();
    uXMLHTTP2->Abort_();
    // Other users' caches are theirs: the exit empties the current user's alone.
    ClearBrowserCache(forms(), false, CacheReach::CurrentUser);
    forms().endProgram();
}
