#include "search/fWebSearch.h"

#include "app/AppServices.h"
#include "platform/browser/Browser.h"
#include "platform/browser/BrowserFactory.h"
#include "platform/browser/HtmlDocument.h"
#include "search/ResultPageRules.h"

namespace {
enum Column { kTitle, kType, kStatus, kSaveFolder };
}  // namespace

fWebSearch::fWebSearch(Forms& forms, AppServices& services)
    : Window(forms, kName),
      ListView1(new ListView(this, QStringLiteral("ListView1"))),
      Label1(new Label(this, QStringLiteral("Label1"), QStringLiteral("0"))),
      Check1(
          new CheckBox(this, QStringLiteral("Check1"), QStringLiteral("删除标题中的空格"), true)),
      Check2(new CheckBox(this, QStringLiteral("Check2"),
                          QStringLiteral("不添加文件类型不明的链接"), true)),
      Check12(new CheckBox(this, QStringLiteral("Check12"), QStringLiteral("删除标题中的来源网址"),
                           true)),
      WebBrowser1(services.browsers.create(this, QStringLiteral("WebBrowser1"))) {
    ListView1->addColumn(QStringLiteral("标题"));
    ListView1->addColumn(QStringLiteral("类型"));
    ListView1->addColumn(QStringLiteral("分析状态"));
    ListView1->addColumn(QStringLiteral("保存路径"));
}

void fWebSearch::ExtractResultPage(const QString& saveFolder) {
    const std::shared_ptr<const HtmlDocument> document =
        WebBrowser1 ? WebBrowser1->document() : nullptr;
    const auto options = [this] {
        return ResultPageRules::Options{Check1->value(), Check2->value(), Check12->value()};
    };
    const QString sourcePage = document ? document->url() : QString();
    const auto kind =
        ResultPageRules::Walk(document.get(), options, [&](const ResultPageRules::Entry& entry) {
            加入LV1(entry.title, entry.link, sourcePage, entry.type, saveFolder);
        });
    if (kind == ResultPageRules::PageKind::Verification) {
        runState.verificationDemanded = true;
    }
    Label1->setCaption(QString::number(ListView1->count()));
}

void fWebSearch::加入LV1(const QString& title, const QString& link, const QString& sourcePage,
                         const QString& type, const QString& saveFolder) {
    // The link is the row key and compared exactly: two addresses that differ only in
    // letter case are different entries, since paths on most servers are case-sensitive.
    ListRow* row = ListView1->add(link, title);
    if (!row) {
        return;  // already in the list
    }
    ListView1->setSubItem(row, kType, type);
    ListView1->setTag(row, sourcePage);
    ListView1->setSubItem(row, kSaveFolder, saveFolder);
}
