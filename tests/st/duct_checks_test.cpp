// What every air-duct block refuses at initialisation, named on the trace with the
// parameter it refuses, and what no input may do to any of them: anything but finite
// outputs, or a report other than a failed friction search.
#include "duct_blocks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

using duct_test::Placed;

namespace {

struct Form {
    const char* routine;
    const char* name;
    int inputs;
    std::vector<float> parameters;
};

}  // namespace

TEST(DuctBlocks, InitialisationRefusesWhatCannotBeComputed) {
    struct Case {
        Form form;
        std::vector<int> codes;
        int parameter;  // the first message's, 1-based; 0 for none
    };
    const Case cases[] = {
        {{"st0019", "DPZETA", 2, {0.0f, 1.0f}}, {305223}, 1},
        {{"st0019", "VZETA", 2, {0.1f, -1.0f}}, {305211}, 2},
        {{"st0019", "DPIN", 2, {0.1f, 4.0f}}, {305212}, 2},
        {{"st0019", "VIN", 2, {0.1f, 3.6f}}, {305212}, 2},  // its loss would be 0
        {{"st0019", "VOUT", 2, {0.1f}}, {}, 0},
        {{"st0018", "DPDIF", 2, {-0.1f, -0.2f, 1.0f}}, {305206, 305206}, 1},
        {{"st0018", "DPDIF", 2, {0.1f, 0.2f, 0.0f}}, {305207}, 3},
        {{"st0018", "VDIF", 2, {0.2f, 0.2f, 1.0f}}, {305206}, 2},  // no widening, no loss
        {{"st0018", "DPDIF", 2, {0.2f, 0.2f, 1.0f}}, {}, 0},
        {{"st0020", "DPRED", 2, {0.2f, 0.3f, 1.0f}}, {305206}, 2},
        {{"st0020", "VRED", 2, {0.3f, 0.2f, 1.0f, 4.0f}}, {305212}, 4},
        {{"st0020", "DPRED", 2, {0.3f, 0.1f, 0.1f}}, {305281}, 0},
        {{"st0020", "DPRED", 2, {0.3f, 0.2f, -1.0f}}, {305207}, 3},
        {{"st0021", "DPBOWR", 2, {0.0f, 0.2f, 90.0f}}, {305206}, 1},
        {{"st0021", "DPBOWR", 2, {0.2f, 0.0f, 90.0f}}, {305213}, 2},
        {{"st0021", "DPBOWR", 2, {0.2f, 0.2f, -1.0f}}, {305214}, 3},
        {{"st0021", "DPBOWR", 2, {0.2f, 0.2f, 0.0f}}, {}, 0},
        {{"st0021", "VBOWR", 2, {0.2f, 0.2f, 0.0f}}, {305214}, 3},  // a straight bend loses nothing
        {{"st0023", "DPBRAR", 3, {0.2f, 0.0f, 0.1f, 90.0f}}, {305206}, 2},
        {{"st0023", "DPJUNR", 3, {0.2f, 0.2f, 0.1f, NAN}}, {305214}, 4},
        {{"st0007", "DPTUBE", 2, {0.0f, 10.0f, 0.1f}}, {305206}, 1},
        {{"st0007", "DPTUBE", 2, {0.2f, -1.0f, 0.1f}}, {305207}, 2},
        {{"st0007", "DPTUBE", 2, {0.2f, 10.0f, 0.0f}}, {305207}, 3},
        {{"st0007", "DPTUBE", 3, {0.2f, 10.0f, 0.1f, 2.0f}}, {305217}, 4},
        {{"st0007", "DPTUBE", 2, {0.2f, 10.0f, 0.1f, 1.0f}}, {305218}, 0},
        {{"st0007", "DPCH", 2, {0.0f, 0.2f, 5.0f}}, {305207}, 1},
        {{"st0007", "DPCH", 2, {0.4f, 0.2f, 0.0f}}, {305208}, 3},
        {{"st0007", "DPCH", 2, {0.4f, 0.2f, 5.0f, -0.1f}}, {305207}, 4},
        {{"st0007", "DPCH", 3, {0.4f, 0.2f, 5.0f, 0.0f, 4.0f}}, {305217}, 5},
        {{"st0007", "DPCH", 2, {0.4f, 0.2f, 5.0f, 0.0f, 3.0f}}, {305218}, 0},
        {{"st0016", "DSTAR", 0, {0.3f, 0.0f}}, {305207}, 2},
        {{"st0016", "DHYD", 0, {0.6f, 0.1f}}, {205209}, 0},
    };
    for (const Case& c : cases) {
        const Form& f = c.form;
        SCOPED_TRACE(testing::Message() << f.name << " " << testing::PrintToString(f.parameters));
        const Placed p(f.routine, f.name, f.inputs, f.parameters);
        ASSERT_EQ(p.init.codes, c.codes);
        if (!c.codes.empty()) {
            EXPECT_EQ(p.init.records[0]["s1"], f.name);
            // What the parameter must be, said in words wherever the message shows it.
            if (p.init.records[0].fields.count("s0") != 0) {
                EXPECT_NE(p.init.records[0]["s0"], "");
            }
        }
        if (c.parameter > 0) {
            EXPECT_EQ(p.init.records[0]["i10"], std::to_string(c.parameter));
        }
    }
    // The messages say in words what a refused parameter must be.
    const std::pair<Form, const char*> said[] = {
        {{"st0018", "DPDIF", 2, {-0.1f, 0.2f, 1.0f}}, "a number above 0"},
        {{"st0020", "DPRED", 2, {0.3f, 0.2f, -1.0f}}, "a number of at least 0"},
        {{"st0020", "VRED", 2, {0.3f, 0.2f, 1.0f, 4.0f}}, "a whole number from 0 to 3"},
        {{"st0023", "DPJUNR", 3, {0.2f, 0.2f, 0.1f, NAN}}, "a number from 0 to 90"},
    };
    for (const auto& [f, words] : said)
        EXPECT_EQ(Placed(f.routine, f.name, f.inputs, f.parameters).init.records.at(0)["s0"], words) << f.name;
    // After a refusal the geometry results stay out: DPDIF shows 180 degrees.
    EXPECT_EQ(Placed("st0018", "DPDIF", 2, {0.1f, 0.2f, 0.0f}).b.OUT[4], 180.0f);
    vireo_test::BlockInstance vdif(duct_test::st("st0018"),
                                   {.inputs = 2, .parameters = {0.1f, 0.2f, 1.0f}, .name = "VDIF"});
    vdif.IN = {-5.0f, 20.0f};  // a negative drop given at the start
    EXPECT_EQ(vireo_test::messagesOf([&] { vdif.init(); }).codes, std::vector<int>{305167});
}

// Zero, negative, huge and undefined inputs, with the parameters as checked and as a
// running model may have changed them afterwards (0, NaN).
TEST(DuctBlocks, EveryFormStaysFinite) {
    const Form forms[] = {
        {"st0019", "DPZETA", 2, {0.1f, 1.0f}}, {"st0019", "DPIN", 2, {0.1f, 0.0f}}, {"st0019", "DPOUT", 2, {0.1f}},
        {"st0019", "VZETA", 2, {0.1f, 1.0f}}, {"st0019", "VIN", 2, {0.1f, 0.0f}}, {"st0019", "VOUT", 2, {0.1f}},
        {"st0018", "DPDIF", 2, {0.1f, 0.2f, 1.0f}}, {"st0018", "VDIF", 2, {0.1f, 0.2f, 1.0f}},
        {"st0020", "DPRED", 2, {0.2f, 0.1f, 0.0f}}, {"st0020", "VRED", 2, {0.2f, 0.1f, 1.0f}},
        {"st0021", "DPBOWR", 2, {0.2f, 0.2f, 90.0f}}, {"st0021", "VBOWR", 2, {0.2f, 0.2f, 90.0f}},
        {"st0023", "DPBRAR", 3, {0.2f, 0.2f, 0.1f, 90.0f}}, {"st0023", "DPJUNR", 3, {0.2f, 0.2f, 0.1f, 90.0f}},
        {"st0024", "DPPARA", 10, {}}, {"st0033", "GR", 3, {}},
        {"st0007", "DPTUBE", 3, {0.2f, 10.0f, 0.1f, 1.0f}}, {"st0007", "DPCH", 3, {0.4f, 0.2f, 5.0f, 0.0f, 2.0f}},
        {"st0016", "DHYD", 0, {0.3f, 0.2f}}, {"st0016", "DSTAR", 0, {0.3f, 0.2f}},
    };
    constexpr float inf = std::numeric_limits<float>::infinity();
    const float values[] = {0.0f, -1.0f, 1e-38f, 3e38f, -3e38f, NAN, inf, -inf, -273.15f, -300.0f};
    for (const Form& f : forms) {
        Placed p(f.routine, f.name, f.inputs, f.parameters);
        ASSERT_EQ(p.init.codes, std::vector<int>{}) << f.name;
        const auto m = vireo_test::messagesOf([&] {
            for (const std::vector<float>& broken : {p.b.BP, std::vector<float>(p.b.BP.size(), 0.0f),
                                                     std::vector<float>(p.b.BP.size(), NAN)}) {
                p.b.BP = broken;
                for (float a : values)
                    for (float c : values) {
                        std::vector<float> in(static_cast<std::size_t>(f.inputs), c);
                        if (f.inputs > 0) in[0] = a;
                        for (float out : p.b.step(in))
                            ASSERT_TRUE(std::isfinite(out)) << f.name << " " << a << " " << c;
                    }
            }
        });
        // Beside the friction search, only DPPARA's resistances of opposite sign are said.
        for (int code : m.codes)
            EXPECT_TRUE(code == 305210 || (f.name == std::string("DPPARA") && code == 205456)) << f.name << " " << code;
    }
}
