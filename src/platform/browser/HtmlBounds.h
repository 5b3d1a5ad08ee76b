#pragma once

#include <QByteArray>

// The limits within which pages are parsed. gumbo slows down quadratically on deep
// nesting, and a page is held in memory whole, so the markup is bounded before gumbo
// sees it: documents are cut after kMaxBytes, and start tags that would open more than
// kMaxDepth nested elements are dropped with their end tags (their content stays, one
// level up). Chromium's parser stops nesting at the same depth.
namespace HtmlBounds {

inline constexpr qsizetype kMaxBytes = 8 * 1024 * 1024;
inline constexpr int kMaxDepth = 512;

// The markup to parse: `html` itself when it is within the bounds (no copy).
QByteArray bounded(const QByteArray& html);

}  // namespace HtmlBounds
