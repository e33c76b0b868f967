// Reading with formats and list-directed, against values worked out by hand from the
// field rules (padding, blanks, implied decimals, comma, reversion, repeat counts).
#include "vireo/format/Reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace vireo::format;

namespace {

// The value that one field reads as a float, or NaN when the read fails.
float real(std::string_view format, std::string_view record) {
    float v = -999.0f;
    const Status s = read(record, Format(format), {Item(v)});
    return s.ok() ? v : std::nanf("");
}

Status readInt(std::string_view format, std::string_view record, int& v) {
    return read(record, Format(format), {Item(v)});
}

}  // namespace

TEST(ReadReal, ImpliedDecimalsBlanksAndExponents) {
    EXPECT_FLOAT_EQ(real("(F4.2)", "1234"), 12.34f);
    EXPECT_FLOAT_EQ(real("(F4.2)", "1 34"), 1.34f);    // blanks are ignored, not zeros
    EXPECT_FLOAT_EQ(real("(F4.2)", "12.5"), 12.5f);    // a point in the field wins
    EXPECT_FLOAT_EQ(real("(F4.2)", "  -5"), -0.05f);
    EXPECT_FLOAT_EQ(real("(F3.1)", "12345"), 12.3f);   // only the field's three columns
    EXPECT_FLOAT_EQ(real("(F80.0)", "125"), 125.0f);   // "taken as written"
    EXPECT_FLOAT_EQ(real("(F80.0)", "12.5"), 12.5f);
    EXPECT_FLOAT_EQ(real("(F8.2)", "1.5E2"), 150.0f);
    EXPECT_FLOAT_EQ(real("(F8.2)", "1.5d2"), 150.0f);
    EXPECT_FLOAT_EQ(real("(F8.2)", "  1.5 e2"), 150.0f);
    EXPECT_FLOAT_EQ(real("(F8.2)", "15E2"), 15.0f);    // the implied decimals apply to 15
    EXPECT_FLOAT_EQ(real("(F8.2)", "15+2"), 15.0f);
    EXPECT_FLOAT_EQ(real("(E10.3)", " -1.25E-1"), -0.125f);
    EXPECT_FLOAT_EQ(real("(D10.0)", "2D3"), 2000.0f);
    EXPECT_FLOAT_EQ(real("(F8.2)", "- 1.5"), -1.5f);
    EXPECT_FLOAT_EQ(real("(F8.2)", "        "), 0.0f);
    EXPECT_FLOAT_EQ(real("(F8.2)", "+"), 0.0f);
    EXPECT_FLOAT_EQ(real("(F8.2)", ""), 0.0f);          // short record: blanks

    float negativeZero = 1.0f;
    ASSERT_TRUE(read("-0", Format("(F4.0)"), {Item(negativeZero)}).ok());
    EXPECT_TRUE(std::signbit(negativeZero));

    double d = 0;
    ASSERT_TRUE(read("0.1", Format("(F10.0)"), {Item(d)}).ok());
    EXPECT_EQ(d, 0.1);  // rounded once, to double
    ASSERT_TRUE(read("1e-400", Format("(E10.0)"), {Item(d)}).ok());
    EXPECT_EQ(d, 0.0);  // below the smallest double: zero
    EXPECT_EQ(read("1e400", Format("(E10.0)"), {Item(d)}).code, Code::badNumber);
    float f = 0;
    EXPECT_EQ(read("1e39", Format("(E10.0)"), {Item(f)}).code, Code::badNumber);
}

TEST(ReadReal, FieldsThatAreNoNumber) {
    for (const char* bad : {"abc", "1.5E", "1..5", "1.5-", "E5", "NaN", "Inf", "1.5E+", "1x"}) {
        float v = 7.0f;
        const Status s = read(bad, Format("(F8.2)"), {Item(v)});
        EXPECT_EQ(s.code, Code::badNumber) << bad;
        EXPECT_EQ(s.where, 1) << bad;
    }
    float a = 0, b = 0;
    const Status s = read("  1.0x2.5", Format("(2F4.0)"), {Item(a), Item(b)});
    EXPECT_EQ(s.code, Code::badNumber);
    EXPECT_EQ(s.where, 5);  // the second field starts in column 5
    EXPECT_FLOAT_EQ(a, 1.0f);
}

TEST(ReadInteger, FieldsAndTheirFaults) {
    int v = 0;
    ASSERT_TRUE(readInt("(I5)", " 1 2 ", v).ok());
    EXPECT_EQ(v, 12);
    ASSERT_TRUE(readInt("(I5)", "-  3", v).ok());
    EXPECT_EQ(v, -3);
    ASSERT_TRUE(readInt("(I5)", "00007", v).ok());
    EXPECT_EQ(v, 7);
    ASSERT_TRUE(readInt("(1I80)", "  -1000", v).ok());
    EXPECT_EQ(v, -1000);
    ASSERT_TRUE(readInt("(I11)", "-2147483648", v).ok());
    EXPECT_EQ(v, -2147483648);
    EXPECT_EQ(readInt("(1I80)", "12.5", v).code, Code::badNumber);
    EXPECT_EQ(readInt("(I5)", "1e3", v).code, Code::badNumber);
    EXPECT_EQ(readInt("(I20)", "2147483648", v).code, Code::badNumber);
    EXPECT_EQ(readInt("(I20)", "99999999999999999999", v).code, Code::badNumber);
}

TEST(ReadFields, CommaShortRecordTextAndSkips) {
    int i = 0, j = 0;
    ASSERT_TRUE(read("12,34", Format("(2I5)"), {Item(i), Item(j)}).ok());
    EXPECT_EQ(i, 12);
    EXPECT_EQ(j, 34);
    ReadOptions strict;
    strict.commaEndsField = false;
    EXPECT_EQ(read("12,34", Format("(2I5)"), {Item(i), Item(j)}, strict).code, Code::badNumber);

    ASSERT_TRUE(read("12", Format("(2I5)"), {Item(i), Item(j)}).ok());
    EXPECT_EQ(i, 12);
    EXPECT_EQ(j, 0);  // beyond the record's end: blanks

    std::string s = "old";
    ASSERT_TRUE(read("  7ab", Format("(I3,A5)"), {Item(i), Item(s, 5)}).ok());
    EXPECT_EQ(i, 7);
    EXPECT_EQ(s, "ab   ");
    ASSERT_TRUE(read("abcdef", Format("(A3)"), {Item(s, 10)}).ok());
    EXPECT_EQ(s, "abc       ");
    ASSERT_TRUE(read("abcdefghijkl", Format("(A12)"), {Item(s, 10)}).ok());
    EXPECT_EQ(s, "cdefghijkl");  // the rightmost characters of a wider field
    ASSERT_TRUE(read("abcdef", Format("(2X,A)"), {Item(s, 4)}).ok());
    EXPECT_EQ(s, "cdef");
    // The site file's header: 38 characters of text, then the count.
    std::string header;
    ASSERT_TRUE(read("   VERSION 1.3" + std::string(24, ' ') + "00042", Format("(A38,I5)"),
                     {Item(header, 38), Item(i)})
                    .ok());
    EXPECT_EQ(header, "   VERSION 1.3" + std::string(24, ' '));
    EXPECT_EQ(i, 42);
}

TEST(ReadRecords, SlashReversionEndOfFileAndSkippedRecords) {
    float a = 0, b = 0;
    TextRecords two("1\r\n2\n");
    ASSERT_TRUE(read(two, Format("(F4.0)"), {Item(a), Item(b)}).ok());  // reversion: new record
    EXPECT_FLOAT_EQ(a, 1.0f);
    EXPECT_FLOAT_EQ(b, 2.0f);

    TextRecords slash("5 9\n6\n");
    ASSERT_TRUE(read(slash, Format("(F2.0/F2.0)"), {Item(a), Item(b)}).ok());
    EXPECT_FLOAT_EQ(a, 5.0f);
    EXPECT_FLOAT_EQ(b, 6.0f);

    ASSERT_TRUE(read("1 2", Format("(2F4.0)"), {Item(a), Item(b)}).ok());
    EXPECT_FLOAT_EQ(a, 12.0f);  // "1 2 " is one field
    EXPECT_FLOAT_EQ(b, 0.0f);

    // Each read starts a record and skips the rest of its last one.
    TextRecords rest("1 2 3\n4 5\n");
    int i = 0;
    ASSERT_TRUE(read(rest, Format("(I2)"), {Item(i)}).ok());
    ASSERT_TRUE(read(rest, Format("(I2)"), {Item(i)}).ok());
    EXPECT_EQ(i, 4);
    EXPECT_EQ(read(rest, Format("(I2)"), {Item(i)}).code, Code::endOfFile);

    // Header records skipped with "(1X)", then the data.
    TextRecords data("header one\nheader two\n 5.0 7.5\n");
    ASSERT_TRUE(read(data, Format("(1X)"), {}).ok());
    ASSERT_TRUE(read(data, Format("(1X)"), {}).ok());
    ASSERT_TRUE(read(data, Format("(2F4.1)"), {Item(a), Item(b)}).ok());
    EXPECT_FLOAT_EQ(a, 5.0f);
    EXPECT_FLOAT_EQ(b, 7.5f);

    float c = -1;
    TextRecords shortFile("1\n2\n");
    EXPECT_EQ(read(shortFile, Format("(F4.0)"), {Item(a), Item(b), Item(c)}).code, Code::endOfFile);
    EXPECT_FLOAT_EQ(c, -1.0f);
}

TEST(ReadErrors, TypesDescriptorsAndFormats) {
    float f = 0;
    int i = 0;
    std::string s;
    EXPECT_EQ(read("5", Format("(I5)"), {Item(f)}).code, Code::typeMismatch);
    EXPECT_EQ(read("5", Format("(F5.0)"), {Item(i)}).code, Code::typeMismatch);
    EXPECT_EQ(read("5", Format("(A)"), {Item(i)}).code, Code::typeMismatch);
    EXPECT_EQ(read("5", Format("(F5.0)"), {Item(s, 3)}).code, Code::typeMismatch);
    const Status two = read("5 6", Format("(I2,I2)"), {Item(i), Item(f)});
    EXPECT_EQ(two.code, Code::typeMismatch);
    EXPECT_EQ(two.where, 2);
    EXPECT_EQ(read("x5", Format("('x',I2)"), {Item(i)}).code, Code::badDescriptor);
    EXPECT_EQ(read("5", Format("(1X)"), {Item(i)}).code, Code::noDataDescriptor);
    EXPECT_EQ(read("5", Format("(F5"), {Item(f)}).code, Code::formatSyntax);
    EXPECT_EQ(read("5", Format("(32767(32767X))"), {}).code, Code::recordTooLong);
}

TEST(ReadList, ValuesAcrossRecordsRepeatsNullsAndSlash) {
    TextRecords file(
        "1.5\n"
        "  2.5  3.5 4.5\n"
        "3*7\n"
        "1, , 3\n"
        "9 /  8\n"
        "2*\n"
        "1,2,\n"
        "5\n"
        " 1.0, 2.0  ,\n"
        "4.0\n"
        "1.0e1 2d1\n"
        "1.0 x\n");
    const float expected[][2] = {{1.5f, 2.5f}, {7, 7}, {1, -1}, {9, -1}, {-1, -1}, {1, 2}, {5, 1}, {4, 10}};
    for (const auto& pair : expected) {
        float a = -1, b = -1;
        ASSERT_TRUE(readList(file, {Item(a), Item(b)}).ok());
        EXPECT_FLOAT_EQ(a, pair[0]);
        EXPECT_FLOAT_EQ(b, pair[1]);
    }
    float a = -1, b = -1;
    const Status bad = readList(file, std::initializer_list<Item>{Item(a), Item(b)});
    EXPECT_EQ(bad.code, Code::badNumber);
    EXPECT_EQ(bad.where, 5);
    EXPECT_FLOAT_EQ(a, 1.0f);
    EXPECT_EQ(readList(file, std::initializer_list<Item>{Item(a)}).code, Code::endOfFile);
}

TEST(ReadList, SingleValuesFromAText) {
    const Format list("*");
    int i = -1;
    float f = -1;
    ASSERT_TRUE(read(" 12 ", list, {Item(i)}).ok());
    EXPECT_EQ(i, 12);
    EXPECT_EQ(read("12.5", list, {Item(i)}).code, Code::badNumber);
    ASSERT_TRUE(read("3,4", list, {Item(f)}).ok());
    EXPECT_FLOAT_EQ(f, 3.0f);
    ASSERT_TRUE(read("7 junk", list, {Item(f)}).ok());  // what follows the last value is not read
    EXPECT_FLOAT_EQ(f, 7.0f);
    EXPECT_EQ(read("junk", list, {Item(f)}).code, Code::badNumber);
    EXPECT_EQ(read("   ", list, {Item(f)}).code, Code::endOfFile);
    EXPECT_FLOAT_EQ(f, 7.0f);
    float g = -1;
    ASSERT_TRUE(read("2*3.0", list, {Item(f), Item(g)}).ok());
    EXPECT_FLOAT_EQ(g, 3.0f);
    EXPECT_EQ(read("0*3.0", list, {Item(f)}).code, Code::badNumber);
    EXPECT_EQ(read("*3.0", list, {Item(f)}).code, Code::badNumber);
    ASSERT_TRUE(read(",5", list, {Item(f), Item(g)}).ok());
    EXPECT_FLOAT_EQ(f, 3.0f);  // null: unchanged
    EXPECT_FLOAT_EQ(g, 5.0f);
    ASSERT_TRUE(read("1.5/", list, {Item(f), Item(g)}).ok());
    EXPECT_FLOAT_EQ(f, 1.5f);
    EXPECT_FLOAT_EQ(g, 5.0f);
    ASSERT_TRUE(read("\t-4\t", list, {Item(i)}).ok());
    EXPECT_EQ(i, -4);
    std::string s;
    EXPECT_EQ(read("abc", list, {Item(s, 3)}).code, Code::typeMismatch);
}
