#include <gtest/gtest.h>
#include <zlib.h>

#include <QFileInfo>

#include "DownloadTestSupport.h"
#include "download/FileTypeDetection.h"

namespace {

QString RealFile(const QString& name) {
    return QStringLiteral(ORVELLIN_REAL_FILES "/") + name;
}

// The content of a gzip file, or empty when it cannot be expanded.
QByteArray Gunzip(const QByteArray& packed) {
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
        return {};
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = uInt(packed.size());
    QByteArray out;
    char chunk[64 * 1024];
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        status = inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, qsizetype(sizeof chunk - stream.avail_out));
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END ? out : QByteArray();
}

}  // namespace

// Files that LibreOffice, ImageMagick and zip wrote (tests/data/realfiles). The table's
// fixed offsets judge several of them wrongly; the rule stays, and these cases record
// what it gives.
TEST(RealFiles, AreJudgedByTheTableAsItStands) {
    const QList<std::pair<QString, QString>> judged = {
        {"doc.pdf", "pdf"},   {"doc.rtf", "rtf"},   {"doc.html", "htm"},    {"image.png", "png"},
        {"image.jpg", "jpg"}, {"image.tif", "tif"}, {"archive.zip", "zip"}, {"doc.txt", ""},
    };
    for (const auto& [name, type] : judged) {
        EXPECT_EQ(打开文件判断文件类型(RealFile(name)), type) << name.toStdString();
    }
}

TEST(RealFiles, MisjudgedByTheTableAreRecorded) {
    QTemporaryDir temp;
    const QString ppt = temp.filePath("slides.ppt");
    ASSERT_TRUE(WriteFile(ppt, Gunzip(ReadFile(RealFile("slides.ppt.gz")))));
    ASSERT_GT(QFileInfo(ppt).size(), 400 * 1024);
    // LibreOffice's compound files begin with the header of row 20, but position 512
    // holds their sector table (FD FF FF FF), not a program's marker: no type.
    for (const QString& path : {RealFile("doc.doc"), RealFile("sheet.xls"), ppt}) {
        EXPECT_EQ(ReadFile(path).mid(512, 4), QByteArray("\xFD\xFF\xFF\xFF"));
        EXPECT_EQ(打开文件判断文件类型(path), "") << path.toStdString();
    }
    // LibreOffice's packages carry the flags 08 08 where the docx row wants 06 00.
    for (const QString& name : QStringList{"doc.docx", "sheet.xlsx", "slides.pptx"}) {
        EXPECT_EQ(ReadFile(RealFile(name)).mid(6, 2), QByteArray("\x08\x08"));
        EXPECT_EQ(打开文件判断文件类型(RealFile(name)), "") << name.toStdString();
    }
    // zip -9 sets a compression flag (02 00) where the zip row wants 00 00.
    EXPECT_EQ(打开文件判断文件类型(RealFile("archive-best.zip")), "");
    // ImageMagick writes GIF89a, which no row matches.
    EXPECT_EQ(打开文件判断文件类型(RealFile("image.gif")), "");
}
