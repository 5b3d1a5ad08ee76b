#include "tools/ExtensionFromAddress.h"

namespace {

constexpr qsizetype kMaxExtension = 6;

bool endsName(QChar c) {
    static const QString stops = QStringLiteral("#\b\t\n\r:*<>|\"'=?");
    return stops.contains(c);
}

}  // namespace

QString ExtensionFromAddress(const QString& address) {
    const QString scheme = QStringLiteral("://");
    QString text = address;
    const qsizetype first = text.indexOf(scheme, 0, Qt::CaseInsensitive);
    if (first >= 0) {
        text = text.mid(first + scheme.size());
        const qsizetype second = text.indexOf(scheme, 0, Qt::CaseInsensitive);
        if (second >= 0) {
            text.truncate(second);
        }
    }
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    text = text.mid(text.lastIndexOf(QLatin1Char('/')) + 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (endsName(text.at(i))) {
            text.truncate(i);
            break;
        }
    }
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) {
        return {};
    }
    const QString extension = text.mid(dot + 1).trimmed();
    return extension.size() <= kMaxExtension ? extension : QString();
}
