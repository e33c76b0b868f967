#include "Config.h"
#include "run_vireo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Config moves the working directory; every test puts it back.
class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        start_ = fs::current_path();
        dir_ = vireo_test::scratchDirectory("config");
        fs::current_path(dir_);
        trace_ = dir_ + "/trace.txt";
        setenv("VIREO_MSG_TRACE", trace_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("VIREO_MSG_TRACE");
        fs::current_path(start_);
    }
    Config make(std::vector<std::string> args) {
        args.insert(args.begin(), "vireo");
        storage_ = std::move(args);
        argv_.clear();
        for (auto& a : storage_) argv_.push_back(a.data());
        return Config(0, &runBit_, static_cast<int>(argv_.size()), argv_.data());
    }
    std::vector<std::string> storage_;
    std::vector<char*> argv_;
    fs::path start_;
    std::string dir_, trace_;
    int runBit_ = 1;
};

}  // namespace

TEST_F(ConfigTest, OptionLettersInEitherCase) {
    {
        Config c = make({"-D"});
        EXPECT_TRUE(c.debugMode());
    }
    Config c = make({"-debug", "-X", "-", "-c", "-L", "-m", "-S", "-b", "-V"});
    EXPECT_TRUE(c.debugMode());
    EXPECT_TRUE(c.suppressCompilingM());
    EXPECT_TRUE(c.showCalculationList());
    EXPECT_TRUE(c.printModel());
    EXPECT_TRUE(c.syntaxCheck());
    EXPECT_TRUE(c.showBlockList());
    EXPECT_TRUE(c.showComponents());
    EXPECT_FALSE(c.javaMode());
    EXPECT_TRUE(c.ok());
    EXPECT_EQ(c.modelFile(), "");
    EXPECT_EQ(c.exePath(), "vireo");
    EXPECT_EQ(c.vireoVersion(), "8.3.0-beta");
}

TEST_F(ConfigTest, ModelFileNameTypeAndDirectory) {
    fs::create_directories(dir_ + "/sub");
    Config c = make({"sub/model.VIREO"});
    EXPECT_EQ(c.modelFile(), "sub/model.VIREO");
    EXPECT_EQ(c.modelFileShort(), "model.VIREO");
    EXPECT_EQ(c.modelFileType(), ".vireo");
    EXPECT_EQ(c.modelPath(), dir_ + "/sub/model.VIREO");
    EXPECT_EQ(fs::current_path(), fs::path(dir_ + "/sub"));

    Config none = make({"model"});
    EXPECT_EQ(none.modelFileType(), "");
}

TEST_F(ConfigTest, SecondModelFileIsTakenAgainstTheStartDirectory) {
    fs::create_directories(dir_ + "/a");
    fs::create_directories(dir_ + "/b");
    Config c = make({"a/one.vireo", "b/two.plumo"});
    EXPECT_EQ(c.modelFile(), "b/two.plumo");
    EXPECT_EQ(c.modelPath(), dir_ + "/b/two.plumo");
    const auto calls = vireo_test::callsOf(vireo_test::readTrace(trace_), "set_working_directory");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0]["1"], dir_ + "/a");
    EXPECT_EQ(calls[1]["1"], dir_ + "/b");
}

TEST_F(ConfigTest, JavaModeWithoutBridgeLibrary) {
    Config c = make({"-j"});
    EXPECT_TRUE(c.javaMode());
    EXPECT_EQ(c.hVireoBridge(), nullptr);
}

TEST_F(ConfigTest, RunBitIsReadAtEveryUse) {
    Config c = make({});
    EXPECT_EQ(c.runBit(), 1);
    runBit_ = -1;
    EXPECT_EQ(c.runBit(), -1);
}

TEST_F(ConfigTest, DirectoryThatCannotBeCreatedIsAMessage) {
    vireo_test::writeFile(dir_ + "/blocker", "a file where a directory should go");
    const char* old = std::getenv("VIREO_STATE_DIR");
    const std::string saved = old ? old : "";
    setenv("VIREO_STATE_DIR", (dir_ + "/blocker/state").c_str(), 1);
    Config c = make({});
    if (saved.empty()) unsetenv("VIREO_STATE_DIR");
    else setenv("VIREO_STATE_DIR", saved.c_str(), 1);
    const auto codes = vireo_test::codesOf(vireo_test::readTrace(trace_));
    EXPECT_EQ(codes, std::vector<int>{204901});
}
