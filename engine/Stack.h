// The engine's singly linked stack of untyped entries; it never owns what it points to.
#ifndef VIREO_STACK_H
#define VIREO_STACK_H

#include <cstdint>

class Stack {
public:
    Stack() = default;
    Stack(const Stack&) = delete;
    Stack& operator=(const Stack&) = delete;
    virtual ~Stack();

    void push(void* v);
    void* pop();
    void* current() const { return top_ != nullptr ? top_->value : nullptr; }
    void clear();
    bool isEmpty() const { return length_ == 0; }
    unsigned length() const { return length_; }

private:
    struct Node {
        void* value;
        Node* below;
    };
    Node* top_ = nullptr;
    std::uint32_t length_ = 0;
};

template <class T>
class TStack : public Stack {
public:
    ~TStack() override { clear(); }
    void push(T* v) { Stack::push(v); }
    T* pop() { return static_cast<T*>(Stack::pop()); }
    T* current() const { return static_cast<T*>(Stack::current()); }
};

#endif
