// The progress counters in-process: a run of many nested timers counts more calls than a
// float holds exactly, and the count left must still go down by one at every call.
#include "ParseRoot.h"
#include "RootClass.h"
#include "SimulatorBlock.h"
#include "run_vireo.h"
#include "vireoBlocks.h"
#include "vireoEngine.h"

#include <gtest/gtest.h>

#include <cmath>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

// A free timer of the test blocks, with the registry that makes it.
class ProgressCounters : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string none = vireo_test::scratchDirectory("no-user-blocks");
        setenv("VIREO_HOME", MODEL_BLOCKS_DIR, 1);
        setenv("VIREO_USER_BLOCKS", none.c_str(), 1);
        unsetenv("VIREO_PROBE_LOG");
        vireoBlocks = std::make_unique<VireoBlocks>();
        clock.reset(ParseRoot::createBlock(1, String("clock")));
        auto params = new BlockParameters;
        params->insert(new Parameter(1000.0f));
        clock->setParameters(params);
    }
    void TearDown() override {
        clock.reset();
        vireoBlocks.reset();
    }
    std::unique_ptr<SimulatorBlock> clock;
};

}  // namespace

TEST_F(ProgressCounters, CountEveryCallBeyondWhatAFloatHolds) {
    ASSERT_TRUE(clock->init());

    // 2^30 + 1 calls left of 100 * 2^30: a float would hold 2^30 and never move on.
    constexpr std::int64_t kBillion = std::int64_t{1} << 30;
    RootClass::_totalNumberOfTimerCalls = 100 * kBillion;
    RootClass::_leftNumberOfTimerCalls = kBillion + 1;
    RootClass::_progressMemo = 0;
    int stop = 0, status = 0;
    clock->call(stop, status);
    EXPECT_EQ(RootClass::_leftNumberOfTimerCalls, kBillion);
    EXPECT_EQ(RootClass::_progressMemo, 99);
    clock->call(stop, status);
    EXPECT_EQ(RootClass::_leftNumberOfTimerCalls, kBillion - 1);
    EXPECT_EQ(RootClass::_progressMemo, 99);
}

TEST_F(ProgressCounters, ThePercentageAfterEveryCallIsTheOneTheCountsGive) {
    // The engine works the percentage out only where it can move; after every call it
    // must still be the one the counts give: the share done, rounded to a whole percent.
    auto expected = [](std::int64_t left, std::int64_t total) {
        if (left <= 0) return 100;
        return static_cast<int>(std::floor(100.0L * static_cast<long double>(total - left) / total + 0.5L));
    };
    // A total that no percentage divides, run past the end of its count; and one beyond
    // what a float holds exactly, across the count where 98.5 % is passed.
    struct Case {
        std::int64_t total, left, calls;
        int last;
    };
    constexpr std::int64_t kBillion = std::int64_t{1} << 30;
    for (const Case& c : {Case{7919, 7919, 7924, 100}, Case{100 * kBillion, 3 * kBillion / 2 + 3000, 6000, 99}}) {
        ASSERT_TRUE(clock->init());
        RootClass::_totalNumberOfTimerCalls = c.total;
        RootClass::_leftNumberOfTimerCalls = c.left;
        RootClass::_progressMemo = 0;
        int wrong = 0;
        for (std::int64_t k = 1; k <= c.calls; ++k) {
            int stop = 0, status = 0;
            clock->call(stop, status);
            if (RootClass::_progressMemo != expected(c.left - k, c.total)) ++wrong;
        }
        EXPECT_EQ(wrong, 0) << c.total;
        EXPECT_EQ(RootClass::_progressMemo, c.last) << c.total;
    }
}
