#pragma once

#include <QByteArray>
#include <QString>

// Code page 936 (GBK), the ANSI code page of the files the program writes and of the
// byte limits of file names.
//
// Characters that GBK cannot represent (emoji, rare CJK characters beyond the BMP)
// are handled this way:
// - encode() writes them as "?", the code page's replacement character;
// - byteLength() and cutToBytes() count them as 4 bytes, their size in GB18030, the
//   standard superset of GBK, and keep them whole, so a cut name stays usable.
namespace Gbk {

QByteArray encode(const QString& text);
// Never stops: an invalid byte or pair becomes U+FFFD and decoding goes on.
QString decode(const QByteArray& bytes);
// The number of GBK bytes of a text (see above for characters outside GBK).
qsizetype byteLength(const QString& text);
// The longest start of `text` within `maxBytes` bytes, never ending in half a
// double-byte character or half a surrogate pair.
QString cutToBytes(const QString& text, qsizetype maxBytes);
// One double-byte character from its lead and trail byte; empty when the pair is none.
QString decodePair(unsigned char lead, unsigned char trail);

}  // namespace Gbk
