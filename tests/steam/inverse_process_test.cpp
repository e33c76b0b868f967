// The inverse routines in a process of their own: near saturation at high pressure no
// valid vapour state may end the process, and each failure they can reach ends it with
// its report.
#include "run_vireo.h"
#include "steam_frame.h"
#include "steam_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

vireo_test::RunResult probe(const std::vector<std::string>& args) {
    vireo_test::RunOptions options;
    options.program = STEAM_PROBE;
    options.timeoutSeconds = 120;
    return vireo_test::runVireo(args, options);
}

std::string number(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", x);
    return text;
}

// The report's lines from its first line on (the probe writes some lines before).
std::string report(const vireo_test::RunResult& result) {
    const auto at = result.out.find("\n\n");
    return at == std::string::npos ? std::string() : result.out.substr(at + 1);
}

}  // namespace

TEST(SteamInverseProcess, VapourStatesNearSaturationAtHighPressureNeverEndTheProcess) {
    std::vector<std::string> calls;
    int states = 0;
    for (double p = 2400.0; p <= 3208.0; p += 101.0) {
        const double ts = vireo::steam::saturationTemperatureOf(p);
        for (const double above : {0.05, 0.5, 2.0, 5.0, 10.0, 25.0, 60.0}) {
            const double t = ts + above;
            if (!vireo::steam::vapourSideAccepts(p, t)) continue;
            const double h = steam_test::hptd(p, t);
            const double s = steam_test::sptd(p, t);
            for (const char* routine : {"tph", "tphd"}) calls.insert(calls.end(), {routine, number(p), number(h), "--"});
            for (const char* routine : {"tps", "tpsd"}) calls.insert(calls.end(), {routine, number(p), number(s), "--"});
            for (const char* routine : {"phs", "phsd"}) calls.insert(calls.end(), {routine, number(h), number(s), "--"});
            ++states;
        }
    }
    calls.pop_back();
    EXPECT_GT(states, 50);
    const auto result = probe(calls);
    EXPECT_EQ(result.exitStatus, 0) << result.out.substr(result.out.size() > 2000 ? result.out.size() - 2000 : 0);
}

TEST(SteamInverseProcess, RangeAndConvergenceFailuresEndTheProcessWithTheirReport) {
    const std::string blank = "         0.00000000E+00 0.00000000E+00";
    const std::string blankPair = blank + blank + "\n";
    // Below the vapour side's enthalpy range; tphd has no wet-state answer to give first.
    auto result = probe({"tphd", "1000", "400"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(report(result), "\n   OUT OF RANGE IN  TPHD    ENTH =  0.40000000000000000D+03\n" + blankPair + blankPair +
                                  " TPHD    0.10000000E+04 0.40000000E+03" + blank + "\n" + blank + "\n" + blankPair);
    result = probe({"tps", "1000", "0.5"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(report(result), "\n   OUT OF RANGE IN  TPS     ENTR =  0.50000000000000000D+00\n" + blankPair + blankPair +
                                  " TPS     0.10000000E+04 0.50000000E+00" + blank + "\n" + blank + "\n" + blankPair);
    // A wet state far below the saturated vapour has no vapour-side temperature at all.
    result = probe({"tphd", "1", "600"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(report(result), "\n  NON CONVERGENT IN TPHD    PRES =  0.10000000000000000D+01\n"
                              "                            ENTH =  0.60000000000000000D+03\n"
                              " COMT2   0.10000000E+01 0.25000000E+02 HPT2    0.10000000E+01 0.25000000E+02\n" +
                                  blank + " HPTD    0.10000000E+01 0.25000000E+02\n"
                                  " TPHD    0.10000000E+01 0.60000000E+03" + blank + "\n" + blank + "\n" + blankPair);
    result = probe({"tpsd", "1", "0.9"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(report(result).find("  NON CONVERGENT IN TPSD    PRES =  0.10000000000000000D+01\n"
                                  "                            ENTR =  0.90000000000000002D+00\n"),
              std::string::npos);
}

TEST(SteamInverseProcess, StatesBelowSaturatedLiquidAndEntropiesOutOfRangeEndTheProcess) {
    // An entropy below the saturated liquid's at 100 psia: the trail shows the saturated
    // vapour and liquid that the test asked for.
    const std::string trail = " COMT1   0.10000000E+03 0.32782283E+03 HPT1    0.10000000E+03 0.32782283E+03\n"
                              "         0.00000000E+00 0.00000000E+00 HFT     0.32782283E+03 0.32782283E+03\n"
                              " HSS     0.10000000E+03 0.32782283E+03 HSV     0.10000000E+03 0.00000000E+00\n";
    const std::string saturation =
        " PSATT   0.32782283E+03 0.10000000E+03 TSATP   0.10000000E+03 0.32782283E+03\n";
    auto result = probe({"hssiss", "100", "0.1"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(report(result), "\n   OUT OF RANGE IN  HSSISS  PRES =  0.10000000000000000D+03\n"
                              "                            ENTR =  0.10000000000000001D+00\n" +
                                  trail + " HSSISS  0.10000000E+03 0.10000000E+00\n" + saturation);
    result = probe({"sssiss", "100", "100"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(report(result), "\n   OUT OF RANGE IN  SSSISS  PRES =  0.10000000000000000D+03\n"
                              "                            ENTH =  0.10000000000000000D+03\n" +
                                  trail + " SSSISS  0.10000000E+03 0.10000000E+03\n" + saturation);
    // Below the critical point's saturated-vapour entropy; above the liquid line's end.
    result = probe({"psv", "1.0"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(report(result).substr(0, 61), "\n   OUT OF RANGE IN  PSV     ENTR =  0.10000000000000000D+01\n");
    result = probe({"tslh", "906.2"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(report(result).substr(0, 61), "\n   OUT OF RANGE IN  TSLH    ENTH =  0.90620000000000005D+03\n");
    EXPECT_EQ(probe({"tslh", "906.1"}).exitStatus, 0);
}

TEST(SteamInverseProcess, PressureOfAnUnreachableEnthalpyAndEntropyReportsBoth) {
    // No vapour state has so much enthalpy at so little entropy, nor a wet one.
    auto result = probe({"phsd", "1500", "0.9"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(report(result).substr(0, 121), "\n  NON CONVERGENT IN PHSD    ENTH =  0.15000000000000000D+04\n"
                                             "                            ENTR =  0.90000000000000002D+00\n");
    result = probe({"phsw", "1200", "0.2"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(report(result).substr(0, 121), "\n  NON CONVERGENT IN PHSW    ENTH =  0.12000000000000000D+04\n"
                                             "                            ENTR =  0.20000000000000001D+00\n");
}

TEST(SteamInverseProcess, NaNArgumentsAreOutOfRangeBeforeAnyIteration) {
    for (const std::vector<std::string>& call :
         {std::vector<std::string>{"tph", "nan", "1300"}, {"tphd", "1000", "nan"}, {"tps", "1000", "nan"},
          {"tphl", "100", "nan"}, {"xph", "100", "nan"}, {"hps", "nan", "1.5"}, {"psv", "nan"}, {"tslh", "nan"},
          {"vph", "100", "nan"}, {"phs", "1300", "nan"}, {"phsd", "nan", "1.5"}}) {
        const auto result = probe(call);
        EXPECT_EQ(result.exitStatus, 1) << call[0];
        EXPECT_NE(result.out.find("OUT OF RANGE IN"), std::string::npos) << call[0];
    }
}
