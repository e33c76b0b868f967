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
