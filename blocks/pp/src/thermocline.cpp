#include "thermocline.h"

#include "Numbers.h"
#include "Stepping.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vireo::pp::thermocline {
namespace {

// Sub-steps are cut at this many node updates per call, so that no input keeps a call
// from ending; a step cut short mixes its nodes fully instead of overshooting.
constexpr long kMostNodeUpdates = 1'000'000;

// What one sub-step shares over all nodes.
struct SubStep {
    float ts;  // s, the sub-step
    const Tank& tank;
    const Streams& in;
    float lossPull;     // the wall's weight in a limited update
    bool explicitStep;  // no node overshoots: the balance as it stands
};

// What enters a node through one face in a sub-step: a mass flow and the temperature it
// brings. The flow up from the node below is given as the net flow through the tank
// (0 or below), whose term the model writes with the node's lead over the node below.
struct Face {
    float flow;
    float temperature;
    bool fromBelow = false;
};

// The one update of a node over a sub-step, from its temperature t at the sub-step's start:
// the flows through its two faces and its wall, summed in the order given (the order
// the model has always had for each node, which the rounding follows).
inline float nodeUpdate(float t, const Face& first, const Face& second, const SubStep& s) {
    const float ts = s.ts, m = s.tank.nodeMass;
    if (s.explicitStep) {
        const auto term = [&](const Face& f) {
            return f.fromBelow ? ts * f.flow * (t - f.temperature) : ts * f.flow * (f.temperature - t);
        };
        return t + (term(first) + s.tank.wallFlow * (s.in.ambient - t) * ts + term(second)) / m;
    }
    const auto pull = [&](const Face& f) {
        return block::Pull{(f.fromBelow ? -ts * f.flow : ts * f.flow) / m, f.temperature};
    };
    return block::limitedUpdate(t, {pull(first), {s.lossPull, s.in.ambient}, pull(second)});
}

}  // namespace

Tank tankOf(float volume, float nodeParameter, float diameter, float heatCapacity, float density, float wallLoss,
            float reference) {
    const float wallPerNode = volume / (diameter * nodeParameter * 0.25f);
    return {std::clamp(block::toInt(nodeParameter), 1, kMostNodes), density * volume / nodeParameter,
            wallPerNode * wallLoss / heatCapacity, heatCapacity, reference};
}

float storedEnergy(std::span<const float> nodes, const Tank& tank) {
    float sum = 0.0f;
    for (float t : nodes.first(static_cast<std::size_t>(tank.nodes)))
        sum += (t - tank.reference) * tank.heatCapacity * tank.nodeMass;
    return sum;
}

float brought(std::span<const float> nodes, const Tank& tank, const Streams& in, float length) {
    const float cp = tank.heatCapacity, ts = length;
    return in.chargeFlow * ts * cp * (in.chargeIn - tank.reference) -
           (nodes[0] - tank.reference) * in.dischargeFlow * ts * cp;
}

void advance(std::span<float> nodes, const Tank& tank, const Streams& in, float length) {
    const int n = tank.nodes;
    const float moved = std::max(std::fabs(length * in.chargeFlow), std::fabs(length * in.dischargeFlow));
    const long most = std::max(1L, kMostNodeUpdates / n);
    const float parts = block::subStepsByMass(moved, tank.nodeMass);
    const long subSteps = parts < static_cast<float>(most) ? static_cast<long>(parts) : most;
    const float ts = length / static_cast<float>(subSteps);

    const float net = in.chargeFlow - in.dischargeFlow;
    const float down = std::max(net, 0.0f), up = std::min(net, 0.0f);
    const float enteringTop = std::max(in.chargeFlow - in.dischargeFlow, 0.0f);
    const float enteringBottom = std::max(in.dischargeFlow - in.chargeFlow, 0.0f);
    // The same pulls act on every node: from the node upstream (or the entering stream)
    // and from the wall.
    const float flowPull = ts * std::max(down, -up) / tank.nodeMass, lossPull = tank.wallFlow * ts / tank.nodeMass;
    const SubStep sub{ts, tank, in, lossPull, block::withinOneStep({{flowPull, 0.0f}, {lossPull, 0.0f}})};

    std::array<float, kMostNodes> start{}, next{};
    std::copy_n(nodes.begin(), n, start.begin());
    next = start;
    const int last = n - 1;
    const Face top{enteringTop, in.chargeIn}, bottom{enteringBottom, in.dischargeIn};
    for (long step = 0; step < subSteps; ++step) {
        // Every node from the temperatures at the sub-step's start, so that what leaves a
        // node through a face is what enters the next; one node takes both streams.
        if (n == 1) {
            next[0] = nodeUpdate(start[0], top, bottom, sub);
        } else {
            next[0] = nodeUpdate(start[0], {up, start[1], true}, top, sub);
            for (int i = 1; i < last; ++i)
                next[i] = nodeUpdate(start[i], {down, start[i - 1]}, {up, start[i + 1], true}, sub);
            next[last] = nodeUpdate(start[last], {down, start[last - 1]}, bottom, sub);
        }
        std::copy(next.begin(), next.begin() + n, start.begin());
    }
    std::copy_n(next.begin(), n, nodes.begin());
}

}  // namespace vireo::pp::thermocline
