#include "platform/desktop/DefaultApplications.h"

#include <QDir>

#include "platform/desktop/KeyFile.h"

namespace {

const QString kDefaults = QStringLiteral("Default Applications");
const QString kAdded = QStringLiteral("Added Associations");
const QString kRemoved = QStringLiteral("Removed Associations");
const QString kListName = QStringLiteral("mimeapps.list");

// The desktop file of an id in a folder: "a-b.desktop" may also be "a/b.desktop".
QString desktopFile(const QString& folder, const QString& id) {
    const QString direct = folder + u'/' + id;
    const qsizetype dash = id.indexOf(u'-');
    if (QFile::exists(direct) || dash < 0) {
        return direct;
    }
    return folder + u'/' + id.left(dash) + u'/' + id.mid(dash + 1);
}

}  // namespace

DefaultApplications::DefaultApplications(XdgDirectories directories)
    : directories_(std::move(directories)) {}

QStringList DefaultApplications::mimeAppsLists() const {
    QStringList listFolders = QStringList{directories_.configHome} + directories_.configDirs;
    listFolders += applicationFolders();
    QStringList lists;
    for (const QString& folder : listFolders) {
        for (const QString& desktop : directories_.desktops) {
            lists << folder + u'/' + desktop + u'-' + kListName;
        }
        lists << folder + u'/' + kListName;
    }
    return lists;
}

QStringList DefaultApplications::applicationFolders() const {
    QStringList result;
    for (const QString& data : QStringList{directories_.dataHome} + directories_.dataDirs) {
        result << data + QStringLiteral("/applications");
    }
    return result;
}

std::optional<DesktopEntry> DefaultApplications::startable(const QString& id) const {
    for (const QString& folder : applicationFolders()) {
        const QString path = desktopFile(folder, id);
        if (QFile::exists(path)) {
            std::optional<DesktopEntry> entry = DesktopEntry::load(path);
            return entry && entry->startable() ? entry : std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<DesktopEntry> DefaultApplications::forType(const QString& mimeType) const {
    const QStringList lists = mimeAppsLists();
    for (const QString& list : lists) {
        for (const QString& id : KeyFileList(ReadKeyFile(list).value(kDefaults).value(mimeType))) {
            if (std::optional<DesktopEntry> entry = startable(id)) {
                return entry;
            }
        }
    }
    // No default: the associations. A removal counts in its own list and the less
    // preferred ones.
    QStringList removed;
    for (const QString& list : lists) {
        const KeyFileGroups groups = ReadKeyFile(list);
        removed += KeyFileList(groups.value(kRemoved).value(mimeType));
        for (const QString& id : KeyFileList(groups.value(kAdded).value(mimeType))) {
            std::optional<DesktopEntry> entry = removed.contains(id) ? std::nullopt : startable(id);
            if (entry) {
                return entry;
            }
        }
    }
    return declaringType(mimeType, removed);
}

std::optional<DesktopEntry> DefaultApplications::declaringType(const QString& mimeType,
                                                               const QStringList& removed) const {
    for (const QString& folder : applicationFolders()) {
        const QStringList files =
            QDir(folder).entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);
        for (const QString& id : files) {
            if (removed.contains(id)) {
                continue;
            }
            std::optional<DesktopEntry> entry = startable(id);
            if (entry && entry->mimeTypes().contains(mimeType)) {
                return entry;
            }
        }
    }
    return std::nullopt;
}
