#include "String.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>

TEST(String, PositionsAreOneBasedAndCutAtTheEnds) {
    const String s("abc");
    EXPECT_EQ(s[0], '\0');
    EXPECT_EQ(s[1], 'a');
    EXPECT_EQ(s[3], 'c');
    EXPECT_EQ(s[4], '\0');

    EXPECT_EQ(s.mid(3, 1), String("c"));
    EXPECT_EQ(s.mid(4, 1), String(""));
    EXPECT_EQ(s.mid(0, 2), String(""));
    EXPECT_EQ(s.mid(2, 0), String(""));
    EXPECT_EQ(s.mid(2, 100), String("bc"));
    EXPECT_EQ(s.left(0), String(""));
    EXPECT_EQ(s.right(0), String(""));
    EXPECT_EQ(s.right(100), String("abc"));
    EXPECT_EQ(s.left(2), String("ab"));
    EXPECT_EQ(s.right(2), String("bc"));
}

TEST(String, SearchesFromAPosition) {
    EXPECT_EQ(String("12.3").charPos('.', 1), 3u);
    EXPECT_EQ(String("12").charPos('.', 1), 0u);
    EXPECT_EQ(String("a.b.c").charPos('.', 3), 4u);
    EXPECT_EQ(String("a.b").charPos('.', 0), 0u);
    EXPECT_EQ(String("a.b").charPos('.', 4), 0u);
    EXPECT_EQ(String("a.b.c").charPosLast('.'), 4u);
    EXPECT_EQ(String("abc").charPosLast('.'), 0u);

    const String list("SUNAE SUNAE2 SUN");
    EXPECT_EQ(list.stringPos("SUN", 1), 1u);
    EXPECT_EQ(list.stringPos("SUN", 2), 7u);
    EXPECT_EQ(list.stringPos("SUN", 15), 0u);  // would run past the end
    EXPECT_EQ(list.stringPos("SUN", 14), 14u);
    EXPECT_EQ(list.stringPos("X", 0), 0u);
    EXPECT_TRUE(list.isSubstring("SUNAE2", 7));
    EXPECT_FALSE(list.isSubstring("SUNX", 7));
    EXPECT_FALSE(list.isSubstring("SUN", 0));
    EXPECT_FALSE(list.isSubstring("SUN", 17));
    EXPECT_FALSE(list.isSubstring("SUNS", 14));  // longer than what is left
}

TEST(String, SeparatorGoesBeforeEveryAppendedText) {
    String s;
    s += "";
    EXPECT_EQ(s.length(), 0u);
    s.concatSpace(const_cast<char*>(","));
    s += "";
    EXPECT_EQ(s, String(","));
    s += "a";
    EXPECT_EQ(s, String(",,a"));

    String t("x");
    t.concatSpace(const_cast<char*>(" "));
    t = "y";  // assignment keeps the target's separator
    t += "z";
    EXPECT_EQ(t, String("y z"));
    const String copy(t);  // a copy has none
    String c2(copy);
    c2 += "w";
    EXPECT_EQ(c2, String("y zw"));
    t.concatSpace(const_cast<char*>(""));
    t += "q";
    EXPECT_EQ(t, String("y zq"));

    String self("ab");
    self += self;
    EXPECT_EQ(self, String("abab"));
}

TEST(String, NumbersAreFormattedWithoutTheLocale) {
    // A comma locale must not change the engine's decimal point.
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_ALL, "de_DE.UTF-8");

    String s;
    s += 0;
    EXPECT_EQ(s, String("0"));
    String n;
    n += -42;
    EXPECT_EQ(n, String("-42"));

    auto real = [](float x) {
        String r;
        r += x;
        return r.str();
    };
    EXPECT_EQ(real(0.5f), std::string(14, ' ') + "0.5");
    EXPECT_EQ(real(1.5f), std::string(14, ' ') + "1.5");
    EXPECT_EQ(real(1234567.0f), std::string(10, ' ') + "1234567");
    EXPECT_EQ(real(12345678.0f), std::string(5, ' ') + "1.234568e+07");
    EXPECT_EQ(real(-0.001f), std::string(11, ' ') + "-0.001");
    EXPECT_EQ(real(1e-5f), std::string(12, ' ') + "1e-05");
    EXPECT_EQ(real(0.1f), std::string(14, ' ') + "0.1");

    // The C library's own "%17.7g" in the C locale is the reference.
    std::setlocale(LC_ALL, "C");
    for (float x : {0.0f, -0.0f, 1.0f / 3.0f, 123456.7f, 9999999.0f, 99999995.0f, 1e-30f, -3.4e38f, 0.0001f,
                    0.00001234f, 1e7f, 123.0f}) {
        char ref[32];
        std::snprintf(ref, sizeof ref, "%17.7g", static_cast<double>(x));
        EXPECT_EQ(real(x), std::string(ref)) << x;
    }
    std::setlocale(LC_ALL, "de_DE.UTF-8");

    EXPECT_FLOAT_EQ(String("  -1.25e2xyz").toReal(), -125.0f);
    EXPECT_FLOAT_EQ(String("+.5").toReal(), 0.5f);
    EXPECT_FLOAT_EQ(String("abc").toReal(), 0.0f);
    EXPECT_TRUE(std::isinf(String("1e999").toReal()));
    EXPECT_FLOAT_EQ(String("1e-999").toReal(), 0.0f);
    EXPECT_TRUE(std::isinf(String("-1e300").toReal()));  // beyond float, not undefined

    std::setlocale(LC_ALL, saved.c_str());
}

TEST(String, ToIntReadsLikeAtoiAndSaturates) {
    EXPECT_EQ(String("  -17abc").toInt(), -17);
    EXPECT_EQ(String("+8").toInt(), 8);
    EXPECT_EQ(String("x").toInt(), 0);
    EXPECT_EQ(String("99999999999").toInt(), 2147483647);
    EXPECT_EQ(String("-2147483648").toInt(), -2147483647 - 1);
    EXPECT_EQ(String("-99999999999").toInt(), -2147483647 - 1);
}

TEST(String, UpperCaseAndWriteInto) {
    String s("Sun.ae_2");
    s.toUpper();
    EXPECT_EQ(s, String("SUN.AE_2"));
    char buf[8] = "-------";
    String("ab").writeInto(buf);
    EXPECT_STREQ(buf, "ab-----");
    String().writeInto(buf);
    String("x").writeInto(nullptr);
    EXPECT_STREQ(buf, "ab-----");
    EXPECT_TRUE(String("a") != String("b"));
    EXPECT_TRUE(String("a") == String("a"));
}
