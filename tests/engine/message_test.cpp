#include "RootClass.h"
#include "String.h"
#include "run_vireo.h"
#include "trace.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

// Messages go to the utility library; the trace file shows what it received.
class Messages : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = vireo_test::scratchDirectory("messages") + "/trace.txt";
        setenv("VIREO_MSG_TRACE", path_.c_str(), 1);
        RootClass::_errors = RootClass::_warnings = 0;
    }
    void TearDown() override { unsetenv("VIREO_MSG_TRACE"); }
    std::vector<vireo_test::TraceRecord> trace() const { return vireo_test::readTrace(path_); }

    RootClass root;
    std::string path_;
};

}  // namespace

TEST_F(Messages, CountsBySeverity) {
    root.vireoMessage(299999);
    root.vireoMessage(300000);
    root.vireoMessage(199999);
    root.vireoMessage(400504);
    root.vireoMessage(4007, 1, 2);
    EXPECT_EQ(RootClass::_warnings, 1);
    EXPECT_EQ(RootClass::_errors, 2);
    EXPECT_EQ(vireo_test::codesOf(trace()), (std::vector<int>{299999, 300000, 199999, 400504, 4007}));
    EXPECT_EQ(trace().back()["i1"], "1");
    EXPECT_EQ(trace().back()["i2"], "2");
}

TEST_F(Messages, SlotsKeepWhatEarlierMessagesLeft) {
    root.vireoMessage(304047, String("FIRST"), String("SECOND"), 1, 2);
    root.vireoMessage(304012, String("ONLY"), 7);
    EXPECT_EQ(std::string(RootClass::sarr[1], 6), "SECOND");
    EXPECT_EQ(RootClass::sarr[0][4], ' ');
    EXPECT_EQ(RootClass::sarr[0][1023], ' ');
    EXPECT_EQ(RootClass::iarr[2], 2);
}

TEST_F(Messages, PrintCutsTextIntoLinesOf78) {
    const std::string t78(78, 'a'), t79(79, 'b'), t156(156, 'c');
    RootClass::print(t78.c_str());
    RootClass::print(t79.c_str());
    RootClass::print(t156.c_str());
    RootClass::print("");
    const auto tr = trace();
    ASSERT_EQ(tr.size(), 5u);
    EXPECT_EQ(tr[0]["s0"], t78);
    EXPECT_EQ(tr[1]["s0"], std::string(78, 'b'));
    EXPECT_EQ(tr[2]["s0"], "b");
    EXPECT_EQ(tr[3]["s0"], std::string(78, 'c'));
    EXPECT_EQ(tr[4]["s0"], std::string(78, 'c'));
    for (const auto& r : tr) EXPECT_EQ(r.code(), 4030);
    EXPECT_EQ(RootClass::_errors + RootClass::_warnings, 0);

    const std::string long300(300, 'x');
    RootClass::vprint("%s", long300.c_str());  // cut at 254 characters
    const auto tr2 = trace();
    EXPECT_EQ(tr2.size(), 5u + 4u);
    EXPECT_EQ(tr2.back()["s0"], std::string(254 - 3 * 78, 'x'));
}

TEST(RootClassStrip, BlankPaddedRowsBecomeTexts) {
    char row[1024];
    std::memset(row, ' ', sizeof row);
    std::memcpy(row, "SUNAE SUNAE2", 12);
    RootClass::strip(row, 1024);
    EXPECT_STREQ(row, "SUNAE SUNAE2");

    std::memset(row, 'x', sizeof row);
    RootClass::strip(row, 1024);  // the last character of a full row is dropped
    EXPECT_EQ(std::strlen(row), 1023u);

    std::memset(row, ' ', sizeof row);
    RootClass::strip(row, 1024);
    EXPECT_STREQ(row, "");

    char one[2] = "a";
    RootClass::strip(one, 1);
    EXPECT_STREQ(one, "");
    char keep[3] = "ab";
    RootClass::strip(keep, 0);
    EXPECT_STREQ(keep, "ab");
}
