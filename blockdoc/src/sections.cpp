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

// The LaTeX a header may use: the commands of formulas and units in math mode, a few for
// type in text. Anything else (\input, \write, \def, \catcode ...) could read or write
// files or change how the rest of the reference is read, and is refused.
constexpr std::string_view kTextCommands[] = {
    "texttt", "textbf", "textit", "textrm", "textsf", "emph", "textsuperscript", "textsubscript", "ldots", "dots",
    "textdegree", "S", "ss",
};
constexpr std::string_view kMathCommands[] = {
    "alpha", "beta", "gamma", "delta", "epsilon", "varepsilon", "zeta", "eta", "theta", "vartheta", "iota", "kappa",
    "lambda", "mu", "nu", "xi", "pi", "varpi", "rho", "varrho", "sigma", "varsigma", "tau", "upsilon", "phi",
    "varphi", "chi", "psi", "omega", "Gamma", "Delta", "Theta", "Lambda", "Xi", "Pi", "Sigma", "Upsilon", "Phi",
    "Psi", "Omega", "circ", "cdot", "cdots", "ldots", "dots", "times", "div", "pm", "mp", "le", "leq", "ge", "geq",
    "ne", "neq", "approx", "sim", "simeq", "equiv", "propto", "infty", "partial", "nabla", "sum", "prod", "int",
    "sqrt", "frac", "dot", "ddot", "bar", "hat", "tilde", "vec", "overline", "mathrm", "mathit", "mathbf", "left",
    "right", "lfloor", "rfloor", "lceil", "rceil", "langle", "rangle", "sin", "cos", "tan", "sinh", "cosh", "tanh",
    "arcsin", "arccos", "arctan", "ln", "log", "exp", "max", "min", "lim", "to", "rightarrow", "leftarrow", "quad",
    "qquad", "prime",
};
// Characters a backslash may quote, in text and in math alike.
constexpr std::string_view kQuotedSymbols = "%#&_${},;! \\-|";

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

template <std::size_t N>
bool listed(const std::string_view (&list)[N], std::string_view word) {
    for (const auto w : list)
        if (w == word) return true;
    return false;
}

// One trimmed header line as LaTeX: the characters that LaTeX would read as markup where
// a header means them as text are quoted ("3 %" would cut the line, "A_B" stop the
// build), math between dollars is kept as written, and a command or a character that
// cannot be made safe refuses the line (nothing of it is written). `math` carries an
// open formula over to the next line of a text section.
std::string latexLine(std::string_view text, bool& math, Source& source) {
    std::string out;
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            if (i + 1 == text.size()) {
                source.refuse("a \\ that quotes nothing ends the line", text);
                return {};
            }
            if (isLetter(text[i + 1])) {
                std::size_t end = i + 1;
                while (end < text.size() && isLetter(text[end])) ++end;
                const std::string_view word = text.substr(i + 1, end - i - 1);
                if (!(math ? listed(kMathCommands, word) : listed(kTextCommands, word))) {
                    source.refuse(std::string("the LaTeX command \\") + std::string(word) + " is not one a header may use" +
                                      (math ? " in a formula" : " in text"),
                                  text);
                    return {};
                }
                out.append(text.substr(i, end - i));
                i = end - 1;
                continue;
            }
            if (kQuotedSymbols.find(text[i + 1]) == std::string_view::npos) {
                source.refuse(std::string("the LaTeX command \\") + text[i + 1] + " is not one a header may use", text);
                return {};
            }
            out.append(text.substr(i, 2));
            ++i;
            continue;
        }
        switch (c) {
            case '$': math = !math; out += c; break;
            case '{': ++depth; out += c; break;
            case '}':
                if (--depth < 0) {
                    source.refuse("a } that closes no {", text);
                    return {};
                }
                out += c;
                break;
            case '%': out += "\\%"; break;
            case '&': out += "\\&"; break;
            case '#': out += "\\#"; break;
            case '_': out += math ? "_" : "\\_"; break;
            case '^':
                // "^^" followed by two hex digits is any character to TeX, a backslash too.
                if (math && i + 1 < text.size() && text[i + 1] == '^') {
                    source.refuse("^^ in a formula", text);
                    return {};
                }
                out += math ? "^" : "\\^{}";
                break;
            case '<': out += math ? "<" : "\\textless{}"; break;
            case '>': out += math ? ">" : "\\textgreater{}"; break;
            case '|': out += math ? "|" : "\\textbar{}"; break;
            default: out += c; break;
        }
    }
    if (depth != 0) {
        source.refuse("a { that its line does not close", text);
        return {};
    }
    return out;
}

// A line that stands alone on the page: a formula must end on it.
std::string latexLine(std::string_view text, Source& source) {
    bool math = false;
    std::string out = latexLine(text, math, source);
    if (math) {
        source.refuse("a formula ($) that its line does not close", text);
        return {};
    }
    return out;
}

}  // namespace

std::string latexText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '_' || c == '%' || c == '&' || c == '#' || c == '$' || c == '{' || c == '}') out += '\\';
        out += c;
    }
    return out;
}

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
    // A formula may run over the lines of a paragraph, not past the section.
    bool math = false;
    std::string opened;
    int openedAt = 0;
    for (;;) {
        if (!source.read(line)) {
            line.fill(' ');
            break;
        }
        if (wordOf(line, 1).view().starts_with('#')) break;
        const std::string_view text = trimmed(line);
        const bool before = math;
        writeFlagged(flags, pages, latexLine(text, math, source));
        if (math && !before) {
            opened = text;
            openedAt = source.lineNumber();
        }
    }
    if (math) source.refuse("a formula ($) that its section does not close", opened, openedAt);
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
        writeLine(page, concat({"\\item[{\\bf \\mblue{Name}}]        ", latexText(names[k])}));
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
                writeFlagged(flags, pages, concat({item, latexLine(text.substr(keyword.size()), source)}));
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
            writeFlagged(flags, pages, latexLine(text, source));
            continue;
        }
        const auto o = text.find(open);
        const auto c = text.find(close);
        if (o == std::string_view::npos || c == std::string_view::npos || c < o) {
            writeFlagged(flags, pages, latexLine(text, source));  // no bracket pair: an ordinary line, key and all
            continue;
        }
        const std::string_view itemLabel = text.substr(o + 1, c - o - 1);
        const std::string rest = latexLine(text.substr(c + 1), source);
        long number = 0;
        // C++ counts its arrays from 0 and the reference from 1.
        if (language == Language::cpp && readLabelNumber(itemLabel, number))
            writeFlagged(flags, pages, concat({"\\item[", rightAligned(number + 1, 5), "]", rest}));
        else
            writeFlagged(flags, pages, concat({"\\item[", latexLine(itemLabel, source), "]", rest}));
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
