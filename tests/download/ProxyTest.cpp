// Download method 1 through a real proxy on 127.0.0.1: http requests pass it as GET
// lines, https ones as a CONNECT to the origin, whose certificate a test authority signs;
// a proxy that refuses fails the entry.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSslCertificate>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <thread>

#include "DownloadTestSupport.h"
#include "app/HeadlessSession.h"
#include "download/DownloadList.h"
#include "download/fFileDownload.h"
#include "net/RequestFactory.h"
#include "support/LocalHttpServer.h"

namespace {

const std::string kDocument = "%PDF-1.4\nthrough the proxy\n%%EOF\n";

int freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// tinyproxy with a configuration of its own, logging every request it passes.
class Proxy {
  public:
    Proxy() : port_(freePort()) {
        const QString config = dir_.filePath(QStringLiteral("tinyproxy.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) {
            return;
        }
        QTextStream(&file) << "Port " << port_ << "\nListen 127.0.0.1\nTimeout 30\n"
                           << "LogFile \"" << log() << "\"\nLogLevel Info\nMaxClients 10\n"
                           << "Allow 127.0.0.1\n";
        file.close();
        // tinyproxy drops to another user when started as root: it must reach its files.
        QFile::setPermissions(dir_.path(), QFileDevice::Permissions(0x7777));
        process_.start(QStringLiteral("tinyproxy"),
                       {QStringLiteral("-d"), QStringLiteral("-c"), config});
        for (int i = 0; i < 200 && !listening(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
    }
    ~Proxy() {
        process_.kill();
        process_.waitForFinished();
    }
    int port() const { return port_; }
    bool listening() const {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(port_));
        return socket.waitForConnected(100);
    }
    QString log() const { return dir_.filePath(QStringLiteral("tinyproxy.log")); }

  private:
    QTemporaryDir dir_;
    int port_;
    QProcess process_;
};

class ThroughAProxy : public ::testing::Test {
  protected:
    ThroughAProxy() {
        http.server().Get("/doc.pdf", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(kDocument, "application/pdf");
        });
        http.start();
        tls.Get("/doc.pdf", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(kDocument, "application/pdf");
        });
        tlsPort = tls.bind_to_any_port("127.0.0.1");
        tlsThread = std::thread([this] { tls.listen_after_bind(); });
        session.requests().trustAuthorities(
            QSslCertificate::fromPath(QStringLiteral(ORVELLIN_TLS_DIR "/test-ca.crt")));
        window = session.loadWindow<fFileDownload>();
        Config& config = session.config();
        config.downloadMethod = 1;
        config.proxyEnabled = 1;
        config.proxyHost = QStringLiteral("127.0.0.1");
    }
    ~ThroughAProxy() override {
        tls.stop();
        tlsThread.join();
    }

    // Runs the list off, bounded.
    void run() {
        window->Command4->click();
        const double start = session.runtime().now();
        while (!检测是否下载列表完毕(*window->ListView3) && session.runtime().now() - start < 60) {
            session.runtime().waitStep();
        }
    }
    DownloadEntry entry(int position) {
        return DownloadEntry(*window->ListView3, window->ListView3->at(position));
    }
    QString folder() const { return temp.path() + QStringLiteral("/files/"); }

    LocalHttpServer http;
    httplib::SSLServer tls{ORVELLIN_TLS_DIR "/test-server.crt",
                           ORVELLIN_TLS_DIR "/test-server.key"};
    int tlsPort = 0;
    std::thread tlsThread;
    QTemporaryDir temp;
    QString messages;
    QTextStream messageStream{&messages};
    HeadlessSession session{QString(), messageStream};
    fFileDownload* window = nullptr;
};

TEST_F(ThroughAProxy, HttpAndHttpsRequestsPassTheProxyAndARefusingProxyFailsTheEntry) {
    if (QStandardPaths::findExecutable(QStringLiteral("tinyproxy")).isEmpty()) {
        GTEST_SKIP() << "tinyproxy is not installed (scripts/packages.txt lists it)";
    }
    Proxy proxy;
    ASSERT_TRUE(proxy.listening());
    session.config().proxyPort = QString::number(proxy.port());
    const QString httpsAddress = QStringLiteral("https://127.0.0.1:%1/doc.pdf").arg(tlsPort);
    AddEntry(*window->ListView3, http.url("/doc.pdf"), "http", "pdf", folder(), {});
    AddEntry(*window->ListView3, httpsAddress, "https", "pdf", folder(), {});
    run();
    for (int position = 1; position <= 2; ++position) {
        EXPECT_EQ(entry(position).state(), EntryState::Done) << position;
        EXPECT_EQ(ReadFile(EntryFilePath(entry(position))), QByteArray::fromStdString(kDocument));
    }
    const QString log = QString::fromUtf8(ReadFile(proxy.log()));
    EXPECT_TRUE(log.contains(QStringLiteral("GET ") + http.url("/doc.pdf"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("CONNECT 127.0.0.1:%1").arg(tlsPort)))
        << log.toStdString();

    // The same proxy port with nothing listening.
    session.config().proxyPort = QString::number(freePort());
    AddEntry(*window->ListView3, http.url("/doc.pdf") + "?again", "again", "pdf", folder(), {});
    run();
    EXPECT_EQ(entry(3).state(), EntryState::Failed);
}

}  // namespace
