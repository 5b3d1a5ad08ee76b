#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <functional>

#include "DownloadTestSupport.h"
#include "download/FileReader.h"
#include "download/FileTypeDetection.h"

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (const int v : values) {
        bytes.append(char(v));
    }
    return bytes;
}

// `length` bytes of filler with `parts` written at their positions.
QByteArray Pattern(qsizetype length, const QList<std::pair<qsizetype, QByteArray>>& parts,
                   char filler = 'u') {
    QByteArray bytes(length, filler);
    for (const auto& [position, part] : parts) {
        bytes.replace(position, part.size(), part);
    }
    return bytes;
}

const QByteArray kCompound = Bytes({0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1});

// Counts what detection reads, and can disturb the file on the way.
class CountingReader : public FileReader {
  public:
    qint64 headBytes = 0;  // read from position 0 on
    qint64 otherBytes = 0;
    qint64 lowestOther = -1;
    int reads = 0;
    std::function<void(const QString&)> beforeOpen;
    std::function<void()> afterOpen;

    bool open(const QString& path) override {
        if (beforeOpen) {
            beforeOpen(path);
        }
        const bool opened = FileReader::open(path);
        if (opened && afterOpen) {
            afterOpen();
        }
        return opened;
    }
    qint64 read(qint64 offset, char* data, qint64 count) override {
        const qint64 got = FileReader::read(offset, data, count);
        ++reads;
        if (offset == 0) {
            headBytes += got;
        } else {
            otherBytes += got;
            lowestOther = lowestOther < 0 ? offset : std::min(lowestOther, offset);
        }
        return got;
    }
};

struct Detection : testing::Test {
    QTemporaryDir temp;
    int files = 0;
    QString make(const QByteArray& bytes) {
        const QString path = temp.filePath(QString::number(++files));
        EXPECT_TRUE(WriteFile(path, bytes));
        return path;
    }
    QString judge(const QByteArray& bytes) { return 打开文件判断文件类型(make(bytes)); }
};

}  // namespace

TEST_F(Detection, EverySignatureRowNamesItsType) {
    const QList<std::pair<QByteArray, QString>> rows = {
        {"%PDF-1.4", "pdf"},
        {Bytes({0xC8, 0, 0, 0}), "caj"},
        {QByteArray("CAJ\0", 4), "kdh"},
        {"KDH ", "kdh"},
        {QByteArray("HN\0\0", 4), "nh"},
        {Bytes({0x49, 0x49, 0x2A, 0}), "tif"},
        {"{\\rtf1", "rtf"},
        {"MZ", "exe"},
        {"Rar!", "rar"},
        {Bytes({0x50, 0x4B, 3, 4, 0x14, 0, 0, 0, 8}), "zip"},
        {Bytes({0x50, 0x4B, 3, 4, 0x14, 0, 6, 0, 8, 0}), "docx"},
        {"CWS\x06", "swf"},
        {".RMF", "rm"},
        {Bytes({0x30, 0x26, 0xB2, 0x75, 0x8E}), "wma"},
        {"ID3\x03", "mp3"},
        {Bytes({0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A}), "png"},
        {QByteArray("GIF891\x04"), "gif"},
    };
    for (const auto& [head, type] : rows) {
        EXPECT_EQ(judge(Pattern(1000, {{0, head}})), type) << type.toStdString();
    }
    const QByteArray exif = Pattern(
        1000, {{0, Bytes({0xFF, 0xD8, 0xFF, 0xE1})}, {6, "Exif"}, {12, QByteArray("MM\0*", 4)}});
    EXPECT_EQ(judge(exif), "jpg");
    const QByteArray jfif =
        Pattern(1000, {{0, Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10})}, {6, "JFIF"}});
    EXPECT_EQ(judge(jfif), "jpg");
    // Each position counts: an Exif header in Intel order, and a GIF89a, match no row.
    EXPECT_EQ(judge(Pattern(1000, {{0, exif.left(12)}, {12, QByteArray("II*\0", 4)}})), "");
    EXPECT_EQ(judge(Pattern(1000, {{0, "GIF89a"}})), "");
}

TEST_F(Detection, TheFirstMatchingRowWinsOverLaterTests) {
    // A PDF holding a web page stays a PDF; a tail tag does not make an EXE an MP3.
    EXPECT_EQ(judge("%PDF<html ><head><title>x</title></head></html>"), "pdf");
    EXPECT_EQ(judge(Pattern(1000, {{0, "MZ"}, {1000 - 128, "TAG"}})), "exe");
    EXPECT_EQ(judge("%pdf-1.4 lower case is no PDF"), "");
}

TEST_F(Detection, CompoundDocumentsAreToldByTheMarkerAt512) {
    EXPECT_EQ(judge(Pattern(2000, {{0, kCompound}, {512, Bytes({0xEC, 0xA5, 0xC1, 0})}})), "doc");
    EXPECT_EQ(judge(Pattern(2000, {{0, kCompound}, {512, Bytes({9, 8, 0x10, 0})}})), "xls");
    EXPECT_EQ(judge(Pattern(2000, {{0, kCompound}, {512, Bytes({1, 2, 3, 0xF0})}})), "ppt");
    // No marker: no type from the table, but the later tests still run.
    EXPECT_EQ(judge(Pattern(2000, {{0, kCompound}})), "");
    EXPECT_EQ(judge(Pattern(2000, {{0, kCompound}, {2000 - 128, "TAG"}})), "mp3");
    EXPECT_EQ(judge(Pattern(2000, {{0, kCompound}, {600, "<html ><body>"}})), "htm");
}

TEST_F(Detection, RowsNeedingBytesPastTheEndEndTheJudgement) {
    // Position L holds 0: a file of 3 bytes C8 00 00 is a caj, "HN" and a zero an nh.
    EXPECT_EQ(judge("%P"), "");
    EXPECT_EQ(judge(Bytes({0xC8, 0, 0})), "caj");
    EXPECT_EQ(judge(QByteArray("HN\0", 3)), "nh");
    // "MZ" is row 8, after the 5-byte rtf row: 3 bytes end the judgement before it.
    EXPECT_EQ(judge("MZx"), "");
    EXPECT_EQ(judge("MZxx"), "exe");
    // 514 bytes of compound header end everything, even the web page test.
    const QByteArray page = "<html ><title>t</title>";
    EXPECT_EQ(judge(Pattern(514, {{0, kCompound}, {100, page}})), "");
    EXPECT_EQ(judge(Pattern(515, {{0, kCompound}, {100, page}})), "htm");
    EXPECT_EQ(judge(Pattern(515, {{0, kCompound}, {512, Bytes({0xEC, 0xA5, 0xC1})}})), "doc");
    EXPECT_EQ(judge(Pattern(515, {{0, kCompound}, {512, Bytes({1, 2, 3})}})), "");
    EXPECT_EQ(judge(Pattern(516, {{0, kCompound}, {515, Bytes({0xF0})}})), "ppt");
    // A short JPEG header cannot reach its position 15.
    EXPECT_EQ(judge(Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F', 'I', 'F', 0, 1})), "");
}

TEST_F(Detection, TheWebPageTestSeesPositionsUpTo10240AndFilesUnder200KB) {
    // Markers ending exactly at position 10240 are seen; one position later they are not.
    for (const qsizetype length : {10241, 10242, 300000}) {
        const QByteArray seen = Pattern(length, {{0, "<html >"}, {10240 - 5, "<body>"}}, ' ');
        EXPECT_EQ(judge(seen), length < 200 * 1024 ? "htm" : "") << length;
    }
    for (const qsizetype length : {10242, 10300}) {
        const QByteArray unseen = Pattern(length, {{0, "<html >"}, {10240 - 4, "<body>"}}, ' ');
        EXPECT_EQ(judge(unseen), "") << length;
    }
    // In a file of 10240 bytes position 10240 is past its end.
    EXPECT_EQ(judge(Pattern(10240, {{0, "<html >"}, {10240 - 6, "<body>"}}, ' ')), "htm");
    // A 300 KB page is not judged; one just under 200 KB is.
    QByteArray page = "<!DOCTYPE html><HTML><HEAD><TITLE>登录</TITLE></HEAD><BODY>";
    EXPECT_EQ(judge(page + QByteArray(300 * 1024, 'x') + "</BODY></HTML>"), "");
    EXPECT_EQ(judge(page + QByteArray(200 * 1024 - page.size() - 1, 'x')), "htm");
    EXPECT_EQ(judge(page + QByteArray(200 * 1024 - page.size(), 'x')), "");
    // Any encoding that keeps ASCII as ASCII: UTF-8 with a byte-order mark, GBK text.
    EXPECT_EQ(judge("\xEF\xBB\xBF<html lang=zh><head><meta charset=utf-8>"), "htm");
    EXPECT_EQ(judge("<hTmL >\xB5\xC7\xC2\xBC<TiTlE>"), "htm");
    EXPECT_EQ(judge("<html><p>no title, head or body</p></html>"), "");
    EXPECT_EQ(judge("<title>no html marker</title>"), "");
}

TEST_F(Detection, AnMp3IsKnownByTheTagInItsLast128Bytes) {
    EXPECT_EQ(judge(Pattern(5000, {{5000 - 128, "TAG"}}, '\xAA')), "mp3");
    EXPECT_EQ(judge(Pattern(129, {{1, "TAG"}}, '\xAA')), "mp3");
    // The tag must start exactly 128 bytes before the end, in a file over 128 bytes.
    EXPECT_EQ(judge(Pattern(5000, {{5000 - 127, "TAG"}}, '\xAA')), "");
    EXPECT_EQ(judge(Pattern(128, {{0, "TAG"}}, '\xAA')), "");
    EXPECT_EQ(judge(Pattern(3 * 1024 * 1024, {{3 * 1024 * 1024 - 128, "TAG"}}, '\xAA')), "mp3");
}

TEST_F(Detection, ACaaFileIsSmallerThan3KBAndHoldsEveryKey) {
    const QByteArray caa =
        "[TARGET]\r\nA1=1\r\na2=2\r\nB1=3\r\nB2=4\r\nC1=5\r\nc2=6\r\nD1=7\r\n"
        "D2=8\r\ndoctype=9\r\n";
    EXPECT_EQ(judge(caa), "caa");
    EXPECT_EQ(judge(caa + QByteArray(3071 - caa.size(), ' ')), "caa");
    EXPECT_EQ(judge(caa + QByteArray(3072 - caa.size(), ' ')), "");
    EXPECT_EQ(judge(QByteArray(caa).replace("D2=", "D3=")), "");
}

TEST_F(Detection, ReadsAtMost10241BytesFromTheHeadAnd129FromTheTail) {
    struct Case {
        qsizetype length;
        qint64 head;
    };
    for (const Case c : {Case{2, 2}, Case{3, 3}, Case{514, 514}, Case{515, 515}, Case{516, 516},
                         Case{2000, 2000}, Case{10240, 10240}, Case{10241, 10241},
                         Case{10242, 10241}, Case{5 * 1024 * 1024, 10241}}) {
        const QString path = make(Pattern(c.length, {}, '\xAA'));
        CountingReader reader;
        EXPECT_EQ(打开文件判断文件类型(path, reader), "");
        EXPECT_EQ(reader.headBytes, c.head) << c.length;
        EXPECT_LE(reader.otherBytes, 129) << c.length;
        if (c.length > 128) {
            EXPECT_EQ(reader.lowestOther, c.length - 128) << c.length;
        }
        EXPECT_LE(reader.reads, 2) << c.length;
    }
}

TEST_F(Detection, FilesThatAreGoneUnreadableOrNotFilesGiveNoType) {
    EXPECT_EQ(打开文件判断文件类型(temp.filePath("missing.pdf")), "");
    EXPECT_EQ(打开文件判断文件类型(temp.path()), "");
    EXPECT_EQ(打开文件判断文件类型(""), "");
    const QString fifo = temp.filePath("fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(打开文件判断文件类型(fifo), "");

    // Gone between the existence test and the read.
    const QString vanishing = make("%PDF-1.4");
    CountingReader gone;
    gone.beforeOpen = [](const QString& path) { QFile::remove(path); };
    EXPECT_EQ(打开文件判断文件类型(vanishing, gone), "");
    EXPECT_EQ(gone.reads, 0);

    // Cut short after it was opened: judged on what is left.
    const QString shrinking = make(Pattern(20000, {{0, "<html ><title>"}}, ' '));
    CountingReader cut;
    cut.afterOpen = [&] { QFile::resize(shrinking, 100); };
    EXPECT_EQ(打开文件判断文件类型(shrinking, cut), "htm");

    // No longer readable.
    const QString locked = make("%PDF-1.4");
    QFile::setPermissions(locked, QFileDevice::Permissions());
    FilePermissionsHonoured honoured;
    EXPECT_EQ(打开文件判断文件类型(locked), "");
    EXPECT_TRUE(QFile::exists(locked));
}

TEST_F(Detection, AcceptsFileAddresses) {
    const QString path = make("%PDF-1.7");
    EXPECT_EQ(打开文件判断文件类型("file://" + path), "pdf");
    EXPECT_EQ(打开文件判断文件类型("  " + path + "  "), "pdf");
}
