#include "download/FileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

FileReader::~FileReader() {
    FileReader::close();
}

bool FileReader::open(const QString& path) {
    close();
    // Non-blocking, so that a pipe put in the file's place cannot hang the caller.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = qint64(info.st_size);
    return true;
}

qint64 FileReader::size() const {
    return size_;
}

qint64 FileReader::read(qint64 offset, char* data, qint64 count) {
    qint64 done = 0;
    while (fd_ >= 0 && done < count) {
        const ssize_t got = ::pread(fd_, data + done, size_t(count - done), off_t(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += got;
    }
    return done;
}

void FileReader::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    size_ = 0;
}
