// The progress counters in-process: a run of many nested timers counts more calls than a
// float holds exactly, and the count left must still go down by one at every call.
#include "ParseRoot.h"
#include "RootClass.h"
#include "SimulatorBlock.h"
#include "run_vireo.h"
#include "vireoBlocks.h"
#include "vireoEngine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

TEST(ProgressCounters, CountEveryCallBeyondWhatAFloatHolds) {
    const std::string none = vireo_test::scratchDirectory("no-user-blocks");
    setenv("VIREO_HOME", MODEL_BLOCKS_DIR, 1);
    setenv("VIREO_USER_BLOCKS", none.c_str(), 1);
    unsetenv("VIREO_PROBE_LOG");
    vireoBlocks = std::make_unique<VireoBlocks>();
    std::unique_ptr<SimulatorBlock> clock(ParseRoot::createBlock(1, String("clock")));
    auto params = new BlockParameters;
    params->insert(new Parameter(1000.0f));
    clock->setParameters(params);
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
    vireoBlocks.reset();
}
