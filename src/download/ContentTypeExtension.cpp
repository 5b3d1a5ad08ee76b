#include "download/ContentTypeExtension.h"

#include <QStringList>

namespace {

constexpr qsizetype kMaxExtensionLength = 5;

struct MapRow {
    const char* mainType;
    const char* subtypes;   // comma-separated
    const char* extension;  // nullptr: the subtype itself
};

// Within a main type the first row naming the subtype decides.
const MapRow kContentTypes[] = {
    {"application", "octet-stream", ""},
    {"application", "x-shockwave-flash", "swf"},
    {"application", "x-javascript", "js"},
    {"application", "vnd.rn-realmedia", "rm"},
    {"application", "vnd.ms-wpl", "wpl"},
    {"application", "kdh,caj,pdf,caa,nh,ppt,docx,rtf,pptx,ppsx,zip,pps,dll,tar,tgz,xls,xlsx,doc",
     nullptr},
    {"application", "vnd.ms-works", "wps"},
    {"application", "vnd.ms-powerpoint", "ppt"},
    {"application", "msword", "doc"},
    {"application", "vnd.openxmlformats-officedocument.wordprocessingml.document", "docx"},
    {"application", "vnd.ms-excel,x-excel", "xls"},
    {"application", "vnd.openxmlformats-officedocument.spreadsheetml.sheet", "xlsx"},
    {"application", "vnd.openxmlformats-officedocument.presentationml.presentation", "pptx"},
    {"application", "vnd.openxmlformats-officedocument.presentationml.slideshow", "ppsx"},
    {"application", "x-msdownload", "dll"},
    {"application", "x-tar", "tar"},
    {"application", "x-compressed", "tgz"},
    {"application", "x-zip-compressed", "zip"},
    {"application", "z,x-compress", "z"},
    {"text", "html,txt,htm,xml,css", nullptr},
    {"text", "plain", "txt"},
    {"image", "jpg,jpeg,gif,png,bmp,tif,pjpeg,g3fax,ief", nullptr},
    {"image", "tiff", "tif"},
    {"image", "x-png", "png"},
    {"image", "x-ms-bmp", "bmp"},
    {"image", "x-icon", "ico"},
    {"video", "mpeg", "mpeg"},
    {"video", "mpeg4", "mp4"},
    {"video", "x-msvideo", "avi"},
    {"video", "x-ms-asf", "asf"},
    {"video", "x-ms-wmv", "wmv"},
    {"video", "quicktime", "mov"},
    {"audio", "amr", "amr"},
    {"audio", "x-ms-wma", "wma"},
    {"audio", "x-wav", "wav"},
    {"audio", "x-pn-realaudio", "ram"},
    {"audio", "midi", "mid"},
    {"audio", "x-mpegurl", "mpeg"},
    {"message", "rfc822", "mht"},
};

bool IsAsciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool IsAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The candidate for a main type and subtype by the table.
QString Candidate(const QString& mainType, const QString& subtype) {
    bool mainKnown = false;
    for (const MapRow& row : kContentTypes) {
        if (mainType != QLatin1String(row.mainType)) {
            continue;
        }
        mainKnown = true;
        const QStringList subtypes = QString::fromLatin1(row.subtypes).split(QLatin1Char(','));
        if (subtypes.contains(subtype)) {
            return row.extension ? QString::fromLatin1(row.extension) : subtype;
        }
    }
    if (mainKnown && (subtype.isEmpty() || subtype == QLatin1String("*"))) {
        return {};
    }
    return subtype;
}

}  // namespace

QString LeadingExtensionRun(const QString& text, qsizetype maxLength, bool digitsAfterFirst) {
    qsizetype end = 0;
    while (end < text.size() && (IsAsciiLetter(text.at(end)) ||
                                 (digitsAfterFirst && end > 0 && IsAsciiDigit(text.at(end))))) {
        ++end;
    }
    return end > maxLength ? QString() : text.left(end);
}

QString ExtensionFromContentType(const QString& mediaType) {
    const QStringList parts = mediaType.split(QLatin1Char('/'));
    QString candidate;
    if (parts.size() != 2) {
        candidate = parts.first().trimmed().toLower();
    } else {
        QString subtype = parts[1];
        subtype.remove(QLatin1Char(' '));
        candidate = Candidate(parts[0].trimmed().toLower(), subtype.toLower());
    }
    return LeadingExtensionRun(candidate, kMaxExtensionLength, true);
}
