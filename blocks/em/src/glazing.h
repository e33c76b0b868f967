// Glazing optics as values: the reflectance of one interface by polarisation, the
// transmittance of a stack of absorbing layers and of a stack with a coherent thin film,
// the four incidence-angle modifiers of GTLOSS, soiling, and the clear-sky radiance that
// weights the sky integration. Single precision, as the exported routines of routines.h
// (which wrap these for outside callers) hand their values on. Angles are radians unless
// a name says degrees.
#ifndef VIREO_EM_GLAZING_H
#define VIREO_EM_GLAZING_H

#include <array>

namespace vireo::em::glazing {

// Refraction angle for an incidence angle and the ratio of the indices (incident over
// transmitted); beyond the critical angle it is taken as 90 degrees, where the interface
// reflects everything.
float refractionAngle(float incidence, float ratio);
// Fresnel reflectance of one interface for s- and p-polarised light. Below about 1e-6
// rad both are the normal-incidence value, where the general forms are 0/0.
float reflectanceS(float incidence, float ratio);
float reflectanceP(float incidence, float ratio);
// ((a - b) / (a + b))^2, the reflectance at normal incidence between indices a and b.
float normalReflectance(float a, float b);
// Attenuation of one pass (exp(-alpha d / cos theta)) and of a double pass through a
// layer; a layer met at grazing incidence passes nothing unless it is clear.
float onePass(float extinction, float thickness, float angle);
float twoPasses(float extinction, float thickness, float angle);
// Incoherent combination of two reflectances.
float combinedReflectance(float ri, float rj);
// Coherent reflectance of a thin film between reflectances r23 and r34 at phase thickness delta.
float filmReflectance(float r23, float r34, float delta);
// Phase thickness 4 pi n d cos(theta) / lambda of a film of index n and thickness d.
float phaseThickness(float angle, float wavelength, float thickness, float index);

// The layer algebra of the absorbing stack: transmittance and reflectance of one layer
// between two interfaces with multiple reflections. Each is 0 (or the plain reflectance)
// where the multiple reflections do not end (every interface reflecting fully, nothing
// absorbed), instead of 0/0.
float layerTransmittance(float t1, float t2, float r2, float r1, float a1, float a2);              // transi
float innerTransmittance(float t12, float r12, float r23, float a1, float a2);                    // transqi
float innerReflectance(float r01, float t12, float r12, float a2);                                // rhoqi
float layerReflectance(float r12, float t12, float r23, float a2);                                // rhoi
float backReflectance(float q2, float tq2, float t2, float q1, float t12, float p2, float r12);    // rhoquerij
float stackTransmittance(float t1, float t2, float t3, float t12, float t23, float p3, float r23,
                         float q21);                                                              // trans123

// Media 0 to 4: air (index 1) in front, then the media behind the outer surface; layers
// 1 to 3 are media 1 to 3.
struct Stack {
    std::array<float, 5> index{1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, 3> extinction{};  // per unit of the thicknesses
    std::array<float, 3> thickness{};
};

// Transmittance of three absorbing layers, mean of both polarisations.
float absorbingStack(float incidence, const Stack& stack);
// Transmittance of the lossless stack whose medium 3 is a film of the given thickness,
// coherent at the given wavelength (both in the same unit).
float filmStack(float incidence, const std::array<float, 5>& index, float wavelength, float thickness);

// Incidence-angle modifiers, the angle in degrees.
float sjerps(float incidenceDegrees, float index0, float index1);
float ashrae(float b0, float incidenceDegrees);
// The modifiers of the two stacks are ratios to the stack at a small reference angle
// (1e-4 and 1e-5 rad), not at 0.
inline constexpr float kAbsorbingReference = 1.0e-4f;
inline constexpr float kFilmReference = 1.0e-5f;
float absorbingStackModifier(float incidenceDegrees, const Stack& stack);
float filmStackModifier(float incidenceDegrees, const std::array<float, 5>& index, float wavelength,
                        float thickness);

// Soiling factor for a loss s at normal incidence, the angle in degrees; 1 for no soiling.
float soiling(float loss, float incidenceDegrees);
// Incidence angle (degrees) of a sky element at an azimuth and an elevation on a surface of
// an azimuth and a tilt, all degrees.
float skyElementIncidence(float azimuth, float elevation, float surfaceAzimuth, float tilt);
// Radiance of a sky element relative to the zenith's, in the clear-sky distribution for a
// polluted atmosphere (gradation 1 - exp(-0.32 / cos Z), indicatrix 0.856 + 16 exp(-3 eta)
// + 0.3 cos^2 eta); degrees. An element at or below the horizon gives 0.
float skyRadiance(float sunAzimuth, float sunElevation, float azimuth, float elevation);

// The glazing of a GTLOSS step: the model and what it reads, with the reference
// transmittance of the stack models formed once. A model number outside 0..3 is the
// film stack.
struct Glazing {
    int model = 0;  // 0 Sjerps, 1 ASHRAE, 2 absorbing stack, 3 film stack
    float b0 = 0.0f;
    Stack stack{};
    float wavelength = 0.0f;
    float film = 0.0f;
};

class Modifier {
public:
    explicit Modifier(const Glazing& glazing);
    // The modifier at an incidence angle in degrees: finite and not below 0; 0 where the
    // glazing's values give no finite transmittance.
    float operator()(float incidenceDegrees) const;

private:
    float raw(float incidenceDegrees) const;

    Glazing g_;
    float reference_ = 1.0f;  // the stack at its reference angle
};

}  // namespace vireo::em::glazing

#endif
