// DECCTL and DECCTY closing a loop through the real engine over a summer day: a loop top
// passes the controller's level to a plant of the test's own, whose supply temperature
// the controller reads back. Every step must leave its loop within a bounded number of
// passes, and where the plant can carry the load the final commands must carry it.
#include "run_vireo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kCoolingPerLevel = 3.5;
constexpr double kNominalFlow = 10000;

struct Hour {
    double outdoor, room, load;
};

std::vector<Hour> summerDay() {
    std::vector<Hour> day;
    for (int h = 0; h < 24; ++h) {
        const double outdoor = 24 + 7 * std::sin(std::numbers::pi * (h - 9) / 12.0);
        day.push_back({outdoor, 26, std::max(0.0, 3 * (outdoor - 20))});
    }
    return day;
}

std::vector<std::vector<double>> runDay(const std::string& controller, const std::string& parameters,
                                        const std::string& inputs) {
    const std::string dir = vireo_test::scratchDirectory("st-desiccant-loop-" + controller);
    std::ostringstream csv;
    csv << "outdoor,room,load,heater,bypass,switching\n";
    for (const Hour& h : summerDay()) csv << h.outdoor << "," << h.room << "," << h.load << ",40,22,0\n";
    vireo_test::writeFile(dir + "/day.csv", csv.str());
    vireo_test::writeFile(dir + "/day.vireo",
                          "b 1 CALENDAR\np 1 2023 7 1 0 24 1\n"
                          "b 2 CSVIN\np 2 0 'day.csv'\n"
                          "b 3 LOOPTOP 5.2\np 3 0\n"
                          "b 4 DECPLANT 2.1 3.1 3.2\np 4 " + std::to_string(kCoolingPerLevel) + "\n"
                          "b 5 " + controller + " " + inputs + "\np 5 " + parameters + "\n"
                          "b 6 CSVOUT 2.1 2.2 2.3 5.1 5.2 5.3 5.4 5.5 5.6 5.7 5.8\np 6 'out.csv'\n");
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    o.timeoutSeconds = 60;
    o.env = {{"VIREO_HOME", vireo_test::buildDir() + "/lib"}, {"VIREO_USER_BLOCKS", ST_PLANT_DIR}};
    const auto run = vireo_test::runVireo({"day.vireo"}, o);
    EXPECT_EQ(run.exitStatus, 0) << run.out;
    for (int code : run.codes()) EXPECT_LT(code, 300000) << run.out;
    // The plant saw every loop's pass number; a sequence of stages ends by the 30th.
    const auto at = run.out.find("most passes ");
    EXPECT_NE(at, std::string::npos) << run.out;
    if (at != std::string::npos) {
        EXPECT_LE(std::stoi(run.out.substr(at + 12)), 30) << run.out;
    }

    std::vector<std::vector<double>> rows;
    std::istringstream out(vireo_test::readFile(dir + "/out.csv"));
    std::string line;
    std::getline(out, line);
    while (std::getline(out, line)) {
        std::vector<double> v;
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, ',');) v.push_back(std::stod(f));
        rows.push_back(v);
    }
    EXPECT_EQ(rows.size(), 24u);
    return rows;
}

// Columns: outdoor, room, load, then the controller's eight outputs.
enum { kOutdoor, kRoom, kLoad, kSwitchA, kLevel, kSwitchB, kShare, kSetValue };

// DECCTY holds the set value at the minimum supply temperature until the plant reaches
// it, so it can only carry a load where the plant's highest level reaches the minimum.
void expectLoadCarried(const std::vector<std::vector<double>>& rows, double cpair, double lowestSupply,
                       bool needsMinimum) {
    int carriedRows = 0;
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "outdoor " << r[kOutdoor] << " load " << r[kLoad]);
        if (r[kLoad] <= 0) continue;
        const double supply = r[kOutdoor] - kCoolingPerLevel * r[kLevel];
        EXPECT_GE(r[kShare], 0.2 - 1e-6);
        EXPECT_LE(r[kShare], 1.0);
        // What the plant can do at its highest level with all the air.
        const double most = cpair * kNominalFlow * (r[kRoom] - (r[kOutdoor] - 3 * kCoolingPerLevel));
        if (r[kLoad] > 0.95 * most) continue;
        if (needsMinimum && r[kOutdoor] - 3 * kCoolingPerLevel > lowestSupply - 0.1) continue;
        const double carried = cpair * kNominalFlow * r[kShare] * (r[kRoom] - supply);
        EXPECT_GE(carried, r[kLoad] * 0.999);
        ++carriedRows;
    }
    EXPECT_GE(carriedRows, 6);
}

}  // namespace

TEST(DesiccantLoop, DecctlLeavesEveryLoopAndItsCommandsCarryTheLoad) {
    const auto rows = runDay("DECCTL", "16 50 70 10000 3000 0 0.05 30 2000 0", "2.1 2.2 2.3 4.1 2.4");
    expectLoadCarried(rows, 0.0003357, 16, false);
}

TEST(DesiccantLoop, DecctyLeavesEveryLoopAndItsCommandsCarryTheLoad) {
    const auto rows = runDay("DECCTY", "16 70 0 10000 2000 3000 0 0.05 30 0", "2.1 2.2 2.3 4.1 2.4 2.5 2.6");
    expectLoadCarried(rows, 0.000335, 16, true);
}
