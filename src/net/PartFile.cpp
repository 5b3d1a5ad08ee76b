#include "net/PartFile.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>

namespace {

// Hidden, and short enough beside any name the folder can hold.
constexpr char16_t kPartName[] = u"/.orvellin-XXXXXX.part";

// A document the host did not reserve gets the usual permissions, not the temporary
// file's owner-only ones.
constexpr QFile::Permissions kNewFilePermissions =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;

}  // namespace

PartFile::PartFile(const QString& target, const QByteArray& contentEncoding)
    : target_(target), decoder_(contentEncoding) {}

PartFile::~PartFile() = default;

bool PartFile::create() {
    file_ = std::make_unique<QTemporaryFile>(QFileInfo(target_).absolutePath() +
                                             QString::fromUtf16(kPartName));
    return file_->open();
}

bool PartFile::write(const QByteArray& piece) {
    if (failed_ || (!file_ && !create())) {
        failed_ = true;
        return false;
    }
    QByteArray decoded;
    failed_ = !decoder_.decode(piece, decoded) || file_->write(decoded) != decoded.size();
    return !failed_;
}

bool PartFile::commit() {
    if (failed_ || !file_ || !decoder_.complete() || !file_->flush()) {
        return false;
    }
    const QFileInfo target(target_);
    file_->setPermissions(target.exists() ? target.permissions() : kNewFilePermissions);
    // Asking for the name gives a file that has none yet (O_TMPFILE) its hidden one.
    const QString part = file_->fileName();
    file_->close();
    if (std::rename(QFile::encodeName(part).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        return false;
    }
    file_->setAutoRemove(false);
    file_.reset();
    return true;
}
