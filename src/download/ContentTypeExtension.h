#pragma once

#include <QString>

// The extension for a response's media type (the Content-Type without its
// parameters), or empty: the known types map to their usual extension
// ("application/vnd.ms-excel" gives "xls"), other types give their subtype, and the
// result is the leading run of a letter and then letters or digits, at most 5 long
// ("video/mpeg4" gives "mp4", "application/x-rar-compressed" gives "x").
QString ExtensionFromContentType(const QString& mediaType);

// The leading run of letters a-z (either case) of a text, with digits too after its
// first letter when `digitsAfterFirst`; empty when the run is longer than `maxLength`.
QString LeadingExtensionRun(const QString& text, qsizetype maxLength, bool digitsAfterFirst);
