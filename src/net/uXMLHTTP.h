#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkRequest>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <functional>

#include "platform/controls/Timer.h"

class QNetworkReply;
class RequestFactory;
class Runtime;

// An invisible component that makes one HTTP request at a time without blocking the
// window: the request runs in the background, a 10 ms poll timer watches it, and its
// end is reported through the events (success, optionally after the body was written
// to a file, or failure with the Chinese description of the status).
//
// Ready states: 0 nothing open, 1 opened, 2 headers received, 3 body arriving, 4 done.
// Every member swallows failures: methods do nothing further, accessors give 0 or
// empty values.
class uXMLHTTP final : public QObject {
  public:
    uXMLHTTP(QObject* owner, const QString& name, Runtime& runtime, RequestFactory& requests);
    ~uXMLHTTP() override;

    // Prepares a request; the method is sent upper-cased. `savePath`, when given, receives
    // the body of a 200 answer ("file:///x" names "/x"; "\" counts as "/").
    void Open_(const QString& method, const QString& address, const QString& savePath = {});
    void SetRequestHeader(const QString& name, const QString& value);
    void Send_(const QByteArray& body = {});
    // Ends the running request without any event.
    void Abort_();

    // False after every Open_, true once the request has reached its end.
    bool DownOK() const { return downOK_; }
    int ReadyState() const { return readyState_; }
    int Status() const { return status_; }
    QString StatusText() const { return statusText_; }
    QString GetResponseHeader(const QString& name) const;
    QString GetAllResponseHeaders() const;
    QByteArray ResponseBody() const { return body_; }
    // The body decoded by its byte-order mark, else by the charset of its Content-Type,
    // else as UTF-8.
    QString ResponseText() const;

    // The description of an HTTP status code; empty for codes without one.
    static QString StatusDescription(int code);

    // Raised once when the request ended with status 200 (after the body was saved).
    std::function<void()> OnDateArrived;
    // Raised at every poll tick, before the request's state is looked at.
    std::function<void()> OnReadyStateChange;
    // Raised once when the request ended otherwise: the description of the status,
    // empty for a network failure or a save file that could not be written.
    std::function<void(const QString&)> OnDateErr;

    Timer* tmrReader;

  private:
    void tmrReader_Timer();
    void readHead();
    void readBody();
    void finish();
    bool saveBody();

    RequestFactory& requests_;
    QNetworkRequest request_;
    QByteArray method_;
    QString savePath_;
    bool downOK_ = false;
    int readyState_ = 0;
    int status_ = 0;
    QString statusText_;
    QList<QPair<QByteArray, QByteArray>> headers_;
    QByteArray body_;
    QPointer<QNetworkReply> reply_;
};
