#include "download/ResponseHeaders.h"

#include <QStringList>

#include "download/ContentTypeExtension.h"

namespace {

constexpr qsizetype kMaxDispositionExtension = 5;
const QString kDispositionName = QStringLiteral("content-disposition:");
const QString kFileNameKey = QStringLiteral("filename=");
const QString kCharsetKey = QStringLiteral("charset=");

}  // namespace

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
