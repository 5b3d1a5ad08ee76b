#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include "platform/qt/DesktopShell.h"

namespace {

// What the desktop was asked to open, through QDesktopServices' handlers.
class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
  public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

// A file manager on the test's bus, in a thread of its own as a real one would be in
// a process of its own (the shell's call blocks the main thread).
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
  public:
    QStringList shown;
  public Q_SLOTS:
    void ShowItems(const QStringList& uris, const QString& startupId) {
        shown += uris;
        shown += QStringLiteral("startup:") + startupId;
    }
};

// A private session bus without any activatable service.
class PrivateBus {
  public:
    PrivateBus() {
        const QString config = dir_.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) {
            return;
        }
        file.write(QByteArrayLiteral(
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\""
            " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
            "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
            "<allow eavesdrop=\"true\"/><allow own=\"*\"/>"
            "</policy></busconfig>\n"));
        file.close();
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
        if (daemon_.waitForStarted() && daemon_.waitForReadyRead(10000)) {
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        }
    }
    ~PrivateBus() {
        for (const QString& name : names_) {
            QDBusConnection::disconnectFromBus(name);
        }
        daemon_.kill();
        daemon_.waitForFinished();
    }
    bool running() const { return !address_.isEmpty(); }
    QDBusConnection connect(const QString& name) {
        names_.append(name);
        return QDBusConnection::connectToBus(address_, name);
    }

  private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

class DesktopShellTest : public testing::Test {
  protected:
    void SetUp() override {
        for (const QString& scheme :
             {QStringLiteral("file"), QStringLiteral("https"), QStringLiteral("mailto")}) {
            QDesktopServices::setUrlHandler(scheme, &recorder, "open");
        }
    }
    void TearDown() override {
        for (const QString& scheme :
             {QStringLiteral("file"), QStringLiteral("https"), QStringLiteral("mailto")}) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }
    QString file(const QString& name) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return path;
    }

    QTemporaryDir dir;
    UrlRecorder recorder;
};

}  // namespace

TEST_F(DesktopShellTest, ShowsTheFileSelectedThroughTheFileManager) {
    PrivateBus bus;
    ASSERT_TRUE(bus.running());
    QThread thread;
    FakeFileManager manager;
    manager.moveToThread(&thread);
    thread.start();
    QDBusConnection server = bus.connect(QStringLiteral("file-manager"));
    ASSERT_TRUE(server.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    ASSERT_TRUE(server.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                                      QDBusConnection::ExportAllSlots));

    const QString path = file(QStringLiteral("报告 \"1\";$(x)%#?.pdf"));
    DesktopShell shell(bus.connect(QStringLiteral("program")));
    EXPECT_TRUE(shell.showInFolder(path));
    thread.quit();
    thread.wait();
    ASSERT_EQ(manager.shown.size(), 2);
    EXPECT_TRUE(manager.shown[0].startsWith(QStringLiteral("file:///")));
    EXPECT_EQ(QUrl(manager.shown[0], QUrl::StrictMode).toLocalFile(), path);
    EXPECT_EQ(manager.shown[1], QStringLiteral("startup:"));
    EXPECT_TRUE(recorder.urls.isEmpty());
}

TEST_F(DesktopShellTest, OpensTheFolderWhenNoFileManagerAnswers) {
    const QString path = file(QStringLiteral("a b.pdf"));
    {
        PrivateBus bus;
        ASSERT_TRUE(bus.running());
        DesktopShell shell(bus.connect(QStringLiteral("lonely")));
        EXPECT_TRUE(shell.showInFolder(path));
    }
    DesktopShell withoutBus(QDBusConnection(QStringLiteral("no such connection")));
    EXPECT_TRUE(withoutBus.showInFolder(path));
    ASSERT_EQ(recorder.urls.size(), 2);
    for (const QUrl& url : recorder.urls) {
        EXPECT_EQ(url.toLocalFile(), dir.path());
    }
}

TEST_F(DesktopShellTest, FilesAndAddressesArriveUnchanged) {
    DesktopShell shell(QDBusConnection(QStringLiteral("no such connection")));
    const QString path = file(QStringLiteral("it's a \"file\" #1 ?%20;$(id)\n.txt"));
    EXPECT_TRUE(shell.openFile(path));
    EXPECT_TRUE(shell.openFolder(dir.path()));
    const QString mail =
        QStringLiteral("mailto:feedback@maker.example?subject=%E6%88%91%20a&body=%0A%26");
    EXPECT_TRUE(shell.openUrl(mail));
    EXPECT_TRUE(shell.openUrl(QStringLiteral("https://maker.example/a?b=c&d=%E6%88%91")));
    ASSERT_EQ(recorder.urls.size(), 4);
    EXPECT_EQ(recorder.urls[0].toLocalFile(), path);
    EXPECT_EQ(recorder.urls[1].toLocalFile(), dir.path());
    EXPECT_EQ(recorder.urls[2].toString(QUrl::FullyEncoded), mail);
    EXPECT_EQ(recorder.urls[3].toString(QUrl::FullyEncoded),
              QStringLiteral("https://maker.example/a?b=c&d=%E6%88%91"));
}

TEST_F(DesktopShellTest, TheTextEditorIsStartedWithThePathAsOneArgument) {
    const QString path = file(QStringLiteral("it's a \"file\" $(id) 50%f.txt"));
    {
        QFile text(path);
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write(QByteArray("纯文本"));
    }
    const XdgDirectories none{dir.filePath("config"), {}, dir.filePath("data"), {}, {}};
    const QDBusConnection noBus(QStringLiteral("no such connection"));
    EXPECT_FALSE(DesktopShell(noBus, DefaultApplications(none)).openInTextEditor(path));

    // An "editor" that copies the file it is given.
    const QString copy = dir.filePath(QStringLiteral("copy.txt"));
    QDir().mkpath(dir.filePath("data/applications"));
    QFile entry(dir.filePath("data/applications/copier.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write(("[Desktop Entry]\nType=Application\nName=Copier\nMimeType=text/plain;\n"
                 "Exec=cp %f \"" +
                 copy + "\"\n")
                    .toUtf8());
    entry.close();
    EXPECT_TRUE(DesktopShell(noBus, DefaultApplications(none)).openInTextEditor(path));
    const QByteArray text("纯文本");
    QDeadlineTimer patience(10000);
    while (QFileInfo(copy).size() < text.size() && !patience.hasExpired()) {
        QThread::msleep(10);
    }
    QFile copied(copy);
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), text);
    EXPECT_TRUE(recorder.urls.isEmpty());
}

#include "DesktopShellTest.moc"
