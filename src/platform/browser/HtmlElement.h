#pragma once

#include <QString>
#include <QStringView>
#include <memory>

class HtmlDocument;
class HtmlElementList;

// An element of a parsed page, as the document model of the browsers offers it. A
// light handle: it keeps its document alive, and a null element (from a lookup that
// found nothing) answers every question with the empty text.
class HtmlElement {
  public:
    HtmlElement() = default;
    HtmlElement(std::shared_ptr<const HtmlDocument> document, int index)
        : document_(std::move(document)), index_(index) {}

    bool isNull() const { return !document_; }
    explicit operator bool() const { return !isNull(); }
    const HtmlDocument* document() const { return document_.get(); }
    // Position in the document's elements (document order).
    int index() const { return index_; }
    bool operator==(const HtmlElement& other) const {
        return document_ == other.document_ && index_ == other.index_;
    }

    // The tag name in upper case, as the page's document model reports it ("DIV").
    QString tagName() const;
    // An attribute's value; empty when the element has none.
    QString attribute(QStringView name) const;
    bool hasAttribute(QStringView name) const;
    QString className() const { return attribute(u"class"); }
    QString id() const { return attribute(u"id"); }
    QString type() const { return attribute(u"type"); }
    QString name() const { return attribute(u"name"); }
    // An input's value: the one set through the browser, else its value attribute.
    QString value() const;

    // The rendered text: whitespace runs collapsed to one blank, <br> a line break;
    // scripts, styles and templates give nothing.
    QString innerText() const;
    QString innerHtml() const;
    QString outerHtml() const;
    // A link's target (href) resolved against the page's address; empty without href.
    QString href() const;

    // Elements of a tag name (any case; "*" for all) within this one, in document order.
    HtmlElementList elementsByTagName(QStringView tag) const;
    HtmlElement parent() const;
    // The nearest element of this one and its ancestors with that tag name.
    HtmlElement closest(QStringView tag) const;
    // The number the live page gave this element (the desktop browser's snapshot);
    // -1 when none.
    int number() const;

  private:
    std::shared_ptr<const HtmlDocument> document_;
    int index_ = -1;
};
