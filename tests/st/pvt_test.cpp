// PVT through the block harness: the energy balance of module, gap and wall (with the
// module's outside loss switched off, what the air and the wall carry away is what
// module and wall absorb less the electricity, to the 0.01 K the iteration settles to),
// the ventilation flow as the air's enthalpy rise rho cp V (t_f - t_a)/z, the state
// without sun or temperature difference, the counted unsettled iterations, what
// initialisation refuses, and inputs that are bad or missing.
#include "block_harness.h"
#include "message_capture.h"
#include "vireo_tools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;
using Codes = std::vector<int>;

namespace {

// l, xgap, spv, etapv, epvf, epvb, alpv, taupv, lampv, ygap, alb, eb, rb
struct Facade {
    std::vector<float> p = {1, 0.1f, 0.005f, 0.12f, 0.9f, 0.85f, 0.9f, 0.05f, 1, 1.2f, 0.8f, 0.9f, 0.5f};
    Facade& set(int i, float v) {
        p[static_cast<std::size_t>(i)] = v;
        return *this;
    }
    float operator[](int i) const { return p[static_cast<std::size_t>(i)]; }
};

// gt, ta, vw, vgap, ti, z
struct Weather {
    float gt = 800, ta = 25, vw = 2, vgap = 0.5f, ti = 20, z = 6;
    std::vector<float> list() const { return {gt, ta, vw, vgap, ti, z}; }
};

BlockInstance pvt(const Facade& f, int inputs = 6) {
    BlockInstance b(vireo_test::library("VireoST").block("st0002"), {.inputs = inputs, .parameters = f.p});
    return b;
}

}  // namespace

TEST(Pvt, EnergyBalanceAndVentilation) {
    const Facade f = Facade{}.set(8, 1e-7f);  // the module loses nothing to the outside
    const Weather cases[] = {{800, 25, 2, 0.5f, 20, 6}, {300, 5, 5, 1, 21, 2}, {950, 32, 0, 0.1f, 24, 10},
                             {500, -10, 8, 2, 22, 0.5f}, {700, 20, 1, 0.3f, 20, 3}};
    for (const Weather& w : cases) {
        SCOPED_TRACE(testing::Message() << "gt " << w.gt << ", ta " << w.ta << ", ti " << w.ti);
        BlockInstance b = pvt(f);
        ASSERT_EQ(b.init(), 0);
        const auto& out = b.step(w.list());
        const double absorbed = w.gt * (f[6] + f[7] * f[10]) - w.gt * f[3];
        const double carried = out[13] - out[12] - w.gt * out[10];
        EXPECT_NEAR(carried, absorbed, 0.5 + 1e-5 * absorbed);
        EXPECT_NEAR(out[10], f[7] * (1 - f[10]), 1e-7);
        // The air's enthalpy rise over the area from the inlet, at the mean air temperature.
        const float tfm = out[5], pressure = 100000;
        const double vdot = w.vgap * f[1] * f[9];
        const double rise = aircp(&tfm) * airrho(&tfm, &pressure) * vdot * (out[1] - w.ta) / w.z;
        EXPECT_NEAR(out[13], rise, 2e-4 * std::fabs(rise) + 1e-3);
        // Temperatures between the inlet and the absorbing surfaces, means between the
        // inlet and the local values.
        EXPECT_GT(out[0], out[1]);
        EXPECT_GT(out[1], w.ta);
        EXPECT_LT(out[5], out[1]);
        // The transmission flow is the wall's at its mean temperature; where inside and
        // ambient differ it is the loss coefficient's too.
        const double ub = 1 / (f[12] + 1.0 / 8);
        EXPECT_NEAR(out[12], ub * (w.ti - out[6]) - w.gt * out[10], 1e-3);
        if (w.ti != w.ta) EXPECT_NEAR(out[12], out[8] * (w.ti - w.ta) - w.gt * out[10], 1e-3);
        else EXPECT_EQ(out[8], 0);
        EXPECT_NEAR(out[13], w.gt * out[11] + (w.ti - w.ta) * out[9], 1e-3 + 1e-5 * std::fabs(out[13]));
        EXPECT_NEAR(out[3], out[2] - (out[2] - w.ti) * f[12] * ub, 1e-4);
    }
}

TEST(Pvt, NullStateAndTheSmallestValues) {
    BlockInstance b = pvt(Facade{});
    ASSERT_EQ(b.init(), 0);
    Weather w;
    w.gt = 0, w.ta = w.ti = 17;
    const auto& out = b.step(w.list());
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(out[static_cast<std::size_t>(i)], 17, 1e-4) << i;
    for (int i : {8, 9, 12, 13}) EXPECT_NEAR(out[static_cast<std::size_t>(i)], 0, 1e-4) << i;
    // The sun with equal inside and ambient temperatures: the wall still passes heat.
    w.gt = 600;
    b.step(w.list());
    EXPECT_EQ(b.OUT[8], 0);
    EXPECT_EQ(b.OUT[9], 0);
    EXPECT_LT(b.OUT[12], -600 * b.OUT[10] - 1);
    // An area of 0 computes as 0.001, a gap velocity of 0 as 0.0001; a negative area
    // carries no ventilation.
    const Weather base;
    const auto at = [&](float z, float vgap) {
        Weather x = base;
        x.z = z, x.vgap = vgap;
        return b.step(x.list());
    };
    EXPECT_EQ(at(0, 0.5f), at(0.001f, 0.5f));
    EXPECT_EQ(at(2, 0), at(2, 0.0001f));
    EXPECT_EQ(at(2, -1), at(2, 0.0001f));
    const auto negative = at(-1, 0.5f);
    EXPECT_EQ(negative[9], 0);
    EXPECT_EQ(negative[11], 0);
    EXPECT_EQ(messagesOf([&] { b.last(); }).codes, Codes{});
}

TEST(Pvt, UnsettledTemperaturesAreCountedPerTest) {
    // Fifty suns on a module over a still gap: the coefficients swing between passes.
    BlockInstance b = pvt(Facade{});
    ASSERT_EQ(b.init(), 0);
    Weather w;
    w.gt = 50000, w.vw = 0, w.vgap = 0, w.z = 50;
    EXPECT_EQ(messagesOf([&] { b.step(w.list()); }).codes, Codes{205098});
    EXPECT_EQ(b.IP[0], 205098);
    EXPECT_EQ(b.IP[10], 3);
    EXPECT_EQ(messagesOf([&] { b.step(w.list()); }).codes, Codes{});
    EXPECT_EQ(b.IP[10], 6);
    for (float v : b.OUT) EXPECT_TRUE(std::isfinite(v));
    const auto summary = messagesOf([&] { b.last(); });
    ASSERT_EQ(summary.codes, Codes{205062});
    EXPECT_EQ(summary.records[0]["i8"], "6");
    b.init();  // a new run counts afresh
    EXPECT_EQ(b.IP[10], 0);
}

TEST(Pvt, InitialisationRefusesDivisionsByZero) {
    struct Case {
        std::vector<double> changes;  // index, value, ...
        Codes codes;
    };
    const Case cases[] = {
        {{0, 0, 1, -0.1, 9, 0}, {308001, 308001, 308001}},
        {{8, 0}, {305733}},
        {{12, -0.01}, {305734}},
        {{12, 0}, {}},
        {{4, 0, 5, 1.01, 11, 1}, {305735, 305735}},
        {{3, INFINITY, 7, NAN}, {305189, 305189}},
    };
    for (const Case& c : cases) {
        Facade f;
        for (std::size_t i = 0; i < c.changes.size(); i += 2)
            f.set(static_cast<int>(c.changes[i]), static_cast<float>(c.changes[i + 1]));
        BlockInstance b = pvt(f);
        EXPECT_EQ(messagesOf([&] { b.init(); }).codes, c.codes) << c.changes[0];
        const auto out = b.OUT;
        b.step(Weather{}.list());
        if (!c.codes.empty()) {
            EXPECT_EQ(b.OUT, out);
        }
        for (float v : b.OUT) EXPECT_TRUE(std::isfinite(v));
    }
}

TEST(Pvt, StaysFiniteOnBadInputs) {
    const float inf = std::numeric_limits<float>::infinity(), huge = 3e38f;
    const std::vector<float> values = {0, -1, -1e6f, 20, 1e6f, huge, -huge, inf, NAN, -273.15f};
    BlockInstance none = pvt(Facade{}, 0);
    std::string failure;
    messagesOf([&] {
        none.init();
        const auto& zero = none.step();  // no inputs: everything at 0 degC, no sun
        for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13}) EXPECT_NEAR(zero[static_cast<std::size_t>(i)], 0, 1e-5) << i;
        BlockInstance b = pvt(Facade{});
        b.init();
        for (float v : values)
            for (std::size_t slot = 0; slot <= 6; ++slot) {
                std::vector<float> in = Weather{}.list();
                if (slot < 6) in[slot] = v;
                else in.assign(6, v);
                const auto& out = b.step(in);
                for (std::size_t o = 0; o < out.size(); ++o)
                    if (!std::isfinite(out[o]) && failure.empty())
                        failure = "output " + std::to_string(o) + " with " + std::to_string(v) + " in slot " +
                                  std::to_string(slot);
            }
        b.last();
    });
    EXPECT_EQ(failure, "");
}
