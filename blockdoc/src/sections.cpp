#include "sections.h"

#include <cerrno>
#include <string>

namespace blockdoc {

namespace {

void put(Page& page, std::string_view text) {
    if (!page.file) return;
    errno = 0;
    std::FILE* f = page.file.get();
    const bool ok = (text.empty() || std::fwrite(text.data(), 1, text.size(), f) == text.size()) &&
                    std::fputc('\n', f) != EOF;
    if (!ok && page.error == 0) page.error = errno != 0 ? errno : EIO;
}

void writeFlagged(std::span<const int> flags, std::span<Page> pages, std::string_view text) {
    for (std::size_t k = 0; k < pages.size(); ++k)
        if (flags[k] == 1) writeLine(pages[k], text);
}

std::string concat(std::initializer_list<std::string_view> parts) {
    std::string s;
    for (const auto p : parts) s += p;
    return s;
}

constexpr std::string_view kLayoutKeywords[][2] = {
    {"#Inputs", "\\item[{\\bf \\mblue{Inputs}}]"},
    {"#Outputs", "\\item[{\\bf \\mblue{Outputs}}]"},
    {"#Parameters", "\\item[{\\bf \\mblue{Parameters}}]"},
    {"#Strings", "\\item[{\\bf \\mblue{Strings}}]"},
    {"#Group", "\\item[{\\bf \\mblue{Group}}]"},
};

// A number right-aligned in a field of `width` columns; a wider number keeps all its digits.
std::string rightAligned(long value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), ' ');
    return digits;
}

}  // namespace

int openPage(Page& page) {
    errno = 0;
    page.file.reset(std::fopen(page.path.c_str(), "w"));
    if (!page.file) return errno != 0 ? errno : EIO;
    return 0;
}

void writeLine(Page& page, std::string_view text) {
    const auto end = text.find_last_not_of(' ');
    put(page, end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1));
}

void writeBlankLine(Page& page) { put(page, " "); }

int closePage(Page& page) {
    if (!page.file) return page.error;
    errno = 0;
    const int closed = std::fclose(page.file.release());
    if (closed != 0 && page.error == 0) page.error = errno != 0 ? errno : EIO;
    return page.error;
}

void writePageHead(Page& page, std::string_view headingWord, std::string_view name) {
    writeLine(page, concat({"\\msection{", headingWord, " ", name, "}\\label{", name, "}\\hypertarget{", name, "}{}"}));
    writeLine(page, concat({"\\mindex{", name, "}"}));
    writeLine(page, concat({"%\\pdfdest name {vireoBlock.", name, "} fit"}));
}

void writeClosingBlock(Page& page) {
    writeLine(page, "\\bigskip");
    writeLine(page, "");
    writeLine(page, "\\hrule");
}

void writeDescriptionInclude(Page& page, std::string_view lowerName) {
    writeBlankLine(page);
    writeLine(page, concat({"\\input{des/", lowerName, ".des}"}));
}

void addtext(std::span<const int> flags, std::span<Page> pages, Text& line, Source& source) {
    for (;;) {
        if (!source.read(line)) {
            line.fill(' ');
            return;
        }
        if (wordOf(line, 1).view().starts_with('#')) return;
        writeFlagged(flags, pages, trimmed(line));
    }
}

void addlayout(std::span<const int> flags, std::span<Page> pages, std::span<const std::string> names, Text& line,
               Source& source, std::string_view routineName) {
    for (std::size_t k = 0; k < pages.size(); ++k) {
        if (flags[k] != 1) continue;
        Page& page = pages[k];
        for (const std::string_view text : {"", "\\bigskip", "", "\\hrule", "", "\\begin{center}"})
            writeLine(page, text);
        writeLine(page, concat({"\\input{../pic/", lowerCase(names[k]), ".pic}"}));
        for (const std::string_view text : {"\\end{center}", "", "\\medskip", "", "\\hrule", "", "\\begin{layoutlist}"})
            writeLine(page, text);
        writeLine(page, concat({"\\item[{\\bf \\mblue{Name}}]        ", names[k]}));
        writeLine(page, concat({"\\item[{\\bf \\mblue{Function}}]    ", routineName}));
    }
    // Only a details line or another layout ends the box; everything else inside is either
    // a layout item or ignored.
    for (;;) {
        if (!source.read(line)) {
            line.fill(' ');
            break;
        }
        const Word first = wordOf(line, 1);
        if (first.view() == "#Details" || first.view() == "#Layout") break;
        const std::string_view text = trimmed(line);
        for (const auto& [keyword, item] : kLayoutKeywords) {
            if (first.view() == keyword) {
                writeFlagged(flags, pages, concat({item, text.substr(keyword.size())}));
                break;
            }
        }
    }
    for (const std::string_view text : {"\\end{layoutlist}", "", "\\medskip", "", "\\hrule", "", "\\bigskip", ""})
        writeFlagged(flags, pages, text);
}

void adddetail(std::span<const int> flags, std::span<Page> pages, Text& line, std::string_view itemKey,
               Language language, Source& source) {
    const Word group = wordOf(line, 1);
    const std::string_view label = group.view().substr(group.len > 0 ? 1 : 0);
    writeFlagged(flags, pages, concat({"\\mmarginlabel{", label, "}"}));
    writeFlagged(flags, pages, "%");
    writeFlagged(flags, pages, "\\begin{detaillist}");

    const char open = language == Language::fortran ? '(' : '[';
    const char close = language == Language::fortran ? ')' : ']';
    for (;;) {
        if (!source.read(line)) {
            line.fill(' ');
            break;
        }
        Word first;
        int status = 0;
        substr(1, line, first.text, first.len, status);  // left-justifies the line itself
        if (status != 0) first.len = 0;
        const std::string_view word = first.view();
        const std::string_view text = trimmed(line);

        if (word.starts_with("#None")) {
            writeFlagged(flags, pages, "\\item[] None");
            continue;
        }
        if (word.starts_with('#') && !word.starts_with(itemKey)) break;
        if (!word.starts_with(itemKey)) {
            writeFlagged(flags, pages, text);
            continue;
        }
        const auto o = text.find(open);
        const auto c = text.find(close);
        if (o == std::string_view::npos || c == std::string_view::npos || c < o) {
            writeFlagged(flags, pages, text);  // no bracket pair: an ordinary line, key and all
            continue;
        }
        const std::string_view itemLabel = text.substr(o + 1, c - o - 1);
        const std::string_view rest = text.substr(c + 1);
        long number = 0;
        // C++ counts its arrays from 0 and the reference from 1.
        if (language == Language::cpp && readLabelNumber(itemLabel, number))
            writeFlagged(flags, pages, concat({"\\item[", rightAligned(number + 1, 5), "]", rest}));
        else
            writeFlagged(flags, pages, concat({"\\item[", itemLabel, "]", rest}));
    }
    writeFlagged(flags, pages, "\\end{detaillist}");
    writeFlagged(flags, pages, "");
}

bool readLabelNumber(std::string_view label, long& value) {
    std::string compact;
    for (const char ch : label)
        if (ch != ' ') compact += ch;
    value = 0;
    if (compact.empty()) return true;
    bool negative = false;
    std::size_t i = 0;
    if (compact[0] == '+' || compact[0] == '-') {
        negative = compact[0] == '-';
        i = 1;
    }
    // Nine digits at most, so the value and the one added to it always fit.
    if (i == compact.size() || compact.size() - i > 9) return false;
    long v = 0;
    for (; i < compact.size(); ++i) {
        if (compact[i] < '0' || compact[i] > '9') return false;
        v = v * 10 + (compact[i] - '0');
    }
    value = negative ? -v : v;
    return true;
}

}  // namespace blockdoc
