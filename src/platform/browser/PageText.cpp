#include "platform/browser/PageText.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include "platform/text/Gbk.h"

namespace {

constexpr qsizetype kSniffBytes = 1024;

QByteArray charsetIn(const QByteArray& text) {
    static const QRegularExpression charset(
        QStringLiteral(R"(charset\s*=\s*["']?\s*([A-Za-z0-9._:-]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = charset.match(QString::fromLatin1(text));
    return match.hasMatch() ? match.captured(1).toLatin1().toLower() : QByteArray();
}

}  // namespace

namespace PageText {

bool isHtml(const QByteArray& contentType) {
    const QByteArray type = contentType.split(';').constFirst().trimmed().toLower();
    return type.isEmpty() || type == "text/html" || type == "application/xhtml+xml";
}

QByteArray toUtf8(const QByteArray& body, const QByteArray& contentType) {
    if (body.startsWith("\xEF\xBB\xBF")) {
        return body.mid(3);
    }
    if (body.startsWith("\xFF\xFE") || body.startsWith("\xFE\xFF")) {
        auto decoder = QStringDecoder(body.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                                  : QStringDecoder::Utf16BE);
        return QString(decoder.decode(body.mid(2))).toUtf8();
    }
    QByteArray charset = charsetIn(contentType);
    if (charset.isEmpty()) {
        const QByteArray head = body.left(kSniffBytes);
        if (head.contains("<meta") || head.contains("<META") || head.contains("<Meta")) {
            charset = charsetIn(head);
        }
    }
    if (charset.isEmpty() || charset == "utf-8" || charset == "utf8" || charset == "us-ascii") {
        return body;  // gumbo replaces invalid sequences itself
    }
    if (charset == "gbk" || charset == "gb2312" || charset == "gb18030" || charset == "x-gbk" ||
        charset == "cp936" || charset == "windows-936") {
        return Gbk::decode(body).toUtf8();
    }
    if (charset == "iso-8859-1" || charset == "latin1" || charset == "windows-1252") {
        return QString::fromLatin1(body).toUtf8();
    }
    QStringDecoder decoder(charset.constData());
    return decoder.isValid() ? QString(decoder.decode(body)).toUtf8() : body;
}

}  // namespace PageText
