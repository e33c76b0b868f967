#include "enthalpy_line.h"

#include "finite.h"
#include "vireo_tools.h"

#include <cmath>
#include <limits>

namespace vireo::st::line {
namespace {

// Air of ordinary states settles within a dozen evaluations, states of a million degrees
// within thirty; a search that has not settled by then has no end state to find.
constexpr int kMaxSteps = 50;
// The first widening step towards saturation, g/kg: the spread of humidity ratios of air.
constexpr float kFirstWidening = 10.0f;

// The nearest states seen below and above the target on the line.
class Bracket {
public:
    explicit Bracket(float target) : target_(target) {}
    void take(const AirState& s) {
        if (s.phi < target_) {
            if (!below_ || s.x > below_->x) below_ = s;
        } else if (!above_ || s.x < above_->x) {
            above_ = s;
        }
    }
    bool closed() const { return below_ && above_; }
    bool holds(float x) const {
        return std::isfinite(x) && (!below_ || x > below_->x) && (!above_ || x < above_->x);
    }
    // No float lies strictly between the two ends apart from one or none.
    bool collapsed() const {
        if (!closed()) return false;
        const float next = std::nextafter(below_->x, above_->x);
        return !(std::nextafter(next, above_->x) < above_->x);
    }
    const AirState& nearer() const {
        return target_ - below_->phi <= above_->phi - target_ ? *below_ : *above_;
    }
    // Halving a closed bracket, or a step from its one known end that doubles each time.
    float fallback(float& widening) const {
        if (closed()) return below_->x + 0.5f * (above_->x - below_->x);
        const float x = below_ ? below_->x + widening : above_->x - widening;
        widening *= 2.0f;
        return x;
    }

private:
    float target_;
    std::optional<AirState> below_, above_;
};

}  // namespace

Inlet inlet(float t, float phi) {
    int irc = 0;
    const float x = humr2a(&phi, &t, &irc);
    const float h = humh(&x, &t);
    return {at(x, h), h};
}

AirState at(float x, float h) {
    int irc = 0;
    const float t = humh2t(&x, &h, &irc);
    return {x, t, huma2r(&x, &t, &irc)};
}

std::optional<AirState> find(const Inlet& from, const Target& target) {
    const auto met = [&](const AirState& s) { return std::fabs(s.phi - target.phi) <= target.tolerance; };
    AirState previous = from.state;
    if (met(previous)) return previous;
    Bracket bracket(target.phi);
    bracket.take(previous);
    // Dry air has no relative humidity on any line: the lower end of every search down.
    if (target.phi >= 0.0f && previous.phi > target.phi) {
        const AirState dry = at(0.0f, from.h);
        if (met(dry)) return dry;
        bracket.take(dry);
    }

    float widening = std::fmax(std::fabs(previous.x), kFirstWidening);
    float lastMiss = std::fabs(previous.phi - target.phi);
    float trial = target.firstTrial;
    bool halve = false;
    for (int step = 0; step < kMaxSteps; ++step) {
        if (halve || !bracket.holds(trial)) trial = bracket.fallback(widening);
        if (!std::isfinite(trial)) break;  // widened past the range of a float
        const AirState current = at(trial, from.h);
        if (met(current)) return current;
        bracket.take(current);
        if (bracket.collapsed()) return bracket.nearer();
        // A secant step that does not halve the miss gives way to halving the bracket, so
        // that the search narrows at least every other step.
        const float miss = std::fabs(current.phi - target.phi);
        halve = bracket.closed() && !(miss <= 0.5f * lastMiss);
        lastMiss = miss;
        const float rise = current.phi - previous.phi;
        trial = rise != 0.0f ? current.x + (target.phi - current.phi) * (current.x - previous.x) / rise
                             : std::numeric_limits<float>::quiet_NaN();
        previous = current;
    }
    return std::nullopt;
}

std::optional<AirState> saturated(const Inlet& from) {
    const float firstTrial = from.state.x > 0.0f ? 2.0f * from.state.x : kFirstWidening;
    return find(from, {.phi = 1.0f, .tolerance = 1.0e-4f, .firstTrial = firstTrial});
}

void humidify(BlockView& b, const Humidifier& u) {
    const float t = b.in(0), phi = b.in(1), setPoint = b.in(3);
    b.out(2) = u.on ? u.shownOn : 0.0f;
    const Inlet in = inlet(t, phi);
    const auto passUnchanged = [&] {
        b.out(0) = t;
        b.out(1) = phi;
    };
    if (in.state.x > setPoint || phi > u.efficiency) return passUnchanged();

    const auto saturated = line::saturated(in);
    if (!saturated) {
        b.report(code::noLineEnd, {.reals = {t, phi}});
        return passUnchanged();
    }
    float x = toOutput(in.state.x + double(u.share) * u.efficiency * (double(saturated->x) - in.state.x));
    if (x > setPoint) x = setPoint;
    const AirState out = at(x, in.h);
    b.out(0) = out.t;
    b.out(1) = out.phi;
    b.out(2) = u.on ? u.power : 0.0f;
    b.out(3) = u.on ? toOutput(double(u.waterFactor) * (double(x) - in.state.x)) : 0.0f;
}

}  // namespace vireo::st::line
