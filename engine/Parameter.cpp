#include "Parameter.h"

#include <climits>

namespace {

const String& emptyText() {
    static const String empty;
    return empty;
}

}  // namespace

Parameter::Parameter() = default;

Parameter::Parameter(const float& value) : kind_(kReal) { slot_.value = value; }

Parameter::Parameter(const String& text) : kind_(kString), text_(text) {}

Parameter::Parameter(const Constant* constant) { *this = constant; }

Parameter::Parameter(const Constant& constant) { *this = &constant; }

Parameter& Parameter::operator=(const Constant* constant) {
    kind_ = kUndefined;
    constant_ = 1;
    slot_.handle = constant;
    text_ = "";
    return *this;
}

Parameter& Parameter::operator=(const Constant& constant) { return *this = &constant; }

int Parameter::type() const {
    if (constant_ == 0) return kind_;
    return slot_.handle != nullptr ? slot_.handle->type() : kUndefined;
}

const float* Parameter::realValue() const {
    if (constant_ == 0) return &slot_.value;
    return slot_.handle != nullptr ? slot_.handle->realValue() : nullptr;
}

const String& Parameter::stringValue() const {
    if (constant_ == 0) return text_;
    return slot_.handle != nullptr ? slot_.handle->stringValue() : emptyText();
}

Constant::Constant(const String& name) : name_(name) {}

Constant::Constant(const String& name, const float& value) : name_(name) { *this = value; }

Constant::Constant(const String& name, const String& text) : name_(name) { *this = text; }

Constant& Constant::operator=(const float& value) {
    kind_ = kReal;
    slot_.value = value;
    return *this;
}

Constant& Constant::operator=(const String& text) {
    kind_ = kString;
    text_ = text;
    return *this;
}

BlockParameters::~BlockParameters() {
    for (Parameter* p = first(); p != nullptr; p = next()) delete p;
    clear();
}

void BlockParameterList::insert(BlockParameters* p) {
    TList<BlockParameters>::insert(p);
    if (p != nullptr) ++numbers_[p->blockNumber];
}

int BlockParameterList::remove(BlockParameters* p) {
    if (TList<BlockParameters>::remove(p) == 0) return 0;
    if (p != nullptr) {
        const auto n = numbers_.find(p->blockNumber);
        if (n != numbers_.end() && --n->second == 0) numbers_.erase(n);
    }
    return 1;
}

void BlockParameterList::clear() {
    TList<BlockParameters>::clear();
    numbers_.clear();
}

BlockParameters* BlockParameterList::get(int number) {
    if (!exists(number)) return nullptr;
    savePos();
    BlockParameters* found = nullptr;
    for (BlockParameters* p = first(); p != nullptr; p = next()) {
        if (p->blockNumber == number) {
            found = p;
            break;
        }
    }
    restorePos();
    return found;
}

bool leadingInt(const char* text, int& value) {
    const char* s = text;
    while (*s == ' ' || (*s >= '\t' && *s <= '\r')) ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') negative = *s++ == '-';
    long long v = 0;
    bool inRange = true;
    for (; *s >= '0' && *s <= '9'; ++s) {
        v = v * 10 + (*s - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) {
            inRange = false;
            v = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) v = -v;
    if (v > INT_MAX) {
        inRange = false;
        v = INT_MAX;
    }
    value = static_cast<int>(v);
    return inRange;
}

InsInOut::InsInOut(const String& text) {
    int n = 0;
    int m = 0;
    const unsigned point = text.charPos('.', 1);
    if (point > 0) {
        inRange_ = leadingInt(text.left(point - 1).buffer(), n);
        inRange_ = leadingInt(text.mid(point + 1, text.length()).buffer(), m) && inRange_;
        if (m == 0) m = 1;
    } else {
        inRange_ = leadingInt(text.buffer(), n);
        m = 1;
    }
    if (n < 0) {
        negate_ = 1;
        // -2147483648 reads as an int, but its block number would not.
        if (n == INT_MIN) {
            inRange_ = false;
            n = -INT_MAX;
        }
        blockNumber_ = -n;
    } else {
        blockNumber_ = n;
    }
    outputNumber_ = m;
}

InputList::~InputList() {
    for (Input* i = first(); i != nullptr; i = next()) delete i;
    clear();
}
