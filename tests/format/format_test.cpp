// Parsing formats, and the utility library's check of a user's read format.
#include "vireo/format/Format.h"
#include "vireo_tools.h"

#include <gtest/gtest.h>

#include <string>

using namespace vireo::format;

namespace {

long faultColumn(std::string_view text) {
    const Format f(text);
    return f.status().ok() ? 0 : f.status().where;
}

int ckformOf(std::string text, size_t row = 1024) {
    text.resize(row, ' ');
    int status = -1;
    ckform(text.data(), &status, text.size());
    return status;
}

}  // namespace

TEST(FormatParse, DescriptorsCountsAndBlanks) {
    const Format f("(A20,1X,I4,2F7.2,A1)");
    ASSERT_TRUE(f.status().ok());
    const auto& n = f.nodes();
    ASSERT_EQ(n.size(), 7u);
    EXPECT_EQ(n[1].kind, Kind::text);
    EXPECT_EQ(n[1].width, 20);
    EXPECT_EQ(n[2].kind, Kind::skip);
    EXPECT_EQ(n[2].width, 1);
    EXPECT_EQ(n[2].repeat, 1);  // 1X is a move of one column, not a repeat
    EXPECT_EQ(n[4].kind, Kind::fixed);
    EXPECT_EQ(n[4].repeat, 2);
    EXPECT_EQ(n[4].width, 7);
    EXPECT_EQ(n[4].digits, 2);

    // Blanks do not count outside quotes, and case does not matter.
    const Format spaced(" ( 2 f 1 0 . 3 , 1 0X , i5.3 ,a ) ");
    ASSERT_TRUE(spaced.status().ok());
    EXPECT_EQ(spaced.nodes()[1].repeat, 2);
    EXPECT_EQ(spaced.nodes()[1].width, 10);
    EXPECT_EQ(spaced.nodes()[1].digits, 3);
    EXPECT_EQ(spaced.nodes()[2].width, 10);
    EXPECT_TRUE(spaced.nodes()[3].hasDigits);
    EXPECT_FALSE(spaced.nodes()[4].hasWidth);

    EXPECT_TRUE(Format("(/2X,A18,A6,2X,A6,D25.17)").status().ok());
    EXPECT_TRUE(Format("(X,2/,'a''b')").status().ok());
    EXPECT_TRUE(Format("()").status().ok());
    EXPECT_TRUE(Format(" * ").listDirected());
    // Reversion goes to the last group opening at the outer level.
    EXPECT_EQ(Format("(I2,2(I3,(I4)),I5)").reversionPoint(), 2u);
    EXPECT_EQ(Format("(I2,I3)").reversionPoint(), 1u);
}

TEST(FormatParse, FaultsNameTheirColumn) {
    EXPECT_EQ(faultColumn("I3"), 1);
    EXPECT_EQ(faultColumn(""), 1);
    EXPECT_EQ(faultColumn("(I3"), 4);
    EXPECT_EQ(faultColumn("(F5)"), 4);         // F needs its decimals
    EXPECT_EQ(faultColumn("(F.2)"), 3);
    EXPECT_EQ(faultColumn("(I3,)"), 5);
    EXPECT_EQ(faultColumn("(,I3)"), 2);
    EXPECT_EQ(faultColumn("(I3,,I4)"), 5);
    EXPECT_EQ(faultColumn("(I3 I4)"), 5);      // a comma is missing
    EXPECT_EQ(faultColumn("(0I3)"), 2);
    EXPECT_EQ(faultColumn("(I0)"), 4);
    EXPECT_EQ(faultColumn("(I3.4)"), 6);       // more digits than the width
    EXPECT_EQ(faultColumn("(2'ab')"), 3);
    EXPECT_EQ(faultColumn("('ab)"), 2);
    EXPECT_EQ(faultColumn("(I3) x"), 6);       // nothing may follow
    EXPECT_EQ(faultColumn("(G10.3)"), 2);
    EXPECT_EQ(faultColumn("(3P,F5.1)"), 3);
    EXPECT_EQ(faultColumn("(I3,())"), 6);      // an empty group
    EXPECT_EQ(faultColumn("(A.3)"), 3);
    EXPECT_EQ(faultColumn("(2X3)"), 4);
    EXPECT_EQ(faultColumn("(32768X)"), 2);
    EXPECT_EQ(faultColumn("(I32768)"), 8);
    EXPECT_EQ(faultColumn("(" + std::string(16, '(') + "I1" + std::string(17, ')')), 17);
    EXPECT_EQ(faultColumn("(" + std::string(15, '(') + "I1" + std::string(16, ')')), 0);
}

TEST(Ckform, AcceptsReadFormatsAndListDirected) {
    EXPECT_EQ(ckformOf("*"), 0);
    EXPECT_EQ(ckformOf("   *"), 0);
    EXPECT_EQ(ckformOf("(2F10.0)"), 0);
    EXPECT_EQ(ckformOf("(1X,F5.0,F6.1)"), 0);
    EXPECT_EQ(ckformOf("  (f8.2, 2x, f8.2)"), 0);
    EXPECT_EQ(ckformOf("(I4,/,2(E12.4,1X))"), 0);
    EXPECT_EQ(ckformOf("(A)"), 0);
    // A C text ends at its NUL.
    const char row[] = "(F5.0)\0garbage";
    int status = -1;
    ckform(row, &status, sizeof row);
    EXPECT_EQ(status, 0);
}

TEST(Ckform, RefusesWithTheColumnOfTheFault) {
    EXPECT_EQ(ckformOf(""), 1);
    EXPECT_EQ(ckformOf("F5.0"), 1);
    EXPECT_EQ(ckformOf("(F5.0"), 6);
    EXPECT_EQ(ckformOf("('a',F5.0)"), 2);  // nothing to compare a text with on input
    EXPECT_NE(ckformOf("(1X)"), 0);        // reads no value
    EXPECT_EQ(ckformOf("**"), 1);
    EXPECT_EQ(ckformOf("(F5.0,G8.1)"), 7);
    int status = -1;
    ckform(nullptr, &status, 0);
    EXPECT_NE(status, 0);
}
