#include "platform/desktop/KeyFile.h"

#include <QFile>

KeyFileGroups ReadKeyFile(const QString& path) {
    KeyFileGroups groups;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return groups;
    }
    QHash<QString, QString>* group = nullptr;
    for (const QByteArray& bytes : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(bytes).trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) {
            continue;
        }
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            group = &groups[line.mid(1, line.size() - 2)];
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (group && equals > 0) {
            const QString key = line.left(equals).trimmed();
            if (!group->contains(key)) {
                group->insert(key, line.mid(equals + 1).trimmed());
            }
        }
    }
    return groups;
}

QStringList KeyFileList(const QString& value) {
    return value.split(u';', Qt::SkipEmptyParts);
}
