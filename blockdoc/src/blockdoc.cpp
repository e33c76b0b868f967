// blockdoc: turns the comment header of one block source file into LaTeX pages of the
// block reference, one page per block name the header declares.
//
//   blockdoc SOURCE.f|SOURCE.cpp [PREFIX]
//
// The frame below reads the header part by part and routes each section to the pages it
// belongs to; the section writers in sections.cpp write the lines of a page.
#include "sections.h"
#include "source.h"
#include "text_routines.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace blockdoc;

constexpr int kMaxNames = 50;
constexpr int kFailed = 1;  // exit status of every run that stopped on an error

// Block keywords with the heading word each gives the page.
constexpr std::string_view kBlockKeywords[][2] = {
    {"#Block", "Block"},     {"#_Subroutine", "_Subroutine"}, {"#DEPRECATED", "DEPRECATED"},
    {"#Program", "Program"}, {"#Main", "Main"},               {"#Name", "Name"},
};

// Detail groups with their item keys for Fortran and for C++.
constexpr std::string_view kDetailGroups[][3] = {
    {"#Inputs", "#IN(", "#IN["},
    {"#Outputs", "#OUT(", "#OUT["},
    {"#Parameters", "#BP(", "#BP["},
    {"#Strings", "#SP(", "#SP["},
};

constexpr std::string_view kDescriptionDirectory = "../vireoBlockReference/des/";

// Every line on standard output begins with one blank.
void say(std::string_view text) {
    std::fputc(' ', stdout);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

std::string str(std::initializer_list<std::string_view> parts) {
    std::string s;
    for (const auto p : parts) s += p;
    return s;
}

std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

struct BlockName {
    std::string name;
    std::string lower;  // the name in the page's file name
    int lineNumber = 0;
    std::string line;   // the header line that declared it, for messages
};

class Run {
public:
    Run(std::string_view path, std::string_view prefix, Language language, std::string_view routineName)
        : source_(std::string(path), language), prefix_(prefix), language_(language), routineName_(routineName) {}

    int execute();

private:
    // The offending line under an error or warning: file, line number and the line as read.
    void showLine(int lineNumber, std::string_view line) {
        say(str({source_.path(), ":", std::to_string(lineNumber), ": ", trimBlanks(line)}));
    }
    int fail(std::string_view message) {
        say(message);
        showLine(source_.lineNumber(), trimmed(line_));
        return kFailed;
    }
    int failAtName(std::string_view message, const BlockName& n) {
        say(message);
        showLine(n.lineNumber, n.line);
        return kFailed;
    }

    bool findBlockLine();
    int collectNames();
    int addNames(int firstWord);
    int openPages();
    int writeSections();
    void includeDescriptions();
    int finish(int status);

    bool firstWordIs(std::string_view keyword) const { return wordOf(line_, 1).view() == keyword; }
    void clearFlags() { flags_.assign(names_.size(), 0); }

    // Routing: kUnnamed for a section line without a second word, kNotFound for a name
    // that no block declares, else the index of the named page.
    static constexpr int kUnnamed = -1;
    static constexpr int kNotFound = -2;
    int route() const;

    // Calls the writer for the routed section: one page, or every page not yet served.
    template <typename Writer>
    void writeRouted(int k, Writer&& writer) {
        if (k == kUnnamed) {
            for (int& f : flags_) f = 1 - f;
            writer(std::span<const int>(flags_), std::span<Page>(pages_), std::span<const std::string>(pageNames_));
        } else {
            flags_[k] = 1;
            writer(std::span<const int>(&flags_[k], 1), std::span<Page>(&pages_[k], 1),
                   std::span<const std::string>(&pageNames_[k], 1));
        }
    }

    Source source_;
    std::string prefix_;
    Language language_;
    std::string routineName_;
    Text line_{};
    std::string_view headingWord_;
    std::vector<BlockName> names_;
    std::vector<std::string> pageNames_;  // the names again, parallel to the pages
    std::vector<Page> pages_;
    std::vector<int> flags_;
};

int Run::execute() {
    if (const int error = source_.open(); error != 0) {
        say(str({"Error: cannot open source file ", source_.path(), " (", std::strerror(error), ")"}));
        return kFailed;
    }
    const bool found = findBlockLine();
    source_.startHeader();
    if (found && source_.lastLineTooLong()) {
        source_.refuse("header line longer than " + std::to_string(kTextLength) + " characters", trimmed(line_));
        return finish(kFailed);
    }
    if (!found) {
        // A source that declares no block gets no page: a build that asked for its page
        // must not take the silence for success. A source that could not be read to its
        // end says so in finish() instead.
        if (source_.readError() == 0)
            say(str({"Error: no block line (#Block NAME ...) in source file ", source_.path()}));
        return finish(kFailed);
    }
    if (const int status = collectNames(); status != 0) return finish(status);
    if (const int status = openPages(); status != 0) return finish(status);
    const int status = writeSections();
    if (status == 0) includeDescriptions();
    return finish(status);
}

bool Run::findBlockLine() {
    line_.fill(' ');
    while (source_.read(line_)) {
        const Word first = wordOf(line_, 1);
        for (const auto& [keyword, heading] : kBlockKeywords) {
            if (first.view() == keyword) {
                headingWord_ = heading;
                return true;
            }
        }
    }
    return false;
}

int Run::addNames(int firstWord) {
    for (int k = firstWord;; ++k) {
        const Word word = wordOf(line_, k);
        if (word.len == 0) return 0;
        std::string_view name = word.view();
        if (name.ends_with(',')) name.remove_suffix(1);  // "#Block HXC, HXCN"
        BlockName n{std::string(name), lowerCase(name), source_.lineNumber(), std::string(trimmed(line_))};
        if (name.empty()) {
            say("Warning: empty block name skipped");
            showLine(n.lineNumber, n.line);
            continue;
        }
        if (names_.size() == kMaxNames) return failAtName(str({"Error: more than ", std::to_string(kMaxNames), " block names"}), n);
        // The name becomes part of a file name: no directory separators, no control characters.
        for (const char c : name) {
            if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
                return failAtName(str({"Error: block name ", name, " cannot be part of a file name"}), n);
        }
        // The name is also a LaTeX label and link target: "{", "}", "%" or "$" in it would
        // break the whole reference.
        for (const char c : name) {
            const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                               c == '_' || c == '+' || c == '-' || c == '.';
            if (!plain)
                return failAtName(str({"Error: block name ", name, " may hold only letters, digits and _ + - ."}), n);
        }
        for (const auto& other : names_) {
            if (other.lower == n.lower)
                return failAtName(str({"Error: block names ", other.name, " and ", n.name, " share the page ",
                                       n.lower, ".tex"}),
                                  n);
        }
        names_.push_back(std::move(n));
    }
}

int Run::collectNames() {
    if (const int status = addNames(2); status != 0) return status;
    for (;;) {
        if (!source_.read(line_)) {
            // The file ended with the names: their pages are still written, head to end.
            line_.fill(' ');
            return 0;
        }
        // A header that never closes its name list ends where the code begins; code words
        // are no block names.
        if (source_.lastLineIsCode()) return 0;
        if (wordOf(line_, 1).view().starts_with('#')) return 0;
        if (const int status = addNames(1); status != 0) return status;
    }
}

int Run::openPages() {
    pages_.resize(names_.size());
    for (const auto& n : names_) pageNames_.push_back(n.name);
    flags_.assign(names_.size(), 0);
    for (std::size_t k = 0; k < names_.size(); ++k) {
        Page& page = pages_[k];
        page.path = prefix_ + names_[k].lower + ".tex";
        say(str({"Writing output to ", page.path}));
        if (const int error = openPage(page); error != 0) {
            say(str({"Error: cannot create ", page.path, " (", std::strerror(error), ")"}));
            return kFailed;
        }
        writePageHead(page, headingWord_, names_[k].name);
    }
    return 0;
}

int Run::route() const {
    const Word second = wordOf(line_, 2);
    if (second.len == 0) return kUnnamed;
    for (std::size_t k = 0; k < names_.size(); ++k)
        if (names_[k].name == second.view()) return static_cast<int>(k);
    return kNotFound;
}

int Run::writeSections() {
    auto text = [this](auto flags, auto pages, auto) { addtext(flags, pages, line_, source_); };

    // Named descriptions first; an unnamed one serves the rest and is the last.
    while (firstWordIs("#Description")) {
        const int k = route();
        if (k == kNotFound) return fail("Error: description subtopic not found");
        writeRouted(k, text);
        if (k == kUnnamed) break;
    }
    clearFlags();

    while (firstWordIs("#Layout")) {
        const int k = route();
        if (k == kNotFound) return fail("Error: layout subtopic not found");
        writeRouted(k, [this](auto flags, auto pages, auto names) {
            addlayout(flags, pages, names, line_, source_, routineName_);
        });
        if (k == kUnnamed) break;
    }
    clearFlags();

    if (firstWordIs("#Details")) {
        if (!source_.read(line_)) return 0;  // the file ends here: only the includes follow
        std::string_view previousKey;
        for (;;) {
            const Word first = wordOf(line_, 1);
            std::string_view itemKey;
            for (const auto& group : kDetailGroups)
                if (first.view() == group[0]) itemKey = group[language_ == Language::fortran ? 1 : 2];
            if (itemKey.empty()) break;
            // Served flags speak of one run of groups of the same kind.
            if (itemKey != previousKey) clearFlags();
            previousKey = itemKey;
            const int k = route();
            if (k == kNotFound) return fail("Error: description subtopic not found");
            writeRouted(k, [&](auto flags, auto pages, auto) {
                adddetail(flags, pages, line_, itemKey, language_, source_);
            });
        }
    }

    for (Page& page : pages_) writeClosingBlock(page);
    clearFlags();

    while (!firstWordIs("#Remarks") && !firstWordIs("#end"))
        if (!source_.read(line_)) return 0;

    while (firstWordIs("#Remarks")) {
        const int k = route();
        if (k == kNotFound) return fail("Error: remark subtopic not found");
        writeRouted(k, [this](auto flags, auto pages, auto) {
            for (std::size_t i = 0; i < pages.size(); ++i)
                if (flags[i] == 1) writeLine(pages[i], "\\mmarginlabel{Remarks}");
            addtext(flags, pages, line_, source_);
        });
        if (k == kUnnamed) break;
    }
    return 0;
}

void Run::includeDescriptions() {
    for (std::size_t k = 0; k < names_.size(); ++k) {
        const std::string path = str({kDescriptionDirectory, names_[k].lower, ".des"});
        if (std::FILE* f = std::fopen(path.c_str(), "r")) {
            std::fclose(f);
            writeDescriptionInclude(pages_[k], names_[k].lower);
        }
    }
}

// Closes every page and settles the exit status: a page that lost a line, or a source
// that could not be read to its end, makes the run a failure.
int Run::finish(int status) {
    if (const auto& refusal = source_.refusal(); !refusal.message.empty()) {
        say(str({"Error: ", refusal.message}));
        showLine(refusal.lineNumber, refusal.line);
        status = kFailed;
    }
    for (Page& page : pages_) {
        if (const int error = closePage(page); error != 0) {
            say(str({"Error: cannot write ", page.path, " (", std::strerror(error), ")"}));
            status = kFailed;
        }
    }
    if (source_.readError() != 0) {
        say(str({"Error: cannot read source file ", source_.path(), " (", std::strerror(source_.readError()), ")"}));
        status = kFailed;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    say("This is blockdoc Version 6.1 (June 2021)");

    const std::string_view path = trimBlanks(argc > 1 ? argv[1] : "");
    const std::string_view prefix = trimBlanks(argc > 2 ? argv[2] : "");
    if (path.empty()) {
        say("Usage: blockdoc SOURCE [PREFIX]");
        say("Writes one LaTeX page of the block reference for every block that the comment header");
        say("of SOURCE (a block source ending in .f or .cpp) declares, to PREFIX, the lower-case");
        say("block name and .tex; without PREFIX into the current directory.");
        return kFailed;
    }
    // A longer path would be cut and name another file.
    if (path.size() > kTextLength) {
        say(str({"Error: source path longer than ", std::to_string(kTextLength), " characters"}));
        return kFailed;
    }

    Language language{};
    std::string_view stem;
    if (path.ends_with(".f")) {
        language = Language::fortran;
        stem = path.substr(0, path.size() - 2);
    } else if (path.ends_with(".cpp")) {
        language = Language::cpp;
        stem = path.substr(0, path.size() - 4);
    } else {
        say("Invalid file extension (should be either lowercase .f  or .cpp)");
        say(path);
        return kFailed;
    }
    // The routine name is the file name before the extension: a block library's routine
    // (em0006) and a user block's function (ubcalendar) are both named by their file.
    if (const auto slash = stem.rfind('/'); slash != std::string_view::npos) stem.remove_prefix(slash + 1);
    const std::string_view routineName = stem;

    Run run(path, prefix, language, routineName);
    const int status = run.execute();
    std::fflush(stdout);
    return status;
}
