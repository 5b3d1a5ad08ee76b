#pragma once

#include <QByteArray>
#include <memory>

struct z_stream_s;

// Undoes the Content-Encoding of a body as its pieces arrive. Every request asks for
// the body as it is, yet some servers compress it all the same: gzip, x-gzip and
// deflate are inflated, any other coding passes through unchanged.
class ContentDecoder {
  public:
    explicit ContentDecoder(const QByteArray& contentEncoding);
    ~ContentDecoder();
    ContentDecoder(const ContentDecoder&) = delete;
    ContentDecoder& operator=(const ContentDecoder&) = delete;

    // The decoded bytes of the next piece; false when the piece is not valid coded data.
    bool decode(const QByteArray& piece, QByteArray& decoded);
    // The coded stream has reached its end (always for an uncoded body).
    bool complete() const { return !stream_ || ended_; }

  private:
    std::unique_ptr<z_stream_s> stream_;
    bool broken_ = false;
    bool ended_ = false;
};
