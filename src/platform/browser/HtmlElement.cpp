#include "platform/browser/HtmlElement.h"

#include <gumbo.h>

#include <QUrl>
#include <cstring>
#include <string>
#include <vector>

#include "platform/browser/HtmlDocument.h"
#include "platform/browser/HtmlElementList.h"
#include "platform/browser/HtmlTags.h"

namespace {

// Elements whose text is written as it is, without escapes, as browsers serialise it.
// Title and textarea are not among them: their text is escaped, though the tokenizer
// reads it as text.
bool isWrittenVerbatim(GumboTag tag) {
    switch (tag) {
        case GUMBO_TAG_SCRIPT:
        case GUMBO_TAG_STYLE:
        case GUMBO_TAG_XMP:
        case GUMBO_TAG_IFRAME:
        case GUMBO_TAG_NOEMBED:
        case GUMBO_TAG_NOFRAMES:
        case GUMBO_TAG_PLAINTEXT:
            return true;
        default:
            return false;
    }
}

bool isInvisible(GumboTag tag) {
    return tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE || tag == GUMBO_TAG_TEMPLATE ||
           tag == GUMBO_TAG_NOSCRIPT || tag == GUMBO_TAG_HEAD;
}

std::string tagNameOf(const GumboNode* node) {
    const GumboElement& element = node->v.element;
    if (element.tag != GUMBO_TAG_UNKNOWN) {
        return gumbo_normalized_tagname(element.tag);
    }
    GumboStringPiece piece = element.original_tag;
    gumbo_tag_from_original_text(&piece);
    std::string name(piece.data, piece.length);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = char(c - 'A' + 'a');
        }
    }
    return name;
}

void escape(std::string& out, const char* text, bool attribute) {
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        if (c == '&') {
            out += "&amp;";
        } else if (c == '\xC2' && p[1] == '\xA0') {
            out += "&nbsp;";
            ++p;
        } else if (attribute && c == '"') {
            out += "&quot;";
        } else if (!attribute && c == '<') {
            out += "&lt;";
        } else if (!attribute && c == '>') {
            out += "&gt;";
        } else {
            out += c;
        }
    }
}

// Visits a subtree in document order without recursion (the nesting may be deep):
// `enter` for every node, `leave` for every element after its children.
template <class Enter, class Leave>
void walk(const GumboNode* root, Enter enter, Leave leave) {
    struct Frame {
        const GumboNode* node;
        unsigned int child;
    };
    std::vector<Frame> stack;
    if (!enter(root)) {
        return;
    }
    stack.push_back({root, 0});
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const GumboVector& children = frame.node->v.element.children;
        if (frame.child >= children.length) {
            leave(frame.node);
            stack.pop_back();
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(children.data[frame.child++]);
        const bool element =
            child->type == GUMBO_NODE_ELEMENT || child->type == GUMBO_NODE_TEMPLATE;
        if (enter(child) && element) {
            stack.push_back({child, 0});
        }
    }
}

}  // namespace

// The serialisation of HTML fragments, in the form browsers give innerHTML and outerHTML.
class HtmlWriter {
  public:
    explicit HtmlWriter(const HtmlDocument& document) : document_(document) {}

    QString write(const GumboNode* root, bool outer) {
        walk(
            root, [&](const GumboNode* node) { return enter(node, outer || node != root); },
            [&](const GumboNode* node) {
                if (outer || node != root) {
                    leave(node);
                }
            });
        return QString::fromUtf8(out_.data(), qsizetype(out_.size()));
    }

  private:
    bool enter(const GumboNode* node, bool writeTag) {
        switch (node->type) {
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE:
                if (writeTag) {
                    startTag(node);
                }
                return true;
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_WHITESPACE: {
                const GumboNode* parent = node->parent;
                const bool raw = parent && parent->type == GUMBO_NODE_ELEMENT &&
                                 isWrittenVerbatim(parent->v.element.tag);
                if (raw) {
                    out_ += node->v.text.text;
                } else {
                    escape(out_, node->v.text.text, false);
                }
                return false;
            }
            case GUMBO_NODE_CDATA:
                out_ += "<![CDATA[";
                out_ += node->v.text.text;
                out_ += "]]>";
                return false;
            case GUMBO_NODE_COMMENT:
                out_ += "<!--";
                out_ += node->v.text.text;
                out_ += "-->";
                return false;
            default:
                return false;
        }
    }

    void startTag(const GumboNode* node) {
        const GumboElement& element = node->v.element;
        const int index = document_.indexOf(node);
        const auto value = document_.values_.constFind(index);
        const bool valueSet = index >= 0 && value != document_.values_.constEnd();
        out_ += '<';
        out_ += tagNameOf(node);
        for (unsigned int i = 0; i < element.attributes.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
            if (std::strcmp(attribute->name, HtmlDocument::kNumberAttribute) == 0 ||
                (valueSet && std::strcmp(attribute->name, "value") == 0)) {
                continue;
            }
            out_ += ' ';
            out_ += attribute->name;
            out_ += "=\"";
            escape(out_, attribute->value, true);
            out_ += '"';
        }
        if (valueSet) {
            out_ += " value=\"";
            escape(out_, value.value().toUtf8().constData(), true);
            out_ += '"';
        }
        out_ += '>';
    }

    void leave(const GumboNode* node) {
        if (!HtmlTags::isVoid(node->v.element.tag)) {
            out_ += "</";
            out_ += tagNameOf(node);
            out_ += '>';
        }
    }

    const HtmlDocument& document_;
    std::string out_;
};

namespace {

QString textOf(const GumboNode* root) {
    std::string out;
    bool blank = true;  // leading whitespace collapses away
    walk(
        root,
        [&](const GumboNode* node) {
            switch (node->type) {
                case GUMBO_NODE_ELEMENT:
                case GUMBO_NODE_TEMPLATE:
                    if (node->v.element.tag == GUMBO_TAG_BR) {
                        out += '\n';
                        blank = true;
                    }
                    return node == root || !isInvisible(node->v.element.tag);
                case GUMBO_NODE_TEXT:
                case GUMBO_NODE_WHITESPACE:
                case GUMBO_NODE_CDATA:
                    for (const char* p = node->v.text.text; *p; ++p) {
                        const char c = *p;
                        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
                            if (!blank) {
                                out += ' ';
                                blank = true;
                            }
                        } else {
                            out += c;
                            blank = false;
                        }
                    }
                    return false;
                default:
                    return false;
            }
        },
        [](const GumboNode*) {});
    if (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return QString::fromUtf8(out.data(), qsizetype(out.size()));
}

}  // namespace

QString HtmlElement::tagName() const {
    if (isNull()) {
        return {};
    }
    return QString::fromStdString(tagNameOf(document_->elements_[size_t(index_)].node)).toUpper();
}

QString HtmlElement::attribute(QStringView name) const {
    if (isNull()) {
        return {};
    }
    const QByteArray wanted = name.toUtf8().toLower();
    if (wanted == HtmlDocument::kNumberAttribute) {
        return {};
    }
    const GumboNode* node = document_->elements_[size_t(index_)].node;
    const GumboAttribute* found =
        gumbo_get_attribute(&node->v.element.attributes, wanted.constData());
    return found ? QString::fromUtf8(found->value) : QString();
}

bool HtmlElement::hasAttribute(QStringView name) const {
    if (isNull()) {
        return false;
    }
    const QByteArray wanted = name.toUtf8().toLower();
    const GumboNode* node = document_->elements_[size_t(index_)].node;
    return wanted != HtmlDocument::kNumberAttribute &&
           gumbo_get_attribute(&node->v.element.attributes, wanted.constData()) != nullptr;
}

QString HtmlElement::value() const {
    if (isNull()) {
        return {};
    }
    const auto set = document_->values_.constFind(index_);
    return set != document_->values_.constEnd() ? set.value() : attribute(u"value");
}

QString HtmlElement::innerText() const {
    return isNull() ? QString() : textOf(document_->elements_[size_t(index_)].node);
}

QString HtmlElement::innerHtml() const {
    return isNull()
               ? QString()
               : HtmlWriter(*document_).write(document_->elements_[size_t(index_)].node, false);
}

QString HtmlElement::outerHtml() const {
    return isNull() ? QString()
                    : HtmlWriter(*document_).write(document_->elements_[size_t(index_)].node, true);
}

QString HtmlElement::href() const {
    if (!hasAttribute(u"href")) {
        return {};
    }
    const QString target = attribute(u"href").trimmed();
    const QUrl url(target);
    if (!url.isRelative()) {
        return target;  // as written: the page's own escapes stay as they are
    }
    return document_->baseUrl().resolved(url).toString(QUrl::FullyEncoded);
}

HtmlElementList HtmlElement::elementsByTagName(QStringView tag) const {
    if (isNull()) {
        return {};
    }
    return document_->range(tag, index_ + 1, document_->elements_[size_t(index_)].end);
}

HtmlElement HtmlElement::parent() const {
    if (isNull()) {
        return {};
    }
    const int parent = document_->elements_[size_t(index_)].parent;
    return parent < 0 ? HtmlElement() : HtmlElement(document_, parent);
}

HtmlElement HtmlElement::closest(QStringView tag) const {
    for (HtmlElement element = *this; element; element = element.parent()) {
        if (element.tagName().compare(tag, Qt::CaseInsensitive) == 0) {
            return element;
        }
    }
    return {};
}

int HtmlElement::number() const {
    return isNull() ? -1 : document_->elements_[size_t(index_)].number;
}
