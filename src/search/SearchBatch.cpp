#include "search/SearchBatch.h"

#include <optional>

#include "platform/browser/Browser.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/runtime/Runtime.h"
#include "search/SearchAddress.h"
#include "search/fWebSearch.h"
#include "sys/ListHelpers.h"

namespace {

const QString kBlankPage = QStringLiteral("about:blank");
const QString kNext = QStringLiteral("next");
// The engine shows at most 100 pages: the pagination of the last one holds this.
const QString kLastPageMark = QStringLiteral("<strong>100</strong>");
// Red in the platform's blue-green-red order.
constexpr Color kRunningColour = Color::fromBgr(255);

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

SearchBatch::SearchBatch(fWebSearch& window) : window_(window) {}

bool SearchBatch::batchRunning() const {
    return window_.Command1->caption() == kBatchStop;
}

bool SearchBatch::batchStopPending() const {
    return batchRunning() && window_.runState.batchStop;
}

int SearchBatch::delaySeconds() const {
    return window_.Combo1->text().toInt();
}

int SearchBatch::timeoutSeconds() const {
    return window_.Combo2->text().toInt();
}

double SearchBatch::elapsedSince(double start) const {
    return window_.runtime().now() - start;
}

void SearchBatch::yield() {
    window_.runtime().yield();
    stopWhenQuitting();
}

void SearchBatch::waitCycle() {
    window_.runtime().waitStep();
    stopWhenQuitting();
}

void SearchBatch::stopWhenQuitting() {
    // The program is ending: every run stops at its next check.
    if (window_.runtime().quitRequested()) {
        window_.runState.batchStop = true;
        window_.runState.addAllStop = true;
    }
}

void SearchBatch::ExtractShownPage() {
    window_.ExtractResultPage(window_.ExtractionSaveFolder());
}

void SearchBatch::SetRunning(Button& button, const QString& caption, bool running) {
    button.setCaption(caption);
    button.setBackColor(running ? kRunningColour : Color());
}

void SearchBatch::打开搜索网页(const QString& address) {
    Browser* browser = window_.WebBrowser1;
    SearchRunState& state = window_.runState;
    const double start = window_.runtime().now();
    state.pageLoading = true;
    if (browser) {
        browser->navigate(address);
    }
    do {
        waitCycle();
        if (!(browser && browser->busy()) && !state.pageLoading) {
            return;
        }
        if (elapsedSince(start) >= timeoutSeconds()) {
            return;
        }
    } while (!state.batchStop);
}

void SearchBatch::延时() {
    const double start = window_.runtime().now();
    do {
        waitCycle();
        if (elapsedSince(start) >= delaySeconds()) {
            return;
        }
    } while (!batchStopPending());
}

bool SearchBatch::下一页() {
    SearchRunState& state = window_.runState;
    const auto stopRequested = [&] { return state.addAllStop || batchStopPending(); };
    ExtractShownPage();
    if (!ClickNextCandidate()) {
        ExtractShownPage();
        return false;
    }
    const double loadStart = window_.runtime().now();
    Browser* browser = window_.WebBrowser1;
    while (browser->busy() && state.pageLoading) {
        waitCycle();
        if (elapsedSince(loadStart) >= timeoutSeconds() || stopRequested()) {
            ExtractShownPage();
            return false;
        }
    }
    // The browser settled without a new page: a click that loads nothing would leave
    // the same page to be paged for ever.
    if (state.pageLoading) {
        state.pageLoading = false;
        ExtractShownPage();
        return false;
    }
    const double delayStart = window_.runtime().now();
    for (;;) {
        waitCycle();
        if (elapsedSince(delayStart) >= delaySeconds()) {
            ExtractShownPage();
            return true;
        }
        if (stopRequested()) {
            ExtractShownPage();
            return false;
        }
    }
}

bool SearchBatch::ClickNextCandidate() {
    Browser* browser = window_.WebBrowser1;
    const std::shared_ptr<const HtmlDocument> document = browser ? browser->document() : nullptr;
    if (!document) {
        return false;
    }
    const std::optional<HtmlElement> candidate = nextCandidate(document);
    // Only a link leads to the next page; anything else is the last page.
    if (!candidate || candidate->tagName() != QStringLiteral("A")) {
        return false;
    }
    SearchRunState& state = window_.runState;
    state.pageLoading = true;
    browser->click(*candidate);
    yield();
    return true;
}

void SearchBatch::AddAllPages() {
    SearchRunState& state = window_.runState;
    Button& button = *window_.Command4;
    if (button.caption() == kAddAllStart) {
        SetRunning(button, kAddAllStop, true);
        state.addAllStop = false;
        if (!batchRunning()) {
            window_.AskSaveFolderForExtraction();
            state.verificationDemanded = false;
        }
        ExtractShownPage();
        for (;;) {
            yield();
            if (state.addAllStop || state.verificationDemanded || batchStopPending()) {
                break;
            }
            if (!下一页()) {
                break;
            }
            ExtractShownPage();
            yield();
        }
        ExtractShownPage();
        SetRunning(button, kAddAllStart, false);
        button.setEnabled(true);
    }
    state.addAllStop = true;
    window_.FitResultColumns();
}

void SearchBatch::RunBatchSearch() {
    SearchRunState& state = window_.runState;
    Button& button = *window_.Command1;
    if (button.caption() != kBatchStart) {
        state.batchStop = true;
        button.setEnabled(false);
        return;
    }
    if (!state.addAllStop) {
        window_.dialogs().error(QStringLiteral("正在提取网页信息，请停止以后使用该功能！"));
        return;
    }
    SetRunning(button, kBatchStop, true);
    state.batchStop = false;
    state.verificationDemanded = false;
    window_.Text2->setText(QString());
    window_.AskSaveFolderForExtraction();

    const QStringList groups = window_.Text1->text().split(QStringLiteral("\r\n"));
    for (const QString& group : groups) {
        yield();
        if (state.batchStop || state.verificationDemanded) {
            break;
        }
        const QString trimmed = group.trimmed();
        if (trimmed.isEmpty()) {
            continue;
        }
        if (!SearchGroup(trimmed)) {
            break;
        }
        window_.Text2->setText(window_.Text2->text() + QStringLiteral("\r\n"));
        if (state.batchStop || state.verificationDemanded) {
            break;
        }
        yield();
        延时();
    }
    if (!state.verificationDemanded) {
        打开搜索网页(window_.homeAddress());
    }
    SetRunning(button, kBatchStart, false);
    button.setEnabled(true);
    state.batchStop = true;
}

bool SearchBatch::SearchGroup(const QString& group) {
    SearchRunState& state = window_.runState;
    const SearchOptions options = window_.searchOptions();
    for (size_t i = 0; i < kFileTypes.size(); ++i) {
        if (options.fileTypes[i]) {
            const QString address =
                BuildSearchAddress(window_.searchBase(), group, kFileTypes[i], options);
            if (!state.verificationDemanded) {
                打开搜索网页(kBlankPage);
                yield();
            }
            打开搜索网页(address);
            延时();
            AddAllPages();
            window_.Text2->setText(window_.Text2->text() + group + kFileTypes[i].progressTag +
                                   QLatin1Char(' '));
            yield();
        }
        // After txt, the group's line ends whatever happened.
        const bool last = i + 1 == kFileTypes.size();
        if (!last && (state.batchStop || state.verificationDemanded)) {
            return false;
        }
    }
    return true;
}
