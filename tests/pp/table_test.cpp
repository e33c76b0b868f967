// The block table of libVireoPP as the engine sees it: every routine's identification
// answer against a copy of the published table typed here on its own, the exported names,
// the component line, calls that must change nothing, and the host's block and component
// lists.
#include "block_harness.h"
#include "message_capture.h"
#include "pp_blocks.h"
#include "run_vireo.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>

using pp_test::pp;
using vireo_test::BlockInstance;

namespace {

struct Row {
    const char* routine;
    const char* name;
    const char* integers;  // nameCount minInputs maxInputs outputCount ipSize rpSize dpSize
                           // minParameters maxParameters minStrings maxStrings group
};

const Row kPublished[] = {
    {"pp0001", "TRACK", "1 2 2 3 10 0 0 8 8 0 0 3"},
    {"pp0002", "TROUGH", "1 6 6 2 10 0 0 6 6 0 0 3"},
    {"pp0003", "RECEIV", "1 5 5 3 11 4 0 9 9 0 0 3"},
    {"pp0004", "SHADE", "1 5 5 1 10 0 0 3 3 0 0 3"},
    {"pp0005", "PIPE", "1 3 3 2 10 0 0 4 4 0 0 3"},
    {"pp0006", "FLDIV", "1 3 3 4 10 0 0 0 0 0 0 3"},
    {"pp0007", "TPIECE", "1 4 4 2 10 0 0 0 0 0 0 3"},
    {"pp0008", "TCSTOR", "1 6 6 6 11 400 0 8 8 0 0 3"},
    {"pp0009", "PFSTOR", "1 6 6 6 14 401 0 6 8 0 0 3"},
    {"pp0010", "CNTRL", "1 3 3 1 13 0 0 5 6 0 0 4"},
    {"pp0011", "TF2TC", "1 1 1 1 10 0 0 0 0 0 0 3"},
    {"pp0012", "TC2TF", "1 1 1 1 10 0 0 0 0 0 0 3"},
    {"pp0013", "STEAM", "1 2 2 4 10 0 0 0 0 0 0 3"},
    {"pp0014", "EVAPH", "1 1 1 1 10 0 0 0 0 0 0 3"},
    {"pp0015", "HXCH", "1 6 6 6 11 0 0 14 14 0 0 3"},  // IP 10 counts unsettled steps
    {"pp0016", "STURB", "1 3 3 5 10 0 0 4 4 0 0 3"},
    {"pp0017", "PCNTRL", "1 3 3 1 10 0 0 5 5 0 0 4"},
    {"pp0018", "PCSSTU", "1 4 4 2 10 4 0 5 5 0 0 3"},
};

// Parameters and inputs a block computes with, for the calls that must change nothing.
struct Use {
    const char* routine;
    std::vector<float> parameters;
    std::vector<float> inputs;
};
const Use kUses[] = {
    {"pp0001", {0, 5, 60, 300, 50, 80, 180, 10}, {120, 30}},
    {"pp0002", {545, 5.76f, 20, 0, 0.9f, 80}, {800, 100, 90, 40, 120, 30}},
    {"pp0003", {20, 2300, 0.5f, 0.1f, 0.95f, 0.96f, 5, 5e5f, 10}, {9000, 290, 5, 25, 600}},
    {"pp0004", {5.76f, 100, 17}, {800, 90, 40, 120, 30}},
    {"pp0005", {0.3f, 200, 1, 2300}, {390, 6, 25}},
    {"pp0006", {}, {390, 6, 0.4f}},
    {"pp0007", {}, {300, 2, 280, 3}},
    {"pp0008", {500, 10, 8, 2300, 800, 0.5f, 1, 290}, {390, 3, 290, 1, 25, 600}},
    {"pp0009", {500, 8, 2300, 800, 0.5f, 290}, {390, 3, 290, 1, 25, 600}},
    {"pp0010", {390, 5, 1, 0.5f, 20}, {5, 380, 290}},
    {"pp0011", {}, {212}},
    {"pp0012", {}, {100}},
    {"pp0013", {}, {100, 1e5f}},
    {"pp0014", {}, {1e5f}},
    {"pp0015", {0, 500, 100, 1, 0, 2000, 400, 2600, 0, 0, 0, 0, 0, 1000}, {390, 5, 1e6f, 200, 3, 5e6f}},
    {"pp0016", {10, 1e7f, 1e6f, 0.85f}, {10, 500, 1e7f}},
    {"pp0017", {0, 1, 300, 200, 0}, {250, 1, 1}},
    {"pp0018", {2300, 1e8f, 5e7f, 1e-4f, 0}, {390, 5, 600, 290}},
};

bool hasInit(const std::string& routine) {
    // The blocks whose initialisation sets their state or output.
    for (const char* r : {"pp0003", "pp0008", "pp0009", "pp0010", "pp0017"})
        if (routine == r) return true;
    return false;
}
struct Snapshot {
    std::vector<float> in, out, rp, bp;
    std::vector<int> ip;
    bool operator==(const Snapshot&) const = default;
};
Snapshot snapshot(const BlockInstance& b) { return {b.IN, b.OUT, b.RP, b.BP, b.IP}; }

// Makes the call and expects every array as it was, but for the slots the caller sets.
void expectNoChange(BlockInstance& b, int callMode) {
    Snapshot expected = snapshot(b);
    expected.ip[0] = 0;
    expected.ip[1] = callMode;
    expected.ip[2] = b.opMode();
    expected.ip[3] = b.number();
    expected.ip[4] = b.inputCount();
    if (callMode != 1) {
        expected.ip[5] = 2;
        expected.ip[6] = 0;
    }
    b.call(callMode);
    EXPECT_EQ(snapshot(b), expected) << "call mode " << callMode;
}

}  // namespace

TEST(PowerPlantTable, EveryRoutineAnswersItsPublishedIdentity) {
    // The harness identifies with null RP, DP and BP, as the loader does.
    for (const Row& row : kPublished) {
        SCOPED_TRACE(row.routine);
        const vireo_test::Identity id = vireo_test::identify(pp(row.routine));
        EXPECT_TRUE(id.answered);
        EXPECT_EQ(id.nameList, row.name);
        std::istringstream s(row.integers);
        std::array<int, 12> expected{};
        for (int& v : expected) s >> v;
        EXPECT_EQ(id.ints, expected);
    }
}

TEST(PowerPlantTable, ComponentLine) {
    using InfoFunction = char* (*)();
    const auto info = reinterpret_cast<InfoFunction>(vireo_test::library("VireoPP").symbol("info"));
    ASSERT_NE(info, nullptr);
    char* line = info();
    EXPECT_STREQ(line, "\tdevelopment_20211115_bcc4376       libVireoPP");
    delete[] line;
}

TEST(PowerPlantTable, InitAndLastCallChangeNoArray) {
    // The blocks without an initialisation of their own, at initialisation; every block at
    // its last call, after a step.
    for (const Use& u : kUses) {
        SCOPED_TRACE(u.routine);
        BlockInstance b(pp(u.routine), {.inputs = static_cast<int>(u.inputs.size()), .parameters = u.parameters});
        b.IN = u.inputs;
        if (hasInit(u.routine))
            EXPECT_EQ(b.init(), 0);
        else
            expectNoChange(b, 1);
        b.step();
        expectNoChange(b, 2);
    }
}

TEST(PowerPlantTable, HostListsTheBlocksAndTheLibrary) {
    vireo_test::RunOptions o;
    o.env = {{"VIREO_HOME", vireo_test::buildDir() + "/lib"},
             {"VIREO_USER_BLOCKS", vireo_test::scratchDirectory("pp-no-user-blocks")}};
    const auto blocks = vireo_test::runVireo({"-b"}, o);
    EXPECT_EQ(blocks.exitStatus, 0);
    for (const Row& row : kPublished)
        EXPECT_NE(blocks.out.find(std::string("\n\t") + row.name + "\n"), std::string::npos) << row.name;
    const auto components = vireo_test::runVireo({"-v"}, o);
    EXPECT_EQ(components.exitStatus, 0);
    EXPECT_NE(components.out.find("\n\tdevelopment_20211115_bcc4376       libVireoPP\n"), std::string::npos)
        << components.out;
}
