// A text of fixed capacity, made in place without allocating (a longer text is cut): what
// a signal handler may build a message in. It offers what a std::string offers to the
// code that composes a message, so one composer serves both.
#ifndef VIREO_TOOLS_FIXED_TEXT_H
#define VIREO_TOOLS_FIXED_TEXT_H

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace vireo_tools {

template <std::size_t Capacity>
class FixedText {
public:
    void append(std::string_view s) {
        const std::size_t n = std::min(s.size(), Capacity - size_);
        std::memcpy(text_ + size_, s.data(), n);
        size_ += n;
    }
    void push_back(char c) { append(std::string_view(&c, 1)); }
    void pop_back() { --size_; }
    void resize(std::size_t n) { size_ = std::min(n, size_); }
    char back() const { return text_[size_ - 1]; }
    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }
    operator std::string_view() const { return {text_, size_}; }

private:
    char text_[Capacity];
    std::size_t size_ = 0;
};

}  // namespace vireo_tools

#endif
