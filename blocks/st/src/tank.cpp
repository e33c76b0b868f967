#include "tank.h"

#include "values.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace vireo::st::tank {
namespace {

// Sweeps over the nodes in one call at most, sub-steps and their splits together: a step
// of a year with ordinary flows takes well under this; absurd inputs must not hang a run.
constexpr double kMaxSweeps = 100000;

// A node's exchanges in one explicit step, each a mass flow (kg/s) that brings the
// node towards a temperature: its upper and lower neighbour, the charging and the
// discharging stream, the ambient. `total` is their sum, the rate at which the node's
// own temperature leaves it.
struct Exchange {
    double above, below, charge, load, loss, total;
};

// The first node from the top no warmer than the stream (counted from 0); the bottom
// node when every node is warmer.
int inletNode(std::span<const double> t, double temperature) {
    const auto k = std::find_if(t.begin(), t.end(), [&](double tk) { return tk <= temperature; });
    return k == t.end() ? static_cast<int>(t.size()) - 1 : static_cast<int>(k - t.begin());
}

// Which way the charging flow (downwards from its inlet, out at the bottom) and the
// discharging flow (upwards from its inlet, out at the top) move through each node;
// returns the largest rate of all nodes per unit node mass.
double exchanges(std::span<const double> t, const Shape& s, const Streams& in, std::span<Exchange> x) {
    const int n = s.nodes;
    const int charge = inletNode(t, in.chargeTemperature);
    const int load = inletNode(t, in.loadTemperature);
    double largest = 0.0;
    for (int k = 0; k < n; ++k) {
        const double down = k > charge ? in.chargeFlow : 0.0, up = k < load ? in.loadFlow : 0.0;
        const bool isCharge = k == charge, isLoad = k == load;
        // The net flow through the node: from the node above when positive, from below
        // when negative. An inlet node takes its stream instead of the flow from the
        // side the stream pushes away from; a node that is both inlets takes only them.
        double net = down - up;
        if (isCharge && isLoad) net = 0.0;
        else if (isCharge) net = std::min(in.chargeFlow - up, 0.0);
        else if (isLoad) net = std::max(down - in.loadFlow, 0.0);
        Exchange& e = x[static_cast<std::size_t>(k)];
        e.above = k > 0 ? std::max(net, 0.0) + s.conductance : 0.0;
        e.below = k < n - 1 ? std::max(-net, 0.0) + s.conductance : 0.0;
        e.charge = isCharge ? in.chargeFlow : 0.0;
        e.load = isLoad ? in.loadFlow : 0.0;
        e.loss = s.lossFactor * (s.sideArea + (k == 0 ? s.endArea : 0.0) + (k == n - 1 ? s.endArea : 0.0));
        e.total = e.above + e.below + e.charge + e.load + e.loss;
        largest = std::max(largest, e.total);
    }
    return largest / s.nodeMass;
}

// One explicit step of dt seconds. A node never moves further than onto the mean of
// what it exchanges with; only a step the bound on the work could not split lets that
// limit act.
void explicitStep(std::span<double> t, const Shape& s, const Streams& in, std::span<const Exchange> x, double dt) {
    const int n = s.nodes;
    std::array<double, kMaxNodes> next{};
    for (int k = 0; k < n; ++k) {
        const Exchange& e = x[static_cast<std::size_t>(k)];
        const double tk = t[static_cast<std::size_t>(k)];
        double change = e.charge * (in.chargeTemperature - tk) + e.load * (in.loadTemperature - tk) +
                        e.loss * (in.ambient - tk);
        if (k > 0) change += e.above * (t[static_cast<std::size_t>(k - 1)] - tk);
        if (k < n - 1) change += e.below * (t[static_cast<std::size_t>(k + 1)] - tk);
        const double factor = e.total > 0.0 ? std::min(dt / s.nodeMass, 1.0 / e.total) : 0.0;
        next[static_cast<std::size_t>(k)] = tk + factor * change;
    }
    std::copy_n(next.begin(), n, t.begin());
}

}  // namespace

std::optional<Streams> streamsOf(const block::BlockView& b) {
    if (!allFinite({b.in(0), b.in(2), b.in(4)})) return std::nullopt;
    return Streams{b.in(0), positivePart(b.in(1)), b.in(2), positivePart(b.in(3)), b.in(4)};
}

std::optional<Shape> shapeOf(const Parameters& p) {
    const double volume = p.volume, diameter = p.diameter, cp = p.heatCapacity;
    if (p.nodes < 1 || p.nodes > kMaxNodes || !(volume > 0.0) || !(diameter > 0.0) || !(cp > 0.0) ||
        !(p.density > 0.0f) || !(p.lossCoefficient >= 0.0f) || !(p.conductivity >= 0.0f))
        return std::nullopt;
    const double n = p.nodes;
    const double area = diameter * diameter * std::numbers::pi / 4.0;
    const double height = volume / area / n;
    const Shape s{p.nodes,
                  p.density * volume / n,
                  area,
                  volume / (diameter * n * 0.25),
                  area * p.conductivity / height / cp,
                  p.lossCoefficient / cp,
                  cp};
    for (double v : {s.nodeMass, s.endArea, s.sideArea, s.conductance, s.lossFactor})
        if (!std::isfinite(v)) return std::nullopt;
    if (!(s.nodeMass > 0.0) || !(s.endArea > 0.0)) return std::nullopt;
    return s;
}

void advance(std::span<double> temperatures, const Shape& shape, const Streams& streams, double length,
             double subSteps) {
    if (!(length > 0.0)) return;
    const double planned = std::floor(std::clamp(subSteps, 1.0, kMaxSweeps));
    const double h = length / planned;
    double spare = kMaxSweeps - planned;  // splits the bound leaves for the planned steps
    std::array<Exchange, kMaxNodes> x{};
    const std::span<Exchange> nodes(x.data(), static_cast<std::size_t>(shape.nodes));
    for (double step = 0; step < planned; ++step) {
        // The rest of this sub-step, in as many equal pieces as keep every coefficient at
        // 0 or above; the inlet nodes, and with them the rates, may move from piece to
        // piece, so the count is taken again before each.
        for (double left = h;;) {
            const double rate = exchanges(temperatures, shape, streams, nodes);
            // Rounding must not split a step whose coefficient is 0 in exact arithmetic.
            const double pieces = std::min(std::max(std::ceil(left * rate - 1e-9), 1.0), spare + 1.0);
            const double dt = left / pieces;
            explicitStep(temperatures, shape, streams, nodes, dt);
            if (pieces <= 1.0) break;
            left -= dt;
            spare -= 1.0;
        }
    }
}

double storedEnergy(std::span<const float> temperatures, const Shape& shape) {
    double sum = 0.0;
    for (float t : temperatures) sum += t;
    return shape.heatCapacity * shape.nodeMass * sum;
}

}  // namespace vireo::st::tank
