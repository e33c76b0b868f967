// Calling the air-duct blocks in the tests: a block placed under one of its names, set up
// with its initialisation messages kept, and the air properties the blocks take from the
// utility library, for the published formulas the tests write out on their own.
#ifndef VIREO_TEST_DUCT_BLOCKS_H
#define VIREO_TEST_DUCT_BLOCKS_H

#include "block_harness.h"
#include "message_capture.h"
#include "vireo_tools.h"

#include <string>
#include <vector>

namespace duct_test {

inline vireo_test::BlockFunction st(const char* routine) { return vireo_test::library("VireoST").block(routine); }

// A block of the model with its initialisation done; `init` holds what it reported.
struct Placed {
    vireo_test::BlockInstance b;
    vireo_test::Messages init;
    Placed(const char* routine, const std::string& name, int inputs, std::vector<float> parameters)
        : b(st(routine), {.inputs = inputs, .parameters = std::move(parameters), .name = name}),
          init(vireo_test::messagesOf([this] { b.init(); })) {}
    std::vector<float> step(const std::vector<float>& inputs) { return b.step(inputs); }
};

// Density at 100 000 Pa, as the blocks take it, and kinematic viscosity (m2/s).
inline double density(float t) {
    const float p = 100000.0f;
    return airrho(&t, &p);
}
inline double viscosity(float t) { return airvis(&t); }

inline constexpr double kPi = 3.14159265358979;
// Velocity in m/s of a flow in m3/h through a round duct.
inline double velocity(double flow, double d) { return flow / 3600.0 / (kPi * d * d / 4.0); }

}  // namespace duct_test

#endif
