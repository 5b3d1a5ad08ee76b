#include "platform/text/Gbk.h"

#include <iconv.h>

#include <array>
#include <vector>

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr int kOutsideGbkBytes = 4;

// Both directions of the code page, built once from glibc's CP936 converter.
class Tables {
  public:
    Tables() : toGbk_(0x10000, 0) {
        decodeOne_.fill(0);
        iconv_t cd = iconv_open("UTF-16LE", "CP936");
        if (cd == iconv_t(-1)) {
            return;
        }
        for (int b = 0x80; b <= 0xFF; ++b) {
            const char16_t c = convert(cd, {char(b)});
            if (c) {
                decodeOne_[size_t(b - 0x80)] = c;
                toGbk_[c] = quint16(b);
            }
        }
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                const char16_t c = convert(cd, {char(lead), char(trail)});
                if (c) {
                    pairs_[pairIndex(lead, trail)] = c;
                    if (!toGbk_[c]) {
                        toGbk_[c] = quint16(lead << 8 | trail);
                    }
                }
            }
        }
        iconv_close(cd);
    }

    char16_t single(unsigned char b) const { return b < 0x80 ? b : decodeOne_[b - 0x80]; }
    char16_t pair(unsigned char lead, unsigned char trail) const {
        if (lead < 0x81 || lead > 0xFE || trail < 0x40 || trail > 0xFE) {
            return 0;
        }
        return pairs_[pairIndex(lead, trail)];
    }
    static bool isLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
    // The GBK code of a BMP character: one byte below 0x100, else lead << 8 | trail; 0 none.
    quint16 code(char16_t c) const { return c < 0x80 ? c : toGbk_[c]; }

  private:
    static size_t pairIndex(int lead, int trail) {
        return size_t((lead - 0x81) * 191 + (trail - 0x40));
    }

    static char16_t convert(iconv_t cd, std::initializer_list<char> in) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        std::array<char, 2> source{};
        std::copy(in.begin(), in.end(), source.begin());
        char out[8];
        char* ip = source.data();
        size_t il = in.size();
        char* op = out;
        size_t ol = sizeof out;
        if (iconv(cd, &ip, &il, &op, &ol) == size_t(-1) || il != 0 || sizeof out - ol != 2) {
            return 0;
        }
        return char16_t(uchar(out[0]) | uchar(out[1]) << 8);
    }

    std::array<char16_t, 128> decodeOne_;
    std::array<char16_t, 126 * 191> pairs_{};
    std::vector<quint16> toGbk_;
};

const Tables& tables() {
    static const Tables instance;
    return instance;
}

// GBK bytes of the character starting at text[i]; `units` gets its UTF-16 length.
int charBytes(const QString& text, qsizetype i, int& units) {
    const char16_t c = text.at(i).unicode();
    units = 1;
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        units = 2;
        return kOutsideGbkBytes;
    }
    const quint16 code = tables().code(c);
    if (!code && c != 0) {
        return kOutsideGbkBytes;
    }
    return code > 0xFF ? 2 : 1;
}

}  // namespace

namespace Gbk {

QByteArray encode(const QString& text) {
    QByteArray out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            out.append('?');
            continue;
        }
        const quint16 code = tables().code(c);
        if (c == 0) {
            out.append('\0');
        } else if (!code) {
            out.append('?');
        } else if (code > 0xFF) {
            out.append(char(code >> 8));
            out.append(char(code & 0xFF));
        } else {
            out.append(char(code));
        }
    }
    return out;
}

QString decode(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    const Tables& t = tables();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = uchar(bytes.at(i));
        if (Tables::isLead(b) && i + 1 < bytes.size()) {
            const auto trail = uchar(bytes.at(i + 1));
            if (const char16_t c = t.pair(b, trail)) {
                out.append(QChar(c));
                ++i;
                continue;
            }
            if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) {
                // A well-formed pair without a character: one replacement for both bytes.
                out.append(QChar(kReplacement));
                ++i;
                continue;
            }
        }
        const char16_t c = t.single(b);
        out.append(QChar(c || b == 0 ? c : kReplacement));
    }
    return out;
}

qsizetype byteLength(const QString& text) {
    qsizetype total = 0;
    for (qsizetype i = 0; i < text.size();) {
        int units = 1;
        total += charBytes(text, i, units);
        i += units;
    }
    return total;
}

QString cutToBytes(const QString& text, qsizetype maxBytes) {
    qsizetype total = 0;
    for (qsizetype i = 0; i < text.size();) {
        int units = 1;
        total += charBytes(text, i, units);
        if (total > maxBytes) {
            return text.left(i);
        }
        i += units;
    }
    return text;
}

QString decodePair(unsigned char lead, unsigned char trail) {
    const char16_t c = tables().pair(lead, trail);
    return c ? QString(QChar(c)) : QString();
}

}  // namespace Gbk
