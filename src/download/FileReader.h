#pragma once

#include <QString>

// Reads parts of one file at a time, straight from the file system. Type detection
// reads through it; a test can derive from it to count what is read or to make a file
// vanish between the existence test and the read.
class FileReader {
  public:
    FileReader() = default;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    virtual ~FileReader();

    // Opens a regular file for reading (closing the one open before); false when it
    // cannot be read.
    virtual bool open(const QString& path);
    // The open file's length in bytes when it was opened.
    virtual qint64 size() const;
    // Reads up to `count` bytes from `offset` into `data`: the number read, fewer at the
    // end of the file or when reading fails.
    virtual qint64 read(qint64 offset, char* data, qint64 count);
    virtual void close();

  private:
    int fd_ = -1;
    qint64 size_ = 0;
};
