// Every block's reference page against its parameter table: each //#BP line opens with
// the parameter's name, gives its unit in the first parentheses and states its bound in
// the table's words ("above 0", "at least 1", "0 to 2", "at most 1000"); there are as many
// //#BP lines as the identity declares parameters, and as many //#IN and //#OUT lines as it
// declares inputs and outputs; a ranged line "//#BP[1--96]" (its numbers as the page shows
// them, from 1) stands for a ranged row of as many parameters. A block whose names read
// their inputs, outputs or parameters differently has sections per name ("//#Parameters
// DPCH"), each held against the table of that name. So the pages cannot drift from the code.
#include "param_tables.h"
#include "run_vireo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
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
    std::map<std::string, std::vector<int>> sizes;  // the items of each entry
};

// The form a section heading names ("//#Outputs GON" of a page of several names), empty
// for a section of every form; nothing for a line that is no such heading.
std::optional<std::string> sectionForm(const std::string& line) {
    static const std::regex heading(R"(^//#(?:Inputs|Outputs|Parameters|Strings)(?: +(\S.*))?$)");
    std::smatch m;
    if (!std::regex_match(line, m, heading)) return std::nullopt;
    const std::string form = m[1].matched ? m[1].str() : "";
    return form.empty() || std::isdigit(static_cast<unsigned char>(form[0])) ? "" : form;  // a layout count
}

// The forms a page gives sections of their own; none for a page of one form.
std::vector<std::string> formsOf(const std::string& text) {
    std::vector<std::string> forms;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line) && line.rfind("//#end", 0) != 0;)
        if (const auto f = sectionForm(line);
            f && !f->empty() && std::find(forms.begin(), forms.end(), *f) == forms.end())
            forms.push_back(*f);
    return forms;
}

// The header as one form reads it: the sections of every form and those of its own.
Header readHeader(const std::string& text, const std::string& form = "") {
    Header h;
    static const std::regex label(R"(^//#(BP|IN|OUT)\[(\d+)(?:--(\d+))?\]\s*(.*)$)");
    std::istringstream in(text);
    std::string* open = nullptr;
    bool mine = true;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("//#end", 0) == 0) break;
        if (const auto f = sectionForm(line)) mine = f->empty() || *f == form;
        std::smatch m;
        if (!mine) {
            open = nullptr;
        } else if (std::regex_match(line, m, label)) {
            const int first = std::stoi(m[2]), last = m[3].matched ? std::stoi(m[3]) : first;
            h.counts[m[1]] += last - first + 1;
            h.entries[m[1]].push_back(m[4]);
            h.sizes[m[1]].push_back(last - first + 1);
            open = &h.entries[m[1]].back();
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

// Every fault of one form's page against its table and its block's identity.
std::vector<std::string> formFaults(const std::string& source, const std::string& form,
                                    std::span<const Param> params, const ParamTable& t) {
    std::vector<std::string> faults;
    const Header h = readHeader(source, form);
    const auto count = [&](const char* label) { return h.counts.count(label) ? h.counts.at(label) : 0; };
    if (count("IN") != t.maxInputs) faults.push_back(std::to_string(count("IN")) + " inputs");
    if (count("OUT") != t.outputs) faults.push_back(std::to_string(count("OUT")) + " outputs");
    const auto bp = h.entries.count("BP") ? h.entries.at("BP") : std::vector<std::string>{};
    if (params.size() != bp.size())
        faults.push_back(std::to_string(bp.size()) + " parameter lines for " + std::to_string(params.size()) +
                         " table rows");
    else if (count("BP") != t.maxParameters)
        faults.push_back(std::to_string(count("BP")) + " parameters for " + std::to_string(t.maxParameters));
    for (std::size_t i = 0; i < bp.size() && i < params.size(); ++i) {
        if (const int n = h.sizes.at("BP")[i]; n != params[i].count)
            faults.push_back("BP[" + std::to_string(i) + "] runs " + std::to_string(n) + " parameters, the table " +
                             std::to_string(params[i].count));
        if (const std::string f = entryFault(bp[i], params[i]); !f.empty())
            faults.push_back("BP[" + std::to_string(i) + "] " + f);
    }
    return faults;
}

// The names of a block, main name first.
std::vector<std::string> namesOf(const std::string& list) {
    std::vector<std::string> names;
    std::istringstream in(list);
    for (std::string name; in >> name;) names.push_back(name);
    return names;
}

// The same for every form: each name the page gives sections of its own, and each name
// whose parameters have a table of their own; each fault names its form.
std::vector<std::string> pageFaults(const std::string& source, const ParamTable& t) {
    std::vector<std::string> forms = formsOf(source);
    const std::vector<std::string> names = namesOf(t.names);
    if (!t.forms.empty())
        for (const std::string& name : names)
            if (std::find(forms.begin(), forms.end(), name) == forms.end()) forms.push_back(name);
    if (forms.empty()) return formFaults(source, "", t.params, t);
    std::vector<std::string> faults;
    for (const std::string& form : forms) {
        const auto k = static_cast<std::size_t>(std::find(names.begin(), names.end(), form) - names.begin());
        const std::span<const Param> params = k < t.forms.size() ? t.forms[k] : t.params;
        for (const std::string& f : formFaults(source, form, params, t)) faults.push_back(form + ": " + f);
    }
    return faults;
}

// The block source whose header opens the page of a main name (alone, or first of the
// names the page lists: "//#Block E0, GON"), searched under dir.
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
              std::vector<std::string>{"CHANNEL: BP[0] does not state 'at least 0'"});
    EXPECT_EQ(twoDrifted("//#IN[0] Flow (kg/s)\n//#Outputs", "//#Outputs"),
              std::vector<std::string>{"CHANNEL: 0 inputs"});
    std::string oneSection = two;
    oneSection.replace(oneSection.find("//#Parameters CHANNEL\n"), 22, "");
    oneSection.replace(oneSection.find("//#Parameters TUBE"), 18, "//#Parameters");
    EXPECT_EQ(pageFaults(oneSection, forms),
              (std::vector<std::string>{"TUBE: 2 parameter lines for 1 table rows",
                                        "CHANNEL: 2 parameter lines for 1 table rows",
                                        "CHANNEL: BP[0] name 'Diameter', the table says 'Width'"}));

    // A ranged row against its ranged line: the run's length is held as well.
    static constexpr Param kRanged[] = {
        vireo::block::ranged(4, {"Speeds", "m/s", vireo::block::atLeast(0), {305011, ""}}),
        {"Factor", "-"},
    };
    const ParamTable r{"xx0002", "WIND", kRanged, 0, 0, 5};
    const std::string ranged = "//#Block WIND\n//#BP[1--4] Speeds, at least 0 (m/s)\n//#BP[4] Factor (-)\n//#end\n";
    EXPECT_EQ(pageFaults(ranged, r), std::vector<std::string>{});
    std::string shorter = ranged;
    shorter.replace(shorter.find("1--4"), 4, "1--3");
    EXPECT_EQ(pageFaults(shorter, r),
              (std::vector<std::string>{"4 parameters for 5", "BP[0] runs 3 parameters, the table 4"}));
    std::string unranged = ranged;
    unranged.replace(unranged.find("1--4"), 4, "0");
    unranged.replace(unranged.find("[4]"), 3, "[1]");
    EXPECT_EQ(pageFaults(unranged, r).size(), 2u);

    // A page of two names with sections of their own: each form is held on its own.
    const std::string windGust = "//#Block WIND, GUST\n//#Parameters\n//#BP[1--4] Speeds, at least 0 (m/s)\n"
                              "//#Parameters WIND\n//#BP[4] Factor (-)\n"
                              "//#Parameters GUST\n//#BP[4] Gain (-)\n//#end\n";
    EXPECT_EQ(pageFaults(windGust, r), std::vector<std::string>{"GUST: BP[1] name 'Gain', the table says 'Factor'"});
}
