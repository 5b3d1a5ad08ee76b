#pragma once

#include <httplib.h>

#include <QString>
#include <atomic>
#include <string>
#include <thread>

// An HTTP server on 127.0.0.1 at a free port, answering on its own threads. Register
// the handlers on server() (or with the faults below) before start(); the destructor
// stops it.
class LocalHttpServer {
  public:
    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    httplib::Server& server() { return server_; }
    // Answers GET requests for `pattern` with one byte a second, for at most a minute.
    void trickle(const std::string& pattern, char byte);
    // Never answers GET requests for `pattern` (until stop()), counting them.
    void hang(const std::string& pattern);
    int hangingRequests() const { return hanging_; }
    // Sleeps up to `ms` in short slices (for handlers that take their time); false once
    // the server stops.
    bool pause(int ms) const;

    void start();
    // Ends the trickling and hanging answers too.
    void stop();
    int port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by `path`.
    QString url(const QString& path = {}) const;

  private:
    httplib::Server server_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> hanging_{0};
    int port_ = 0;
    std::thread thread_;
};
