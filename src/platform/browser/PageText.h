#pragma once

#include <QByteArray>

// The bytes of a fetched page as the UTF-8 that the document model parses. The
// charset comes from the Content-Type, else from a byte order mark or a <meta> near
// the start of the page; UTF-8 when none is named.
namespace PageText {

QByteArray toUtf8(const QByteArray& body, const QByteArray& contentType);
// Whether a Content-Type names a page the browsers parse (HTML, or none given).
bool isHtml(const QByteArray& contentType);

}  // namespace PageText
