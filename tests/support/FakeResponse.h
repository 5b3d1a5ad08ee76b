#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QPair>

// A piece of a fake body and when it arrives: milliseconds after the request, on the
// runtime's clock (virtual time in tests).
struct FakeChunk {
    int atMs = 0;
    QByteArray bytes = {};
};

// How the fake network answers one request. The status and headers arrive at
// `headersAtMs`, each chunk at its time (never before the headers), and the reply
// finishes, raising `error` first when it is one, at the later of `endAtMs` and its last
// chunk. Qt raises an error for a status of 400 or more; give it in `error` when a test
// needs that too. For example:
//
//   FakeResponse::whole("%PDF-1.4 ...")                       a file, its length announced
//   {.chunks = {{0, "abc"}}}                                   no Content-Length
//   {.length = 30 << 20, .chunks = {{0, x}}, .endAtMs = -1}    announces 30 MB, then stalls
//   {.status = 404, .chunks = {{0, "<html>"}}}                 an error page
//   {.length = 10, .chunks = {{0, "abc"}},
//    .error = QNetworkReply::RemoteHostClosedError}            a dropped connection
struct FakeResponse {
    int status = 200;
    // The announced total (Content-Length); none when negative.
    qint64 length = -1;
    // Further headers, such as {"Content-Type", "text/html"}.
    QList<QPair<QByteArray, QByteArray>> headers = {};
    QList<FakeChunk> chunks = {};
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    // -1: no status or headers ever arrive (nor the chunks).
    int headersAtMs = 0;
    // -1: the reply never finishes (a server that stalls).
    int endAtMs = 0;

    // A whole body at once, its length announced.
    static FakeResponse whole(const QByteArray& body) {
        return {.length = body.size(), .chunks = {{0, body}}};
    }
};
