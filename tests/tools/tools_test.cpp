#include "catalogue.h"
#include "run_vireo.h"
#include "vireo_tools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>

using namespace vireo_tools;

TEST(Catalogue, EveryLineIsWellFormed) {
    EXPECT_EQ(catalogueProblems(), std::vector<std::string>{});
    EXPECT_NE(findMessage(4030), nullptr);
    for (const Message& m : allMessages()) {
        // Six-digit codes carry a severity digit 1..4; four-digit codes are notices.
        const bool notice = m.code >= 1000 && m.code <= 9999;
        const bool graded = m.code >= 100000 && m.code <= 499999;
        EXPECT_TRUE(notice || graded) << m.code;
    }
}

TEST(Catalogue, LinesAndTraceRecords) {
    int ints[16] = {};
    float reals[16] = {2.5f};
    char rows[2][1024];
    std::memset(rows, ' ', sizeof rows);
    std::memcpy(rows[0], "model.vireo", 11);
    const MessageValues v{ints, reals, &rows[0][0], 1024};

    EXPECT_EQ(formatLine(4001, v), "Compiling model.vireo");
    EXPECT_EQ(traceRecord(4001, v), "4001\ts0=model.vireo");
    ints[1] = 3;
    ints[2] = 1;
    EXPECT_EQ(traceRecord(4007, v), "4007\ti1=3\ti2=1");
    EXPECT_EQ(formatLine(304009, v), "Error 304009: the model holds no block");
    // A code without text still tells its number and severity.
    EXPECT_EQ(formatLine(205999, v), "Warning 205999");
    EXPECT_EQ(traceRecord(205999, v), "205999");
    EXPECT_EQ(formatLine(9876, v), "Message 9876");
    EXPECT_EQ(severityWord(405029), "Fatal error");
    EXPECT_EQ(severityWord(105000), "Note");

    // Blocks without RP or SP pass null arrays.
    const MessageValues bare{ints, nullptr, nullptr, 1024};
    EXPECT_EQ(traceRecord(4001, bare), "4001\ts0=");
    EXPECT_EQ(formatValue(bare, Slot{'r', 0}), "0");
    EXPECT_EQ(formatValue(v, Slot{'r', 0}), "2.5");
}

TEST(Msg, WritesOneLineAndCountsErrors) {
    const std::string trace = vireo_test::scratchDirectory("tools") + "/trace.txt";
    setenv("VIREO_MSG_TRACE", trace.c_str(), 1);
    vireo_tools_reset_error_count();
    int ints[16] = {4030};
    char row[80];
    std::memset(row, ' ', sizeof row);
    std::memcpy(row, "text with trailing blanks", 25);
    testing::internal::CaptureStdout();
    msg(ints, nullptr, row, 80);
    ints[0] = 304009;
    msg(ints, nullptr, nullptr, 1024);
    ints[0] = 204901;
    msg(ints, nullptr, nullptr, 1024);
    const std::string out = testing::internal::GetCapturedStdout();
    unsetenv("VIREO_MSG_TRACE");
    // An empty value takes one of its blanks with it.
    EXPECT_EQ(out, "text with trailing blanks\nError 304009: the model holds no block\n"
                   "Warning 204901: the directory cannot be created\n");
    EXPECT_EQ(vireo_tools_error_count(), 1);
    EXPECT_EQ(vireo_test::codesOf(vireo_test::readTrace(trace)), (std::vector<int>{4030, 304009, 204901}));
}

TEST(Id, WritesTheIdentificationAnswer) {
    float in = 0, out = 0;
    int ip[10] = {0, -1};
    char sp[1024];
    std::memset(sp, 0, sizeof sp);
    char names[1024];
    std::memset(names, ' ', sizeof names);
    std::memcpy(names, "E0 GON", 6);
    const int v[12] = {2, 1, 3, 1, 11, 4, 5, 1, 7, 0, 2, 3};
    id(&in, &out, ip, nullptr, nullptr, nullptr, sp, names, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6],
       &v[7], &v[8], &v[9], &v[10], &v[11], 80, 1024);
    EXPECT_EQ(ip[0], 2);
    EXPECT_EQ(ip[1], 1);
    EXPECT_EQ(in, 3.0f);
    EXPECT_EQ(out, 1.0f);
    EXPECT_EQ(ip[2], 11);
    EXPECT_EQ(ip[3], 1);
    EXPECT_EQ(ip[4], 0);
    EXPECT_EQ(ip[5], 2);
    EXPECT_EQ(ip[6], 3);
    EXPECT_EQ(ip[7], 4);
    EXPECT_EQ(ip[8], 5);
    EXPECT_EQ(ip[9], 7);
    EXPECT_EQ(std::string(sp, 7), "E0 GON ");
    EXPECT_EQ(sp[1023], ' ');

    // A NUL-padded name list (the wrapper blocks build theirs so) ends at its first NUL.
    char nul[1024] = "SUNAE2";
    id(&in, &out, ip, nullptr, nullptr, nullptr, sp, nul, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6],
       &v[7], &v[8], &v[9], &v[10], &v[11], 0, 0);
    EXPECT_EQ(std::string(sp, 8), "SUNAE2  ");
}

TEST(Calendar, DayNumbersAndTheirInverse) {
    auto jdn = [](int y, int m, int d) {
        int r = 0;
        julian(&y, &m, &d, &r);
        return r;
    };
    EXPECT_EQ(jdn(2000, 1, 1), 2451545);
    EXPECT_EQ(jdn(1980, 1, 1), 2444240);
    EXPECT_EQ(jdn(1858, 11, 17), 2400001);  // the modified Julian day epoch, MJD 0 at midnight
    EXPECT_EQ(jdn(2000, 3, 1) - jdn(2000, 2, 28), 2);
    EXPECT_EQ(jdn(1900, 3, 1) - jdn(1900, 2, 28), 1);  // 1900 was no leap year

    // (julian - 1) + fraction of the day gives back the date and the fraction.
    for (int y : {1899, 1900, 1980, 2000, 2023, 2024}) {
        for (int m = 1; m <= 12; ++m) {
            for (int d : {1, 15, 28}) {
                const double t = jdn(y, m, d) - 1 + 0.75;
                int yy = 0, mm = 0;
                float dd = 0;
                jd2dat(&t, &yy, &mm, &dd);
                EXPECT_EQ(yy, y);
                EXPECT_EQ(mm, m);
                EXPECT_FLOAT_EQ(dd, d + 0.75f);
            }
        }
    }
    const double nan = std::nan("");
    int yy = 0, mm = 0;
    float dd = 0;
    jd2dat(&nan, &yy, &mm, &dd);  // no undefined conversion, some valid date
    EXPECT_TRUE(mm >= 1 && mm <= 12);

    int y = 2024, m = 12, d = 31, h = 23;
    EXPECT_EQ(idoy(&y, &m, &d), 366);
    y = 2023;
    EXPECT_EQ(idoy(&y, &m, &d), 365);
    m = 3;
    d = 1;
    EXPECT_EQ(idoy(&y, &m, &d), 60);
    m = 1;
    d = 1;
    h = 0;
    EXPECT_EQ(ihoy(&y, &m, &d, &h), 1);
    m = 12;
    d = 31;
    h = 23;
    EXPECT_EQ(ihoy(&y, &m, &d, &h), 8760);
}

namespace {
float cubic(const float* x) { return *x * *x * *x - 2.0f * *x - 5.0f; }  // root 2.0945515
float positive(const float* x) { return *x * *x + 1.0f; }
float step(const float* x) { return *x < 0.3f ? -1.0f : 1.0f; }  // no root, a jump
}  // namespace

TEST(Xroot, BrentAndBisectionAndTheirStatus) {
    const float lo = 0.0f, hi = 3.0f, tol = 1e-6f;
    const int steps = 100;
    for (int mode : {1, 0}) {
        int status = 99;
        const float r = xroot(cubic, &lo, &hi, &tol, &mode, &steps, &status);
        EXPECT_EQ(status, 0);
        EXPECT_NEAR(r, 2.0945515f, 2e-6f) << "mode " << mode;

        status = 99;
        xroot(positive, &lo, &hi, &tol, &mode, &steps, &status);
        EXPECT_EQ(status, -1);

        // The interval shrinks onto the jump until no float lies inside: converged.
        status = 99;
        const float zero = 0.0f;
        const float j = xroot(step, &lo, &hi, &zero, &mode, &steps, &status);
        EXPECT_EQ(status, 0) << "mode " << mode;
        EXPECT_NEAR(j, 0.3f, 1e-6f);

        const int few = 3;
        status = 99;
        xroot(cubic, &lo, &hi, &tol, &mode, &few, &status);
        EXPECT_EQ(status, -2);
    }
}

TEST(Deviates, ReproducibleFromTheSeedAndWellDistributed) {
    int seed1 = -1536, state1 = 0, seed2 = -1536, state2 = 0;
    float t1[97], t2[97];
    std::vector<float> a, b;
    for (int k = 0; k < 50; ++k) {
        a.push_back(ran1(&seed1, &state1, t1));
        b.push_back(ran1(&seed2, &state2, t2));
    }
    EXPECT_EQ(a, b);
    int seed3 = 17, state3 = 0;
    float t3[97];
    EXPECT_NE(ran1(&seed3, &state3, t3), a[0]);

    // Moments of 20000 uniform and normal deviates, within about five standard errors.
    double su = 0, suu = 0, sn = 0, snn = 0;
    const int n = 20000;
    for (int k = 0; k < n; ++k) {
        const double u = ran1(&seed1, &state1, t1);
        ASSERT_GT(u, 0.0);
        ASSERT_LT(u, 1.0);
        su += u;
        suu += u * u;
        const double g = gasdev(&seed2, &state2, t2);
        sn += g;
        snn += g * g;
    }
    EXPECT_NEAR(su / n, 0.5, 0.011);
    EXPECT_NEAR(suu / n - (su / n) * (su / n), 1.0 / 12.0, 0.005);
    EXPECT_NEAR(sn / n, 0.0, 0.035);
    EXPECT_NEAR(snn / n, 1.0, 0.05);
}

TEST(Text, StripAndUpperCase) {
    char out[10];
    int length = -1, status = -1;
    const int trailing = 0, leading = 1, both = 2;
    strip("  ab  ", " ", &trailing, out, &length, &status, 6, 1, 10);
    EXPECT_EQ(std::string(out, 10), "  ab      ");
    EXPECT_EQ(length, 4);
    EXPECT_EQ(status, 0);
    strip("  ab  ", " ", &leading, out, &length, &status, 6, 1, 10);
    EXPECT_EQ(std::string(out, 10), "ab        ");
    EXPECT_EQ(length, 4);
    strip("  ab  ", " ", &both, out, &length, &status, 6, 1, 10);
    EXPECT_EQ(length, 2);
    strip("      ", " ", &trailing, out, &length, &status, 6, 1, 10);
    EXPECT_EQ(length, 0);
    strip("abcdefghijkl", " ", &trailing, out, &length, &status, 12, 1, 10);
    EXPECT_EQ(status, 1);  // cut, and said so
    EXPECT_EQ(std::string(out, 10), "abcdefghij");

    lc2uc("Brussels-1", out, &status, 10, 10);
    EXPECT_EQ(std::string(out, 10), "BRUSSELS-1");
    EXPECT_EQ(status, 0);
    lc2uc("ab", out, &status, 2, 10);
    EXPECT_EQ(std::string(out, 10), "AB        ");
}

TEST(Paths, KindsFromTheEnvironmentAndDefaults) {
    const char* old = std::getenv("VIREO_HOME");
    const std::string saved = old ? old : "";
    char path[1032];
    int length = -1;
    int kind = 6;
    setenv("VIREO_HOME", "/opt/vireo", 1);
    get_paths(&kind, path, &length, 1024);
    EXPECT_STREQ(path, "/opt/vireo/");
    EXPECT_EQ(length, 11);
    kind = 5;
    unsetenv("VIREO_INCLUDE_DIR");
    get_paths(&kind, path, &length, 1032);
    EXPECT_STREQ(path, "/opt/vireo/include/");
    unsetenv("VIREO_HOME");
    kind = 6;
    get_paths(&kind, path, &length, 1024);
    EXPECT_GT(length, 0);
    EXPECT_EQ(path[length - 1], '/');
    kind = 77;
    get_paths(&kind, path, &length, 1024);
    EXPECT_EQ(length, 0);
    EXPECT_STREQ(path, "");
    // A directory too long for the buffer is no directory at all, never a cut one.
    setenv("VIREO_HOME", ("/" + std::string(1100, 'x')).c_str(), 1);
    kind = 6;
    get_paths(&kind, path, &length, 1024);
    EXPECT_EQ(length, 0);
    if (saved.empty()) unsetenv("VIREO_HOME");
    else setenv("VIREO_HOME", saved.c_str(), 1);

    int os = -1, lf = -1;
    getos(&os);
    getlenoflf(&lf);
    EXPECT_EQ(os, 0);
    EXPECT_EQ(lf, 2);
}
