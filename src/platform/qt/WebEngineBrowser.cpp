#include "platform/qt/WebEngineBrowser.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "platform/browser/HtmlDocument.h"
#include "platform/qt/WebEnginePage.h"
#include "platform/runtime/Runtime.h"

namespace {

const QString kBlank = QStringLiteral("about:blank");
constexpr quint32 kWorld = QWebEngineScript::ApplicationWorld;

// Serialises the live DOM as HTML, numbering every element in the attribute that the
// document model reads, and keeps the elements by number in this script world. The
// content of <noscript> is text on a page that runs scripts, and is written escaped so
// that the parser sees text too. Iterative: scripts can nest elements deeply.
const QString kSnapshotScript = QStringLiteral(R"JS(
(function () {
  var type = document.contentType || '';
  var root = document.documentElement;
  if ((type !== 'text/html' && type !== 'application/xhtml+xml') || !root) return null;
  var elements = [];
  window.__orvellinElements = elements;
  var voids = {AREA:1, BASE:1, BASEFONT:1, BGSOUND:1, BR:1, COL:1, EMBED:1, FRAME:1, HR:1,
               IMG:1, INPUT:1, KEYGEN:1, LINK:1, META:1, PARAM:1, SOURCE:1, TRACK:1, WBR:1};
  var raw = {SCRIPT:1, STYLE:1, XMP:1, IFRAME:1, NOEMBED:1, NOFRAMES:1, PLAINTEXT:1};
  function text(s) {
    return s.replace(/&/g, '&amp;').replace(/\u00a0/g, '&nbsp;').replace(/</g, '&lt;')
            .replace(/>/g, '&gt;');
  }
  function attr(s) {
    return s.replace(/&/g, '&amp;').replace(/\u00a0/g, '&nbsp;').replace(/"/g, '&quot;');
  }
  var out = [];
  var stack = [[root, false]];
  while (stack.length) {
    var top = stack.pop(), node = top[0];
    if (top[1]) { out.push('</' + node.localName + '>'); continue; }
    if (node.nodeType === 1) {
      var tag = '<' + node.localName;
      for (var i = 0; i < node.attributes.length; i++) {
        var a = node.attributes[i];
        if (a.name !== 'data-orvellin-n') tag += ' ' + a.name + '="' + attr(a.value) + '"';
      }
      out.push(tag + ' data-orvellin-n="' + elements.length + '">');
      elements.push(node);
      if (voids[node.tagName]) continue;
      stack.push([node, true]);
      var children = node.tagName === 'TEMPLATE' ? [] : node.childNodes;
      for (var k = children.length - 1; k >= 0; k--) stack.push([children[k], false]);
    } else if (node.nodeType === 3) {
      var parent = node.parentNode;
      out.push(parent && raw[parent.tagName] ? node.data : text(node.data));
    } else if (node.nodeType === 8) {
      out.push('<!--' + node.data + '-->');
    }
  }
  return out.join('');
})()
)JS");

QString elementScript(int number, const QString& body) {
    return QStringLiteral(
               "(function (e) { if (!e || !e.isConnected) return false; %1; return true; })"
               "(window.__orvellinElements && window.__orvellinElements[%2])")
        .arg(body)
        .arg(number);
}

}  // namespace

WebEngineBrowser::WebEngineBrowser(Runtime& runtime, QWebEngineProfile& profile, QObject* owner,
                                   const QString& name)
    : Browser(owner), runtime_(runtime), view_(new QWebEngineView()) {
    setObjectName(name);
    view_->setObjectName(name);
    page_ = new WebEnginePage(&profile, view_);
    view_->setPage(page_);
    QWebEngineSettings* settings = page_->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    page_->onTopLevelNavigation = [this](const QUrl& url) { return acceptTopLevel(url); };
    connect(page_, &QWebEnginePage::loadingChanged, this, &WebEngineBrowser::loadingChanged);
    connect(page_, &QWebEnginePage::titleChanged, this, &Browser::titleChange);
    connect(page_, &QWebEnginePage::linkHovered, this, &Browser::statusTextChange);
    connect(page_, &QWebEnginePage::windowCloseRequested, this, [this] {
        bool cancel = false;
        Q_EMIT windowClosing(&cancel);  // there is no window of the page's own to close
    });
    connect(page_, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) {
                // No second window: the page comes into this browser, unless the handler
                // already navigated it.
                const QString url = request.requestedUrl().toString();
                bool handled = false;
                const quint64 serial = serial_;
                Q_EMIT newWindow(url, &handled);
                if (serial == serial_) {
                    navigate(url);
                }
            });
}

WebEngineBrowser::~WebEngineBrowser() {
    releaseView();
}

void WebEngineBrowser::releaseView() {
    delete view_;
}

void WebEngineBrowser::embedInto(QWidget* placeholder) {
    if (!view_ || !placeholder) {
        return;
    }
    auto* layout = placeholder->layout();
    if (!layout) {
        layout = new QVBoxLayout(placeholder);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(view_);
    view_->show();
}

void WebEngineBrowser::setSilent(bool silent) {
    if (page_) {
        page_->setSilent(silent);
    }
}

bool WebEngineBrowser::silent() const {
    return page_ && page_->silent();
}

bool WebEngineBrowser::acceptTopLevel(const QUrl& url) {
    if (url.toString() == kBlank) {
        return true;  // the built-in page, announced by navigate()
    }
    if (!isLoadable(url)) {
        return false;
    }
    Q_EMIT beforeNavigate(url.toString());
    return true;
}

void WebEngineBrowser::begin() {
    ++serial_;
    phase_ = Phase::AwaitingStart;
    busy_ = true;
}

void WebEngineBrowser::armNoLoadTimer() {
    const quint64 serial = serial_;
    runtime_.callAfter(kNoLoadMs, [this, serial, guard = QPointer<WebEngineBrowser>(this)] {
        if (guard && serial == serial_ && phase_ == Phase::AwaitingStart) {
            phase_ = Phase::Idle;
            busy_ = false;
        }
    });
}

void WebEngineBrowser::showBlank() {
    // Completes at once, from the event loop; the view's own load of it is ignored.
    ++serial_;
    phase_ = Phase::Idle;
    busy_ = true;
    const quint64 serial = serial_;
    runtime_.post([this, serial, guard = QPointer<WebEngineBrowser>(this)] {
        if (guard && serial == serial_) {
            finish(HtmlDocument::blank(), kBlank);
        }
    });
}

void WebEngineBrowser::navigate(const QString& url) {
    const QUrl target(url.trimmed());
    if (!view_ || !isLoadable(target)) {
        return;  // stays where it is
    }
    if (target.toString() == kBlank) {
        Q_EMIT beforeNavigate(kBlank);
        showBlank();
        view_->setUrl(target);
        return;
    }
    begin();
    view_->setUrl(target);
    armNoLoadTimer();
}

void WebEngineBrowser::reload() {
    if (!view_ || location_.isEmpty()) {
        return;
    }
    if (location_ == kBlank) {
        showBlank();
        return;
    }
    begin();
    view_->reload();
    armNoLoadTimer();
}

bool WebEngineBrowser::back() {
    if (!view_ || !view_->history()->canGoBack()) {
        return false;
    }
    if (view_->history()->backItem().url().toString() == kBlank) {
        Q_EMIT beforeNavigate(kBlank);
        showBlank();
    } else {
        begin();
        armNoLoadTimer();
    }
    view_->back();
    return true;
}

bool WebEngineBrowser::forward() {
    if (!view_ || !view_->history()->canGoForward()) {
        return false;
    }
    if (view_->history()->forwardItem().url().toString() == kBlank) {
        Q_EMIT beforeNavigate(kBlank);
        showBlank();
    } else {
        begin();
        armNoLoadTimer();
    }
    view_->forward();
    return true;
}

void WebEngineBrowser::loadingChanged(const QWebEngineLoadingInfo& info) {
    if (info.url().toString() == kBlank) {
        return;  // the built-in page completes by itself
    }
    switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus:
            if (info.isErrorPage()) {
                return;
            }
            if (phase_ != Phase::AwaitingStart) {
                // The page (or the person) started a load of its own.
                ++serial_;
                busy_ = true;
            }
            phase_ = Phase::Started;
            return;
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            if (phase_ == Phase::Started && page_) {
                phase_ = Phase::Snapshotting;
                const quint64 serial = serial_;
                page_->runJavaScript(kSnapshotScript, kWorld,
                                     [this, serial, guard = QPointer<WebEngineBrowser>(this)](
                                         const QVariant& markup) {
                                         if (guard) {
                                             snapshotTaken(serial, markup);
                                         }
                                     });
            }
            return;
        case QWebEngineLoadingInfo::LoadStoppedStatus:
            // Stopped by a newer load, whose start is still to come.
            if (phase_ == Phase::Started) {
                phase_ = Phase::AwaitingStart;
                armNoLoadTimer();
            }
            return;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            if (phase_ == Phase::Started) {
                finish(nullptr, info.url().toString());
            }
            return;
    }
}

void WebEngineBrowser::snapshotTaken(quint64 serial, const QVariant& markup) {
    if (serial != serial_ || phase_ != Phase::Snapshotting || !page_) {
        return;
    }
    const QString url = page_->url().toString();
    finish(markup.userType() == QMetaType::QString
               ? HtmlDocument::parse(markup.toString().toUtf8(), url, true)
               : nullptr,
           url);
}

void WebEngineBrowser::finish(std::shared_ptr<HtmlDocument> document, const QString& url) {
    document_ = std::move(document);
    location_ = url;
    phase_ = Phase::Idle;
    busy_ = false;
    Q_EMIT documentComplete(true, url);
}

bool WebEngineBrowser::runOnElement(const HtmlElement& element, const QString& script) {
    if (!page_ || !document_ || element.document() != document_.get() || element.number() < 0) {
        return false;
    }
    begin();
    const quint64 serial = serial_;
    page_->runJavaScript(elementScript(element.number(), script), kWorld,
                         [this, serial, guard = QPointer<WebEngineBrowser>(this)](const QVariant&) {
                             if (guard && serial == serial_ && phase_ == Phase::AwaitingStart) {
                                 armNoLoadTimer();
                             }
                         });
    return true;
}

void WebEngineBrowser::click(const HtmlElement& element) {
    runOnElement(element, QStringLiteral("if (typeof e.click === 'function') e.click(); else "
                                         "e.dispatchEvent(new MouseEvent('click', {bubbles: true, "
                                         "cancelable: true, view: window}))"));
}

void WebEngineBrowser::setInputValue(const HtmlElement& element, const QString& value) {
    const QString literal =
        QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
    if (runOnElement(element,
                     QStringLiteral("e.value = %1[0]; "
                                    "e.dispatchEvent(new Event('input', {bubbles: true})); "
                                    "e.dispatchEvent(new Event('change', {bubbles: true}))")
                         .arg(literal))) {
        document_->setValue(element, value);
    }
}
