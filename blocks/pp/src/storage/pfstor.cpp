//#Block PFSTOR
//#Description
// Plug-flow storage tank: a stack of plugs of fluid pushed through the tank without
// mixing, charged from the top by a hot stream and discharged from the bottom by a cold
// one, with wall losses and conduction between the plugs.
//#Layout
//#Inputs 6
//#Outputs 6
//#Parameters 6--8
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Charging inlet temperature, entering at the top ($^\circ$C)
//#IN[1] Charging mass flow (kg/s)
//#IN[2] Discharging inlet temperature, entering at the bottom ($^\circ$C)
//#IN[3] Discharging mass flow (kg/s)
//#IN[4] Ambient temperature ($^\circ$C)
//#IN[5] Model time, whole numbers (s)
//#Outputs
//#OUT[0] Charging outlet temperature ($^\circ$C)
//#OUT[1] Charging mass flow, input 2 (kg/s)
//#OUT[2] Discharging outlet temperature ($^\circ$C)
//#OUT[3] Discharging mass flow, input 4 (kg/s)
//#OUT[4] Stored energy above the reference temperature (J)
//#OUT[5] Not used, always 0 (-)
//#Parameters
//#BP[0] Tank volume, above 0 (m$^3$)
//#BP[1] Tank diameter, above 0 (m)
//#BP[2] Specific heat, above 0 (J/(kg K))
//#BP[3] Density, above 0 (kg/m$^3$)
//#BP[4] Heat-loss coefficient of the wall, at least 0 (W/(m$^2$ K))
//#BP[5] Reference temperature ($^\circ$C)
//#BP[6] Initial temperature, at least -273.15; optional, 0 or left out: the reference
// temperature ($^\circ$C)
//#BP[7] Thermal conductivity of the fluid, at least 0; optional, 0 or left out: no
// conduction between the plugs (W/(m K))
//#Strings
//#None
//#Remarks
// Only the net flow moves plugs; the smaller of the two streams passes straight
// through. Every step that moves fluid adds a plug; the tank holds at most 100, the two
// bottom ones merging first. Times are taken as whole numbers: a call at the whole time
// of the call before repeats the step from the state at its start and over its length,
// so the block may sit in a loop; the first step integrates nothing, and a time that
// runs backwards integrates nothing; one that is not a finite number repeats the step and
// is not kept. A step whose plugs would come out as no numbers (inputs that are none, or
// that carry them past the float range) changes nothing, outputs and time included: the
// next call goes on from the state it found. Loss and conduction are explicit from the
// temperatures at the step's start, so conduction moves heat between plugs without making
// or losing any; where one such step would move a plug past the temperatures it is pulled
// towards, the step is implicit for all plugs, which never overshoots.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "plugflow.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vireo::pp {
namespace {

constexpr int kStackSize = 2 * kMostPlugs;
constexpr float kPi = 3.1415927f;
constexpr float kAbsoluteZero = -273.15f;

struct State {
    std::span<float, kStackSize> stack;        // RP[0..199] after the last call
    std::span<float, kStackSize> atStepStart;  // RP[200..399] at the start of the current time step
    int& lastTime;                             // IP[10] time of the last call, whole
    int& plugs;                                // IP[11] plugs after the last call
    int& plugsAtStepStart;                     // IP[12] plugs at the start of the current time step
    int& started;                              // IP[13] 1 once the first step has run
    float& stepLength;                         // RP[400] length of the current time step, for a repeat
    explicit State(pfstor_block::View& b)
        : stack(b.rp<0, kStackSize>()), atStepStart(b.rp<kStackSize, kStackSize>()), lastTime(b.ip<10>()),
          plugs(b.ip<11>()), plugsAtStepStart(b.ip<12>()), started(b.ip<13>()), stepLength(b.rp<400>()) {}
};

// Wall loss of every plug and conduction between neighbours, explicit from the
// temperatures at the step's start, so that what one plug conducts to the next is what
// the next receives. Where a plug would overshoot what it is pulled towards (a small plug,
// a long step), the step is taken implicitly for all plugs instead: it conserves the same
// way and never overshoots.
void exchangeHeat(std::span<float, kStackSize> stack, int n, const pfstor_block::View& b, float ts) {
    using P = pfstor_block::P;
    const float diameter = b.par<P::diameter>(), cp = b.par<P::cp>(), density = b.par<P::density>();
    const float wallLoss = b.par<P::wallLoss>(), lambda = b.par<P::conductivity>();
    const float ambient = b.in(4);
    const float deckel = kPi * diameter * diameter / 4.0f;
    std::array<float, kMostPlugs> was{};
    for (int k = 1; k <= n; ++k) was[k - 1] = stack[2 * (k - 1)];
    auto t = [&](int k) { return was[k - 1]; };
    auto m = [&](int k) { return stack[2 * (k - 1) + 1]; };
    auto height = [&](int k) { return m(k) / (deckel * density); };
    auto wall = [&](int k) { return height(k) * diameter * kPi; };
    auto halfAbove = [&](int k) { return height(k) / 2.0f + m(k - 1) / (2.0f * deckel * density); };
    auto halfBelow = [&](int k) { return m(k + 1) / (2.0f * deckel * density) + height(k) / 2.0f; };
    auto conduction = [&](int k, float distance) { return ts * lambda * deckel / (m(k) * cp * distance); };
    auto lossPull = [&](int k) {
        const float face = k == 1 || k == n ? deckel : 0.0f;
        return ts * (wallLoss * (face + wall(k)) / cp) / m(k);
    };
    auto upPull = [&](int k) { return k == 1 ? 0.0f : conduction(k, halfAbove(k)); };
    auto downPull = [&](int k) { return k == n ? 0.0f : conduction(k, halfBelow(k)); };

    bool explicitStep = true;
    for (int k = 1; k <= n && explicitStep; ++k)
        explicitStep = withinOneStep({{lossPull(k), 0.0f}, {upPull(k), 0.0f}, {downPull(k), 0.0f}});
    if (!explicitStep) {
        // (1 + loss + up + down) T'k - up T'k-1 - down T'k+1 = Tk + loss Ta, by elimination
        // down the stack and substitution back up: every coefficient is positive and each
        // row dominant, so each T' lies between the temperatures of the step's start and
        // ambient.
        std::array<double, kMostPlugs> upper{}, rhs{};
        for (int k = 1; k <= n; ++k) {
            const double up = upPull(k), down = downPull(k), loss = lossPull(k);
            const double diagonal = 1.0 + loss + up + down - (k > 1 ? up * upper[k - 2] : 0.0);
            upper[k - 1] = down / diagonal;
            rhs[k - 1] = (t(k) + loss * ambient + (k > 1 ? up * rhs[k - 2] : 0.0)) / diagonal;
        }
        double below = 0.0;
        for (int k = n; k >= 1; --k) {
            below = rhs[k - 1] + upper[k - 1] * below;
            stack[2 * (k - 1)] = static_cast<float>(below);
        }
        return;
    }
    for (int k = 1; k <= n; ++k) {
        const bool top = k == 1, bottom = k == n && n > 1;
        const float tk = t(k), above = top ? 0.0f : t(k - 1), below = k == n ? 0.0f : t(k + 1);
        float next;
        if (top) {
            const float gradient = n < 2 ? 0.0f : (tk - below) / halfBelow(k);
            next = tk - ts * (wallLoss * (deckel + wall(k)) / cp) * (tk - ambient) / m(k) -
                   ts * lambda * deckel * gradient / (m(k) * cp);
        } else if (bottom) {
            const float gradient = (above - tk) / halfAbove(k);
            next = tk + ts * lambda * deckel * gradient / (m(k) * cp) -
                   ts * (wallLoss * (deckel + wall(k)) / cp) * (tk - ambient) / m(k);
        } else {
            const float gradientAbove = (above - tk) / halfAbove(k), gradientBelow = (tk - below) / halfBelow(k);
            next = tk - ts * (wall(k) * wallLoss / cp) * (tk - ambient) / m(k) +
                   (ts * lambda * deckel * gradientAbove - ts * lambda * deckel * gradientBelow) / (m(k) * cp);
        }
        stack[2 * (k - 1)] = next;
    }
}

}  // namespace

// Left out, the tank starts at the reference temperature, which must then be one: a bound
// on one parameter through another, beyond what the table can say.
bool pfstor_block::tiesHold(View& b) {
    const float start = b.par<P::start>() != 0.0f ? b.par<P::start>() : b.par<P::reference>();
    const bool startHolds = b.check(
        {.parameter = P::start, .low = kAbsoluteZero, .high = kLargest, .code = code::badTemperature}, start);
    return tankFits(b, P::volume, b.par<P::volume>(), b.par<P::density>(), b.par<P::cp>()) && startHolds;
}

void pfstor_block::init(View& b) {
    if (refused(b)) return;
    State s(b);
    s.lastTime = block::toInt(b.in(5));
    std::fill(s.stack.begin(), s.stack.end(), 0.0f);
    std::fill(s.atStepStart.begin(), s.atStepStart.end(), 0.0f);
    if (b.par<P::start>() == 0.0f) fillParameter(b, P::start, b.par<P::reference>());
    s.stack[0] = b.par<P::start>();
    s.stack[1] = b.par<P::density>() * b.par<P::volume>();
    s.atStepStart[0] = s.stack[0];
    s.atStepStart[1] = s.stack[1];
    s.plugs = s.plugsAtStepStart = 1;
    s.started = 0;
}

void pfstor_block::step(View& b) {
    State s(b);
    const float chargeIn = b.in(0), chargeFlow = b.in(1), dischargeIn = b.in(2), dischargeFlow = b.in(3);
    const float time = b.in(5);

    const block::WholeTimeStep step = block::wholeTimeStepOf(time, s.lastTime, s.started != 0, s.stepLength);
    const float ts = step.length;
    std::array<float, kStackSize> stack;
    int n;
    if (!step.isNew) {
        // A repeat of the step: from its start, over its length.
        std::copy(s.atStepStart.begin(), s.atStepStart.end(), stack.begin());
        n = s.plugsAtStepStart;
    } else {
        std::copy(s.stack.begin(), s.stack.end(), stack.begin());
        n = s.plugs;
    }
    n = std::clamp(n, 1, kMostPlugs);

    exchangeHeat(stack, n, b, ts);

    const float net = chargeFlow - dischargeFlow;
    // A product past the float range moves the whole tank just the same.
    const float dm = std::clamp(ts * net, -kLargest, kLargest);
    auto top = [&] { return stack[0]; };
    auto bottom = [&] { return stack[2 * (n - 1)]; };
    float chargeOut, dischargeOut;
    if (net < 0.0f) {
        const float out = plugflow(stack, n, dm, dischargeIn);
        chargeOut = chargeFlow <= 0.0f ? bottom() : dischargeIn;
        dischargeOut = dischargeFlow <= 0.0f ? top() : (chargeFlow * chargeIn + std::fabs(net) * out) / dischargeFlow;
    } else {
        const float out = plugflow(stack, n, dm, chargeIn);
        dischargeOut = dischargeFlow <= 0.0f ? top() : chargeIn;
        chargeOut = chargeFlow <= 0.0f ? bottom() : (dischargeFlow * dischargeIn + out * net) / chargeFlow;
    }
    float stored = 0.0f;
    for (int k = 1; k <= n; ++k)
        stored += b.par<P::cp>() * (stack[2 * (k - 1)] - b.par<P::reference>()) * stack[2 * (k - 1) + 1];
    // A step whose plugs come out as no numbers (inputs that are none, or that carry them
    // past what a float holds) changes nothing, its outputs and time included: kept, a
    // NaN would stay in the plugs for the rest of the run; the next call goes on from the
    // last one that computed.
    if (!std::isfinite(stored)) return;

    if (step.isNew) {
        std::copy(s.stack.begin(), s.stack.end(), s.atStepStart.begin());
        s.plugsAtStepStart = s.plugs;
    }
    s.started = step.started ? 1 : 0;
    s.stepLength = step.length;
    s.lastTime = step.lastTime;
    s.plugs = n;
    std::copy(stack.begin(), stack.end(), s.stack.begin());
    b.out(0) = chargeOut;
    b.out(1) = chargeFlow;
    b.out(2) = dischargeOut;
    b.out(3) = dischargeFlow;
    b.out(4) = stored;
}

}  // namespace vireo::pp
