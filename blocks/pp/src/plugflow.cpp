// The plug-flow model: plugs keep their temperature while they move; only what enters
// and what leaves changes the stack.
#include "plugflow.h"

#include <algorithm>
#include <cmath>

namespace vireo::pp {
namespace {

float& temperature(PlugStack s, int plug) { return s[2 * (plug - 1)]; }
float& mass(PlugStack s, int plug) { return s[2 * (plug - 1) + 1]; }

}  // namespace

float plugflow(PlugStack stack, int& n, float dm, float tin) {
    n = std::clamp(n, 1, kMostPlugs);
    if (dm == 0.0f) return tin <= temperature(stack, n) ? temperature(stack, 1) : temperature(stack, n);

    if (n > kMostPlugs - 1) {
        const int a = kMostPlugs - 1, z = kMostPlugs;
        temperature(stack, a) = (mass(stack, a) * temperature(stack, a) + mass(stack, z) * temperature(stack, z)) /
                                (mass(stack, a) + mass(stack, z));
        mass(stack, a) = mass(stack, a) + mass(stack, z);
        n = kMostPlugs - 1;
    }
    // What the tank holds before the new plug: the mass the last plug left keeps when
    // the whole tank is pushed out.
    float tankMass = 0.0f;
    for (int k = 1; k <= n; ++k) tankMass += mass(stack, k);

    const float moved = std::fabs(dm);
    if (dm < 0.0f) {
        temperature(stack, n + 1) = tin;
        mass(stack, n + 1) = moved;
    } else {
        std::copy_backward(stack.begin(), stack.end() - 2, stack.end());
        temperature(stack, 1) = tin;
        mass(stack, 1) = moved;
    }
    ++n;

    // The same mass leaves at the other end, whole plugs first; the plug that has just
    // entered is the last the walk can reach, and it stays.
    float remaining = moved, sum = 0.0f;
    int emptied = 0;
    const int first = dm < 0.0f ? 1 : n, direction = dm < 0.0f ? 1 : -1;
    for (int k = first, walked = 1; walked <= n; k += direction, ++walked) {
        const float t = temperature(stack, k), m = mass(stack, k);
        if (walked == n && remaining >= m) {
            sum += remaining * t;
            mass(stack, k) = tankMass;
            break;
        }
        if (remaining >= m) {
            sum += t * m;
            remaining -= m;
            ++emptied;
        } else {
            sum += remaining * t;
            mass(stack, k) = m - remaining;
            break;
        }
    }
    if (dm < 0.0f) std::copy(stack.begin() + 2 * emptied, stack.end(), stack.begin());
    n -= emptied;
    return sum / moved;
}

}  // namespace vireo::pp
