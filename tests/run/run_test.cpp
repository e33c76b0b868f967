// The run loop through the real host: steps along the links the blocks answer, end-of-run
// passes with withdrawal and resume position, stop requests, branch answers, loops and
// iterations. The probe log shows every call as "callMode blockNumber".
#include "run_probe.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <sstream>
#include <thread>

using namespace run_test;
using vireo_test::runModel;

TEST(RunLoop, OneStepThroughTheListThenOneLastCallForEveryBlock) {
    const auto run = runModel("b 1 add\nb 2 add 1\nb 3 add 2\n");
    EXPECT_EQ(run.probeLog, init({1, 2, 3}) + steps({1, 2, 3}) + lastCalls({1, 2, 3}));
    EXPECT_EQ(run.codes(), cleanRun());
    EXPECT_EQ(run.result.exitStatus, 0);
}

TEST(RunLoop, TheFirstBlockToWithdrawIsWhereTheNextPassStarts) {
    // Block 4 withdraws at its first last call and goes on along its next link (block 5);
    // the second pass starts at block 4, so blocks 1 to 3 have exactly one last call.
    const auto run = runModel("b 1 add\nb 2 add 1\nb 3 add 2\nb 4 answer 3\np 4 2 1 1 2\nb 5 add 4\n");
    EXPECT_EQ(run.probeLog, init({1, 2, 3, 4, 5}) + steps({1, 2, 3, 4, 5}) + lastCalls({1, 2, 3, 4}) + steps({5}) +
                                lastCalls({4, 5}));
    EXPECT_EQ(run.codes(), cleanRun());
}

TEST(RunLoop, AStopRequestEndsTheStepRightAfterTheCall) {
    // A free timer of five steps; block 2 answers callMode 3 at its second step, so block
    // 3 misses that step and the pass follows at once.
    const auto run = runModel("b 1 clock\np 1 5\nb 2 answer 1\np 2 1 2 3 2\nb 3 add 2\n");
    EXPECT_EQ(run.probeLog, init({1, 2, 3}) + steps({1, 2, 3, 1, 2}) + lastCalls({1, 2, 3}));
    EXPECT_EQ(withoutProgress(run), cleanRun());
}

TEST(RunLoop, BranchZeroIsFatalInAStepAndNeverWithdrawsInAPass) {
    // Block 2 answers branch 0 at its first step, and callMode 1 with branch 0 at its
    // first last call: the run goes into its pass, and the pass goes on past block 2.
    const auto run = runModel("b 1 add\nb 2 answer 1\np 2 1 1 0 0 2 1 1 0\nb 3 add 2\n");
    EXPECT_EQ(run.probeLog, init({1, 2, 3}) + steps({1, 2}) + lastCalls({1, 2, 3}));
    EXPECT_EQ(run.codes(), (Codes{4001, 4007, 4051, 400504, 400506, 400504, 400506, 4004, 4999}));
    EXPECT_EQ(run.result.exitStatus, 1);
}

TEST(RunLoop, BranchOtherThanTwoTakesTheAlternativeLink) {
    // A free timer's alternative link is the timer itself: branch 7 and branch 1 each
    // call it again, branch 2 goes on to block 2. Its fourth step asks the run to end.
    const auto run = runModel("b 1 tanswer\np 1 1 1 0 7 1 2 0 1 1 4 2 2\nb 2 add 1\n");
    EXPECT_EQ(run.probeLog, init({1, 2}) + steps({1, 1, 1, 2, 1}) + lastCalls({1, 2}));
    // A standard block has no alternative link: branch 1 leads nowhere, and the run ends.
    const auto plain = runModel("b 1 add\nb 2 answer 1\np 2 1 1 0 1\nb 3 add 2\n");
    EXPECT_EQ(plain.probeLog, init({1, 2, 3}) + steps({1, 2}) + lastCalls({1, 2, 3}));
    EXPECT_EQ(plain.codes(), cleanRun());
}

TEST(RunLoop, TheLoopEndStartsTheLoopTopAfresh) {
    // Loop top 2, body 3, controller 4 (back to the top at its odd steps, out at its even
    // ones) inside a free timer of two steps. The top counts its passes in IP[10], which
    // the engine sets back to 0 whenever the controller lets the run leave.
    const auto run = runModel("b 1 clock\np 1 2\nb 2 passtop 4\nb 3 add 2\nb 4 lanswer 3\np 4 1 2 0 1 1 4 0 1\n");
    const std::string visit = "0 1\n0 2 top=0\n0 3\n0 4\n0 2 top=1\n0 3\n0 4\n";
    EXPECT_EQ(run.probeLog, init({1, 2, 3, 4}) + visit + visit + steps({1}) + lastCalls({1, 2, 3, 4}));
    EXPECT_EQ(withoutProgress(run), cleanRun());

    // A loop top without an own IP slot is left alone (the sanitizer build would see a
    // write past its IP).
    const auto slotless = runModel("b 1 clock\np 1 1\nb 2 slotlesstop 4\nb 3 add 2\nb 4 lanswer 3\np 4 1 2 0 1\n");
    EXPECT_EQ(slotless.probeLog, init({1, 2, 3, 4}) + steps({1, 2, 3, 4, 2, 3, 4, 1}) + lastCalls({1, 2, 3, 4}));
    EXPECT_EQ(withoutProgress(slotless), cleanRun());
}

TEST(RunLoop, AnIterationRunsItsSubModelAgainUntilItLetsTheEndStand) {
    // Iteration 2 with the sub-model 3, 4; block 5 follows it. Its first last call
    // withdraws the end: the sub-model runs once more, up to block 5 (its next link
    // before that call), and the next pass starts at block 2.
    const auto run = runModel("b 1 const\nb 2 ianswer 1\np 2 1 0 0 1 2 1 1 1\nb 3 add 2\nb 4 add 3\nb 5 add 1\n");
    EXPECT_EQ(run.probeLog, init({1, 2, 3, 4, 5}) + steps({1, 2, 3, 4, 5}) + lastCalls({1, 2}) + steps({3, 4}) +
                                lastCalls({2, 3, 4, 5}));
    EXPECT_EQ(run.codes(), cleanRun());
}

TEST(RunLoop, AWithdrawalAlongALinkToNowhereEndsThroughAnotherPass) {
    // The last block withdraws the end along its next link, which is null: the run does
    // not call a block that is not there, it makes its pass from that block again.
    const auto run = runModel("b 1 add\nb 2 add 1\nb 3 answer 2\np 3 2 1 1 2\n");
    EXPECT_EQ(run.probeLog, init({1, 2, 3}) + steps({1, 2, 3}) + lastCalls({1, 2, 3}) + lastCalls({3}));
    EXPECT_EQ(run.codes(), cleanRun());
}

TEST(RunLoop, AnErrorAnsweredWithoutAMessageIsNamedAndSetsTheExitStatus) {
    // Block 2 answers an error without reporting it, at its initialisation, at its second
    // step or at its last call: the engine names the block, its number and the call in one
    // message, counts it once, and the host's status shows it. The status does not steer a
    // run, so the steps go on as the protocol says.
    struct Case {
        const char* model;
        const char* name;
        const char* call;
    };
    for (const Case& c : {Case{"b 1 clock\np 1 3\nb 2 quietinit 1\n", "QUIETINIT", "initialisation"},
                          Case{"b 1 clock\np 1 3\nb 2 quietstep 1\np 2 2\n", "QUIETSTEP", "step"},
                          Case{"b 1 clock\np 1 3\nb 2 quietstep 1\np 2 -1\n", "QUIETSTEP", "last call"}}) {
        SCOPED_TRACE(c.call);
        const auto run = runModel(c.model);
        EXPECT_EQ(run.result.exitStatus, 1);
        const auto codes = run.codes();
        ASSERT_EQ(std::count(codes.begin(), codes.end(), 304505), 1);
        const auto named = run.first(304505);
        EXPECT_EQ(named["s0"], c.name);
        EXPECT_EQ(named["i1"], "2");
        EXPECT_EQ(named["i2"], "309901");
        EXPECT_EQ(named["s1"], c.call);
    }
    const auto stepped = runModel("b 1 clock\np 1 3\nb 2 quietstep 1\np 2 2\n");
    EXPECT_EQ(stepped.probeLog, init({1, 2}) + steps({1, 2, 1, 2, 1, 2, 1}) + lastCalls({1, 2}));
    // An error the block reports itself is not named a second time.
    const auto reported = runModel("b 1 clock\np 1 3\nb 2 failinit 1\n");
    EXPECT_EQ(reported.first(304505).code(), 0);
    EXPECT_EQ(reported.result.exitStatus, 1);
    // The same block with a step it never reaches leaves the status clean.
    EXPECT_EQ(runModel("b 1 clock\np 1 3\nb 2 quietstep 1\np 2 9\n").result.exitStatus, 0);
}

TEST(RunLoop, ABlockThatCrashesIsNamedAndTheRowsMadeBeforeAreKept) {
    // Block 3 crashes at its 50th step, after CSVOUT (the user blocks') has made that
    // step's row: every row is in the file, whole, one line names the block and where the
    // run was, and the process ends with the signal.
    const std::string blocks = vireo_test::scratchDirectory("crash-blocks");
    std::filesystem::create_symlink(vireo_test::buildDir() + "/lib/libVireoUB.so", blocks + "/libVireoUB.so");
    std::string rows = "in1\n";
    for (int k = 1; k <= 50; ++k) rows += std::to_string(k) + "\n";
    vireo_test::ModelRunOptions o;
    o.env = {{"VIREO_USER_BLOCKS", blocks}};
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
        SCOPED_TRACE(signal);
        const auto run = runModel("b 1 clock\np 1 100\nb 2 CSVOUT 1.1\np 2 'rows.csv'\nb 3 crash 1\np 3 50 " +
                                      std::to_string(signal) + "\n",
                                  {}, {}, "m.vireo", o);
        EXPECT_EQ(run.result.exitStatus, 128 + signal);
        EXPECT_EQ(vireo_test::readFile(run.dir + "/rows.csv"), rows);
        const auto named = run.first(404903);
        EXPECT_EQ(named["s0"], "CRASH");
        EXPECT_EQ(named["i1"], "3");
        EXPECT_EQ(named["i2"], std::to_string(signal));
        EXPECT_EQ(named["s1"], "m.vireo, line 5");
        EXPECT_EQ(named["s2"], "a step");
        EXPECT_EQ(named["s3"], "CLOCK 1 gives 50");
        EXPECT_EQ(named["s4"], "50");
        EXPECT_EQ(run.probeLog.find("2 "), std::string::npos);  // no last call: the process ended
    }
    // The crash ruined results another holder keeps, which crash in turn as they are
    // written: the rows written before them stay, and the block is still named, with its
    // own signal.
    const auto run = runModel("b 1 clock\np 1 100\nb 2 CSVOUT 1.1\np 2 'rows.csv'\nb 3 crash 1\np 3 50 6 1\n", {},
                              {}, "m.vireo", o);
    EXPECT_EQ(run.result.exitStatus, 128 + SIGABRT);
    EXPECT_EQ(vireo_test::readFile(run.dir + "/rows.csv"), rows);
    EXPECT_EQ(run.first(404903)["s0"], "CRASH");
    EXPECT_EQ(run.first(404903)["i2"], std::to_string(SIGABRT));
}

TEST(RunLoop, AFatalSignalInTheMiddleOfAWriteOutWritesNoRowTwice) {
    // CSVOUT writes into a pipe that nobody reads for a while: its write-out waits inside
    // write(2) with part of its rows already in the pipe, and there a fatal signal comes
    // (sent from outside, as an abort or a watchdog sends one). The rows it holds are
    // written on the way out, but none of those in the pipe again, and every row is whole.
    const std::string blocks = vireo_test::scratchDirectory("crash-blocks");
    std::filesystem::create_symlink(vireo_test::buildDir() + "/lib/libVireoUB.so", blocks + "/libVireoUB.so");
    for (const int signal : {SIGSEGV, SIGABRT}) {
        SCOPED_TRACE(signal);
        const std::string fifo = vireo_test::scratchDirectory("crash-fifo") + "/rows.fifo";
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(reader, 0);
        std::string rows;
        std::thread follower;
        vireo_test::ModelRunOptions o;
        o.env = {{"VIREO_USER_BLOCKS", blocks}};
        o.started = [&](int pid) {
            follower = std::thread([&, pid] {
                // The writer waits in write(2): the pipe holds the same bytes for a while and
                // the process sleeps. A loaded machine only makes this take longer.
                const std::string stat = "/proc/" + std::to_string(pid) + "/stat";
                const auto sleeping = [&] {
                    const std::string s = vireo_test::readFile(stat);
                    const std::size_t close = s.rfind(')');
                    return close != std::string::npos && close + 2 < s.size() && s[close + 2] == 'S';
                };
                const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
                int before = -1, still = 0;
                while (still < 6 && std::chrono::steady_clock::now() < giveUp) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                    int queued = 0;
                    ioctl(reader, FIONREAD, &queued);
                    still = queued > 0 && queued == before && sleeping() ? still + 1 : 0;
                    before = queued;
                }
                kill(pid, signal);
                fcntl(reader, F_SETFL, 0);
                char buffer[65536];
                for (ssize_t n; (n = read(reader, buffer, sizeof buffer)) != 0;)
                    if (n > 0) rows.append(buffer, static_cast<std::size_t>(n));
                    else if (errno != EINTR) break;
            });
        };
        const auto run = runModel("b 1 CALENDAR\np 1 2023 1 1 0 100000000 0.001\nb 2 CSVOUT 1.6\np 2 '" + fifo + "'\n",
                                  {}, {}, "m.vireo", o);
        follower.join();
        ::close(reader);
        EXPECT_EQ(run.result.exitStatus, 128 + signal);
        EXPECT_EQ(run.first(404903)["s0"], "CSVOUT");
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.back(), '\n');
        std::istringstream lines(rows);
        std::string row;
        std::getline(lines, row);
        EXPECT_EQ(row, "in1");
        int count = 0;
        while (std::getline(lines, row) && row == std::to_string(count + 1)) ++count;
        EXPECT_TRUE(lines.eof()) << "row " << count + 1 << " reads " << row;
        EXPECT_GT(count, 10000);
    }
}
