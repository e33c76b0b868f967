// The start polynomials of the inverse routines: a start value (temperature or slope)
// from two scaled arguments and 20 coefficients. The routines evaluate them in nested
// form; the fit that makes the tables (tests/steam/make_inverse_starts.cpp) needs each
// coefficient's term on its own, so both forms live here side by side.
#ifndef VIREO_PP_INVERSE_START_H
#define VIREO_PP_INVERSE_START_H

namespace vireo::steam {

inline constexpr int kStartTerms = 20;

// The vapour side: cubic in x (pressure or its logarithm), each power of x times a
// quartic in y without constant term, plus a cubic in x alone.
inline double vapourStartValue(const double* c, double x, double y) {
    double s1 = 0.0, s2 = 0.0, s3 = 0.0, s4 = 0.0;
    for (int i = 4; i < 8; ++i) {
        s4 = y * (s4 + c[i]);
        s3 = y * (s3 + c[i + 4]);
        s2 = y * (s2 + c[i + 8]);
        s1 = y * (s1 + c[i + 12]);
    }
    return x * (s3 + (s2 + x * s1) * x) + (c[2] + (c[1] + c[0] * x) * x) * x + c[3] + s4;
}

inline void vapourStartTerms(double x, double y, double* term) {
    const double xPower[4] = {1.0, x, x * x, x * x * x};
    const double yPower[5] = {1.0, y, y * y, y * y * y, y * y * y * y};
    term[0] = xPower[3];
    term[1] = xPower[2];
    term[2] = x;
    term[3] = 1.0;
    // groups of four: s4 (x^0), s3 (x^1), s2 (x^2), s1 (x^3), highest power of y first
    for (int group = 0; group < 4; ++group) {
        for (int k = 0; k < 4; ++k) term[4 + 4 * group + k] = xPower[group] * yPower[4 - k];
    }
}

// The liquid side: a quartic in z without constant term times each power of y up to
// the third, plus a cubic in y alone.
inline double liquidStartValue(const double* c, double y, double z) {
    double s1 = 0.0, s2 = 0.0, s3 = 0.0, s4 = 0.0, s5 = 0.0;
    for (int i = 0; i < 4; ++i) {
        s5 = c[i + 16] + s5 * y;
        s4 = z * (s4 + c[i + 12]);
        s3 = z * (s3 + c[i + 8]);
        s2 = z * (s2 + c[i + 4]);
        s1 = z * (s1 + c[i]);
    }
    return s5 + (s2 + (s3 + s4 * y) * y) * y + s1;
}

inline void liquidStartTerms(double y, double z, double* term) {
    const double yPower[4] = {1.0, y, y * y, y * y * y};
    const double zPower[5] = {1.0, z, z * z, z * z * z, z * z * z * z};
    for (int group = 0; group < 4; ++group) {
        for (int k = 0; k < 4; ++k) term[4 * group + k] = yPower[group] * zPower[4 - k];
    }
    for (int k = 0; k < 4; ++k) term[16 + k] = yPower[3 - k];
}

// The entropy below which a vapour state above 2500 psia takes the corner set of the
// entropy table (a polynomial in p).
inline double cornerEntropy(double p) {
    constexpr double c[7] = {7.20894478e-26, -5.47437942e-21, 1.61833683e-16, -2.43468381e-12,
                             2.03081212e-08, -9.99741636e-05, 1.55077535};
    double s = 0.0;
    for (const double a : c) s = s * p + a;
    return s;
}

// The fitted tables (inverse_starts.inc): per routine the temperature's coefficients,
// then the slope's, per set. tph and tps: three sets (low pressure, high pressure, the
// high-pressure corner near saturation); tphl and tpsl: one.
struct StartTables {
    double tph[120];
    double tps[120];
    double tphl[40];
    double tpsl[40];
};
extern const StartTables kStartTables;

}  // namespace vireo::steam

#endif
