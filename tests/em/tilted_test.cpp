// GH2GT's sky models as a function of the geometry: four of them against the independent
// reference table of tests/em/data, the others against their published forms written here
// in double precision, and all of them on a horizontal surface, at night and on input
// that no sky gives.
#include "reference_table.h"
#include "tilted.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using vireo::em::SkyModel;
using vireo::em::SunGeometry;
using vireo::em::Surface;
using vireo::em::TiltedIrradiance;

namespace {

constexpr double kPi = 3.14159265358979323846;
double rad(double d) { return d * kPi / 180.0; }

// One sky, sun and surface, in the terms of the reference table.
struct Case {
    double incidence, zenith, sunAzimuth, e0;
    double tilt, azimuth, rho;
    double g, dh;
};

TiltedIrradiance model(SkyModel m, const Case& c) {
    return vireo::em::tiltedIrradiance(
        m, {float(c.incidence), float(c.zenith), float(c.sunAzimuth), float(c.e0)},
        {float(c.tilt), float(c.azimuth), float(c.rho)}, float(c.g), float(c.dh));
}

std::vector<Case> referenceCases(std::vector<reference::Row>* rows = nullptr) {
    std::vector<Case> cases;
    for (const auto& r : reference::readTable("irradiance_transposition.csv")) {
        // The table's extraterrestrial irradiance is 1366.1 E0; the models take 1367 E0.
        cases.push_back({r.at("aoi"), r.at("solar_zenith"), r.at("solar_azimuth"), r.at("dni_extra") / 1367.0,
                         r.at("surface_tilt"), r.at("surface_azimuth"), r.at("albedo"), r.at("ghi"), r.at("dhi")});
        if (rows) rows->push_back(r);
    }
    return cases;
}

// The shared terms of the published forms, in double precision.
struct Terms {
    double bh, bn, cb, sb, skyView, groundView, cosTheta, cosZ, ai, rb;
    bool up, facing;
    explicit Terms(const Case& c) {
        bh = std::max(0.0, c.g - c.dh);
        cb = std::cos(rad(c.tilt));
        sb = std::sin(rad(c.tilt));
        skyView = (1 + cb) / 2;
        groundView = (1 - cb) / 2;
        cosTheta = std::cos(rad(c.incidence));
        cosZ = std::cos(rad(c.zenith));
        up = c.zenith < 90;
        facing = c.incidence < 90;
        bn = up ? bh / cosZ : 0;
        ai = up ? std::min(1.0, bn / (1367 * c.e0)) : 0;
        rb = facing && up ? cosTheta / cosZ : 0;
    }
};

double halfTiltCubed(const Case& c) { return std::pow(std::sin(rad(c.tilt / 2)), 3); }

// Temps and Coulson (1977), sky and ground.
double tempsCoulsonSky(const Case& c) {
    const Terms t(c);
    const double k = t.facing && t.up ? t.cosTheta * t.cosTheta * std::pow(std::sin(rad(c.zenith)), 3) : 0;
    return c.dh * t.skyView * (1 + halfTiltCubed(c)) * (1 + k);
}
double tempsCoulsonGround(const Case& c) {
    const Terms t(c);
    const double offset = std::remainder(c.sunAzimuth - c.azimuth, 360.0);
    const double iso = c.rho * c.g * t.groundView;
    if (std::fabs(offset) >= 90) return iso;  // the block's own choice behind the surface
    return iso * (1 + std::pow(std::sin(rad(c.zenith / 2)), 2)) * std::fabs(std::cos(rad(offset)));
}
// Bugler (1977): a twentieth of the beam normal irradiance comes from around the sun;
// the block's beam on the surface is at most ten times the horizontal one.
double bugler(const Case& c) {
    const Terms t(c);
    return std::max(0.0, (c.dh - 0.05 * t.bn * t.cosZ) * t.skyView + 0.05 * t.bn * std::min(t.rb, 10.0) * t.cosZ);
}
// Willmott (1982): the anisotropy index and a tilt factor C(beta) for the rest of the sky,
// taken within 0.5 to 1 by the block.
double willmott(const Case& c) {
    const Terms t(c);
    const double b = rad(c.tilt);
    const double cb = std::clamp(1.0115 - 0.20293 * b - 0.080823 * b * b, 0.5, 1.0);
    return t.up ? c.dh * (t.ai * t.rb + cb * (1 - t.ai)) : cb * c.dh;
}
// Skartveit and Olseth (1986): a zenith region Z for overcast skies.
double skartveitOlseth(const Case& c) {
    const Terms t(c);
    const double z = std::max(0.3 - 2 * t.ai, 0.0);
    return t.up ? c.dh * (t.ai * t.rb + z * t.cb + (1 - t.ai - z) * t.skyView) : c.dh * t.skyView;
}
// Gueymard (1987) with the 1988 erratum's a2, sky and ground.
struct Pair {
    double sky, ground;
};
Pair gueymard(const Case& c) {
    const Terms t(c);
    const double h = (90 - c.zenith) / 100, b = rad(c.tilt), ct = t.cosTheta;
    const double kd = c.dh / c.g;
    const double np = c.g > 0 ? std::clamp(kd <= 0.227 ? 6.6667 * kd - 1.4167 : 1.2121 * kd - 0.1758, 0.0, 1.0) : 1;
    const double fb = (1 - 0.2249 * std::pow(std::sin(b), 2) + 0.1231 * std::sin(2 * b) + 0.0342 * std::sin(4 * b)) / 0.7751;
    const double a0 = -0.897 - 3.364 * h + 3.96 * h * h - 1.909 * std::pow(h, 3);
    const double a1 = 4.448 - 12.962 * h + 34.601 * h * h - 48.784 * std::pow(h, 3) + 27.511 * std::pow(h, 4);
    const double a2 = -2.77 + 9.164 * h - 18.876 * h * h + 23.776 * std::pow(h, 3) - 13.014 * std::pow(h, 4);
    const double a3 = 0.312 - 0.217 * h - 0.805 * h * h + 0.318 * std::pow(h, 3);
    const double rd0 = std::exp(a0 + a1 * ct + a2 * ct * ct + a3 * std::pow(ct, 3)) +
                       (0.408 - 0.323 * h + 0.384 * h * h - 0.17 * std::pow(h, 3)) * fb;
    const double rd1 = t.skyView - 0.5 * (t.groundView + (b * t.cb - t.sb) / kPi);
    const double rhoB = c.rho + std::exp(-1.77 - 1.53 * h - 3.61 * h * h) * std::fabs(std::cos(rad(c.sunAzimuth - c.azimuth)));
    const double kb = c.g > 0 ? std::min(1.0, t.bh / c.g) : 0;
    return {c.dh * (rd0 * (1 - np) + np * rd1), (c.rho * (1 - kb) + rhoB * kb) * c.g * t.groundView};
}
// Perez et al. (1987), eight bins of sky clearness; brightness against 1367 E0. Gives the
// bin's index, or -1 when the clearness lies too near a bin's limit to say which bin
// single precision takes.
const double kLimits[7] = {1.056, 1.253, 1.586, 2.134, 3.23, 5.98, 10.08};
const double kF[8][6] = {
    {0.041, 0.621, -0.105, -0.040, 0.074, -0.031}, {0.054, 0.966, -0.166, -0.016, 0.114, -0.045},
    {0.227, 0.866, -0.250, 0.069, -0.002, -0.062}, {0.486, 0.670, -0.373, 0.148, -0.137, -0.056},
    {0.819, 0.106, -0.465, 0.268, -0.497, -0.029}, {1.020, -0.260, -0.514, 0.306, -0.804, 0.046},
    {1.009, -0.708, -0.433, 0.287, -1.286, 0.166}, {0.936, -1.121, -0.352, 0.226, -2.449, 0.383}};
int perezBin(const Case& c) {
    const Terms t(c);
    const double eps = c.dh > 0 ? (c.dh + t.bn) / c.dh : 99;
    for (double limit : kLimits)
        if (std::fabs(eps - limit) < 1e-4 * limit) return -1;
    return static_cast<int>(std::lower_bound(kLimits, kLimits + 7, eps) - kLimits);
}
double perez(const Case& c, int bin) {
    const Terms t(c);
    const double z = rad(c.zenith);
    const double m = 1 / (t.cosZ + 0.15 * std::pow(93.885 - c.zenith, -1.253));  // Kasten (1966)
    const double delta = c.dh * m / (1367 * c.e0);
    const double* f = kF[bin];
    const double f1 = std::max(0.0, f[0] + f[1] * delta + f[2] * z), f2 = f[3] + f[4] * delta + f[5] * z;
    return std::max(0.0, c.dh * t.skyView * (1 - f1)) + c.dh * f1 * std::max(0.0, t.cosTheta) / std::max(std::cos(rad(85)), t.cosZ) +
           std::max(0.0, c.dh * f2 * t.sb);
}

double tolerance(double expected) { return std::max(1e-4 * std::fabs(expected), 0.01); }

}  // namespace

TEST(SkyModels, IsotropicKlucherHayAndReindlAgainstTheReferenceTable) {
    // The independent implementation agrees where the models are the same: above 10
    // degrees of sun (the two bound the beam ratio of a low sun differently); within
    // 0.1 % or 0.1 W/m2, the table's inputs rounded to 1e-4 and our single precision.
    std::vector<reference::Row> rows;
    const auto cases = referenceCases(&rows);
    ASSERT_EQ(cases.size(), 200u);
    int compared = 0;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const auto& r = rows[i];
        if (c.zenith >= 80) continue;
        ++compared;
        auto near = [](double got, double want) { return std::fabs(got - want) <= std::max(1e-3 * std::fabs(want), 0.1); };
        const auto iso = model(SkyModel::isotropic, c);
        EXPECT_TRUE(near(iso.diffuse, r.at("isotropic"))) << i << ": " << iso.diffuse << " " << r.at("isotropic");
        EXPECT_TRUE(near(iso.beam, r.at("poa_direct"))) << i << ": " << iso.beam << " " << r.at("poa_direct");
        EXPECT_TRUE(near(iso.ground, r.at("ground_diffuse"))) << i;
        EXPECT_FLOAT_EQ(iso.total, iso.beam + iso.diffuse + iso.ground);
        EXPECT_TRUE(near(model(SkyModel::klucher, c).diffuse, r.at("klucher"))) << i;
        const auto hay = model(SkyModel::hay, c);
        EXPECT_TRUE(near(hay.diffuse, r.at("haydavies"))) << i << ": " << hay.diffuse << " " << r.at("haydavies");
        EXPECT_TRUE(near(hay.ground, r.at("ground_diffuse"))) << i;
        const auto reindl = model(SkyModel::reindl, c);
        EXPECT_TRUE(near(reindl.diffuse, r.at("reindl"))) << i << ": " << reindl.diffuse << " " << r.at("reindl");
        EXPECT_TRUE(near(reindl.ground, r.at("ground_diffuse"))) << i;
        for (SkyModel m : {SkyModel::bugler, SkyModel::skartveitOlseth, SkyModel::perez})
            EXPECT_TRUE(near(model(m, c).ground, r.at("ground_diffuse"))) << i;
    }
    EXPECT_GE(compared, 180);
}

TEST(SkyModels, TheOtherModelsAgainstTheirPublishedForms) {
    // Single precision against double: 1e-4 relative or 0.01 W/m2.
    auto cases = referenceCases();
    // Low suns, and suns behind the surface, with a clear and an overcast sky, each a sky
    // that can be: its global irradiance below the extraterrestrial one on the horizontal.
    for (double zenith : {70.0, 80.0, 86.0})
        for (double incidence : {20.0, 60.0, 95.0, 130.0})
            for (double share : {0.15, 0.7}) {
                const double g = 0.8 * 1367 * 1.02 * std::cos(rad(zenith));
                cases.push_back({incidence, zenith, 200, 1.02, 45, 180, 0.25, g, share * g});
            }
    // A dim overcast sky at a low sun, where Perez's F1 comes out below 0.
    cases.push_back({40, 86, 200, 1.0, 45, 180, 0.25, 10, 10});
    int perezCompared = 0;
    for (const Case& c : cases) {
        if (c.zenith >= 87) continue;  // the beam ratio's bound of 10 and the 3-degree sun are the block's own
        const std::string where = "incidence " + std::to_string(c.incidence) + " zenith " + std::to_string(c.zenith) +
                                  " tilt " + std::to_string(c.tilt) + " G " + std::to_string(c.g) + " Dh " + std::to_string(c.dh);
        const auto tc = model(SkyModel::tempsCoulson, c);
        EXPECT_NEAR(tc.diffuse, tempsCoulsonSky(c), tolerance(tempsCoulsonSky(c))) << where;
        EXPECT_NEAR(tc.ground, tempsCoulsonGround(c), tolerance(tempsCoulsonGround(c))) << where;
        EXPECT_NEAR(model(SkyModel::klucher, c).ground, tempsCoulsonGround(c), tolerance(tempsCoulsonGround(c))) << where;
        EXPECT_NEAR(model(SkyModel::bugler, c).diffuse, bugler(c), tolerance(bugler(c))) << where;
        const auto w = model(SkyModel::horizonFactor, c);
        EXPECT_NEAR(w.diffuse, willmott(c), tolerance(willmott(c))) << where;
        EXPECT_NEAR(w.ground, tempsCoulsonGround(c), tolerance(tempsCoulsonGround(c))) << where;
        EXPECT_NEAR(model(SkyModel::skartveitOlseth, c).diffuse, skartveitOlseth(c), tolerance(skartveitOlseth(c))) << where;
        const auto g = model(SkyModel::gueymard, c);
        const Pair pg = gueymard(c);
        EXPECT_NEAR(g.diffuse, pg.sky, tolerance(pg.sky)) << where;
        EXPECT_NEAR(g.ground, pg.ground, tolerance(pg.ground)) << where;
        if (const int bin = perezBin(c); bin >= 0) {
            ++perezCompared;
            EXPECT_NEAR(model(SkyModel::perez, c).diffuse, perez(c, bin), tolerance(perez(c, bin))) << where << " bin " << bin + 1;
        }
    }
    EXPECT_GE(perezCompared, 200);

    // A clearness exactly at a bin's upper limit belongs to that bin: (125 + 7)/125 = 1.056.
    const Case edge{60, 0, 180, 1.0, 60, 180, 0.2, 132, 125};
    EXPECT_NEAR(model(SkyModel::perez, edge).diffuse, perez(edge, 0), tolerance(perez(edge, 0)));
    EXPECT_GT(std::fabs(perez(edge, 0) - perez(edge, 1)), 1.0);  // the bins tell apart here
}

TEST(SkyModels, AHorizontalSurfaceSeesTheHorizontalSky) {
    // Sun from 5 to 85 degrees, clear to overcast skies: no ground in view, the beam as it
    // comes, and the sky's diffuse irradiance as it comes, but for the two models that
    // brighten the horizon by design and for Gueymard's fit, which holds it within 1.5 %
    // up to 70 degrees and drifts above.
    double gueymardAbove70 = 0;
    for (double elevation = 5; elevation <= 85; elevation += 5)
        for (double kt : {0.2, 0.5, 0.75})
            for (double fraction : {0.12, 0.3, 0.6, 1.0}) {
                const double g = kt * 1367 * std::sin(rad(elevation));
                const Case c{90 - elevation, 90 - elevation, 135, 1.0, 0, 180, 0.3, g, fraction * g};
                for (int m = 0; m < vireo::em::kSkyModels; ++m) {
                    const auto t = model(static_cast<SkyModel>(m), c);
                    EXPECT_EQ(t.ground, 0.0f) << m;
                    EXPECT_NEAR(t.beam, c.g - c.dh, 1e-3 * c.g + 1e-3) << m;
                    const double ratio = t.diffuse / c.dh;
                    if (m == int(SkyModel::tempsCoulson) || m == int(SkyModel::klucher)) {
                        EXPECT_GE(ratio, 1.0 - 1e-5) << m;
                    } else if (m == int(SkyModel::gueymard)) {
                        if (elevation <= 70) EXPECT_NEAR(ratio, 1.0, 0.015) << elevation << " " << kt << " " << fraction;
                        else gueymardAbove70 = std::max(gueymardAbove70, std::fabs(ratio - 1));
                    } else {
                        EXPECT_NEAR(ratio, 1.0, 2e-5) << m << " " << elevation << " " << kt << " " << fraction;
                    }
                }
            }
    // The clear-sky fit gives 1.020, 1.058 and 1.131 at 75, 80 and 85 degrees.
    RecordProperty("gueymard_horizontal_drift_above_70", std::to_string(gueymardAbove70));
    EXPECT_LT(gueymardAbove70, 0.135);
}

TEST(SkyModels, NightLowSunAndSkiesNoModelExpects) {
    for (int m = 0; m < vireo::em::kSkyModels; ++m) {
        const auto model_ = static_cast<SkyModel>(m);
        // Night, or a dark sky: nothing at all.
        const auto dark = model(model_, {100, 100, 0, 1.0, 30, 180, 0.2, 0, 0});
        EXPECT_EQ(dark.total, 0.0f) << m;
        EXPECT_EQ(dark.beam + dark.diffuse + dark.ground, 0.0f) << m;
        // A sun below 3 degrees gives no beam, though the sky still spreads its diffuse.
        const auto low = model(model_, {40, 88, 180, 1.0, 60, 180, 0.2, 60, 40});
        EXPECT_EQ(low.beam, 0.0f) << m;
        EXPECT_GT(low.diffuse, 0.0f) << m;
        // A diffuse reading far above the global one (noise): no negative beam or sky, in
        // front of the surface or behind it.
        for (double incidence : {20.0, 100.0}) {
            const auto noisy = model(model_, {incidence, 50, 180, 1.0, 90, 180, 0.2, 100, 400});
            EXPECT_EQ(noisy.beam, 0.0f) << m;
            EXPECT_GE(noisy.diffuse, 0.0f) << m << " " << incidence;
            EXPECT_GE(noisy.ground, 0.0f) << m;
        }
    }
    // An overcast sky as bright as 1400 W/m2 under a sun on the horizon, which no sky gives:
    // Perez's horizon band grows with the sky's brightness, which is held at 1 (a diffuse
    // irradiance along the sun's path as bright as the extraterrestrial one), so a wall
    // turned from the sun gets at most three times the horizontal diffuse.
    EXPECT_LE(model(SkyModel::perez, {180, 89.9, 0, 1.0, 90, 180, 0.2, 1400, 1396}).diffuse, 3 * 1396.0f);
    // A low sun right in front of a steep surface: the beam is at most ten times the
    // horizontal beam (cos 30 / cos 86 is 12.4).
    const auto steep = model(SkyModel::isotropic, {30, 86, 180, 1.0, 90, 180, 0.2, 100, 40});
    EXPECT_FLOAT_EQ(steep.beam, 10.0f * 60.0f);
    // The isotropic model on the horizontal: the diffuse and no ground.
    const auto flat = model(SkyModel::isotropic, {30, 30, 180, 1.0, 0, 180, 0.2, 700, 150});
    EXPECT_FLOAT_EQ(flat.diffuse, 150.0f);
    EXPECT_EQ(flat.ground, 0.0f);
    EXPECT_FLOAT_EQ(flat.total, flat.beam + 150.0f);
    // Gueymard without global irradiance: the overcast ratio and no ground.
    const Case dull{60, 60, 180, 1.0, 60, 180, 0.2, 0, 50};
    const auto g = model(SkyModel::gueymard, dull);
    EXPECT_NEAR(g.diffuse, 50 * (0.75 - 0.5 * (0.25 + (rad(60) * 0.5 - std::sin(rad(60))) / kPi)), 1e-3);
    EXPECT_EQ(g.ground, 0.0f);
    // A surface facing north sees a sun at 350 degrees just off its azimuth: the ground
    // towards it is the brighter one.
    const Case north{20, 40, 350, 1.0, 60, 0, 0.2, 600, 150};
    EXPECT_GT(model(SkyModel::tempsCoulson, north).ground, model(SkyModel::isotropic, north).ground);
}

TEST(SkyModels, NoInputGivesAnythingButNumbers) {
    std::mt19937 random(18);
    auto in = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    for (int i = 0; i < 20000; ++i) {
        const Case c{in(0, 180), in(-1, 181), in(-720, 720), in(0, 2), in(-180, 360), in(-720, 720), in(-1, 2),
                     in(-100, 3000), in(-100, 3000)};
        for (int m = 0; m < vireo::em::kSkyModels; ++m) {
            const auto t = model(static_cast<SkyModel>(m), c);
            ASSERT_TRUE(std::isfinite(t.total) && std::isfinite(t.beam) && std::isfinite(t.diffuse) && std::isfinite(t.ground))
                << m << ": " << c.incidence << " " << c.zenith << " " << c.e0 << " " << c.tilt << " " << c.g << " " << c.dh;
        }
    }
}
