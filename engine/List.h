// The engine's linked list of untyped entries, with a cursor, a saved position and an
// index built on demand. The model check and the sort walk lists while removing from
// them, so the cursor rules of remove() are part of the engine's behaviour.
#ifndef VIREO_LIST_H
#define VIREO_LIST_H

#include <cstdint>

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
    Node* first_ = nullptr;
    Node* last_ = nullptr;
    Node* current_ = nullptr;
    std::uint32_t length_ = 0;
    Node* saved_ = nullptr;
    Node** index_ = nullptr;
    bool indexValid_ = false;
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
