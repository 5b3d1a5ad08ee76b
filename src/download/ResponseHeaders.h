#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// What the single-connection transfer learns from a response's headers.

// The value of the Content-Disposition line of a complete response header text
// (lines split at line feeds and trimmed; the name compared ignoring case), or empty.
QString 从网络文件Header获取ContentDisposition(const QString& headerText);

// The file name of a Content-Disposition value ("filename=", quotes and control
// characters removed), or empty. `extension` gets the leading run of letters after
// its last ".", empty when there is none or it is longer than 5 letters; a value
// carrying only "filename*=" gives none. Only the extension names a download.
QString 从下载头信息ContentDisposition获取文件名(const QString& value, QString& extension);

// The extension a response gives its download, or empty (the entry then keeps its
// type). Asked in this order: the Content-Type's media type, the Content-Disposition's
// file name, and "htm" when the Content-Type's second part starts with "charset="
// (its first eight characters trimmed and compared ignoring case).
QString ExtensionFromResponseHeaders(const QString& contentType, const QString& contentDisposition);

// A response's complete header text as the transfer shows it: the status line rebuilt
// as "HTTP/<version> <code> <reason>" (the standard reason phrase where the reply gave
// none, as HTTP/2 replies do), then one "Name: value" line per header, each ending in
// CR LF. Empty when the reply brought no status.
QString ResponseHeaderText(const QString& version, int code, const QString& reason,
                           const QList<QPair<QByteArray, QByteArray>>& headers);
// The standard reason phrase of a status code ("Not Found"), or empty.
QString StandardReasonPhrase(int code);
// Whether a status line reads as a success: it holds both "200" and "OK" (any case).
bool StatusLineOk(const QString& headerText);
