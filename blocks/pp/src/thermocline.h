// The thermocline tank of TCSTOR: fully mixed nodes of equal mass, charged from the top
// by a hot stream and discharged from the bottom by a cold one, integrated explicitly,
// in single precision as the block has always computed it.
#ifndef VIREO_PP_THERMOCLINE_H
#define VIREO_PP_THERMOCLINE_H

#include <span>

namespace vireo::pp::thermocline {

inline constexpr int kMostNodes = 200;

// The streams of one call.
struct Streams {
    float chargeIn;       // entering at the top (degC)
    float chargeFlow;     // kg/s
    float dischargeIn;    // entering at the bottom (degC)
    float dischargeFlow;  // kg/s
    float ambient;        // degC
};

struct Tank {
    int nodes;         // 1 to 200, node 1 at the top
    float nodeMass;    // kg
    float wallFlow;    // a node's wall loss as a mass flow: wall area times U over cp (kg/s)
    float heatCapacity;  // J/(kg K)
    float reference;   // degC, the zero of the stored energy
};
// The node mass is the tank's mass over the node parameter as given (not its whole
// part, which is the count of nodes).
Tank tankOf(float volume, float nodeParameter, float diameter, float heatCapacity, float density, float wallLoss,
            float reference);

// The energy the nodes hold above the reference temperature (J).
float storedEnergy(std::span<const float> nodes, const Tank& tank);
// What the streams bring over a step of `length` seconds, the charging stream at its
// inlet, the discharging one leaving at the top node's temperature: no balance of the
// streams, the model's own difference, kept.
float brought(std::span<const float> nodes, const Tank& tank, const Streams& in, float length);

// Integrates the nodes (top first, as many as the tank's) over `length` seconds. A step
// that would move more than one node's mass runs in sub-steps, at most so many that the
// call updates a million nodes; each sub-step is explicit from the temperatures at its
// start, so that the streams carry into the nodes what they carry out of them. Where it
// would overshoot (a step cut short, a loss too large), each node goes at most onto the
// mean of the temperatures it is pulled towards.
void advance(std::span<float> nodes, const Tank& tank, const Streams& in, float length);

}  // namespace vireo::pp::thermocline

#endif
