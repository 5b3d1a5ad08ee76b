#include "search/SearchBatch.h"

#include <optional>

#include "platform/browser/Browser.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/runtime/Runtime.h"
#include "search/SearchAddress.h"
#include "search/SearchBatchHost.h"
#include "search/SearchRunState.h"
#include "sys/ListHelpers.h"

namespace {

const QString kBlankPage = QStringLiteral("about:blank");
const QString kNext = QStringLiteral("next");
// The engine shows at most 100 pages: the pagination of the last one holds this.
const QString kLastPageMark = QStringLiteral("<strong>100</strong>");

bool isNextText(const HtmlElement& element) {
    return element.innerText().trimmed().toLower() == kNext;
}

// The next-page element of a result page, or nothing on its last page.
std::optional<HtmlElement> nextCandidate(const std::shared_ptr<const HtmlDocument>& document) {
    const QList<HtmlElement> paginations = FindElementsByClass(
        document.get(), QStringLiteral("div"), QStringLiteral("compPagination"), true);
    if (!paginations.isEmpty()) {
        const HtmlElement& pagination = paginations.first();
        if (pagination.innerHtml().contains(kLastPageMark, Qt::CaseInsensitive)) {
            return std::nullopt;
        }
        for (const HtmlElement& div :
             FindElementsByClass(pagination, QStringLiteral("div"), kNext, true)) {
            if (isNextText(div)) {
                return div;
            }
        }
    }
    for (const HtmlElement& link : document->elementsByTagName(u"A")) {
        if (link.className().toLower() == kNext && isNextText(link)) {
            return link;
        }
    }
    return std::nullopt;
}

}  // namespace

SearchBatch::SearchBatch(Runtime& runtime, Dialogs& dialogs, Browser* browser,
                         const QString& searchBase, SearchRunState& state, SearchBatchHost& host)
    : runtime_(runtime),
      dialogs_(dialogs),
      browser_(browser),
      searchBase_(searchBase),
      state_(state),
      host_(host) {}

bool SearchBatch::batchStopPending() const {
    return batchRunning_ && state_.batchStop;
}

QString SearchBatch::homeAddress() const {
    return searchBase_ + QLatin1Char('/');
}

double SearchBatch::elapsedSince(double start) const {
    return runtime_.now() - start;
}

void SearchBatch::yield() {
    runtime_.yield();
    stopWhenQuitting();
}

void SearchBatch::waitCycle() {
    runtime_.waitStep();
    stopWhenQuitting();
}

void SearchBatch::stopWhenQuitting() {
    // The program is ending: every run stops at its next check.
    if (runtime_.quitRequested()) {
        state_.batchStop = true;
        state_.addAllStop = true;
    }
}

void SearchBatch::SetBatchRunning(bool running) {
    batchRunning_ = running;
    host_.runChanged(SearchBatchHost::Run::Batch, running);
}

void SearchBatch::SetAddAllRunning(bool running) {
    addAllRunning_ = running;
    host_.runChanged(SearchBatchHost::Run::AddAll, running);
}

void SearchBatch::AppendProgress(const QString& text) {
    progress_ += text;
    host_.progressChanged(progress_);
}

void SearchBatch::打开搜索网页(const QString& address) {
    const double start = runtime_.now();
    state_.pageLoading = true;
    if (browser_) {
        browser_->navigate(address);
    }
    do {
        waitCycle();
        if (!(browser_ && browser_->busy()) && !state_.pageLoading) {
            return;
        }
        if (elapsedSince(start) >= host_.timeoutSeconds()) {
            return;
        }
    } while (!state_.batchStop);
}

void SearchBatch::延时() {
    const double start = runtime_.now();
    do {
        waitCycle();
        if (elapsedSince(start) >= host_.delaySeconds()) {
            return;
        }
    } while (!batchStopPending());
}

bool SearchBatch::下一页() {
    const auto stopRequested = [&] { return state_.addAllStop || batchStopPending(); };
    host_.extractShownPage();
    if (!ClickNextCandidate()) {
        host_.extractShownPage();
        return false;
    }
    const double loadStart = runtime_.now();
    while (browser_->busy() && state_.pageLoading) {
        waitCycle();
        if (elapsedSince(loadStart) >= host_.timeoutSeconds() || stopRequested()) {
            host_.extractShownPage();
            return false;
        }
    }
    // The browser settled without a new page: a click that loads nothing would leave
    // the same page to be paged for ever.
    if (state_.pageLoading) {
        state_.pageLoading = false;
        host_.extractShownPage();
        return false;
    }
    const double delayStart = runtime_.now();
    for (;;) {
        waitCycle();
        if (elapsedSince(delayStart) >= host_.delaySeconds()) {
            host_.extractShownPage();
            return true;
        }
        if (stopRequested()) {
            host_.extractShownPage();
            return false;
        }
    }
}

bool SearchBatch::ClickNextCandidate() {
    const std::shared_ptr<const HtmlDocument> document = browser_ ? browser_->document() : nullptr;
    if (!document) {
        return false;
    }
    const std::optional<HtmlElement> candidate = nextCandidate(document);
    // Only a link leads to the next page; anything else is the last page.
    if (!candidate || candidate->tagName() != QStringLiteral("A")) {
        return false;
    }
    state_.pageLoading = true;
    browser_->click(*candidate);
    yield();
    return true;
}

void SearchBatch::AddAllPages() {
    if (!addAllRunning_) {
        SetAddAllRunning(true);
        state_.addAllStop = false;
        if (!batchRunning_) {
            host_.askSaveFolder();
            state_.verificationDemanded = false;
        }
        host_.extractShownPage();
        for (;;) {
            yield();
            if (state_.addAllStop || state_.verificationDemanded || batchStopPending()) {
                break;
            }
            if (!下一页()) {
                break;
            }
            host_.extractShownPage();
            yield();
        }
        host_.extractShownPage();
        SetAddAllRunning(false);
    }
    state_.addAllStop = true;
    host_.pagesAdded();
}

void SearchBatch::RunBatchSearch(const QString& keywordBox) {
    if (batchRunning_) {
        state_.batchStop = true;
        host_.batchStopRequested();
        return;
    }
    if (!state_.addAllStop) {
        dialogs_.error(QStringLiteral("正在提取网页信息，请停止以后使用该功能！"));
        return;
    }
    SetBatchRunning(true);
    state_.batchStop = false;
    state_.verificationDemanded = false;
    progress_.clear();
    host_.progressChanged(progress_);
    host_.askSaveFolder();

    const QStringList groups = keywordBox.split(QStringLiteral("\r\n"));
    for (const QString& group : groups) {
        yield();
        if (state_.batchStop || state_.verificationDemanded) {
            break;
        }
        const QString trimmed = group.trimmed();
        if (trimmed.isEmpty()) {
            continue;
        }
        if (!SearchGroup(trimmed)) {
            break;
        }
        AppendProgress(QStringLiteral("\r\n"));
        if (state_.batchStop || state_.verificationDemanded) {
            break;
        }
        yield();
        延时();
    }
    if (!state_.verificationDemanded) {
        打开搜索网页(homeAddress());
    }
    SetBatchRunning(false);
    state_.batchStop = true;
}

bool SearchBatch::SearchGroup(const QString& group) {
    const SearchOptions options = host_.searchOptions();
    for (size_t i = 0; i < kFileTypes.size(); ++i) {
        if (options.fileTypes[i]) {
            const QString address = BuildSearchAddress(searchBase_, group, kFileTypes[i], options);
            if (!state_.verificationDemanded) {
                打开搜索网页(kBlankPage);
                yield();
            }
            打开搜索网页(address);
            延时();
            AddAllPages();
            AppendProgress(group + kFileTypes[i].progressTag + QLatin1Char(' '));
            yield();
        }
        // After txt, the group's line ends whatever happened.
        const bool last = i + 1 == kFileTypes.size();
        if (!last && (state_.batchStop || state_.verificationDemanded)) {
            return false;
        }
    }
    return true;
}
