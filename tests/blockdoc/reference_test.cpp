// The block reference against the blocks themselves: every block that has a source file
// gets a page per name from blockdoc, and each page lists exactly the inputs, outputs,
// parameters and strings that the block declares when it is identified.
//
// Detail labels on a page count from one. A number names one item; a range names the
// items from its first to its last number and is written in the header as the page shows
// it, "first--last" (#IN[1--100]), since blockdoc shows only plain numbers one higher.
#include "block_harness.h"
#include "blockdoc_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// What a block declares about itself.
struct Declared {
    std::vector<std::string> names;
    int minInputs = 0, maxInputs = 0, outputs = 0;
    int minParameters = 0, maxParameters = 0, minStrings = 0, maxStrings = 0, group = 0;
};

// What the identification call answers, in the terms of the page.
Declared declared(const vireo_test::Identity& id) {
    Declared d;
    d.names = id.names();
    d.minInputs = id.minInputs();
    d.maxInputs = id.maxInputs();
    d.outputs = id.outputCount();
    d.minParameters = id.minParameters();
    d.maxParameters = id.maxParameters();
    d.minStrings = id.minStrings();
    d.maxStrings = id.maxStrings();
    d.group = id.group();
    return d;
}

std::string countText(int low, int high) {
    return low == high ? std::to_string(low) : std::to_string(low) + "--" + std::to_string(high);
}

std::string firstWord(const std::string& text) {
    std::istringstream s(text);
    std::string word;
    s >> word;
    return word;
}

// What a page's text may not say, whatever block it describes: an item named by the
// source's 0-based label (IN[4]) where the page numbers every list from 1, and a unit in
// the plain spelling where the reference typesets it (degC for $^\circ$C, m2 for m$^2$).
void textFaults(const std::string& line, std::vector<std::string>& faults) {
    // The label of a detail item is the page's own number; what follows it is text.
    const auto close = line.rfind("\\item[", 0) == 0 ? line.find(']') : std::string::npos;
    const std::string text = close == std::string::npos ? line : line.substr(close + 1);
    static const std::regex zeroBased(R"(\b(IN|OUT|BP|SP)\[[0-9a-z])");
    static const std::regex plainUnit(R"(degC|\bm[23]\b)");
    std::smatch m;
    if (std::regex_search(text, m, zeroBased))
        faults.push_back("text: " + m.str() + "] counts from 0 where the page counts from 1: " + text);
    if (std::regex_search(text, m, plainUnit))
        faults.push_back("text: the unit " + m.str() + " in its plain spelling: " + text);
}

// Everything that keeps a page from stating the declared counts, one line per fault: the
// layout's count of each kind and the group, and the items of each kind's detail lists,
// which must name 1 to the declared maximum once each ("None" when it is 0).
std::vector<std::string> pageFaults(const std::string& page, const Declared& d) {
    struct Kind {
        std::string label;
        int low, high;
    };
    const Kind kinds[] = {{"Inputs", d.minInputs, d.maxInputs},
                          {"Outputs", d.outputs, d.outputs},
                          {"Parameters", d.minParameters, d.maxParameters},
                          {"Strings", d.minStrings, d.maxStrings}};
    std::vector<std::string> faults;
    std::map<std::string, std::string> layout;
    std::map<std::string, std::map<int, int>> listed;  // kind -> item -> how often
    std::map<std::string, int> lists, nones;
    const std::regex range(R"((\d+)--(\d+))");

    std::istringstream lines(page);
    std::string kind;  // of the last margin label
    bool inList = false;
    for (std::string line; std::getline(lines, line);) {
        textFaults(line, faults);
        static const std::string layoutItem = "\\item[{\\bf \\mblue{";
        if (line.rfind(layoutItem, 0) == 0) {
            const auto close = line.find("}}]", layoutItem.size());
            if (close != std::string::npos)
                layout[line.substr(layoutItem.size(), close - layoutItem.size())] = firstWord(line.substr(close + 3));
        } else if (line.rfind("\\mmarginlabel{", 0) == 0) {
            kind = line.substr(14, line.size() - 15);
        } else if (line == "\\begin{detaillist}") {
            ++lists[kind];
            inList = true;
        } else if (line == "\\end{detaillist}") {
            inList = false;
        } else if (inList && line.rfind("\\item[", 0) == 0) {
            const auto close = line.find(']');
            std::string label = line.substr(6, close == std::string::npos ? 0 : close - 6);
            label.erase(0, label.find_first_not_of(' '));
            std::smatch m;
            if (label.empty() && line.substr(close + 1) == " None") {
                ++nones[kind];
            } else if (!label.empty() && label.find_first_not_of("0123456789") == std::string::npos) {
                ++listed[kind][std::stoi(label)];
            } else if (std::regex_match(label, m, range) && std::stoi(m[1]) <= std::stoi(m[2])) {
                for (int k = std::stoi(m[1]); k <= std::stoi(m[2]); ++k) ++listed[kind][k];
            } else {
                faults.push_back(kind + ": label [" + label + "] is neither a number nor a range first--last");
            }
        }
    }

    for (const auto& [label, low, high] : kinds) {
        if (layout[label] != countText(low, high))
            faults.push_back("layout " + label + ": \"" + layout[label] + "\", the block declares \"" +
                             countText(low, high) + "\"");
        if (lists[label] == 0) {
            faults.push_back(label + ": no detail list");
            continue;
        }
        if (high == 0 && nones[label] == 0) faults.push_back(label + ": the block has none, the list does not say so");
        if (high > 0 && nones[label] > 0) faults.push_back(label + ": None, but the block has " + std::to_string(high));
        for (int k = 1; k <= high; ++k) {
            const int n = listed[label].count(k) ? listed[label][k] : 0;
            if (n != 1) faults.push_back(label + ": item " + std::to_string(k) + " listed " + std::to_string(n) + " times");
        }
        for (const auto& [k, n] : listed[label])
            if (k < 1 || k > high)
                faults.push_back(label + ": item " + std::to_string(k) + " beyond the " + std::to_string(high) +
                                 " the block has");
    }
    if (layout["Group"] != std::to_string(d.group))
        faults.push_back("layout Group: \"" + layout["Group"] + "\", the block declares " + std::to_string(d.group));
    return faults;
}

std::string lowerCase(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& line : lines) s += "\n  " + line;
    return s;
}

}  // namespace

TEST(BlockReference, PageFaultsNameEveryMismatch) {
    Declared d;
    d.minInputs = 2;
    d.maxInputs = 4;
    d.maxParameters = 1;
    d.group = 3;
    const std::string page =
        "\\item[{\\bf \\mblue{Inputs}}] 2--4\n\\item[{\\bf \\mblue{Outputs}}] 1\n"
        "\\item[{\\bf \\mblue{Parameters}}] 0\n\\item[{\\bf \\mblue{Group}}] 3 (standard)\n"
        "\\mmarginlabel{Inputs}\n%\n\\begin{detaillist}\n\\item[    1] a\n\\item[2--3] b\n\\item[    3] c\n"
        "continued\n\\item[N] d\n\\item[    7] e\n\\end{detaillist}\n"
        "\\mmarginlabel{Outputs}\n%\n\\begin{detaillist}\n\\end{detaillist}\n"
        "\\mmarginlabel{Parameters}\n%\n\\begin{detaillist}\n\\item[] None\n\\end{detaillist}\n"
        "\\mmarginlabel{Remarks}\n\\item[X] outside a list\nthe unit of IN[0] in degC per m2\n";
    const std::vector<std::string> expected = {
        "Inputs: label [N] is neither a number nor a range first--last",
        "text: IN[0] counts from 0 where the page counts from 1: the unit of IN[0] in degC per m2",
        "text: the unit degC in its plain spelling: the unit of IN[0] in degC per m2",
        "Inputs: item 3 listed 2 times",
        "Inputs: item 4 listed 0 times",
        "Inputs: item 7 beyond the 4 the block has",
        "layout Outputs: \"1\", the block declares \"0\"",
        "Outputs: the block has none, the list does not say so",
        "layout Parameters: \"0\", the block declares \"0--1\"",
        "Parameters: None, but the block has 1",
        "Parameters: item 1 listed 0 times",
        "layout Strings: \"\", the block declares \"0\"",
        "Strings: no detail list",
    };
    EXPECT_EQ(pageFaults(page, d), expected) << joined(pageFaults(page, d));
    d.group = 2;
    EXPECT_EQ(pageFaults(page, d).back(), "layout Group: \"3\", the block declares 2");
}

// The exported routine of a block library's source: the row of its library's identity
// table that opens with the first name of the source's //#Block line; empty for a source
// that declares no block there.
std::string routineOf(const fs::path& source, const fs::path& table) {
    std::ifstream in(source);
    std::string first;
    std::getline(in, first);
    std::smatch m;
    static const std::regex blockLine(R"(^//#Block ([A-Za-z0-9_]+).*)");
    if (!std::regex_match(first, m, blockLine)) return "";
    const std::regex row("X\\(([a-z]{2}[0-9]{4}), \"" + m[1].str() + "[ \"]");
    const std::string rows = vireo_test::readFile(table.string());
    return std::regex_search(rows, m, row) ? m[1].str() : "";
}

TEST(BlockReference, EveryBlockSourceHasPagesThatMatchItsIdentity) {
    // A block library's source is named for its block, in a topic folder; its page names
    // the exported routine its identity table gives it. A user block's function is named
    // by its file ("ub" and the rest).
    const std::regex userBlock("ub[a-z0-9_]+");
    std::vector<std::pair<fs::path, std::string>> folders;  // folder, library
    for (const auto& entry : fs::directory_iterator(vireo_test::sourceDir() + "/blocks")) {
        std::string upper = entry.path().filename().string();
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (fs::is_directory(entry.path() / "src")) folders.emplace_back(entry.path() / "src", "Vireo" + upper);
    }
    folders.emplace_back(vireo_test::sourceDir() + "/platform/userblocks", "VireoUB");

    int blocks = 0;
    for (const auto& [folder, library] : folders) {
        const bool ofTable = library != "VireoUB";
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.path().extension() != ".cpp") continue;
            const std::string stem =
                ofTable ? routineOf(entry.path(), folder / "table.h") : entry.path().stem().string();
            if (stem.empty() || (!ofTable && !std::regex_match(stem, userBlock))) continue;
            if (!fs::exists(vireo_test::buildDir() + "/lib/lib" + library + ".so")) {
                ADD_FAILURE() << entry.path() << ": lib" << library << ".so was not built";
                continue;
            }
            void* block = vireo_test::library(library).symbol(stem);
            if (block == nullptr) continue;  // a source of that form that holds no block
            ++blocks;
            const Declared d = declared(vireo_test::identify(reinterpret_cast<vireo_test::BlockFunction>(block)));
            SCOPED_TRACE(entry.path().string());
            ASSERT_FALSE(d.names.empty());

            const auto o = blockdoc_test::runBlockdoc(stem + ".cpp", vireo_test::readFile(entry.path().string()));
            EXPECT_EQ(o.run.exitStatus, 0) << o.run.out;
            std::vector<std::string> expectedPages, pages;
            for (const auto& name : d.names) expectedPages.push_back(lowerCase(name) + ".tex");
            std::sort(expectedPages.begin(), expectedPages.end());
            for (const auto& [page, text] : o.pages) pages.push_back(page);
            EXPECT_EQ(pages, expectedPages) << "every name of the block has its page, and only those";
            for (const auto& name : d.names) {
                const auto page = o.pages.find(lowerCase(name) + ".tex");
                if (page == o.pages.end()) continue;
                EXPECT_EQ(page->second.rfind("\\msection{Block " + name + "}", 0), 0u) << name;
                const auto faults = pageFaults(page->second, d);
                EXPECT_TRUE(faults.empty()) << name << ":" << joined(faults);
            }
        }
    }
    EXPECT_GE(blocks, 120);
}
