#pragma once

#include <QWebEnginePage>
#include <functional>

// The desktop browser's page: silent mode swallows the page's dialog boxes and console
// noise, and the browser decides which top-level navigations may start.
class WebEnginePage final : public QWebEnginePage {
    Q_OBJECT
  public:
    using QWebEnginePage::QWebEnginePage;

    void setSilent(bool silent);
    bool silent() const { return silent_; }
    // Asked for every navigation of the top-level frame; false refuses it.
    std::function<bool(const QUrl&)> onTopLevelNavigation;

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl& origin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& value,
                          QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;

  private:
    bool silent_ = false;
};
