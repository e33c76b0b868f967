#include "BlockView.h"

#include "Numbers.h"
#include "vireo_tools.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace vireo::block {

int BlockView::whole(int i) const { return nearestInt(par(i)); }

int BlockView::mode(int i, int count) const { return std::clamp(whole(i), 0, std::max(count - 1, 0)); }

std::string_view BlockView::trimmedText(int row) const {
    std::string_view t = text(row);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\0')) t.remove_suffix(1);
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    return t;
}

std::string_view BlockView::name() const {
    std::string_view names(id_.names);
    // Without an opMode of the engine's (a caller of its own) the main name stands.
    const int wanted = a_.IP[protocol::ipSlot::kOpMode];
    if (wanted >= 2 && wanted <= id_.nameCount)
        for (int k = 1; k < wanted; ++k) names.remove_prefix(names.find(' ') + 1);
    return names.substr(0, names.find(' '));
}

bool BlockView::check(std::span<const Rule> rules) {
    bool passed = true;
    for (const Rule& r : rules) passed = check(r, par(r.parameter)) && passed;
    return passed;
}

bool BlockView::check(std::span<const Param> table) {
    bool passed = true;
    int first = 0;  // the row's first parameter: a ranged row stands for several
    for (const Param& p : table) {
        const Bound& bound = p.bound;
        const int last = std::min(first + std::max(p.count, 1), std::max(id_.maxParameters, 0));
        for (int i = first; i < last && !bound.none; ++i) {
            // An optional parameter the model left out reads as its default, unchecked.
            if (p.absent.optional && par(i) == 0.0f) continue;
            const Rule rule{.parameter = i, .low = bound.low, .high = bound.high, .whole = bound.whole,
                            .code = p.code, .aboveLow = bound.aboveLow, .belowHigh = bound.belowHigh, .name = p.name};
            passed = check(rule, par(i)) && passed;
        }
        first += std::max(p.count, 1);
    }
    return passed;
}

namespace {

// A rule in words ("a number above 0", "a whole number from 0 to 3"), for the codes whose
// text says in its {s0} what a parameter must be.
std::string ruleWords(const Rule& r) {
    const auto number = [](float x) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", static_cast<double>(x));
        return std::string(text);
    };
    const bool lowOpen = r.low <= -FLT_MAX, highOpen = r.high >= (r.whole ? 2147483647.0f : FLT_MAX);
    const std::string kind = r.whole ? "a whole number" : "a number";
    const std::string low = (r.aboveLow ? " above " : " of at least ") + number(r.low);
    const std::string high = (r.belowHigh ? " below " : " of at most ") + number(r.high);
    if (lowOpen && highOpen) return r.whole ? kind : "a finite number";
    if (highOpen) return kind + low;
    if (lowOpen) return kind + high;
    if (!r.aboveLow && !r.belowHigh) return kind + " from " + number(r.low) + " to " + number(r.high);
    return kind + low + " and" + high;
}

}  // namespace

bool BlockView::check(const Rule& r, float x) {
    const float v = r.whole ? std::round(x) : x;
    if (v >= r.low && v <= r.high && !(r.aboveLow && v == r.low) && !(r.belowHigh && v == r.high)) return true;
    const bool inWords = r.code.fills != nullptr && std::string_view(r.code.fills).find("s0") != std::string_view::npos;
    const std::string words = inWords ? ruleWords(r) : std::string();
    report(r.code, {.reals = {x, r.low, r.high}, .text = words, .ints = {r.parameter + 1},
                    .detail = r.name != nullptr ? r.name : ""});
    return false;
}

bool BlockView::checkOpMode() {
    const int k = opMode();
    if (k >= 1 && k <= id_.nameCount) return true;
    report(frameCode::badOpMode);
    return false;
}

void BlockView::countWarning(int& counter, Code warning, const Values& values) {
    if (counter <= 0) {
        counter = 1;
        report(warning, values);
    } else if (counter < std::numeric_limits<int>::max()) {
        ++counter;
    }
}

void BlockView::reportCount(int counter, Code summary) {
    if (counter > 0) report(summary, {.value = counter});
}

void BlockView::reportCountSince(int counter, int& reported, Code summary) {
    if (counter <= reported) return;
    report(summary, {.value = counter - reported});
    reported = counter;
}

bool BlockView::keepFiniteOutputs(std::span<const float> before) {
    if (a_.OUT == nullptr) return true;
    const std::size_t n = std::min(before.size(), static_cast<std::size_t>(std::max(id_.outputCount, 0)));
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isfinite(a_.OUT[i])) continue;
        // What an input that is no number brings about is the model's to see.
        for (int k = 0; k < inputs_; ++k)
            if (!std::isfinite(a_.IN[k])) return true;
        const float value = a_.OUT[i];
        std::copy_n(before.begin(), n, a_.OUT);
        report(frameCode::outputNotFinite, {.reals = {value}, .ints = {static_cast<int>(i) + 1}});
        return false;
    }
    return true;
}

void BlockView::outside([[maybe_unused]] const char* array, [[maybe_unused]] int index,
                        [[maybe_unused]] int size) const {
#ifdef VIREO_CHECKED_SLOTS
    const std::string_view n = name();
    std::fprintf(stderr, "block %.*s (%s): %s index %d outside its %d slots\n", static_cast<int>(n.size()), n.data(),
                 id_.routine, array, index, size);
    std::fflush(stderr);
    std::abort();
#endif
}

void send(const int* ip, std::string_view blockName, int code, const Values& values, std::size_t rowLength) {
    using protocol::ipSlot::kMessageValue;
    using protocol::ipSlot::kProtocolSlots;
    constexpr int kInts = 16, kReals = 16;
    int ints[kInts] = {};
    std::copy(ip, ip + kProtocolSlots, ints);
    ints[protocol::ipSlot::kStatus] = code;
    ints[kMessageValue] = values.value;
    std::copy_n(values.ints.begin(), std::min<std::size_t>(values.ints.size(), kInts - kProtocolSlots),
                ints + kProtocolSlots);
    float reals[kReals] = {};
    std::copy_n(values.reals.begin(), std::min<std::size_t>(values.reals.size(), kReals), reals);
    // Row 0 the message's text, row 1 the block's name, row 2 a second text, in rows of
    // the block's length.
    const std::size_t row = std::clamp<std::size_t>(rowLength, 1, kRow);
    char rows[3 * kRow];
    std::memset(rows, ' ', sizeof rows);
    values.text.copy(rows, row);
    blockName.copy(rows + row, row);
    values.detail.copy(rows + 2 * row, row);
    msg(ints, reals, rows, row);
}

}  // namespace vireo::block
