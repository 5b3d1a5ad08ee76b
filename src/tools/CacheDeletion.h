#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class UrlCache;

// What the cache viewer's deletion commands do to one row and to the emptied folders,
// confined to the cache folders it was given: a path whose folder lies outside them
// (an index that names a file elsewhere, a link to a folder elsewhere) is skipped, and
// a symbolic link is never followed, only skipped.
class CacheDeletion {
  public:
    // `cacheFolders`: the folders whose contents may be deleted; their own entries stay.
    CacheDeletion(UrlCache& cache, const QStringList& cacheFolders);

    // One row of the list: a user row ("用户:" …) deletes its file unless its type is
    // "txt" (the cookies of the legacy cache); an index row deletes its file and marks
    // its entry for DeleteEntries() unless its address is empty or names a "Cookie".
    void DeleteRow(const QString& text, const QString& type, const QString& filePath);
    // Takes the entries of the deleted index rows out of the index, in one write.
    void DeleteEntries();
    // Deletes the file when it is a plain file inside the cache folders; when its folder
    // refuses, that folder is made writable for its owner (the attributes set to normal)
    // and the deletion tried once more. Failures are ignored.
    void 强制删除(const QString& path) const;
    // Removes the empty ones of `folders`, from the last to the first, so that children
    // (listed after their parents) go first. Folders that are not empty stay.
    void 删除空文件夹(const QStringList& folders) const;

  private:
    // The canonical folder that holds the path when it is a cache folder or lies below
    // one; the empty text otherwise.
    QString holderInside(const QString& path) const;
    // Runs `remove` on the entry; when it fails for want of permission, makes its folder
    // writable and runs it once more.
    static void removeForcibly(const QString& holder, const QString& name,
                               int (*remove)(const char*));

    UrlCache& cache_;
    QStringList entries_;
    QStringList folders_;  // canonical, each ending in "/"
    // holderInside() of each folder met so far: thousands of files share a few folders.
    mutable QHash<QString, QString> holders_;
};
