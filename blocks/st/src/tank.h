// What the two storage tanks share: the explicit energy balance of a tank of fully mixed
// nodes.
// TANKFM is the case of one node, which is then both inlet nodes and has no neighbours.
#ifndef VIREO_ST_TANK_H
#define VIREO_ST_TANK_H

#include "BlockView.h"

#include <optional>
#include <span>

namespace vireo::st::tank {

inline constexpr int kMaxNodes = 200;

// The streams of one call: flows of 0 or more, temperatures that are numbers.
struct Streams {
    double chargeTemperature;  // IN 0, the charging loop's return (from the collector)
    double chargeFlow;         // IN 1
    double loadTemperature;    // IN 2, the discharging loop's return (from the load)
    double loadFlow;           // IN 3
    double ambient;            // IN 4
};
// From the first five inputs; none when a temperature is not a finite number, since a
// stream that carried it would spread it through the tank.
std::optional<Streams> streamsOf(const block::BlockView& b);

// A vertical cylinder of equal fully mixed nodes, node 1 at the top.
struct Shape {
    int nodes;
    double nodeMass;     // kg
    double endArea;      // m2, the top of node 1 and the bottom of node n
    double sideArea;     // m2, the mantle of one node
    double conductance;  // between neighbours, as a mass flow: A·lambda/h/cp (kg/s)
    double lossFactor;   // U/cp (kg/(s m2))
    double heatCapacity;  // cp (J/(kg K))
};
struct Parameters {
    int nodes;
    float volume, diameter, heatCapacity, density, lossCoefficient, conductivity;
};
// None when the parameters give no tank (the block's checks at initialisation say why;
// parameters changed during a run are not checked again).
std::optional<Shape> shapeOf(const Parameters& p);

// Integrates the node temperatures (top first, as many as the shape's nodes) over
// `length` seconds in `subSteps` equal explicit steps with the start-of-step neighbours.
// Where a node's own coefficient in a step would go negative (its outflows, conduction
// and loss taking more than the node holds) that step is split further, so the scheme
// never overshoots and stays exactly energy-conserving; where no coefficient is negative
// the steps are as asked. The work of one call is bounded: beyond it the last steps
// relax each node at most onto the mean its streams and neighbours would bring it to.
void advance(std::span<double> temperatures, const Shape& shape, const Streams& streams, double length,
             double subSteps);

// Sum of cp·m·T over the node temperatures as the outputs keep them.
double storedEnergy(std::span<const float> temperatures, const Shape& shape);

}  // namespace vireo::st::tank

#endif
