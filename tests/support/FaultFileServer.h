#pragma once

#include <QByteArray>
#include <QString>

#include "support/LocalHttpServer.h"

// The file server of the download tests: one route for each way a transfer goes wrong in
// the wild, on 127.0.0.1 at a free port (TCP_NODELAY, uncompressed unless the route is
// about compression). It listens from construction; destroy it after its clients.
//
//   /known.pdf               document(), its length announced
//   /chunked.pdf             document() in chunks, no length
//   /empty.pdf               200 with an empty body
//   /huge.pdf                announces kHugeLength (30 MB), sends 64 KB at once and then
//                            1 KB every 100 ms until the client leaves (at most a minute)
//   /reset.pdf               announces document()'s length, sends half, then resets the
//                            connection (RST); served from a port of its own
//   /short.pdf               announces document()'s length, sends half, then closes
//   /redirect/<code>/<hops>  <hops> redirects with status <code> (301, 302, 303, 307,
//                            308), then /known.pdf's answer
//   /loop                    redirects to itself
//   /to-file, /to-ftp        redirect to file:///etc/passwd and ftp://127.0.0.1/known.pdf
//   /404.pdf, /500.pdf       that status with errorPage() (HTML)
//   /login.pdf               200 with loginPage() as text/html
//   /gzip.pdf                document() gzip-compressed, with Content-Encoding: gzip and
//                            the compressed length, although the client asked for identity
//   /trickle.pdf             kTrickleLength bytes of 'x', announced, one every 100 ms
//   /文档/报告.pdf           document()
//   /big-headers.pdf         document() after 64 KB of response headers
class FaultFileServer {
  public:
    static constexpr qint64 kHugeLength = 30LL * 1024 * 1024;
    static constexpr int kTrickleLength = 20;

    FaultFileServer();

    // "http://127.0.0.1:<port>" followed by `path`.
    QString url(const QString& path) const;

    // 100 KB that start and end like a PDF, the rest of no pattern a compressor likes.
    static const QByteArray& document();
    static QByteArray errorPage();
    static QByteArray loginPage();

  private:
    void routeFiles();
    void routeFaults();
    void routeRedirects();
    void routeReset();

    LocalHttpServer http_;
    // Every connection of this one ends with a reset.
    LocalHttpServer resetting_;
};
