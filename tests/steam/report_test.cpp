// The text of the fatal report, byte for byte, from given arguments and memo records.
#include "steam_frame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

using vireo::steam::ReportState;
using vireo::steam::reportText;

namespace {

void setName(char* target, const char* name) { std::memcpy(target, name, 6); }

ReportState blankState() {
    ReportState state{};
    for (auto& name : state.names.name) setName(name, "      ");
    for (auto& name : state.saturation.name) setName(name, "      ");
    return state;
}

// A trail as the routines leave it: several levels used, a saturation answer stored.
ReportState busyState() {
    ReportState state = blankState();
    setName(state.names.name[0], "COMT1 ");
    setName(state.names.name[1], "VPT1  ");
    setName(state.names.name[3], "VFT   ");
    setName(state.names.name[5], "HSV   ");
    setName(state.names.name[6], "PHS   ");
    double* slot = state.levels.slot;
    slot[0] = 1000.0;
    slot[1] = 700.0;
    slot[2] = 1000.0;
    slot[3] = 700.0;
    slot[6] = 650.0;
    slot[10] = 14.696;
    slot[11] = -3.5;
    slot[12] = 1200.0;
    slot[13] = 1.5;
    setName(state.saturation.name[0], "PSL1  ");
    setName(state.saturation.name[1], "TSATP ");
    state.saturation.argument[0] = 650.0;
    state.saturation.result[0] = 2207.9;
    state.saturation.argument[1] = 2000.0;
    state.saturation.result[1] = 636.0;
    return state;
}

const char* const kBlankTrail =
    "         0.00000000E+00 0.00000000E+00         0.00000000E+00 0.00000000E+00\n"
    "         0.00000000E+00 0.00000000E+00         0.00000000E+00 0.00000000E+00\n"
    "         0.00000000E+00 0.00000000E+00         0.00000000E+00 0.00000000E+00\n"
    "         0.00000000E+00 0.00000000E+00\n"
    "         0.00000000E+00 0.00000000E+00         0.00000000E+00 0.00000000E+00\n";

// The first line of a report whose code has one label, for the number forms below.
std::string firstLine(double x) {
    const std::string text = reportText("PSATT ", 2, x, 0.0, blankState());
    return text.substr(1, text.find('\n', 1) - 1);
}

// The first trail line with x in both slots of level 1.
std::string trailLine(double x) {
    ReportState state = blankState();
    setName(state.names.name[0], "COMT2 ");
    state.levels.slot[0] = x;
    state.levels.slot[1] = -x;
    const std::string text = reportText("PSATT ", 2, 0.0, 0.0, state);
    const std::size_t start = text.find('\n', 1) + 1;
    return text.substr(start, text.find('\n', start) - start);
}

}  // namespace

TEST(SteamReport, TwoLabelsAndTheWholeTrail) {
    EXPECT_EQ(reportText("COMT1 ", 12, 1000.0, 700.0, busyState()),
              "\n"
              "   OUT OF RANGE IN  COMT1   PRES =  0.10000000000000000D+04\n"
              "                            TEMP =  0.70000000000000000D+03\n"
              " COMT1   0.10000000E+04 0.70000000E+03 VPT1    0.10000000E+04 0.70000000E+03\n"
              "         0.00000000E+00 0.00000000E+00 VFT     0.65000000E+03 0.00000000E+00\n"
              "         0.00000000E+00 0.00000000E+00 HSV     0.14696000E+02-0.35000000E+01\n"
              " PHS     0.12000000E+04 0.15000000E+01\n"
              " PSL1    0.65000000E+03 0.22079000E+04 TSATP   0.20000000E+04 0.63600000E+03\n");
}

TEST(SteamReport, OneLabelWhenTheCodeHasNoTensDigit) {
    EXPECT_EQ(reportText("PSATT ", 2, 20.0, 0.0, blankState()),
              std::string("\n   OUT OF RANGE IN  PSATT   TEMP =  0.20000000000000000D+02\n") + kBlankTrail);
    EXPECT_EQ(reportText("TSLH  ", 3, 907.0, 0.0, blankState()),
              std::string("\n   OUT OF RANGE IN  TSLH    ENTH =  0.90700000000000000D+03\n") + kBlankTrail);
}

TEST(SteamReport, NegativeCodesReportFailedIterations) {
    EXPECT_EQ(reportText("TSATP ", -1, 3208.25, 0.0, blankState()),
              std::string("\n  NON CONVERGENT IN TSATP   PRES =  0.32082500000000000D+04\n") + kBlankTrail);
    EXPECT_EQ(reportText("PHSD  ", -35, 1500.0, 1.75, blankState()),
              std::string("\n  NON CONVERGENT IN PHSD    ENTH =  0.15000000000000000D+04\n"
                          "                            ENTR =  0.17500000000000000D+01\n") +
                  kBlankTrail);
}

TEST(SteamReport, VolumeLabelAndDigitsWithoutALabel) {
    EXPECT_EQ(reportText("COMT3 ", 42, 0.5, 1200.0, blankState()),
              std::string("\n   OUT OF RANGE IN  COMT3    VOL =  0.50000000000000000D+00\n"
                          "                            TEMP =  0.12000000000000000D+04\n") +
                  kBlankTrail);
    // A digit that names no label (a caller's own code) prints a blank label.
    EXPECT_EQ(reportText("USER  ", 60, 1.0, 2.0, blankState()),
              std::string("\n   OUT OF RANGE IN  USER            0.10000000000000000D+01\n"
                          "                                    0.20000000000000000D+01\n") +
                  kBlankTrail);
    EXPECT_EQ(reportText("USER  ", -7, 1.0, 2.0, blankState()),
              std::string("\n  NON CONVERGENT IN USER            0.10000000000000000D+01\n") + kBlankTrail);
}

TEST(SteamReport, EveryNumberForm) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const std::string lead = "   OUT OF RANGE IN  PSATT   TEMP =";
    EXPECT_EQ(firstLine(0.0), lead + "  0.00000000000000000D+00");
    EXPECT_EQ(firstLine(-0.0), lead + " -0.00000000000000000D+00");
    EXPECT_EQ(firstLine(-2.5), lead + " -0.25000000000000000D+01");
    EXPECT_EQ(firstLine(nan), lead + "                      NaN");
    EXPECT_EQ(firstLine(infinity), lead + "                 Infinity");
    EXPECT_EQ(firstLine(-infinity), lead + "                -Infinity");
    // Exponents of three digits drop the letter.
    EXPECT_EQ(firstLine(1e100), lead + "  0.10000000000000000+101");
    EXPECT_EQ(firstLine(-1e-100), lead + " -0.10000000000000000D-99");
    // 1e-200 is 9.99999999999999982e-201 as a double.
    EXPECT_EQ(firstLine(1e-200), lead + "  0.99999999999999998-200");
    // Rounding at the 17th digit carries through the nines (exactly 0.731042910109999999...).
    EXPECT_EQ(firstLine(0.73104291011), lead + "  0.73104291011000000D+00");
    EXPECT_EQ(firstLine(0.1), lead + "  0.10000000000000001D+00");

    EXPECT_EQ(trailLine(0.0), " COMT2   0.00000000E+00-0.00000000E+00         0.00000000E+00 0.00000000E+00");
    EXPECT_EQ(trailLine(nan), " COMT2              NaN            NaN         0.00000000E+00 0.00000000E+00");
    EXPECT_EQ(trailLine(infinity), " COMT2         Infinity      -Infinity         0.00000000E+00 0.00000000E+00");
    // The carry of the last digit runs into the exponent, which then needs three digits.
    EXPECT_EQ(trailLine(9.999999999e99), " COMT2   0.10000000+101-0.10000000+101         0.00000000E+00 0.00000000E+00");
    EXPECT_EQ(trailLine(0.999999995001), " COMT2   0.10000000E+01-0.10000000E+01         0.00000000E+00 0.00000000E+00");
    EXPECT_EQ(trailLine(1.5e-300), " COMT2   0.15000000-299-0.15000000-299         0.00000000E+00 0.00000000E+00");
}
