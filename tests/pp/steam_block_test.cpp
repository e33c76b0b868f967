// STEAM through the built library and through the real engine: its outputs are the SI
// property routines of its inputs in double precision, stored as floats; a state out of
// the routines' range ends the run with their report.
#include "pp_blocks.h"
#include "run_vireo.h"
#include "steam_values.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace vireo::steam;

namespace {

struct State {
    float t;  // °C
    float p;  // Pa
};
// Compressed liquid, steam, region 3 above the critical temperature, supercritical
// steam below the 2/3 boundary, cold water at the lowest temperature, vapour at 0 °C+.
const State kStates[] = {{300, 1e7f}, {20, 101325}, {400, 3e7f}, {360, 2e7f}, {550, 1e7f}, {-3.5f, 2e5f}, {0.5f, 500}};

std::vector<float> direct(State s) {
    const double t = s.t, p = s.p;
    return {static_cast<float>(steamEntropy(t, p)), static_cast<float>(steamEnthalpy(t, p)),
            static_cast<float>(steamHeatCapacity(t, p)), static_cast<float>(steamVolume(t, p))};
}

// Runs the model in a fresh directory with the built libraries and no user blocks.
vireo_test::RunResult run(const std::string& dir, const std::string& model) {
    fs::create_directories(dir + "/no-user-blocks");
    vireo_test::writeFile(dir + "/model.vireo", model);
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    o.env = {{"VIREO_HOME", vireo_test::buildDir() + "/lib"}, {"VIREO_USER_BLOCKS", dir + "/no-user-blocks"}};
    return vireo_test::runVireo({"model.vireo"}, o);
}

}  // namespace

TEST(SteamBlock, OutputsAreThePropertyRoutinesInSinglePrecision) {
    auto b = pp_test::instance("pp0013", {});
    ASSERT_EQ(b.init(), 0);
    for (const State s : kStates) {
        ASSERT_TRUE(steamStateAccepts(s.t, s.p)) << s.t << " °C";
        EXPECT_EQ(b.step({s.t, s.p}), direct(s)) << s.t << " °C, " << s.p << " Pa";
    }
}

TEST(SteamBlock, RunsInAModelAsTheRoutinesGiveIt) {
    // One constant source for all states, one STEAM each, one row written.
    std::ostringstream model;
    model << "b 1 CONST\np 1";
    for (const State s : kStates) model << ' ' << s.t << ' ' << s.p;
    model << '\n';
    std::string columns;
    for (std::size_t i = 0; i < std::size(kStates); ++i) {
        model << "b " << 2 + i << " STEAM 1." << 2 * i + 1 << " 1." << 2 * i + 2 << '\n';
        for (int k = 1; k <= 4; ++k) columns += " " + std::to_string(2 + i) + "." + std::to_string(k);
    }
    model << "b 20 CSVOUT" << columns << "\np 20 'steam.csv'\n";
    const std::string dir = vireo_test::scratchDirectory("steam-block");
    const auto result = run(dir, model.str());
    ASSERT_EQ(result.exitStatus, 0) << result.out;
    const auto codes = result.codes();
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes[codes.size() - 2], 4004);
    EXPECT_EQ(codes.back(), 4999);

    // CSVOUT writes each float as its shortest exact text: read back, the values equal
    // the routines' results stored as floats.
    std::istringstream csv(vireo_test::readFile(dir + "/steam.csv"));
    std::string header, row;
    std::getline(csv, header);
    std::getline(csv, row);
    std::vector<float> written;
    std::istringstream fields(row);
    for (std::string field; std::getline(fields, field, ',');) written.push_back(std::stof(field));
    std::vector<float> expected;
    for (const State s : kStates) {
        const auto values = direct(s);
        expected.insert(expected.end(), values.begin(), values.end());
    }
    EXPECT_EQ(written, expected);
    EXPECT_FALSE(std::getline(csv, row));  // no timer: one step
}

TEST(SteamBlock, AStateOutOfRangeEndsTheRunWithTheReport) {
    const auto result = run(vireo_test::scratchDirectory("steam-cold"), "b 1 CONST\np 1 -10 101325\nb 2 STEAM 1.1 1.2\n"
                                          "b 3 CSVOUT 2.1 2.2 2.3 2.4\np 3 'cold.csv'\n");
    EXPECT_EQ(result.exitStatus, 1);
    // -10 °C is 14 °F, below region 1; the liquid side's entropy asks first.
    EXPECT_NE(result.out.find("\n   OUT OF RANGE IN  COMT1   PRES =  0.14697563098346388D+02\n"
                              "                            TEMP =  0.14000000000000000D+02\n"
                              "         0.00000000E+00 0.00000000E+00 SPT1    0.14697563E+02 0.14000000E+02\n"
                              "         0.00000000E+00 0.00000000E+00 SPTL    0.14697563E+02 0.14000000E+02\n"),
              std::string::npos)
        << result.out;
    // The report is the last thing written: the engine closes nothing.
    const std::string last = "         0.00000000E+00 0.00000000E+00         0.00000000E+00 0.00000000E+00\n";
    EXPECT_EQ(result.out.substr(result.out.size() - last.size()), last);
    EXPECT_EQ(result.out.find("End of VIREO run"), std::string::npos);
    for (int code : result.codes()) {
        EXPECT_NE(code, 4004);
        EXPECT_NE(code, 4999);
    }
}
