#include "net/uXMLHTTP.h"

#include <QNetworkReply>
#include <QStringDecoder>
#include <array>

#include "net/RequestFactory.h"
#include "platform/text/Gbk.h"
#include "sys/FileSystem.h"

namespace {

constexpr int kPollMs = 10;

struct StatusEntry {
    int code;
    const char16_t* text;
};

// The descriptions shown for HTTP status codes, exactly as the program has always
// worded them.
constexpr std::array<StatusEntry, 41> kStatusTexts{{
    {100, u"客户必须继续发出请求"},
    {101, u"客户要求服务器根据请求转换HTTP协议版本"},
    {200, u"交易成功"},
    {201, u"提示知道新文件的URL"},
    {202, u"接受和处理?但处理未完成"},
    {203, u"返回信息不确定或不完整"},
    {204, u"请求收到，但返回信息为空"},
    {205, u"服务器完成了请求，用户代理必须复位当前已经浏览过的文件"},
    {206, u"服务器已经完成了部分用户的GET请求"},
    {300, u"请求的资源可在多处得到"},
    {301, u"删除请求数据"},
    {302, u"在其他地址发现了请求数据"},
    {303, u"建议客户访问其他URL或访问方式"},
    {304, u"客户端已经执行了GET，但文件未变化"},
    {305, u"请求的资源必须从服务器指定的地址得到"},
    {306, u"前一版本HTTP中使用的代码，现行版本中不再使用"},
    {307, u"申明请求的资源临时性删除"},
    {400, u"错误请求，如语法错误"},
    {401, u"请求授权失败"},
    {402, u"保留有效ChargeTo头响应"},
    {403, u"请求不允许"},
    {404, u"没有发现文件?查询或URl"},
    {405, u"用户在Request -Line字段定义的方法不允许"},
    {406, u"根据用户发送的Accept拖，请求资源不可访问"},
    {407, u"类似401，用户必须首先在代理服务器上得到授权"},
    {408, u"客户端没有在用户指定的饿时间内完成请求"},
    {409, u"对当前资源状态，请求不能完成"},
    {410, u"服务器上不再有此资源且无进一步的参考地址"},
    {411, u"服务器拒绝用户定义的Content -Length属性请求"},
    {412, u"一个或多个请求头字段在当前请求中错误"},
    {413, u"请求的资源大于服务器允许的大小"},
    {414, u"请求的资源URL长于服务器允许的长度"},
    {415, u"请求资源不支持请求项目格式"},
    {416,
     u"请求中包含Range请求头字段，在当前请求资源范围内没有range指示值，请求也不包含If-"
     u"Range请求头字段"},
    {417,
     u"服务器不满足请求Expect头字段指定的期望值，如果是代理服务器，可能是下一级服务器不能"
     u"满足请求"},
    {500, u"服务器产生内部错误"},
    {501, u"服务器不支持请求的函数"},
    {502, u"服务器暂时不可用，有时是为了防止发生系统过载"},
    {503, u"服务器过载或暂停维修"},
    {504, u"关口过载，服务器使用另一个关口或服务来响应用户，等待时间设定值较长"},
    {505, u"服务器不支持或拒绝支请求头中指定的HTTP版本"},
}};

// Errors of the connection itself (refused, reset, time-out, TLS, proxy, a reply that
// is no HTTP): the request has no trustworthy status, even when headers had arrived.
bool isTransportFailure(QNetworkReply::NetworkError error) {
    return (error > QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied) ||
           error == QNetworkReply::ProtocolUnknownError || error == QNetworkReply::ProtocolFailure;
}

QByteArray charsetOf(const QByteArray& contentType) {
    for (const QByteArray& part : contentType.split(';')) {
        const QByteArray item = part.trimmed();
        if (item.toLower().startsWith("charset=")) {
            QByteArray name = item.mid(8).trimmed();
            if (name.size() >= 2 && (name.startsWith('"') || name.startsWith('\''))) {
                name = name.mid(1, name.size() - 2);
            }
            return name.toLower();
        }
    }
    return {};
}

QByteArray withoutLineBreaks(QByteArray text) {
    text.replace('\r', QByteArray()).replace('\n', QByteArray());
    return text;
}

}  // namespace

uXMLHTTP::uXMLHTTP(QObject* owner, const QString& name, Runtime& runtime, RequestFactory& requests)
    : QObject(owner),
      tmrReader(new Timer(this, QStringLiteral("tmrReader"), runtime, kPollMs)),
      requests_(requests) {
    setObjectName(name);
    tmrReader->onTick = [this] { tmrReader_Timer(); };
}

uXMLHTTP::~uXMLHTTP() {
    RequestFactory::abandon(reply_, this);
}

QString uXMLHTTP::StatusDescription(int code) {
    for (const StatusEntry& entry : kStatusTexts) {
        if (entry.code == code) {
            return QString::fromUtf16(entry.text);
        }
    }
    return {};
}

void uXMLHTTP::Open_(const QString& method, const QString& address, const QString& savePath) {
    downOK_ = false;
    tmrReader->stop();
    RequestFactory::abandon(reply_, this);
    method_ = method.toUpper().toUtf8();
    request_ = RequestFactory::request(QUrl(address.trimmed()));
    savePath_ = savePath;
    readyState_ = 1;
    status_ = 0;
    statusText_.clear();
    headers_.clear();
    body_.clear();
}

void uXMLHTTP::SetRequestHeader(const QString& name, const QString& value) {
    if (readyState_ != 1 || reply_) {
        return;
    }
    // A line break would start a header of the caller's making.
    const QByteArray key = withoutLineBreaks(name.trimmed().toUtf8());
    if (!key.isEmpty()) {
        request_.setRawHeader(key, withoutLineBreaks(value.toUtf8()));
    }
}

void uXMLHTTP::Send_(const QByteArray& body) {
    if (readyState_ != 1 || reply_) {
        return;
    }
    reply_ = requests_.send(request_, method_, body);
    if (reply_) {
        connect(reply_, &QNetworkReply::metaDataChanged, this, &uXMLHTTP::readHead);
        connect(reply_, &QNetworkReply::readyRead, this, &uXMLHTTP::readBody);
        connect(reply_, &QNetworkReply::finished, this, &uXMLHTTP::finish);
    } else {
        // Only web addresses are fetched (no local files): anything else fails at once.
        readyState_ = 4;
    }
    tmrReader->start();
}

void uXMLHTTP::Abort_() {
    tmrReader->stop();
    RequestFactory::abandon(reply_, this);
    readyState_ = 0;
    status_ = 0;
    statusText_.clear();
    headers_.clear();
    body_.clear();
}

QString uXMLHTTP::GetResponseHeader(const QString& name) const {
    const QByteArray wanted = name.trimmed().toUtf8().toLower();
    for (const auto& [key, value] : headers_) {
        if (key.toLower() == wanted) {
            return QString::fromUtf8(value);
        }
    }
    return {};
}

QString uXMLHTTP::GetAllResponseHeaders() const {
    QString all;
    for (const auto& [key, value] : headers_) {
        all += QString::fromUtf8(key) + QStringLiteral(": ") + QString::fromUtf8(value) +
               QStringLiteral("\r\n");
    }
    return all;
}

QString uXMLHTTP::ResponseText() const {
    if (const auto bom = QStringConverter::encodingForData(body_)) {
        return QStringDecoder(*bom).decode(body_);
    }
    const QByteArray charset =
        charsetOf(GetResponseHeader(QStringLiteral("Content-Type")).toUtf8());
    if (charset == "gbk" || charset == "gb2312" || charset == "gb18030" || charset == "cp936") {
        return Gbk::decode(body_);
    }
    if (!charset.isEmpty()) {
        if (const auto named = QStringConverter::encodingForName(charset.constData())) {
            return QStringDecoder(*named).decode(body_);
        }
    }
    return QString::fromUtf8(body_);
}

void uXMLHTTP::readHead() {
    if (!reply_) {
        return;
    }
    readyState_ = std::max(readyState_, 2);
    status_ = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    statusText_ = QString::fromUtf8(
        reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray());
    headers_ = reply_->rawHeaderPairs();
}

void uXMLHTTP::readBody() {
    if (!reply_) {
        return;
    }
    body_ += reply_->readAll();
    readyState_ = std::max(readyState_, 3);
}

void uXMLHTTP::finish() {
    if (!reply_) {
        return;
    }
    readHead();
    readBody();
    if (isTransportFailure(reply_->error())) {
        status_ = 0;
        statusText_.clear();
    }
    readyState_ = 4;
    RequestFactory::abandon(reply_, this);
}

void uXMLHTTP::tmrReader_Timer() {
    if (OnReadyStateChange) {
        OnReadyStateChange();
    }
    if (readyState_ != 4) {
        return;
    }
    tmrReader->stop();
    downOK_ = true;
    if (status_ != 200) {
        if (OnDateErr) {
            OnDateErr(StatusDescription(status_));
        }
    } else if (!saveBody()) {
        if (OnDateErr) {
            OnDateErr(QString());
        }
    } else if (OnDateArrived) {
        OnDateArrived();
    }
}

bool uXMLHTTP::saveBody() {
    const QString path = LocalFilePath(savePath_);
    if (path.isEmpty() || body_.isEmpty()) {
        return true;
    }
    return ReplaceFile(path, body_);
}
