#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QUrl>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/browser/HtmlElement.h"
#include "platform/browser/HtmlElementList.h"

struct GumboInternalNode;
struct GumboInternalOutput;

// The document model both browsers share: a page parsed by gumbo (within the bounds
// of HtmlBounds), its elements numbered in document order.
//
// The content of <noscript> counts as text, as in a browser that runs scripts: its
// elements are not among the document's elements, so the headless browser and the
// desktop browser's live page offer the same ones.
class HtmlDocument : public std::enable_shared_from_this<HtmlDocument> {
  public:
    // Parses UTF-8 markup as the page at `url`. With `numbered`, elements carry the
    // number the live page gave them in the attribute kNumberAttribute, which the
    // document reads and hides.
    static std::shared_ptr<HtmlDocument> parse(const QByteArray& utf8, const QString& url,
                                               bool numbered = false);
    // The built-in empty page "about:blank".
    static std::shared_ptr<HtmlDocument> blank();
    static inline constexpr char kNumberAttribute[] = "data-orvellin-n";

    ~HtmlDocument();
    HtmlDocument(const HtmlDocument&) = delete;
    HtmlDocument& operator=(const HtmlDocument&) = delete;

    QString url() const { return url_; }
    // Where relative links of the page point from (<base href> or the address).
    QUrl baseUrl() const { return base_; }
    QString title() const;
    HtmlElement documentElement() const;
    // The outer markup of the document element.
    QString outerHtml() const;
    // Elements of a tag name (any case; "*" for all), in document order.
    HtmlElementList elementsByTagName(QStringView tag) const;
    // The first element with that id; a null element when there is none.
    HtmlElement elementById(QStringView id) const;
    // The element that carries the live page's number; a null element when none does.
    HtmlElement elementByNumber(int number) const;
    int elementCount() const { return int(elements_.size()); }

    // Keeps an input's value as the browser set it (the markup keeps its attribute).
    void setValue(const HtmlElement& element, const QString& value);

  private:
    friend class HtmlElement;
    friend class HtmlWriter;
    struct Element {
        const GumboInternalNode* node;
        int parent;  // index, -1 for the document element
        int end;     // one past the last index of its subtree
        int number;
    };

    HtmlDocument(QByteArray source, QString url, bool numbered);
    void index(const GumboInternalNode* root, bool numbered);
    // Indexes of the elements of a tag, built on first use.
    const std::vector<int>& tagIndex(QStringView tag) const;
    HtmlElementList range(QStringView tag, int first, int end) const;
    // The index of an element's node, looked up only while values are set.
    int indexOf(const GumboInternalNode* node) const;

    QByteArray source_;  // gumbo's nodes point into it
    GumboInternalOutput* output_ = nullptr;
    QString url_;
    QUrl base_;
    std::vector<Element> elements_;
    // Node-based: lists point into it while more tags are added.
    mutable std::unordered_map<std::string, std::vector<int>> byTag_;
    QHash<int, QString> values_;
    QHash<int, int> byNumber_;
};
