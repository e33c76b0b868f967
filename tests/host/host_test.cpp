// The host program and the engine's entry point, run as a user runs them.
#include "run_vireo.h"

#include <gtest/gtest.h>

using vireo_test::runVireo;

TEST(Host, UsageTextWithoutArguments) {
    const auto r = runVireo({});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out,
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
              "      -b  Display available blocks\n"
              "      -v  Display vireo components with base commit\n");
    EXPECT_TRUE(r.trace.empty());  // no configuration, no start-up calls
}

TEST(Host, StartUpCallsInTheirOrder) {
    const auto r = runVireo({"-j", "-x"});
    EXPECT_EQ(r.exitStatus, 0);
    std::vector<std::string> heads;
    for (const auto& t : r.trace) heads.push_back(t.line);
    EXPECT_EQ(heads, (std::vector<std::string>{"@getjavaflag\t1", "@os0ltxt\thost", "@get_paths\t9",
                                               "@get_paths\t10", "@get_paths\t11", "@getpref\t1",
                                               "@get_paths\t6", "@get_paths\t10"}));  // the block directories
    EXPECT_EQ(r.out, "");  // options without a model file: nothing compiled, nothing said
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
