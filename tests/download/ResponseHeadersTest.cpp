#include <gtest/gtest.h>

#include <QStringList>

#include "download/ContentTypeExtension.h"
#include "download/ResponseHeaders.h"

namespace {

QString DispositionExtension(const QString& value) {
    QString extension = QStringLiteral("stale");
    从下载头信息ContentDisposition获取文件名(value, extension);
    return extension;
}

// Text of 64 KB around a core: control characters, NULs and quotes on every side.
QString Hostile(const QString& core) {
    QString noise;
    for (int i = 0; noise.size() < 32 * 1024; ++i) {
        noise += QChar(char16_t(i % 32));
        noise += QLatin1Char(i % 3 ? '"' : '\'');
    }
    return noise + core + noise;
}

}  // namespace

TEST(ContentTypeExtension, MapsEveryRowOfTheTable) {
    const QList<std::pair<QString, QString>> rows = {
        {"application/octet-stream", ""},
        {"application/x-shockwave-flash", "swf"},
        {"application/x-javascript", "js"},
        {"application/vnd.rn-realmedia", "rm"},
        {"application/vnd.ms-wpl", "wpl"},
        {"application/vnd.ms-works", "wps"},
        {"application/vnd.ms-powerpoint", "ppt"},
        {"application/msword", "doc"},
        {"application/vnd.openxmlformats-officedocument.wordprocessingml.document", "docx"},
        {"application/vnd.ms-excel", "xls"},
        {"application/x-excel", "xls"},
        {"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet", "xlsx"},
        {"application/vnd.openxmlformats-officedocument.presentationml.presentation", "pptx"},
        {"application/vnd.openxmlformats-officedocument.presentationml.slideshow", "ppsx"},
        {"application/x-msdownload", "dll"},
        {"application/x-tar", "tar"},
        {"application/x-compressed", "tgz"},
        {"application/x-zip-compressed", "zip"},
        {"application/z", "z"},
        {"application/x-compress", "z"},
        {"text/plain", "txt"},
        {"image/tiff", "tif"},
        {"image/x-png", "png"},
        {"image/x-ms-bmp", "bmp"},
        {"image/x-icon", "ico"},
        {"video/mpeg", "mpeg"},
        {"video/mpeg4", "mp4"},
        {"video/x-msvideo", "avi"},
        {"video/x-ms-asf", "asf"},
        {"video/x-ms-wmv", "wmv"},
        {"video/quicktime", "mov"},
        {"audio/amr", "amr"},
        {"audio/x-ms-wma", "wma"},
        {"audio/x-wav", "wav"},
        {"audio/x-pn-realaudio", "ram"},
        {"audio/midi", "mid"},
        {"audio/x-mpegurl", "mpeg"},
        {"message/rfc822", "mht"},
    };
    for (const auto& [mediaType, extension] : rows) {
        EXPECT_EQ(ExtensionFromContentType(mediaType), extension) << mediaType.toStdString();
    }
    // Subtypes listed as themselves.
    for (const QString& subtype :
         QStringLiteral("kdh caj pdf caa nh ppt docx rtf pptx ppsx zip pps dll tar tgz xls "
                        "xlsx doc")
             .split(' ')) {
        EXPECT_EQ(ExtensionFromContentType("application/" + subtype), subtype);
    }
    for (const QString& subtype : QStringList{"html", "txt", "htm", "xml", "css"}) {
        EXPECT_EQ(ExtensionFromContentType("text/" + subtype), subtype);
    }
    for (const QString& subtype :
         QStringList{"jpg", "jpeg", "gif", "png", "bmp", "tif", "pjpeg", "ief"}) {
        EXPECT_EQ(ExtensionFromContentType("image/" + subtype), subtype);
    }
}

TEST(ContentTypeExtension, KeepsALeadingRunOfLettersAndLaterDigitsUpTo5) {
    EXPECT_EQ(ExtensionFromContentType("image/g3fax"), "g3fax");
    EXPECT_EQ(ExtensionFromContentType("application/x-rar-compressed"), "x");
    EXPECT_EQ(ExtensionFromContentType("Text/HTML"), "html");
    EXPECT_EQ(ExtensionFromContentType(" text / x m l "), "xml");
    EXPECT_EQ(ExtensionFromContentType("pdf"), "pdf");
    EXPECT_EQ(ExtensionFromContentType("a/b/c"), "a");
    EXPECT_EQ(ExtensionFromContentType("foo/bar7x"), "bar7x");
    EXPECT_EQ(ExtensionFromContentType("foo/mpeg4x"), "");  // 6 characters
    EXPECT_EQ(ExtensionFromContentType("foo/3gpp"), "");    // no letter first
    EXPECT_EQ(ExtensionFromContentType("application/"), "");
    EXPECT_EQ(ExtensionFromContentType("image/*"), "");
    EXPECT_EQ(ExtensionFromContentType("application/postscript"), "");
    EXPECT_EQ(ExtensionFromContentType(""), "");
    EXPECT_EQ(ExtensionFromContentType("text/html;charset=gbk"), "html");
}

TEST(ContentDisposition, FindsTheHeaderLineIgnoringCase) {
    const QString headers =
        "HTTP/1.1 200 OK\r\nContent-Type: application/pdf\r\n"
        "  CONTENT-DISPOSITION:   attachment; filename=\"a.pdf\"  \r\nX: y\r\n\r\n";
    EXPECT_EQ(从网络文件Header获取ContentDisposition(headers), "attachment; filename=\"a.pdf\"");
    EXPECT_EQ(从网络文件Header获取ContentDisposition("HTTP/1.1 200 OK\nContent-Disposition: x\n"),
              "x");
    EXPECT_EQ(从网络文件Header获取ContentDisposition("HTTP/1.1 200 OK\r\nX-Content-Disposition: a"),
              "");
    EXPECT_EQ(从网络文件Header获取ContentDisposition(""), "");
    EXPECT_EQ(
        从网络文件Header获取ContentDisposition("HTTP/1.1 200 OK\r\n"
                                               "Content-Disposition: inline; filename=a.pdf\r\n"
                                               "Content-Disposition: inline; filename=b.doc\r\n"),
        "inline; filename=a.pdf");
}

TEST(ContentDisposition, GivesTheExtensionOfTheFileName) {
    EXPECT_EQ(DispositionExtension("attachment; filename='Report 2020.PDF'"), "PDF");
    EXPECT_EQ(DispositionExtension("attachment; filename=x.tar.gz"), "gz");
    EXPECT_EQ(DispositionExtension("attachment; filename=a.docx2"), "docx");
    EXPECT_EQ(DispositionExtension("attachment; filename=a.abcdefg"), "");
    EXPECT_EQ(DispositionExtension("attachment; filename*=UTF-8''a.pdf"), "");
    EXPECT_EQ(DispositionExtension("attachment; FILENAME=\"b. doc \"; size=3"), "doc");
    EXPECT_EQ(DispositionExtension("inline; filename=noextension"), "");
    EXPECT_EQ(DispositionExtension("inline"), "");
    QString extension;
    EXPECT_EQ(从下载头信息ContentDisposition获取文件名("a; filename=\"报告\t.doc\"", extension),
              "报告.doc");
    EXPECT_EQ(extension, "doc");
}

TEST(ResponseExtension, AsksContentTypeThenDispositionThenCharset) {
    struct Row {
        QString contentType;
        QString disposition;
        QString extension;
    };
    const QList<Row> rows = {
        {"text/html; charset=gbk", "", "html"},
        {"application/pdf", "attachment; filename=report.doc", "pdf"},
        {"application/octet-stream", "attachment; filename=report.doc", "doc"},
        {"application/octet-stream;charset=utf-8", "", "htm"},
        {"application/octet-stream;CHARSET=x", "", "htm"},
        // The first eight characters of the parameter, then trimmed: " charset" falls short.
        {"application/octet-stream; charset=utf-8", "", ""},
        {"application/octet-stream;CHARSET=x", "attachment; filename=a.bin", "bin"},
        {"application/octet-stream", "", ""},
        {"", "", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ExtensionFromResponseHeaders(row.contentType, row.disposition), row.extension)
            << row.contentType.toStdString() << " | " << row.disposition.toStdString();
    }
}

TEST(ResponseExtension, SurvivesHugeAndHostileHeaderValues) {
    // 64 KB of control characters, NULs and unbalanced quotes around each value: the
    // rules still end in their documented result.
    EXPECT_EQ(ExtensionFromContentType(Hostile("application/pdf")), "pdf");  // unknown main type
    EXPECT_EQ(ExtensionFromContentType(Hostile("")), "");
    EXPECT_EQ(DispositionExtension(Hostile("filename=a.pdf")), "pdf");
    EXPECT_EQ(DispositionExtension(Hostile("filename=a")), "");
    EXPECT_EQ(DispositionExtension("filename=\"unbalanced.pdf"), "pdf");
    EXPECT_EQ(DispositionExtension("filename='x.doc\"\"\"'\""), "doc");
    EXPECT_EQ(ExtensionFromResponseHeaders(Hostile("x"), Hostile("filename=a.pdf")), "pdf");
    EXPECT_EQ(ExtensionFromResponseHeaders(Hostile(";charset=x"), Hostile("")), "htm");
    // A line feed inside a value ends its line.
    const QString prefix = "HTTP/1.1 200 OK\r\nContent-Disposition: ";
    const QString headers = prefix + Hostile("") + "\r\n";
    EXPECT_EQ(从网络文件Header获取ContentDisposition(headers),
              headers.mid(prefix.size()).section('\n', 0, 0).trimmed());
    // Bytes that are not UTF-8 arrive as replacement characters.
    const QString broken = QString::fromUtf8(
        "attachment; filename=\xff\xfe\xc3.p\xff"
        "df");
    EXPECT_EQ(DispositionExtension(broken), "p");
    EXPECT_EQ(ExtensionFromContentType(QString::fromUtf8("application/\xc3\x28pdf")), "");
    EXPECT_EQ(ExtensionFromContentType(QString::fromUtf8("application/pdf\xff")), "pdf");
}
