#include "support/FakeBrowser.h"

#include "platform/runtime/Runtime.h"

FakeBrowser::FakeBrowser(Runtime& runtime, QObject* owner, const QString& name)
    : Browser(owner), runtime_(runtime) {
    setObjectName(name);
}

void FakeBrowser::addPage(const QString& url, int delayMs) {
    pages_.insert(url, delayMs);
}

void FakeBrowser::navigate(const QString& url) {
    Q_EMIT beforeNavigate(url);
    navigations_.append(url);
    history_ = history_.mid(0, historyIndex_ + 1);
    history_.append(url);
    historyIndex_ = int(history_.size()) - 1;
    load(url);
}

void FakeBrowser::load(const QString& url) {
    const int serial = ++serial_;
    busy_ = true;
    const bool blank = url == QStringLiteral("about:blank");
    if (!blank && !pages_.contains(url)) {
        return;  // never completes
    }
    runtime_.callAfter(blank ? 0 : pages_.value(url), [this, serial, url] {
        if (serial != serial_) {
            return;  // a later navigation replaced this one
        }
        busy_ = false;
        location_ = url;
        Q_EMIT documentComplete(true, url);
    });
}

void FakeBrowser::reload() {
    if (historyIndex_ >= 0) {
        load(history_.at(historyIndex_));
    }
}

bool FakeBrowser::back() {
    if (historyIndex_ <= 0) {
        return false;
    }
    load(history_.at(--historyIndex_));
    return true;
}

bool FakeBrowser::forward() {
    if (historyIndex_ + 1 >= history_.size()) {
        return false;
    }
    load(history_.at(++historyIndex_));
    return true;
}

void FakeBrowser::click(const HtmlElement&) {}

void FakeBrowser::setInputValue(const HtmlElement&, const QString&) {}
