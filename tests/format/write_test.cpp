// Writing: every expectation is worked out by hand from the descriptor's rules (field
// width, digits, rounding of the exact binary value, sign, exponent form).
#include "vireo/format/Writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace vireo::format;

namespace {

// The one record that the format makes of the values, or the failure's description.
std::string one(std::string_view format, std::initializer_list<Value> values) {
    std::string record;
    const Status s = writeRecord(format, values, record);
    return s.ok() ? record : "<" + s.message() + ">";
}

std::vector<std::string> many(std::string_view format, std::initializer_list<Value> values) {
    std::vector<std::string> records;
    const Status s = write(Format(format), std::span<const Value>(values.begin(), values.size()), records);
    if (!s.ok()) return {"<" + s.message() + ">"};
    return records;
}

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(WriteInteger, WidthZeroFillAndOverflow) {
    EXPECT_EQ(one("(I5)", {7}), "    7");
    EXPECT_EQ(one("(I5)", {-42}), "  -42");
    EXPECT_EQ(one("(I5.5)", {7}), "00007");    // stored fields: a width-5 field holding 7
    EXPECT_EQ(one("(I4.4)", {0}), "0000");
    EXPECT_EQ(one("(I5.3)", {-7}), " -007");
    EXPECT_EQ(one("(I5.5)", {-7}), "*****");   // the sign needs a sixth column
    EXPECT_EQ(one("(I3)", {1234}), "***");
    EXPECT_EQ(one("(I1)", {-1}), "*");
    EXPECT_EQ(one("(I2)", {-1}), "-1");
    EXPECT_EQ(one("(I3.0)", {0}), "   ");     // Iw.0 shows a zero as blanks
    EXPECT_EQ(one("(I3.0)", {5}), "  5");
    EXPECT_EQ(one("(I20)", {std::numeric_limits<long long>::min()}), "-9223372036854775808");
}

TEST(WriteFixed, RoundingOfTheExactBinaryValue) {
    // Exactly half-way values go to the even digit.
    EXPECT_EQ(one("(F5.2)", {0.125}), " 0.12");
    EXPECT_EQ(one("(F5.2)", {0.375}), " 0.38");
    EXPECT_EQ(one("(F3.0)", {2.5}), " 2.");
    EXPECT_EQ(one("(F5.0)", {12.5f}), "  12.");
    EXPECT_EQ(one("(F6.1)", {48.25f}), "  48.2");
    // 123.4565 is stored a little above the half, so it rounds up.
    EXPECT_EQ(one("(F10.3)", {123.4565}), "   123.457");
    // A float is written from its own value: 48.13f is 48.130001068...
    EXPECT_EQ(one("(F7.2)", {48.13f}), "  48.13");
    EXPECT_EQ(one("(F7.2)", {9999.994}), "9999.99");
    EXPECT_EQ(one("(F7.2)", {9999.996}), "*******");  // rounds to 10000.00
}

TEST(WriteFixed, SignLeadingZeroAndNarrowFields) {
    EXPECT_EQ(one("(F5.1)", {-0.01}), " -0.0");  // a negative value keeps its sign
    EXPECT_EQ(one("(F5.1)", {-0.0}), " -0.0");
    EXPECT_EQ(one("(F4.2)", {0.5}), "0.50");
    EXPECT_EQ(one("(F3.2)", {0.5}), ".50");      // no room for the zero
    EXPECT_EQ(one("(F4.2)", {-0.5}), "-.50");
    EXPECT_EQ(one("(F2.0)", {0.4}), "0.");
    EXPECT_EQ(one("(F3.0)", {-0.4}), "-0.");
    EXPECT_EQ(one("(F1.0)", {0.0}), "*");        // "0." needs two columns; "." alone is no number
    EXPECT_EQ(one("(F3.1)", {12.5}), "***");
    EXPECT_EQ(one("(F7.2)", {-999.999}), "*******");
    EXPECT_EQ(one("(F6.2)", {1e10}), "******");
    EXPECT_EQ(one("(F11.0)", {-1e7}), " -10000000.");
    EXPECT_EQ(one("(F10.0)", {-1e7}), "-10000000.");
    EXPECT_EQ(one("(F9.0)", {-1e7}), "*********");
}

TEST(WriteExponent, FormsOfTheMantissaAndExponent) {
    EXPECT_EQ(one("(E15.8)", {12345678.5}), " 0.12345678E+08");  // half-way: even digit
    EXPECT_EQ(one("(E15.8)", {12345679.5}), " 0.12345680E+08");
    EXPECT_EQ(one("(E15.8)", {-12345678.5}), "-0.12345678E+08");
    EXPECT_EQ(one("(E14.8)", {-12345678.5}), "-.12345678E+08");
    EXPECT_EQ(one("(E14.8)", {12345678.5}), "0.12345678E+08");
    EXPECT_EQ(one("(E13.8)", {12345678.5}), ".12345678E+08");
    EXPECT_EQ(one("(E12.8)", {12345678.5}), "************");
    EXPECT_EQ(one("(E15.8)", {0.0}), " 0.00000000E+00");
    EXPECT_EQ(one("(E15.8)", {-0.0}), "-0.00000000E+00");
    EXPECT_EQ(one("(E10.3)", {-0.0}), "-0.000E+00");
    EXPECT_EQ(one("(E15.8)", {1e-5}), " 0.10000000E-04");
    EXPECT_EQ(one("(E15.8)", {9.999999999}), " 0.10000000E+02");  // the carry moves the exponent
    EXPECT_EQ(one("(E9.2)", {0.999999}), " 0.10E+01");
    EXPECT_EQ(one("(E9.3)", {-1.5}), "-.150E+01");
    EXPECT_EQ(one("(E8.3)", {-1.5}), "********");
    EXPECT_EQ(one("(D10.1)", {0.96}), "   0.1D+01");
    EXPECT_EQ(one("(D25.17)", {1.0 / 3.0}), "  0.33333333333333331D+00");
    EXPECT_EQ(one("(D25.17)", {1.0}), "  0.10000000000000000D+01");
    // A float shows the digits of its own binary value.
    EXPECT_EQ(one("(D25.17)", {0.1f}), "  0.10000000149011612D+00");
}

TEST(WriteExponent, ThreeDigitExponentsDropTheLetter) {
    EXPECT_EQ(one("(E10.3)", {1e-100}), " 0.100E-99");
    EXPECT_EQ(one("(E12.4)", {-1e-100}), " -0.1000E-99");
    EXPECT_EQ(one("(E12.4)", {1e100}), "  0.1000+101");
    EXPECT_EQ(one("(E11.4)", {1e100}), " 0.1000+101");
    EXPECT_EQ(one("(E15.8)", {9.99999999e99}), " 0.10000000+101");
    EXPECT_EQ(one("(E15.8)", {1e-300}), " 0.10000000-299");
    EXPECT_EQ(one("(D25.17)", {-1e300}), " -0.10000000000000001+301");
    EXPECT_EQ(one("(D25.17)", {std::numeric_limits<double>::max()}), "  0.17976931348623157+309");
    EXPECT_EQ(one("(D25.17)", {std::numeric_limits<double>::denorm_min()}), "  0.49406564584124654-323");
    EXPECT_EQ(one("(E12.5)", {1e-310}), " 0.10000-309");
}

TEST(WriteSpecialValues, NaNAndInfinityInAField) {
    EXPECT_EQ(one("(E15.8)", {kInf}), "       Infinity");
    EXPECT_EQ(one("(E15.8)", {-kInf}), "      -Infinity");
    EXPECT_EQ(one("(F8.1)", {kInf}), "Infinity");
    EXPECT_EQ(one("(F7.1)", {kInf}), "    Inf");
    EXPECT_EQ(one("(F8.1)", {-kInf}), "    -Inf");
    EXPECT_EQ(one("(F9.1)", {-kInf}), "-Infinity");
    EXPECT_EQ(one("(F4.1)", {-kInf}), "-Inf");
    EXPECT_EQ(one("(F3.1)", {-kInf}), "***");
    EXPECT_EQ(one("(F2.1)", {kInf}), "**");
    EXPECT_EQ(one("(F8.1)", {kNaN}), "     NaN");
    EXPECT_EQ(one("(D25.17)", {-kNaN}), std::string(22, ' ') + "NaN");
    EXPECT_EQ(one("(F2.1)", {kNaN}), "**");
}

TEST(WriteText, WidthsPositionsAndLiterals) {
    EXPECT_EQ(one("(A3)", {"abcdef"}), "abc");
    EXPECT_EQ(one("(A8,A)", {"abc", "z"}), "     abcz");
    EXPECT_EQ(one("(A,2X,A)", {"ab", "cd"}), "ab  cd");
    EXPECT_EQ(one("(A,5X)", {"ab"}), "ab");  // a move alone writes no blanks
    EXPECT_EQ(one("(5X)", {}), "");
    EXPECT_EQ(one("('it''s',1X,\"q\"\"\")", {}), "it's q\"");
    EXPECT_EQ(one("(A1)", {std::string_view("\0", 1)}), std::string(1, '\0'));
    EXPECT_EQ(one("(A20,1X,I4,2F7.2,A1)", {"Hamburg             ", 276, 53.63f, 9.99f, std::string_view("\0", 1)}),
              "Hamburg               276  53.63   9.99" + std::string(1, '\0'));
    // A text shorter than its field is right-aligned in it.
    EXPECT_EQ(one("('Site: ',A20,', Continent: ',I3)", {"Lisboa", 2}),
              "Site:               Lisboa, Continent:   2");
}

TEST(WriteRecords, SlashReversionAndTheEndOfTheValues) {
    EXPECT_EQ(many("(/2X,A18,A6,2X,A6,D25.17)", {" OUT OF RANGE IN  ", "VPT1  ", "PRES =", 1.0}),
              (std::vector<std::string>{"", "   OUT OF RANGE IN  VPT1    PRES =  0.10000000000000000D+01"}));
    EXPECT_EQ(many("(28X,A6,D25.17)", {"TEMP =", -2.5}),
              (std::vector<std::string>{std::string(28, ' ') + "TEMP = -0.25000000000000000D+01"}));
    // The memo trail: two levels a line, the last level alone stops at the next A6.
    EXPECT_EQ(many("(1X,A6,1X,2E15.8,1X,A6,1X,2E15.8)",
                   {"VPT1  ", 1.0, 2.0, "HPT1  ", 3.0, 4.0, "PHS   ", 5.0, 6.0}),
              (std::vector<std::string>{
                  " VPT1    0.10000000E+01 0.20000000E+01 HPT1    0.30000000E+01 0.40000000E+01",
                  " PHS     0.50000000E+01 0.60000000E+01"}));
    // Reversion goes back to the last outer group, with its repeat count.
    EXPECT_EQ(many("(I2,2(I3,'x'))", {1, 2, 3, 4, 5, 6, 7}),
              (std::vector<std::string>{" 1  2x  3x", "  4x  5x", "  6x  7x"}));
    EXPECT_EQ(many("(I2,/,(I3))", {1, 2, 3}), (std::vector<std::string>{" 1", "  2", "  3"}));
    EXPECT_EQ(many("(2I3)", {1, 2, 3, 4, 5}), (std::vector<std::string>{"  1  2", "  3  4", "  5"}));
    // Texts after the last value are written up to the next data descriptor.
    EXPECT_EQ(one("(I3,' end')", {5}), "  5 end");
    EXPECT_EQ(one("(A,' x',A)", {"a"}), "a x");
    EXPECT_EQ(many("(I1,2/)", {4}), (std::vector<std::string>{"4", "", ""}));

    std::string text = "head\n";
    ASSERT_TRUE(writeText("(/A)", {"line"}, text).ok());
    EXPECT_EQ(text, "head\n\nline\n");
}

TEST(WriteErrors, AreStatusesAndWriteNothing) {
    std::vector<std::string> records{"kept"};
    const std::initializer_list<Value> values{2.5};
    const Status s = write(Format("(I5)"), std::span<const Value>(values.begin(), values.size()), records);
    EXPECT_EQ(s.code, Code::typeMismatch);
    EXPECT_EQ(s.where, 1);
    EXPECT_EQ(records, std::vector<std::string>{"kept"});

    std::string r;
    EXPECT_EQ(writeRecord("(I3,F5.1)", {1, 2}, r).code, Code::typeMismatch);
    EXPECT_EQ(writeRecord("(I3,F5.1)", {1, 2}, r).where, 2);
    EXPECT_EQ(writeRecord("(A)", {1}, r).code, Code::typeMismatch);
    EXPECT_EQ(writeRecord("(E10.0)", {1.5}, r).code, Code::badDescriptor);
    EXPECT_EQ(writeRecord("(1X)", {1}, r).code, Code::noDataDescriptor);
    EXPECT_EQ(writeRecord("(I3,(1X))", {1, 2}, r).code, Code::noDataDescriptor);
    EXPECT_EQ(writeRecord("(I3", {1}, r).code, Code::formatSyntax);
    EXPECT_EQ(writeRecord("*", {1}, r).code, Code::badDescriptor);
    EXPECT_EQ(writeRecord("(I3/I3)", {1, 2}, r).code, Code::recordTooLong);  // two records
    // Formats that would grow without bound stop at the record limit.
    EXPECT_EQ(writeRecord("(32767(32767X),I1)", {1}, r).code, Code::recordTooLong);
    EXPECT_EQ(writeRecord("(32767(32767(32767/)))", {}, r).code, Code::recordTooLong);
}

TEST(StoredRecordRanges, HelpersAndTheRefusingCheck) {
    EXPECT_EQ(roundHalfAway(2.5), 3);
    EXPECT_EQ(roundHalfAway(-2.5), -3);
    EXPECT_EQ(roundHalfAway(0.49999999999999994), 0);
    EXPECT_EQ(roundHalfAway(-12.3f * 10 + 500), 377);  // a temperature of -12.3 as stored
    EXPECT_FALSE(roundHalfAway(kNaN).has_value());
    EXPECT_FALSE(roundHalfAway(1e19).has_value());

    const IntegerRange i55 = integerFieldRange(5, 5);
    EXPECT_EQ(i55.lowest, 0);
    EXPECT_EQ(i55.highest, 99999);
    const IntegerRange i4 = integerFieldRange(4);
    EXPECT_EQ(i4.lowest, -999);
    EXPECT_EQ(i4.highest, 9999);
    EXPECT_EQ(integerFieldRange(5, 3).lowest, -9999);
    EXPECT_EQ(integerFieldRange(1).lowest, 0);
    EXPECT_EQ(integerFieldRange(20).lowest, std::numeric_limits<long long>::min());
    EXPECT_TRUE(fitsInteger(18000, 5, 5));
    EXPECT_FALSE(fitsInteger(-1, 4, 4));
    EXPECT_FALSE(fitsInteger(100000, 5, 5));
    // The helpers agree with what the writer does at the edges.
    for (int w = 1; w <= 6; ++w)
        for (int m = 0; m <= w; ++m) {
            const IntegerRange r = integerFieldRange(w, m);
            for (long long v : {r.lowest, r.highest, r.lowest - 1, r.highest + 1}) {
                const std::string f = "(I" + std::to_string(w) + "." + std::to_string(m) + ")";
                const std::initializer_list<Value> one{v};
                const Status s = check(Format(f), std::span<const Value>(one.begin(), one.size()));
                EXPECT_EQ(s.ok(), fitsInteger(v, w, m)) << f << " " << v;
            }
        }

    const std::initializer_list<Value> site{"OSLO", 1, 1578, 35075};  // country beyond 3 digits
    const Status bad = check(Format("(A20,I1,I3.3,I5.5)"), std::span<const Value>(site.begin(), site.size()));
    EXPECT_EQ(bad.code, Code::fieldOverflow);
    EXPECT_EQ(bad.where, 3);
}
