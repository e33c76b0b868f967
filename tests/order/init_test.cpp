// The syntax-check run (-s), the calculation list run (-l) and initialisation through the
// real host: which blocks are called, in which order, and what the driver says after.
#include "model_run.h"

#include <gtest/gtest.h>

#include <sstream>

using vireo_test::runModel;
using Codes = std::vector<int>;

namespace {

// Every group of block, in an order the sort changes.
const char* const kModel =
    "b 7 add 6\n"
    "b 1 timer\n"
    "p 1 8760\n"
    "b 2 const\n"
    "b 3 ltop 2 5\n"
    "b 4 add 3\n"
    "b 5 loop 4\n"
    "b 6 delay 5\n"
    "b 8 iter 1\n"
    "b 9 probe 8\n"
    "b 10 _node 2\n";

// Calculation order of kModel: constant sources and nodes, the free timer, then block 7
// (it reads only the delay block), the loop, the delay block and the iteration.
const std::vector<int> kOrder{2, 10, 1, 7, 3, 4, 5, 6, 8, 9};

std::string probeLog(const std::vector<int>& order, int mode) {
    std::ostringstream s;
    for (int n : order) s << mode << ' ' << n << '\n';
    return s.str();
}

}  // namespace

TEST(SyntaxCheck, InitialisesEveryBlockAndGivesEachOneLastCall) {
    const auto run = runModel(kModel, {"-s"});
    EXPECT_EQ(run.probeLog, probeLog(kOrder, 1) + probeLog(kOrder, 2));
    EXPECT_EQ(run.codes(), (Codes{4001, 4030, 4007, 4999}));  // 4030: the _NODE line
    EXPECT_EQ(run.first(4007)["i1"], "0");
    EXPECT_EQ(run.first(4007)["i2"], "0");
    EXPECT_EQ(run.result.exitStatus, 0);
}

TEST(CalculationList, InitialisesListsAndClosesWithoutSummary) {
    const auto run = runModel(kModel, {"-l", "-c"});
    EXPECT_EQ(run.probeLog, probeLog(kOrder, 1) + probeLog(kOrder, 2));
    const Codes codes = run.codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), 4999);
    for (int c : codes) EXPECT_EQ(c == 4030 || c == 4999, true) << c;
}

TEST(Initialisation, AnErrorStopsBeforeTheRunAndEveryBlockStillGetsItsLastCall) {
    const auto run = runModel("b 1 const\nb 2 failinit 1\nb 3 warninit 2\nb 4 add 3\n");
    EXPECT_EQ(run.codes(), (Codes{4001, 309901, 209901, 4007, 4004, 4999}));
    EXPECT_EQ(run.first(4007)["i1"], "1");
    EXPECT_EQ(run.first(4007)["i2"], "1");
    EXPECT_EQ(run.probeLog, probeLog({1, 2, 3, 4}, 1) + probeLog({1, 2, 3, 4}, 2));
    EXPECT_EQ(run.result.exitStatus, 1);

    // Under -s the same: the summary with the errors, and no run.
    const auto check = runModel("b 1 failinit\n", {"-s"});
    EXPECT_EQ(check.codes(), (Codes{4001, 309901, 4007, 4004, 4999}));

    // -l lists the blocks whatever the initialisation said.
    const auto listed = runModel("b 1 failinit\n", {"-l", "-c"});
    EXPECT_EQ(listed.codes(), (Codes{309901, 4030, 4030, 4030, 4030, 4999}));
}

TEST(Initialisation, AnErrorAnsweredWithoutAMessageStillSetsTheExitStatus) {
    // The block sets an error status and reports nothing: the engine counts it, and so
    // must the exit status, whichever way the model is taken.
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"-s"}, {"-l", "-c"}}) {
        const auto run = runModel("b 1 const\nb 2 quietinit 1\n", args);
        EXPECT_EQ(run.result.exitStatus, 1) << args.size();
        EXPECT_EQ(run.probeLog, probeLog({1, 2}, 1) + probeLog({1, 2}, 2)) << args.size();
        if (args.empty()) {
            EXPECT_EQ(run.codes(), (Codes{4001, 304505, 4007, 4004, 4999}));
        }
    }
    EXPECT_EQ(runModel("b 1 const\nb 2 quietinit 1\n").first(4007)["i1"], "1");
    // Nothing wrong, nothing counted.
    EXPECT_EQ(runModel("b 1 const\nb 2 add 1\n", {"-s"}).result.exitStatus, 0);
}

TEST(Initialisation, AWarningIsCountedAndTheRunGoesOn) {
    const auto run = runModel("b 1 warninit\n");
    EXPECT_EQ(run.codes(), (Codes{4001, 209901, 4007, 4051, 4004, 4999}));
    EXPECT_EQ(run.first(4007)["i1"], "0");
    EXPECT_EQ(run.first(4007)["i2"], "1");
    EXPECT_EQ(run.first(4051)["s0"], "8.3.0-beta");
    EXPECT_EQ(run.probeLog, "1 1\n0 1\n2 1\n");  // one step, then the end-of-run pass
}

TEST(Initialisation, AModelThatFailsItsCheckIsNeverInitialised) {
    const auto run = runModel("b 1 add 2\nb 2 add 1\n", {"-s"});
    EXPECT_EQ(run.codes(), (Codes{4001, 304047, 4004, 4999}));
    EXPECT_TRUE(run.probeLog.empty());
}

TEST(Initialisation, DebugModeNamesEveryInitialisationAndLastCall) {
    const auto run = runModel("b 1 const\nb 2 Plus 1\n", {"-s", "-d", "-c"});
    EXPECT_EQ(run.codes(), (Codes{5161, 5161, 4007, 5161, 5161, 4999}));
    std::vector<std::string> calls;
    for (const auto& m : run.messages())
        if (m.code() == 5161) calls.push_back(m["s0"] + " " + m["i1"]);
    EXPECT_EQ(calls, (std::vector<std::string>{"CONST 1", "PLUS 2", "CONST 1", "PLUS 2"}));
}
