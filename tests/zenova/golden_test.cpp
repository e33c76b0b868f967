// Golden operation logs: the whole diagram of three sites, as the Start command draws it,
// compared line by line with tests/zenova/golden/<scenario>.log.
//
// After a deliberate change of the drawing, regenerate the logs and review their diff:
//   ZENOVA_UPDATE_GOLDEN=1 build/bin/zenova_core_test --gtest_filter='GoldenLog*'
#include "Diagram.h"
#include "RecordingSurface.h"
#include "run_vireo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

using namespace zenova;

namespace {

struct Scenario {
    const char* name;
    DiagramInputs inputs;
};

std::string diagramLog(const DiagramInputs& in) {
    SunContext context;
    DiagramState state;
    RecordingSurface surface;
    drawSunPathDiagram(surface, context, state, in, DiagramSettings{});
    std::string log = "inputs " + in.longitude + ' ' + in.latitude + ' ' + in.timeLag + ' ' + in.inclination + ' ' +
                      in.orientation + '\n';
    log += surface.log();
    for (int k = 0; k <= kSpecialCurve; ++k) {
        const DateLabelAnchors& a = state.dateLabelPositions[k];
        log += "dateLabel " + std::to_string(k) + ' ' + std::to_string(a.first.x) + ' ' + std::to_string(a.first.y) +
               ' ' + std::to_string(a.second.x) + ' ' + std::to_string(a.second.y) + '\n';
    }
    for (int h = 1; h <= 24; ++h) {
        const LabelAnchor& a = state.hourLabelPositions[h - 1];
        log += "hourLabel " + std::to_string(h) + ' ' + std::to_string(a.x) + ' ' + std::to_string(a.y) + '\n';
    }
    return log;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

class GoldenLog : public testing::TestWithParam<Scenario> {};

}  // namespace

TEST_P(GoldenLog, MatchesStoredLog) {
    const Scenario& scenario = GetParam();
    const std::string path = vireo_test::sourceDir() + "/tests/zenova/golden/" + scenario.name + ".log";
    const std::string actual = diagramLog(scenario.inputs);
    if (const char* update = std::getenv("ZENOVA_UPDATE_GOLDEN"); update != nullptr && update[0] == '1') {
        vireo_test::writeFile(path, actual);
        GTEST_SKIP() << "rewrote " << path;
    }
    const std::string expected = vireo_test::readFile(path);
    ASSERT_FALSE(expected.empty()) << "missing golden log " << path;
    const std::vector<std::string> want = lines(expected);
    const std::vector<std::string> got = lines(actual);
    for (std::size_t i = 0; i < want.size() && i < got.size(); ++i) {
        ASSERT_EQ(got[i], want[i]) << scenario.name << ".log line " << i + 1;
    }
    ASSERT_EQ(got.size(), want.size()) << scenario.name << ".log";
    EXPECT_EQ(actual, expected);  // byte for byte, line ends included
}

INSTANTIATE_TEST_SUITE_P(
    Sites, GoldenLog,
    testing::Values(Scenario{"brussels-horizontal", {"4.35", "50.85", "1.0", "0", "180"}},
                    Scenario{"brussels-south-wall", {"4.35", "50.85", "1.0", "90", "180"}},
                    // Antarctic midnight sun on an overhanging surface facing north-west,
                    // across the date line.
                    Scenario{"mcmurdo-overhang-northwest", {"166.67", "-77.85", "12.0", "120", "300"}}),
    [](const testing::TestParamInfo<Scenario>& info) {
        std::string n = info.param.name;
        for (char& ch : n) {
            if (ch == '-') {
                ch = '_';
            }
        }
        return n;
    });
