// The block frame that every block library builds on: dispatch by call mode, the
// identification answer, the bounds of the array view, rounding and messages.
#include "BlockFrame.h"
#include "ComponentInfo.h"
#include "Numbers.h"
#include "run_vireo.h"
#include "trace.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace vireo::block;

namespace {

constexpr BlockIdentity kProbe{"xx0001", "PROBE ALIAS", 2, 1, 3, 2, 12, 1, 1, 0, 2, 0, 1, Group::standard};

// Records what the frame called and exercises the view at and past its bounds.
struct probe_block {
    static inline std::vector<std::string> calls;
    static void init(BlockView& b) {
        calls.push_back("init");
        b.ip(10) = nearestInt(b.par(0), 1);
        b.ip(9) = 99;   // a protocol slot: not the block's to write
        b.ip(12) = 99;  // past ipSize
        b.rp(0) = 1.5f;
        b.rp(1) = 9.0f;  // past rpSize
        b.dp(0) = 2.5;
        b.dp(-1) = 9.0;
    }
    static void step(BlockView& b) {
        calls.push_back("step");
        b.out(0) = b.in(0) + b.in(1, 10.0f) + b.in(2, 100.0f);
        b.out(1) = static_cast<float>(b.inputCount());
        b.out(2) = 7.0f;  // past outputCount
        b.out(-1) = 7.0f;
    }
    static void last(BlockView&) { calls.push_back("last"); }
};

VIREO_BLOCK(xx0001, kProbe, probe_block)
VIREO_BLOCK(xx0002, kProbe, IdentifyOnly)

struct Arrays {
    std::vector<float> in, out = std::vector<float>(2), rp = std::vector<float>(1), bp = std::vector<float>(2);
    std::vector<int> ip = std::vector<int>(12);
    std::vector<double> dp = std::vector<double>(1);
    char sp[1][1024];
    Arrays() { std::memset(sp, ' ', sizeof sp); }
    void call(int (*f)(float*, float*, int*, float*, double*, float*, char (*)[1024]), int mode, int inputs) {
        ip[0] = 0;
        ip[1] = mode;
        ip[3] = 4;
        ip[4] = inputs;
        f(in.empty() ? nullptr : in.data(), out.data(), ip.data(), rp.data(), dp.data(), bp.data(), sp);
    }
};

}  // namespace

TEST(Frame, IdentificationComesFromTheTable) {
    float in = 0, out = 0;
    int ip[10] = {0, -1};
    char sp[1][1024];
    std::memset(sp, 0, sizeof sp);
    xx0001(&in, &out, ip, nullptr, nullptr, nullptr, sp);
    EXPECT_EQ(std::vector<int>(ip, ip + 10), (std::vector<int>{2, 1, 12, 0, 0, 1, 3, 1, 1, 2}));
    EXPECT_EQ(in, 3.0f);
    EXPECT_EQ(out, 2.0f);
    EXPECT_EQ(std::string(sp[0], 12), "PROBE ALIAS ");
    EXPECT_EQ(std::string(sp[0] + 11, 1013), std::string(1013, ' '));
    EXPECT_TRUE(probe_block::calls.empty());  // identification calls no physics
}

TEST(Frame, DispatchesByCallModeAndBoundsTheView) {
    probe_block::calls.clear();
    Arrays a;
    a.bp = {1.4f, 0.0f};
    a.call(xx0001, 1, 0);
    EXPECT_EQ(a.ip[10], 2);
    EXPECT_EQ(a.ip[9], 0);
    EXPECT_EQ(a.rp[0], 1.5f);
    EXPECT_EQ(a.dp[0], 2.5);
    // One input connected: the second and third read as the step's defaults, whatever
    // lies behind IN (the sanitizers check that nothing is read there).
    a.in = {1.0f};
    a.call(xx0001, 0, 1);
    EXPECT_EQ(a.out, (std::vector<float>{111.0f, 1.0f}));
    a.in = {1.0f, 2.0f, 3.0f};
    a.call(xx0001, 0, 3);
    EXPECT_EQ(a.out, (std::vector<float>{6.0f, 3.0f}));
    // inputCount beyond the identity's maximum reads no further than the maximum.
    a.in = {1.0f, 2.0f, 3.0f};
    a.call(xx0001, 0, 5);
    EXPECT_EQ(a.out[1], 3.0f);
    a.call(xx0001, 2, 3);
    a.call(xx0001, 3, 3);  // any other mode is a last call
    EXPECT_EQ(probe_block::calls, (std::vector<std::string>{"init", "step", "step", "step", "last", "last"}));
}

TEST(Frame, IdentifyOnlyRoutineChangesNothing) {
    Arrays a;
    a.in = {5.0f};
    a.out = {1.0f, 2.0f};
    for (int mode : {1, 0, 2}) {
        a.call(xx0002, mode, 1);
        EXPECT_EQ(a.out, (std::vector<float>{1.0f, 2.0f}));
        EXPECT_EQ(a.ip[10], 0);
        EXPECT_EQ(a.ip[0], 0);
    }
}

TEST(Frame, ReportCountsAndShowClears) {
    const std::string trace = vireo_test::scratchDirectory("frame") + "/trace.txt";
    setenv("VIREO_MSG_TRACE", trace.c_str(), 1);
    testing::internal::CaptureStdout();
    int ip[12] = {0, 1, 1, 42, 0};
    BlockView v(kProbe, BlockArrays{nullptr, nullptr, ip, nullptr, nullptr, nullptr, nullptr});
    v.setMessageValue(17);
    v.show(305011);
    EXPECT_EQ(v.status(), 0);
    v.report(305011);
    EXPECT_EQ(v.status(), 305011);
    testing::internal::GetCapturedStdout();
    unsetenv("VIREO_MSG_TRACE");
    const auto records = vireo_test::readTrace(trace);
    EXPECT_EQ(vireo_test::codesOf(records), (std::vector<int>{305011, 305011}));
    EXPECT_EQ(records[0]["i3"], "42");
    EXPECT_EQ(ip[8], 17);
    // A view without arrays reads zeros and defaults and writes into its sink.
    EXPECT_EQ(v.in(0, 3.0f), 3.0f);
    EXPECT_EQ(v.par(0), 0.0f);
    EXPECT_TRUE(v.text(0).empty());
    v.out(0) = 5.0f;
    v.rp(0) = 5.0f;
    v.dp(0) = 5.0;
    EXPECT_EQ(v.out(0), 0.0f);
}

TEST(Numbers, RoundingAndConversionsAreNeverUndefined) {
    EXPECT_EQ(roundHalfAway(2.5f), 3.0f);
    EXPECT_EQ(roundHalfAway(-2.5f), -3.0f);
    EXPECT_EQ(roundHalfAway(0.49999997f), 0.0f);
    EXPECT_EQ(nearestInt(12.5), 13);
    EXPECT_EQ(nearestInt(-0.5), -1);
    EXPECT_EQ(nearestInt(NAN), 0);
    EXPECT_EQ(nearestInt(1e10), INT_MAX);
    EXPECT_EQ(nearestInt(-1e10), INT_MIN);
    EXPECT_EQ(nearestInt(INFINITY, 1), INT_MAX);
    EXPECT_EQ(nearestInt(2147483520.0f, 1000), INT_MAX);  // the offset saturates too
    EXPECT_EQ(nearestInt(2.0, 1), 3);
    EXPECT_EQ(toInt(-2.7), -2);
    EXPECT_EQ(toInt(2.7), 2);
    EXPECT_EQ(toInt(-INFINITY), INT_MIN);
    EXPECT_EQ(acosClamped(1.0000001f), 0.0f);
    EXPECT_FLOAT_EQ(asinClamped(-1.5f), -1.5707964f);
    EXPECT_TRUE(std::isnan(acosClamped(NAN)));
    // A parameter outside its range, or not finite, gives the fallback the caller can tell.
    EXPECT_EQ(roundedWithin(12.5, 1, 13, 0), 13);
    EXPECT_EQ(roundedWithin(13.5, 1, 13, 0), 0);
    EXPECT_EQ(roundedWithin(0.49, 1, 13, -1), -1);
    EXPECT_EQ(roundedWithin(NAN, 1, 13, -1), -1);
    EXPECT_EQ(roundedWithin(INFINITY, 1, LLONG_MAX, -1), -1);
    EXPECT_EQ(roundedWithin(-2.5, -3, 3, 0), -3);
}

TEST(Frame, ProtocolAnswersAndTrimmedTexts) {
    int ip[12] = {0, 2, 1, 5, 0, 2};
    char sp[1][1024];
    std::memset(sp, ' ', sizeof sp);
    std::memcpy(sp[0], "  out.csv", 9);
    sp[0][1023] = '\0';  // a row may end with NULs as well
    BlockView v(kProbe, BlockArrays{nullptr, nullptr, ip, nullptr, nullptr, nullptr, sp});
    v.withdrawEnd();
    v.takeAlternativeLink();
    v.setTimerSteps(8760);
    EXPECT_EQ(ip[1], 1);
    EXPECT_EQ(ip[5], 1);
    EXPECT_EQ(ip[7], 8760);
    EXPECT_EQ(v.trimmedText(0), "out.csv");
    EXPECT_TRUE(v.trimmedText(1).empty());  // beyond maxStrings
}

TEST(ComponentLine, PaddedNeverCut) {
    char* line = componentInfo("development_1", "libX");
    EXPECT_EQ(std::string(line), "\tdevelopment_1" + std::string(22, ' ') + "libX      ");
    delete[] line;
    const std::string longTag(40, 't');
    line = componentInfo(longTag.c_str(), "libVeryLongName");
    EXPECT_EQ(std::string(line), "\t" + longTag + "libVeryLongName");
    delete[] line;
}

TEST(Identity, WellFormedNameLists) {
    BlockIdentity b = kProbe;
    EXPECT_TRUE(wellFormed(b));
    b.names = "PROBE  ALIAS";  // two blanks: the engine would not find the alias
    EXPECT_FALSE(wellFormed(b));
    b.names = "PROBE";  // one name where two are declared
    EXPECT_FALSE(wellFormed(b));
}
