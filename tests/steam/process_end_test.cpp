// The real end of the process: a state out of range, a NaN or a failed iteration ends
// the program that called the routine, after its earlier output and the report, with a
// non-zero exit status and nothing after the report.
#include "run_vireo.h"
#include "steam_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

vireo_test::RunResult probe(const std::vector<std::string>& args) {
    vireo_test::RunOptions options;
    options.program = STEAM_PROBE;
    options.timeoutSeconds = 60;
    return vireo_test::runVireo(args, options);
}

// What the probe writes, unflushed, before its first call.
const std::string kBefore = "written before\nfrom cout\n";

const std::string kBlankLine = "         0.00000000E+00 0.00000000E+00         0.00000000E+00 0.00000000E+00\n";
const std::string kBlankLevel7 = "         0.00000000E+00 0.00000000E+00\n";

// The process ended with a report that holds these lines.
void expectReport(const vireo_test::RunResult& result, const std::string& lines) {
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.out.find(lines), std::string::npos) << result.out;
}

void expectEnded(const vireo_test::RunResult& result, const std::string& expectedOut) {
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, expectedOut);
    EXPECT_EQ(result.err, "");
}

}  // namespace

TEST(SteamProcessEnd, ReportFollowsEarlierOutputAndNothingFollowsIt) {
    // Two good calls leave a trail; the third is out of range (700 °F > 682 °F).
    const auto result = probe({"vpt1", "1000", "300", "--", "psl1", "400", "--", "vpt1", "100", "700"});
    expectEnded(result, kBefore +
                            "vpt1 0.0173829954\n"
                            "psl1 247.259404\n"
                            "\n"
                            "   OUT OF RANGE IN  COMT1   PRES =  0.10000000000000000D+03\n"
                            "                            TEMP =  0.70000000000000000D+03\n"
                            " COMT1   0.10000000E+04 0.30000000E+03 VPT1    0.10000000E+03 0.70000000E+03\n" +
                            kBlankLine + kBlankLine + kBlankLevel7 +
                            " PSL1    0.40000000E+03 0.24725940E+03         0.00000000E+00 0.00000000E+00\n");
}

TEST(SteamProcessEnd, NaNArgumentIsOutOfRange) {
    expectEnded(probe({"vpt2", "nan", "500"}),
                kBefore +
                    "\n"
                    "   OUT OF RANGE IN  COMT2   PRES =                      NaN\n"
                    "                            TEMP =  0.50000000000000000D+03\n"
                    "         0.00000000E+00 0.00000000E+00 VPT2               NaN 0.50000000E+03\n" +
                    kBlankLine + kBlankLine + kBlankLevel7 + kBlankLine);
    // The same in every routine with a range: the temperature of the saturation line,
    // the pressure of the 2/3 boundary and any value given to splim.
    EXPECT_EQ(probe({"psatt", "nan"}).exitStatus, 1);
    EXPECT_EQ(probe({"hpt1", "1000", "nan"}).exitStatus, 1);
    EXPECT_EQ(probe({"t23p", "-nan"}).exitStatus, 1);
    expectEnded(probe({"splim", "nan", "5", "3", "-0.1", "PHSW  "}),
                kBefore +
                    "\n"
                    "   OUT OF RANGE IN  PHSW    ENTR =                      NaN\n" +
                    kBlankLine + kBlankLine + kBlankLine + kBlankLevel7 + kBlankLine);
}

TEST(SteamProcessEnd, PressureOfZeroOrBelowIsOutOfRange) {
    // The saturation temperature records its argument before the range test.
    expectEnded(probe({"tsatp", "0"}),
                kBefore +
                    "\n"
                    "   OUT OF RANGE IN  TSATP   PRES =  0.00000000000000000D+00\n" +
                    kBlankLine + kBlankLine + kBlankLine + kBlankLevel7 +
                    "         0.00000000E+00 0.00000000E+00 TSATP   0.00000000E+00 0.00000000E+00\n");
    for (const std::vector<std::string>& call :
         {std::vector<std::string>{"vpt1", "0", "100"}, {"hpt2", "-1", "500"}, {"t23p", "0"}, {"tsatp", "-14.7"}}) {
        const auto result = probe(call);
        EXPECT_EQ(result.exitStatus, 1) << call[0];
        EXPECT_NE(result.out.find("OUT OF RANGE IN"), std::string::npos) << call[0];
    }
    // At pressures too small for a double the vapour equations would overflow.
    const auto tiny = probe({"vpt2", "1e-310", "500"});
    EXPECT_EQ(tiny.exitStatus, 1);
    EXPECT_NE(tiny.out.find("OUT OF RANGE IN  COMT2   PRES =  0.99999999999999694-310\n"), std::string::npos);
}

TEST(SteamProcessEnd, SaturationTemperatureRefusesPressuresAboveTheCriticalPressure) {
    // Between pc and 3208.3 psia the iteration could only fail: out of range instead.
    expectEnded(probe({"tsatp", "3208.25"}),
                kBefore +
                    "\n"
                    "   OUT OF RANGE IN  TSATP   PRES =  0.32082500000000000D+04\n" +
                    kBlankLine + kBlankLine + kBlankLine + kBlankLevel7 +
                    "         0.00000000E+00 0.00000000E+00 TSATP   0.32082500E+04 0.00000000E+00\n");
    // The critical pressure itself is the last one accepted.
    const auto critical = probe({"tsatp", "3208.234758592228"});
    EXPECT_EQ(critical.exitStatus, 0);
    EXPECT_EQ(critical.out, kBefore + "tsatp 705.47\nend of probe\nexit handler\nstatic destructor\n");
}

TEST(SteamProcessEnd, FailedIterationReportsNoConvergence) {
    // Below about 2020 psia the 2/3 boundary has no temperature.
    expectEnded(probe({"t23p", "1000"}),
                kBefore +
                    "\n"
                    "  NON CONVERGENT IN T23P    PRES =  0.10000000000000000D+04\n" +
                    kBlankLine + kBlankLine + kBlankLine + kBlankLevel7 +
                    "         0.00000000E+00 0.00000000E+00 T23P    0.10000000E+04 0.00000000E+00\n");
    expectEnded(probe({"ster", "-12", "100", "200", "VPT3  "}),
                kBefore +
                    "\n"
                    "  NON CONVERGENT IN VPT3    PRES =  0.10000000000000000D+03\n"
                    "                            TEMP =  0.20000000000000000D+03\n" +
                    kBlankLine + kBlankLine + kBlankLine + kBlankLevel7 + kBlankLine);
}

TEST(SteamProcessEnd, TemperatureLimitsAreInclusive) {
    const auto inside = probe({"vpt1", "5000", "682", "--", "vpt2", "1000", "-200", "--", "p23t", "1600", "--",
                               "psatt", "705.5", "--", "psatt", "25"});
    EXPECT_EQ(inside.exitStatus, 0) << inside.out;
    EXPECT_NE(inside.out.find("end of probe\n"), std::string::npos);

    // 682.0000001 is 682.00000009999997 in binary.
    const auto above = probe({"vpt1", "5000", "682.0000001"});
    EXPECT_EQ(above.exitStatus, 1);
    EXPECT_NE(above.out.find("OUT OF RANGE IN  COMT1   PRES =  0.50000000000000000D+04\n"
                             "                            TEMP =  0.68200000009999997D+03\n"),
              std::string::npos)
        << above.out;
    // 705.625 is exact in binary, so all 17 digits show it.
    expectEnded(probe({"psatt", "705.625"}),
                kBefore +
                    "\n"
                    "   OUT OF RANGE IN  PSATT   TEMP =  0.70562500000000000D+03\n" +
                    kBlankLine + kBlankLine + kBlankLine + kBlankLevel7 + kBlankLine);
    EXPECT_EQ(probe({"vpt2", "100", "1600.001"}).exitStatus, 1);
    EXPECT_EQ(probe({"p23t", "24.9"}).exitStatus, 1);
}

TEST(SteamProcessEnd, LiquidEquationsWithoutARealValueAreOutOfRange) {
    // 100 psia and 680 °F is steam; region 1 has no real value there (its square root
    // takes a negative argument) and ends the process instead of returning a NaN.
    const auto result = probe({"vpt1", "100", "680"});
    expectEnded(result, kBefore +
                            "\n"
                            "   OUT OF RANGE IN  COMT1   PRES =  0.10000000000000000D+03\n"
                            "                            TEMP =  0.68000000000000000D+03\n"
                            " COMT1   0.10000000E+03 0.68000000E+03 VPT1    0.10000000E+03 0.68000000E+03\n" +
                            kBlankLine + kBlankLine + kBlankLevel7 + kBlankLine);
}

namespace {

// One edge of a range predicate: a state it accepts and a value of one argument beyond
// the edge. The test finds the edge from the predicate alone.
struct Edge {
    std::string routine;        // as the probe names it
    std::vector<double> state;  // its arguments, inside the range
    std::size_t moving;         // the argument that crosses the edge
    double outside;
    // How far beyond the edge the routine surely ends the process: 0 for a range test
    // (the next double fails), 1e-6 relative where an iteration stops within its
    // tolerance (1e-8 of the pressure, at least 1e-8 psia) and so still converges a hair
    // beyond.
    double margin = 0.0;
};

bool accepts(const std::string& routine, const std::vector<double>& a) {
    using namespace vireo::steam;
    if (routine == "comt3") return inRegion3(a[0], a[1]);
    if (routine == "vpt3") return region3VolumeAccepts(a[0], a[1], Region3Search::bySaturation);
    if (routine == "vpt3l") return region3VolumeAccepts(a[0], a[1], Region3Search::liquid);
    if (routine == "vpt3d") return region3VolumeAccepts(a[0], a[1], Region3Search::vapour);
    if (routine == "vptf3") return region3VolumeAccepts(a[0], a[1], Region3Search::saturatedLiquid);
    if (routine == "vptg3") return region3VolumeAccepts(a[0], a[1], Region3Search::saturatedVapour);
    if (routine == "hptl") return liquidSideAccepts(a[0], a[1]);
    if (routine == "hptd") return vapourSideAccepts(a[0], a[1]);
    if (routine == "cpptl") return liquidHeatCapacityAccepts(a[0], a[1]);
    if (routine == "hgt") return saturatedAtTemperatureAccepts(Phase::vapour, a[0]);
    if (routine == "hfp") return saturatedAtPressureAccepts(Phase::liquid, a[0]);
    if (routine == "condv") return vapourConductivityAccepts(a[0], a[1]);
    if (routine == "convt") return conductivityAccepts(a[0], a[1]);
    if (routine == "steam_h" || routine == "steam_cp") return steamStateAccepts(a[0], a[1]);
    if (routine == "vpt1") return inRegion1(a[0], a[1]);
    if (routine == "vpt2") return inRegion2(a[0], a[1]);
    if (routine == "psatt") return saturationPressureAccepts(a[0]);
    if (routine == "tsatp") return saturationTemperatureAccepts(a[0]);
    if (routine == "p23t") return boundary23PressureAccepts(a[0]);
    return boundary23TemperatureAccepts(a[0]);
}

std::vector<std::string> call(const std::string& routine, const std::vector<double>& a) {
    std::vector<std::string> args{routine};
    for (double x : a) {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", x);  // read back to the same double
        args.emplace_back(text);
    }
    return args;
}

}  // namespace

TEST(SteamProcessEnd, RangePredicatesAcceptExactlyWhatTheRoutinesAccept) {
    const Edge edges[] = {
        {"vpt1", {5000.0, 600.0}, 1, 700.0},
        {"vpt1", {1000.0, 100.0}, 1, 0.0},
        {"vpt1", {100.0, 300.0}, 1, 680.0},  // where the liquid equations lose their real value
        {"vpt1", {1000.0, 100.0}, 0, 20000.0},
        {"vpt2", {1000.0, 1000.0}, 1, 2000.0},
        {"vpt2", {1.0, 0.0}, 1, -300.0},
        {"vpt2", {1.0, 500.0}, 0, 0.0},  // where the ideal-gas part overflows
        {"psatt", {100.0}, 0, 0.0},
        {"psatt", {100.0}, 0, 800.0},
        {"tsatp", {100.0}, 0, 4000.0},
        {"tsatp", {1.0}, 0, 0.01, 1e-6},
        {"p23t", {100.0}, 0, 0.0},
        {"p23t", {100.0}, 0, 2000.0},
        {"t23p", {5000.0}, 0, 20000.0},
        {"t23p", {5000.0}, 0, 1000.0, 1e-6},
        {"comt3", {0.05, 700.0}, 1, 600.0},
        {"comt3", {0.05, 700.0}, 1, 1200.0},
        {"comt3", {0.05, 700.0}, 0, 0.01},
        {"comt3", {0.05, 700.0}, 0, 0.2},
        {"vpt3l", {3000.0, 650.0}, 0, 1000.0},    // the search's lowest pressure
        {"vpt3l", {3000.0, 700.0}, 0, 20000.0},
        {"vpt3l", {3000.0, 700.0}, 1, 600.0},     // region 3's lowest temperature
        {"vpt3d", {2600.0, 680.0}, 0, 2200.0},    // where the vapour's volume leaves region 3
        {"vpt3", {3000.0, 700.0}, 0, 1000.0},     // where the vapour's volume leaves region 3
        {"vptf3", {2895.68286, 690.0}, 0, 2800.0},
        {"vptg3", {2895.68286, 690.0}, 0, 3000.0},
        {"hptl", {2500.0, 600.0}, 1, 700.0},      // region 1 ends at 662 °F, region 3 takes over
        {"hptd", {2600.0, 680.0}, 1, 1700.0},     // the 2/3 boundary's highest temperature
        {"cpptl", {3000.0, 700.0}, 0, 1000.0},
        {"hgt", {690.0}, 0, 705.6},
        {"hfp", {2900.0}, 0, 3300.0},
        {"condv", {100.0, 300.0}, 1, 0.0},
        {"convt", {0.01, 300.0}, 0, 0.0},
        {"convt", {0.01, 300.0}, 1, 900.0},
        {"steam_h", {20.0, 1.0e5}, 0, -10.0},     // below -3.9 °C region 1 ends
        {"steam_cp", {300.0, 1.0e7}, 1, 2.0e8},   // 16000 psia
    };
    std::vector<std::string> acceptedCalls;
    for (const Edge& edge : edges) {
        std::vector<double> inside = edge.state;
        std::vector<double> outside = edge.state;
        outside[edge.moving] = edge.outside;
        if (!accepts(edge.routine, inside) || accepts(edge.routine, outside)) {
            ADD_FAILURE() << "no edge between " << ::testing::PrintToString(call(edge.routine, inside)) << " and "
                          << ::testing::PrintToString(call(edge.routine, outside));
            continue;
        }
        double& in = inside[edge.moving];
        double& out = outside[edge.moving];
        for (std::vector<double> middle = inside;;) {  // down to two neighbouring doubles
            const double x = middle[edge.moving] = in + (out - in) / 2.0;
            if (x == in || x == out) break;
            (accepts(edge.routine, middle) ? in : out) = x;
        }
        if (edge.margin > 0.0) out = in + std::copysign(edge.margin * std::fabs(in), out - in);
        const auto refused = probe(call(edge.routine, outside));
        EXPECT_EQ(refused.exitStatus, 1) << ::testing::PrintToString(call(edge.routine, outside));
        EXPECT_NE(refused.out.find(" IN "), std::string::npos) << refused.out;
        for (std::string& arg : call(edge.routine, inside)) acceptedCalls.push_back(std::move(arg));
        acceptedCalls.emplace_back("--");
    }
    // Every accepted edge in one process, which must run to its end.
    const auto accepted = probe(acceptedCalls);
    EXPECT_EQ(accepted.exitStatus, 0) << accepted.out;
    EXPECT_NE(accepted.out.find("end of probe\n"), std::string::npos);
}

TEST(SteamProcessEnd, Region3AndItsSearchRefuseAtTheirLimits) {
    // comt3: the lowest temperature is exclusive, the highest inclusive.
    expectReport(probe({"comt3", "0.05", "636"}), "   OUT OF RANGE IN  COMT3    VOL =  0.50000000000000003D-01\n"
                                                  "                            TEMP =  0.63600000000000000D+03\n");
    const auto high = probe({"comt3", "0.05", "1124.45", "--", "comt3", "0.0207", "636.0000001"});
    EXPECT_EQ(high.exitStatus, 0) << high.out;

    // The search's lowest pressure, 2002.78 psia, inside region 3's volumes (liquid at
    // 650 °F): accepted; just below it the search refuses before it starts.
    EXPECT_EQ(probe({"vpt3l", "2002.78", "650"}).exitStatus, 0);
    expectReport(probe({"vpt3l", "2002.7799999", "650"}), "   OUT OF RANGE IN  VPT3L   PRES =  0.20027799998999999D+04\n");

    // A vapour search where the vapour's volume lies beyond region 3's: no root, 100
    // steps, no convergence.
    expectReport(probe({"vpt3d", "2100", "662.5"}), "  NON CONVERGENT IN VPT3D   PRES =  0.21000000000000000D+04\n"
                                                    "                            TEMP =  0.66250000000000000D+03\n");
}

TEST(SteamProcessEnd, SaturatedSearchesAcceptAMillionthAcrossTheLine) {
    const double t = 690.0;
    const double pline = vireo::steam::saturationPressure(t);
    const auto text = [](double x) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", x);
        return std::string(buffer);
    };
    EXPECT_EQ(probe({"vptf3", text(pline * (1.0 - 0.9e-6)), "690"}).exitStatus, 0);
    EXPECT_EQ(probe({"vptg3", text(pline * (1.0 + 0.9e-6)), "690"}).exitStatus, 0);
    expectReport(probe({"vptf3", text(pline * (1.0 - 1.1e-6)), "690"}), "   OUT OF RANGE IN  VPTF3   PRES =  0.28956796");
    expectReport(probe({"vptg3", text(pline * (1.0 + 1.1e-6)), "690"}), "   OUT OF RANGE IN  VPTG3   PRES =  0.28956860");
}

TEST(SteamProcessEnd, NaNIsOutOfRangeInRegion3AndItsSearch) {
    expectReport(probe({"comt3", "nan", "700"}), "   OUT OF RANGE IN  COMT3    VOL =                      NaN\n");
    for (const char* entry : {"vpt3", "vpt3l", "vpt3d", "vptf3", "vptg3"}) {
        expectReport(probe({entry, "nan", "700"}), "PRES =                      NaN\n");
    }
    expectReport(probe({"vpt3l", "5000", "nan"}), "OUT OF RANGE IN  COMT3 ");
    // The conductivity at a volume with no density.
    expectReport(probe({"convt", "0", "100"}), "   OUT OF RANGE IN  CONDV    VOL =  0.00000000000000000D+00\n"
                                               "                            TEMP =  0.21200000000000000D+03\n");
}

TEST(SteamProcessEnd, SiFormsEndAtTheLiquidLimit) {
    // -10 °C is 14 °F: the liquid side's region 1 refuses it.
    expectReport(probe({"steam_h", "-10", "101325"}), "   OUT OF RANGE IN  COMT1   PRES =  0.14697563098346388D+02\n"
                                                      "                            TEMP =  0.14000000000000000D+02\n");
}

TEST(SteamProcessEnd, FurtherPropertiesEndAtTheirLimits) {
    // The surface tension is 0 at the critical temperature and a hair of 1e-6 °R above it;
    // beyond, and for NaN, there is none.
    const auto critical = probe({"surft", "705.2", "--", "surft", "705.2000009"});
    EXPECT_EQ(critical.exitStatus, 0);
    EXPECT_NE(critical.out.find("surft 0\nsurft 0\n"), std::string::npos) << critical.out;
    expectReport(probe({"surft", "705.25"}), "   OUT OF RANGE IN   SURFT  TEMP =  0.70525000000000000D+03\n");
    expectReport(probe({"surft", "nan"}), "   OUT OF RANGE IN   SURFT  TEMP =                      NaN\n");
    // The refractive index holds to 1.1 µm and not beyond; NaN is out of range too.
    const auto longest = probe({"refrac", "14.7", "70", "1.1"});
    EXPECT_EQ(longest.exitStatus, 0);
    EXPECT_NE(longest.out.find("refrac 1.32"), std::string::npos) << longest.out;
    for (const char* lambda : {"1.2", "nan"}) {
        expectReport(probe({"refrac", "14.5", "70", lambda}),
                     "   OUT OF RANGE IN  REFRAC  PRES =  0.14500000000000000D+02\n"
                     "                            TEMP =  0.70000000000000000D+02\n");
    }
    expectReport(probe({"refrac", "nan", "70", "0.5"}), "   OUT OF RANGE IN  REFRAC  PRES =                      NaN\n");
}

TEST(SteamProcessEnd, CriticalFlowEndsOutsideItsRange) {
    // The edges themselves are accepted, among them highly superheated steam at low
    // pressure (quality 1, its superheat reported) and wet steam of quality 0.7 or more.
    const auto edges = probe({"crflo", "8000", "960", "--", "crflo", "14.7", "1850", "--", "crflo", "100", "950",
                              "--", "crflo", "3208.2", "950"});
    EXPECT_EQ(edges.exitStatus, 0) << edges.out;
    EXPECT_NE(edges.out.find("spt 400\ncrflo 661220"), std::string::npos) << edges.out;
    EXPECT_NE(edges.out.find("spt 1370.89"), std::string::npos) << edges.out;
    EXPECT_NE(edges.out.find("spt 0\ncrflo 5954"), std::string::npos) << edges.out;
    const auto report = [](const std::string& p, const std::string& h) {
        return "   OUT OF RANGE IN  CRFLO   PRES = " + p + "\n                            ENTH = " + h + "\n";
    };
    expectReport(probe({"crflo", "8000.001", "1200"}), report(" 0.80000010000000002D+04", " 0.12000000000000000D+04"));
    expectReport(probe({"crflo", "-1", "1200"}), report("-0.10000000000000000D+01", " 0.12000000000000000D+04"));
    expectReport(probe({"crflo", "100", "799.9"}), report(" 0.10000000000000000D+03", " 0.79989999999999998D+03"));
    expectReport(probe({"crflo", "100", "1860.1"}), report(" 0.10000000000000000D+03", " 0.18600999999999999D+04"));
    expectReport(probe({"crflo", "100", "nan"}), report(" 0.10000000000000000D+03", "                     NaN"));
    // At the critical pressure from 960 Btu/lbm only; quality 0.68 at 100 psia.
    expectReport(probe({"crflo", "3208.234758592228", "959"}), "   OUT OF RANGE IN  CRFLO   PRES =");
    expectReport(probe({"crflo", "100", "900"}), report(" 0.10000000000000000D+03", " 0.90000000000000000D+03"));
    // At 0 psia there is no saturation temperature for the superheat: the process ends
    // there, not with a flux of NaN.
    expectReport(probe({"crflo", "0", "1200"}), "   OUT OF RANGE IN  TSATP   PRES =  0.00000000000000000D+00\n");
}
