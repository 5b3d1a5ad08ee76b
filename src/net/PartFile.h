#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "net/ContentDecoder.h"

class QTemporaryFile;

// A body on its way to its target: a hidden temporary file in the target's folder takes
// the pieces as they arrive, so memory stays flat whatever the size, and replaces the
// target as a whole only through commit(). Destroyed before that, it removes itself and
// the target stays exactly as it was. Where the file system allows, the file has no name
// at all until the commit (O_TMPFILE), so not even a crash leaves it behind; elsewhere
// its name starts with ".".
class PartFile {
  public:
    // Nothing is created before the first piece.
    PartFile(const QString& target, const QByteArray& contentEncoding);
    ~PartFile();
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    // Appends a piece of the body as it came over the wire; false once anything failed.
    bool write(const QByteArray& piece);
    // Renames the complete body over the target (one atomic rename: the old file or
    // placeholder is replaced, and whoever reads the target sees one or the other);
    // false, and the target untouched, when the body is not whole or not written.
    bool commit();

  private:
    bool create();

    QString target_;
    ContentDecoder decoder_;
    std::unique_ptr<QTemporaryFile> file_;
    bool failed_ = false;
};
