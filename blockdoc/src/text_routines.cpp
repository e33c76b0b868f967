#include "text_routines.h"

#include <algorithm>
#include <cstring>

namespace blockdoc {

namespace {

void fillBlanks(std::span<char> text, std::size_t from) {
    if (from < text.size()) std::memset(text.data() + from, ' ', text.size() - from);
}

// Moves count characters starting at `from` to the front of the text.
void moveToFront(std::span<char> text, std::size_t from, std::size_t count) {
    if (count > 0 && from > 0) std::memmove(text.data(), text.data() + from, count);
}

}  // namespace

void strip(std::span<const char> in, char set, int mode, std::span<char> out, int& len, int& status) {
    status = 0;
    len = static_cast<int>(out.size());
    if (in.size() != out.size()) {
        status = 1;
        return;
    }
    if (mode < 0 || mode > 2) {
        status = 2;
        return;
    }
    const std::size_t size = in.size();
    if (size > 0 && in.data() != out.data()) std::memmove(out.data(), in.data(), size);

    std::size_t first = 0;
    while (first < size && out[first] == set) ++first;
    if (first == size) {
        fillBlanks(out, 0);
        len = 0;
        return;
    }
    std::size_t last = size - 1;
    while (out[last] == set) --last;

    switch (mode) {
        case 0:
            moveToFront(out, first, last - first + 1);
            fillBlanks(out, last - first + 1);
            len = static_cast<int>(last - first + 1);
            break;
        case 1:
            moveToFront(out, first, size - first);
            fillBlanks(out, size - first);
            len = static_cast<int>(size - first);
            break;
        default:
            fillBlanks(out, last + 1);
            len = static_cast<int>(last + 1);
            break;
    }
}

void uc2lc(std::span<const char> in, std::span<char> out, int& status) {
    status = 0;
    if (in.size() != out.size()) {
        status = 1;
        return;
    }
    // Only the 26 letters of the basic alphabet: bytes of other characters pass unchanged.
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char c = in[i];
        out[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
}

void substr(int n, std::span<char> in, std::span<char> out, int& len, int& status) {
    status = 0;
    len = 0;
    if (in.size() != out.size()) {
        status = 1;
        return;
    }
    int lineLength = 0;
    int ignored = 0;
    strip(in, ' ', 0, in, lineLength, ignored);
    if (in.data() != out.data() && !in.empty()) std::memmove(out.data(), in.data(), in.size());
    if (lineLength == 0) {
        status = 2;
        return;
    }
    const auto lastNonBlank = static_cast<std::size_t>(lineLength);  // 1-based position L
    std::size_t start = 0;
    for (int k = 1;; ++k) {
        std::size_t blank = start;
        while (blank < in.size() && in[blank] != ' ') ++blank;
        if (k == n) {
            const std::size_t count = blank - start;
            if (count > 0) std::memmove(out.data(), in.data() + start, count);
            fillBlanks(out, count);
            len = static_cast<int>(count);
            return;
        }
        // The blank that ended word k, at 1-based position blank + 1, lies past the line.
        if (blank + 1 >= lastNonBlank) {
            status = 2;
            fillBlanks(out, 0);
            return;
        }
        start = blank;
        while (in[start] == ' ') ++start;
    }
}

void digits(std::span<const char> text, int n, int& count) {
    count = 0;
    const std::size_t limit = n > 0 ? std::min(static_cast<std::size_t>(n), text.size()) : 0;
    for (std::size_t i = 0; i < limit; ++i) {
        if (text[i] == ')') {
            count = static_cast<int>(i);
            return;
        }
    }
}

Text toText(std::string_view s) {
    Text text;
    text.fill(' ');
    std::copy_n(s.begin(), std::min(s.size(), text.size()), text.begin());
    return text;
}

std::string_view trimmed(const Text& text) {
    std::string_view v(text.data(), text.size());
    const auto first = v.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return v.substr(first, v.find_last_not_of(' ') - first + 1);
}

std::string lowerCase(std::string_view name) {
    const Text in = toText(name);
    Text out;
    int status = 0;
    uc2lc(in, out, status);
    return std::string(out.data(), std::min(name.size(), out.size()));
}

Word wordOf(const Text& line, int n) {
    Text copy = line;  // substr left-justifies its input
    Word word;
    int status = 0;
    substr(n, copy, word.text, word.len, status);
    if (status != 0) word.len = 0;
    return word;
}

}  // namespace blockdoc
