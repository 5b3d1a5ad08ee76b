#include "platform/desktop/DesktopEntry.h"

#include <QStandardPaths>

#include "platform/desktop/KeyFile.h"

namespace {

const QString kEntryGroup = QStringLiteral("Desktop Entry");

// The escapes of a string value: \s, \n, \t, \r and \\.
QString Unescaped(const QString& value) {
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
            case 's':
                text += u' ';
                break;
            case 'n':
                text += u'\n';
                break;
            case 't':
                text += u'\t';
                break;
            case 'r':
                text += u'\r';
                break;
            default:
                text += next;
                break;
        }
    }
    return text;
}

// The arguments of an Exec line: blanks separate them, and inside double quotes a
// backslash takes the next character as it is.
QStringList SplitExec(const QString& exec) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else {
                current += c == u'\\' && i + 1 < exec.size() ? exec[++i] : c;
            }
        } else if (c == u'"') {
            quoted = inArgument = true;
        } else if (c.isSpace()) {
            if (inArgument) {
                arguments << current;
                current.clear();
                inArgument = false;
            }
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument) {
        arguments << current;
    }
    return arguments;
}

bool IsFileCode(QChar code) {
    return code == u'f' || code == u'F' || code == u'u' || code == u'U';
}

}  // namespace

std::optional<DesktopEntry> DesktopEntry::load(const QString& path) {
    const QHash<QString, QString> group = ReadKeyFile(path).value(kEntryGroup);
    DesktopEntry entry;
    entry.path_ = path;
    entry.exec_ = Unescaped(group.value(QStringLiteral("Exec")));
    if (group.value(QStringLiteral("Type")) != u"Application" ||
        group.value(QStringLiteral("Hidden")) == u"true" || entry.exec_.trimmed().isEmpty()) {
        return std::nullopt;
    }
    entry.name_ = Unescaped(group.value(QStringLiteral("Name")));
    entry.icon_ = Unescaped(group.value(QStringLiteral("Icon")));
    entry.tryExec_ = Unescaped(group.value(QStringLiteral("TryExec")));
    entry.terminal_ = group.value(QStringLiteral("Terminal")) == u"true";
    entry.mimeTypes_ = KeyFileList(group.value(QStringLiteral("MimeType")));
    return entry;
}

bool DesktopEntry::startable() const {
    // A terminal program would run unseen: the program starts no terminal for it.
    return !terminal_ &&
           (tryExec_.isEmpty() || !QStandardPaths::findExecutable(tryExec_).isEmpty());
}

QStringList DesktopEntry::command(const QString& file) const {
    QStringList command;
    bool fileGiven = false;
    for (const QString& argument : SplitExec(exec_)) {
        if (argument == u"%i") {
            if (!icon_.isEmpty()) {
                command << QStringLiteral("--icon") << icon_;
            }
            continue;
        }
        QString expanded;
        for (qsizetype i = 0; i < argument.size(); ++i) {
            if (argument[i] != u'%' || i + 1 == argument.size()) {
                expanded += argument[i];
                continue;
            }
            const QChar code = argument[++i];
            if (IsFileCode(code)) {
                expanded += file;
                fileGiven = true;
            } else if (code == u'c') {
                expanded += name_;
            } else if (code == u'k') {
                expanded += path_;
            } else if (code == u'%') {
                expanded += u'%';
            }
            // Deprecated and unknown codes expand to nothing.
        }
        if (!expanded.isEmpty()) {
            command << expanded;
        }
    }
    if (!fileGiven) {
        command << file;
    }
    return command;
}
