#pragma once

#include <QString>
#include <functional>
#include <optional>

class HtmlDocument;

// The rules that turn the engine's result page into result entries: result blocks by
// class, the real address out of the engine's redirect link, the type from the
// address, the title cleaned, sharing sites refused.
namespace ResultPageRules {

inline const QString kVerificationText =
    QStringLiteral("您的访问过于频繁，为确认本次访问为正常用户行为，需要您协助验证");

struct Options {
    bool removeBlanks = true;      // Check1
    bool knownTypesOnly = true;    // Check2
    bool removeSourceSite = true;  // Check12
};

struct Entry {
    QString title;
    QString link;
    QString type;
};

enum class PageKind { Results, Verification, NoDocument };

// Walks the document's result blocks in document order and hands every accepted
// result to `add`. `options` is asked anew for every result block. On the
// verification page nothing is added.
PageKind Walk(const HtmlDocument* document, const std::function<Options()>& options,
              const std::function<void(const Entry&)>& add);

// The percent-decoding of a redirect target: escapes below 128 are characters; the
// escaped bytes are read as UTF-8 when they form valid UTF-8, else as GBK pairs, and a
// lead escape not followed by "%" ends the text there. Nothing when a "%" is not
// followed by two hexadecimal digits.
std::optional<QString> DecodeRedirectTarget(const QString& text);

// "pdf", "doc", "xls", "ppt" or "txt" from the end of a link; empty otherwise.
QString TypeOfLink(const QString& link);

}  // namespace ResultPageRules
