// The memo levels and the call trail, read directly from the shared blocks.
#include "steam_test_support.h"
#include "steam_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <string>

using namespace steam_test;

namespace {

std::string levelName(int level) { return std::string(stmlvn_.name[level - 1], 6); }
double slot(int s) { return stmlvl_.slot[s - 1]; }
std::string saturationName(int row) { return std::string(nust_.name[row], 6); }

int spreg(double x, double y, int n, int level, const char* name) {
    return spreg_(&x, &y, &n, &level, name, 6);
}

// A value no computation produces, to see whether a work-area term was rewritten.
constexpr double kUntouched = -12345.0;

class SteamMemo : public ::testing::Test {
protected:
    void SetUp() override { resetMemo(); }
};

}  // namespace

TEST_F(SteamMemo, SpregRecordsOnAMissAndHitsOnlyOnExactEquality) {
    EXPECT_EQ(spreg(1.5, 2.5, 2, 4, "VFT   "), 0);
    EXPECT_EQ(levelName(4), "VFT   ");
    EXPECT_EQ(slot(7), 1.5);
    EXPECT_EQ(slot(8), 2.5);
    EXPECT_EQ(spreg(1.5, 2.5, 2, 4, "VFT   "), 1);
    // Every character of the name counts, and so does the second argument.
    EXPECT_EQ(spreg(1.5, 2.5, 2, 4, "VFT  X"), 0);
    EXPECT_EQ(levelName(4), "VFT  X");
    EXPECT_EQ(spreg(1.5, 3.5, 2, 4, "VFT  X"), 0);
    EXPECT_EQ(slot(8), 3.5);
    EXPECT_EQ(spreg(std::nextafter(1.5, 2.0), 3.5, 2, 4, "VFT  X"), 0);
    // A name passed with another length counts as 6 characters, cut or blank-padded.
    double x = 1.0, y = 2.0;
    int n = 2, level = 6;
    EXPECT_EQ(spreg_(&x, &y, &n, &level, "VPH", 3), 0);
    EXPECT_EQ(levelName(6), "VPH   ");
    EXPECT_EQ(spreg_(&x, &y, &n, &level, "VPH   and more", 14), 1);
    // Other levels are not touched.
    EXPECT_EQ(levelName(3), "      ");
    EXPECT_EQ(slot(5), 0.0);
    EXPECT_EQ(slot(9), 0.0);
}

TEST_F(SteamMemo, SpregWithOneArgumentIgnoresTheSecondInTestAndStore) {
    EXPECT_EQ(spreg(7.0, 99.0, 1, 5, "HFT   "), 0);
    EXPECT_EQ(slot(9), 7.0);
    EXPECT_EQ(slot(10), 0.0);
    EXPECT_EQ(spreg(7.0, -1.0, 1, 5, "HFT   "), 1);
    EXPECT_EQ(slot(10), 0.0);
    // The second argument is not even read.
    double x = 7.0;
    int n = 1;
    int level = 5;
    EXPECT_EQ(spreg_(&x, nullptr, &n, &level, "HFT   ", 6), 1);
}

TEST_F(SteamMemo, SpregNeverHitsOnNaNAndIgnoresLevelsOutsideTheSeven) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(spreg(nan, nan, 2, 6, "HSV   "), 0);
    EXPECT_EQ(spreg(nan, nan, 2, 6, "HSV   "), 0);
    const MemoLevels levels = stmlvl_;
    const MemoNames names = stmlvn_;
    for (int level : {0, 8, -1, 100}) EXPECT_EQ(spreg(1.0, 2.0, 2, level, "ABCDEF"), 0);
    EXPECT_EQ(std::memcmp(&levels, &stmlvl_, sizeof levels), 0);
    EXPECT_EQ(std::memcmp(&names, &stmlvn_, sizeof names), 0);
}

TEST_F(SteamMemo, PropertyCallRecordsBothLevelsAndItsResult) {
    const double v = vpt1(1000.0, 300.0);
    EXPECT_EQ(levelName(1), "COMT1 ");
    EXPECT_EQ(levelName(2), "VPT1  ");
    EXPECT_EQ(slot(1), 1000.0);
    EXPECT_EQ(slot(2), 300.0);
    EXPECT_EQ(slot(3), 1000.0);
    EXPECT_EQ(slot(4), 300.0);
    EXPECT_EQ(slot(16), v);
    EXPECT_EQ(slot(15), 0.0);  // level 1 keeps its results in the work area
    for (int level = 3; level <= 7; ++level) EXPECT_EQ(levelName(level), "      ");

    const double h = hpt2(100.0, 500.0);
    EXPECT_EQ(levelName(1), "COMT2 ");
    EXPECT_EQ(levelName(2), "HPT2  ");
    EXPECT_EQ(slot(3), 100.0);
    EXPECT_EQ(slot(4), 500.0);
    EXPECT_EQ(slot(16), h);
}

TEST_F(SteamMemo, RepeatedCallReturnsTheRecordedResultWithoutTouchingTheWorkArea) {
    const double first = vpt1(3000.0, 500.0);
    stm1_.beta = kUntouched;
    stm1_.theta = kUntouched;
    EXPECT_EQ(vpt1(3000.0, 500.0), first);
    EXPECT_EQ(stm1_.beta, kUntouched);
    EXPECT_EQ(stm1_.theta, kUntouched);
    // The result comes from the result slot, whatever it holds.
    stmlvl_.slot[15] = 42.0;
    EXPECT_EQ(vpt1(3000.0, 500.0), 42.0);
}

TEST_F(SteamMemo, SecondPropertyOfTheSameStateReusesTheCommonTerms) {
    const double fresh = hpt1(5000.0, 650.0);
    resetMemo();
    vpt1(5000.0, 650.0);
    // wPrime enters only the volume; comt1 leaves it alone when it hits at level 1.
    stm1_.wPrime = kUntouched;
    EXPECT_EQ(hpt1(5000.0, 650.0), fresh);
    EXPECT_EQ(levelName(2), "HPT1  ");
    EXPECT_EQ(stm1_.wPrime, kUntouched);
}

TEST_F(SteamMemo, CommonTermsRecomputeOnlyTheHalfThatChanged) {
    // Marked: a term of pressure alone and one of temperature alone, neither of which
    // the terms of both arguments read.
    comt1(1000.0, 300.0);
    stm1_.pressurePolynomial = kUntouched;
    stm1_.sigmaSeries = kUntouched;
    // New pressure, same temperature: the temperature terms stay.
    comt1(2000.0, 300.0);
    EXPECT_NE(stm1_.pressurePolynomial, kUntouched);
    EXPECT_EQ(stm1_.beta, 2000.0 / stmcon_.value[2]);
    EXPECT_EQ(stm1_.sigmaSeries, kUntouched);
    // New temperature, same pressure: the pressure terms stay.
    stm1_.pressurePolynomial = kUntouched;
    comt1(2000.0, 310.0);
    EXPECT_EQ(stm1_.pressurePolynomial, kUntouched);
    EXPECT_NE(stm1_.sigmaSeries, kUntouched);
    EXPECT_EQ(slot(1), 2000.0);
    EXPECT_EQ(slot(2), 310.0);

    // The same for region 2.
    comt2(100.0, 500.0);
    stm2_.lnBeta = kUntouched;
    stm2_.epsilonSeries = kUntouched;
    comt2(200.0, 500.0);
    EXPECT_EQ(stm2_.lnBeta, std::log(200.0 / stmcon_.value[2]));
    EXPECT_EQ(stm2_.epsilonSeries, kUntouched);
    stm2_.lnBeta = kUntouched;
    comt2(200.0, 600.0);
    EXPECT_EQ(stm2_.lnBeta, kUntouched);
    EXPECT_NE(stm2_.epsilonSeries, kUntouched);
}

TEST_F(SteamMemo, OtherRegionInBetweenRecomputesEverything) {
    comt2(100.0, 500.0);
    const double x = stm2_.x;
    vpt1(100.0, 300.0);  // level 1 now names COMT1
    stm2_.beta = kUntouched;
    stm2_.x = kUntouched;
    // Same (p, T) as recorded by comt2 before, but the level names another routine.
    comt2(100.0, 500.0);
    EXPECT_EQ(stm2_.beta, 100.0 / stmcon_.value[2]);
    EXPECT_EQ(stm2_.x, x);
    // vpt2 after vpt1 at the same state: every term of region 2 is computed afresh.
    const double fresh = vpt2(1000.0, 1000.0);
    resetMemo();
    vpt1(1000.0, 300.0);
    stm2_ = Region2Terms{};
    EXPECT_EQ(vpt2(1000.0, 1000.0), fresh);
}

TEST_F(SteamMemo, StoredSaturationSlopeAnswerServesThePressureButNotTheOtherWay) {
    const double p = psatt(400.0);
    EXPECT_EQ(saturationName(0), "PSATT ");
    EXPECT_EQ(nust_.argument[0], 400.0);
    EXPECT_EQ(nust_.result[0], p);
    EXPECT_EQ(nust_.slope, 0.0);
    // psl1 at the same temperature must compute, to produce the slope.
    EXPECT_EQ(psl1(400.0), p);
    EXPECT_EQ(saturationName(0), "PSL1  ");
    EXPECT_GT(nust_.slope, 0.0);
    // Now psatt and psl take the stored answer: the row keeps the name PSL1.
    nust_.result[0] = 42.0;
    EXPECT_EQ(psatt(400.0), 42.0);
    EXPECT_EQ(psl(400.0), 42.0);
    EXPECT_EQ(saturationName(0), "PSL1  ");
}

TEST_F(SteamMemo, BoundaryAndSaturationShareTheirRows) {
    const double boundary = p23t(700.0);
    EXPECT_EQ(saturationName(0), "P23T  ");
    const double saturation = psatt(700.0);
    EXPECT_EQ(saturationName(0), "PSATT ");
    EXPECT_EQ(p23t(700.0), boundary);
    EXPECT_EQ(saturationName(0), "P23T  ");
    EXPECT_EQ(nust_.result[0], boundary);
    EXPECT_EQ(psatt(700.0), saturation);

    const double t = tsatp(1000.0);
    EXPECT_EQ(saturationName(1), "TSATP ");
    EXPECT_EQ(nust_.argument[1], 1000.0);
    EXPECT_EQ(nust_.result[1], t);
    nust_.result[1] = 42.0;
    EXPECT_EQ(tsatp(1000.0), 42.0);
    EXPECT_EQ(tsl(1000.0), 42.0);
    const double boundaryT = t23p(3000.0);
    EXPECT_EQ(saturationName(1), "T23P  ");
    EXPECT_EQ(nust_.result[1], boundaryT);
    EXPECT_NE(tsatp(1000.0), 42.0);
    // tsatp left the slope of its last saturation-pressure evaluation.
    EXPECT_EQ(saturationName(0), "PSL1  ");
    EXPECT_GT(nust_.slope, 0.0);
}

TEST_F(SteamMemo, SlopeOfTheValueFormComesFromTheMemoOnlyWhereItBelongsToTheTemperature) {
    using vireo::steam::saturationPressureAndSlope;
    const auto centralDifference = [](double t) { return (psatt(t + 1e-3) - psatt(t - 1e-3)) / 2e-3; };
    const double at400 = saturationPressureAndSlope(400.0).dpdT;
    // A stored psatt answer at 500 °F comes with the slope at 400 °F still in nust_: the
    // value form must compute afresh.
    psatt(500.0);
    const auto at500 = saturationPressureAndSlope(500.0);
    EXPECT_NEAR(at500.dpdT, centralDifference(500.0), 1e-7 * at500.dpdT);
    EXPECT_NE(at500.dpdT, at400);
    EXPECT_EQ(nust_.slope, at500.dpdT);
    // A stored answer of its own serves it whole, and psl1_ answers the same pressure.
    const auto again = saturationPressureAndSlope(500.0);
    EXPECT_EQ(again.p, at500.p);
    EXPECT_EQ(again.dpdT, at500.dpdT);
    EXPECT_EQ(psl1(500.0), at500.p);
}

TEST_F(SteamMemo, RangePredicatesRefuseNaNAndLeaveEveryRecordAlone) {
    using namespace vireo::steam;
    vpt1(1000.0, 300.0);
    hpt2(100.0, 500.0);
    psl1(400.0);
    tsatp(1000.0);
    const MemoNames names = stmlvn_;
    const MemoLevels levels = stmlvl_;
    const SaturationMemo saturation = nust_;
    const Region1Terms terms1 = stm1_;
    const Region2Terms terms2 = stm2_;

    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double x : {nan, -nan}) {
        EXPECT_FALSE(inRegion1(x, 300.0));
        EXPECT_FALSE(inRegion1(1000.0, x));
        EXPECT_FALSE(inRegion2(x, 500.0));
        EXPECT_FALSE(inRegion2(100.0, x));
        EXPECT_FALSE(saturationPressureAccepts(x));
        EXPECT_FALSE(saturationTemperatureAccepts(x));
        EXPECT_FALSE(boundary23PressureAccepts(x));
        EXPECT_FALSE(boundary23TemperatureAccepts(x));
    }
    // Nor do states inside, or one that the liquid equations refuse, touch a record.
    EXPECT_TRUE(inRegion1(5000.0, 650.0));
    EXPECT_FALSE(inRegion1(100.0, 680.0));
    EXPECT_TRUE(inRegion2(1000.0, 1000.0));
    EXPECT_TRUE(saturationPressureAccepts(212.0));
    EXPECT_TRUE(saturationTemperatureAccepts(14.7));
    EXPECT_TRUE(boundary23PressureAccepts(700.0));
    EXPECT_TRUE(boundary23TemperatureAccepts(3000.0));
    EXPECT_EQ(std::memcmp(&names, &stmlvn_, sizeof names), 0);
    EXPECT_EQ(std::memcmp(&levels, &stmlvl_, sizeof levels), 0);
    EXPECT_EQ(std::memcmp(&saturation, &nust_, sizeof saturation), 0);
    EXPECT_EQ(std::memcmp(&terms1, &stm1_, sizeof terms1), 0);
    EXPECT_EQ(std::memcmp(&terms2, &stm2_, sizeof terms2), 0);
}

TEST_F(SteamMemo, Region3TermsRecomputeOnlyTheHalfThatChanged) {
    comt3(0.05, 700.0);
    EXPECT_EQ(levelName(1), "COMT3 ");
    // Marked: a term of volume alone and one of temperature alone.
    stm3_.g4[0] = kUntouched;
    stm3_.thetaOnly[0] = kUntouched;
    comt3(0.06, 700.0);
    EXPECT_NE(stm3_.g4[0], kUntouched);
    EXPECT_EQ(stm3_.thetaOnly[0], kUntouched);
    stm3_.g4[0] = kUntouched;
    comt3(0.06, 710.0);
    EXPECT_EQ(stm3_.g4[0], kUntouched);
    EXPECT_NE(stm3_.thetaOnly[0], kUntouched);
    EXPECT_EQ(slot(1), 0.06);
    EXPECT_EQ(slot(2), 710.0);
    // A search evaluates its pressures at one temperature: the temperature half is
    // computed once for all of its steps.
    vpt3l(5000.0, 750.0);
    stm3_.thetaOnly[0] = kUntouched;
    vpt3l(6000.0, 750.0);
    EXPECT_EQ(stm3_.thetaOnly[0], kUntouched);
}

TEST_F(SteamMemo, SearchAndSideRoutinesRecordTheirLevels) {
    const double v = vpt3l(5000.0, 750.0);
    EXPECT_EQ(levelName(3), "VPT3L ");
    EXPECT_EQ(slot(17), v);
    EXPECT_EQ(levelName(2), "PVT3  ");
    EXPECT_EQ(slot(3), v);  // the last pressure evaluated was the root's
    // Same state, other entry: a new search (the name differs).
    stmlvl_.slot[16] = 42.0;
    EXPECT_EQ(vpt3l(5000.0, 750.0), 42.0);
    EXPECT_NEAR(vpt3d(5000.0, 750.0), v, 1e-12 * v);  // the same root, from the other side
    EXPECT_EQ(levelName(3), "VPT3D ");
    // The liquid side above 662 °F: the search at level 3, h at level 2 from the terms
    // the search left (comt3 hits), the side at level 4.
    const double h = hptl(5000.0, 750.0);
    EXPECT_EQ(levelName(4), "HPTL  ");
    EXPECT_EQ(slot(18), h);
    EXPECT_EQ(levelName(3), "VPT3L ");
    EXPECT_EQ(levelName(2), "HVT3  ");
    EXPECT_EQ(h, hvt3(v, 750.0));
    // Below 662 °F the liquid side is region 1 and leaves level 3 alone.
    hptl(5000.0, 650.0);
    EXPECT_EQ(levelName(3), "VPT3L ");
    EXPECT_EQ(levelName(2), "HPT1  ");
}

TEST_F(SteamMemo, SaturatedStatesShareTheirRecordsAsNamed) {
    // vft and vsl are one entry: the second call is a hit.
    const double v = vft(400.0);
    EXPECT_EQ(levelName(4), "VFT   ");
    EXPECT_EQ(slot(7), 400.0);
    EXPECT_EQ(slot(8), 0.0);  // one counted argument: the second slot is not written
    stmlvl_.slot[17] = 42.0;
    EXPECT_EQ(vsl(400.0), 42.0);
    EXPECT_EQ(levelName(4), "VFT   ");
    hsl(400.0);
    EXPECT_EQ(levelName(4), "HFT   ");
    stmlvl_.slot[17] = 43.0;
    EXPECT_EQ(hft(400.0), 43.0);
    ssl(400.0);
    stmlvl_.slot[17] = 44.0;
    EXPECT_EQ(sft(400.0), 44.0);
    // The other entries each have their own name.
    EXPECT_EQ(vgt(400.0), vpt2(psatt(400.0), 400.0));
    EXPECT_EQ(levelName(4), "VGT   ");
    EXPECT_EQ(vfp(psatt(400.0)), vpt1(psatt(400.0), tsatp(psatt(400.0))));
    EXPECT_EQ(levelName(4), "VFP   ");
    EXPECT_NE(v, 0.0);
}

TEST_F(SteamMemo, SaturatedVapourIsTheVapourSideAtTheSaturationPressure) {
    // Up to 662 °F the 2/3 boundary lies at or above the saturation pressure, so the
    // vapour side at saturation is region 2, as the saturated vapour is.
    for (double t = 25.0; t <= 662.0; t += 7.0) {
        EXPECT_EQ(vgt(t), vptd(psatt(t), t)) << t;
        EXPECT_EQ(hgt(t), hptd(psatt(t), t)) << t;
    }
    EXPECT_EQ(vgt(662.0), vptd(psatt(662.0), 662.0));
}

TEST_F(SteamMemo, VapourSideTakesTheBoundaryFrom462F) {
    // Below 462 °F region 2 serves every pressure to 16000 psia and the boundary is not
    // asked; from 462 °F on it is (its memo row shows it).
    EXPECT_EQ(hptd(16000.0, 461.9), hpt2(16000.0, 461.9));
    EXPECT_EQ(saturationName(0), "      ");
    EXPECT_EQ(levelName(2), "HPT2  ");
    hptd(1000.0, 462.0);
    EXPECT_EQ(saturationName(0), "P23T  ");
    EXPECT_EQ(nust_.argument[0], 462.0);
    // Above the boundary the vapour side is region 3.
    const double t = 680.0;
    EXPECT_EQ(vptd(2600.0, t), vpt3d(2600.0, t));
    EXPECT_EQ(vptd(2500.0, t), vpt2(2500.0, t));
}

TEST_F(SteamMemo, LiquidSideChangesRegionJustAbove662F) {
    EXPECT_EQ(vptl(5000.0, 662.0), vpt1(5000.0, 662.0));
    EXPECT_EQ(vcl(5000.0, 662.0), vpt1(5000.0, 662.0));
    EXPECT_EQ(vptl(5000.0, 662.0000001), vpt3l(5000.0, 662.0000001));
    EXPECT_NEAR(vptl(5000.0, 662.0000001), vptl(5000.0, 662.0), 2e-4 * vptl(5000.0, 662.0));
}

TEST_F(SteamMemo, ConductivityRecordsWithoutTestingTheMemo) {
    const double k = condv(1000.0, 1000.0);
    EXPECT_EQ(levelName(5), "CONDV ");
    EXPECT_EQ(slot(9), 1000.0);
    EXPECT_EQ(slot(10), 1000.0);
    EXPECT_EQ(slot(19), k);
    // Another call at the same state computes again.
    stmlvl_.slot[18] = 42.0;
    EXPECT_EQ(condv(1000.0, 1000.0), k);
    // condl records under the same name; convt writes only the temperature, in °F.
    condl(3000.0, 500.0);
    EXPECT_EQ(levelName(5), "CONDV ");
    convt(0.01, 100.0);
    EXPECT_EQ(slot(9), 3000.0);
    EXPECT_EQ(slot(10), 212.0);
}

TEST_F(SteamMemo, NewerPredicatesRefuseNaNAndLeaveEveryRecordAlone) {
    using namespace vireo::steam;
    hptl(5000.0, 750.0);
    hgt(690.0);
    cpptd(2600.0, 680.0);
    condv(1000.0, 1000.0);
    const MemoNames names = stmlvn_;
    const MemoLevels levels = stmlvl_;
    const SaturationMemo saturation = nust_;
    const Region3Terms terms3 = stm3_;

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Region3Search entries[] = {Region3Search::bySaturation, Region3Search::liquid, Region3Search::vapour,
                                     Region3Search::saturatedLiquid, Region3Search::saturatedVapour};
    for (double x : {nan, -nan}) {
        EXPECT_FALSE(inRegion3(x, 700.0));
        EXPECT_FALSE(inRegion3(0.05, x));
        for (Region3Search entry : entries) {
            EXPECT_FALSE(region3VolumeAccepts(x, 700.0, entry));
            EXPECT_FALSE(region3VolumeAccepts(3000.0, x, entry));
        }
        EXPECT_FALSE(liquidSideAccepts(x, 300.0));
        EXPECT_FALSE(liquidSideAccepts(3000.0, x));
        EXPECT_FALSE(vapourSideAccepts(x, 300.0));
        EXPECT_FALSE(vapourSideAccepts(100.0, x));
        EXPECT_FALSE(liquidHeatCapacityAccepts(3000.0, x));
        EXPECT_FALSE(saturatedAtTemperatureAccepts(Phase::liquid, x));
        EXPECT_FALSE(saturatedAtPressureAccepts(Phase::vapour, x));
        EXPECT_FALSE(vapourConductivityAccepts(x, 300.0));
        EXPECT_FALSE(liquidConductivityAccepts(100.0, x));
        EXPECT_FALSE(conductivityAccepts(x, 100.0));
        EXPECT_FALSE(steamStateAccepts(x, 1e5));
        EXPECT_FALSE(steamStateAccepts(100.0, x));
    }
    // Accepted states, searches included, leave the records alone as well.
    EXPECT_TRUE(region3VolumeAccepts(5000.0, 800.0, Region3Search::liquid));
    EXPECT_TRUE(region3VolumeAccepts(pc(), kCriticalTemperature, Region3Search::bySaturation));
    EXPECT_TRUE(saturatedAtPressureAccepts(Phase::liquid, 2900.0));
    EXPECT_TRUE(steamStateAccepts(400.0, 3e7));
    EXPECT_EQ(std::memcmp(&names, &stmlvn_, sizeof names), 0);
    EXPECT_EQ(std::memcmp(&levels, &stmlvl_, sizeof levels), 0);
    EXPECT_EQ(std::memcmp(&saturation, &nust_, sizeof saturation), 0);
    // (up to the last member: the bytes of padding behind it are no record)
    EXPECT_EQ(std::memcmp(&terms3, &stm3_, offsetof(Region3Terms, liquidCorrection) + sizeof(int)), 0);
}
