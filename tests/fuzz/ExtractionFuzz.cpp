// Fuzz target: parsing any bytes as a page and running the extraction rules and the
// driver's reading operations over it.
#include <cstddef>
#include <cstdint>

#include "platform/browser/HtmlDocument.h"
#include "search/ResultPageRules.h"
#include "sys/ListHelpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool numbered = size > 0 && (data[0] & 1);
    const auto document =
        HtmlDocument::parse(bytes, QStringLiteral("http://engine.example/search?p=x"), numbered);
    const ResultPageRules::Options options{size > 1 && (data[1] & 1), size > 1 && (data[1] & 2),
                                           size > 1 && (data[1] & 4)};
    int entries = 0;
    ResultPageRules::Walk(
        document.get(), [&] { return options; }, [&](const ResultPageRules::Entry&) { ++entries; });
    for (const HtmlElement& block :
         FindElementsByClass(document.get(), "div", "compPagination", true)) {
        (void)block.innerHtml().contains(QStringLiteral("<strong>100</strong>"),
                                         Qt::CaseInsensitive);
        for (const HtmlElement link : block.elementsByTagName(u"a")) {
            (void)link.href();
            (void)link.parent().closest(u"form");
        }
    }
    (void)document->elementById(u"submitip").outerHtml();
    (void)document->title();
    return 0;
}
