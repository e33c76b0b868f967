// Word and case routines over caller-owned, blank-padded texts whose length is the size of
// the span. Misuse comes back through a status integer: nothing is thrown, nothing is
// allocated, and the program goes on.
#ifndef BLOCKDOC_TEXT_ROUTINES_H
#define BLOCKDOC_TEXT_ROUTINES_H

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace blockdoc {

// Every source line, word and block name travels in a text of this length.
constexpr std::size_t kTextLength = 1023;
using Text = std::array<char, kTextLength>;

// Removes `set` characters: mode 0 both ends, 1 leading only, 2 trailing only. `in` and
// `out` may be the same text. status 1: lengths differ; 2: mode out of range.
void strip(std::span<const char> in, char set, int mode, std::span<char> out, int& len, int& status);

// ASCII upper-case letters to lower case; everything else is copied unchanged.
void uc2lc(std::span<const char> in, std::span<char> out, int& status);

// Word n (1-based, words separated by blanks only) of `in`, which is left-justified in
// place. status 1: lengths differ; 2: no such word.
void substr(int n, std::span<char> in, std::span<char> out, int& len, int& status);

// Characters before the first ")" among the first n of `text`; 0 when there is none.
void digits(std::span<const char> text, int n, int& count);

// Conveniences of the program over the routines above.
Text toText(std::string_view s);                 // blank-padded; longer input is cut
std::string_view trimmed(const Text& text);      // without blanks at either end
std::string lowerCase(std::string_view name);    // by uc2lc

// A word taken from a line, with its length; empty when the line has no such word.
struct Word {
    Text text{};
    int len = 0;
    std::string_view view() const { return {text.data(), static_cast<std::size_t>(len)}; }
};
Word wordOf(const Text& line, int n);  // the line itself is left as it is

}  // namespace blockdoc

#endif
