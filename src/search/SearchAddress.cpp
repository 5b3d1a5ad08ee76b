#include "search/SearchAddress.h"

#include <QUrl>

namespace {

const QString kPath = QStringLiteral("/search?");
const QString kWordsInTitle = QStringLiteral("va_vt=title&vo_vt=title&ve_vt=title&vp_vt=title");
const QString kWordsAnywhere = QStringLiteral("va_vt=any&vo_vt=any&ve_vt=any&vp_vt=any");
const QString kAllLanguages = QStringLiteral("&fl=0");
const QString kSimplifiedChinese = QStringLiteral("&fl=1&vl=lang_zh_chs");
// The blank at the end is part of the text; the browser layer encodes what it must.
const QString kFixedPart = QStringLiteral("&n=20&vm=p&ei=UTF-8&vst=0 ");
const QString kQueryKey = QStringLiteral("&p=");
const QString kQuote = QStringLiteral("%22");
const QString kInTitle = QStringLiteral("intitle%3A");

void appendEscapes(QString& out, char32_t codePoint) {
    static const char kHex[] = "0123456789ABCDEF";
    const QByteArray bytes = QString::fromUcs4(&codePoint, 1).toUtf8();
    for (const char byte : bytes) {
        const auto b = uchar(byte);
        out += QLatin1Char('%');
        out += QLatin1Char(kHex[b >> 4]);
        out += QLatin1Char(kHex[b & 0xF]);
    }
}

}  // namespace

QString ChooseSearchBase(const QString& commandLineValue, const QString& environmentValue) {
    QString base = commandLineValue.trimmed();
    if (base.isEmpty()) {
        base = environmentValue.trimmed();
    }
    if (base.isEmpty()) {
        return kDefaultSearchBase;
    }
    while (base.endsWith(QLatin1Char('/'))) {
        base.chop(1);
    }
    const QUrl url(base, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QStringLiteral("http") && scheme != QStringLiteral("https"))) {
        return {};
    }
    return base;
}

QString EncodeQueryText(const QString& text) {
    QString percent = text;
    percent.replace(QLatin1Char('%'), QStringLiteral("%25"));

    QString out;
    out.reserve(percent.size() * 3);
    for (qsizetype i = 0; i < percent.size(); ++i) {
        const char16_t c = percent.at(i).unicode();
        if (c < 0x80) {
            out += QChar(c);
            continue;
        }
        char32_t codePoint = c;
        if (QChar::isHighSurrogate(c) && i + 1 < percent.size() &&
            percent.at(i + 1).isLowSurrogate()) {
            // A character beyond the BMP is one character with a four-byte UTF-8 form.
            codePoint = QChar::surrogateToUcs4(c, percent.at(i + 1).unicode());
            ++i;
        } else if (QChar::isSurrogate(c)) {
            // Half a pair has no UTF-8 form; it travels as the replacement character.
            codePoint = QChar::ReplacementCharacter;
        }
        appendEscapes(out, codePoint);
    }

    out.replace(QLatin1Char('#'), QStringLiteral("%23"));
    out.replace(QLatin1Char('^'), QStringLiteral("%5E"));
    out.replace(QLatin1Char('&'), QStringLiteral("%26"));
    out.replace(QLatin1Char('+'), QStringLiteral("%2B"));
    return out;
}

QString BuildSearchAddress(const QString& searchBase, const QString& group, const FileType& type,
                           const SearchOptions& options) {
    const QString trimmed = group.trimmed();
    if (trimmed.isEmpty()) {
        return {};
    }
    QString query = EncodeQueryText(trimmed);
    if (options.quoteWholeGroup) {
        query = kQuote + query + kQuote;
    }
    const QString* words = &kWordsAnywhere;
    if (options.titleOnly) {
        query = kInTitle + query;
        words = &kWordsInTitle;
    }
    const QString& language = options.simplifiedChineseOnly ? kSimplifiedChinese : kAllLanguages;
    return searchBase + kPath + *words + language + kFixedPart + kQueryKey + query + type.suffix;
}

QList<FileType> CheckedFileTypes(const SearchOptions& options) {
    QList<FileType> types;
    for (size_t i = 0; i < kFileTypes.size(); ++i) {
        if (options.fileTypes[i]) {
            types.append(kFileTypes[i]);
        }
    }
    return types;
}
