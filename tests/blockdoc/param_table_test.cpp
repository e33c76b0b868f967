// Every block's reference page against its parameter table: each //#BP line opens with
// the parameter's name, gives its unit in the first parentheses and states its bound in
// the table's words ("above 0", "at least 1", "0 to 2", "at most 1000"); there are as many
// //#BP lines as the identity declares parameters, and as many //#IN and //#OUT lines as it
// declares inputs and outputs. A block whose names read their inputs, outputs or
// parameters differently has a section of each per name ("//#Parameters DPCH"), held
// against the table of that name. So the pages cannot drift from the code.
#include "param_tables.h"
#include "run_vireo.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;
using vireo::block::Bound;
using vireo::block::Param;
using vireo_test::ParamTable;

namespace {

// The header's entries by label ("BP", "IN", "OUT"), each with its continuation lines;
// those of a section of one name under the label and the name ("BP DPCH").
struct Header {
    std::map<std::string, std::vector<std::string>> entries;
    std::map<std::string, int> counts;  // a range label "IN[1--100]" counts its items
};

Header readHeader(const std::string& text) {
    Header h;
    static const std::regex label(R"(^//#(BP|IN|OUT)\[(\d+)(?:--(\d+))?\]\s*(.*)$)");
    static const std::regex section(R"(^//#(Inputs|Outputs|Parameters)(?: ([A-Z]\S*))?\s*$)");
    const std::map<std::string, std::string> labelOf = {{"Inputs", "IN"}, {"Outputs", "OUT"}, {"Parameters", "BP"}};
    std::map<std::string, std::string> named;  // label -> the name of its open section
    std::istringstream in(text);
    std::string* open = nullptr;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("//#end", 0) == 0) break;
        std::smatch m;
        if (std::regex_match(line, m, label)) {
            const int first = std::stoi(m[2]), last = m[3].matched ? std::stoi(m[3]) : first;
            const std::string key = named[m[1]].empty() ? std::string(m[1]) : std::string(m[1]) + " " + named[m[1]];
            h.counts[key] += last - first + 1;
            h.entries[key].push_back(m[4]);
            open = &h.entries[key].back();
        } else if (std::regex_match(line, m, section)) {
            named[labelOf.at(m[1])] = m[2];
            open = nullptr;
        } else if (line.rfind("//#", 0) == 0) {
            open = nullptr;
        } else if (open != nullptr && line.rfind("// ", 0) == 0) {
            *open += " " + line.substr(3);
        }
    }
    return h;
}

std::string number(float x) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(x));
    return text;
}

// The words in which a page states a bound; empty where it need say nothing. A count
// bounded only by the int range is open at its top; an interval that leaves out an end may
// be stated as "low to high" (with its open end said elsewhere) or as
// "at least 0 and below 24".
std::string boundWords(const Bound& b, bool endsInWords = false) {
    const bool lowOpen = b.low <= -FLT_MAX, highOpen = b.high >= (b.whole ? 2147483647.0f : FLT_MAX);
    if (b.none || (lowOpen && highOpen)) return "";
    const std::string low = (b.aboveLow ? "above " : "at least ") + number(b.low);
    const std::string high = (b.belowHigh ? "below " : "at most ") + number(b.high);
    if (highOpen) return low;
    if (lowOpen) return high;
    if (endsInWords && (b.aboveLow || b.belowHigh)) return low + " and " + high;
    return number(b.low) + " to " + number(b.high);
}

// What is wrong with one //#BP entry for its table row; empty when it matches.
std::string entryFault(const std::string& entry, const Param& p) {
    const std::size_t nameEnd = entry.find_first_of(",:;(");
    std::string name = entry.substr(0, nameEnd);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name != p.name) return "name '" + name + "', the table says '" + p.name + "'";
    const std::size_t open = entry.find('(');
    std::string unit;
    if (open != std::string::npos)
        for (std::size_t k = open + 1, depth = 1; k < entry.size(); ++k) {
            depth += entry[k] == '(' ? 1 : (entry[k] == ')' ? -1 : 0);
            if (depth == 0) break;
            unit += entry[k];
        }
    if (unit != p.unit) return "unit '" + unit + "', the table says '" + p.unit + "'";
    const std::string words = boundWords(p.bound);
    if (!words.empty() && entry.find(words) == std::string::npos &&
        entry.find(boundWords(p.bound, true)) == std::string::npos)
        return "does not state '" + words + "'";
    return "";
}

// The names of a block, main name first.
std::vector<std::string> namesOf(const std::string& list) {
    std::vector<std::string> names;
    std::istringstream in(list);
    for (std::string name; in >> name;) names.push_back(name);
    return names;
}

// Every fault of a page against its block's table (its tables by name) and identity.
std::vector<std::string> pageFaults(const std::string& source, const ParamTable& t) {
    std::vector<std::string> faults;
    const Header h = readHeader(source);
    const std::vector<std::string> names = namesOf(t.names);
    // The keys of a label's sections: the label alone, or one per name.
    const auto sections = [&](const std::string& label) {
        for (const std::string& name : names)
            if (h.counts.count(label + " " + name) != 0) {
                std::vector<std::string> keys;
                for (const std::string& n : names) keys.push_back(label + " " + n);
                return keys;
            }
        return std::vector<std::string>{label};
    };
    const auto count = [&](const std::string& key) { return h.counts.count(key) ? h.counts.at(key) : 0; };
    for (const auto& [label, expected, what] : {std::tuple{std::string("IN"), t.maxInputs, " inputs"},
                                                 std::tuple{std::string("OUT"), t.outputs, " outputs"}})
        for (const std::string& key : sections(label))
            if (count(key) != expected)
                faults.push_back(std::to_string(count(key)) + what + (key == label ? "" : key.substr(label.size())));
    const std::vector<std::string> bpKeys = sections("BP");
    if (!t.forms.empty() && bpKeys.size() != t.forms.size())
        faults.push_back("one parameter section for " + std::to_string(t.forms.size()) + " forms");
    for (std::size_t k = 0; k < bpKeys.size(); ++k) {
        const std::span<const Param> params = bpKeys.size() == t.forms.size() ? t.forms[k] : t.params;
        const std::string where = bpKeys[k] == "BP" ? "" : bpKeys[k].substr(3) + " ";
        const auto bp = h.entries.count(bpKeys[k]) ? h.entries.at(bpKeys[k]) : std::vector<std::string>{};
        if (static_cast<int>(bp.size()) != t.maxParameters || params.size() != bp.size())
            faults.push_back(where + std::to_string(bp.size()) + " parameter lines for " +
                             std::to_string(params.size()) + " table rows");
        for (std::size_t i = 0; i < bp.size() && i < params.size(); ++i)
            if (const std::string f = entryFault(bp[i], params[i]); !f.empty())
                faults.push_back(where + "BP[" + std::to_string(i) + "] " + f);
    }
    return faults;
}

// The block source whose header opens the page of a main name (with its other names after
// it, "//#Block DPTUBE, DPCH"), searched under dir.
std::string sourceOf(const fs::path& dir, const std::string& mainName) {
    const std::string head = "//#Block " + mainName;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file() || e.path().extension() != ".cpp") continue;
        std::ifstream in(e.path());
        std::string first;
        std::getline(in, first);
        if (first != head && first.rfind(head + ",", 0) != 0) continue;
        std::ostringstream text;
        text << first << "\n" << in.rdbuf();
        return text.str();
    }
    return "";
}

}  // namespace

TEST(ParameterTables, EveryPageStatesItsBlocksTable) {
    struct Library {
        const char* dir;
        std::vector<ParamTable> tables;
    };
    const std::vector<Library> libraries = {{"blocks/em/src", vireo_test::emParamTables()},
                                            {"blocks/st/src", vireo_test::stParamTables()},
                                            {"blocks/pp/src", vireo_test::ppParamTables()},
                                            {"platform/userblocks", vireo_test::ubParamTables()}};
    int checked = 0;
    for (const auto& library : libraries)
        for (const ParamTable& t : library.tables) {
            const std::string mainName = t.names.substr(0, t.names.find(' '));
            const std::string source = sourceOf(fs::path(vireo_test::sourceDir()) / library.dir, mainName);
            ASSERT_FALSE(source.empty()) << "no source with the page of " << mainName;
            EXPECT_EQ(pageFaults(source, t), std::vector<std::string>{}) << mainName;
            ++checked;
        }
    EXPECT_GE(checked, 10);
}

TEST(ParameterTables, APageThatDriftsFromItsTableIsNamed) {
    static constexpr Param kTable[] = {
        {"Volume", "m3", vireo::block::above(0), {305011, ""}},
        {"Nodes", "-", vireo::block::whole(1, 50), {305011, ""}},
        {"Start temperature", "degC"},
    };
    const ParamTable t{"xx0001", "TANK", kTable, 2, 1, 3};
    const std::string good =
        "//#Block TANK\n//#IN[0] Inlet (degC)\n//#IN[1] Flow (kg/s)\n//#OUT[0] Outlet (degC)\n"
        "//#BP[0] Volume, above 0 (m3)\n//#BP[1] Nodes, a whole number 1 to 50, each of the\n// same height (-)\n"
        "//#BP[2] Start temperature (degC)\n//#end\n";
    EXPECT_EQ(pageFaults(good, t), std::vector<std::string>{});
    auto drifted = [&](const std::string& from, const std::string& to) {
        std::string page = good;
        page.replace(page.find(from), from.size(), to);
        return pageFaults(page, t);
    };
    EXPECT_EQ(drifted("Volume, above 0 (m3)", "Volume, above 0 (l)"),
              std::vector<std::string>{"BP[0] unit 'l', the table says 'm3'"});
    EXPECT_EQ(drifted("1 to 50", "1 to 40"), std::vector<std::string>{"BP[1] does not state '1 to 50'"});
    EXPECT_EQ(drifted("Start temperature (degC)", "Initial temperature (degC)"),
              std::vector<std::string>{"BP[2] name 'Initial temperature', the table says 'Start temperature'"});
    EXPECT_EQ(drifted("//#IN[1] Flow (kg/s)\n", ""), std::vector<std::string>{"1 inputs"});
    EXPECT_EQ(drifted("//#BP[2] Start temperature (degC)\n", ""),
              std::vector<std::string>{"2 parameter lines for 3 table rows"});

    // A page of two names whose parameter means other things under each: a section per
    // name, each held against its own table; inputs given per name count per name.
    static constexpr Param kTube[] = {{"Diameter", "m", vireo::block::above(0), {305011, ""}}};
    static constexpr Param kChannel[] = {{"Width", "m", vireo::block::atLeast(0), {305011, ""}}};
    const ParamTable forms{"xx0002", "TUBE CHANNEL", kTube, 1, 1, 1, {kTube, kChannel}};
    const std::string two = "//#Block TUBE, CHANNEL\n//#Inputs 1\n//#Parameters 1\n//#Inputs TUBE\n//#IN[0] Flow (kg/s)\n"
                            "//#Inputs CHANNEL\n//#IN[0] Flow (kg/s)\n//#Outputs\n//#OUT[0] Drop (Pa)\n"
                            "//#Parameters TUBE\n//#BP[0] Diameter, above 0 (m)\n"
                            "//#Parameters CHANNEL\n//#BP[0] Width, at least 0 (m)\n//#end\n";
    EXPECT_EQ(pageFaults(two, forms), std::vector<std::string>{});
    const auto twoDrifted = [&](const std::string& from, const std::string& to) {
        std::string page = two;
        page.replace(page.find(from), from.size(), to);
        return pageFaults(page, forms);
    };
    EXPECT_EQ(twoDrifted("Width, at least 0", "Width, above 0"),
              std::vector<std::string>{"CHANNEL BP[0] does not state 'at least 0'"});
    EXPECT_EQ(twoDrifted("//#IN[0] Flow (kg/s)\n//#Outputs", "//#Outputs"),
              std::vector<std::string>{"0 inputs CHANNEL"});
    std::string oneSection = two;
    oneSection.replace(oneSection.find("//#Parameters CHANNEL\n"), 22, "");
    oneSection.replace(oneSection.find("//#Parameters TUBE"), 18, "//#Parameters");
    EXPECT_EQ(pageFaults(oneSection, forms),
              (std::vector<std::string>{"one parameter section for 2 forms", "2 parameter lines for 1 table rows"}));
}
