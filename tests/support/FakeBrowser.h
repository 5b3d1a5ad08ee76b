#pragma once

#include <QHash>
#include <QStringList>

#include "platform/browser/Browser.h"

class Runtime;

// A browser for window tests. "about:blank" completes at once; a page the test
// registered completes after its delay on the runtime; any other address loads
// for ever. Navigations are recorded.
class FakeBrowser final : public Browser {
    Q_OBJECT
  public:
    FakeBrowser(Runtime& runtime, QObject* owner, const QString& name);

    // Makes `url` load in `delayMs` milliseconds of runtime time.
    void addPage(const QString& url, int delayMs = 0);

    void navigate(const QString& url) override;
    void reload() override;
    bool back() override;
    bool forward() override;
    void setSilent(bool silent) override { silent_ = silent; }
    bool silent() const override { return silent_; }
    bool busy() const override { return busy_; }
    void click(const HtmlElement& element) override;
    void setInputValue(const HtmlElement& element, const QString& value) override;
    const HtmlDocument* document() const override { return nullptr; }
    QString locationUrl() const override { return location_; }

    const QStringList& navigations() const { return navigations_; }

  private:
    void load(const QString& url);

    Runtime& runtime_;
    QHash<QString, int> pages_;
    QStringList navigations_;
    QStringList history_;
    int historyIndex_ = -1;
    QString location_;
    bool silent_ = false;
    bool busy_ = false;
    int serial_ = 0;
};
