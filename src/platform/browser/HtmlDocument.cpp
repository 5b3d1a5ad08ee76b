#include "platform/browser/HtmlDocument.h"

#include <gumbo.h>

#include <cstring>

#include "platform/browser/HtmlBounds.h"

namespace {

// The tag name of an element in lower case; unknown tags by their original name.
QString tagKey(const GumboNode* node) {
    const GumboElement& element = node->v.element;
    if (element.tag != GUMBO_TAG_UNKNOWN) {
        return QString::fromLatin1(gumbo_normalized_tagname(element.tag));
    }
    GumboStringPiece piece = element.original_tag;
    gumbo_tag_from_original_text(&piece);
    return QString::fromUtf8(piece.data, qsizetype(piece.length)).toLower();
}

int numberOf(const GumboNode* node) {
    const GumboAttribute* attribute =
        gumbo_get_attribute(&node->v.element.attributes, HtmlDocument::kNumberAttribute);
    if (!attribute) {
        return -1;
    }
    bool ok = false;
    const int number = QByteArray(attribute->value).toInt(&ok);
    return ok && number >= 0 ? number : -1;
}

}  // namespace

std::shared_ptr<HtmlDocument> HtmlDocument::parse(const QByteArray& utf8, const QString& url,
                                                  bool numbered) {
    std::shared_ptr<HtmlDocument> document(
        new HtmlDocument(HtmlBounds::bounded(utf8), url, numbered));
    // Element handles need the shared owner, so the base is read once it exists.
    const HtmlElement base = document->elementsByTagName(u"base").at(0);
    if (base && base.hasAttribute(u"href")) {
        document->base_ = QUrl(url).resolved(QUrl(base.attribute(u"href").trimmed()));
    }
    return document;
}

std::shared_ptr<HtmlDocument> HtmlDocument::blank() {
    return parse(QByteArrayLiteral("<html><head></head><body></body></html>"),
                 QStringLiteral("about:blank"));
}

HtmlDocument::HtmlDocument(QByteArray source, QString url, bool numbered)
    : source_(std::move(source)), url_(std::move(url)), base_(url_) {
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;  // nobody reads them, and recording them costs time
    output_ = gumbo_parse_with_options(&options, source_.constData(), size_t(source_.size()));
    if (output_ && output_->root) {
        index(output_->root, numbered);
    }
}

HtmlDocument::~HtmlDocument() {
    if (output_) {
        gumbo_destroy_output(&kGumboDefaultOptions, output_);
    }
}

void HtmlDocument::index(const GumboNode* root, bool numbered) {
    // Depth-first in document order, without recursion: the nesting may be deep.
    struct Frame {
        const GumboNode* node;
        unsigned int child;
        int index;
    };
    std::vector<Frame> stack;
    elements_.push_back({root, -1, 0, numbered ? numberOf(root) : -1});
    stack.push_back({root, 0, 0});
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const GumboElement& element = frame.node->v.element;
        // The content of <noscript> and <template> is no part of the live page's tree.
        const bool opaque = element.tag == GUMBO_TAG_NOSCRIPT || element.tag == GUMBO_TAG_TEMPLATE;
        if (opaque || frame.child >= element.children.length) {
            elements_[size_t(frame.index)].end = int(elements_.size());
            stack.pop_back();
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(element.children.data[frame.child++]);
        if (child->type != GUMBO_NODE_ELEMENT && child->type != GUMBO_NODE_TEMPLATE) {
            continue;
        }
        const int index = int(elements_.size());
        const int number = numbered ? numberOf(child) : -1;
        elements_.push_back({child, frame.index, 0, number});
        if (number >= 0) {
            byNumber_.insert(number, index);
        }
        stack.push_back({child, 0, index});
    }
    if (numbered && elements_.front().number >= 0) {
        byNumber_.insert(elements_.front().number, 0);
    }
}

const std::vector<int>& HtmlDocument::tagIndex(QStringView tag) const {
    const QString key = tag.toString().toLower();
    const std::string name = key.toStdString();
    auto found = byTag_.find(name);
    if (found != byTag_.end()) {
        return found->second;
    }
    std::vector<int> indexes;
    const bool all = key == u"*";
    const GumboTag wanted = gumbo_tagn_enum(name.data(), unsigned(name.size()));
    for (int i = 0; i < int(elements_.size()); ++i) {
        const GumboNode* node = elements_[size_t(i)].node;
        const GumboTag tag = node->v.element.tag;
        if (all ||
            (wanted != GUMBO_TAG_UNKNOWN ? tag == wanted
                                         : tag == GUMBO_TAG_UNKNOWN && tagKey(node) == key)) {
            indexes.push_back(i);
        }
    }
    return byTag_.emplace(name, std::move(indexes)).first->second;
}

HtmlElementList HtmlDocument::range(QStringView tag, int first, int end) const {
    const std::vector<int>& indexes = tagIndex(tag);
    const auto from = std::lower_bound(indexes.begin(), indexes.end(), first);
    const auto to = std::lower_bound(from, indexes.end(), end);
    return HtmlElementList(shared_from_this(), &indexes, from - indexes.begin(),
                           to - indexes.begin());
}

QString HtmlDocument::title() const {
    return elementsByTagName(u"title").at(0).innerText().trimmed();
}

HtmlElement HtmlDocument::documentElement() const {
    return elements_.empty() ? HtmlElement() : HtmlElement(shared_from_this(), 0);
}

QString HtmlDocument::outerHtml() const {
    return documentElement().outerHtml();
}

HtmlElementList HtmlDocument::elementsByTagName(QStringView tag) const {
    return range(tag, 0, int(elements_.size()));
}

HtmlElement HtmlDocument::elementById(QStringView id) const {
    if (id.isEmpty()) {
        return {};
    }
    const QByteArray wanted = id.toUtf8();
    for (int i = 0; i < int(elements_.size()); ++i) {
        const GumboAttribute* attribute =
            gumbo_get_attribute(&elements_[size_t(i)].node->v.element.attributes, "id");
        if (attribute && std::strcmp(attribute->value, wanted.constData()) == 0) {
            return HtmlElement(shared_from_this(), i);
        }
    }
    return {};
}

HtmlElement HtmlDocument::elementByNumber(int number) const {
    const auto found = byNumber_.constFind(number);
    return found == byNumber_.constEnd() ? HtmlElement()
                                         : HtmlElement(shared_from_this(), found.value());
}

int HtmlDocument::indexOf(const GumboInternalNode* node) const {
    if (values_.isEmpty()) {
        return -1;
    }
    for (int i = 0; i < int(elements_.size()); ++i) {
        if (elements_[size_t(i)].node == node) {
            return i;
        }
    }
    return -1;
}

void HtmlDocument::setValue(const HtmlElement& element, const QString& value) {
    if (element.document() == this) {
        values_.insert(element.index(), value);
    }
}
