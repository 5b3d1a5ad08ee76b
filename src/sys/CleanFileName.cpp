#include "sys/CleanFileName.h"

#include "platform/text/Gbk.h"

namespace {
constexpr qsizetype kGbkByteLimit = 200;
constexpr qsizetype kUtf8ByteLimit = 230;
}  // namespace

QString CutToUtf8Bytes(const QString& text, qsizetype maxBytes) {
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text.at(i).unicode();
        const bool pair =
            QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const int units = pair ? 2 : 1;
        bytes += pair ? 4 : c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (bytes > maxBytes) {
            return text.left(i);
        }
        i += units;
    }
    return text;
}

QString CutToCharacters(const QString& text, qsizetype maxCharacters) {
    if (maxCharacters <= 0) {
        return {};
    }
    if (maxCharacters >= text.size()) {
        return text;
    }
    const bool splitsPair =
        text.at(maxCharacters - 1).isHighSurrogate() && text.at(maxCharacters).isLowSurrogate();
    return text.left(splitsPair ? maxCharacters - 1 : maxCharacters);
}

QString CleanFileName(const QString& name) {
    QString clean = name;
    for (const QChar c : {u'\\', u'/', u':', u'*', u'?', u'"', u'<', u'>', u'|'}) {
        clean.remove(c);
    }
    clean.remove(QStringLiteral("\r\n"));
    clean.remove(QLatin1Char('\r'));
    clean.remove(QLatin1Char('\n'));
    clean.remove(QChar(0));
    qsizetype start = 0;
    while (start < clean.size() && clean.at(start) == QLatin1Char('.')) {
        ++start;
    }
    qsizetype end = clean.size();
    while (end > start && clean.at(end - 1) == QLatin1Char('.')) {
        --end;
    }
    clean = clean.mid(start, end - start);
    return CutToUtf8Bytes(Gbk::cutToBytes(clean, kGbkByteLimit), kUtf8ByteLimit);
}
