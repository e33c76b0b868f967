// A cross-flow plate exchanger between the supply and the exhaust air of a ventilation
// unit (HXXI): one plate side cut into a grid of cells, each balancing heat and the
// condensate of whichever stream is the warmer, frozen in part where the plate would
// fall to 0 degC or below, in closed form from the states that enter it. Plain values in
// and out; the sweep keeps only the row of exhaust states that the next row enters with.
#ifndef VIREO_ST_CROSS_FLOW_EXCHANGER_H
#define VIREO_ST_CROSS_FLOW_EXCHANGER_H

#include <optional>

namespace vireo::st::cross_flow {

// The most cells across either flow.
inline constexpr int kMaxCells = 199;

// The channels of one side; counts as whole numbers, lengths in m.
struct Channels {
    double count, height, width, length;
    double ribs;  // across one channel; ignored unless ribbed
};

struct Exchanger {
    Channels supply, exhaust;
    double plate;         // thickness, m
    bool ribbed;
    double ribThickness;  // m
    double conductivity;  // of plate and ribs, W/(m K)
    double pressure;      // Pa
    double u, v;          // cells across the supply and the exhaust flow, whole numbers
    // The grid swept: rows along the exhaust flow and columns along the supply flow, 1 to
    // kMaxCells; the block keeps them as the whole parts of u and v.
    int rows, columns;
};

// An inlet: temperature in degC, relative humidity as a fraction (taken within 0 and 1),
// volume flow in m3/s at its state (0 or below is none).
struct Air {
    float temperature, humidity, flow;
};

struct Outlets {
    double supplyTemperature, supplyHumidity, exhaustTemperature, exhaustHumidity;
    double drop;        // of the exhaust air's humidity ratio, kg/kg
    double condensate;  // of the exchanger, kg/h
    double ice;         // the frozen part of it, kg/h
};

// With either flow stopped the inlet states crossed over, as the block has always answered
// it. None when an inlet lies outside -100 to 100 degC, or holds more vapour than the
// pressure, where the air formulas do not hold, or when a result is not a finite number;
// and when the grid lies outside 1 to kMaxCells.
std::optional<Outlets> exchange(const Exchanger& e, const Air& supply, const Air& exhaust);

}  // namespace vireo::st::cross_flow

#endif
