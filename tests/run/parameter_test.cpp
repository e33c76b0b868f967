// Parameter changes of an editor through the bridge: the real host runs with flag 2
// under -j and the engine polls after every step. The blocks PARAMS show their real
// parameters as outputs, which the bridge logs after each call.
#include "run_probe.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace run_test;
using vireo_test::ModelRunOptions;
using vireo_test::readFile;
using vireo_test::runModel;

namespace {

// The stand-in bridge's log and script for a run of `model` under -j.
struct BridgeRun {
    vireo_test::ModelRun run;
    std::string log;
};

BridgeRun runWithBridge(const std::string& model, const std::string& script, const std::string& bridge,
                        const std::vector<std::string>& args = {"-j"}, const std::string& program = {}) {
    ModelRunOptions o;
    o.bridge = bridge;
    o.program = program;
    const std::string dir = vireo_test::scratchDirectory("bridge-files");
    vireo_test::writeFile(dir + "/script.txt", script);
    o.env = {{"VIREO_BRIDGE_LOG", dir + "/bridge.log"}, {"VIREO_BRIDGE_SCRIPT", dir + "/script.txt"},
             {"VIREO_TEST_RUNBIT", "1"}};
    BridgeRun r{runModel(model, args, {}, "m.vireo", o), {}};
    r.log = readFile(dir + "/bridge.log");
    return r;
}

// The "out=" field of every updateInOut line of a block, in order.
std::vector<std::string> outputsOf(const std::string& log, int block) {
    std::vector<std::string> out;
    std::istringstream in(log);
    const std::string head = "updateInOut\tblock=" + std::to_string(block) + "\t";
    for (std::string line; std::getline(in, line);)
        if (line.rfind(head, 0) == 0) out.push_back(line.substr(line.find("\tout=") + 5));
    return out;
}

std::vector<std::string> linesOf(const std::string& log, const std::string& prefix) {
    std::vector<std::string> out;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

}  // namespace

TEST(ParameterChanges, ByBlockAndParameterNumberAndByConstantName) {
    const std::string model =
        "c RATE 1.5\n"
        "b 1 clock\np 1 3\n"
        "b 2 params\np 2 RATE 7 'text' RATE 9\n"
        "b 3 params\np 3 RATE\n";
    const std::string script =
        "@1 2 2 3.5\n"       // after the first step: block 2's second real parameter
        "@2 99 1 2 RATE\n"   // no block 99: every parameter that names RATE
        "@2 99 2 4\n"        // no block 99 and not index 1: 5301
        "@3 2 9 4\n"         // beyond block 2's real parameters: nothing
        "@3 0 1 5 RATE\n";   // a pair with a 0 ends the round and changes nothing
    const auto r = runWithBridge(model, script, STAND_IN_BRIDGE);
    // Steps: 1 2 3 1 2 3 1 2 3 1; a round of polls follows each.
    // Three steps and the last call each.
    EXPECT_EQ(outputsOf(r.log, 2), (std::vector<std::string>{"1.5,3.5,1.5,9", "2,3.5,2,9", "2,3.5,2,9", "2,3.5,2,9"}));
    EXPECT_EQ(outputsOf(r.log, 3), (std::vector<std::string>{"2,0,0,0", "2,0,0,0", "2,0,0,0", "2,0,0,0"}));
    // Under -j the host runs with flag 2, which closes with 4005.
    EXPECT_EQ(withoutProgress(r.run), (Codes{4001, 4007, 4051, 5301, 4005, 4999}));
    EXPECT_EQ(r.run.result.exitStatus, 0);
    // One round after each of the ten steps, none in the pass.
    const auto polls = linesOf(r.log, "getBpFromPlumo");
    ASSERT_FALSE(polls.empty());
    EXPECT_NE(polls.back().find("round=10\t"), std::string::npos) << polls.back();
}

TEST(ParameterChanges, APairWithAZeroInEitherPlaceEndsThePolls) {
    // Steps: 1 5 1 5 1 5 1, each followed by a round of polls. (5, 0) and (0, 5) each end
    // their round at once and change nothing; (5, 1) is a change, and the next poll, which
    // the bridge answers (0, 0), ends the round.
    const std::string model = "b 1 clock\np 1 3\nb 5 params\np 5 1 7\n";
    const std::string script = "@1 5 0 2.5\n@2 0 5 3.5\n@3 5 1 4.5\n";
    const auto r = runWithBridge(model, script, STAND_IN_BRIDGE);
    EXPECT_EQ(outputsOf(r.log, 5), (std::vector<std::string>{"1,7,0,0", "4.5,7,0,0", "4.5,7,0,0", "4.5,7,0,0"}));
    EXPECT_EQ(withoutProgress(r.run), cleanRun(4005));
    const auto polls = linesOf(r.log, "getBpFromPlumo");
    ASSERT_EQ(polls.size(), 8u);  // one a round, two in the round of the change
    EXPECT_NE(polls.back().find("round=7\t"), std::string::npos) << polls.back();
}

TEST(ParameterChanges, AConstantNameMayFillAllEightyCharacters) {
    const std::string name(80, 'R');
    const std::string model = "c " + name + " 1\nc " + name + "S 1\nb 1 clock\np 1 2\nb 2 params\np 2 " + name +
                              " " + name + "S\n";
    const auto r = runWithBridge(model, "@1 99 1 6 " + name + "\n", STAND_IN_BRIDGE);
    EXPECT_EQ(outputsOf(r.log, 2), (std::vector<std::string>{"6,1,0,0", "6,1,0,0", "6,1,0,0"}));
}

TEST(ParameterChanges, TheBuffersAreClearedBeforeEveryPoll) {
    // The quiet bridge names RATEX, then writes "RATE" over it without a terminator, then
    // writes nothing: each poll must read only what that poll wrote.
    const std::string model = "c RATE 1\nc RATEX 1\nb 1 clock\np 1 2\nb 2 params\np 2 RATE RATEX\n";
    const auto r = runWithBridge(model, "", QUIET_BRIDGE);
    EXPECT_EQ(r.log, "1 0 in 1\n2 0 in 7 2.5 0 0\n1 0 in 2\n2 0 in 7 2.5 0 0\n1 0 in 2\n"
                     "1 0 in 2\n2 0 in 7 2.5 0 0\n");
    EXPECT_EQ(withoutProgress(r.run), cleanRun(4005));
}

TEST(ParameterChanges, NoneAreFetchedUnlessTheFlagIsTwo) {
    // The test host keeps flag 1 under -j: the bridge follows the run but is never polled.
    const auto r = runWithBridge("b 1 clock\np 1 2\nb 2 params\np 2 1\n", "@1 2 1 5\n", STAND_IN_BRIDGE, {"-j"},
                                 FLAG_HOST);
    EXPECT_TRUE(linesOf(r.log, "getBpFromPlumo").empty());
    EXPECT_EQ(outputsOf(r.log, 2), (std::vector<std::string>{"1,0,0,0", "1,0,0,0", "1,0,0,0"}));
    EXPECT_EQ(withoutProgress(r.run), cleanRun(4004));
}

TEST(EditorBridge, ReceivesTheEnginesOwnInputCount) {
    // MISCOUNT writes 1000 into its inputCount slot at every step; the bridge is told the
    // two inputs the engine gave it, and reads nothing beyond them.
    const auto r = runWithBridge("b 1 clock\np 1 1\nb 2 miscount 1 -1\n", "", STAND_IN_BRIDGE);
    EXPECT_EQ(linesOf(r.log, "updateInOut\tblock=2"),
              (std::vector<std::string>{"updateInOut\tblock=2\tnin=2\tin=1,-1\tnout=1\tout=0",
                                        "updateInOut\tblock=2\tnin=2\tin=1,-1\tnout=1\tout=0"}));
    // With -d as well, the same goes to blockToPlumo.
    const auto d = runWithBridge("b 1 clock\np 1 1\nb 2 miscount 1 -1\n", "", STAND_IN_BRIDGE, {"-j", "-d"});
    EXPECT_EQ(linesOf(d.log, "blockToPlumo\tblock=2"),
              (std::vector<std::string>{"blockToPlumo\tblock=2\tnin=2\tin=1,-1\tnout=1\tout=0",
                                        "blockToPlumo\tblock=2\tnin=2\tin=1,-1\tnout=1\tout=0"}));
}

TEST(ParameterChanges, ABlockDoesNotStepOnAChangedParameterThatBreaksItsRules) {
    // The real libraries: HXS and SUNAEA check their parameter tables again before the
    // step after a change. HXS's arrangement 3e9 and SUNAEA's sub-step count 1e9 (each
    // step would loop that often) are refused, each a counted error naming the parameter;
    // mending them lets the blocks step again. Calls: 1 2 3 1 2 3 ... over six hours, a
    // round of polls after each; the changes come after the calendar's steps.
    const std::string model =
        "b 1 CALENDAR\np 1 2023 6 21 8 6 1\n"
        "b 2 HXS 1.4 1.6 1.6 1.6\np 2 1 100 4186 4186\n"
        "b 3 SUNAEA 1.1 1.2 1.3 1.4 1.6 1.6 1.6\np 3 0 48 -11 -1 60 4\n";
    const std::string script =
        "@1 2 1 3e9\n"  // before the first steps of HXS and SUNAEA
        "@1 3 6 1e9\n"
        "@7 2 1 1\n"  // mended before the third
        "@7 3 6 -3e9\n"
        "@10 3 6 12\n"  // mended before the fourth, with a series that overflowed its sign change
        "@10 3 1 -3e9\n";
    ModelRunOptions o;
    o.bridge = STAND_IN_BRIDGE;
    const std::string dir = vireo_test::scratchDirectory("bridge-files");
    vireo_test::writeFile(dir + "/script.txt", script);
    o.env = {{"VIREO_BRIDGE_LOG", dir + "/bridge.log"}, {"VIREO_BRIDGE_SCRIPT", dir + "/script.txt"},
             {"VIREO_HOME", vireo_test::buildDir() + "/lib"}};
    o.timeoutSeconds = 30;
    const auto run = runModel(model, {"-j"}, {}, "m.vireo", o);
    // The counted errors end the run with status 1; a hang would end in the timeout's kill.
    ASSERT_EQ(run.result.exitStatus, 1) << run.result.out;
    std::vector<std::string> refused;  // block number, code and the parameter it names
    for (const auto& m : run.messages())
        if (m.code() >= 300000) refused.push_back(m["i3"] + " " + std::to_string(m.code()) + " " + m["i10"]);
    EXPECT_EQ(refused, (std::vector<std::string>{"2 305011 1", "3 305259 6", "3 305259 6"}));
    // Nothing is computed while refused; the steps after the mends are.
    const std::string log = readFile(dir + "/bridge.log");
    const auto hxs = outputsOf(log, 2), sun = outputsOf(log, 3);
    ASSERT_EQ(hxs.size(), 7u);  // six steps and the last call
    ASSERT_EQ(sun.size(), 7u);
    const std::vector<std::string> none(3, "0,0,0,0");
    EXPECT_EQ(std::vector<std::string>(hxs.begin(), hxs.begin() + 2), std::vector<std::string>(2, "0,0,0,0"));
    EXPECT_NE(hxs[2], "0,0,0,0");
    EXPECT_EQ(std::vector<std::string>(sun.begin(), sun.begin() + 3), none);
    EXPECT_NE(sun[3], "0,0,0,0");
    EXPECT_NE(sun[4], sun[3]);
}

TEST(ParameterChanges, ARefusedTimerOrLoopControllerDoesNotHoldTheRunForEver) {
    // A free timer that does not step never reaches its last step, and a loop controller
    // that does not step sends the run back to its loop's top: refused by a change, the
    // timer ends the run and the controller lets the run leave its loop, each pass, so
    // that the run ends (a hang would end in the timeout's kill) with the refusal counted.
    struct Case {
        const char* model;
        const char* script;
        std::string refused;  // block number and code
        int timerCalls;       // the calendar's calls, the one that ends the run and its last call included
    };
    const Case cases[] = {
        {"b 1 CALENDAR\np 1 2023 1 1 0 5 1\n", "@2 1 5 0\n", "1 305905", 4},  // two steps, the refused one
        {"b 1 CALENDAR\np 1 2023 1 1 0 5 1\nb 2 LOOPTOP 3.1\np 2 1\nb 3 LOOPCTL 2.1\np 3 0.001 10\n", "@4 3 2 0\n",
         "3 305931", 7},  // all five steps
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        ModelRunOptions o;
        o.bridge = STAND_IN_BRIDGE;
        const std::string dir = vireo_test::scratchDirectory("bridge-files");
        vireo_test::writeFile(dir + "/script.txt", c.script);
        o.env = {{"VIREO_BRIDGE_LOG", dir + "/bridge.log"}, {"VIREO_BRIDGE_SCRIPT", dir + "/script.txt"},
                 {"VIREO_HOME", vireo_test::buildDir() + "/lib"}};
        o.timeoutSeconds = 20;
        const auto run = runModel(c.model, {"-j"}, {}, "m.vireo", o);
        ASSERT_EQ(run.result.exitStatus, 1) << run.result.out;
        std::vector<std::string> refused;
        for (const auto& m : run.messages())
            if (m.code() >= 300000) refused.push_back(m["i3"] + " " + std::to_string(m.code()));
        EXPECT_EQ(refused, std::vector<std::string>{c.refused});
        EXPECT_EQ(outputsOf(readFile(dir + "/bridge.log"), 1).size(), std::size_t(c.timerCalls));
    }
}
