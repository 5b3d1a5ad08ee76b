#include <gtest/gtest.h>

#include "tools/ExtensionFromAddress.h"

TEST(ExtensionFromAddress, TakesTheLastNamesShortExtensionWithoutWhatEndsAName) {
    const struct {
        const char* address;
        const char* extension;
    } cases[] = {
        {"x://a.b/dir/report.pdf?x=1", "pdf"},
        {"C:\\cache\\ABC123\\page[1].htm", "htm"},
        {"/home/u/.cache/Orvellin/UrlCache/0123abcd.docx", "docx"},
        {"http://a.b/x.pdf#part", "pdf"},
        {"http://a.b/x.pdf?u=http://c.d/y.doc", "pdf"},  // only between the two "://"
        {"HTTP://a.b/c.xls:stream", "xls"},
        {"http://a.b/file. pdf ", "pdf"},
        {"http://a.b/archive.torrent", ""},  // seven characters are no extension
        {"http://a.b/dir.v2/readme", ""},
        {"Cookie:user@a.b/", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtensionFromAddress(QString::fromUtf8(c.address)),
                  QString::fromUtf8(c.extension))
            << c.address;
    }
}
