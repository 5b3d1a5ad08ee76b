#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QUrl;

class HtmlDocument;
class HtmlElement;

// The embedded web browser as the windows see it. Commands return at once; loading
// goes on in the background and ends with documentComplete. The document is a parsed
// snapshot of the page shown, read synchronously.
class Browser : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    ~Browser() override;

    virtual void navigate(const QString& url) = 0;
    virtual void reload() = 0;
    // Move in the history; false (the contract's error) when there is no page to go to.
    virtual bool back() = 0;
    virtual bool forward() = 0;
    // Silent: script errors and the page's own dialog boxes are not shown.
    virtual void setSilent(bool silent) = 0;
    virtual bool silent() const = 0;
    // True from navigate() or a click that loads a page until that page's document is
    // complete (or the load failed). A command that may load a page makes it true
    // before it returns.
    virtual bool busy() const = 0;
    // Acts as a user's click on an element of the current document, including the
    // navigation it triggers. Elements of an earlier document are ignored.
    virtual void click(const HtmlElement& element) = 0;
    // Sets an input element's value on the page and in the current document.
    virtual void setInputValue(const HtmlElement& element, const QString& value) = 0;
    // The document of the page shown; null when no HTML page is loaded. Holding it
    // keeps it alive after the browser has moved on.
    virtual std::shared_ptr<const HtmlDocument> document() const = 0;
    virtual QString locationUrl() const = 0;

    // Whether a browser may load an address at all: http, https and "about:blank".
    static bool isLoadable(const QUrl& url);

  Q_SIGNALS:
    // A document finished loading; `topLevel` tells the browser's own document from a
    // frame's. A load that failed completes too, without a document.
    void documentComplete(bool topLevel, const QString& url);
    void beforeNavigate(const QString& url);
    void statusTextChange(const QString& text);
    void titleChange(const QString& title);
    // A page asks for a new window; a handler that sets `*handled` keeps it in this browser.
    void newWindow(const QString& url, bool* handled);
    // A page's script asks to close the window; a handler sets `*cancel` to refuse.
    void windowClosing(bool* cancel);
    void quitRequested(bool* cancel);
};
