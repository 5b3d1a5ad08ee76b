#include "platform/qt/WebEnginePage.h"

#include <QWebEngineSettings>

void WebEnginePage::setSilent(bool silent) {
    silent_ = silent;
    settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, !silent);
}

bool WebEnginePage::acceptNavigationRequest(const QUrl& url, NavigationType type,
                                            bool isMainFrame) {
    if (isMainFrame && onTopLevelNavigation && !onTopLevelNavigation(url)) {
        return false;
    }
    if (!isMainFrame && url.scheme() == u"file") {
        return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

void WebEnginePage::javaScriptAlert(const QUrl& origin, const QString& message) {
    if (!silent_) {
        QWebEnginePage::javaScriptAlert(origin, message);
    }
}

bool WebEnginePage::javaScriptConfirm(const QUrl& origin, const QString& message) {
    return silent_ ? false : QWebEnginePage::javaScriptConfirm(origin, message);
}

bool WebEnginePage::javaScriptPrompt(const QUrl& origin, const QString& message,
                                     const QString& value, QString* result) {
    return silent_ ? false : QWebEnginePage::javaScriptPrompt(origin, message, value, result);
}

void WebEnginePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                             const QString& message, int line,
                                             const QString& source) {
    if (!silent_) {
        QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
    }
}
