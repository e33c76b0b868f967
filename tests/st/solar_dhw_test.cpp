// The solar hot-water example through the real engine, a year at 6-minute steps: CSVOUT
// runs before the tank (the delay block) and writes the tank's temperatures at the start
// of each step, so every term of the tank's balance can be formed from the file. While a
// step is one sub-step, the tank's change is exactly what the collector brings less the
// load and the loss: a residual beyond rounding in any step is a fault. The same with the
// dynamic collector in place of the steady one.
#include "run_vireo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The real parameters of the block the model places under `name`, and its number.
struct Placed {
    std::string number;
    std::vector<double> parameters;
};
Placed placed(const std::string& model, const std::string& name) {
    std::smatch m;
    if (!std::regex_search(model, m, std::regex("\\nb\\s+(\\d+)\\s+" + name + "\\b"))) return {};
    Placed p{m[1], {}};
    if (std::regex_search(model, m, std::regex("\\np\\s+" + p.number + "\\s+([^\\n%]*)"))) {
        std::istringstream values(m[1]);
        for (double v; values >> v;) p.parameters.push_back(v);
    }
    return p;
}

struct Year {
    double gain = 0, stored = 0, loss = 0, load = 0;
    double worstStep = 0, worstEnergy = 0;  // residuals beyond their rounding allowance (J)
    std::size_t rows = 0;
};

Year runYear(const std::string& name, const std::string& model) {
    const std::string dir = vireo_test::scratchDirectory("st-solar-dhw-" + name);
    vireo_test::writeFile(dir + "/model.vireo", model);
    std::filesystem::create_symlink(vireo_test::buildDir() + "/examples/solar-dhw-weather-6min.csv",
                                    dir + "/solar-dhw-weather-6min.csv");
    std::filesystem::create_directories(dir + "/no-user-blocks");
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    o.env = {{"VIREO_HOME", vireo_test::buildDir() + "/lib"}, {"VIREO_USER_BLOCKS", dir + "/no-user-blocks"}};
    const auto run = vireo_test::runVireo({"model.vireo", "-c"}, o);
    EXPECT_EQ(run.exitStatus, 0) << run.out;
    const std::vector<int> codes = run.codes();
    for (int code : codes) EXPECT_LT(code, 200000) << name;
    // A normal end: the run's closing messages come last.
    const std::vector<int> end(codes.end() - std::min<std::ptrdiff_t>(2, std::ssize(codes)), codes.end());
    EXPECT_EQ(end, (std::vector<int>{4004, 4999}));

    // The tank: volume, nodes, diameter, cp, density, U.
    const std::vector<double> tank = placed(model, "TANKST").parameters;
    if (tank.size() < 6) {
        ADD_FAILURE() << "no TANKST parameters in the model";
        return {};
    }
    const int n = static_cast<int>(tank[1]);
    const double cp = tank[3], nodeMass = tank[4] * tank[0] / n, u = tank[5];
    const double ends = std::numbers::pi * tank[2] * tank[2] / 4, mantle = tank[0] / (tank[2] * n * 0.25);

    std::istringstream csv(vireo_test::readFile(dir + "/solar-dhw.csv"));
    std::string line;
    std::getline(csv, line);
    std::map<std::string, std::size_t> column;
    {
        std::istringstream names(line);
        for (std::string c; std::getline(names, c, ',');) column.emplace(c, column.size());
    }
    std::vector<std::vector<double>> rows;
    while (std::getline(csv, line)) {
        std::vector<double> v;
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, ',');) v.push_back(std::stod(f));
        rows.push_back(std::move(v));
    }
    const auto at = [&](const std::vector<double>& row, const std::string& c) { return row.at(column.at(c)); };
    const auto node = [&](const std::vector<double>& row, int k) { return at(row, "t" + std::to_string(k + 1)); };

    Year y;
    y.rows = rows.size();
    for (std::size_t j = 0; j < rows.size(); ++j) {
        const auto& r = rows[j];
        double sum = 0;
        for (int k = 0; k < n; ++k) sum += node(r, k);
        const double energy = at(r, "energy");
        y.worstEnergy = std::max(y.worstEnergy, std::fabs(energy - cp * nodeMass * sum) - (1e-7 * energy + 4));
        if (j == 0 || j + 1 == rows.size()) continue;
        // Row j holds the start of the step that row j+1 starts from; its length is the
        // time since row j-1.
        const double ts = at(r, "seconds") - at(rows[j - 1], "seconds");
        const double gain = cp * at(r, "pump_flow") * (at(r, "collector_out") - node(r, n - 1));
        const double load = cp * at(r, "draw_flow") * (node(r, 0) - at(r, "t_mains"));
        double loss = 0;
        for (int k = 0; k < n; ++k)
            loss += u * (mantle + (k == 0 || k == n - 1 ? ends : 0)) * (node(r, k) - at(r, "t_room"));
        const double change = at(rows[j + 1], "energy") - energy;
        y.worstStep = std::max(y.worstStep, std::fabs(change - ts * (gain - load - loss)) - (5e-7 * energy + 10));
        y.gain += ts * gain;
        y.load += ts * load;
        y.loss += ts * loss;
        y.stored += change;
    }
    return y;
}

// The model with its SCETA field replaced by SCDYN: the same collectors with 7 kJ/(m2 K),
// five segments each; beam and diffuse irradiance on the plane from the weather.
std::string withDynamicCollector(std::string model) {
    const Placed field = placed(model, "SCETA");
    const std::string n = field.number;
    model = std::regex_replace(model, std::regex("\\nb\\s+" + n + "\\s+SCETA\\s+(\\S+)\\s+(\\S+)[^\\n]*"),
                               "\nb " + n + " SCDYN $1 $2 2.10 2.11 2.7 2.4 2.1");
    return std::regex_replace(model, std::regex("\\np\\s+" + n + "\\s+[^\\n]*"),
                              "\np " + n + " 2.0 0.80 3.5 0.015 1.0 7000 4186 2 1 20 5");
}

}  // namespace

TEST(SolarDhwYear, TheTankReceivesWhatTheCollectorGivesAtSixMinuteSteps) {
    const std::string model = vireo_test::readFile(vireo_test::sourceDir() + "/examples/solar-dhw.vireo");
    ASSERT_EQ(placed(model, "SCETA").parameters.size(), 8u);
    const Year steady = runYear("sceta", model);
    const Year dynamic = runYear("scdyn", withDynamicCollector(model));
    for (const Year* y : {&steady, &dynamic}) {
        SCOPED_TRACE(y == &steady ? "SCETA" : "SCDYN");
        EXPECT_EQ(y->rows, 87600u);
        EXPECT_LE(y->worstStep, 0.0);
        EXPECT_LE(y->worstEnergy, 0.0);
        EXPECT_GT(y->gain, 1e9);
        EXPECT_NEAR(y->gain, y->stored + y->loss + y->load, 1e-3 * y->gain);
    }
    EXPECT_NEAR(dynamic.gain, steady.gain, 0.05 * steady.gain);
}
