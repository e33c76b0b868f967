// The heat exchanger of HXCH between two streams, each water and steam or a thermal oil
// with a linear specific heat, the water of either side evaporating or condensing at the
// saturation temperature of its pressure: a counterflow of cells passed until they settle,
// or a chain of parallel-flow segments. SI throughout (°C, Pa, kg/s, J/kg, W).
#ifndef VIREO_PP_HEAT_EXCHANGER_H
#define VIREO_PP_HEAT_EXCHANGER_H

namespace vireo::pp::exchanger {

struct Side {
    bool water;
    float t1, cp1, t2, cp2;  // the oil line: two points (degC, J/(kg K))
    double pressure;         // Pa
    double flow;             // kg/s, above 0

    // An oil's specific heat on its line at t (J/(kg K)); water's capacity is its phase's.
    double oilHeatCapacity(double t) const;
};

// The parameters in single precision, as the models have always combined them.
struct Exchanger {
    float transferCoefficient;  // W/(m2 K)
    float area;                 // m2
    float passes;               // most passes of the cells, or the segment count
};

struct Outlets {
    double t1, t2;
    // Each side's enthalpy as water or steam: water's own, wet or not; an oil's that of
    // water at its temperature.
    double h1, h2;
    bool settled = true;
};

// Both models carry each side as its enthalpy, the oil's the integral of its line, so
// that every joule one side gives the other takes; the temperatures follow from the
// enthalpies. Neither side passes the other's temperature.

// 20 cells on each side, side 1 flowing from cell 1 to 20 and side 2 back; a pass carries
// side 1 through the cells and then side 2 back through them, until every cell holds
// what it held two passes before, at most int(passes) times.
Outlets cellModel(const Exchanger& x, const Side& s1, const Side& s2, double in1, double in2);

// Parallel-flow segments of area / passes, as many as int(area) holds whole multiples of
// int(area / passes); int(passes) where that is below 1.
Outlets segmentModel(const Exchanger& x, const Side& s1, const Side& s2, double in1, double in2);

}  // namespace vireo::pp::exchanger

#endif
