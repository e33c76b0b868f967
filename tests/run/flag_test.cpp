// The host's run flag: pause and resume, stop, and the progress lines of a timer. The
// test blocks raise the host's signals at chosen steps, so the flag changes at known
// points of the run: SIGINT, SIGTERM and SIGHUP (the real host: flag 0; the test host:
// SIGINT only) and SIGUSR1 (the test host: pause, and resume after a set time).
#include "run_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <thread>

using namespace run_test;
using vireo_test::ModelRunOptions;
using vireo_test::runModel;

TEST(RunFlag, APauseSleepsAndTheRunGoesOnWhereItStopped) {
    // Block 2 raises SIGUSR1 at its second step: the test host sets the flag to -1 and,
    // two seconds later, back to 1. Block 3, the user blocks' CSVOUT, holds its rows in
    // memory: the paused run has them written out, for the user to look at.
    const std::string blocks = vireo_test::scratchDirectory("pause-blocks");
    std::filesystem::create_symlink(vireo_test::buildDir() + "/lib/libVireoUB.so", blocks + "/libVireoUB.so");
    const std::string rows = blocks + "/rows.csv";
    const std::string model = "b 1 clock\np 1 3\nb 2 signal 1\np 2 2 2\nb 3 CSVOUT 1.1\np 3 '" + rows + "'\n";
    ModelRunOptions o;
    o.program = FLAG_HOST;
    o.env = {{"VIREO_TEST_RESUME_AFTER", "2"}, {"VIREO_USER_BLOCKS", blocks}};
    std::string paused;
    std::thread look([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
        paused = vireo_test::readFile(rows);
    });
    const auto run = runModel(model, {}, {}, "m.vireo", o);
    look.join();
    EXPECT_TRUE(paused == "in1\n1\n" || paused == "in1\n1\n2\n") << paused;
    EXPECT_EQ(vireo_test::readFile(rows), "in1\n1\n2\n3\n");
    EXPECT_EQ(run.probeLog, init({1, 2}) + steps({1, 2, 1, 2, 1, 2, 1}) + lastCalls({1, 2}));
    EXPECT_EQ(withoutProgress(run), cleanRun());
    double cpu = 0.0, wall = 0.0;
    ASSERT_EQ(std::sscanf(run.result.err.c_str(), "cpu=%lf wall=%lf", &cpu, &wall), 2) << run.result.err;
    EXPECT_GE(wall, 1.9);
    EXPECT_GE(wall - cpu, 1.5) << "the pause must sleep, not spin";
}

TEST(RunFlag, AStopMakesTheNextPassTheLastWhateverTheBlocksAnswer) {
    // Ctrl-C in the real host at block 2's third step: block 3 misses that step, and the
    // pass that follows gives every block its last call. Block 3 withdraws at every last
    // call; after a stop that is not heeded, or the run would never end.
    const auto run = runModel("b 1 clock\np 1 100\nb 2 signal 1\np 2 3 1\nb 3 answer 2\np 3 2 0 1 2\nb 4 add 3\n");
    EXPECT_EQ(run.probeLog, init({1, 2, 3, 4}) + steps({1, 2, 3, 4, 1, 2, 3, 4, 1, 2}) + lastCalls({1, 2, 3, 4}));
    EXPECT_EQ(withoutProgress(run), cleanRun(4005));
    EXPECT_EQ(run.result.exitStatus, 128 + SIGINT);  // a cut result, and scripts can tell

    // A host that starts with flag 0: no step, one pass.
    ModelRunOptions o;
    o.program = FLAG_HOST;
    o.env = {{"VIREO_TEST_RUNBIT", "0"}};
    const auto stopped = runModel("b 1 clock\np 1 100\nb 2 answer 1\np 2 2 0 1 2\n", {}, {}, "m.vireo", o);
    EXPECT_EQ(stopped.probeLog, init({1, 2}) + lastCalls({1, 2}));
    EXPECT_EQ(withoutProgress(stopped), cleanRun(4005));
}

TEST(RunFlag, EverySignalThatEndsARunEndsItLikeCtrlC) {
    // Raised at block 2's third step: the blocks get their last calls, the run closes as
    // stopped, and the exit status is 128 + the signal.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const auto run = runModel("b 1 clock\np 1 100\nb 2 signal 1\np 2 3 -" + std::to_string(signal) + "\n");
        EXPECT_EQ(run.probeLog, init({1, 2}) + steps({1, 2, 1, 2, 1, 2}) + lastCalls({1, 2})) << signal;
        EXPECT_EQ(withoutProgress(run), cleanRun(4005)) << signal;
        EXPECT_EQ(run.result.exitStatus, 128 + signal);
    }
    // A signal the host has no use for leaves the run alone.
    const auto run = runModel("b 1 clock\np 1 3\nb 2 signal 1\np 2 2 -" + std::to_string(SIGUSR1) + "\n");
    EXPECT_EQ(run.probeLog, init({1, 2}) + steps({1, 2, 1, 2, 1, 2, 1}) + lastCalls({1, 2}));
    EXPECT_EQ(withoutProgress(run), cleanRun());
    EXPECT_EQ(run.result.exitStatus, 0);
}

TEST(RunFlag, AClosedOutputPipeStopsTheRunWithItsFilesWhole) {
    // `vireo m.vireo -d | head -2000`: the reader goes in the middle of the run's (many)
    // lines. The run stops as it does at Ctrl-C: every block gets its last call, the
    // result file holds whole rows, and the status is 1 with a line on standard error.
    const std::string blocks = vireo_test::scratchDirectory("pipe-blocks");
    std::filesystem::create_symlink(vireo_test::buildDir() + "/lib/libVireoUB.so", blocks + "/libVireoUB.so");
    ModelRunOptions o;
    o.env = {{"VIREO_USER_BLOCKS", blocks}};
    o.outputLines = 2000;
    const int steps = 200000;
    const auto run = runModel("b 1 clock\np 1 " + std::to_string(steps) + "\nb 2 CSVOUT 1.1\np 2 'rows.csv'\n", {"-d"},
                              {}, "m.vireo", o);
    EXPECT_EQ(run.result.exitStatus, 1);
    EXPECT_EQ(std::count(run.result.err.begin(), run.result.err.end(), '\n'), 1) << run.result.err;
    const auto codes = withoutProgress(run);
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(Codes(codes.end() - 2, codes.end()), (Codes{4005, 4999}));  // closed as a stopped run
    EXPECT_EQ(run.probeLog.substr(run.probeLog.size() - 4), "2 1\n");  // the timer's last call
    std::istringstream rows(vireo_test::readFile(run.dir + "/rows.csv"));
    std::string row;
    std::getline(rows, row);
    EXPECT_EQ(row, "in1");
    int count = 0;
    while (std::getline(rows, row)) EXPECT_EQ(row, std::to_string(++count));
    EXPECT_GT(count, 0);
    EXPECT_LT(count, steps);  // stopped, not run to its end
}

TEST(Progress, LinesReachAPipeAsTheyAreWrittenAndOutliveACrash) {
    // Block 2 kills the process at its 150th step, with the output a pipe (as under an
    // editor): every line sent before is in it, one line per message.
    const auto run = runModel("b 1 clock\np 1 200\nb 2 signal 1\np 2 150 -" + std::to_string(SIGKILL) + "\n");
    EXPECT_EQ(run.result.exitStatus, 128 + SIGKILL);
    const auto sent = run.messages();
    ASSERT_EQ(sent.size(), 3u + 75u);  // 4001, 4007, 4051 and the progress up to 75 %
    EXPECT_EQ(sent.back()["s0"], "#Progress#75");
    EXPECT_EQ(std::count(run.result.out.begin(), run.result.out.end(), '\n'), static_cast<long>(sent.size()));
}

TEST(Progress, AYearOfHoursShowsEachPercentOnce) {
    // Debug mode names every step (5162) and last call (5163), so the trace shows at
    // which timer call each progress line comes.
    const auto run = runModel("b 1 clock\np 1 8760\nb 2 add 1\n", {"-d"});
    std::vector<int> percents;
    std::vector<int> atCall;
    int timerCalls = 0;
    int lastCallsSeen = 0;
    for (const auto& r : run.messages()) {
        if (r.code() == 5162 && r["i1"] == "1") ++timerCalls;
        if (r.code() == 5163) ++lastCallsSeen;
        if (r.code() == 4030 && r["s0"].rfind("#Progress#", 0) == 0) {
            percents.push_back(std::stoi(r["s0"].substr(10)));
            atCall.push_back(timerCalls);
        }
    }
    ASSERT_EQ(percents.size(), 100u);
    for (int p = 1; p <= 100; ++p) EXPECT_EQ(percents[p - 1], p);
    EXPECT_EQ(atCall.front(), 44);  // 43 of 8760 is 0.49 %, 44 is 0.50 %: rounded, not cut
    EXPECT_EQ(atCall.back(), 8717);  // 99.5 %
    EXPECT_EQ(timerCalls, 8761);  // the call after the last step asks the run to end
    EXPECT_EQ(lastCallsSeen, 2);
    EXPECT_EQ(run.first(5162)["s0"], "CLOCK");
    EXPECT_EQ(run.first(5163)["s0"], "CLOCK");
}

TEST(Progress, EachPercentageIsTheShareDoneRounded) {
    // A float share loses a point (1 - 4/5 is 0.19999999, shown as 19).
    const struct {
        int steps;
        std::vector<int> percents;
    } cases[] = {{5, {20, 40, 60, 80, 100}}, {3, {33, 67, 100}}, {8, {13, 25, 38, 50, 63, 75, 88, 100}}};
    for (const auto& c : cases) {
        const auto run = runModel("b 1 clock\np 1 " + std::to_string(c.steps) + "\nb 2 add 1\n");
        std::vector<int> percents;
        for (const auto& r : run.messages())
            if (r.code() == 4030 && r["s0"].rfind("#Progress#", 0) == 0) percents.push_back(std::stoi(r["s0"].substr(10)));
        EXPECT_EQ(percents, c.percents) << c.steps;
    }
}
