#include "source.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>
#include <utility>

namespace blockdoc {

namespace {

// The comment marker occupies the first two characters of a header line.
constexpr std::size_t kSkipped = 2;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

Source::Source(std::string path, Language language) : path_(std::move(path)), language_(language) {}

int Source::open() {
    errno = 0;
    file_.reset(std::fopen(path_.c_str(), "r"));
    if (!file_) return errno != 0 ? errno : ENOENT;
    return 0;
}

bool Source::read(Text& line) {
    if (!file_ || atEnd_) return false;

    // A line may be of any length; only what the page can use is kept, so an endless line
    // costs no memory.
    std::array<char, kSkipped + kTextLength> kept;
    std::size_t keptCount = 0;
    std::size_t physical = 0;
    char first = 0;
    char last = 0;
    char firstNonBlank = 0;
    char afterNonBlank = 0;
    bool seenNonBlank = false;
    bool takeNext = false;
    // C++ comment state, so that a header inside "/* ... */" counts as comment throughout.
    const bool startsInBlockComment = inBlockComment_;
    bool inLineComment = false;
    char previous = 0;

    int c = 0;
    errno = 0;
    while ((c = std::getc(file_.get())) != EOF && c != '\n') {
        const char ch = static_cast<char>(c);
        if (physical == 0) first = ch;
        if (takeNext) {
            afterNonBlank = ch;
            takeNext = false;
        }
        if (!seenNonBlank && !isBlank(ch)) {
            seenNonBlank = true;
            firstNonBlank = ch;
            takeNext = true;
        }
        char current = ch;
        if (language_ == Language::cpp && !inLineComment) {
            if (inBlockComment_ && previous == '*' && ch == '/') {
                inBlockComment_ = false;
                current = 0;
            } else if (!inBlockComment_ && previous == '/' && ch == '*') {
                inBlockComment_ = true;
                current = 0;
            } else if (!inBlockComment_ && previous == '/' && ch == '/') {
                inLineComment = true;
            }
        }
        previous = current;
        if (keptCount < kept.size()) kept[keptCount++] = ch;
        last = ch;
        ++physical;
    }
    if (c == EOF) {
        atEnd_ = true;
        if (std::ferror(file_.get())) {
            readError_ = errno != 0 ? errno : EIO;
            return false;
        }
        if (physical == 0) return false;  // the file ended with its last newline
    }
    if (last == '\r' && physical <= kept.size()) --keptCount;  // a line written with CR LF

    lastLineTooLong_ = physical > kSkipped + kTextLength + (last == '\r' ? 1 : 0);
    if (lastLineTooLong_ && inHeader_) {
        ++lineNumber_;
        refuse("header line longer than " + std::to_string(kTextLength) + " characters",
               std::string_view(kept.data() + kSkipped, 60));
        atEnd_ = true;
        return false;
    }
    line.fill(' ');
    if (keptCount > kSkipped) std::copy(kept.begin() + kSkipped, kept.begin() + keptCount, line.begin());
    ++lineNumber_;

    bool comment = false;
    if (language_ == Language::fortran)
        comment = first == 'c' || first == 'C' || first == '*' || first == '!' || firstNonBlank == '!';
    else
        comment = startsInBlockComment || (firstNonBlank == '/' && (afterNonBlank == '/' || afterNonBlank == '*'));
    lastLineIsCode_ = seenNonBlank && !comment;
    return true;
}

void Source::refuse(std::string message, std::string_view line, int lineNumber) {
    if (!refusal_.message.empty()) return;
    refusal_ = {std::move(message), lineNumber > 0 ? lineNumber : lineNumber_, std::string(line)};
}

}  // namespace blockdoc
