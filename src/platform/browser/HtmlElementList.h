#pragma once

#include <memory>
#include <vector>

#include "platform/browser/HtmlElement.h"

// Elements of one tag name, in document order, from a document or from within one
// element. Holds the document alive.
class HtmlElementList {
  public:
    HtmlElementList() = default;
    HtmlElementList(std::shared_ptr<const HtmlDocument> document, const std::vector<int>* indexes,
                    qsizetype first, qsizetype last)
        : document_(std::move(document)), indexes_(indexes), first_(first), last_(last) {}

    int count() const { return int(last_ - first_); }
    bool isEmpty() const { return first_ == last_; }
    // The element at `position` (from 0); a null element outside the list.
    HtmlElement at(int position) const {
        if (position < 0 || position >= count()) {
            return {};
        }
        return HtmlElement(document_, (*indexes_)[size_t(first_ + position)]);
    }

    class const_iterator {
      public:
        const_iterator(const HtmlElementList* list, int position)
            : list_(list), position_(position) {}
        HtmlElement operator*() const { return list_->at(position_); }
        const_iterator& operator++() {
            ++position_;
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return position_ != other.position_; }

      private:
        const HtmlElementList* list_;
        int position_;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, count()}; }

  private:
    std::shared_ptr<const HtmlDocument> document_;
    const std::vector<int>* indexes_ = nullptr;
    qsizetype first_ = 0;
    qsizetype last_ = 0;
};
