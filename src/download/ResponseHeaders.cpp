#include "download/ResponseHeaders.h"

#include <QStringList>

#include "download/ContentTypeExtension.h"

namespace {

constexpr qsizetype kMaxDispositionExtension = 5;
const QString kDispositionName = QStringLiteral("content-disposition:");
const QString kFileNameKey = QStringLiteral("filename=");
const QString kCharsetKey = QStringLiteral("charset=");

struct Reason {
    int code;
    const char* phrase;
};

constexpr Reason kReasons[] = {
    {100, "Continue"},
    {101, "Switching Protocols"},
    {200, "OK"},
    {201, "Created"},
    {202, "Accepted"},
    {203, "Non-Authoritative Information"},
    {204, "No Content"},
    {205, "Reset Content"},
    {206, "Partial Content"},
    {300, "Multiple Choices"},
    {301, "Moved Permanently"},
    {302, "Found"},
    {303, "See Other"},
    {304, "Not Modified"},
    {305, "Use Proxy"},
    {307, "Temporary Redirect"},
    {308, "Permanent Redirect"},
    {400, "Bad Request"},
    {401, "Unauthorized"},
    {402, "Payment Required"},
    {403, "Forbidden"},
    {404, "Not Found"},
    {405, "Method Not Allowed"},
    {406, "Not Acceptable"},
    {407, "Proxy Authentication Required"},
    {408, "Request Timeout"},
    {409, "Conflict"},
    {410, "Gone"},
    {411, "Length Required"},
    {412, "Precondition Failed"},
    {413, "Content Too Large"},
    {414, "URI Too Long"},
    {415, "Unsupported Media Type"},
    {416, "Range Not Satisfiable"},
    {417, "Expectation Failed"},
    {421, "Misdirected Request"},
    {422, "Unprocessable Content"},
    {426, "Upgrade Required"},
    {429, "Too Many Requests"},
    {500, "Internal Server Error"},
    {501, "Not Implemented"},
    {502, "Bad Gateway"},
    {503, "Service Unavailable"},
    {504, "Gateway Timeout"},
    {505, "HTTP Version Not Supported"},
};

}  // namespace

QString StandardReasonPhrase(int code) {
    for (const Reason& reason : kReasons) {
        if (reason.code == code) {
            return QString::fromLatin1(reason.phrase);
        }
    }
    return {};
}

QString ResponseHeaderText(const QString& version, int code, const QString& reason,
                           const QList<QPair<QByteArray, QByteArray>>& headers) {
    if (code <= 0) {
        return {};
    }
    const QString phrase = reason.trimmed().isEmpty() ? StandardReasonPhrase(code) : reason;
    QString text = QStringLiteral("HTTP/%1 %2 %3\r\n").arg(version).arg(code).arg(phrase);
    for (const auto& [name, value] : headers) {
        text += QString::fromLatin1(name) + QStringLiteral(": ") + QString::fromLatin1(value) +
                QStringLiteral("\r\n");
    }
    return text;
}

bool StatusLineOk(const QString& headerText) {
    const QString first = headerText.section(QStringLiteral("\r\n"), 0, 0);
    return first.contains(QStringLiteral("200")) &&
           first.contains(QStringLiteral("OK"), Qt::CaseInsensitive);
}

QString 从网络文件Header获取ContentDisposition(const QString& headerText) {
    // Lines end in CR LF; splitting at the LF and trimming takes bare LFs as well.
    for (const QString& raw : headerText.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.left(kDispositionName.size()).toLower() == kDispositionName) {
            return line.mid(kDispositionName.size()).trimmed();
        }
    }
    return {};
}

QString 从下载头信息ContentDisposition获取文件名(const QString& value, QString& extension) {
    extension.clear();
    const QString text = value.trimmed();
    const qsizetype key = text.indexOf(kFileNameKey, 0, Qt::CaseInsensitive);
    if (key < 0) {
        return {};
    }
    QString name = text.mid(key + kFileNameKey.size()).trimmed();
    const qsizetype semicolon = name.indexOf(QLatin1Char(';'));
    if (semicolon >= 0) {
        name = name.left(semicolon).trimmed();
    }
    for (const QChar c : {u'"', u'\'', u'\0', u'\n', u'\r', u'\t'}) {
        name.remove(c);
    }
    name = name.trimmed();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        extension =
            LeadingExtensionRun(name.mid(dot + 1).trimmed(), kMaxDispositionExtension, false);
    }
    return name;
}

QString ExtensionFromResponseHeaders(const QString& contentType,
                                     const QString& contentDisposition) {
    const QStringList parts = contentType.trimmed().split(QLatin1Char(';'));
    QString extension = ExtensionFromContentType(parts.first().trimmed());
    if (extension.isEmpty()) {
        从下载头信息ContentDisposition获取文件名(contentDisposition, extension);
    }
    // The parameter's first eight characters are cut before they are trimmed: a blank
    // after ";" makes "charset=" fall short and gives no charset.
    if (extension.isEmpty() && parts.size() > 1 &&
        parts[1].left(kCharsetKey.size()).trimmed().toLower() == kCharsetKey) {
        extension = QStringLiteral("htm");
    }
    return extension;
}
