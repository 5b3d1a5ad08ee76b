#pragma once

#include <QHash>
#include <QStringList>

#include "platform/browser/Browser.h"

class Runtime;

// A browser for window tests. "about:blank" completes at once; a page the test
// registered completes after its delay on the runtime; any other address loads
// for ever. A page registered with its HTML offers the parsed document; a click on a
// link of it loads the link's target the same way (so a "next" link leads to the next
// scripted page). Navigations and clicked links are recorded.
class FakeBrowser final : public Browser {
    Q_OBJECT
  public:
    FakeBrowser(Runtime& runtime, QObject* owner, const QString& name);

    // Makes `url` load in `delayMs` milliseconds of runtime time.
    void addPage(const QString& url, int delayMs = 0);
    // The same, with the page's markup, which the document then offers.
    void addPage(const QString& url, const QString& html, int delayMs = 0);

    void navigate(const QString& url) override;
    void reload() override;
    bool back() override;
    bool forward() override;
    void setSilent(bool silent) override { silent_ = silent; }
    bool silent() const override { return silent_; }
    bool busy() const override { return busy_; }
    void click(const HtmlElement& element) override;
    void setInputValue(const HtmlElement& element, const QString& value) override;
    std::shared_ptr<const HtmlDocument> document() const override { return document_; }
    QString locationUrl() const override { return location_; }

    const QStringList& navigations() const { return navigations_; }
    // Every element clicked, as "tag#id" or "tag[name]", in order.
    const QStringList& clickedElements() const { return clickedElements_; }
    // Targets of the links clicked, in order.
    const QStringList& clickedLinks() const { return clickedLinks_; }

  private:
    void load(const QString& url);
    void enterHistory(const QString& url);

    Runtime& runtime_;
    QHash<QString, int> pages_;
    QHash<QString, QString> html_;
    std::shared_ptr<HtmlDocument> document_;
    QStringList navigations_;
    QStringList clickedLinks_;
    QStringList clickedElements_;
    QStringList history_;
    int historyIndex_ = -1;
    QString location_;
    bool silent_ = false;
    bool busy_ = false;
    int serial_ = 0;
};
