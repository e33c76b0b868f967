// The calculation list (-l) of every model under models/, compared byte for byte with
// its listing under golden/.
#include "model_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string here() { return vireo_test::sourceDir() + "/tests/order"; }

std::vector<std::string> modelNames() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(here() + "/models"))
        if (e.path().extension() == ".vireo") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class Listing : public ::testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(Listing, MatchesItsGoldenListing) {
    const std::string name = GetParam();
    const auto run = vireo_test::runModel(vireo_test::readFile(here() + "/models/" + name + ".vireo"), {"-l", "-c"});
    const std::string golden = vireo_test::readFile(here() + "/golden/" + name + ".txt");
    ASSERT_FALSE(golden.empty()) << "no golden listing for " << name;
    EXPECT_EQ(run.result.out, golden) << name;
}

INSTANTIATE_TEST_SUITE_P(Models, Listing, ::testing::ValuesIn(modelNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(ListingSet, CoversEnoughModels) { EXPECT_GE(modelNames().size(), 15u); }
