#include "support/FakeBrowser.h"

#include "platform/browser/HtmlDocument.h"
#include "platform/runtime/Runtime.h"

FakeBrowser::FakeBrowser(Runtime& runtime, QObject* owner, const QString& name)
    : Browser(owner), runtime_(runtime) {
    setObjectName(name);
}

void FakeBrowser::addPage(const QString& url, int delayMs) {
    pages_.insert(url, delayMs);
}

void FakeBrowser::addPage(const QString& url, const QString& html, int delayMs) {
    pages_.insert(url, delayMs);
    html_.insert(url, html);
}

void FakeBrowser::navigate(const QString& url) {
    Q_EMIT beforeNavigate(url);
    navigations_.append(url);
    enterHistory(url);
    load(url);
}

void FakeBrowser::enterHistory(const QString& url) {
    history_ = history_.mid(0, historyIndex_ + 1);
    history_.append(url);
    historyIndex_ = int(history_.size()) - 1;
}

void FakeBrowser::load(const QString& url) {
    const int serial = ++serial_;
    busy_ = true;
    const bool blank = url == QStringLiteral("about:blank");
    if (!blank && !pages_.contains(url)) {
        return;  // never completes
    }
    runtime_.callAfter(blank ? 0 : pages_.value(url), [this, serial, url, blank] {
        if (serial != serial_) {
            return;  // a later navigation replaced this one
        }
        busy_ = false;
        location_ = url;
        if (blank) {
            document_ = HtmlDocument::blank();
        } else if (html_.contains(url)) {
            document_ = HtmlDocument::parse(html_.value(url).toUtf8(), url);
        } else {
            document_ = nullptr;
        }
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

void FakeBrowser::click(const HtmlElement& element) {
    if (!document_ || element.document() != document_.get()) {
        return;
    }
    const QString tag = element.tagName().toLower();
    clickedElements_.append(element.id().isEmpty() ? tag + u'[' + element.name() + u']'
                                                   : tag + u'#' + element.id());
    const QString target = element.closest(u"a").href();
    if (target.isEmpty()) {
        return;
    }
    clickedLinks_.append(target);
    Q_EMIT beforeNavigate(target);
    enterHistory(target);
    load(target);
}

void FakeBrowser::setInputValue(const HtmlElement& element, const QString& value) {
    if (document_) {
        document_->setValue(element, value);
    }
}
