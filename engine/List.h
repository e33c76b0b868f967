// The engine's linked list of untyped entries, with a cursor, a saved position and an
// index built on demand. The model check and the sort walk lists while removing from
// them, so the cursor rules of remove() are part of the engine's behaviour.
#ifndef VIREO_LIST_H
#define VIREO_LIST_H

#include <cstdint>
#include <vector>

class List {
public:
    List() = default;
    List(const List&) = delete;
    List& operator=(const List&) = delete;
    virtual ~List();

    void insert(void* v);
    int remove(void* v);
    void* first();
    void* last();
    void* next();
    void* prev();
    void* current() const;
    bool contains(void* v) const;
    void* operator[](unsigned i);
    void savePos();
    void restorePos();
    void clear();
    bool isEmpty() const { return length_ == 0; }
    unsigned length() const { return length_; }

private:
    struct Node {
        void* value;
        Node* prev;
        Node* next;
    };
    // The node of every entry of a long list, found by the entry, so that the model check
    // and the sort, which keep asking whether a block lies in a sub-model and taking
    // blocks out of long lists, need not walk them. Made at the first search of a long
    // list and kept up to date from then on; a list that holds an entry twice is walked
    // instead. Open addressing, so that an entry costs no allocation of its own: `slots` is
    // a power of two long, a null slot is free, and a removed node's slot holds a stand-in
    // that the search steps over.
    static constexpr std::uint32_t kSearchFrom = 16;
    struct Search {
        std::vector<Node*> slots;
        std::uint32_t taken = 0;  // slots that are not free, removed ones included
    };
    Node* find(const void* v) const;
    Node** slotOf(const void* v) const;
    void addToSearch(Node* n) const;
    void makeSearch(std::size_t slots) const;
    // False when the entry is there already: the list is walked from then on.
    bool enterInSearch(Node* n) const;

    Node* first_ = nullptr;
    Node* last_ = nullptr;
    Node* current_ = nullptr;
    std::uint32_t length_ = 0;
    Node* saved_ = nullptr;
    Node** index_ = nullptr;
    bool indexValid_ = false;
    mutable Search search_;
    mutable bool repeats_ = false;
};

// Typed view of a List. The list never owns what it points to.
template <class T>
class TList : public List {
public:
    ~TList() override { clear(); }
    void insert(T* v) { List::insert(v); }
    int remove(T* v) { return List::remove(v); }
    T* first() { return static_cast<T*>(List::first()); }
    T* last() { return static_cast<T*>(List::last()); }
    T* next() { return static_cast<T*>(List::next()); }
    T* prev() { return static_cast<T*>(List::prev()); }
    T* current() const { return static_cast<T*>(List::current()); }
    bool contains(T* v) const { return List::contains(v); }
    T* operator[](unsigned i) { return static_cast<T*>(List::operator[](i)); }
};

#endif
