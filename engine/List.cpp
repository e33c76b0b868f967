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
    if (!search_.slots.empty()) addToSearch(n);
}

namespace {

// Stands in the search slot of a removed node, so that the probes for other entries go on.
struct Gone {
    void* value = nullptr;
    void* prev = nullptr;
    void* next = nullptr;
} gone;

std::size_t hashOf(const void* v) {
    // Entries are objects of some bytes: the low bits carry little.
    const auto bits = reinterpret_cast<std::uintptr_t>(v) >> 4;
    return static_cast<std::size_t>(bits * 0x9E3779B97F4A7C15ull >> 16);
}

}  // namespace

List::Node** List::slotOf(const void* v) const {
    // The slot that holds the entry's node, or the free slot where the probe ended.
    const std::size_t mask = search_.slots.size() - 1;
    const Node* removed = reinterpret_cast<const Node*>(&gone);
    for (std::size_t k = hashOf(v) & mask;; k = (k + 1) & mask) {
        Node*& slot = search_.slots[k];
        if (slot == nullptr || (slot != removed && slot->value == v)) return &slot;
    }
}

void List::addToSearch(Node* n) const {
    // Made anew when half full (removed nodes count): the node is linked already.
    if ((search_.taken + 1) * 2 > search_.slots.size()) makeSearch(length_ * 4);
    else enterInSearch(n);
}

void List::makeSearch(std::size_t slots) const {
    std::size_t size = 1;
    while (size < slots) size <<= 1;
    search_.slots.assign(size, nullptr);
    search_.taken = 0;
    for (Node* n = first_; n != nullptr; n = n->next)
        if (!enterInSearch(n)) return;
}

bool List::enterInSearch(Node* n) const {
    Node** slot = slotOf(n->value);
    if (*slot != nullptr) {
        repeats_ = true;
        search_ = Search();
        return false;
    }
    *slot = n;
    ++search_.taken;
    return true;
}

List::Node* List::find(const void* v) const {
    if (search_.slots.empty() && !repeats_ && length_ >= kSearchFrom) makeSearch(length_ * 4);
    if (!search_.slots.empty()) return *slotOf(v);
    Node* n = first_;
    while (n != nullptr && n->value != v) n = n->next;
    return n;
}

int List::remove(void* v) {
    Node* n = find(v);
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
    if (!search_.slots.empty()) *slotOf(n->value) = reinterpret_cast<Node*>(&gone);
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

bool List::contains(void* v) const { return find(v) != nullptr; }

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
    search_ = Search();
    repeats_ = false;
}
