#include "search/ResultPageRules.h"

#include "platform/browser/HtmlDocument.h"
#include "platform/text/Gbk.h"
#include "sys/FileSystem.h"

namespace {

const QString kBlockClassPrefix = QStringLiteral("dd algo ");
const QString kRedirectStart = QStringLiteral("/RU=");
const QString kRedirectEnd = QStringLiteral("/RK=");
const QString kEllipsis = QStringLiteral("...");
// The domain of the sharing site 豆丁网, as its titles end.
const QString kDocinEnding = QStringLiteral("docin.com豆丁网");

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') {
        return u - '0';
    }
    if (u >= 'a' && u <= 'f') {
        return u - 'a' + 10;
    }
    if (u >= 'A' && u <= 'F') {
        return u - 'A' + 10;
    }
    return -1;
}

// The byte of the escape "%XY" at `at`; -1 when X or Y is not hexadecimal (or missing).
int escapeAt(const QString& text, qsizetype at) {
    if (at + 2 >= text.size()) {
        return -1;
    }
    const int high = hexDigit(text.at(at + 1));
    const int low = hexDigit(text.at(at + 2));
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// The text with escapes made bytes, read as UTF-8; nothing when the bytes are no
// valid UTF-8 or an escape is broken.
std::optional<QString> decodeUtf8(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    bool high = false;
    qsizetype literal = 0;  // start of the run of plain characters
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'%') {
            continue;
        }
        bytes += QStringView(text).mid(literal, i - literal).toUtf8();
        const int byte = escapeAt(text, i);
        if (byte < 0) {
            return std::nullopt;
        }
        high = high || byte >= 128;
        bytes += char(byte);
        i += 2;
        literal = i + 1;
    }
    bytes += QStringView(text).mid(literal).toUtf8();
    if (!high || !bytes.isValidUtf8()) {
        return std::nullopt;
    }
    return QString::fromUtf8(bytes);
}

// The described decoding: GBK pairs, stopping at a lead escape without a trail escape.
std::optional<QString> decodeGbk(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'%') {
            out += text.at(i);
            continue;
        }
        const int lead = escapeAt(text, i);
        if (lead < 0) {
            return std::nullopt;
        }
        i += 2;
        if (lead < 128) {
            out += QChar(lead);
            continue;
        }
        if (i + 1 >= text.size() || text.at(i + 1) != u'%') {
            return out;
        }
        const int trail = escapeAt(text, i + 1);
        if (trail < 0) {
            return std::nullopt;
        }
        i += 3;
        const QString pair = Gbk::decodePair(uchar(lead), uchar(trail));
        out += pair.isEmpty() ? QString(QChar(0xFFFD)) : pair;
    }
    return out;
}

QString withoutBlanks(QString text) {
    return text.remove(u' ');
}

// Marks that sharing and encyclopedia sites put at the end of their page titles.
bool isSharingSiteTitle(const QString& title) {
    const QString compact = withoutBlanks(title);
    return compact.contains(QStringLiteral("_百度"), Qt::CaseInsensitive) ||
           compact.contains(QStringLiteral("-百度"), Qt::CaseInsensitive) ||
           title.right(12).toLower() == kDocinEnding || title.endsWith(QStringLiteral("-豆丁网")) ||
           title.endsWith(QStringLiteral("_360百科")) ||
           title.endsWith(QStringLiteral("-道客巴巴")) ||
           compact.contains(QStringLiteral("-搜狗百科—"), Qt::CaseInsensitive);
}

QString linkOf(const HtmlElement& anchor) {
    const QString href = anchor.href().trimmed();
    const qsizetype start = href.indexOf(kRedirectStart, 0, Qt::CaseInsensitive);
    if (start < 0) {
        return {};
    }
    const QString rest = href.mid(start + kRedirectStart.size());
    const qsizetype end = rest.indexOf(kRedirectEnd, 0, Qt::CaseInsensitive);
    if (end < 0) {
        return {};
    }
    const QString target = rest.left(end);
    // A target that cannot be decoded is kept as it stands.
    return ResultPageRules::DecodeRedirectTarget(target).value_or(target);
}

QString titleOf(const HtmlElement& anchor, const ResultPageRules::Options& options) {
    QString title = anchor.innerText().trimmed();
    title.remove(kEllipsis, Qt::CaseInsensitive);
    if (options.removeBlanks) {
        title.remove(u' ');
    }
    if (options.removeSourceSite) {
        const qsizetype dash = title.lastIndexOf(u'-');
        if (dash >= 1 && IsHostName(title.mid(dash + 1).trimmed())) {
            title = title.left(dash).trimmed();
        }
    }
    return title;
}

}  // namespace

namespace ResultPageRules {

std::optional<QString> DecodeRedirectTarget(const QString& text) {
    if (auto utf8 = decodeUtf8(text)) {
        return utf8;
    }
    return decodeGbk(text);
}

QString TypeOfLink(const QString& link) {
    const QString ending = link.right(4).toUpper();
    for (const char* type : {"pdf", "doc", "xls", "ppt", "txt"}) {
        if (ending == u'.' + QString::fromLatin1(type).toUpper()) {
            return QString::fromLatin1(type);
        }
    }
    return {};
}

PageKind Walk(const HtmlDocument* document, const std::function<Options()>& options,
              const std::function<void(const Entry&)>& add) {
    if (!document) {
        return PageKind::NoDocument;
    }
    if (document->outerHtml().contains(kVerificationText)) {
        return PageKind::Verification;
    }
    for (const HtmlElement block : document->elementsByTagName(u"div")) {
        if (!block.className().trimmed().toLower().startsWith(kBlockClassPrefix)) {
            continue;
        }
        const Options now = options();
        const HtmlElement anchor = block.elementsByTagName(u"a").at(0);
        const QString title = anchor ? titleOf(anchor, now) : QString();
        const QString link = anchor ? linkOf(anchor) : QString();
        const QString type = TypeOfLink(link);
        const bool typeAcceptable = !now.knownTypesOnly || !type.isEmpty();
        if (!typeAcceptable || isSharingSiteTitle(title) || title.isEmpty() || link.isEmpty()) {
            continue;
        }
        add(Entry{title, link, type});
    }
    return PageKind::Results;
}

}  // namespace ResultPageRules
