// Every block's reference page against its parameter table: each //#BP line opens with
// the parameter's name, gives its unit in the first parentheses and states its bound in
// the table's words ("above 0", "at least 1", "0 to 2", "at most 1000"); there are as many
// //#BP lines as the identity declares parameters, and as many //#IN and //#OUT lines as it
// declares inputs and outputs. So the pages cannot drift from the code.
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
#include <vector>

namespace fs = std::filesystem;
using vireo::block::Bound;
using vireo::block::Param;
using vireo_test::ParamTable;

namespace {

// The header's entries by label ("BP", "IN", "OUT"), each with its continuation lines, in
// sections: a block whose forms differ gives each form a section of its own
// ("//#Inputs VDIF"), and each section lists the whole label.
struct Section {
    std::vector<std::string> entries;
    int count = 0;  // a range label "IN[1--100]" counts its items
};
struct Header {
    std::map<std::string, std::vector<Section>> sections;
};

Header readHeader(const std::string& text) {
    Header h;
    static const std::regex label(R"(^//#(BP|IN|OUT)\[(\d+)(?:--(\d+))?\]\s*(.*)$)");
    static const std::regex heading(R"(^//#(Inputs|Outputs|Parameters)(\s+[A-Za-z].*)?$)");
    static const std::map<std::string, std::string> labelOf = {{"Inputs", "IN"}, {"Outputs", "OUT"}, {"Parameters", "BP"}};
    std::istringstream in(text);
    std::string* open = nullptr;
    bool details = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("//#end", 0) == 0) break;
        std::smatch m;
        if (std::regex_match(line, m, label)) {
            auto& sections = h.sections[m[1]];
            if (sections.empty()) sections.emplace_back();
            const int first = std::stoi(m[2]), last = m[3].matched ? std::stoi(m[3]) : first;
            sections.back().count += last - first + 1;
            sections.back().entries.push_back(m[4]);
            open = &sections.back().entries.back();
        } else if (line.rfind("//#", 0) == 0) {
            open = nullptr;
            details = details || line.rfind("//#Details", 0) == 0;
            if (details && std::regex_match(line, m, heading)) h.sections[labelOf.at(m[1])].emplace_back();
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

// Every fault of a page against its block's table and identity.
std::vector<std::string> pageFaults(const std::string& source, const ParamTable& t) {
    std::vector<std::string> faults;
    const Header h = readHeader(source);
    const auto sections = [&](const char* label) {
        return h.sections.count(label) ? h.sections.at(label) : std::vector<Section>{Section{}};
    };
    for (const Section& s : sections("IN"))
        if (s.count != t.maxInputs) faults.push_back(std::to_string(s.count) + " inputs");
    for (const Section& s : sections("OUT"))
        if (s.count != t.outputs) faults.push_back(std::to_string(s.count) + " outputs");
    for (const Section& s : sections("BP")) {
        const auto& bp = s.entries;
        if (static_cast<int>(bp.size()) != t.maxParameters || t.params.size() != bp.size())
            faults.push_back(std::to_string(bp.size()) + " parameter lines for " + std::to_string(t.params.size()) +
                             " table rows");
        for (std::size_t i = 0; i < bp.size() && i < t.params.size(); ++i)
            if (const std::string f = entryFault(bp[i], t.params[i]); !f.empty())
                faults.push_back("BP[" + std::to_string(i) + "] " + f);
    }
    return faults;
}

// The block source whose header opens the page of a main name ("//#Block DPDIF, VDIF" for
// a block of several names), searched under dir.
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
    // A block of two forms documents each in a section of its own, and each is held.
    const std::string forms =
        "//#Block TANK, TANKB\n//#Inputs 2\n//#Details\n//#Inputs TANK\n//#IN[0] Inlet (degC)\n//#IN[1] Flow (kg/s)\n"
        "//#Inputs TANKB\n//#IN[0] Inlet (degC)\n//#IN[1] Flow (kg/s)\n//#Outputs\n//#OUT[0] Outlet (degC)\n"
        "//#Parameters TANK\n//#BP[0] Volume, above 0 (m3)\n//#BP[1] Nodes, 1 to 50 (-)\n//#BP[2] Start temperature (degC)\n"
        "//#Parameters TANKB\n//#BP[0] Volume, above 0 (m3)\n//#BP[1] Nodes, 1 to 40 (-)\n//#BP[2] Start temperature (degC)\n"
        "//#end\n";
    EXPECT_EQ(pageFaults(forms, t), std::vector<std::string>{"BP[1] does not state '1 to 50'"});
    std::string oneInput = forms;
    oneInput.erase(oneInput.rfind("//#IN[1] Flow (kg/s)\n"), 21);
    EXPECT_EQ(pageFaults(oneInput, t), (std::vector<std::string>{"1 inputs", "BP[1] does not state '1 to 50'"}));
}
