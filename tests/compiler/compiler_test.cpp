// Constants, block limits, input references and the model printout (-m), through the
// real host.
#include "model_run.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

using vireo_test::runModel;
using Codes = std::vector<int>;

namespace {

std::vector<vireo_test::TraceRecord> withCode(const vireo_test::ModelRun& run, int code) {
    std::vector<vireo_test::TraceRecord> out;
    for (const auto& m : run.messages())
        if (m.code() == code) out.push_back(m);
    return out;
}

// A real parameter's line: four blanks and the value right-aligned in 17 characters.
std::string real(const std::string& value) { return "    " + std::string(17 - value.size(), ' ') + value + "\n"; }

}  // namespace

TEST(Constants, DefinedOnceAndSeenByEveryReferenceWhereverItStands) {
    const auto run = runModel(
        "c PI 3.14159\n"
        "c SITE 'north'\n"
        "c, E: 2.5\n"
        "c A 1\n"
        "c A 2\n"
        "c K 'x'\n"
        "c K 3\n"
        "p 1 PI SITE E A K\n"
        "p 2 L U\n"
        "c L 7\n"
        "b 1 add\n"
        "b 2 add\n",
        {"-m"});
    EXPECT_EQ(run.codes(), (Codes{4001, 204024, 204024, 304023, 5312, 4030, 4030, 4030, 4030, 4030, 4030, 4030,
                                  4030, 4030, 4030, 4030, 4999}));
    const auto redefined = withCode(run, 204024);
    EXPECT_EQ(redefined[0]["s0"], "A");
    EXPECT_EQ(redefined[1]["s0"], "K");
    // A constant that is never defined: the block keeps the reference, shown as empty.
    EXPECT_EQ(run.first(304023)["s0"], "U");
    EXPECT_EQ(run.first(304023)["i1"], "2");
    EXPECT_EQ(run.whereOf(304023)["s0"], run.modelName);
    EXPECT_EQ(run.whereOf(304023)["i1"], "9");  // the p statement's line, not the model's end
    EXPECT_EQ(run.result.out.substr(run.result.out.find("b 1 ADD")),
              "b 1 ADD\n"
              "p 1\n" +
                  real("3.14159") +
                  "    'north'\n" +
                  real("2.5") + real("1") +
                  "    'x'\n"
                  "b 2 ADD\n"
                  "p 2\n" +
                  real("7") +
                  "    !!!Empty!!!\n"
                  "Bye\n");
}

TEST(BlockLimits, InputsParametersAndTextsAgainstTheBlockIdentityWithCountsAndPlace) {
    const auto run = runModel(
        "c TX 'a'\n"
        "b\n"
        "1 limits\n"
        "b 2 limits 1.1\n"
        "   1.1 1.1\n"
        "p 2 1 2 3 'a' 'b'\n"
        "b 3 limits 1.1\n"
        "p 3 1 TX\n");
    EXPECT_EQ(run.codes(), (Codes{4001, 304013, 5312, 304016, 5312, 304018, 5312, 304014, 5312, 304017, 5312, 304019,
                                  5312, 4007, 4004}));
    // Each names the block, the count given and the bound it missed, and is followed by
    // the place of the block's statement (the line of its keyword).
    const std::vector<std::vector<std::string>> expected{
        {"304013", "1", "0", "1", "2"}, {"304016", "1", "0", "1", "2"}, {"304018", "1", "0", "1", "2"},
        {"304014", "2", "3", "2", "4"}, {"304017", "2", "3", "2", "4"}, {"304019", "2", "2", "1", "4"}};
    const auto m = run.messages();
    std::vector<std::vector<std::string>> seen;
    for (std::size_t k = 0; k + 1 < m.size(); ++k) {
        if (m[k].code() < 304013 || m[k].code() > 304019) continue;
        EXPECT_EQ(m[k]["s0"], "LIMITS");
        EXPECT_EQ(m[k + 1]["s0"], run.modelName);
        seen.push_back({m[k].head, m[k]["i1"], m[k]["i2"], m[k]["i3"], m[k + 1]["i1"]});
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(run.first(4007)["i1"], "6");
}

TEST(BlockLimits, ATextLongerThanItsRowIsRefused) {
    const std::string fits(1024, 'x'), tooLong(1025, 'y');
    const auto ok = runModel("b 1 add\np 1 '" + fits + "'\n");
    EXPECT_EQ(ok.first(304031).head, "");
    const auto run = runModel("c T '" + tooLong + "'\nb 1 add\np 1 1 'ok' T\n");
    EXPECT_EQ(run.codes(), (Codes{4001, 304031, 5312, 4007, 4004}));
    const auto m = run.first(304031);
    EXPECT_EQ(m["s0"], "ADD");
    EXPECT_EQ(m["i1"], "1");
    EXPECT_EQ(m["i2"], "3");
    EXPECT_EQ(m["i3"], "1025");
    EXPECT_EQ(run.whereOf(304031)["i1"], "2");
}

TEST(InputReferences, EveryFaultyReferenceIsReportedInOneRunWithItsPlace) {
    const auto run = runModel(
        "b 1 add\n"
        "b 2 add 7.1 1.3 1.2 -0.3\n"
        "b 3 const\n"
        "i 'more.inc'\n",
        {}, {{"more.inc", "\n\nb 4 add 3.2 3.1\n"}});
    EXPECT_EQ(run.codes(), (Codes{4001, 304021, 5312, 304022, 5312, 304021, 5312, 304022, 5312, 4007, 4004}));
    const auto missing = withCode(run, 304021);
    EXPECT_EQ(missing[0]["i1"], "2");
    EXPECT_EQ(missing[0]["i2"], "7");
    EXPECT_EQ(missing[1]["i2"], "0");  // -0.3 names block 0, not negated
    const auto beyond = withCode(run, 304022);
    EXPECT_EQ(beyond[0]["i1"], "2");
    EXPECT_EQ(beyond[0]["i2"], "1");
    EXPECT_EQ(beyond[0]["i3"], "3");
    EXPECT_EQ(beyond[0]["i4"], "2");  // the outputs block 1 has
    EXPECT_EQ(beyond[1]["i1"], "4");
    EXPECT_EQ(beyond[1]["i2"], "3");
    EXPECT_EQ(beyond[1]["i3"], "2");
    EXPECT_EQ(beyond[1]["i4"], "1");
    const auto places = withCode(run, 5312);
    EXPECT_EQ(places[0]["s0"], run.modelName);  // as the user wrote it
    EXPECT_EQ(places[0]["i1"], "2");
    // A block placed by an included file is named by that file and its line there.
    EXPECT_EQ(places[3]["s0"], "more.inc");
    EXPECT_EQ(places[3]["i1"], "3");
}

TEST(InputReferences, NoCheckAfterAParseThatCountedErrors) {
    const auto run = runModel("b 1 add 9.1\nb 1 add\n");
    EXPECT_EQ(run.codes(), (Codes{4001, 304011, 5312, 4007, 4004}));
}

TEST(ModelPrintout, ShowsEveryBlockAsTheModelGaveIt) {
    const auto run = runModel(
        "% every kind of value, and a line longer than a message line\n"
        "c NAME 'site'\n"
        "b 3 add\n"
        "b 7 Sum 7 7.2 7.0 7. -7.2 +7.2 3.02 -3\n"
        "p 7 1234567 12345678 -0.5 NAME 'it''s'\n"
        "b 1 timer\n"
        "p 1 8760\n"
        "b 2 loop 1\n"
        "b 5 delay 2\n"
        "b 1234 add -1234.2 -1234.2 -1234.2 -1234.2 -1234.2 -1234.2 -1234.2 -1234.2\n"
        "p 3 1e-5 1E5 .25\n",
        {"-m", "-c"});
    // The last block's line has 91 characters: it goes out as lines of 78 and 13.
    EXPECT_EQ(run.result.out,
              "b 3 ADD\n"
              "p 3\n" +
                  real("1e-05") + real("100000") + real("0.25") +
                  "b 7 SUM  7.1 7.2 7.1 7.1 (-)7.2 7.2 3.2 (-)3.1\n"
                  "p 7\n" +
                  real("1234567") + real("1.234568e+07") + real("-0.5") +
                  "    'site'\n"
                  "    'it's'\n"
                  "b 1 TIMER\n"
                  "p 1\n" +
                  real("8760") +
                  "b 2 LOOP  1.1\n"
                  "b 5 DELAY  2.1\n"
                  "b 1234 ADD  (-)1234.2 (-)1234.2 (-)1234.2 (-)1234.2 (-)1234.2 (-)1234.2 (-)123\n"
                  "4.2 (-)1234.2\n"
                  "Bye\n");
    EXPECT_EQ(run.result.exitStatus, 0);
}

TEST(ModelPrintout, IsShownWhateverTheErrorsAndNothingIsChecked) {
    // Unbound references show the block number written in them.
    const auto run = runModel("b 1 add 9.1\nb 1 add\nb 2 limits -9.3\n", {"-m", "-c"});
    EXPECT_EQ(run.codes(), (Codes{304011, 5312, 4030, 4030, 4999}));
    EXPECT_EQ(run.result.out.substr(run.result.out.find("b 1")), "b 1 ADD  9.1\nb 2 LIMITS  (-)9.3\nBye\n");
    EXPECT_TRUE(run.probeLog.empty());  // no block was initialised
}

TEST(Driver, CompileErrorsAndWarningsAreSummedUpAndTheRunEnds) {
    const auto run = runModel("c A 1\nc A 2\nb 1 add 5.1\nb 2 nothing\nb 3 add\n");
    EXPECT_EQ(run.codes(), (Codes{4001, 204024, 304012, 5312, 4007, 4004}));
    EXPECT_EQ(run.first(4007)["i1"], "1");
    EXPECT_EQ(run.first(4007)["i2"], "1");
    EXPECT_EQ(run.result.exitStatus, 1);
    EXPECT_TRUE(run.probeLog.empty());
}

TEST(EditorBridge, MarksEveryBlockThatFailsALimitOrItsInitialisation) {
    // The engine looks for the bridge in the directory it was started in.
    const std::string dir = vireo_test::scratchDirectory("bridge");
    std::filesystem::copy_file(MARK_BRIDGE, dir + "/libVireoBridge.so");
    std::filesystem::create_directories(dir + "/none");
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    o.env = {{"VIREO_HOME", MODEL_BLOCKS_DIR}, {"VIREO_USER_BLOCKS", dir + "/none"},
             {"VIREO_BRIDGE_LOG", dir + "/marks.log"}};

    vireo_test::writeFile(dir + "/limits.vireo", "b 1 limits\nb 2 limits 1.1\np 2 1 'a'\nb 3 add\np 3 '" +
                                                     std::string(1100, 'x') + "'\n");
    const auto limits = vireo_test::runVireo({"limits.vireo", "-j"}, o);
    EXPECT_EQ(limits.codes(), (Codes{4001, 304013, 5312, 304016, 5312, 304018, 5312, 304031, 5312, 4007, 4004}));
    EXPECT_EQ(vireo_test::readFile(dir + "/marks.log"), "mark 1\nmark 1\nmark 1\nmark 3\n");

    std::filesystem::remove(dir + "/marks.log");
    vireo_test::writeFile(dir + "/init.vireo", "b 1 warninit\nb 2 failinit\n");
    const auto init = vireo_test::runVireo({"init.vireo", "-j", "-s"}, o);
    // Under -j the host runs with flag 2, which the closing message reports as 4005.
    EXPECT_EQ(init.codes(), (Codes{4001, 209901, 309901, 4007, 4005, 4999}));
    EXPECT_EQ(vireo_test::readFile(dir + "/marks.log"), "mark 2\n");

    // Without -j the bridge is not opened.
    std::filesystem::remove(dir + "/marks.log");
    vireo_test::runVireo({"init.vireo", "-s"}, o);
    EXPECT_FALSE(std::filesystem::exists(dir + "/marks.log"));
}

TEST(BlockLimits, TooFewAndTooManyInputsAtTheirBoundaries) {
    // PAIR takes two or three inputs.
    const auto run = runModel("b 1 const\nb 2 pair 1\nb 3 pair 1 1\nb 4 pair 1 1 1\nb 5 pair 1 1 1 1\n");
    EXPECT_EQ(run.codes(), (Codes{4001, 304013, 5312, 304014, 5312, 4007, 4004}));
    EXPECT_EQ(run.first(304013)["i1"], "2");
    EXPECT_EQ(run.first(304014)["i1"], "5");
}

TEST(ModelFile, NamedInMessagesAsTheUserWroteIt) {
    // The model lies in a folder below the start directory; the working directory becomes
    // the model's own, but the messages name it as given.
    const std::string dir = vireo_test::scratchDirectory("named");
    std::filesystem::create_directories(dir + "/sub");
    std::filesystem::create_directories(dir + "/none");
    std::filesystem::create_directories(dir + "/include");
    vireo_test::writeFile(dir + "/sub/m.vireo", "b 1 add\nb 2 nothing\n");
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    o.env = {{"VIREO_HOME", MODEL_BLOCKS_DIR}, {"VIREO_USER_BLOCKS", dir + "/none"},
             {"VIREO_INCLUDE_DIR", dir + "/include"}};
    const auto run = vireo_test::runVireo({"sub/m.vireo"}, o);
    ASSERT_EQ(run.codes(), (Codes{4001, 304012, 5312, 4007, 4004}));
    // A block not found names the folders the block libraries were read from.
    EXPECT_EQ(run.first(304012)["s1"], std::string(MODEL_BLOCKS_DIR) + "/");
    EXPECT_EQ(run.first(304012)["s2"], dir + "/none/");

    // A user block folder that does not exist is made, and the user is told: the blocks
    // expected from it cannot be there.
    o.env[1].second = dir + "/mistyped";
    const auto mistyped = vireo_test::runVireo({"sub/m.vireo"}, o);
    ASSERT_EQ(mistyped.codes(), (Codes{104901, 4001, 304012, 5312, 4007, 4004}));
    EXPECT_EQ(mistyped.first(104901)["s0"], dir + "/mistyped/");
    EXPECT_TRUE(std::filesystem::is_directory(dir + "/mistyped"));
    // A relative folder is taken in the model's directory, and named whole where it was
    // made and read: the user, in another directory, learns where it is.
    o.env[1].second = "relative";
    const auto relative = vireo_test::runVireo({"sub/m.vireo"}, o);
    ASSERT_EQ(relative.codes(), (Codes{104901, 4001, 304012, 5312, 4007, 4004}));
    EXPECT_EQ(relative.first(104901)["s0"], dir + "/sub/relative/");
    EXPECT_EQ(relative.first(304012)["s2"], dir + "/sub/relative/");
    EXPECT_TRUE(std::filesystem::is_directory(dir + "/sub/relative"));
    for (const auto& m : run.trace) {
        if (m.code() != 5312) continue;
        EXPECT_EQ(m["s0"], "sub/m.vireo");
    }

    // A missing model: one error naming it as given, and both places looked in.
    const auto missing = vireo_test::runVireo({"sub/gone.vireo"}, o);
    std::vector<std::string> named;
    for (const auto& m : missing.trace)
        if (m.code() == 305310) named.push_back(m["s0"]);
    EXPECT_EQ(named, (std::vector<std::string>{"sub/gone.vireo"}));
    EXPECT_EQ(missing.exitStatus, 1);

    // An absolute name is never put behind the include directory.
    const auto absolute = vireo_test::runVireo({dir + "/sub/gone.vireo"}, o);
    named.clear();
    for (const auto& m : absolute.trace)
        if (m.code() == 305310) named.push_back(m["s0"]);
    EXPECT_EQ(named, (std::vector<std::string>{dir + "/sub/gone.vireo"}));
}

TEST(ModelFile, OnlyARegularFileIsReadAsAModel) {
    // A device would be read for ever, and a pipe's opening would wait for a writer: each
    // is a file that cannot be opened, as a model and as an include alike.
    const std::string dir = vireo_test::scratchDirectory("devices");
    ASSERT_EQ(mkfifo((dir + "/pipe.vireo").c_str(), 0600), 0);
    vireo_test::ModelRunOptions o;
    o.timeoutSeconds = 20;
    const auto device = runModel("b 1 add\ni '/dev/zero'\n", {}, {}, "m.vireo", o);
    EXPECT_EQ(device.codes(), (Codes{4001, 305310, 5312, 4007, 4004}));
    EXPECT_EQ(device.first(305310)["s0"], "/dev/zero");
    EXPECT_EQ(device.result.exitStatus, 1);

    const auto pipe = runModel("b 1 add\ni '" + dir + "/pipe.vireo'\n", {}, {}, "m.vireo", o);
    EXPECT_EQ(pipe.codes(), (Codes{4001, 305310, 5312, 4007, 4004}));

    vireo_test::RunOptions r;
    r.workingDirectory = dir;
    r.timeoutSeconds = 20;
    r.env = {{"VIREO_HOME", MODEL_BLOCKS_DIR}, {"VIREO_USER_BLOCKS", dir}};
    const auto model = vireo_test::runVireo({"pipe.vireo"}, r);
    EXPECT_EQ(model.codes(), (Codes{4001, 305310, 4007, 4004}));
    EXPECT_EQ(model.exitStatus, 1);
}
