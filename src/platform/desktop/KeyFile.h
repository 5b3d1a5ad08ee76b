#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The freedesktop key files: desktop entries and the mimeapps.list files.

// Group name -> key -> value as written (escapes kept). Blank lines and comments are
// skipped, and of a key repeated within a group the first counts. A file that cannot
// be read has no groups.
using KeyFileGroups = QHash<QString, QHash<QString, QString>>;
KeyFileGroups ReadKeyFile(const QString& path);
// The items of a list value, separated by ";", without the empty ones.
QStringList KeyFileList(const QString& value);
