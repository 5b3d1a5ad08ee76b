#include "support/LocalHttpServer.h"

#include <chrono>

LocalHttpServer::LocalHttpServer() {
    // Without it every keep-alive request waits for a delayed ACK.
    server_.set_tcp_nodelay(true);
    // A connection the client keeps open must not hold up stop() for long.
    server_.set_keep_alive_timeout(1);
}

LocalHttpServer::~LocalHttpServer() {
    stop();
}

bool LocalHttpServer::pause(int ms) const {
    for (int slept = 0; slept < ms && !stopping_; slept += 10) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return !stopping_;
}

void LocalHttpServer::trickle(const std::string& pattern, char byte) {
    server_.Get(pattern, [this, byte](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider(
            "application/octet-stream", [this, byte](size_t offset, httplib::DataSink& sink) {
                return sink.write(&byte, 1) && pause(1000) && offset < 60;
            });
    });
}

void LocalHttpServer::hang(const std::string& pattern) {
    server_.Get(pattern, [this](const httplib::Request&, httplib::Response& res) {
        ++hanging_;
        pause(60'000);
        res.status = 504;
    });
}

void LocalHttpServer::start() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() ends only a server that runs: wait until it does.
    for (int i = 0; i < 5000 && !server_.is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void LocalHttpServer::stop() {
    stopping_ = true;
    if (thread_.joinable()) {
        server_.stop();
        thread_.join();
    }
}

QString LocalHttpServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_) + path;
}
