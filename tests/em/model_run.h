// Running a model of the energy-meteorology tests through the real host, and reading the
// CSV files it writes.
#ifndef VIREO_EM_TEST_MODEL_RUN_H
#define VIREO_EM_TEST_MODEL_RUN_H

#include "run_vireo.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace em_test {

// The comma-separated numbers of a CSVOUT row.
inline std::vector<double> numbers(const std::string& line) {
    std::vector<double> row;
    std::istringstream fields(line);
    for (std::string f; std::getline(fields, f, ',');) row.push_back(std::stod(f));
    return row;
}

// Runs a model file in its directory by the real host, with the build's block libraries
// and, as the user's blocks, those of `userBlocks` (none when empty); its files are
// written there.
inline vireo_test::RunResult runIn(const std::string& dir, const std::string& model, std::string userBlocks = {}) {
    if (userBlocks.empty()) {
        userBlocks = dir + "/no-user-blocks";
        std::filesystem::create_directories(userBlocks);
    }
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    o.env = {{"VIREO_HOME", vireo_test::buildDir() + "/lib"}, {"VIREO_USER_BLOCKS", userBlocks}};
    return vireo_test::runVireo({model}, o);
}

// The same for a model text written there first.
inline vireo_test::RunResult runModel(const std::string& dir, const std::string& file, const std::string& text) {
    vireo_test::writeFile(dir + "/" + file, text);
    return runIn(dir, file);
}

// The rows of a CSV file below its header, as numbers.
inline std::vector<std::vector<double>> csvRows(const std::string& path) {
    std::istringstream csv(vireo_test::readFile(path));
    std::string line;
    std::getline(csv, line);
    std::vector<std::vector<double>> rows;
    while (std::getline(csv, line)) rows.push_back(numbers(line));
    return rows;
}

}  // namespace em_test

#endif
