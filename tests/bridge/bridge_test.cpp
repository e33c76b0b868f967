#include "run_vireo.h"
#include "vireo_bridge.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

using vireo_test::readFile;

namespace {

// The library opened the way the engine opens it, with the functions looked up by name.
struct Bridge {
    void* handle = dlopen((vireo_test::buildDir() + "/lib/libVireoBridge.so").c_str(), RTLD_LAZY | RTLD_GLOBAL);
    VireoBridgePoll poll = reinterpret_cast<VireoBridgePoll>(dlsym(handle, "getBpFromPlumo"));
    VireoBridgeMark mark = reinterpret_cast<VireoBridgeMark>(dlsym(handle, "markPlumoBlock"));
    VireoBridgeInOut update = reinterpret_cast<VireoBridgeInOut>(dlsym(handle, "updateInOut"));
    VireoBridgeInOut toEditor = reinterpret_cast<VireoBridgeInOut>(dlsym(handle, "blockToPlumo"));
    void (*reset)() = reinterpret_cast<void (*)()>(dlsym(handle, "vireoBridgeReset"));
    Bridge(const std::string& log, const std::string& script) {
        setenv("VIREO_BRIDGE_LOG", log.c_str(), 1);
        setenv("VIREO_BRIDGE_SCRIPT", script.c_str(), 1);
        reset();
    }
    ~Bridge() {
        reset();
        dlclose(handle);
    }
};

struct Answer {
    int block, index;
    float value;
    std::string text;
    bool operator==(const Answer&) const = default;
};

}  // namespace

TEST(Bridge, LogsEveryCallOnOneLine) {
    const std::string log = vireo_test::scratchDirectory("bridge") + "/log.txt";
    Bridge b(log, "");
    ASSERT_TRUE(b.poll && b.mark && b.update && b.toEditor && b.reset);
    float in[2] = {1.5f, -2.0f}, out[1] = {0.1f}, empty[1] = {};
    b.update(4, 2, in, 1, out);
    b.update(5, 0, empty, 1, out);
    b.toEditor(6, 1, in, 0, empty);
    b.mark(7);
    EXPECT_EQ(readFile(log),  // each line is there at once, before the log is closed
              "updateInOut\tblock=4\tnin=2\tin=1.5,-2\tnout=1\tout=0.1\n"
              "updateInOut\tblock=5\tnin=0\tin=\tnout=1\tout=0.1\n"
              "blockToPlumo\tblock=6\tnin=1\tin=1.5\tnout=0\tout=\n"
              "markPlumoBlock\tblock=7\n");
}

TEST(Bridge, AnswersTheScriptRoundByRound) {
    const std::string dir = vireo_test::scratchDirectory("bridge");
    const std::string name80(80, 'N');
    vireo_test::writeFile(dir + "/script.txt", "# changes\n5 2 3.5\n@3 999 1 2.0 SOLAR_CONSTANT\n@3 5 x 1\n\n"
                                               "@4 +6 1 -1e3\n6 1 0 " + name80 + "\n");
    Bridge b(dir + "/log.txt", dir + "/script.txt");
    // The engine polls after a block call until an answer holds a 0 in its pair.
    auto round = [&] {
        std::vector<Answer> answers;
        for (;;) {
            int pair[2] = {-1, -1};
            float value = -1.0f;
            char text[81];
            std::memset(text, 'x', sizeof text);
            b.poll(pair, &value, text);
            EXPECT_EQ(text[80], 'x');  // never beyond its 80 characters
            answers.push_back({pair[0], pair[1], value, std::string(text, strnlen(text, 80))});
            if (pair[0] == 0 || pair[1] == 0) return answers;
        }
    };
    const Answer none{0, 0, 0.0f, ""};
    EXPECT_EQ(round(), (std::vector<Answer>{{5, 2, 3.5f, ""}, none}));
    EXPECT_EQ(round(), std::vector<Answer>{none});
    EXPECT_EQ(round(), (std::vector<Answer>{{999, 1, 2.0f, "SOLAR_CONSTANT"}, none}));
    EXPECT_EQ(round(), (std::vector<Answer>{{6, 1, -1000.0f, ""}, {6, 1, 0.0f, name80}, none}));
    EXPECT_EQ(round(), std::vector<Answer>{none});

    const std::string log = readFile(dir + "/log.txt");
    EXPECT_NE(log.find("script\tline=4\terror=parameter index is not a whole number\n"), std::string::npos);
    EXPECT_NE(log.find("getBpFromPlumo\tround=3\tpoll=4\tblock=999\tindex=1\tvalue=2\ttext=SOLAR_CONSTANT\n"),
              std::string::npos);
    EXPECT_NE(log.find("\tpoll=9\tblock=0\tindex=0\tvalue=0\ttext=\n"), std::string::npos);

    // Without a readable script every poll answers "no change"; without a log nothing is written.
    unsetenv("VIREO_BRIDGE_LOG");
    setenv("VIREO_BRIDGE_SCRIPT", (dir + "/missing.txt").c_str(), 1);
    b.reset();
    EXPECT_EQ(round(), std::vector<Answer>{none});
    b.mark(1);
}
