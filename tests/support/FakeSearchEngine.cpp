#include "support/FakeSearchEngine.h"

#include <httplib.h>

#include <QRegularExpression>
#include <QUrl>
#include <chrono>

namespace {

constexpr int kHoldSeconds = 120;
constexpr size_t kWorkers = 32;

std::string toStd(const QByteArray& bytes) {
    return std::string(bytes.constData(), size_t(bytes.size()));
}

QString fromStd(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

// The engine writes redirect targets with lower-case escapes of everything but letters,
// digits and "-._~".
QString encodeTarget(const QString& target) {
    QString out;
    for (const char c : target.toUtf8()) {
        const auto b = uchar(c);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
            b == '-' || b == '.' || b == '_' || b == '~') {
            out += QChar(b);
        } else {
            out += QStringLiteral("%%1").arg(b, 2, 16, QLatin1Char('0'));
        }
    }
    return out;
}

// The query text of a "p" value without operators: the key results are kept under.
void splitQuery(const QString& p, QString& query, QString& type) {
    static const QRegularExpression fileType(QStringLiteral(R"(\s*filetype:(\w+))"));
    const auto match = fileType.match(p);
    type = match.hasMatch() ? match.captured(1).toLower() : QString();
    query = QString(p).remove(fileType).remove(QStringLiteral("intitle:")).remove(u'"').trimmed();
}

// What a site sends instead of a document when it wants a login first.
const QByteArray kLoginPage = QByteArrayLiteral(
    "<html><head><title>登录</title></head><body><p>请先登录，再下载文档。</p></body></html>\n");

QByteArray documentBytes(const QString& type) {
    if (type == u"pdf") {
        return QByteArrayLiteral("%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\ntrailer\n%%EOF\n");
    }
    if (type == u"doc" || type == u"xls" || type == u"ppt") {
        // A compound document: its header, and after it the mark of the program that wrote it,
        // by which its type is judged.
        const QByteArray mark = type == u"doc"   ? QByteArray("\xEC\xA5\xC1\x00", 4)
                                : type == u"xls" ? QByteArray("\x09\x08\x10\x00", 4)
                                                 : QByteArray("\x00\x00\x00\xF0", 4);
        return QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0') + mark +
               QByteArray(508, '\0');
    }
    if (type == u"docx") {
        return QByteArray("PK\x03\x04", 4) + QByteArray(60, '\0');
    }
    return QByteArrayLiteral("plain text document\r\n");
}

QByteArray contentTypeOf(const QString& type) {
    if (type == u"pdf") {
        return "application/pdf";
    }
    if (type == u"doc") {
        return "application/msword";
    }
    if (type == u"xls") {
        return "application/vnd.ms-excel";
    }
    if (type == u"ppt") {
        return "application/vnd.ms-powerpoint";
    }
    if (type == u"txt") {
        return "text/plain";
    }
    return "application/octet-stream";
}

QString padding(int bytes) {
    // Real result pages carry large style sheets and side panels; both cost the parser.
    QString out = QStringLiteral("<style>");
    int i = 0;
    while (out.size() < bytes / 2) {
        out += QStringLiteral(".c%1 .compText span.s%1{color:#525252;margin:0 %1px}").arg(i++);
    }
    out += QStringLiteral("</style><div id=\"right\"><ol class=\"cardReg searchRightTop\">");
    while (out.size() < bytes) {
        out += QStringLiteral(
                   "<li><div class=\"dd AlsoTry\"><table class=\"compTable\"><tr><td><a "
                   "href=\"/search?p=also+%1\" class=\"fz-ms\"><span>related %1</span></a></td>"
                   "</tr></table></div></li>")
                   .arg(i++);
    }
    return out + QStringLiteral("</ol></div>");
}

}  // namespace

FakeSearchEngine::FakeSearchEngine(int port) : server_(std::make_unique<httplib::Server>()) {
    server_->new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
    server_->set_tcp_nodelay(true);
    server_->set_keep_alive_max_count(1000);
    // A worker serves one connection while it is kept alive, and stopping waits for it.
    server_->set_keep_alive_timeout(2);
    route();
    if (port == 0) {
        port_ = server_->bind_to_any_port("127.0.0.1");
    } else {
        port_ = server_->bind_to_port("127.0.0.1", port) ? port : -1;
    }
    if (port_ > 0) {
        thread_ = std::thread([this] { server_->listen_after_bind(); });
        // stop() only ends a server that already runs its accept loop.
        for (int i = 0; i < 5000 && !server_->is_running(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

FakeSearchEngine::~FakeSearchEngine() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    released_.notify_all();
    server_->stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

QString FakeSearchEngine::base() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_);
}

QString FakeSearchEngine::searchUrl(const QString& query, const QString& type) const {
    QString p = QString::fromLatin1(QUrl::toPercentEncoding(query));
    if (!type.isEmpty()) {
        p += QStringLiteral("+filetype%3A") + type;
    }
    return base() + QStringLiteral("/search?va_vt=any&fl=0&n=20&vm=p&ei=UTF-8&vst=0&p=") + p;
}

void FakeSearchEngine::setDefaultResultCount(int count) {
    std::lock_guard lock(mutex_);
    defaultCount_ = count;
}

void FakeSearchEngine::setResults(const QString& query, const QString& type,
                                  const QList<FakeResult>& results) {
    std::lock_guard lock(mutex_);
    results_.insert(query + u'\n' + type, results);
}

void FakeSearchEngine::setResultsPerPage(int count) {
    std::lock_guard lock(mutex_);
    perPage_ = std::max(1, count);
}

void FakeSearchEngine::setVerificationAfter(int requests) {
    std::lock_guard lock(mutex_);
    verificationAfter_ = requests;
}

void FakeSearchEngine::setSearchDelay(int ms) {
    std::lock_guard lock(mutex_);
    searchDelayMs_ = ms;
}

void FakeSearchEngine::setSearchNeverCompletes(bool never) {
    std::lock_guard lock(mutex_);
    searchNever_ = never;
}

void FakeSearchEngine::setLastPageShows100(bool shows100) {
    std::lock_guard lock(mutex_);
    shows100_ = shows100;
}

void FakeSearchEngine::setPagePadding(int bytes) {
    std::lock_guard lock(mutex_);
    padding_ = bytes;
}

void FakeSearchEngine::setCompression(bool on) {
    std::lock_guard lock(mutex_);
    compression_ = on;
}

void FakeSearchEngine::addPage(const QString& path, const QByteArray& body,
                               const QByteArray& contentType, int delayMs) {
    std::lock_guard lock(mutex_);
    pages_.insert(path, Extra{body, contentType, delayMs});
}

void FakeSearchEngine::releaseHeld() {
    {
        std::lock_guard lock(mutex_);
        ++heldGeneration_;
    }
    released_.notify_all();
}

int FakeSearchEngine::searchRequests() const {
    std::lock_guard lock(mutex_);
    return searchRequests_;
}

QStringList FakeSearchEngine::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool FakeSearchEngine::hold() {
    std::unique_lock lock(mutex_);
    const int generation = heldGeneration_;
    released_.wait_for(lock, std::chrono::seconds(kHoldSeconds),
                       [&] { return stopping_ || heldGeneration_ != generation; });
    return !stopping_;
}

void FakeSearchEngine::log(const httplib::Request& request) {
    QString line = fromStd(request.path);
    if (!request.params.empty()) {
        QStringList params;
        for (const auto& [key, value] : request.params) {
            params << fromStd(key) + u'=' + fromStd(value);
        }
        line += u'?' + params.join(u'&');
    }
    std::lock_guard lock(mutex_);
    requests_.append(line);
}

void FakeSearchEngine::route() {
    server_->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
        log(request);
        bool compression = false;
        {
            std::lock_guard lock(mutex_);
            compression = compression_;
        }
        if (!compression) {
            // The server object owns the request; it compresses whenever the client
            // offers an encoding, which costs the client far more than it saves here.
            const_cast<httplib::Request&>(request).headers.erase("Accept-Encoding");
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server_->Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(
            "<html><head><title>Search</title></head><body><form action=\"/search\">"
            "<input name=\"p\"><input type=\"submit\" value=\"Search\"></form></body></html>",
            "text/html; charset=utf-8");
    });
    server_->Get("/search", [this](const httplib::Request& request, httplib::Response& response) {
        search(request, response);
    });
    server_->Get(R"(/r/.*)", [](const httplib::Request& request, httplib::Response& response) {
        const QString path = fromStd(request.path);
        const qsizetype from = path.indexOf(QStringLiteral("/RU="));
        const qsizetype to = path.indexOf(QStringLiteral("/RK="));
        if (from < 0 || to < from) {
            response.status = 404;
            return;
        }
        const QByteArray target =
            QByteArray::fromPercentEncoding(path.mid(from + 4, to - from - 4).toUtf8());
        response.set_redirect(toStd(target));
    });
    server_->Get(R"(/files/trickle/.*)",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     trickle(request, response);
                 });
    server_->Get(R"(/files/.*)",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     document(request, response);
                 });
    server_->Get("/slow", [](const httplib::Request& request, httplib::Response& response) {
        const int ms = request.has_param("ms") ? std::stoi(request.get_param_value("ms")) : 1000;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::clamp(ms, 0, 60'000)));
        response.set_content(
            "<html><head><title>slow</title></head><body><p id=\"page\">slow</p>"
            "</body></html>",
            "text/html; charset=utf-8");
    });
    server_->Get("/never", [this](const httplib::Request&, httplib::Response& response) {
        hold();
        response.set_content("<html><body><p id=\"page\">late</p></body></html>",
                             "text/html; charset=utf-8");
    });
    server_->Get("/set-cookie", [](const httplib::Request& request, httplib::Response& response) {
        const std::string httpOnly = request.get_param_value("httponly");
        for (const auto& [name, value] : request.params) {
            if (name == "httponly") {
                continue;
            }
            std::string cookie = name + "=" + value + "; Path=/";
            if (name == httpOnly) {
                cookie += "; HttpOnly";
            }
            response.set_header("Set-Cookie", cookie);
        }
        response.set_content("<html><body><p id=\"page\">cookies set</p></body></html>",
                             "text/html; charset=utf-8");
    });
    const auto echo = [](const httplib::Request& request, httplib::Response& response) {
        QString query;
        QString form;
        for (const auto& [key, value] : request.params) {
            (request.method == "POST" &&
                     request.get_header_value("Content-Type").find("urlencoded") !=
                         std::string::npos
                 ? form
                 : query) += escaped(fromStd(key) + u'=' + fromStd(value)) + u';';
        }
        const QString html =
            QStringLiteral(
                "<html><head><title>echo</title></head><body><p id=\"method\">%1</p>"
                "<p id=\"query\">%2</p><p id=\"form\">%3</p><p id=\"cookies\">%4</p>"
                "<p id=\"referer\">%5</p></body></html>")
                .arg(fromStd(request.method), query, form,
                     escaped(fromStd(request.get_header_value("Cookie"))),
                     escaped(fromStd(request.get_header_value("Referer"))));
        response.set_content(toStd(html.toUtf8()), "text/html; charset=utf-8");
    };
    server_->Get("/echo", echo);
    server_->Post("/echo", echo);
    server_->Get(R"(.*)", [this](const httplib::Request& request, httplib::Response& response) {
        Extra page;
        {
            std::lock_guard lock(mutex_);
            const auto found = pages_.constFind(fromStd(request.path));
            if (found == pages_.constEnd()) {
                response.status = 404;
                response.set_content("<html><body>not found</body></html>", "text/html");
                return;
            }
            page = found.value();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(page.delayMs));
        response.set_content(toStd(page.body), page.contentType.constData());
    });
}

void FakeSearchEngine::search(const httplib::Request& request, httplib::Response& response) {
    QString query;
    QString type;
    splitQuery(fromStd(request.get_param_value("p")), query, type);
    const int first =
        std::max(1, request.has_param("b") ? atoi(request.get_param_value("b").c_str()) : 1);
    int delayMs = 0;
    bool never = false;
    bool verification = false;
    Page page;
    {
        std::lock_guard lock(mutex_);
        ++searchRequests_;
        verification = verificationAfter_ > 0 && searchRequests_ > verificationAfter_;
        delayMs = searchDelayMs_;
        never = searchNever_;
        const auto set = results_.constFind(query + u'\n' + type);
        const QList<FakeResult> all =
            set != results_.constEnd() ? set.value() : generatedResults(query, type, defaultCount_);
        page.results = all.mid(first - 1, perPage_);
        page.first = first;
        page.total = int(all.size());
        page.perPage = perPage_;
        page.padding = padding_;
        const bool last = first - 1 + perPage_ >= all.size();
        page.shows100 = last && shows100_;
        if (!last || page.shows100) {
            QUrl next(base() + fromStd(request.path));
            QStringList pairs;
            for (const auto& [key, value] : request.params) {
                if (key != "b" && key != "pz") {
                    pairs << fromStd(key) + u'=' +
                                 QString::fromLatin1(QUrl::toPercentEncoding(fromStd(value)));
                }
            }
            pairs << QStringLiteral("b=%1").arg(first + perPage_)
                  << QStringLiteral("pz=%1").arg(perPage_);
            page.nextUrl = next.toString() + u'?' + pairs.join(u'&');
        }
    }
    if (never && !hold()) {
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    const QByteArray html = verification ? verificationPageHtml() : resultPageHtml(base(), page);
    response.set_content(toStd(html), "text/html; charset=utf-8");
}

void FakeSearchEngine::document(const httplib::Request& request, httplib::Response& response) {
    const QString path = QUrl::fromPercentEncoding(QByteArray::fromStdString(request.path));
    if (path.startsWith(kPosingPath)) {
        response.set_content(toStd(kLoginPage), "application/pdf");
        return;
    }
    const QString type = path.section(u'.', -1).toLower();
    response.set_content(toStd(documentBytes(type)), contentTypeOf(type).constData());
}

void FakeSearchEngine::trickle(const httplib::Request& request, httplib::Response& response) {
    const QString path = QUrl::fromPercentEncoding(QByteArray::fromStdString(request.path));
    const QByteArray type = contentTypeOf(path.section(u'.', -1).toLower());
    response.set_content_provider(
        size_t(kTrickleLength), type.constData(),
        [this](size_t offset, size_t length, httplib::DataSink& sink) {
            for (int slept = 0; slept < kTrickleStepMs; slept += 10) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                std::lock_guard lock(mutex_);
                if (stopping_) {
                    return false;
                }
            }
            const std::string piece(std::min(length, size_t(kTrickleStep)), 'x');
            (void)offset;
            return sink.write(piece.data(), piece.size());
        });
}

QList<FakeResult> FakeSearchEngine::generatedResults(const QString& query, const QString& type,
                                                     int count) {
    // Ten kinds of result in turn: kept ones (the tenth pdf a web page posing as one),
    // titles that the rules clean, and results that the rules refuse (sharing sites,
    // unknown types, links without redirect).
    const QString q = escaped(query.isEmpty() ? QStringLiteral("文档") : query);
    const QString t = type.isEmpty() ? QStringLiteral("pdf") : type;
    QList<FakeResult> results;
    for (int i = 1; i <= count; ++i) {
        const QString file = QStringLiteral("/files/%1/%2-%3.%1")
                                 .arg(t)
                                 .arg(query.isEmpty() ? QStringLiteral("doc") : query)
                                 .arg(i);
        FakeResult result{QString(), file, true};
        switch (i % 10) {
            case 1:
                result.titleHtml = QStringLiteral("<b>%1</b> 研究报告 %2").arg(q).arg(i);
                break;
            case 2:
                result.titleHtml =
                    QStringLiteral("<b>%1</b> annual report %2 - example.com").arg(q).arg(i);
                break;
            case 3:
                result.titleHtml = QStringLiteral("<b>%1</b> 文档 ... 第%2部分").arg(q).arg(i);
                break;
            case 4:
                result.titleHtml = QStringLiteral("<b>%1</b> 资料 %2_百度文库").arg(q).arg(i);
                break;
            case 5:
                result.titleHtml = QStringLiteral("<b>%1</b> 论文 %2").arg(q).arg(i);
                result.target = QStringLiteral("/files/%1/论文-%2.%1").arg(t).arg(i);
                break;
            case 6:
                result.titleHtml =
                    QStringLiteral("<b>%1</b> 课件 %2 - docin.com豆丁网").arg(q).arg(i);
                break;
            case 7:
                result.titleHtml = QStringLiteral("<b>%1</b> 手册 %2").arg(q).arg(i);
                result.target = QStringLiteral("/files/%1/%2.docx").arg(t).arg(i);
                break;
            case 8:
                result.titleHtml = QStringLiteral("<b>%1</b> 指南 %2-道客巴巴").arg(q).arg(i);
                break;
            case 9:
                result.titleHtml = QStringLiteral("<b>%1</b> 汇编 %2").arg(q).arg(i);
                result.redirect = false;
                break;
            default:
                result.titleHtml = QStringLiteral("<b>%1</b> 规范 %2").arg(q).arg(i);
                if (t == u"pdf") {
                    result.target = kPosingPath + file.section(u'/', -1);
                }
                break;
        }
        results.append(result);
    }
    return results;
}

QByteArray FakeSearchEngine::resultPageHtml(const QString& base, const Page& page) {
    QString html = QStringLiteral(
        "<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>Search "
        "results</title></head><body><div id=\"doc\"><div id=\"results\"><div id=\"left\">"
        "<div id=\"web\"><ol class=\"reg searchCenterMiddle\">");
    for (int i = 0; i < page.results.size(); ++i) {
        const FakeResult& result = page.results.at(i);
        const int n = page.first + i;
        const QString target =
            result.target.startsWith(u'/') ? base + result.target : result.target;
        const QString href =
            result.redirect
                ? QStringLiteral(
                      "%1/r/_ylt=AwrE%2;_ylu=Y29sbwNncTE-/RV=2/RE=1700000000/RO=10/RU=%3/"
                      "RK=2/RS=x%2Yz-")
                      .arg(base)
                      .arg(n)
                      .arg(encodeTarget(target))
                : target;
        const QString position = i == 0                         ? QStringLiteral(" fst")
                                 : i + 1 == page.results.size() ? QStringLiteral(" lst")
                                                                : QString();
        html += QStringLiteral(
                    "<li><div class=\"dd algo algo-sr relsrch%1 Sr\" data-f99=\"r%2\"><div "
                    "class=\"compTitle options-toggle\"><h3 class=\"title ov-h\"><a "
                    "class=\" ac-algo fz-l ac-21th lh-24\" href=\"%3\" referrerpolicy=\"origin\" "
                    "target=\"_blank\">%4</a></h3><div><span class=\" fz-ms fw-m fc-12th wr-bw "
                    "lh-17\">%5</span></div></div><div class=\"compText aAbs\"><p class=\"fz-ms "
                    "lh-1_43x\">Result <b>%2</b> of the query, with a short extract of the "
                    "document's text.</p></div></div></li>")
                    .arg(position)
                    .arg(n)
                    .arg(escaped(href), result.titleHtml, escaped(target));
    }
    html += QStringLiteral("</ol></div></div>");
    const int current = page.shows100 ? 100 : (page.first - 1) / page.perPage + 1;
    html += QStringLiteral(
                "<div class=\"dd pagination fst lst Pgntn\"><div class=\"compPagination\">"
                "<div class=\"pages\"><strong>%1</strong>")
                .arg(current);
    const int pages = (page.total + page.perPage - 1) / page.perPage;
    for (int p = current + 1; p <= std::min(pages, current + 4); ++p) {
        html += QStringLiteral("<a href=\"#\" title=\"Results\">%1</a>").arg(p);
    }
    html += QStringLiteral("</div>");
    if (!page.nextUrl.isEmpty()) {
        html += QStringLiteral("<a class=\"next\" href=\"%1\">Next<ins></ins></a>")
                    .arg(escaped(page.nextUrl));
    }
    html += QStringLiteral("<span>%1 results</span></div></div></div>").arg(page.total);
    html += padding(page.padding);
    html += QStringLiteral("</div></body></html>");
    return html.toUtf8();
}

QByteArray FakeSearchEngine::verificationPageHtml() {
    return QStringLiteral(
               "<html><head><meta charset=\"utf-8\"><title>验证</title></head><body><div "
               "class=\"captcha\"><p>%1</p><form action=\"/verify\"><input name=\"code\">"
               "<input type=\"submit\" value=\"提交\"></form></div></body></html>")
        .arg(kVerificationText)
        .toUtf8();
}
