#include "glazing.h"

#include "Numbers.h"
#include "angles.h"
#include "routines.h"

#include <cmath>

namespace vireo::em::glazing {
namespace {

// Below this incidence the Fresnel forms are 0/0 in single precision.
constexpr float kNormalIncidence = 1.0e-6f;

float square(float x) { return x * x; }
float atMostOne(float r) { return r > 1.0f ? 1.0f : r; }

// One interface of a stack for one polarisation: its reflectance function.
using Reflectance = float (*)(float, float);

}  // namespace

float refractionAngle(float incidence, float ratio) { return block::asinClamped(std::sin(incidence) * ratio); }

float normalReflectance(float a, float b) {
    const float sum = a + b;
    return sum == 0.0f ? 1.0f : square((a - b) / sum);
}

float reflectanceS(float incidence, float ratio) {
    if (std::fabs(incidence) < kNormalIncidence) return normalReflectance(ratio, 1.0f);
    const float t = refractionAngle(incidence, ratio);
    const float below = square(std::sin(incidence + t));
    return below == 0.0f ? 1.0f : atMostOne(square(std::sin(incidence - t)) / below);
}

float reflectanceP(float incidence, float ratio) {
    if (std::fabs(incidence) < kNormalIncidence) return normalReflectance(ratio, 1.0f);
    const float t = refractionAngle(incidence, ratio);
    const float below = square(std::tan(incidence + t));
    return below == 0.0f ? 1.0f : atMostOne(square(std::tan(incidence - t)) / below);
}

float onePass(float extinction, float thickness, float angle) {
    const float depth = extinction * thickness;
    if (depth == 0.0f) return 1.0f;
    const float c = std::cos(angle);
    return c > 0.0f ? std::exp(-depth / c) : 0.0f;
}

float twoPasses(float extinction, float thickness, float angle) {
    const float depth = extinction * thickness;
    if (depth == 0.0f) return 1.0f;
    const float c = std::cos(angle);
    return c > 0.0f ? std::exp(-2.0f * depth / c) : 0.0f;
}

float combinedReflectance(float ri, float rj) {
    const float below = 1.0f - ri * rj;
    return below > 0.0f ? atMostOne(ri + rj * square(1.0f - ri) / below) : 1.0f;
}

float filmReflectance(float r23, float r34, float delta) {
    const float s = 2.0f * std::sqrt(r23) * std::sqrt(r34) * std::cos(delta);
    const float below = 1.0f + r23 * r34 + s;
    return below > 0.0f ? atMostOne((r23 + r34 + s) / below) : 1.0f;
}

float phaseThickness(float angle, float wavelength, float thickness, float index) {
    return 4.0f * kPi * index * thickness * std::cos(angle) / wavelength;
}

float layerTransmittance(float t1, float t2, float r2, float r1, float a1, float a2) {
    const float below = 1.0f - r2 * r1 * a2;
    return below > 0.0f ? a1 * t1 * t2 / below : 0.0f;
}

float innerTransmittance(float t12, float r12, float r23, float a1, float a2) {
    const float below = 1.0f - r12 * r23 * a2;
    return below > 0.0f ? a1 * t12 / below : 0.0f;
}

float innerReflectance(float r01, float t12, float r12, float a2) {
    const float below = 1.0f - r12 * r01 * a2;
    return below > 0.0f ? a2 * r01 * t12 / below : 0.0f;
}

float layerReflectance(float r12, float t12, float r23, float a2) {
    const float below = 1.0f - r23 * r12 * a2;
    return below > 0.0f ? r12 + a2 * t12 * r23 * t12 / below : r12;
}

float backReflectance(float q2, float tq2, float t2, float q1, float t12, float p2, float r12) {
    const float below = t12 - (p2 - r12) * q1;
    return below > 0.0f ? q2 + q1 * tq2 * t2 / below : q2;
}

float stackTransmittance(float t1, float t2, float t3, float t12, float t23, float p3, float r23, float q21) {
    const float below = (t23 - q21 * (p3 - r23)) * t12;
    return below > 0.0f ? t1 * t2 * t3 / below : 0.0f;
}

namespace {

// The angles in media 0 to 4 for an incidence on medium 0.
std::array<float, 5> anglesThrough(float incidence, const std::array<float, 5>& n) {
    std::array<float, 5> phi{incidence};
    for (int j = 1; j < 5; ++j) phi[j] = refractionAngle(phi[j - 1], n[j - 1] / n[j]);
    return phi;
}

float absorbingStackFor(Reflectance reflectance, const std::array<float, 5>& phi, const Stack& s,
                        const std::array<float, 3>& a1, const std::array<float, 3>& a2) {
    const auto& n = s.index;
    const float r01 = reflectance(phi[0], n[0] / n[1]), r12 = reflectance(phi[1], n[1] / n[2]);
    const float r23 = reflectance(phi[2], n[2] / n[3]), r34 = reflectance(phi[3], n[3] / n[4]);
    const float t01 = 1.0f - r01, t12 = 1.0f - r12, t23 = 1.0f - r23, t34 = 1.0f - r34;
    const float tp1 = layerTransmittance(t01, t12, r12, r01, a1[0], a2[0]);
    const float tp2 = layerTransmittance(t12, t23, r23, r12, a1[1], a2[1]);
    const float tp3 = layerTransmittance(t23, t34, r34, r23, a1[2], a2[2]);
    const float tpq2 = innerTransmittance(t12, r12, r23, a1[1], a2[1]);
    const float q1 = innerReflectance(r01, t12, r12, a2[0]);
    const float q2 = innerReflectance(r12, t23, r23, a2[1]);
    const float p2 = layerReflectance(r12, t12, r23, a2[1]);
    const float p3 = layerReflectance(r23, t23, r34, a2[2]);
    const float q21 = backReflectance(q2, tpq2, tp2, q1, t12, p2, r12);
    return stackTransmittance(tp1, tp2, tp3, t12, t23, p3, r23, q21);
}

}  // namespace

float absorbingStack(float incidence, const Stack& stack) {
    const auto phi = anglesThrough(incidence, stack.index);
    std::array<float, 3> a1{}, a2{};
    for (int j = 0; j < 3; ++j) {
        a1[j] = onePass(stack.extinction[j], stack.thickness[j], phi[j + 1]);
        a2[j] = twoPasses(stack.extinction[j], stack.thickness[j], phi[j + 1]);
    }
    return 0.5f * (absorbingStackFor(reflectanceP, phi, stack, a1, a2) +
                   absorbingStackFor(reflectanceS, phi, stack, a1, a2));
}

float filmStack(float incidence, const std::array<float, 5>& n, float wavelength, float thickness) {
    const auto phi = anglesThrough(incidence, n);
    const float delta = phaseThickness(phi[3], wavelength, thickness, n[3]);
    std::array<float, 4> r{};
    for (int i = 0; i < 4; ++i) {
        const float ratio = n[i] / n[i + 1];
        r[i] = 0.5f * (reflectanceP(phi[i], ratio) + reflectanceS(phi[i], ratio));
    }
    const float r24 = filmReflectance(r[2], r[3], delta);
    const float r14 = combinedReflectance(r[1], r24);
    return 1.0f - combinedReflectance(r[0], r14);
}

float sjerps(float incidenceDegrees, float index0, float index1) {
    const float theta = kRad * incidenceDegrees;
    const float ratio = index0 / index1;
    const float r = 0.5f * (reflectanceP(theta, ratio) + reflectanceS(theta, ratio));
    const float r0 = normalReflectance(index1, index0);
    return r0 < 1.0f ? (1.0f - r) / (1.0f - r0) : 0.0f;
}

float ashrae(float b0, float incidenceDegrees) {
    const float c = std::cos(kRad * incidenceDegrees);
    if (!(c > 0.0f)) return 0.0f;  // at and beyond grazing incidence nothing passes
    const float m = 1.0f - b0 * (1.0f / c - 1.0f);
    return m > 0.0f ? m : 0.0f;
}

float absorbingStackModifier(float incidenceDegrees, const Stack& stack) {
    return absorbingStack(kRad * incidenceDegrees, stack) / absorbingStack(kAbsorbingReference, stack);
}

float filmStackModifier(float incidenceDegrees, const std::array<float, 5>& index, float wavelength,
                        float thickness) {
    return filmStack(kRad * incidenceDegrees, index, wavelength, thickness) /
           filmStack(kFilmReference, index, wavelength, thickness);
}

float soiling(float loss, float incidenceDegrees) {
    if (loss == 0.0f) return 1.0f;
    const float c = std::cos(kRad * incidenceDegrees);
    if (!(c > 0.0f)) return 0.0f;
    const float f = 1.0f - loss * (0.5f + 1.0f / (2.0f * c));
    return f > 0.0f ? f : 0.0f;
}

float skyElementIncidence(float azimuth, float elevation, float surfaceAzimuth, float tilt) {
    const float e = kRad * elevation, b = kRad * tilt;
    const float c = std::cos(kRad * (azimuth - surfaceAzimuth)) * std::cos(e) * std::sin(b) + std::sin(e) * std::cos(b);
    return block::acosClamped(c) / kRad;
}

float skyRadiance(float sunAzimuth, float sunElevation, float azimuth, float elevation) {
    const float zenith = kRad * (90.0f - elevation);
    const float cz = std::cos(zenith);
    if (!(cz > 0.0f)) return 0.0f;
    const float hs = kRad * sunElevation;
    const float eta = block::acosClamped(std::sin(hs) * cz +
                                         std::cos(hs) * std::sin(zenith) * std::cos(kRad * (sunAzimuth - azimuth)));
    const float zs = 0.5f * kPi - hs;
    const float element = (1.0f - std::exp(-0.32f / cz)) * (0.856f + 16.0f * std::exp(-3.0f * eta) +
                                                              0.3f * square(std::cos(eta)));
    const float zenithValue = 0.27385f * (0.856f + 16.0f * std::exp(-3.0f * zs) + 0.3f * square(std::cos(zs)));
    return element / zenithValue;
}

Modifier::Modifier(const Glazing& glazing) : g_(glazing) {
    if (g_.model == 2) {
        g_.stack.extinction[2] = 0.0f;  // the third layer is clear
        reference_ = absorbingStack(kAbsorbingReference, g_.stack);
    } else if (g_.model != 0 && g_.model != 1) {
        reference_ = filmStack(kFilmReference, g_.stack.index, g_.wavelength, g_.film);
    }
}

float Modifier::raw(float incidenceDegrees) const {
    switch (g_.model) {
        case 0: return sjerps(incidenceDegrees, g_.stack.index[0], g_.stack.index[1]);
        case 1: return ashrae(g_.b0, incidenceDegrees);
        case 2: return absorbingStack(kRad * incidenceDegrees, g_.stack) / reference_;
        default: return filmStack(kRad * incidenceDegrees, g_.stack.index, g_.wavelength, g_.film) / reference_;
    }
}

float Modifier::operator()(float incidenceDegrees) const {
    // Values that describe no glazing (an index or a wavelength not above 0, an opaque
    // reference) let nothing through rather than hand a NaN on.
    const float m = raw(incidenceDegrees);
    return std::isfinite(m) && m > 0.0f ? m : 0.0f;
}

namespace {

// The arrays of the exported routines: n(0..4), then three layers.
Stack stackOf(const float* n, const float* alpha, const float* thickness) {
    Stack s;
    for (int j = 0; j < 5; ++j) s.index[j] = n[j];
    for (int j = 0; j < 3; ++j) s.extinction[j] = alpha[j], s.thickness[j] = thickness[j];
    return s;
}
std::array<float, 5> indicesOf(const float* n) { return {n[0], n[1], n[2], n[3], n[4]}; }

}  // namespace
}  // namespace vireo::em::glazing

// The exported routines: arguments by reference, the result in the last one.
extern "C" {

using namespace vireo::em::glazing;

void angout(const float* theta, const float* ratio, float* result) { *result = refractionAngle(*theta, *ratio); }
void refls(const float* theta, const float* ratio, float* result) { *result = reflectanceS(*theta, *ratio); }
void reflp(const float* theta, const float* ratio, float* result) { *result = reflectanceP(*theta, *ratio); }
void transs(const float* theta, const float* ratio, float* result) { *result = 1.0f - reflectanceS(*theta, *ratio); }
void transp(const float* theta, const float* ratio, float* result) { *result = 1.0f - reflectanceP(*theta, *ratio); }
void pol(const float* a, const float* b, float* result) { *result = 0.5f * (*a + *b); }
void refl_0_grad(const float* a, const float* b, float* result) { *result = normalReflectance(*a, *b); }
void absorp1(const float* alpha, const float* d, const float* theta, float* result) {
    *result = onePass(*alpha, *d, *theta);
}
void absorp2(const float* alpha, const float* d, const float* theta, float* result) {
    *result = twoPasses(*alpha, *d, *theta);
}
void reflij(const float* ri, const float* rj, float* result) { *result = combinedReflectance(*ri, *rj); }
void refl24(const float* r23, const float* r34, const float* delta, float* result) {
    *result = filmReflectance(*r23, *r34, *delta);
}
void delta(const float* theta3, const float* lambda, const float* d, const float* n3, float* result) {
    *result = phaseThickness(*theta3, *lambda, *d, *n3);
}
void transi(const float* t1, const float* t2, const float* r2, const float* r1, const float* a1, const float* a2,
            float* result) {
    *result = layerTransmittance(*t1, *t2, *r2, *r1, *a1, *a2);
}
void transqi(const float* t12, const float* r12, const float* r23, const float* a1, const float* a2, float* result) {
    *result = innerTransmittance(*t12, *r12, *r23, *a1, *a2);
}
void rhoqi(const float* r01, const float* t12, const float* r12, const float* a2, float* result) {
    *result = innerReflectance(*r01, *t12, *r12, *a2);
}
void rhoi(const float* r12, const float* t12, const float* r23, const float* a2, float* result) {
    *result = layerReflectance(*r12, *t12, *r23, *a2);
}
void rhoquerij(const float* q2, const float* tq2, const float* t2, const float* q1, const float* t12, const float* p2,
               const float* r12, float* result) {
    *result = backReflectance(*q2, *tq2, *t2, *q1, *t12, *p2, *r12);
}
void trans123(const float* t1, const float* t2, const float* t3, const float* t12, const float* t23, const float* p3,
              const float* r23, const float* q21, float* result) {
    *result = stackTransmittance(*t1, *t2, *t3, *t12, *t23, *p3, *r23, *q21);
}

void sjerps(const float* phi, const float* n, const float* n1, float* result) { *result = sjerps(*phi, n[0], *n1); }
void ashrae(const float* b0, const float* phi, float* result) { *result = ashrae(*b0, *phi); }

void krau_rel(const float* phi, const float* n, float* alpha, const float* thickn, float* result) {
    alpha[2] = 0.0f;  // the third layer is clear, for the caller's later calls too
    *result = absorbingStackModifier(*phi, stackOf(n, alpha, thickn));
}
void krauter(const float* theta0, const float* n, const float* alpha, const float* thickn, float* result) {
    *result = absorbingStack(*theta0, stackOf(n, alpha, thickn));
}
void lanz_rel(const float* phi, const float* n, const float* lambda, const float* d, float* result) {
    *result = filmStackModifier(*phi, indicesOf(n), *lambda, *d);
}
void lanzer(const float* theta0, const float* n, const float* lambda, const float* d, float* result) {
    *result = filmStack(*theta0, indicesOf(n), *lambda, *d);
}
void dirt(const float* s, const float* phi, float* result) { *result = soiling(*s, *phi); }
void incang(const float* a, const float* e, const float* gamma, const float* beta, float* result) {
    *result = skyElementIncidence(*a, *e, *gamma, *beta);
}
void lpdens(const float* sunAzimuth, const float* sunElevation, const float* a, const float* e, float* result) {
    *result = skyRadiance(*sunAzimuth, *sunElevation, *a, *e);
}

}  // extern "C"
