#include "net/ContentDecoder.h"

#include <zlib.h>

namespace {

constexpr int kOutputPiece = 64 * 1024;
// zlib's window bits plus 32: a gzip or a zlib header, whichever the stream starts with.
constexpr int kAutoHeader = 15 + 32;

bool isDeflated(const QByteArray& contentEncoding) {
    const QByteArray coding = contentEncoding.trimmed().toLower();
    return coding == "gzip" || coding == "x-gzip" || coding == "deflate";
}

}  // namespace

ContentDecoder::ContentDecoder(const QByteArray& contentEncoding) {
    if (isDeflated(contentEncoding)) {
        stream_ = std::make_unique<z_stream_s>();
        broken_ = inflateInit2(stream_.get(), kAutoHeader) != Z_OK;
    }
}

ContentDecoder::~ContentDecoder() {
    if (stream_ && !broken_) {
        inflateEnd(stream_.get());
    }
}

bool ContentDecoder::decode(const QByteArray& piece, QByteArray& decoded) {
    if (!stream_) {
        decoded = piece;
        return true;
    }
    decoded.clear();
    if (broken_ || ended_) {
        return !broken_ && piece.isEmpty();  // nothing may follow the end of the stream
    }
    stream_->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.constData()));
    stream_->avail_in = uInt(piece.size());
    char out[kOutputPiece];
    for (;;) {
        stream_->next_out = reinterpret_cast<Bytef*>(out);
        stream_->avail_out = kOutputPiece;
        const int result = inflate(stream_.get(), Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
            return false;
        }
        decoded.append(out, kOutputPiece - qsizetype(stream_->avail_out));
        if (result == Z_STREAM_END) {
            ended_ = true;
            return stream_->avail_in == 0;
        }
        // zlib stops with room left in the output only when the input is used up.
        if (stream_->avail_out != 0) {
            return true;
        }
    }
}
