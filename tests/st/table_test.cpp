// The block table of libVireoST as the engine sees it: every routine's identification
// answer against a copy of the published table typed here on its own, the exported names
// against the loader's block-name rule, the component line, and what the call modes do
// where a block has no initialisation or nothing to report at the end.
#include "block_harness.h"
#include "library_table.h"
#include "message_capture.h"
#include "run_vireo.h"
#include "running_parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const vireo_test::PublishedRow kPublished[] = {
    {"st0001", "SCAIRC", "1 5 6 13 11 1 0 18 18 0 0 3"},
    {"st0002", "PVT", "1 6 6 14 11 0 0 13 13 0 0 3"},
    {"st0003", "TANKST", "1 6 6 201 12 201 0 8 8 0 0 5"},
    {"st0004", "DWHEEL", "1 5 5 5 10 0 0 2 2 0 0 3"},
    {"st0005", "HXC", "1 3 3 3 10 0 0 2 2 0 0 3"},
    {"st0006", "EVCOOL", "1 4 4 4 10 0 0 4 4 0 0 3"},
    {"st0007", "DPTUBE DPCH", "2 2 3 4 11 0 0 3 5 0 0 3"},
    {"st0008", "SCETA", "1 4 4 5 15 0 0 7 8 0 1 3"},
    {"st0009", "SATP SATT", "2 1 1 1 12 0 0 0 1 0 0 3"},
    {"st0010", "H2OHL H2OHV H2OHE", "3 1 1 1 10 0 0 0 0 0 0 3"},
    {"st0011", "MIXQHC", "1 4 4 5 10 0 0 3 3 0 0 3"},
    {"st0012", "AIR", "1 2 2 6 10 0 0 0 0 0 0 3"},
    {"st0013", "HUMA2R HUMR2A HUMH2T HUMH HUMH2X", "5 2 2 1 11 0 0 0 0 0 0 3"},
    // One IP slot beyond the published 13: the count of loadings held at the most the gel holds.
    {"st0014", "SORB", "1 2 3 12 14 1 0 1 3 0 0 3"},
    {"st0015", "HXS", "1 4 4 4 11 0 0 4 4 0 0 3"},
    {"st0016", "DHYD DSTAR", "2 0 0 1 10 0 0 2 2 0 0 1"},
    {"st0017", "HXXI", "1 6 6 7 12 0 0 17 17 0 0 3"},
    {"st0018", "DPDIF VDIF", "2 2 2 6 10 0 0 3 3 0 0 3"},
    {"st0019", "DPZETA DPIN DPOUT VZETA VIN VOUT", "6 2 2 2 10 1 0 1 2 0 0 3"},
    {"st0020", "DPRED VRED", "2 2 2 5 11 1 0 3 4 0 0 3"},
    {"st0021", "DPBOWR VBOWR", "2 2 2 3 10 1 0 3 3 0 0 3"},
    {"st0022", "DECCTL", "1 5 5 8 18 2 0 10 10 0 0 4"},
    {"st0023", "DPBRAR DPJUNR", "2 3 3 7 10 1 0 4 4 0 0 3"},
    {"st0024", "DPPARA", "1 2 10 1 10 0 0 0 0 0 0 3"},
    {"st0025", "LBWH LBWT LBWP LBWX", "4 2 2 1 11 0 0 2 2 0 0 3"},
    {"st0026", "ACM", "1 6 6 10 11 15 0 15 15 0 0 3"},
    {"st0027", "SCDYN", "1 7 7 4 13 3000 0 11 11 0 0 3"},
    {"st0028", "TANKFM", "1 6 6 2 12 2 0 6 6 0 0 3"},
    {"st0029", "SCAIRCD", "1 6 7 4 14 4000 0 23 23 0 0 3"},
    {"st0030", "COOLTW", "1 5 5 5 12 0 0 10 10 0 0 3"},
    {"st0031", "HXEARTH", "1 5 5 2 13 0 0 18 18 0 0 3"},
    {"st0032", "TUBLOD", "1 4 4 4 15 4000 0 11 11 0 0 3"},
    {"st0033", "GR", "1 3 3 1 10 0 0 0 0 0 0 3"},
    {"st0034", "MIXER", "1 4 4 2 12 0 0 0 0 0 0 3"},
    {"st0035", "ESCOOL", "1 4 4 4 10 0 0 3 3 0 0 3"},
    {"st0036", "CTRHYS", "1 2 2 1 13 10 0 3 3 0 0 3"},
    {"st0037", "AIRHEAT", "1 5 5 4 12 0 0 10 10 0 0 3"},
    {"st0038", "DECCTY", "1 7 7 8 20 2 0 10 10 0 0 4"},
    {"st0039", "CTRL4DY", "1 12 12 11 18 1 0 11 11 0 0 3"},
    {"st0040", "CTRLDA", "1 8 8 12 14 12 0 14 14 0 0 3"},
    {"st0041", "THREEV", "1 5 5 4 13 5 0 1 1 0 0 3"},
    {"st0042", "TUBLO", "1 3 3 2 10 0 0 4 4 0 0 3"},
    {"st0043", "R134A", "1 0 10 10 10 0 0 0 0 0 0 3"},
    {"st0044", "PVTCOOL", "1 0 16 12 11 40 303 29 30 0 0 3"},
};

// Beside the blocks the library exports info, the lithium-bromide/water routines, the
// duct-friction residual with its data block and the PV-thermal collector's sub-models;
// their helpers stay inside.
const char* const kAuxiliary[] = {"info", "fofl", "cst0007", "lbwh", "lbwt", "lbwp", "lbwx", "flbwp", "flbwx",
                                  "nettobestrahlung", "waermeuebergangstr", "waermeuebergangkon", "kondensation",
                                  "psfeuchteluft", "tdfeuchteluft", "dhvwasser", "pvteilmodell1", "pvteilmodell2",
                                  "uintcalc", "einfallwinkelkorrektur", "thermteilmodell", "konvcheck",
                                  "testfunction"};

const vireo_test::BlockLibrary& st() { return vireo_test::library("VireoST"); }

vireo_test::BlockFunction block(const char* routine) { return st().block(routine); }

}  // namespace

TEST(StBlockTable, EveryRoutineAnswersItsPublishedIdentity) {
    EXPECT_EQ(vireo_test::identityMismatches(st(), kPublished), std::vector<std::string>{});
    // The library's own count of its model names is the sum over its name lists.
    int names = 0;
    std::set<std::string> distinct;
    for (const auto& row : kPublished) {
        const auto id = vireo_test::identify(block(row.routine));
        names += id.nameCount();
        for (const auto& n : id.names()) distinct.insert(n);
    }
    EXPECT_EQ(names, 65);
    EXPECT_EQ(distinct.size(), 65u);
}

TEST(StBlockTable, ExportsTheBlocksAndItsAuxiliaryNamesAndNothingElse) {
    const auto exported = vireo_test::exportedNames(vireo_test::buildDir() + "/lib/libVireoST.so");
    EXPECT_EQ(vireo_test::blockFormNames(exported), vireo_test::routinesOf(kPublished));
    std::set<std::string> expected = vireo_test::routinesOf(kPublished);
    expected.insert(std::begin(kAuxiliary), std::end(kAuxiliary));
    std::set<std::string> names;
    for (const std::string& name : exported)
        if (!name.starts_with("__")) names.insert(name);  // reserved names: the sanitizers mark exported data
    EXPECT_EQ(names, expected);

    using InfoFunction = char* (*)();
    const auto info = reinterpret_cast<InfoFunction>(st().symbol("info"));
    ASSERT_NE(info, nullptr);
    char* line = info();
    EXPECT_STREQ(line, "\tdevelopment_20211115_bcc4376       libVireoST");
    delete[] line;
}

// TUBLOD and MIXER hand id and msg rows of 80 characters: their answer is that of any
// other block, and TUBLOD's messages still carry its name (MIXER has none).
TEST(StBlockTable, ShortRowsAnswerLikeFullOnes) {
    for (const char* routine : {"st0032", "st0034"}) {
        float in = 0, out = 0;
        int ip[10] = {0, -1};
        char sp[1][1024];
        std::memset(sp, 'x', sizeof sp);
        block(routine)(&in, &out, ip, nullptr, nullptr, nullptr, sp);
        const std::string row(sp[0], 1024);
        EXPECT_EQ(row.substr(row.find_first_of(' ')), std::string(1024 - row.find_first_of(' '), ' ')) << routine;
    }
    std::vector<float> parameters(11, 1.0f);
    parameters[10] = 0;  // no segment
    vireo_test::BlockInstance b(block("st0032"), {.inputs = 4, .parameters = parameters, .number = 9});
    const auto m = vireo_test::messagesOf([&] { b.init(); });
    ASSERT_EQ(m.codes, std::vector<int>{305360});
    EXPECT_EQ(m.records[0]["s1"], "TUBLOD");
}

// Init of a block without initialisation, and the last call (every mode but identify,
// init and step) of a block without a counter, change nothing; the blocks not built yet
// refuse initialisation instead.
TEST(StBlockTable, CallModesThatChangeNothing) {
    const char* withoutInit[] = {"st0012", "st0024", "st0004", "st0035", "st0006", "st0033", "st0005",
                                 "st0034", "st0011", "st0002", "st0043", "st0037", "st0042"};
    for (const char* routine : withoutInit) {
        SCOPED_TRACE(routine);
        const auto id = vireo_test::identify(block(routine));
        std::vector<float> parameters(static_cast<std::size_t>(id.maxParameters()), 1.0f);
        vireo_test::BlockInstance b(block(routine), {.inputs = id.maxInputs(), .parameters = parameters});
        b.OUT.assign(b.OUT.size(), 5.0f);
        auto ip = b.IP;
        const auto m = vireo_test::messagesOf([&] { b.init(); });
        if (m.codes.empty()) {
            ip[1] = 1, ip[2] = 1, ip[3] = 7, ip[4] = id.maxInputs();  // what the caller sets
            EXPECT_EQ(b.IP, ip);
            EXPECT_EQ(b.OUT, std::vector<float>(b.OUT.size(), 5.0f));
        } else {
            EXPECT_EQ(m.codes, std::vector<int>{309001});
        }
    }
    struct Case {
        const char* routine;
        int opMode;
        std::vector<float> inputs;
    };
    const Case quiet[] = {{"st0009", 2, {1.0f}},  // SATT counts, but reports every failure at once
                          {"st0010", 1, {50.0f}}, {"st0010", 3, {50.0f}},
                          {"st0012", 1, {20.0f, 1e5f}}, {"st0043", 1, {0.0f, 14.0f}}};
    for (const Case& c : quiet) {
        SCOPED_TRACE(c.routine);
        vireo_test::BlockInstance b(block(c.routine),
                                    {.inputs = static_cast<int>(c.inputs.size()), .opMode = c.opMode});
        vireo_test::messagesOf([&] {
            b.init();
            b.step(c.inputs);
        });
        for (int mode : {2, 3, -5, 100}) {
            const auto out = b.OUT;
            auto ip = b.IP;
            EXPECT_EQ(vireo_test::messagesOf([&] { b.call(mode); }).codes, std::vector<int>{});
            ip[0] = 0, ip[1] = mode, ip[5] = 2;
            EXPECT_EQ(b.IP, ip) << mode;
            EXPECT_EQ(b.OUT, out) << mode;
        }
    }
}

// A parameter changed during the run, as the editor changes it, holds from the next step
// on: that step gives what a block placed with the new value gives (for the blocks whose
// steps keep nothing from one to the next; PVTCOOL and SORB, whose steps start from the
// last, are changed before their first), whatever init derives from it: a flow arrangement or
// model, a grid of cells, a loss coefficient, an angle's cosine, a coefficient from the
// efficiency curve.
TEST(StBlockTable, AParameterChangedDuringTheRunHoldsFromTheNextStep) {
    struct Case {
        const char* routine;
        int opMode;
        std::vector<float> parameters;
        int changed;  // 0-based
        float value;
        std::vector<float> inputs;
        bool stepFirst = true;
    };
    const std::vector<float> scairc = {2,    1,     45,   2,    1,    0.05f, 0.05f, 19,   0.001f,
                                       0.8f, 0.05f, 0.04f, 200, 0.88f, 0.9f, 0.9f, 0.9f, 0.025f};
    const std::vector<float> pvt = {1, 0.1f, 0.005f, 0.12f, 0.9f, 0.85f, 0.9f, 0.05f, 1, 1.2f, 0.8f, 0.9f, 0.5f};
    const auto& running = vireo_test::runningParameters();
    const std::vector<float> hxxi = running.at("st0017"), hxearth = running.at("st0031");
    std::vector<float> pvtcool = running.at("st0044");
    // The coefficient between absorber and fluid from the efficiency curve, which a curve
    // without wind dependence gives without a warning.
    pvtcool[3] = 2, pvtcool[8] = 0, pvtcool[10] = 0;
    const std::vector<float> pvtcoolInputs = {2800, 2000, 30, 40, 180, 25, 1013, 50, 10, 2, 10, 300, 30, 100, 1, 15};
    const Case cases[] = {
        {"st0008", 1, {2, 0.8f, 3.5f, 0.015f, 4186, 2, 3, 0}, 5, 4, {20, 0.05f, 800, 15}},  // collectors in series
        {"st0008", 1, {2, 0.8f, 3.5f, 0.015f, 4186, 2, 3, 0}, 7, 1, {30, 50, 800, 20}},     // the mode
        {"st0009", 1, {0}, 0, 1, {0.005f}},                                                // ice
        {"st0007", 1, {0.2f, 10, 0.1f, 0}, 3, 1, {500, 20, 30}},                           // a flap
        {"st0007", 2, {0.4f, 0.2f, 5, 0, 1}, 4, 2, {500, 20, 30}},                         // another flap type
        {"st0016", 2, {0.3f, 0.2f}, 0, 0.4f, {}},
        {"st0001", 1, scairc, 2, 30, {0.05f, 20, 800, 10, 2, 100000}},
        {"st0002", 1, pvt, 3, 0.2f, {800, 20, 2, 1, 22, 10}},
        {"st0004", 1, {0.7f, 250}, 0, 0.5f, {30, 0.5f, 80, 0.1f, 1}},
        {"st0005", 1, {0.6f, 5}, 0, 0.8f, {10, 50, 1}},
        {"st0011", 1, {1000, 0, 4186}, 0, 500, {20, 60, 80, 0.1f}},
        {"st0015", 1, {1, 2000, 4190, 4190}, 0, 0, {80, 0.1f, 20, 0.15f}},                    // HXS's arrangement
        {"st0017", 1, hxxi, 14, 4, {-5, 0.8f, 22, 0.4f, 0.05f, 0.05f}},                        // HXXI's cells
        {"st0017", 1, hxxi, 15, 3, {-5, 0.8f, 22, 0.4f, 0.05f, 0.05f}},
        {"st0031", 1, hxearth, 7, 0, {0, 200, 30, 0.3f, 10}},                                // HXEARTH's fan
        {"st0031", 1, hxearth, 9, 40, {0, 200, 30, 0.3f, 10}},                               // its segments
        {"st0018", 1, {0.1f, 0.2f, 1}, 2, 0.3f, {500, 20}},                                  // DPDIF's length
        {"st0018", 1, {0.1f, 0.2f, 1}, 0, 0.15f, {500, 20}},                                 // its inlet
        {"st0020", 1, {0.3f, 0.2f, 1, 1}, 2, 0.3f, {500, 20}},                               // DPRED's length
        {"st0021", 1, {0.2f, 0.2f, 90}, 2, 45, {500, 20}},                                   // DPBOWR's angle
        {"st0021", 2, {0.2f, 0.2f, 90}, 1, 0.5f, {50, 20}},                                  // VBOWR's radius
        {"st0023", 1, {0.2f, 0.2f, 0.1f, 90}, 3, 45, {500, 200, 20}},                        // DPBRAR's angle
        {"st0019", 2, {0.1f, 1}, 1, 3, {500, 20}},                                           // DPIN's inlet type
        {"st0025", 1, {0, 0}, 0, 1, {0.55f, 50}},                                            // LBWH's model
        {"st0014", 1, {0}, 0, 1, {0.5f, 30, 0.2f}, false},                                   // SORB's model
        {"st0044", 1, pvtcool, 7, 0.7f, pvtcoolInputs, false},                               // PVTCOOL's eta0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.routine << " " << c.opMode << " parameter " << c.changed + 1);
        const vireo_test::Placement placed{.inputs = static_cast<int>(c.inputs.size()), .parameters = c.parameters,
                                           .opMode = c.opMode};
        vireo_test::BlockInstance changed(block(c.routine), placed);
        vireo_test::Placement after = placed;
        after.parameters[static_cast<std::size_t>(c.changed)] = c.value;
        vireo_test::BlockInstance fresh(block(c.routine), after);
        std::vector<float> before, got, expected;
        const auto m = vireo_test::messagesOf([&] {
            changed.init();
            fresh.init();
            before = c.stepFirst ? changed.step(c.inputs) : vireo_test::BlockInstance(changed).step(c.inputs);
            changed.changeParameter(c.changed, c.value);
            got = changed.step(c.inputs);
            expected = fresh.step(c.inputs);
        });
        EXPECT_EQ(m.codes, std::vector<int>{});
        EXPECT_EQ(got, expected);
        EXPECT_NE(expected, before);  // the change matters
    }
}

// The count of nodes or segments lays out a storing block's state: a change of it during
// the run is not taken, and said to be at each change while it differs; the block goes
// on as a block placed with the count it started with.
TEST(StBlockTable, ACountTakenAtInitialisationIsSaidToBeNotTaken) {
    struct Case {
        const char* routine;
        int changed;  // 0-based
        float value;
        std::vector<float> first, second;  // the inputs of two steps, an hour apart
    };
    const Case cases[] = {
        {"st0003", 1, 20, {60, 0.1f, 15, 0.05f, 20, 0}, {60, 0.1f, 15, 0.05f, 20, 3600}},  // TANKST's nodes
        {"st0032", 10, 30, {60, 0.02f, 10, 0}, {60, 0.02f, 10, 3600}},                     // TUBLOD's segments
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.routine);
        const vireo_test::Placement placed{.inputs = static_cast<int>(c.first.size()),
                                           .parameters = vireo_test::runningParameters().at(c.routine)};
        vireo_test::BlockInstance changed(block(c.routine), placed), unchanged(block(c.routine), placed);
        int status = 0;
        vireo_test::messagesOf([&] {
            status = changed.init() + unchanged.init();
            changed.step(c.first);
            unchanged.step(c.first);
        });
        ASSERT_EQ(status, 0);
        changed.changeParameter(c.changed, c.value);
        const auto m = vireo_test::messagesOf([&] { changed.step(c.second); });
        ASSERT_EQ(m.codes, std::vector<int>{209004});
        EXPECT_EQ(m.records[0]["i10"], std::to_string(c.changed + 1));
        EXPECT_EQ(std::stof(m.records[0]["r1"]), placed.parameters[std::size_t(c.changed)]);
        EXPECT_EQ(changed.OUT, unchanged.step(c.second));
    }
}

// Through the host: the block list names every routine with all its names, the
// component list carries the library's line.
TEST(StBlockTable, TheHostListsTheBlocksAndTheComponent) {
    vireo_test::RunOptions o;
    o.env = {{"VIREO_HOME", vireo_test::buildDir() + "/lib"}};
    const auto b = vireo_test::runVireo({"-b"}, o);
    EXPECT_EQ(b.exitStatus, 0);
    for (const auto& row : kPublished)
        EXPECT_NE(b.out.find(std::string("\t") + row.names + "\n"), std::string::npos) << row.names;
    const auto v = vireo_test::runVireo({"-v"}, o);
    EXPECT_NE(v.out.find("\tdevelopment_20211115_bcc4376       libVireoST\n"), std::string::npos) << v.out;
}

// A parameter the editor changes during the run past its rule is refused before the next
// step, as at initialisation and naming it, and the block steps on nothing: its outputs
// and its own slots stay as the last step left them, until a later change mends the value.
// Each block's change is one its physics could not take (a loop of 1e9 segments, a
// division by a heat capacity of 0, a switch without hysteresis), or one that breaks a
// tie between parameters, or between a parameter and the wiring, that initialisation
// would refuse.
TEST(StBlockTable, AChangeThatBreaksARuleIsRefusedBeforeTheStep) {
    struct Change {
        const char* routine;
        std::vector<float> parameters, inputs;
        int parameter;  // 0-based
        float value;
        int code;
        const char* name = "";  // for a block of several names, the one it is placed under
        bool namesParameter = true;  // whether the message names the changed parameter
    };
    // PVTCOOL of model 3 with the one-diode characteristic, its flow the last input read.
    const std::vector<float> pvtModel3 = {3,    2,     2,     1,    10,   0,    0,    0.6f, 0.02f, 10,
                                          1.5f, 0.9f,  0.9f,  10,   4.186f, 1,  1,    30,   0.9f, 0.9f,
                                          0.9f, 1,     0.15f, 8.5f, 8,    37,   30,   -0.4f, 1,    0.9f};
    const std::vector<float> pvtWeather = {2800, 2000, 30, 40, 0, 20, 1013, 50, 10, 2, 15, 60, 20, 100};
    const Change changes[] = {
        {"st0018", {0.1f, 0.2f, 1.0f}, {20, 20}, 2, 0, 305207, "VDIF"},
        {"st0019", {0.1f, 1.0f}, {100, 20}, 0, -1, 305223, "DPZETA"},
        {"st0019", {0.1f, 1.0f}, {100, 20}, 1, 0, 305211, "VZETA"},
        {"st0021", {0.2f, 0.2f, 90}, {100, 20}, 2, 0, 305214, "VBOWR"},
        {"st0025", {1, 0}, {0.5f, 50}, 0, 5, 305011, "LBWH"},
        {"st0020", {0.2f, 0.1f, 0.0f}, {100, 20}, 0, NAN, 305206, "DPRED"},
        {"st0021", {0.2f, 0.2f, 90}, {100, 20}, 1, 0, 305213, "DPBOWR"},
        {"st0023", {0.2f, 0.2f, 0.1f, 90}, {100, 50, 20}, 2, -0.1f, 305206, "DPJUNR"},
        {"st0022", {16, 50, 70, 10000, 3000, 20, 0.05f, 30, 2000, 0}, {30, 26, 5, 18, 20}, 3, 0, 305700},
        {"st0026", {80, 35, 32, 8, 1.5f, 3, 2, 2.5f, 0.05f, 0.7f, 4.19f, 4.19f, 4.19f, 48.0f / 27.0f, 7},
         {85, 1, 27, 2, 12, 1}, 4, -1, 305261},
        {"st0027", {2, 0.8f, 3.5f, 0.015f, 0.9f, 7000, 4186, 2, 1, 20, 3}, {40, 0.02f, 500, 100, 10, 0, 0}, 6, 0,
         305193},
        {"st0028", {0.3f, 0.6f, 4186, 1000, 0.8f, 20}, {50, 1, 10, 1, 20, 0}, 3, -1, 305194},
        {"st0030", {300, 35, 29, 10, 30, 24, 5, 1.5f, 0.5f, 0.3f}, {30, 0.4f, 38, 10, 100}, 7, 2.5f, 305701},
        {"st0031", {2, 1800, 1000, 1.5f, 0.1f, 40, 0.5f, 2, 2, 20, 10, 0, 20, 5, 1, 0, 1, 0}, {0, 50, 30, 0.2f, 10},
         9, 1e9f, 305706},
        {"st0032", {0.3f, 0, 4186, 10, 385, 8900, 0.001f, 0.016f, 20, 1000, 10}, {60, 0.1f, 10, 0}, 7, 0, 305362},
        {"st0035", {0.9f, 60, 2}, {30, 0.3f, 1, 20}, 0, INFINITY, 305189},
        {"st0036", {60, 5, 10}, {70, 20}, 1, -1, 305366},
        {"st0037", {20, 70, 1.2f, 980, 4.19f, 10, 3000, 0.8f, 0.8f, 1}, {10, 0.5f, 70, 100, 0.3f}, 4, 0, 305193},
        {"st0038", {16, 70, 0, 10000, 2000, 3000, 20, 0.05f, 30, 0}, {30, 26, 20, 20, 60, 40, 5}, 3, 0, 305700},
        {"st0039", {0.1f, 0.08f, 5, 300, 40, 30, 0, 0.2f, 45, 4186, 10},
         {60, 40, 50, 20, 0, 40, 30, 0.1f, 10, 0, 500, 40}, 10, 0, 305367},
        {"st0040", {1, 2, 1.5f, 70, 80, 27, 8, 14, 5, 0.1f, 0.2f, 0.15f, 0.5f, 0.4f}, {85, 65, 7, 9, 10, 10, 20, 30}, 0,
         NAN, 305189},
        {"st0041", {60}, {1, 20, 60, 50, 0}, 0, NAN, 305189},
        {"st0042", {0.3f, 0, 4186, 10}, {60, 0.1f, 10}, 1, -101, 305364},
        // Ties between parameters: a cold return no warmer than the supply, a ribbed
        // exchanger without ribs, a PV model or characteristic the PV models do not have.
        {"st0040", {1, 2, 1.5f, 70, 80, 27, 8, 14, 5, 0.1f, 0.2f, 0.15f, 0.5f, 0.4f}, {85, 65, 7, 9, 10, 10, 20, 30}, 7,
         8, 305368},
        {"st0017", {50, 0.004f, 0.3f, 0.3f, 50, 0.004f, 0.3f, 0.3f, 0.0005f, 2, 0.0005f, 10, 10, 200, 1, 1, 100000},
         {-5, 0.8f, 22, 0.4f, 0.1f, 0.1f}, 11, 0, 305760},
        {"st0044", pvtModel3, pvtWeather, 1, 3, 305011},
        {"st0044", pvtModel3, pvtWeather, 23, 0, 305732},
        // A diffuser that does not widen, a reducer that widens; condenser and evaporator
        // starting alike; fewer than one segment a row.
        {"st0018", {0.1f, 0.2f, 1.0f}, {20, 20}, 1, 0.1f, 305206, "VDIF"},
        {"st0020", {0.2f, 0.1f, 0.0f}, {100, 20}, 1, 0.3f, 305206, "DPRED"},
        {"st0026", {80, 35, 32, 8, 1.5f, 3, 2, 2.5f, 0.05f, 0.7f, 4.19f, 4.19f, 4.19f, 48.0f / 27.0f, 7},
         {85, 1, 27, 2, 12, 1}, 1, 8, 305260, "", false},
        {"st0027", {2, 0.8f, 3.5f, 0.015f, 0.9f, 7000, 4186, 2, 1, 20, 3}, {40, 0.02f, 500, 100, 10, 0, 0}, 10, 0.2f,
         305198},
        // A flap without its angle on input 3; a sorbent model that reads input 3 where
        // there are two.
        {"st0007", {0.2f, 10, 0.1f, 0}, {100, 20}, 3, 1, 305218, "DPTUBE", false},
        {"st0014", {0}, {0.5f, 30}, 0, 1, 305441, "", false},
    };
    const auto ownState = [](const vireo_test::BlockInstance& b) {
        std::vector<double> s(b.RP.begin(), b.RP.end());
        s.insert(s.end(), b.IP.begin() + 10, b.IP.end());
        return s;
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.routine);
        const vireo_test::Placement placed{
            .inputs = static_cast<int>(c.inputs.size()), .parameters = c.parameters, .name = c.name};
        vireo_test::BlockInstance b(block(c.routine), placed);
        ASSERT_EQ(b.init(), 0);
        auto in = c.inputs;
        b.step(in);
        const auto out = b.OUT;
        const auto state = ownState(b);
        b.changeParameter(c.parameter, c.value);
        in.back() += 600.0f;  // a later time where the last input is one
        for (int k = 0; k < 2; ++k) {
            const auto m = vireo_test::messagesOf([&] { b.step(in); });
            ASSERT_EQ(m.codes, k == 0 ? std::vector<int>{c.code} : std::vector<int>{});
            if (k == 0 && c.namesParameter) {
                EXPECT_EQ(m.records[0]["i10"], std::to_string(c.parameter + 1));
            }
            EXPECT_EQ(b.OUT, out);
            EXPECT_EQ(ownState(b), state);
        }
        // Mended, it steps on as a twin that never saw the change.
        b.changeParameter(c.parameter, c.parameters[static_cast<std::size_t>(c.parameter)]);
        vireo_test::BlockInstance twin(block(c.routine), placed);
        twin.init();
        twin.step(c.inputs);
        EXPECT_EQ(vireo_test::messagesOf([&] { b.step(in); }).codes, std::vector<int>{});
        EXPECT_EQ(b.OUT, twin.step(in));
        EXPECT_EQ(ownState(b), ownState(twin));
    }
}
