#include "download/FileTypeDetection.h"

#include <QByteArray>
#include <QByteArrayView>
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include "download/FileReader.h"
#include "sys/FileSystem.h"

namespace {

using namespace std::string_view_literals;

// The head holds positions 0 … min(length, kLastHeadPosition); a position just past
// the end of the file holds 0.
constexpr qint64 kLastHeadPosition = 10240;
constexpr qint64 kTagDistance = 128;  // an ID3v1 tag fills the last 128 bytes
constexpr qint64 kTailBytes = 129;
constexpr qint64 kHtmlBelow = 200 * 1024;
constexpr qint64 kCaaBelow = 3 * 1024;

// Bytes expected from a position on.
struct Run {
    qsizetype offset = 0;
    std::string_view bytes;
    qsizetype last() const { return offset + qsizetype(bytes.size()) - 1; }
};

struct Signature {
    std::string_view type;
    std::array<Run, 3> runs;
};

// In order: the first row whose bytes all match names the type.
constexpr Signature kSignatures[] = {
    {"pdf"sv, {{{0, "%PDF"sv}}}},
    {"caj"sv, {{{0, "\xC8\x00\x00\x00"sv}}}},
    {"kdh"sv, {{{0, "CAJ\x00"sv}}}},
    {"kdh"sv, {{{0, "KDH "sv}}}},
    {"nh"sv, {{{0, "HN\x00\x00"sv}}}},
    {"tif"sv, {{{0, "\x49\x49\x2A\x00"sv}}}},
    {"rtf"sv, {{{0, "{\\rtf"sv}}}},
    {"exe"sv, {{{0, "MZ"sv}}}},
    {"rar"sv, {{{0, "Rar!"sv}}}},
    {"zip"sv, {{{0, "\x50\x4B\x03\x04\x14\x00\x00\x00\x08"sv}}}},
    // Spreadsheet and presentation packages with this header are typed "docx" too.
    {"docx"sv, {{{0, "\x50\x4B\x03\x04\x14\x00\x06\x00\x08\x00"sv}}}},
    {"swf"sv, {{{0, "CWS\x06"sv}}}},
    {"rm"sv, {{{0, ".RMF"sv}}}},
    {"wma"sv, {{{0, "\x30\x26\xB2\x75\x8E"sv}}}},
    {"mp3"sv, {{{0, "ID3\x03"sv}}}},
    {"png"sv, {{{0, "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A"sv}}}},
    // "GIF891" and 04, which GIF89a images do not match.
    {"gif"sv, {{{0, "\x47\x49\x46\x38\x39\x31\x04"sv}}}},
    {"jpg"sv, {{{0, "\xFF\xD8\xFF\xE1"sv}, {6, "Exif"sv}, {12, "\x4D\x4D\x00\x2A"sv}}}},
    {"jpg"sv, {{{0, "\xFF\xD8\xFF\xE0"sv}, {4, "\x00\x10"sv}, {6, "JFIF"sv}}}},
};

// Compound documents: the header, then the marker of the program that wrote them.
constexpr Run kCompoundHeader{0, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"sv};
constexpr Signature kCompoundKinds[] = {
    {"doc"sv, {{{512, "\xEC\xA5\xC1\x00"sv}}}},
    {"xls"sv, {{{512, "\x09\x08\x10\x00"sv}}}},
    {"ppt"sv, {{{515, "\xF0"sv}}}},
};
constexpr qsizetype kCompoundNeeds = 515;

bool Matches(const QByteArray& head, const Run& run) {
    return run.bytes.empty() ||
           QByteArrayView(head).sliced(run.offset, qsizetype(run.bytes.size())) ==
               QByteArrayView(run.bytes.data(), qsizetype(run.bytes.size()));
}

qsizetype LastPosition(const Signature& signature) {
    qsizetype last = 0;
    for (const Run& run : signature.runs) {
        if (!run.bytes.empty()) {
            last = std::max(last, run.last());
        }
    }
    return last;
}

bool Matches(const QByteArray& head, const Signature& signature) {
    for (const Run& run : signature.runs) {
        if (!Matches(head, run)) {
            return false;
        }
    }
    return true;
}

// The signature table over the head. Ends the judgement (`stop`) when a row needs a
// position the head does not hold.
QString TypeBySignature(const QByteArray& head, bool& stop) {
    for (const Signature& signature : kSignatures) {
        if (LastPosition(signature) >= head.size()) {
            stop = true;
            return {};
        }
        if (Matches(head, signature)) {
            return QString::fromLatin1(signature.type);
        }
    }
    if (kCompoundHeader.last() >= head.size()) {
        stop = true;
        return {};
    }
    if (!Matches(head, kCompoundHeader)) {
        return {};
    }
    if (kCompoundNeeds >= head.size()) {
        stop = true;
        return {};
    }
    for (const Signature& kind : kCompoundKinds) {
        if (Matches(head, kind)) {
            return QString::fromLatin1(kind.type);
        }
    }
    return {};
}

// Case-insensitive search in text read as Latin-1: every byte is one character and ASCII
// stays ASCII, so lower-casing the ASCII letters of both sides is enough.
std::string AsciiLower(const QByteArray& bytes) {
    std::string lower(bytes.constData(), size_t(bytes.size()));
    for (char& c : lower) {
        c = char(c + (static_cast<unsigned char>(c - 'A') < 26 ? 'a' - 'A' : 0));
    }
    return lower;
}

bool Contains(const std::string& lower, std::string_view marker) {
    return memmem(lower.data(), lower.size(), marker.data(), marker.size()) != nullptr;
}

bool LooksLikeHtml(const std::string& lower) {
    return (Contains(lower, "<html "sv) || Contains(lower, "html>"sv)) &&
           (Contains(lower, "<title>"sv) || Contains(lower, "<head>"sv) ||
            Contains(lower, "<body>"sv));
}

bool LooksLikeCaa(const std::string& lower) {
    for (const std::string_view key : {"a1="sv, "[target]"sv, "a2="sv, "b1="sv, "b2="sv, "c1="sv,
                                       "c2="sv, "d1="sv, "d2="sv, "doctype="sv}) {
        if (!Contains(lower, key)) {
            return false;
        }
    }
    return true;
}

}  // namespace

QString 打开文件判断文件类型(const QString& path) {
    FileReader reader;
    return 打开文件判断文件类型(path, reader);
}

QString 打开文件判断文件类型(const QString& path, FileReader& reader) {
    // Opening a regular file is the existence test, and nothing can change in between.
    if (!reader.open(LocalFilePath(path))) {
        return {};
    }
    qint64 length = reader.size();
    QByteArray head(qsizetype(std::min(length, kLastHeadPosition) + 1), '\0');
    const qint64 wanted = std::min<qint64>(length, head.size());
    const qint64 got = reader.read(0, head.data(), wanted);
    if (got < wanted) {
        // The file shrank since it was opened: judge what is there.
        length = got;
        head.resize(qsizetype(got) + 1);
        head[qsizetype(got)] = '\0';
    }

    bool stop = false;
    QString type = TypeBySignature(head, stop);
    if (stop) {
        reader.close();
        return {};
    }
    if (type.isEmpty() && length > kTagDistance) {
        char tail[kTailBytes];
        const qint64 tailGot = reader.read(length - kTagDistance, tail, kTailBytes);
        if (tailGot >= 3 && std::string_view(tail, 3) == "TAG"sv) {
            type = QStringLiteral("mp3");
        }
    }
    reader.close();
    if (type.isEmpty() && length < kHtmlBelow) {
        const std::string lower = AsciiLower(head);
        if (LooksLikeHtml(lower)) {
            type = QStringLiteral("htm");
        } else if (length < kCaaBelow && LooksLikeCaa(lower)) {
            // Under 3 KB the head already holds the whole file.
            type = QStringLiteral("caa");
        }
    }
    return type;
}
