// The loop controllers driven the way the engine drives a loop, and the stream blocks.
#include "message_capture.h"
#include "pp_blocks.h"

#include <gtest/gtest.h>

#include <cmath>

using pp_test::instance;

namespace {

constexpr int kBranch = 5;

// A field whose heat gain does not depend on the flow: the outlet lies Q / (m cp) above
// the inlet. The controller's correction assumes exactly this.
struct LinearField {
    double gain, cp, inlet;
    float outlet(float flow) const { return flow > 0 ? static_cast<float>(inlet + gain / (flow * cp)) : static_cast<float>(inlet); }
};

struct Pass {
    float flow;  // the controller's output
    int branch;
};

// Runs the controller's passes over one time step the way the loop does: each pass the
// field computes with the controller's last flow.
std::vector<Pass> runLoop(vireo_test::BlockInstance& b, const LinearField& field, int most = 40) {
    std::vector<Pass> passes;
    float flow = b.BP[1];
    for (int i = 0; i < most; ++i) {
        const float out = b.step({flow, field.outlet(flow), static_cast<float>(field.inlet)})[0];
        passes.push_back({out, b.IP[kBranch]});
        if (b.IP[kBranch] == 1) break;
        flow = out;
    }
    return passes;
}

}  // namespace

TEST(FieldController, LinearFieldSettlesInOneCorrection) {
    // Target 390 from 290 with 1.5 MW and cp 2300: 6.5217 kg/s. Pass 1 runs the start
    // flow, pass 2 corrects it exactly, pass 3 finds the outlet within the tolerance and
    // accepts, pass 4 runs the loop with it once more and leaves.
    auto b = instance("pp0010", {390, 5, 1, 0.5f, 20});
    ASSERT_EQ(b.init(), 0);
    const LinearField field{1.5e6, 2300, 290};
    for (int timeStep = 0; timeStep < 2; ++timeStep) {
        const auto passes = runLoop(b, field);
        ASSERT_EQ(passes.size(), 4u);
        EXPECT_EQ(passes[0].flow, 5.0f);
        EXPECT_NEAR(passes[1].flow, 1.5e6 / (2300 * 100.0), 1e-4);
        EXPECT_EQ(passes[2].flow, passes[1].flow);
        EXPECT_EQ(passes[3].flow, passes[1].flow);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(passes[i].branch, 2);
        EXPECT_EQ(passes[3].branch, 1);
        EXPECT_NEAR(field.outlet(passes[3].flow), 390, 1);
    }
}

TEST(FieldController, AcceptsWhatCannotBeCorrected) {
    // The outlet no warmer than the inlet: flow 0, and the loop is left one pass later.
    auto cold = instance("pp0010", {390, 5, 1, 0.5f, 20});
    ASSERT_EQ(cold.init(), 0);
    const auto none = runLoop(cold, {-1e5, 2300, 290});
    ASSERT_EQ(none.size(), 3u);
    EXPECT_EQ(none[1].flow, 0.0f);
    EXPECT_EQ(none[2].branch, 1);

    // A flow below the lowest switches the field off.
    const auto weak = runLoop(cold, {1e4, 2300, 290});
    EXPECT_EQ(weak.back().flow, 0.0f);

    // A field that never settles (the outlet 100 K above the target whatever the flow):
    // the flow doubles each pass, above the highest it is passed on unlimited and the
    // loop goes on; with the pass limit left out (20, written into the parameter) pass 21
    // accepts the flow it ran with, and pass 22 leaves.
    auto endless = instance("pp0010", {390, 5, 1, 0.5f, 20});
    ASSERT_EQ(endless.init(), 0);
    std::vector<Pass> passes;
    float flow = 5;
    for (int i = 0; i < 30; ++i) {
        const float out = endless.step({flow, 490, 290})[0];
        passes.push_back({out, endless.IP[kBranch]});
        if (endless.IP[kBranch] == 1) break;
        flow = out;
    }
    ASSERT_EQ(passes.size(), 22u);
    EXPECT_EQ(passes[3].flow, 40.0f);
    EXPECT_EQ(passes[3].branch, 2);
    EXPECT_EQ(passes[20].flow, passes[19].flow);
    EXPECT_EQ(passes[21].branch, 1);
    EXPECT_EQ(endless.BP[5], 20.0f);

    // A target at or below the inlet while the field heats: the highest flow, accepted.
    auto low = instance("pp0010", {280, 5, 1, 0.5f, 20});
    ASSERT_EQ(low.init(), 0);
    const auto most = runLoop(low, {1.5e6, 2300, 290});
    ASSERT_EQ(most.size(), 3u);
    EXPECT_EQ(most[1].flow, 20.0f);
    EXPECT_EQ(most[2].flow, 20.0f);
    EXPECT_EQ(most[2].branch, 1);
}

TEST(SwitchController, ThresholdsInOrderAndAlwaysLeaves) {
    auto b = instance("pp0017", {7, 3, 300, 200, 0.5f});
    ASSERT_EQ(b.init(), 0);
    EXPECT_EQ(b.OUT[0], 7.0f);
    struct Case {
        float control, enable, second, expected;
    };
    for (const Case& c : {Case{250, 1, 1, 3}, Case{250, 0, 1, 0}, Case{310, 0, 1, 3}, Case{190, 1, 1, 0},
                          Case{310, 1, 0.4f, 0}}) {
        EXPECT_EQ(b.step({c.control, c.enable, c.second})[0], c.expected) << c.control << " " << c.enable;
        EXPECT_EQ(b.IP[kBranch], 1);
    }
}

TEST(Streams, DividerAndTeeKeepMassAndEnergy) {
    auto divider = instance("pp0006", {});
    ASSERT_EQ(divider.init(), 0);
    EXPECT_EQ(divider.step({390, 6, 1}), (std::vector<float>{390, 6, 390, 0}));
    const auto split = divider.step({390, 6, 0.3f});
    EXPECT_FLOAT_EQ(split[1] + split[3], 6);

    auto tee = instance("pp0007", {});
    ASSERT_EQ(tee.init(), 0);
    const auto mixed = tee.step({300, 2, 280, 3});
    EXPECT_FLOAT_EQ(mixed[0], (300 * 2 + 280 * 3) / 5.0f);
    EXPECT_EQ(mixed[1], 5.0f);
    EXPECT_EQ(tee.step({300, 0, 280, 3})[0], 280.0f);
    EXPECT_EQ(tee.step({300, 0, 280, 0}), (std::vector<float>{290, 0}));
    // Flows that cancel (a stream drawn back) give the plain mean, not a division by 0.
    EXPECT_EQ(tee.step({300, -2, 280, 2}), (std::vector<float>{290, 0}));
}

TEST(Streams, TemperatureScales) {
    auto toF = instance("pp0012", {});
    auto toC = instance("pp0011", {});
    ASSERT_EQ(toF.init(), 0);
    ASSERT_EQ(toC.init(), 0);
    EXPECT_EQ(toF.step({100})[0], 212.0f);
    EXPECT_EQ(toF.step({-40})[0], -40.0f);
    EXPECT_EQ(toC.step({32})[0], 0.0f);
    EXPECT_EQ(toC.step({212})[0], 100.0f);
}
