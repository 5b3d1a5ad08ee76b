// The desktop's text editor: the default application for text/plain as the freedesktop
// MIME applications rules find it, in a folder tree of the test's own.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/desktop/DefaultApplications.h"

namespace {

const QString kText = QStringLiteral("text/plain");

struct TreeFile {
    const char* path;
    const char* content;
};

QString application(const char* exec, const char* extra = "") {
    return QStringLiteral("[Desktop Entry]\nType=Application\nName=Editor\nExec=%1\n%2\n")
        .arg(QString::fromUtf8(exec), QString::fromUtf8(extra));
}

// The user's folders under home/, the system's under etc/ and usr/.
XdgDirectories directoriesIn(const QTemporaryDir& root, const QStringList& desktops) {
    return XdgDirectories{root.filePath("home/config"),
                          {root.filePath("etc/xdg")},
                          root.filePath("home/data"),
                          {root.filePath("usr/share")},
                          desktops};
}

void write(const QTemporaryDir& root, const QString& path, const QString& content) {
    const QString full = root.filePath(path);
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content.toUtf8());
}

QString program(const std::optional<DesktopEntry>& entry) {
    return entry ? entry->command(QStringLiteral("/f.txt")).first() : QStringLiteral("none");
}

}  // namespace

TEST(PlainTextEditorLookup, FindsTheMostPreferredStartableApplication) {
    const QString apps = QStringLiteral("usr/share/applications/");
    const QString userApps = QStringLiteral("home/data/applications/");
    struct Case {
        const char* what;
        QList<QPair<QString, QString>> files;
        QStringList desktops;
        const char* expected;
    };
    const Case cases[] = {
        {"the user's default before the system's",
         {{"home/config/mimeapps.list", "[Default Applications]\ntext/plain=mine.desktop;\n"},
          {"etc/xdg/mimeapps.list", "[Default Applications]\ntext/plain=theirs.desktop\n"},
          {apps + "mine.desktop", application("mine %U")},
          {apps + "theirs.desktop", application("theirs %f")}},
         {},
         "mine"},
        {"a default that is not installed gives way to the next",
         {{"home/config/mimeapps.list", "[Default Applications]\ntext/plain=gone.desktop\n"},
          {apps + "mimeapps.list", "[Default Applications]\ntext/plain=kde4-theirs.desktop\n"},
          {apps + "kde4/theirs.desktop", application("theirs %f")}},
         {},
         "theirs"},
        {"the current desktop's list before the general one",
         {{"home/config/mimeapps.list", "[Default Applications]\ntext/plain=b.desktop\n"},
          {"home/config/xfce-mimeapps.list", "[Default Applications]\ntext/plain=a.desktop\n"},
          {apps + "a.desktop", application("a")},
          {apps + "b.desktop", application("b")}},
         {"xfce"},
         "a"},
        {"without a default, an added association",
         {{"home/config/mimeapps.list", "[Added Associations]\ntext/plain=b.desktop;\n"},
          {apps + "a.desktop", application("a", "MimeType=text/plain;")},
          {apps + "b.desktop", application("b")}},
         {},
         "b"},
        {"without either, an application that declares the type",
         {{apps + "a.desktop", application("a", "MimeType=image/png;")},
          {apps + "b.desktop", application("b", "MimeType=text/html;text/plain;")}},
         {},
         "b"},
        {"terminal programs, removed associations and hidden entries are passed over",
         {{"home/config/mimeapps.list",
           "[Default Applications]\ntext/plain=vim.desktop\n"
           "[Removed Associations]\ntext/plain=b.desktop\n"},
          {apps + "vim.desktop", application("vim %F", "Terminal=true\nMimeType=text/plain")},
          {apps + "b.desktop", application("b", "MimeType=text/plain")},
          {apps + "c.desktop", application("c", "MimeType=text/plain")},
          {userApps + "c.desktop", application("c", "Hidden=true")},
          {apps + "d.desktop",
           application("d", "TryExec=no-such-program-here\nMimeType=text/plain")}},
         {},
         "none"},
    };
    for (const Case& c : cases) {
        QTemporaryDir root;
        for (const auto& [path, content] : c.files) {
            write(root, path, content);
        }
        const DefaultApplications applications(directoriesIn(root, c.desktops));
        EXPECT_EQ(program(applications.forType(kText)), QString::fromUtf8(c.expected)) << c.what;
    }
}

TEST(PlainTextEditorLookup, TheFileIsOneArgumentWhateverItsName) {
    const QString file = QStringLiteral("/tmp/a b/\"报告\" $(id) 50%f.txt");
    struct Case {
        const char* exec;
        QStringList expected;
    };
    const Case cases[] = {
        {"gedit %U", {"gedit", file}},
        {"\"/opt/my editor/ed\" --new-window %f", {"/opt/my editor/ed", "--new-window", file}},
        {"kate -b", {"kate", "-b", file}},
        {"ed --file=%f --name=%c %i %d %%u", {"ed", "--file=" + file, "--name=Editor", "%u"}},
        {"\"e\\\\\"d\" \\s %f", {"e\"d", file}},
    };
    for (const Case& c : cases) {
        QTemporaryDir root;
        write(root, "app.desktop", application(c.exec));
        const std::optional<DesktopEntry> entry = DesktopEntry::load(root.filePath("app.desktop"));
        ASSERT_TRUE(entry) << c.exec;
        EXPECT_EQ(entry->command(file), c.expected) << c.exec;
    }
}
