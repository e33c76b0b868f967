// The heat-transfer coefficients of a glazed solar air collector, shared by the steady
// field (SCAIRC) and the one with thermal capacity (SCAIRCD), and the latter's row of
// segments: a cover above an absorber across an air gap, fins of the absorber's material
// down to a back plate that divide the space into rectangular air channels, insulation
// behind the back plate.
//
// Only the utility library's air properties are called, so a test can hold each
// coefficient against its published form, and step a row, directly. Temperatures in
// degC, lengths in m, coefficients in W/(m2 K); everything in double, the properties at
// float arguments as the utility library takes them.
#ifndef VIREO_ST_AIR_COLLECTOR_H
#define VIREO_ST_AIR_COLLECTOR_H

#include <cstddef>
#include <span>

namespace vireo::st::aircollector {

inline constexpr double kSigma = 5.6703e-8;  // W/(m2 K4)
// Beyond this the correlations of the laminar branch are left for the turbulent one.
inline constexpr double kTransition = 3100.0;
// Cover to sky, referred to the cover's excess over the ambient temperature: singular as
// the two meet, so it is held here (a few times the sky's real linearised coefficient).
inline constexpr double kSkyCoefficientLimit = 50.0;

// The collectors as the parameters describe them, each value as the checks at
// initialisation let it pass; counts rounded.
struct Build {
    double series = 1, rows = 1;  // collectors in series per row, rows in parallel
    double tilt = 0;              // degrees, at most 75
    double length = 0, width = 0; // one collector, length along the flow
    double height = 0;            // of the channels and the fins
    double channelWidth = 0, channels = 1, finThickness = 0;
    double tauAlpha = 0;
    double insulationThickness = 0, insulationConductivity = 0, finConductivity = 0;
    double coverEmissivity = 0, absorberEmissivity = 0, underEmissivity = 0, backEmissivity = 0;
    double gap = 0;  // between absorber and cover

    double hydraulicDiameter() const { return 2 * height * channelWidth / (height + channelWidth); }
    // The fins' share of the wetted height and the channels' share of the width.
    double heightShare() const { return height / (height + channelWidth); }
    double channelShare() const { return channelWidth / (finThickness + channelWidth); }
    // Area of the whole field.
    double area() const { return length * width * series * rows; }
    // Air velocity in a channel at a volume flow of the field.
    double velocity(double flow) const { return flow / (height * channelWidth * channels * rows); }
    // Back plate through the insulation to the ambient.
    double backLoss() const { return 1 / (0.04 + insulationThickness / insulationConductivity); }
};

// Sky temperature from the ambient temperature.
double skyTemperature(double ambient);

// Mean Nusselt number of the channel flow: a laminar correlation over the collector's
// length (which must exceed 0.1 m) below Reynolds number 3100, Gnielinski's with
// Petukhov's friction factor and Hausen's entry correction from there on. `previous` is
// what the turbulent branch keeps where it has no value.
double channelNusselt(double re, double pr, double dh, double length, double previous);

// tanh(mL)/(mL), 1 for a fin of no length.
double finEfficiency(double mL);

// Hollands' Nusselt number of natural convection across an inclined gap heated from
// below (tilt in degrees, at most 75).
double gapNusselt(double rayleigh, double tilt);

// Radiation between two parallel grey plates (emissivities e1, e2, temperatures degC),
// never below 0.
double plateRadiation(double e1, double e2, double t1, double t2);

// Radiation from the cover to the sky, referred to the cover's excess over the ambient
// temperature: 4 where the two are equal, never below 0 nor above the limit.
double skyRadiation(double coverEmissivity, double cover, double sky, double ambient);

// Convection from the cover to the wind (m/s).
double windConvection(double speed);

// The capacity flow (W/K) of a volume flow of air (m3/s) at a temperature and pressure.
double capacityFlow(double t, double flow, float pressure);

// Two coefficients in series; 0 when either is.
double series(double a, double b);

// The channel flow at the air temperature tf and a volume flow of the field.
struct Channel {
    double re, pr, nu;
    double hc;    // channel walls to the air
    double hcbf;  // back plate to the air
    double hcpf;  // absorber with its fins to the air
};
Channel channel(const Build& c, double tf, double flow, float pressure, double previousNu);

// What leaves the absorber upwards and downwards at the temperatures of absorber (tp),
// cover (tc), back plate (tb) and ambient (ta).
struct Losses {
    double hrpc, hcpc;  // absorber to cover, radiation and convection across the gap
    double hrca, hcca;  // cover to sky and to the wind
    double uf;          // absorber through the cover to the ambient
    double hrpb;        // absorber to back plate, radiation
    // The cover's temperature that carries uf from the absorber to the ambient.
    double cover(double tp, double ta) const { return hcpc + hrpc > 0 ? tp - uf * (tp - ta) / (hcpc + hrpc) : ta; }
};
Losses losses(const Build& c, double tp, double tc, double tb, double ta, double sky, double wind, float pressure);

// ---- the row with thermal capacity (SCAIRCD) ------------------------------------------

// One segment's cover, absorber and back plate, degC.
struct Segment {
    double cover, absorber, back;
};

// What the row meets over a step: the volume flow of the field (m3/s), the inlet air
// (degC), the irradiance on the plane (W/m2), the ambient (degC), the wind (m/s), the air
// pressure (Pa).
struct Weather {
    double flow, inlet, irradiance, ambient, wind;
    float pressure;
};

// The plates' heat capacities: of the absorber's and fins' material per volume, J/(m3 K),
// and of the back plate per area, J/(m2 K).
struct Plates {
    double absorber, back;
};

// The segments a row holds at most.
inline constexpr std::size_t kMaxSegments = 999;

// The segment sub-steps (sub-steps times segments) one step takes at most: an hour of a
// row of the most segments at 60 s, and a tenth of a second's work or so.
inline constexpr double kMaxSegmentSteps = 1e5;

struct RowStep {
    double outlet;  // air leaving the row, degC
    int subSteps;
};

// The row of collectors in series over a step of `length` seconds, its segments (all rows
// together, the inlet first; at most kMaxSegments, else nothing moves) advanced in place.
RowStep advanceRow(std::span<Segment> row, const Build& c, const Plates& plates, const Weather& w, double length);

}  // namespace vireo::st::aircollector

#endif
