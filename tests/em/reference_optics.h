// Glazing optics for the tests, in double precision and written apart from the library:
// Fresnel's equations in their cosine form (Born and Wolf, Principles of Optics, 1.5.2),
// the transmittance of a glass slab in air with absorption (Duffie and Beckman, Solar
// Engineering of Thermal Processes, chapter 5: tau = a (1 - r)^2 / (1 - (r a)^2) per
// polarisation), the incoherent combination of two reflectances, a
// coherent film between two interfaces (Airy, in intensities), and the CIE standard
// general sky (CIE S 011/E:2003) with the parameters of its type 13, the clear sky of a
// polluted atmosphere.
#ifndef VIREO_TEST_REFERENCE_OPTICS_H
#define VIREO_TEST_REFERENCE_OPTICS_H

#include <array>
#include <cmath>

namespace reference {

inline constexpr double kPiOptics = 3.14159265358979323846;

struct Fresnel {
    double s, p;
    double mean() const { return 0.5 * (s + p); }
};

// Reflectances of the interface from index n1 to n2 at incidence theta (radians).
inline Fresnel fresnel(double theta, double n1, double n2) {
    const double sinT = n1 / n2 * std::sin(theta);
    if (sinT >= 1.0) return {1.0, 1.0};
    const double ci = std::cos(theta), ct = std::sqrt(1.0 - sinT * sinT);
    const double rs = (n1 * ci - n2 * ct) / (n1 * ci + n2 * ct);
    const double rp = (n1 * ct - n2 * ci) / (n1 * ct + n2 * ci);
    return {rs * rs, rp * rp};
}

// Refraction angle by Snell's law from medium 0 (index n0) into index n.
inline double refracted(double theta0, double n0, double n) { return std::asin(n0 / n * std::sin(theta0)); }

// A slab of index n in air, extinction k per unit length, thickness l.
inline double slabInAir(double theta, double n, double k, double l) {
    const Fresnel r = fresnel(theta, 1.0, n);
    const double a = std::exp(-k * l / std::cos(refracted(theta, 1.0, n)));
    const auto tau = [a](double rho) { return a * (1.0 - rho) * (1.0 - rho) / (1.0 - rho * rho * a * a); };
    return 0.5 * (tau(r.s) + tau(r.p));
}

inline double incoherent(double r1, double r2) { return r1 + r2 * (1.0 - r1) * (1.0 - r1) / (1.0 - r1 * r2); }

// Reflectance of a film between interface reflectances r1 and r2 at round-trip phase delta.
inline double airy(double r1, double r2, double delta) {
    const double s = 2.0 * std::sqrt(r1 * r2) * std::cos(delta);
    return (r1 + r2 + s) / (1.0 + r1 * r2 + s);
}

// Transmittance of air | media 1, 2 | film 3 | medium 4, the film coherent at a wavelength,
// every interface's reflectance the mean of both polarisations.
inline double filmStack(double theta0, const std::array<double, 5>& n, double wavelength, double thickness) {
    std::array<double, 5> phi{theta0};
    for (int j = 1; j < 5; ++j) phi[j] = refracted(theta0, n[0], n[j]);
    std::array<double, 4> r{};
    for (int i = 0; i < 4; ++i) r[i] = fresnel(phi[i], n[i], n[i + 1]).mean();
    const double delta = 4.0 * kPiOptics * n[3] * thickness * std::cos(phi[3]) / wavelength;
    return 1.0 - incoherent(r[0], incoherent(r[1], airy(r[2], r[3], delta)));
}

// Relative sky radiance L / L(zenith), angles in degrees: gradation 1 + a exp(b / cos Z),
// indicatrix 1 + c (exp(d chi) - exp(d pi/2)) + e cos^2 chi.
inline double cieSkyType13(double sunAzimuth, double sunElevation, double azimuth, double elevation) {
    const double a = -1.0, b = -0.32, c = 16.0, d = -3.0, e = 0.30;
    const double rad = kPiOptics / 180.0;
    const double z = (90.0 - elevation) * rad, zs = (90.0 - sunElevation) * rad;
    const double chi = std::acos(std::cos(zs) * std::cos(z) +
                                 std::sin(zs) * std::sin(z) * std::cos((azimuth - sunAzimuth) * rad));
    const auto gradation = [&](double zenith) { return 1.0 + a * std::exp(b / std::cos(zenith)); };
    const auto indicatrix = [&](double angle) {
        return 1.0 + c * (std::exp(d * angle) - std::exp(d * kPiOptics / 2.0)) + e * std::cos(angle) * std::cos(angle);
    };
    return indicatrix(chi) * gradation(z) / (indicatrix(zs) * gradation(0.0));
}

}  // namespace reference

#endif
