#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>

// The browsers' URL cache: the documents they download while searching, kept in a
// per-user folder under names of the cache's own, and an index beside that folder (not
// inside it, so that a listing of the folder shows documents only) that maps each
// address to its file.
//
// The index is a log: every change appends one line, so that deleting thousands of
// entries costs one short write each, and the log is rewritten without its dead lines
// once they outnumber the live ones. The browsers and the cache viewer each hold an
// instance over the same files; an instance reads the index again whenever it changed
// on disk since it last read it. Lines that do not parse are skipped.
class UrlCache {
  public:
    struct Entry {
        QString address;
        // The full path; empty when the index names no plain file name in the folder.
        QString localFile;
        bool normal = true;
    };

    // The cache in the program's per-user cache folder: the documents in "UrlCache/",
    // the index in "UrlCache.index" beside them.
    explicit UrlCache(const QString& cacheFolder);

    // The documents' folder, ending in "/".
    const QString& folder() const { return folder_; }
    const QString& indexFile() const { return index_; }

    // For the browsers: a path in the folder where no file is yet, for a document of
    // that address, named by the cache (the address's extension kept). The folder is
    // made; the empty text when it cannot be.
    QString newFilePath(const QString& address) const;
    // Enters the document stored at `localFile` (a path from newFilePath) for the
    // address as a normal entry; an earlier entry of the address and its file make way.
    // False when the index cannot be written or the address holds a line break.
    bool add(const QString& address, const QString& localFile);

    // What the cache viewer reads. Every entry, in the order they were entered; nothing
    // when the index exists but cannot be read.
    std::optional<QList<Entry>> entries();
    // The local file of the address's entry; empty when there is none.
    QString localFile(const QString& address);
    // Takes the entries of the addresses out of the index at once (their files are the
    // caller's). Gives how many there were; none when the index cannot be written.
    int remove(const QStringList& addresses);

  private:
    struct Record {
        QString address;
        QString name;
        bool normal = true;
    };
    // What identifies one state of the index file on disk.
    struct Stamp {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = -1;  // -1: no index file
        qint64 modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };

    bool refresh();
    void parse(const QByteArray& log);
    void insert(Record record);
    void erase(const QString& address);
    bool append(const QByteArray& lines, int count);
    void compactWhenSparse();
    static Stamp stampOf(const QString& path);
    QString pathOf(const Record& record) const;

    QString folder_;
    QString index_;
    std::optional<Stamp> read_;       // the state last read; nothing before the first read
    std::map<quint64, Record> live_;  // by the order of entering
    QHash<QString, quint64> orderOf_;
    quint64 nextOrder_ = 0;
    qsizetype lines_ = 0;
};
