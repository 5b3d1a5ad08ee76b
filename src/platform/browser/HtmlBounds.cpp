#include "platform/browser/HtmlBounds.h"

#include <gumbo.h>

#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/browser/HtmlTags.h"

namespace {

bool isAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool startsWithNoCase(const char* at, const char* end, const char* word) {
    for (; *word; ++word, ++at) {
        if (at == end || lower(*at) != *word) {
            return false;
        }
    }
    return true;
}

// Elements whose start tag never opens a level that needs a matching end tag in the
// count: void elements (with "image", which the tree builder turns into "img", and
// "menuitem"), and elements whose end tag is optional (the tree builder closes them
// implicitly, so counting them would make sloppy pages look deep).
bool isUncounted(GumboTag tag) {
    if (HtmlTags::isVoid(tag)) {
        return true;
    }
    switch (tag) {
        case GUMBO_TAG_IMAGE:
        case GUMBO_TAG_MENUITEM:
        case GUMBO_TAG_HTML:
        case GUMBO_TAG_HEAD:
        case GUMBO_TAG_BODY:
        case GUMBO_TAG_P:
        case GUMBO_TAG_LI:
        case GUMBO_TAG_DT:
        case GUMBO_TAG_DD:
        case GUMBO_TAG_OPTION:
        case GUMBO_TAG_OPTGROUP:
        case GUMBO_TAG_TR:
        case GUMBO_TAG_TD:
        case GUMBO_TAG_TH:
        case GUMBO_TAG_TBODY:
        case GUMBO_TAG_THEAD:
        case GUMBO_TAG_TFOOT:
        case GUMBO_TAG_COLGROUP:
        case GUMBO_TAG_CAPTION:
        case GUMBO_TAG_RB:
        case GUMBO_TAG_RT:
        case GUMBO_TAG_RTC:
        case GUMBO_TAG_RP:
            return true;
        default:
            return false;
    }
}

// Elements whose content the tokenizer reads as text up to their own end tag (RCDATA,
// RAWTEXT and script data), so a tag inside them opens nothing. Title and textarea
// belong here though their text is escaped when written out; plaintext never ends.
bool isReadAsText(GumboTag tag) {
    switch (tag) {
        case GUMBO_TAG_SCRIPT:
        case GUMBO_TAG_STYLE:
        case GUMBO_TAG_TEXTAREA:
        case GUMBO_TAG_TITLE:
        case GUMBO_TAG_XMP:
        case GUMBO_TAG_IFRAME:
        case GUMBO_TAG_NOEMBED:
        case GUMBO_TAG_NOFRAMES:
            return true;
        default:
            return false;
    }
}

// Walks the tags of the markup the way the tokenizer sees them, well enough to count
// open elements, and records the tags to drop.
class DepthScan {
  public:
    DepthScan(const char* data, qsizetype size) : begin_(data), end_(data + size) {}

    std::vector<std::pair<qsizetype, qsizetype>> run() {
        const char* at = begin_;
        while (at < end_) {
            const auto* open = static_cast<const char*>(std::memchr(at, '<', size_t(end_ - at)));
            if (!open) {
                break;
            }
            at = tag(open);
        }
        return std::move(drops_);
    }

  private:
    const char* find(const char* from, const char* needle) const {
        const size_t length = std::strlen(needle);
        for (const char* p = from; p + length <= end_; ++p) {
            p = static_cast<const char*>(std::memchr(p, needle[0], size_t(end_ - p)));
            if (!p || p + length > end_) {
                return end_;
            }
            if (std::memcmp(p, needle, length) == 0) {
                return p;
            }
        }
        return end_;
    }

    // Past the '>' that closes the tag starting at `from`, honouring quoted values.
    const char* tagEnd(const char* from) const {
        char quote = 0;
        bool afterEquals = false;
        for (const char* p = from; p < end_; ++p) {
            const char c = *p;
            if (quote) {
                if (c == quote) {
                    quote = 0;
                }
            } else if (c == '>') {
                return p + 1;
            } else if (afterEquals && (c == '"' || c == '\'')) {
                quote = c;
                afterEquals = false;
            } else if (c == '=') {
                afterEquals = true;
            } else if (!isSpace(c)) {
                afterEquals = false;
            }
        }
        return end_;
    }

    // Handles the markup at '<' and gives where scanning goes on.
    const char* tag(const char* open) {
        const char* p = open + 1;
        if (p >= end_) {
            return end_;
        }
        if (*p == '!') {
            if (end_ - p >= 3 && p[1] == '-' && p[2] == '-') {
                const char* close = find(p + 3, "-->");
                return close == end_ ? end_ : close + 3;
            }
            return tagEnd(p);
        }
        if (*p == '?') {
            return tagEnd(p);
        }
        const bool closing = *p == '/';
        if (closing) {
            ++p;
        }
        if (p >= end_ || !isAsciiAlpha(*p)) {
            return open + 1;
        }
        std::array<char, 16> name{};
        size_t length = 0;
        const char* n = p;
        for (; n < end_ && !isSpace(*n) && *n != '/' && *n != '>'; ++n) {
            if (length < name.size()) {
                name[length] = lower(*n);
            }
            ++length;
        }
        const GumboTag tag = length <= name.size() ? gumbo_tagn_enum(name.data(), unsigned(length))
                                                   : GUMBO_TAG_UNKNOWN;
        const char* after = tagEnd(n);
        if (after == end_ && (after == begin_ || after[-1] != '>')) {
            return end_;  // cut inside the tag: gumbo drops it anyway
        }
        const bool selfClosing = after - 2 >= n && after[-2] == '/';
        if (closing) {
            endTag(tag, open, after);
            return after;
        }
        if (tag == GUMBO_TAG_PLAINTEXT) {
            return end_;
        }
        if (isReadAsText(tag)) {
            // Skip the text up to the element's own end tag, which ends nothing counted.
            for (const char* q = after; q < end_; ++q) {
                q = static_cast<const char*>(std::memchr(q, '<', size_t(end_ - q)));
                if (!q) {
                    return end_;
                }
                if (end_ - q > 2 && q[1] == '/' &&
                    startsWithNoCase(q + 2, end_, gumbo_normalized_tagname(tag))) {
                    return tagEnd(q + 2);
                }
            }
            return end_;
        }
        if (selfClosing || isUncounted(tag)) {
            return after;
        }
        if (open_.size() < size_t(HtmlBounds::kMaxDepth)) {
            open_.push_back(tag);
            ++openCount_[tag];
        } else {
            ++dropped_[tag];
            drops_.emplace_back(open - begin_, after - begin_);
        }
        return after;
    }

    void endTag(GumboTag tag, const char* open, const char* after) {
        if (dropped_[tag] > 0) {
            --dropped_[tag];
            drops_.emplace_back(open - begin_, after - begin_);
        } else if (openCount_[tag] > 0) {
            // Closes every element opened after the one it ends, as the tree builder does.
            while (!open_.empty()) {
                const GumboTag top = open_.back();
                open_.pop_back();
                --openCount_[top];
                if (top == tag) {
                    break;
                }
            }
        }
    }

    const char* begin_;
    const char* end_;
    std::vector<GumboTag> open_;
    std::array<int, GUMBO_TAG_LAST + 1> openCount_{};
    std::array<int, GUMBO_TAG_LAST + 1> dropped_{};
    std::vector<std::pair<qsizetype, qsizetype>> drops_;
};

// The start of `html` within kMaxBytes, not ending inside a UTF-8 sequence.
QByteArray cut(const QByteArray& html) {
    qsizetype size = HtmlBounds::kMaxBytes;
    for (int back = 0; back < 3 && size > 0 && (uchar(html.at(size)) & 0xC0) == 0x80; ++back) {
        --size;
    }
    return html.left(size);
}

}  // namespace

namespace HtmlBounds {

QByteArray bounded(const QByteArray& html) {
    const QByteArray source = html.size() > kMaxBytes ? cut(html) : html;
    const auto drops = DepthScan(source.constData(), source.size()).run();
    if (drops.empty()) {
        return source;
    }
    QByteArray out;
    out.reserve(source.size());
    qsizetype from = 0;
    for (const auto& [start, end] : drops) {
        out.append(source.constData() + from, start - from);
        from = end;
    }
    out.append(source.constData() + from, source.size() - from);
    return out;
}

}  // namespace HtmlBounds
