// Volume of (p, h) and (p, s), and pressure and temperature of (h, s): back to the state
// the forward routines describe, and the wet region's identities.
#include "steam_frame.h"
#include "steam_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace steam_test;

namespace {

double vph(double p, double h) { return vph_(&p, &h); }
double vps(double p, double s) { return vps_(&p, &s); }
double vphd(double p, double h) { return vphd_(&p, &h); }
double phs(double h, double s) { return phs_(&h, &s); }
double ths(double h, double s) { return ths_(&h, &s); }
double hps(double p, double s) { return hps_(&p, &s); }

class SteamVolume : public ::testing::Test {
protected:
    void SetUp() override { resetMemo(); }
};

}  // namespace

TEST_F(SteamVolume, SuperheatedStatesGiveBackTheirVolumePressureAndTemperature) {
    for (const double p : {1.0, 14.7, 200.0, 1000.0, 2000.0, 2600.0, 3000.0, 4000.0, 8000.0}) {
        const double low = p <= pc() ? vireo::steam::saturationTemperatureOf(p) + 1.0 : kCriticalTemperature + 5.0;
        for (const double above : {0.0, 15.0, 60.0, 200.0, 500.0}) {
            const double t = low + above;
            if (t > 1600.0 || !vireo::steam::vapourSideAccepts(p, t)) continue;
            const double h = hptd(p, t), s = sptd(p, t), v = vptd(p, t);
            if (h < 500.0 || s < 0.804) continue;
            const std::string where = "p " + std::to_string(p) + " T " + std::to_string(t);
            // The temperature within the inverse's tolerance moves v by dv/dT times it;
            // near saturation at high pressure that is a few parts in a thousand.
            const double relative = p > 2000.0 && above < 20.0 ? 5e-3 : 1e-3;
            EXPECT_NEAR(vph(p, h), v, relative * v) << where;
            EXPECT_NEAR(vps(p, s), v, relative * v) << where;
            // s within 4e-5 and T within a tenth of a degree or so.
            EXPECT_NEAR(phs(h, s), p, 2e-3 * p) << where;
            EXPECT_NEAR(ths(h, s), t, 0.2) << where;
        }
    }
}

TEST_F(SteamVolume, WetRegionFollowsTheSaturationLine) {
    for (const double p : {1.0, 14.7, 100.0, 1000.0, 2500.0}) {
        const double vg = vgp(p), hf = hfp(p), hg = hgp(p), sg = sgp(p);
        EXPECT_NEAR(vph(p, hg), vg, 1e-9 * vg) << p;
        EXPECT_NEAR(vps(p, sg), vg, 1e-9 * vg) << p;
        // Clapeyron at the saturated liquid gives back its volume within the formulation's
        // own consistency; below it the straight line goes on (no liquid-side test).
        EXPECT_NEAR(vph(p, hf), vfp(p), 2e-3 * vg + 1e-3) << p;
        EXPECT_LT(vph(p, hf - 10.0), vph(p, hf));
        // Wet states of (h, s) give back their pressure and saturation temperature.
        const double s = sfp(p) + 0.5 * (sg - sfp(p));
        const double h = hps(p, s);
        EXPECT_NEAR(phs(h, s), p, 2e-3 * p) << p;
        EXPECT_NEAR(ths(h, s), tsatp(p), 0.2) << p;
        double pv = p, hv = 0.5 * (hf + hg);
        EXPECT_NEAR(pvphw_(&pv, &hv), p * vph(p, hv), 1e-9 * p * vg);
    }
    // Below the saturation pressure of 662 °F the superheated side never takes region 3.
    resetMemo();
    vphd(2300.0, 1150.0);
    EXPECT_NE(std::string(stmlvn_.name[2], 6), "VPT3D ");
}
