// The water, air and humid-air blocks through the block harness: which function each
// form calls with which inputs, the variants, the clamps of HUMA2R and HUMH2X, the
// warnings counted per instance and their summaries, the opMode check.
#include "air_reference.h"
#include "block_harness.h"
#include "message_capture.h"

#include <gtest/gtest.h>

#include <cmath>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;

namespace {

vireo_test::BlockFunction block(const char* routine) { return vireo_test::library("VireoST").block(routine); }

float once(const char* routine, const std::string& name, std::vector<float> inputs, std::vector<float> parameters = {}) {
    BlockInstance b(block(routine), {.inputs = static_cast<int>(inputs.size()), .parameters = parameters, .name = name});
    float out = 0.0f;
    const auto m = messagesOf([&] {
        EXPECT_EQ(b.init(), 0) << name;
        out = b.step(inputs)[0];
    });
    EXPECT_EQ(m.codes, std::vector<int>{}) << name;
    return out;
}

double relative(double a, double b) { return std::fabs(a - b) / std::fabs(b); }

}  // namespace

// IAPWS values: IF97 over liquid water (supercooled below 0 degC), R14-08 over ice.
TEST(SatpSatt, VariantsAndForms) {
    EXPECT_LT(relative(once("st0009", "SATP", {25.0f}), 3169.747), 1e-5);
    EXPECT_LT(relative(once("st0009", "SATP", {25.0f}, {1.0f}), 3169.747), 1e-5);
    EXPECT_LT(relative(once("st0009", "SATP", {-10.0f}, {1.0f}), 259.874), 1e-5);  // ice
    EXPECT_NEAR(once("st0009", "SATT", {101325.0f}), 99.974, 1e-3);
    EXPECT_NEAR(once("st0009", "SATT", {101325.0f}, {1.0f}), 99.974, 1e-3);  // SATT takes no variant

    // The variant is the nearest whole number of BP 0 plus 1: 1 and 2 only.
    for (float bp : {1.5f, 7.0f, -0.6f, -1.0f, NAN}) {
        BlockInstance b(block("st0009"), {.inputs = 1, .parameters = {bp}, .name = "SATP"});
        const auto m = messagesOf([&] { EXPECT_EQ(b.init(), 305011) << bp; });
        ASSERT_EQ(m.codes, std::vector<int>{305011}) << bp;
        EXPECT_EQ(m.records[0]["i10"], "1");
    }
    for (float bp : {-0.4f, 0.0f, 1.4f}) {
        BlockInstance b(block("st0009"), {.inputs = 1, .parameters = {bp}, .name = "SATP"});
        EXPECT_EQ(messagesOf([&] { b.init(); }).codes, std::vector<int>{}) << bp;
    }
}

TEST(SatpSatt, FailuresAreCountedOrReportedEachTime) {
    BlockInstance satp(block("st0009"), {.inputs = 1, .name = "SATP"});
    auto m = messagesOf([&] {
        satp.init();
        for (float t : {400.0f, 20.0f, -150.0f, NAN}) satp.step({t});
    });
    ASSERT_EQ(m.codes, std::vector<int>{205166});
    EXPECT_EQ(m.records[0]["r0"], "400");
    EXPECT_EQ(m.records[0]["i10"], "-1");
    EXPECT_EQ(satp.OUT[0], 0.0f);  // not a number in, none out
    m = messagesOf([&] { satp.last(); });
    ASSERT_EQ(m.codes, std::vector<int>{205010});
    EXPECT_EQ(m.records[0]["i8"], "3");

    BlockInstance satt(block("st0009"), {.inputs = 1, .name = "SATT"});
    m = messagesOf([&] {
        satt.init();
        for (float p : {3e7f, 1e5f, 100.0f, 5e7f}) satt.step({p});
        satt.last();
    });
    EXPECT_EQ(m.codes, (std::vector<int>{205167, 205167, 205167}));
    EXPECT_EQ(satt.IP[10], 3);
    EXPECT_NEAR(satt.OUT[0], 373.946f, 1e-3f);  // held at the critical point
}

TEST(PropertyBlocks, FormsOutsideTheirNameListAreRefused) {
    const std::pair<const char*, int> cases[] = {{"st0009", 0}, {"st0009", 3}, {"st0010", 4},
                                                 {"st0013", 0}, {"st0013", 6}};
    for (const auto& c : cases) {
        const char* routine = c.first;
        const int opMode = c.second;
        const auto id = vireo_test::identify(block(routine));
        BlockInstance b(block(routine), {.inputs = id.maxInputs(), .opMode = opMode});
        const auto m = messagesOf([&] { EXPECT_EQ(b.init(), 305126) << routine << " " << opMode; });
        EXPECT_EQ(m.codes, std::vector<int>{305126});
        // The step still runs the first form, as every value outside the list does.
        messagesOf([&] { b.step(std::vector<float>(static_cast<std::size_t>(id.maxInputs()), 20.0f)); });
        EXPECT_TRUE(std::isfinite(b.OUT[0]));
    }
}

// IAPWS-95 at 100 degC: h' 419.17, h'' 2675.57 kJ/kg.
TEST(H2oh, TheThreeEnthalpies) {
    EXPECT_NEAR(once("st0010", "H2OHL", {100.0f}), 419.17, 0.3);
    EXPECT_NEAR(once("st0010", "H2OHV", {100.0f}), 2675.57, 0.3);
    EXPECT_NEAR(once("st0010", "H2OHE", {100.0f}), 2256.40, 0.5);
    // Outside the range: the value at the nearer end, and no message.
    EXPECT_NEAR(once("st0010", "H2OHE", {500.0f}), 0.0, 1e-3);
}

TEST(Air, OutputsInTheirOrder) {
    for (const auto& r : air_reference::kIncropera) {
        BlockInstance b(block("st0012"), {.inputs = 2});
        const float t = static_cast<float>(r.kelvin - 273.15);
        EXPECT_EQ(b.init(), 0);
        const auto out = b.step({t, 100000.0f});
        const double atm = 101325.0 / 100000.0;  // kinematic values at 101 325 Pa
        // The tolerances of the functions' own test against the same table.
        EXPECT_LT(relative(out[0], r.k * 1e-3), 0.02) << r.kelvin;
        EXPECT_LT(relative(out[1], r.cp * 1e3), 0.005) << r.kelvin;
        EXPECT_LT(relative(out[2], r.density), 0.002) << r.kelvin;
        EXPECT_LT(relative(out[3] * atm, r.alpha * 1e-6), 0.02) << r.kelvin;
        EXPECT_LT(relative(out[4] * atm, r.nu * 1e-6), 0.015) << r.kelvin;
        EXPECT_LT(relative(out[5], r.prandtl), 0.02) << r.kelvin;
    }
}

TEST(HumidAirBlocks, FormsClampsAndCounters) {
    // 20 degC, phi 0.5: x 7.26 g/kg, h 38.55 kJ/kg (PsychroLib).
    const float x = once("st0013", "HUMR2A", {0.5f, 20.0f});
    EXPECT_NEAR(x, 7.26f, 0.01f);
    EXPECT_NEAR(once("st0013", "HUMA2R", {x, 20.0f}), 0.5f, 1e-5f);
    const float h = once("st0013", "HUMH", {x, 20.0f});
    EXPECT_NEAR(h, 38.55f, 0.02f);
    EXPECT_NEAR(once("st0013", "HUMH2T", {x, h}), 20.0f, 1e-4f);
    EXPECT_NEAR(once("st0013", "HUMH2X", {20.0f, h}), x, 1e-4f);
    // HUMA2R holds the relative humidity at 1 (x 1.2 times the saturated one), HUMH2X the
    // humidity ratio at 0 (an enthalpy below that of dry air).
    const float saturated = once("st0013", "HUMR2A", {1.0f, 20.0f});
    EXPECT_EQ(once("st0013", "HUMA2R", {1.2f * saturated, 20.0f}), 1.0f);
    EXPECT_EQ(once("st0013", "HUMH2X", {20.0f, 20.0f}), 0.0f);

    BlockInstance b(block("st0013"), {.inputs = 2, .name = "HUMR2A"});
    auto m = messagesOf([&] {
        b.init();
        for (float t : {250.0f, 20.0f, 300.0f, 250.0f}) b.step({0.5f, t});
        b.last();
    });
    ASSERT_EQ(m.codes, (std::vector<int>{205044, 205010}));
    EXPECT_EQ(m.records[0]["r1"], "250");
    EXPECT_EQ(m.records[1]["i8"], "3");

    BlockInstance humh(block("st0013"), {.inputs = 2, .name = "HUMH"});
    m = messagesOf([&] {
        humh.init();
        for (float t : {250.0f, NAN, -500.0f}) humh.step({5.0f, t});
        humh.last();
    });
    EXPECT_EQ(m.codes, std::vector<int>{});
    EXPECT_NEAR(humh.OUT[0], -500.0 * 1.006 + 5.0e-3 * (2501.0 - 1.86 * 500.0), 0.01);
}
