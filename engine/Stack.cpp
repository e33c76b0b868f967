#include "Stack.h"

Stack::~Stack() { clear(); }

void Stack::push(void* v) {
    top_ = new Node{v, top_};
    ++length_;
}

void* Stack::pop() {
    if (top_ == nullptr) return nullptr;
    Node* n = top_;
    void* v = n->value;
    top_ = n->below;
    delete n;
    --length_;
    return v;
}

void Stack::clear() {
    while (top_ != nullptr) pop();
}
