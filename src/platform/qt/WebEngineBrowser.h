#pragma once

#include <QPointer>
#include <QUrl>
#include <QWebEngineView>

#include "platform/browser/Browser.h"
#include "platform/qt/WebEnginePage.h"

class QWebEngineLoadingInfo;
class QWebEngineProfile;
class QWidget;
class Runtime;

// The desktop's embedded browser: a QWebEngineView behind the browser contract.
//
// The logic reads a snapshot: after each completed top-level load one script
// serialises the live DOM, numbering every element (the script keeps them in an array
// of its own world), and the shared document model parses that text; document
// complete is raised only once the snapshot exists. Clicks and value changes address
// the live element by its number, never by position (a live page and the parser
// disagree on <noscript>, and scripts change the tree).
//
// navigate(), click() and setInputValue() make busy true before they return. It stays
// true until the resulting page's snapshot exists, or the load failed, or no load
// started within a second (after the click's script reported back). Only the load of
// the latest command counts; a page that navigates by itself starts a load of its own.
class WebEngineBrowser final : public Browser {
    Q_OBJECT
  public:
    WebEngineBrowser(Runtime& runtime, QWebEngineProfile& profile, QObject* owner,
                     const QString& name);
    ~WebEngineBrowser() override;

    void navigate(const QString& url) override;
    void reload() override;
    bool back() override;
    bool forward() override;
    void setSilent(bool silent) override;
    bool silent() const override;
    bool busy() const override { return busy_; }
    void click(const HtmlElement& element) override;
    void setInputValue(const HtmlElement& element, const QString& value) override;
    std::shared_ptr<const HtmlDocument> document() const override { return document_; }
    QString locationUrl() const override { return location_; }

    // The view, until the form that shows it (or the browser) goes.
    QWebEngineView* view() const { return view_; }
    // Puts the view into the form's placeholder widget, filling it.
    void embedInto(QWidget* placeholder);
    // Lets go of the view and its page before their profile goes.
    void releaseView();

  private:
    enum class Phase { Idle, AwaitingStart, Started, Snapshotting };
    static constexpr int kNoLoadMs = 1000;

    void begin();
    void armNoLoadTimer();
    void loadingChanged(const QWebEngineLoadingInfo& info);
    void snapshotTaken(quint64 serial, const QVariant& markup);
    void finish(std::shared_ptr<HtmlDocument> document, const QString& url);
    void showBlank();
    bool acceptTopLevel(const QUrl& url);
    // Runs `script` on the element's live counterpart; false when it has none.
    bool runOnElement(const HtmlElement& element, const QString& script);

    Runtime& runtime_;
    QPointer<QWebEngineView> view_;
    QPointer<WebEnginePage> page_;
    std::shared_ptr<HtmlDocument> document_;
    QString location_;
    Phase phase_ = Phase::Idle;
    quint64 serial_ = 0;
    bool busy_ = false;
};
