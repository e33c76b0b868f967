// GH2GT as a block: the sun, the incidence angle and the orbit factor it finds for the
// sky models, what the library's value routines give for the same clock time and site
// (to the bit whether or not the instance keeps the terms of its day); its checks and its
// count of steps above the solar constant; and the blocks of the second sign convention.
#include "block_harness.h"
#include "message_capture.h"
#include "routines.h"
#include "tilted.h"
#include "vireo_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

using vireo_test::BlockInstance;

namespace {

vireo_test::BlockFunction em(const char* routine) { return vireo_test::library("VireoEM").block(routine); }

// Golden, Colorado, in the first sign convention; from July on a site further south.
constexpr float kLatitude = 39.742f, kLongitude = 105.179f, kZone = 7.0f, kLaterLatitude = 30.0f;

// An hour of 2024 (a leap year) with a made-up sky, on a surface turned a little west of
// south, with daylight saving from April to October; all twelve inputs.
struct Hour {
    float year = 2024, month, day, hour, minute = 30, second = 0, dst;
    float g, dh, tilt = 35, azimuth = 190, rho = 0.2f;
    std::vector<float> inputs() const { return {g, dh, tilt, azimuth, rho, year, month, day, hour, minute, second, dst}; }
};

template <class Fn>
void forEachHourOf2024(Fn&& fn) {
    const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int n = 0;
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= days[m - 1]; ++d)
            for (int h = 0; h < 24; ++h, ++n) {
                Hour x;
                x.month = float(m);
                x.day = float(d);
                x.hour = float(h);
                x.dst = m >= 4 && m <= 10 ? 1.0f : 0.0f;
                const float day = std::max(0.0f, std::sin(std::numbers::pi_v<float> * (float(h) - 5.0f) / 14.0f));
                x.g = 900.0f * day * (0.6f + 0.4f * std::sin(0.37f * float(n)));
                x.dh = x.g * (0.15f + 0.8f * (0.5f + 0.5f * std::cos(0.53f * float(n))));
                fn(x, n);
            }
}

std::vector<float> params(int model, float latitude = kLatitude) { return {float(model), latitude, kLongitude, kZone}; }

// The same step from the value routines: sunae with the model's slot as its series (so
// models 1 and 2 take the series of epoch 1980 and 2000), inang, Spencer's orbit factor
// on the day with leap years folded, and the sky model.
struct Composed : vireo::em::TiltedIrradiance {
    float cosIncidence, cosZenith, e0;
};
Composed composed(int model, const Hour& x, float latitude) {
    int mode = model + 1;
    float azimuth, elevation, declination, hourAngle;
    const float longitude = kLongitude, zone = kZone;
    sunae(&mode, &x.year, &x.month, &x.day, &x.hour, &x.minute, &x.second, &x.dst, &latitude, &longitude, &zone,
          &azimuth, &elevation, &declination, &hourAngle);
    const int one = 1;
    float theta, flag;
    inang(&one, &latitude, &x.tilt, &x.azimuth, &declination, &hourAngle, &theta, &flag);
    int y = int(x.year), m = int(x.month), d = int(x.day);
    float n = float(idoy(&y, &m, &d));
    if (n > 59 && int(x.year) % 4 == 0) n -= 1;
    const float e0 = vireo::em::spencerEccentricity(n);
    const auto t = vireo::em::tiltedIrradiance(static_cast<vireo::em::SkyModel>(model),
                                               {theta, 90 - elevation, azimuth, e0}, {x.tilt, x.azimuth, x.rho},
                                               x.g, x.dh);
    const double k = std::numbers::pi / 180;
    return {t, float(std::cos(theta * k)), float(std::cos((90 - elevation) * k)), e0};
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// The block takes the incidence and zenith cosines from the sines and cosines it has at
// hand, where the value routines give angles that are turned back into cosines, each
// turn good to about 3e-7: the same to 1e-4 W/m2 beside what such an error in a cosine
// near 0 (a grazing or a low sun) and a few units of the last place make of a value.
bool sameIrradiance(const std::vector<float>& a, const Composed& t) {
    const double b[4] = {t.total, t.beam, t.diffuse, t.ground};
    const double cosines = 6e-7 / std::max(1e-3f, std::fabs(t.cosIncidence)) + 6e-7 / std::max(1e-3f, t.cosZenith);
    // A circumsolar part takes what the sun's direction leaves beside the beam, and so
    // shares the beam's rounding.
    for (int i = 0; i < 4; ++i)
        if (!(std::fabs(a[i] - b[i]) <= 1e-4 + std::max(std::fabs(b[i]), std::fabs(b[1])) * (4e-6 + cosines)))
            return false;
    return a.size() == 4;
}

}  // namespace

TEST(Gh2gt, AYearOfHoursAsTheValueRoutinesGiveItWithTheDayKeptOrNot) {
    // Models on each of the three sun series, and Perez; halfway through the year the
    // latitude changes as an editor would change it, and the surface turns every few hours
    // as a fed tilt and azimuth would turn it.
    const vireo_test::MessageCapture quiet(vireo_test::MessageCapture::StandardOutput::captured);
    for (int model : {0, 1, 2, 8}) {
        BlockInstance year(em("em0008"), {.inputs = 12, .parameters = params(model)});
        ASSERT_EQ(year.init(), 0);
        int mismatches = 0;
        forEachHourOf2024([&](Hour x, int n) {
            x.tilt = 35.0f + 25.0f * float(n / 5 % 3);
            x.azimuth = 190.0f - 70.0f * float(n / 7 % 4);
            const float latitude = n < 182 * 24 ? kLatitude : kLaterLatitude;
            year.BP[1] = latitude;
            const std::vector<float> kept = year.step(x.inputs());
            // A fresh instance computes every term afresh.
            BlockInstance fresh(em("em0008"), {.inputs = 12, .parameters = params(model, latitude)});
            fresh.init();
            const auto t = composed(model, x, latitude);
            if (!sameBits(kept, fresh.step(x.inputs())) || !sameIrradiance(kept, t)) {
                if (++mismatches <= 3)
                    ADD_FAILURE() << "model " << model << " " << x.month << "-" << x.day << " " << x.hour << ": "
                                  << kept[0] << " " << kept[1] << " " << kept[2] << " " << kept[3] << " vs " << t.total
                                  << " " << t.beam << " " << t.diffuse << " " << t.ground;
            }
        });
        EXPECT_EQ(mismatches, 0) << "model " << model;
        // The same day of another year is another day.
        for (float y : {2023.0f, 2024.0f}) {
            Hour x;
            x.year = y;
            x.month = 3;
            x.day = 1;
            x.hour = 10;
            x.dst = 0;
            x.g = 500;
            x.dh = 100;
            const auto t = composed(model, x, kLaterLatitude);
            EXPECT_TRUE(sameIrradiance(year.step(x.inputs()), t)) << y;
        }
    }
}

TEST(Gh2gt, ModelNumberAndSiteAreCheckedAtInitialisation) {
    BlockInstance nine(em("em0008"), {.inputs = 9, .parameters = params(9)});
    nine.BP[0] = 9.4f;
    EXPECT_EQ(nine.init(), 0);
    EXPECT_EQ(nine.IP[10], 10);
    for (float bad : {9.6f, -0.6f, NAN}) {
        BlockInstance b(em("em0008"), {.inputs = 9, .parameters = params(0), .number = 12});
        b.BP[0] = bad;
        const auto m = vireo_test::messagesOf([&] { EXPECT_EQ(b.init(), 305127); });
        ASSERT_EQ(m.codes, std::vector<int>{305127}) << bad;
        EXPECT_EQ(m.records[0]["i10"], "1");
        EXPECT_EQ(m.records[0]["s1"], "GH2GT");
        EXPECT_EQ(m.records[0]["i3"], "12");
    }
    BlockInstance site(em("em0008"), {.inputs = 9, .parameters = {0, 95, 105, 7}});
    EXPECT_EQ(vireo_test::messagesOf([&] { site.init(); }).codes, std::vector<int>{305033});
}

TEST(Gh2gt, StepsAboveTheSolarConstantAreWarnedOnceAndCountedAtEachEnd) {
    // A December noon at 60 N on a south wall: the beam ratio nears its bound of 10.
    BlockInstance b(em("em0008"), {.inputs = 9, .parameters = {0, 60, 105, 7}});
    ASSERT_EQ(b.init(), 0);
    const std::vector<float> bright = {400, 50, 90, 180, 0.2f, 2023, 12, 21, 12};
    const std::vector<float> dark = {0, 0, 90, 180, 0.2f, 2023, 12, 21, 0};
    auto m = vireo_test::messagesOf([&] {
        b.step(dark);
        b.last();  // nothing yet to report
        b.step(bright);
        b.step(dark);
        b.step(bright);
        b.last();
        b.last();  // a second end-of-run pass repeats nothing
    });
    ASSERT_EQ(m.codes, (std::vector<int>{205177, 205178}));
    EXPECT_GT(std::stof(m.records[0]["r0"]), 1367.0f);
    EXPECT_EQ(m.records[1]["i8"], "2");
    EXPECT_GT(b.OUT[0], 1367.0f);  // not limited
    // The run resumed: one more such step is reported at the next end.
    m = vireo_test::messagesOf([&] {
        b.step(bright);
        b.last();
    });
    ASSERT_EQ(m.codes, std::vector<int>{205178});
    EXPECT_EQ(m.records[0]["i8"], "1");
}

TEST(Gh2gt, NoInputGivesAnythingButNumbers) {
    // Dates and clock times no calendar has, skies no instrument reads, surfaces turned
    // any way: finite outputs from every model.
    std::mt19937 random(18);
    auto in = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(random); };
    const vireo_test::MessageCapture quiet(vireo_test::MessageCapture::StandardOutput::captured);
    for (int model = 0; model < vireo::em::kSkyModels; ++model) {
        BlockInstance b(em("em0008"), {.inputs = 12, .parameters = params(model)});
        ASSERT_EQ(b.init(), 0);
        for (int i = 0; i < 500; ++i) {
            const std::vector<float> x = {in(-100, 3000), in(-100, 3000), in(-400, 400), in(-720, 720), in(-1, 2),
                                          in(-1e6f, 1e6f), in(-20, 40), in(-50, 80), in(-1e4f, 1e4f), in(-1e3f, 1e3f),
                                          in(-1e3f, 1e3f), in(-30, 30)};
            for (float v : b.step(x)) ASSERT_TRUE(std::isfinite(v)) << model << " step " << i;
        }
    }
}

TEST(Gh2gt, NoModelGivesMoreThanThePhysicsAllows) {
    // Any sky with 0 <= Dh <= G <= 1400 W/m2 (most of them no sky gives: a bright global
    // under a low sun, a diffuse one at night), any sun position (hours of 2024 at latitudes
    // from pole to pole), any surface, every model of both sign conventions: every part
    // finite and at least 0; the beam at most the extraterrestrial normal irradiance on
    // the surface, I0 cos(theta); the sky's part at most what the sun's direction leaves
    // there beside the beam (circumsolar light is sunlight) and three times the horizontal
    // diffuse (the brightest the models make the rest of the sky: a horizon band, or
    // Gueymard's clear sky at sunrise); the ground at most twice the global (a ground at
    // most white, brightened towards the sun at most twofold). Tolerance: the sun and the
    // incidence found twice in single precision, 1e-5 of I0.
    std::mt19937 random(55);
    auto in = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(random); };
    const vireo_test::MessageCapture quiet(vireo_test::MessageCapture::StandardOutput::captured);
    const float latitudes[] = {-89.9f, -60, -23, 0, 35, 66, 89.9f};
    for (const char* routine : {"em0008", "em0108"})
        for (int model = 0; model < vireo::em::kSkyModels; ++model)
            for (float latitude : latitudes) {
                // GH2GT2 counts longitude and zone east: the same site.
                const bool east = routine == std::string("em0108");
                BlockInstance b(em(routine), {.inputs = 12, .parameters = {float(model), latitude,
                                                                           east ? -kLongitude : kLongitude,
                                                                           east ? -kZone : kZone}});
                ASSERT_EQ(b.init(), 0);
                for (int i = 0; i < 100; ++i) {
                    Hour x;
                    x.month = float(1 + int(in(0, 12)) % 12);
                    x.day = float(1 + int(in(0, 28)) % 28);
                    x.hour = float(int(in(0, 24)) % 24);
                    x.minute = in(0, 60);
                    x.dst = 0;
                    x.g = in(0, 1400);
                    // Skies near clear and near overcast as often as between.
                    const float share = std::pow(in(0, 1), 3.0f);
                    x.dh = (i % 2 == 0 ? share : 1 - share) * x.g;
                    x.tilt = in(0, 180);
                    x.azimuth = in(0, 360);
                    x.rho = in(0, 1);
                    const auto out = b.step(x.inputs());
                    const Composed sun = composed(model, x, latitude);
                    const double i0 = 1367.0 * sun.e0, slack = 1e-5 * i0;
                    const double sunward = i0 * std::max(0.0f, sun.cosIncidence);
                    const std::string where = std::string(routine) + " model " + std::to_string(model) + " at " +
                                              std::to_string(latitude) + " step " + std::to_string(i);
                    for (float v : out) ASSERT_TRUE(std::isfinite(v) && v >= 0) << where;
                    EXPECT_LE(out[1], sunward + slack) << where;
                    EXPECT_LE(out[2], std::max(0.0, sunward - out[1]) + 3 * x.dh + slack) << where;
                    EXPECT_LE(out[3], 2 * x.g + slack) << where;
                }
            }
}

TEST(SecondSignConvention, WrappersGiveTheWrappedBlocksOutputsOnConvertedParameters) {
    // Berlin, 13.4 E and one hour east of Greenwich, is longitude -13.4 and zone 23 of
    // the first convention.
    struct Wrapper {
        const char* routine;
        const char* wrapped;
        int inputs;
        std::vector<float> east;
        int longitude, zone;
    };
    const Wrapper wrappers[] = {
        {"em0106", "em0006", 7, {0, 52.5f, 13.4f, 1}, 2, 3},
        {"em0120", "em0020", 7, {1, 52.5f, 13.4f, 1, 60, 4}, 2, 3},
        {"em0108", "em0008", 12, {8, 52.5f, 13.4f, 1}, 2, 3},
        {"em0112", "em0012", 7, {52.5f, 13.4f, 1}, 1, 2},
    };
    for (const Wrapper& w : wrappers) {
        BlockInstance east(em(w.routine), {.inputs = w.inputs, .parameters = w.east});
        ASSERT_EQ(vireo_test::messagesOf([&] { EXPECT_EQ(east.init(), 0); }).codes, std::vector<int>{}) << w.routine;
        EXPECT_NEAR(east.BP[w.longitude], -13.4f, 1e-5f) << w.routine;
        EXPECT_EQ(east.BP[w.zone], 23.0f) << w.routine;
        BlockInstance west(em(w.wrapped), {.inputs = w.inputs, .parameters = east.BP});
        ASSERT_EQ(west.init(), 0);
        EXPECT_EQ(east.IP, west.IP) << w.routine;
        for (float hour = 0.5f; hour < 24; hour += 2.5f) {
            std::vector<float> in = {2024, 6, 21, hour, 10, 0, 1};
            if (w.inputs == 12) in = {700, 200, 30, 170, 0.2f, 2024, 6, 21, hour, 10, 0, 1};
            EXPECT_TRUE(sameBits(east.step(in), west.step(in))) << w.routine << " " << hour;
        }
    }
    // Either end of the date line is 180 of the first convention; any zone east lands in 0..23.
    for (float longitude : {180.0f, -180.0f, 540.0f}) {
        BlockInstance b(em("em0106"), {.inputs = 4, .parameters = {0, -17, longitude, 12}});
        vireo_test::messagesOf([&] { b.init(); });
        EXPECT_EQ(b.BP[2], 180.0f) << longitude;
        EXPECT_EQ(b.BP[3], 12.0f);
    }
    BlockInstance zone(em("em0106"), {.inputs = 4, .parameters = {0, 40, -105, -7}});
    zone.init();
    EXPECT_EQ(zone.BP[2], 105.0f);
    EXPECT_EQ(zone.BP[3], 7.0f);
    // Apia, 171.75 W on UTC+13: hours east beyond 12 stay east (-13), not 11 hours west,
    // which would put the sun a day off.
    BlockInstance apia(em("em0106"), {.inputs = 4, .parameters = {2, -13.83f, -171.75f, 13}});
    ASSERT_EQ(apia.init(), 0);
    EXPECT_EQ(apia.BP[3], -13.0f);
    BlockInstance apiaWest(em("em0006"), {.inputs = 4, .parameters = {2, -13.83f, 171.75f, -13}});
    ASSERT_EQ(apiaWest.init(), 0);
    EXPECT_TRUE(sameBits(apia.step({2024, 6, 21, 12}), apiaWest.step({2024, 6, 21, 12})));
}

TEST(SecondSignConvention, TheWrappedBlocksChecksNameTheWrapper) {
    BlockInstance b(em("em0106"), {.inputs = 4, .parameters = {5, 95, 13.4f, 1}, .number = 31});
    const auto m = vireo_test::messagesOf([&] { EXPECT_EQ(b.init(), 305011); });
    ASSERT_EQ(m.codes, (std::vector<int>{305011, 305033}));
    for (const auto& r : m.records) {
        EXPECT_EQ(r["s1"], "SUNAE2");
        EXPECT_EQ(r["i3"], "31");
    }
    // A change during the run reaches the wrapped block as it comes, unconverted.
    BlockInstance g(em("em0112"), {.inputs = 4, .parameters = {52.5f, 13.4f, 1}});
    ASSERT_EQ(g.init(), 0);
    g.BP[1] = 20.0f;
    BlockInstance west(em("em0012"), {.inputs = 4, .parameters = {52.5f, 20.0f, 23}});
    vireo_test::messagesOf([&] { west.init(); });
    EXPECT_TRUE(sameBits(g.step({2024, 6, 21, 9}), west.step({2024, 6, 21, 9})));
}
