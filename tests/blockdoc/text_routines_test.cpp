// The word and case routines on fixed-length texts, and the reading of numeric labels.
#include "sections.h"
#include "text_routines.h"

#include <gtest/gtest.h>

#include <string>

using namespace blockdoc;

TEST(TextRoutines, StripModesPadWithBlanksWhateverTheSet) {
    const std::string in = "   abc  ";
    std::string out(8, '?');
    int len = -1, status = -1;
    strip(in, ' ', 0, out, len, status);
    EXPECT_EQ(out, "abc     ");
    EXPECT_EQ(len, 3);
    EXPECT_EQ(status, 0);
    strip(in, ' ', 1, out, len, status);
    EXPECT_EQ(out, "abc     ");
    EXPECT_EQ(len, 5);  // trailing blanks are counted
    strip(in, ' ', 2, out, len, status);
    EXPECT_EQ(out, "   abc  ");
    EXPECT_EQ(len, 6);

    std::string same = "xxabxx";  // in and out the same text
    strip(same, 'x', 0, same, len, status);
    EXPECT_EQ(same, "ab    ");
    EXPECT_EQ(len, 2);

    std::string only = "xxx";
    strip(only, 'x', 2, only, len, status);
    EXPECT_EQ(only, "   ");
    EXPECT_EQ(len, 0);
}

TEST(TextRoutines, MisuseIsReportedThroughStatusAndChangesNothing) {
    std::string out = "unchanged";
    int len = 0, status = 0;
    strip("abc", ' ', 0, out, len, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out, "unchanged");
    std::string same(9, ' ');
    strip(out, ' ', 3, same, len, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(same, std::string(9, ' '));
    uc2lc("ABC", out, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out, "unchanged");
    std::string in = "a b";
    substr(1, in, out, len, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out, "unchanged");
}

TEST(TextRoutines, Uc2lcTouchesOnlyTheBasicLetters) {
    std::string text = "HXC_2 \xC3\x84Z@[";
    int status = -1;
    uc2lc(text, text, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(text, "hxc_2 \xC3\x84z@[");
}

TEST(TextRoutines, SubstrWalksBlankSeparatedWordsAndLeftJustifiesItsInput) {
    std::string line = "   #Layout   HXC  ";
    std::string out(line.size(), '?');
    int len = -1, status = -1;
    substr(2, line, out, len, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(len, 3);
    EXPECT_EQ(out, "HXC" + std::string(15, ' '));
    EXPECT_EQ(line, "#Layout   HXC     ");
    substr(3, line, out, len, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(out, std::string(18, ' '));
    substr(0, line, out, len, status);
    EXPECT_EQ(status, 2);

    std::string blank(5, ' ');
    std::string word(5, '?');
    substr(1, blank, word, len, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(word, std::string(5, ' '));

    std::string full = "abcde";  // a word filling the whole text has no blank after it
    substr(1, full, word, len, status);
    EXPECT_EQ(word, "abcde");
    EXPECT_EQ(len, 5);
    substr(2, full, word, len, status);
    EXPECT_EQ(status, 2);

    std::string tabbed = "a\tb c";  // a tab is no separator
    std::string w(5, ' ');
    substr(1, tabbed, w, len, status);
    EXPECT_EQ(w.substr(0, static_cast<std::size_t>(len)), "a\tb");
}

TEST(TextRoutines, DigitsCountsUpToTheFirstClosingParenthesis) {
    int count = -1;
    digits("12)", 3, count);
    EXPECT_EQ(count, 2);
    digits("123", 3, count);
    EXPECT_EQ(count, 0);
    digits("12)", 2, count);  // the parenthesis lies beyond the characters looked at
    EXPECT_EQ(count, 0);
    digits("1)", 40, count);
    EXPECT_EQ(count, 1);
}

TEST(TextRoutines, LabelNumbersReadLikeAnIntegerFieldWithoutCuttingDigits) {
    long v = -7;
    EXPECT_TRUE(readLabelNumber("", v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(readLabelNumber("   ", v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(readLabelNumber(" 1 2 ", v));
    EXPECT_EQ(v, 12);
    EXPECT_TRUE(readLabelNumber("-4", v));
    EXPECT_EQ(v, -4);
    EXPECT_TRUE(readLabelNumber("+4", v));
    EXPECT_EQ(v, 4);
    EXPECT_TRUE(readLabelNumber("123456", v));  // a five-column field would have read 12345
    EXPECT_EQ(v, 123456);
    for (const char* label : {"N", "-", "1 or 2", "1e2", "\t1", "1234567890"}) EXPECT_FALSE(readLabelNumber(label, v)) << label;
}
