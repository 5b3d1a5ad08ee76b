#include "support/FaultFileServer.h"

#include <sys/socket.h>
#include <zlib.h>

#include <string>

namespace {

constexpr size_t kPiece = 16 * 1024;
constexpr size_t kHugeFirst = 64 * 1024;
constexpr int kSlowMs = 100;
constexpr int kSlowSteps = 600;  // a minute of slow pieces at most
constexpr int kFillerHeaders = 64;

std::string toStd(const QByteArray& bytes) {
    return std::string(bytes.constData(), size_t(bytes.size()));
}

QByteArray gzipped(const QByteArray& bytes) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&stream, uLong(bytes.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

// Announces the whole document and sends half of it: the provider stops, which ends the
// connection.
void serveHalf(httplib::Response& res) {
    const QByteArray& body = FaultFileServer::document();
    res.set_content_provider(size_t(body.size()), "application/pdf",
                             [&body](size_t offset, size_t, httplib::DataSink& sink) {
                                 return offset == 0 &&
                                        sink.write(body.constData(), size_t(body.size()) / 2);
                             });
}

void serveDocument(httplib::Response& res) {
    res.set_content(toStd(FaultFileServer::document()), "application/pdf");
}

}  // namespace

FaultFileServer::FaultFileServer() {
    routeFiles();
    routeFaults();
    routeRedirects();
    routeReset();
    http_.start();
    resetting_.start();
}

QString FaultFileServer::url(const QString& path) const {
    return (path == u"/reset.pdf" ? resetting_ : http_).url(path);
}

const QByteArray& FaultFileServer::document() {
    static const QByteArray bytes = [] {
        QByteArray body("%PDF-1.4\n");
        quint32 state = 12345;
        while (body.size() < 100 * 1024 - 7) {
            state = state * 1103515245u + 12345u;
            body.append(char(state >> 24));
        }
        return body + "\n%%EOF\n";
    }();
    return bytes;
}

QByteArray FaultFileServer::errorPage() {
    return "<html><head><title>Error</title></head><body><h1>Error</h1></body></html>";
}

QByteArray FaultFileServer::loginPage() {
    return "<html><head><title>登录</title></head><body><form method=\"post\" action=\"/login\">"
           "<input name=\"user\"><input name=\"password\" type=\"password\"></form></body></html>";
}

void FaultFileServer::routeFiles() {
    httplib::Server& server = http_.server();
    server.Get("/known.pdf",
               [](const httplib::Request&, httplib::Response& res) { serveDocument(res); });
    server.Get("/文档/报告.pdf",
               [](const httplib::Request&, httplib::Response& res) { serveDocument(res); });
    server.Get("/chunked.pdf", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider(
            "application/pdf", [](size_t offset, httplib::DataSink& sink) {
                const QByteArray& body = document();
                const size_t size = std::min(kPiece, size_t(body.size()) - offset);
                if (!sink.write(body.constData() + offset, size)) {
                    return false;
                }
                if (offset + size == size_t(body.size())) {
                    sink.done();
                }
                return true;
            });
    });
    server.Get("/empty.pdf", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("", "application/pdf");
    });
    server.Get("/login.pdf", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(toStd(loginPage()), "text/html; charset=utf-8");
    });
    server.Get("/gzip.pdf", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Content-Encoding", "gzip");
        res.set_content(toStd(gzipped(document())), "application/pdf");
    });
    server.Get("/big-headers.pdf", [](const httplib::Request&, httplib::Response& res) {
        for (int i = 0; i < kFillerHeaders; ++i) {
            res.set_header("X-Filler-" + std::to_string(i), std::string(1000, 'f'));
        }
        serveDocument(res);
    });
}

void FaultFileServer::routeFaults() {
    httplib::Server& server = http_.server();
    server.Get(R"(/(404|500)\.pdf)", [](const httplib::Request& req, httplib::Response& res) {
        res.status = std::stoi(req.matches[1]);
        res.set_content(toStd(errorPage()), "text/html; charset=utf-8");
    });
    server.Get("/huge.pdf", [this](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(
            size_t(kHugeLength), "application/pdf",
            [this, steps = 0](size_t offset, size_t, httplib::DataSink& sink) mutable {
                if (offset == 0) {
                    return sink.write(document().constData(), kHugeFirst);
                }
                return ++steps < kSlowSteps && http_.pause(kSlowMs) &&
                       sink.write(document().constData(), 1024);
            });
    });
    server.Get("/short.pdf",
               [](const httplib::Request&, httplib::Response& res) { serveHalf(res); });
    server.Get("/trickle.pdf", [this](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(size_t(kTrickleLength), "application/pdf",
                                 [this](size_t, size_t, httplib::DataSink& sink) {
                                     return http_.pause(kSlowMs) && sink.write("x", 1);
                                 });
    });
}

void FaultFileServer::routeRedirects() {
    httplib::Server& server = http_.server();
    server.Get(R"(/redirect/(\d+)/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
        const std::string code = req.matches[1];
        const int hops = std::stoi(req.matches[2]);
        if (hops == 0) {
            serveDocument(res);
        } else {
            res.set_redirect("/redirect/" + code + "/" + std::to_string(hops - 1), std::stoi(code));
        }
    });
    server.Get("/loop",
               [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/loop"); });
    server.Get("/to-file", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("file:///etc/passwd");
    });
    server.Get("/to-ftp", [this](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("ftp://127.0.0.1:" + std::to_string(http_.port()) + "/known.pdf");
    });
}

void FaultFileServer::routeReset() {
    // Accepted connections take the listening socket's linger of 0: closing one resets it.
    resetting_.server().set_socket_options([](socket_t socket) {
        const int yes = 1;
        const linger reset{1, 0};
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        setsockopt(socket, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    });
    resetting_.server().Get(
        "/reset.pdf", [](const httplib::Request&, httplib::Response& res) { serveHalf(res); });
}
