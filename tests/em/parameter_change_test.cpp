// Every ruled parameter of every block of the library with a parameter table, changed
// during a run as the editor bridge changes it, to a value no rule lets through: the step
// after it reports the table's code naming that parameter, and the block does not step
// on it (its outputs and its state stay as they were); the value changed back is taken
// up again without a word about it.
#include "blocks.h"
#include "block_harness.h"
#include "message_capture.h"
#include "running_parameters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

using vireo_test::BlockInstance;

namespace {

// A table's ruled parameters (0-based, the first and last of a ranged row), with the
// code each is refused with.
struct Ruled {
    int parameter;
    int code;
};
struct Block {
    std::string routine;
    std::vector<Ruled> ruled;
};

template <class Routine>
void addBlock(std::vector<Block>& blocks, const char* routine) {
    using P = typename vireo::block::ParamsOf<Routine>::type;
    if constexpr (!std::is_void_v<P>) {
        Block b{routine, {}};
        int first = 0;
        for (const vireo::block::Param& p : P::table) {
            if (!p.bound.none) {
                b.ruled.push_back({first, p.code.number});
                if (p.count > 1) b.ruled.push_back({first + p.count - 1, p.code.number});
            }
            first += p.count;
        }
        if (!b.ruled.empty()) blocks.push_back(b);
    }
}

std::vector<Block> ruledBlocks() {
    std::vector<Block> blocks;
#define VIREO_ADD_BLOCK(routine, names, nameCount, minIn, maxIn, outputs, ip, rp, dp, minP, maxP, minS, maxS, group, \
                        Type)                                                                                        \
    addBlock<vireo::em::Type>(blocks, #routine);
    VIREO_EM_BLOCKS(VIREO_ADD_BLOCK)
#undef VIREO_ADD_BLOCK
    return blocks;
}

}  // namespace

TEST(ParameterChange, ARuleBrokenDuringTheRunIsReportedAndNeverSteppedOn) {
    const auto blocks = ruledBlocks();
    int changed = 0;
    for (const Block& block : blocks) {
        if (block.routine == "em0018" || block.routine == "em0118") continue;  // needs the weather database
        SCOPED_TRACE(block.routine);
        const auto running = vireo_test::runningParameters().find(block.routine);
        ASSERT_NE(running, vireo_test::runningParameters().end()) << "no running parameters for " << block.routine;
        const auto f = vireo_test::library("VireoEM").block(block.routine);
        const auto id = vireo_test::identify(f);
        for (const Ruled& r : block.ruled) {
            BlockInstance b(f, {.inputs = id.maxInputs(), .parameters = running->second});
            vireo_test::messagesOf([&] { ASSERT_LT(b.init(), 300000); });
            std::fill(b.OUT.begin(), b.OUT.end(), -7.0f);
            const auto rp = b.RP;
            const auto ip = b.IP;
            b.changeParameter(r.parameter, std::nanf(""));
            const auto m = vireo_test::messagesOf([&] { b.step(); });
            // The parameter's number, where its code's text shows it (a latitude's shows the value alone).
            std::vector<std::string> named;
            for (const auto& record : m.records)
                if (!record.isCall())
                    named.push_back(std::to_string(record.code()) + " " +
                                    (record["i10"].empty() ? std::to_string(r.parameter + 1) : record["i10"]));
            EXPECT_EQ(named, std::vector<std::string>{std::to_string(r.code) + " " + std::to_string(r.parameter + 1)});
            EXPECT_EQ(b.OUT, std::vector<float>(b.OUT.size(), -7.0f)) << "parameter " << r.parameter + 1;
            // Bit for bit: a block may keep NaN in a slot as "not yet computed".
            EXPECT_TRUE(std::equal(b.RP.begin(), b.RP.end(), rp.begin(), rp.end(), [](float x, float y) {
                return std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y);
            }));
            EXPECT_TRUE(std::equal(ip.begin() + 10, ip.end(), b.IP.begin() + 10));
            b.changeParameter(r.parameter, running->second[std::size_t(r.parameter)]);
            for (const auto& record : vireo_test::messagesOf([&] { b.step(); }).records)
                EXPECT_FALSE(!record.isCall() && record.code() == r.code &&
                             record["i10"] == std::to_string(r.parameter + 1));
            ++changed;
        }
    }
    EXPECT_GE(changed, 40);
}

// The same for a tie between parameters, or a check the table cannot state, that
// initialisation refuses: GTLOSS's ASHRAE coefficient under the ASHRAE model, its sky
// intervals under the sky integration, a row of BETAMAX wider than the distance between
// rows, a site beyond the poles or that is no number (SUNAE2 at 52.5 degrees north changed
// to 150), MOONAE2's zone of 0.3 hours east (23.7 hours west, which rounds to no zone),
// TSOIL's heat capacity per volume below 0.
TEST(ParameterChange, ATieBrokenDuringTheRunIsReportedAndNeverSteppedOn) {
    struct Tie {
        const char* routine;
        int parameter;  // 0-based
        float value;
        int code;
        bool named = true;  // whether the message names the parameter (a row's width names none)
    };
    for (const Tie& t : {Tie{"em0004", 2, -1.0f, 305139}, Tie{"em0004", 6, 0.0f, 305143},
                         Tie{"em0031", 1, 5.0f, 305255, false}, Tie{"em0106", 1, 150.0f, 305033, false},
                         Tie{"em0106", 1, std::nanf(""), 305033, false}, Tie{"em0040", 2, 0.3f, 305034, false},
                         Tie{"em0028", 3, -1800.0f, 305298, false}}) {
        SCOPED_TRACE(t.routine);
        const auto& running = vireo_test::runningParameters().at(t.routine);
        const auto f = vireo_test::library("VireoEM").block(t.routine);
        BlockInstance b(f, {.inputs = vireo_test::identify(f).maxInputs(), .parameters = running});
        vireo_test::messagesOf([&] { ASSERT_EQ(b.init(), 0); });
        std::fill(b.OUT.begin(), b.OUT.end(), -7.0f);
        b.changeParameter(t.parameter, t.value);
        const auto m = vireo_test::messagesOf([&] { b.step(); });
        ASSERT_EQ(m.codes, std::vector<int>{t.code});
        if (t.named) {
            EXPECT_EQ(m.records.back()["i10"], std::to_string(t.parameter + 1));
        }
        EXPECT_EQ(b.OUT, std::vector<float>(b.OUT.size(), -7.0f));
        b.changeParameter(t.parameter, running[std::size_t(t.parameter)]);
        EXPECT_TRUE(vireo_test::messagesOf([&] { b.step(); }).codes.empty());
        EXPECT_NE(b.OUT, std::vector<float>(b.OUT.size(), -7.0f));
    }
}

// A parameter changed during the run holds from the next step on: that step gives, to the
// bit, what a block placed with the new value gives on the same calls, whatever init
// derives from it (a model's or series' slot, a shape, a kept day or spectrum). GENGD's
// method is changed before its first month is drawn.
TEST(ParameterChange, AChangeHoldsFromTheNextStepAsInABlockPlacedWithIt) {
    struct Case {
        const char* routine;
        std::vector<float> parameters;
        std::vector<float> inputs;
        int parameter;  // 0-based
        float value;
        bool stepFirst = true;
    };
    const std::vector<float> glazing = {800, 500, 250, 50, 45, 180, 160, 40, 30, 0.02f, 1.526f, 1.5f, 1.5f, 1.5f,
                                        0.05f, 0.05f, 0.5f};
    const std::vector<float> tilted = {600, 200, 30, 180, 0.2f, 2023, 6, 21, 10.5f, 0, 0, 0};
    const Case cases[] = {
        {"em0001", {0}, {0.5f, 5800}, 0, 1},                                    // PLANCK's form
        {"em0002", {1}, {100}, 0, 0},                                           // E0's formula
        {"em0003", {0}, {100}, 0, 3},                                           // ET's fit
        {"em0004", {1, 1, 0.05f, 0, 0, 0, 12, 3}, glazing, 0, 0},              // GTLOSS's model
        {"em0004", {1, 1, 0.05f, 0, 0, 0, 12, 3}, glazing, 7, 5},              // its sky intervals
        {"em0004", {1, 1, 0.05f, 0, 0, 0, 12, 3}, glazing, 1, 0},              // its diffuse treatment
        {"em0006", {2, 48.1f, -11.6f, 23}, {2023, 6, 21, 10.5f}, 0, 0},         // SUNAE's series
        {"em0106", {0, 52.5f, 13.4f, 1}, {2023, 6, 21, 10.5f}, 0, 1},           // SUNAE2's
        {"em0008", {1, 48.1f, -11.6f, 23}, tilted, 0, 3},                       // GH2GT's model
        {"em0108", {1, 48.1f, 11.6f, 1}, tilted, 0, 2},                         // GH2GT2's
        {"em0009", {1}, {400, 900, 0.2f, 20, 0.5f}, 0, 0},                      // G2GDH's model
        {"em0010", {1}, {2e7f, 3.5e7f, 100}, 0, 4},                             // G2GDD's
        {"em0011", {1}, {1.5e7f, 3e7f, 100}, 0, 3},                             // G2GDM's
        {"em0013", {1, 48}, {200, 6, 12}, 0, 0},                                // GMEAN's model
        {"em0021", {0}, {20}, 0, 1},                                            // TSKY's
        {"em0025", {1}, {60}, 0, 2},                                            // AM's
        {"em0035", {4}, {10}, 0, 0},                                            // COWV's correlation
        {"em0036", {1}, {0.94f, 2, 1.5f}, 0, 0},                                // TAUW's model
        {"em0038", {10, 0, 77, -30, 10}, {250, 20}, 4, 60},                     // PHIOPT's upper limit
        {"em0041", {0}, {30}, 0, 1},                                            // PHI2PSI's unit
        {"em0023", {0.2f, 7}, {0.8f}, 0, 0.3f},                                 // DISGR's variance
        {"em0033", {39.74f, -105.18f, -7, 1829, 30}, {0.5f, 800, 150, 5, 172, 12}, 4, 60},  // SEDES3's tilt
        {"em0033", {39.74f, -105.18f, -7, 1829, 30}, {0.5f, 800, 150, 5, 172, 12}, 0, 20},  // its latitude
        {"em0016", {0, 48.1f, -11.6f, 23, 1, 0, 0.3f, 0.1f, 0}, {200, 2023, 6, 15}, 0, 1, false},  // GENGD's method
        {"em0028", {2, 200, 1, 1800, 1000, 1.5f, 0, 10, 18, 3}, {8.64e6f, 1}, 9, 7},  // TSOIL's table row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.routine << " parameter " << c.parameter + 1 << " to " << c.value);
        const auto f = vireo_test::library("VireoEM").block(c.routine);
        const vireo_test::Placement placed{.inputs = static_cast<int>(c.inputs.size()), .parameters = c.parameters};
        vireo_test::Placement after = placed;
        after.parameters[std::size_t(c.parameter)] = c.value;
        BlockInstance changed(f, placed), fresh(f, after), unchanged(f, placed);
        std::vector<int> status;
        for (BlockInstance* b : {&changed, &fresh, &unchanged}) {
            status.push_back(b->init());
            if (c.stepFirst) b->step(c.inputs);
        }
        EXPECT_EQ(status, std::vector<int>(3, 0));
        changed.changeParameter(c.parameter, c.value);
        EXPECT_TRUE(vireo_test::messagesOf([&] { changed.step(c.inputs); }).codes.empty());
        EXPECT_EQ(changed.OUT, fresh.step(c.inputs));
        EXPECT_NE(fresh.OUT, unchanged.step(c.inputs));  // the change matters
    }
}

// What a block takes only at initialisation it goes on with after a change, and says so:
// TSOIL's source (its data file is claimed then and read at the first step), GENV's
// parameters (its year is drawn then). A change back is taken up without a word.
TEST(ParameterChange, AParameterTakenAtInitialisationIsSaidToBeNotTaken) {
    struct Case {
        const char* routine;
        std::vector<float> parameters;
        std::vector<float> inputs;
        int parameter;  // 0-based
        float value;
        int code;
        std::string named;  // the parameter's number, where the code names one
    };
    const Case cases[] = {
        {"em0028", {1, 200, 1, 1800, 1000, 1.5f, 0, 10, 18, 3}, {8.64e6f, 1}, 0, 2, 209004, "1"},
        {"em0005", vireo_test::runningParameters().at("em0005"), {4000}, 100, 7, 209005, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.routine);
        const auto f = vireo_test::library("VireoEM").block(c.routine);
        const vireo_test::Placement placed{.inputs = static_cast<int>(c.inputs.size()), .parameters = c.parameters};
        BlockInstance changed(f, placed), unchanged(f, placed);
        int status = 0;
        vireo_test::messagesOf([&] { status = std::max(changed.init(), unchanged.init()); });
        ASSERT_LT(status, 300000);
        changed.changeParameter(c.parameter, c.value);
        const auto m = vireo_test::messagesOf([&] { changed.step(c.inputs); });
        ASSERT_EQ(m.codes, std::vector<int>{c.code});
        EXPECT_EQ(m.records[0]["i10"], c.named);
        EXPECT_EQ(changed.IP[0], c.code);  // counted
        EXPECT_EQ(changed.OUT, unchanged.step(c.inputs));
        changed.changeParameter(c.parameter, c.parameters[std::size_t(c.parameter)]);
        EXPECT_TRUE(vireo_test::messagesOf([&] { changed.step(c.inputs); }).codes.empty() || c.code == 209005);
        EXPECT_EQ(changed.OUT, unchanged.step(c.inputs));
    }
}
