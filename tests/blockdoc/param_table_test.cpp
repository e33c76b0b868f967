// Every block's reference page against its parameter table: each //#BP line opens with
// the parameter's name, gives its unit in the first parentheses and states its bound in
// the table's words ("above 0", "at least 1", "0 to 2", "at most 1000"); there are as many
// //#BP lines as the identity declares parameters, and as many //#IN and //#OUT lines as it
// declares inputs and outputs; a ranged line "//#BP[1--96]" (its numbers as the page shows
// them, from 1) stands for a ranged row of as many parameters. A block whose names read
// their inputs, outputs or parameters differently has sections per name ("//#Parameters
// DPCH"), each held against the table of that name. So the pages cannot drift from the code.
#include "BlockView.h"
#include "message_capture.h"
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
#include <limits>
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

// A table's unit as the page typesets it: the tables keep the plain spelling, which the
// messages print as it is (degC, m2), and the reference shows $^\circ$C and m$^2$.
std::string typeset(std::string unit) {
    unit = std::regex_replace(unit, std::regex("degC"), "$$^\\circ$$C");
    unit = std::regex_replace(unit, std::regex("m3/s3"), "m$$^3$$/s$$^3$$");
    return std::regex_replace(unit, std::regex(R"(\bm([23])\b)"), "m$$^$1$$");
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
    if (unit != typeset(p.unit)) return "unit '" + unit + "', the table says '" + p.unit + "'";
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

// What the text of a refusal says the value must be: an interval, each end counted or
// not, of the value itself, of its nearest whole number (halves away from zero: "a whole
// number", "when rounded", a choice among numbered forms) or of its whole part.
struct Claim {
    enum Kind { value, rounded, wholePart } kind = value;
    float low = -std::numeric_limits<float>::infinity(), high = std::numeric_limits<float>::infinity();
    bool lowOpen = false, highOpen = false;

    bool holds(float x) const {
        const float v = kind == rounded ? std::round(x) : kind == wholePart ? std::trunc(x) : x;
        return (lowOpen ? v > low : v >= low) && (highOpen ? v < high : v <= high);
    }
};

// The claim of a message text, read from what follows the refused value (shown as "nan");
// nothing for a text that states no bound.
std::optional<Claim> claimOf(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    const std::size_t value = text.find(" nan");
    if (value == std::string::npos) return std::nullopt;
    text = text.substr(value + 4);
    // A number as %g writes it, and the phrases a bound is stated in.
    static const std::string n = R"((-?(?:\d+\.?\d*|\.\d+)(?:e[-+]?\d+)?))";
    static const std::regex outside("outside " + n + " to " + n), between("(above|at least) " + n + " and (below|not above|at most) " + n),
        fromTo("from " + n + " to " + n), forms("^(?:be )?" + n + " \\([^)]*\\)(?:, " + n + " \\([^)]*\\))* or " + n + " \\("),
        notBelow("not (?:be |lie )?below " + n), atLeast("at least " + n), orMore(n + " or more"),
        atMost("(?:not (?:be |lie )?above|at most) " + n), above("above " + n);
    const auto number = [](const std::string& s) { return std::stof(s); };
    Claim c;
    std::smatch m;
    // The clause that states the bound: after "must" or, where the text tells that a rule
    // failed, after "is not" or "lies outside".
    std::string clause;
    if (const std::size_t must = text.find(" must "); must != std::string::npos) clause = text.substr(must + 6);
    else if (const std::size_t isNot = text.find(" is not "); isNot != std::string::npos) clause = text.substr(isNot + 8);
    else if (std::regex_search(text, m, outside)) clause = "lie from " + m[1].str() + " to " + m[2].str();
    else return std::nullopt;
    if (text.find("whole part must") != std::string::npos) c.kind = Claim::wholePart;
    if (clause.find("whole number") != std::string::npos || clause.find("rounded") != std::string::npos)
        c.kind = Claim::rounded;
    const bool finite = clause.find("finite") != std::string::npos;
    if (finite) c.low = -FLT_MAX, c.high = FLT_MAX;
    if (std::regex_search(clause, m, between)) {
        c.low = number(m[2]), c.lowOpen = m[1] == "above";
        c.high = number(m[4]), c.highOpen = m[3] == "below";
    } else if (std::regex_search(clause, m, fromTo)) {
        c.low = number(m[1]), c.high = number(m[2]);
    } else if (std::regex_search(clause, m, forms)) {
        // A choice among numbered forms: "0 (stop), 1 (hold) or 2 (start again)".
        c.kind = Claim::rounded;
        c.low = number(m[1]), c.high = number(m[3]);
    } else if (std::regex_search(clause, m, notBelow) || std::regex_search(clause, m, atLeast) ||
               std::regex_search(clause, m, orMore)) {
        c.low = number(m[1]);
    } else if (std::regex_search(clause, m, atMost)) {
        c.high = number(m[1]);
    } else if (std::regex_search(clause, m, above)) {
        c.low = number(m[1]), c.lowOpen = true;
    } else if (!finite) {
        return std::nullopt;
    }
    return c;
}

// Where a claim and a rule part: the values near the ends of either that one takes and
// the other refuses. An end the text shows to six digits stands for the rule's own.
std::vector<float> disagreements(const Claim& claimed, const Bound& rule) {
    Claim c = claimed;
    for (float* end : {&c.low, &c.high})
        for (const float exact : {rule.low, rule.high})
            if (std::isfinite(exact) && std::fabs(*end - exact) <= 1e-5f * std::fabs(exact)) *end = exact;
    std::vector<float> ends;
    for (const float e : {c.low, c.high, rule.low, rule.high})
        if (std::fabs(e) < 2e9f) ends.push_back(e);
    std::vector<float> differ;
    const float inf = std::numeric_limits<float>::infinity();
    for (const float e : ends)
        for (const float x : {e, std::nextafter(e, -inf), std::nextafter(e, inf), e - 0.4f, e + 0.4f, e - 0.6f,
                              e + 0.6f, e - 1.0f, e + 1.0f})
            if (c.holds(x) != rule.holds(x)) differ.push_back(x);
    return differ;
}

// The text of the refusal of every ruled parameter of a table, in the table's order, as
// the frame reports it when the value is no number (a ranged row's parameters one by one).
std::vector<std::string> refusalTexts(const ParamTable& t, std::span<const Param> params) {
    const std::string names = t.names;
    int nameCount = 0;
    std::istringstream words(names);
    for (std::string w; words >> w;) ++nameCount;
    const vireo::block::BlockIdentity id{t.routine.c_str(), names.c_str(), nameCount, 0, t.maxInputs, t.outputs, 10,
                                         0, 0, 0, t.maxParameters, 0, 0, vireo::block::Group::standard};
    std::vector<int> ip(10, 0);
    ip[vireo::protocol::ipSlot::kCallMode] = vireo::protocol::callMode::kInit;
    ip[vireo::protocol::ipSlot::kBlockNumber] = 7;
    std::vector<float> bp(static_cast<std::size_t>(std::max(t.maxParameters, 1)), std::nanf(""));
    const vireo::block::BlockArrays arrays{nullptr, nullptr, ip.data(), nullptr, nullptr, bp.data(), nullptr};
    vireo::block::BlockView view(id, arrays);
    const vireo_test::MessageCapture capture(vireo_test::MessageCapture::StandardOutput::captured);
    view.check(params);
    std::vector<std::string> texts;
    std::istringstream out(capture.out());
    for (std::string line; std::getline(out, line);) texts.push_back(line);
    return texts;
}

}  // namespace

// Every message that refuses a parameter of a table says what the value must be as the
// rule that sends it decides: taken at its bound, refused just beyond it, a whole number
// where the rule rounds and only there. A code several rules send states each rule in
// words.
TEST(ParameterTables, EveryRefusalStatesTheRuleThatRefuses) {
    std::vector<ParamTable> tables;
    for (auto* of : {vireo_test::emParamTables, vireo_test::stParamTables, vireo_test::ppParamTables,
                     vireo_test::ubParamTables})
        for (auto& t : of()) tables.push_back(std::move(t));
    std::vector<std::string> faults;
    int held = 0;
    for (const ParamTable& t : tables)
        for (const std::span<const Param> params : t.forms.empty() ? std::vector<std::span<const Param>>{t.params} : t.forms) {
            const std::vector<std::string> texts = refusalTexts(t, params);
            std::size_t k = 0;
            int first = 0;
            for (const Param& p : params) {
                const int at = first;
                first += p.count;
                if (p.bound.none) continue;
                const std::string where = t.routine + " parameter " + std::to_string(at + 1) + " (" + p.name + ")";
                if (k >= texts.size()) {
                    faults.push_back(where + ": no refusal of a value that is no number");
                    break;
                }
                const std::string text = texts[k];
                k += static_cast<std::size_t>(p.count);
                const std::optional<Claim> claim = claimOf(text);
                if (!claim) {
                    // A text that states no bound: nothing to hold.
                    if (std::regex_search(text.substr(text.find(" nan")), std::regex("[0-9]")))
                        faults.push_back(where + ": states a bound that cannot be read: " + text);
                    continue;
                }
                ++held;
                // A value that rounds chooses among whole numbers; a number whose fractions
                // count is no whole number, though the same values may pass.
                if ((claim->kind == Claim::rounded) != p.bound.whole) {
                    faults.push_back(where + ": its text says " + (p.bound.whole ? "a number, its rule rounds: "
                                                                                 : "a whole number, its rule does not round: ") +
                                     text);
                    continue;
                }
                const std::vector<float> differ = disagreements(*claim, p.bound);
                if (!differ.empty()) {
                    char value[32];
                    std::snprintf(value, sizeof value, "%.9g", static_cast<double>(differ.front()));
                    faults.push_back(where + ": " + (p.bound.holds(differ.front()) ? "takes " : "refuses ") + value +
                                     ", which its text says it " + (p.bound.holds(differ.front()) ? "refuses" : "takes") +
                                     ": " + text);
                }
            }
        }
    std::string all;
    for (const std::string& f : faults) all += "\n" + f;
    EXPECT_EQ(all, "");
    EXPECT_GE(held, 200);
}

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
        "//#Block TANK\n//#IN[0] Inlet ($^\\circ$C)\n//#IN[1] Flow (kg/s)\n//#OUT[0] Outlet ($^\\circ$C)\n"
        "//#BP[0] Volume, above 0 (m$^3$)\n//#BP[1] Nodes, a whole number 1 to 50, each of the\n// same height (-)\n"
        "//#BP[2] Start temperature ($^\\circ$C)\n//#end\n";
    EXPECT_EQ(pageFaults(good, t), std::vector<std::string>{});
    auto drifted = [&](const std::string& from, const std::string& to) {
        std::string page = good;
        page.replace(page.find(from), from.size(), to);
        return pageFaults(page, t);
    };
    EXPECT_EQ(drifted("Volume, above 0 (m$^3$)", "Volume, above 0 (l)"),
              std::vector<std::string>{"BP[0] unit 'l', the table says 'm3'"});
    EXPECT_EQ(drifted("1 to 50", "1 to 40"), std::vector<std::string>{"BP[1] does not state '1 to 50'"});
    EXPECT_EQ(drifted("Start temperature ($^\\circ$C)", "Initial temperature ($^\\circ$C)"),
              std::vector<std::string>{"BP[2] name 'Initial temperature', the table says 'Start temperature'"});
    EXPECT_EQ(drifted("//#IN[1] Flow (kg/s)\n", ""), std::vector<std::string>{"1 inputs"});
    EXPECT_EQ(drifted("//#BP[2] Start temperature ($^\\circ$C)\n", ""),
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
