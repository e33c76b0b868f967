// The plug-flow model of PFSTOR: a tank holding a stack of plugs of fluid that are
// pushed through it without mixing.
#ifndef VIREO_PP_PLUGFLOW_H
#define VIREO_PP_PLUGFLOW_H

#include <span>

namespace vireo::pp {

inline constexpr int kMostPlugs = 100;
// Plugs as pairs (temperature, mass), plug 1 first and at the top; entries beyond the
// last plug carry no meaning.
using PlugStack = std::span<float, 2 * kMostPlugs>;

// Moves the mass dm through the stack of n plugs (1 to 100): a positive dm enters at the
// top at temperature tin and pushes the stack down, a negative one enters at the bottom
// and pushes it up; the same mass leaves at the other end. Returns the mass-weighted
// mean temperature of what leaves; with dm 0 nothing moves, and it returns the top
// plug's temperature when tin is at most the bottom plug's, else the bottom plug's.
// The stack keeps at most 100 plugs (the two bottom ones merge before a new one comes)
// and at least one: a dm as large as the whole tank leaves one plug at tin holding the
// tank's mass.
float plugflow(PlugStack stack, int& n, float dm, float tin);

}  // namespace vireo::pp

#endif
