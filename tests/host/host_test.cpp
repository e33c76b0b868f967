// The host program and the engine's entry point, run as a user runs them.
#include "run_vireo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using vireo_test::runVireo;

const std::string kUsage =
    "This is VIREO 8.3.0-beta 64 bit \n"
    "Usage: vireo filename [options]\n"
    "   filename\n"
    "      Any .vireo or .plumo model\n"
    "   [options]\n"
    "      -d  Debug mode\n"
    "      -j  vireo called from Java\n"
    "      -l  Show calculation list\n"
    "      -m  Show .vireo file\n"
    "      -s  Syntax check only\n"
    "      -c  No notice that compiling begins\n"
    "      -b  Display available blocks\n"
    "      -v  Display vireo components with base commit\n"
    "      -h  Show this text (also --help); --version shows the version\n";

TEST(Host, UsageTextWithoutArgumentsAndOnRequest) {
    const auto r = runVireo({});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, kUsage);
    EXPECT_TRUE(r.trace.empty());  // no configuration, no start-up calls

    // A request for help wins over everything else on the line and runs nothing.
    const std::string dir = vireo_test::scratchDirectory("host");
    vireo_test::writeFile(dir + "/m.vireo", "b 1 CALENDAR\np 1 2023 1 1 0 2 1\n");
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"-h"}, {"-H"}, {"m.vireo", "--help"}, {"-b", "-help"}}) {
        const auto help = runVireo(args, o);
        EXPECT_EQ(help.exitStatus, 0) << args.back();
        EXPECT_EQ(help.out, kUsage) << args.back();
        EXPECT_TRUE(help.trace.empty()) << args.back();
    }
    const auto version = runVireo({"--version"}, o);
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, "This is VIREO 8.3.0-beta 64 bit \n");
    // Options that need a model, without one: the usage and the status of no arguments,
    // nothing compiled or run.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"-s"}, {"-d", "-c", "-l"}}) {
        const auto none = runVireo(args, o);
        EXPECT_EQ(none.exitStatus, 1) << args.front();
        EXPECT_EQ(none.out, kUsage) << args.front();
        EXPECT_TRUE(none.codes().empty()) << args.front();
    }
}

TEST(Host, AnUnknownOptionIsAnErrorAndNothingRuns) {
    const std::string dir = vireo_test::scratchDirectory("host");
    vireo_test::writeFile(dir + "/m.vireo", "b 1 CALENDAR\np 1 2023 1 1 0 2 1\n");
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    // Before the model, after it, a lone '-' and a long option alike.
    for (const std::string option : {"-x", "--verbose", "-", "-k"}) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{option, "m.vireo"}, {"m.vireo", option}}) {
            const auto r = runVireo(args, o);
            EXPECT_EQ(r.codes(), std::vector<int>{304034}) << option;
            EXPECT_EQ(r.first(304034)["s0"], option);
            EXPECT_EQ(r.exitStatus, 1) << option;
        }
    }
    // The known letters still take any tail and either case.
    EXPECT_EQ(runVireo({"-Syntax", "m.vireo"}, o).exitStatus, 0);
}

TEST(Host, StartUpCallsInTheirOrder) {
    // A model of a type the engine refuses: the start-up and the registry's calls alone.
    const std::string dir = vireo_test::scratchDirectory("host");
    vireo_test::writeFile(dir + "/model.txt", "");
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    const auto r = runVireo({"-j", "model.txt"}, o);
    EXPECT_EQ(r.exitStatus, 1);
    // Without the bridge library the run goes on without the editor, and says so.
    EXPECT_EQ(r.codes(), (std::vector<int>{204902, 304026, 304027, 4007, 4004}));
    std::vector<std::string> heads;
    for (const auto& t : r.trace)
        if (t.isCall()) heads.push_back(t.line);
    EXPECT_EQ(heads, (std::vector<std::string>{"@set_working_directory\t" + dir, "@getjavaflag\t1", "@os0ltxt\thost",
                                               "@get_paths\t9", "@get_paths\t10", "@get_paths\t11", "@getpref\t1",
                                               "@get_paths\t6", "@get_paths\t10"}));  // the block directories
    EXPECT_EQ(r.first(204902)["s0"].substr(r.first(204902)["s0"].rfind('/')), "/libVireoBridge.so");

    // Another library under the bridge's name, which has none of its functions: said too.
    std::filesystem::copy_file(vireo_test::buildDir() + "/lib/libVireoUB.so", dir + "/libVireoBridge.so");
    const auto other = runVireo({"-j", "model.txt"}, o);
    ASSERT_EQ(other.codes(), (std::vector<int>{204902, 304026, 304027, 4007, 4004}));
    EXPECT_EQ(other.first(204902)["s0"], dir + "/libVireoBridge.so");
    EXPECT_NE(other.first(204902)["s1"].find("none of the functions"), std::string::npos);
}

TEST(Host, ModelFileOfAnotherTypeIsRefused) {
    const std::string dir = vireo_test::scratchDirectory("host");
    vireo_test::writeFile(dir + "/model.txt", "");
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    const auto r = runVireo({"model.txt"}, o);
    EXPECT_EQ(r.codes(), (std::vector<int>{304026, 304027, 4007, 4004}));
    EXPECT_EQ(r.trace[r.trace.size() - 3]["s0"], ".vireo and .plumo");
    EXPECT_EQ(r.trace[r.trace.size() - 2]["i1"], "2");  // the refusal is counted, not hidden
    EXPECT_EQ(r.exitStatus, 1);  // errors were reported: scripts can tell
}

TEST(Host, CompilingNoticeAndItsSuppression) {
    const std::string dir = vireo_test::scratchDirectory("host");
    vireo_test::writeFile(dir + "/sub/m.vireo", "");
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    const auto r = runVireo({"sub/m.vireo"}, o);
    ASSERT_FALSE(r.codes().empty());
    EXPECT_EQ(r.codes().front(), 4001);
    const auto& first = r.trace[r.trace.size() - r.codes().size()];
    EXPECT_EQ(first["s0"], "m.vireo");
    const auto wd = vireo_test::callsOf(r.trace, "set_working_directory");
    ASSERT_EQ(wd.size(), 1u);
    EXPECT_EQ(wd[0]["1"], dir + "/sub");

    const auto quiet = runVireo({"-c", "sub/m.vireo"}, o);
    for (int code : quiet.codes()) EXPECT_NE(code, 4001);
}

TEST(Host, BlockListWinsOverComponentList) {
    const auto r = runVireo({"-v", "-b", "missing.vireo"});
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out.rfind("\nInstalled Vireo blocks [", 0), 0u);
    EXPECT_EQ(r.codes(), std::vector<int>{});  // the model is not compiled

    const auto v = runVireo({"-v", "missing.vireo"});
    EXPECT_EQ(v.out.rfind("\nThis is VIREO 8.3.0-beta 64 bit \n\nInstalled Vireo components\n\n", 0), 0u);
}

TEST(Host, OutputThatCannotBeWrittenIsAFailure) {
    // The block list is all output: on a full disk nothing of it arrives.
    vireo_test::RunOptions o;
    o.standardOutput = "/dev/full";
    const auto r = runVireo({"-b"}, o);
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err, "");
    EXPECT_EQ(runVireo({"-b"}).exitStatus, 0);
}

TEST(Host, AStandardStreamClosedAtTheStartLendsItsNumberToNoFile) {
    // `vireo m.vireo >&-`: the result file opened during the run must not take the place
    // of standard output and, with it, the run's messages. Without standard output the run
    // is one whose output could not be written.
    const std::string dir = vireo_test::scratchDirectory("host");
    vireo_test::writeFile(dir + "/m.vireo", "b 1 CALENDAR\np 1 2023 1 1 0 300 1\nb 2 CSVOUT 1.6\np 2 'rows.csv'\n");
    std::string rows = "in1\n";
    for (int k = 1; k <= 300; ++k) rows += std::to_string(k) + "\n";
    struct Case {
        std::vector<int> closed;
        int exitStatus;
        bool saysSo;  // the line on standard error
    };
    const Case cases[] = {{{1}, 1, true}, {{1, 2}, 1, false}, {{0, 1, 2}, 1, false}, {{0, 2}, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.closed));
        vireo_test::RunOptions o;
        o.workingDirectory = dir;
        o.closedStreams = c.closed;
        const auto r = runVireo({"m.vireo"}, o);
        EXPECT_EQ(r.exitStatus, c.exitStatus);
        EXPECT_EQ(r.err.find("writing to standard output failed") != std::string::npos, c.saysSo) << r.err;
        EXPECT_EQ(vireo_test::readFile(dir + "/rows.csv"), rows);
        EXPECT_EQ(r.codes().back(), 4999);  // the trace has the whole run
    }
}

TEST(Host, NoBlockWritesTheFileTheMessagesGoTo) {
    // `vireo m.vireo > out.csv`, or the message trace, with CSVOUT naming the same file:
    // the block is refused at initialisation and the run does not start; the file holds
    // the messages only, never a row.
    struct Case {
        const char* what;
        std::string name;  // as CSVOUT names it
        bool trace;        // the message trace, else standard output
    };
    const Case cases[] = {{"standard output", "out.csv", false},
                          {"standard output", "./sub/../out.csv", false},
                          {"the message trace (VIREO_MSG_TRACE)", "out.csv", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + (c.trace ? " as the trace" : ""));
        const std::string dir = vireo_test::scratchDirectory("host");
        std::filesystem::create_directories(dir + "/sub");
        vireo_test::writeFile(dir + "/m.vireo",
                              "b 1 CALENDAR\np 1 2023 1 1 0 30 1\nb 2 CSVOUT 1.6\np 2 '" + c.name + "'\n");
        const std::string file = dir + "/out.csv";
        vireo_test::writeFile(file, "");
        vireo_test::RunOptions o;
        o.workingDirectory = dir;
        if (c.trace) o.env = {{"VIREO_MSG_TRACE", file}};
        else o.standardOutput = file;
        const auto r = runVireo({"m.vireo"}, o);
        EXPECT_EQ(r.exitStatus, 1);
        const auto trace = c.trace ? vireo_test::readTrace(file) : r.trace;
        const auto codes = vireo_test::codesOf(trace);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), 4051), 0);  // the run did not start
        const auto refused = std::find_if(trace.begin(), trace.end(), [](const auto& t) { return t.code() == 305943; });
        ASSERT_NE(refused, trace.end());
        EXPECT_EQ((*refused)["i3"], "2");
        EXPECT_EQ((*refused)["s2"], c.what);
        EXPECT_EQ(vireo_test::readFile(file).find("in1\n"), std::string::npos);
    }
}
