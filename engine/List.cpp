#include "List.h"

List::~List() { clear(); }

void List::insert(void* v) {
    Node* n = new Node{v, nullptr, nullptr};
    if (first_ == nullptr) {
        first_ = last_ = n;
    } else {
        Node* after = current_ != nullptr ? current_ : last_;
        n->prev = after;
        n->next = after->next;
        if (after->next != nullptr) after->next->prev = n;
        else last_ = n;
        after->next = n;
    }
    current_ = n;
    ++length_;
    indexValid_ = false;
}

int List::remove(void* v) {
    Node* n = first_;
    while (n != nullptr && n->value != v) n = n->next;
    if (n == nullptr) return 0;
    const bool wasCurrent = n == current_;
    if (length_ == 1) {
        first_ = last_ = current_ = nullptr;
    } else if (n == first_) {
        first_ = n->next;
        first_->prev = nullptr;
        if (wasCurrent) current_ = first_;
    } else if (n == last_) {
        last_ = n->prev;
        last_->next = nullptr;
        if (wasCurrent) current_ = nullptr;
    } else {
        n->prev->next = n->next;
        n->next->prev = n->prev;
        if (wasCurrent) current_ = n->next;
    }
    if (saved_ == n) saved_ = nullptr;
    delete n;
    --length_;
    indexValid_ = false;
    return 1;
}

void* List::first() {
    current_ = first_;
    return current_ != nullptr ? current_->value : nullptr;
}

void* List::last() {
    current_ = last_;
    return current_ != nullptr ? current_->value : nullptr;
}

void* List::next() {
    if (current_ == nullptr || current_->next == nullptr) return nullptr;
    current_ = current_->next;
    return current_->value;
}

void* List::prev() {
    if (current_ == nullptr || current_->prev == nullptr) return nullptr;
    current_ = current_->prev;
    return current_->value;
}

void* List::current() const { return current_ != nullptr ? current_->value : nullptr; }

bool List::contains(void* v) const {
    for (Node* n = first_; n != nullptr; n = n->next)
        if (n->value == v) return true;
    return false;
}

void* List::operator[](unsigned i) {
    if (i == 0 || i > length_) return nullptr;
    if (!indexValid_) {
        delete[] index_;
        index_ = new Node*[length_];
        unsigned k = 0;
        for (Node* n = first_; n != nullptr; n = n->next) index_[k++] = n;
        indexValid_ = true;
    }
    return index_[i - 1]->value;
}

void List::savePos() { saved_ = current_; }

void List::restorePos() { current_ = saved_; }

void List::clear() {
    for (Node* n = first_; n != nullptr;) {
        Node* following = n->next;
        delete n;
        n = following;
    }
    first_ = last_ = current_ = saved_ = nullptr;
    length_ = 0;
    delete[] index_;
    index_ = nullptr;
    indexValid_ = false;
}
