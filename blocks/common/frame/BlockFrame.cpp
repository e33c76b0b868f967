#include "BlockFrame.h"

#include "vireo_tools.h"

#include <cstring>

namespace vireo::block {

void identify(const BlockIdentity& b, const BlockArrays& a) {
    char names[kRow];
    std::memset(names, ' ', kRow);
    const std::size_t n = std::strlen(b.names);
    std::memcpy(names, b.names, n < kRow ? n : kRow);
    const int group = static_cast<int>(b.group);
    id(a.IN, a.OUT, a.IP, a.RP, a.DP, a.BP, a.SP != nullptr ? a.SP[0] : nullptr, names, &b.nameCount,
       &b.minInputs, &b.maxInputs, &b.outputCount, &b.ipSize, &b.rpSize, &b.dpSize, &b.minParameters,
       &b.maxParameters, &b.minStrings, &b.maxStrings, &group, b.spRow, kRow);
}

void failed(BlockView& view, const char* what) noexcept {
    try {
        view.report(frameCode::failed, {.text = what != nullptr ? what : ""});
    } catch (...) {
        // Nothing more can be said; the stop below still ends the run.
    }
    view.requestStop();
}

bool parametersHold(BlockView& view, std::span<const Param> table, ParameterHooks hooks) {
    const bool rules = view.check(table);
    const bool checks = hooks.checks == nullptr || hooks.checks(view.arrays());
    // Ties are stated on values their rules let through.
    const bool ties = !rules || hooks.ties == nullptr || hooks.ties(view.arrays());
    return rules && checks && ties;
}

namespace {

// A block that governs the run's course and does not step must not hold the run where it
// is: a loop controller lets the run leave its loop, which the controller would send round
// for ever, and a free timer (a timer without inputs), which would never reach its last
// step, ends the run.
void leaveTheCourseFree(const BlockIdentity& identity, const BlockArrays& arrays) noexcept {
    namespace slot = protocol::ipSlot;
    switch (identity.group) {
        case Group::loop: arrays.IP[slot::kBranch] = protocol::branch::kAlternative; break;
        case Group::timer:
        case Group::timerNoProgress:
            if (arrays.IP[slot::kInputCount] == 0) arrays.IP[slot::kCallMode] = protocol::callMode::kLastCall;
            break;
        default: break;
    }
}

}  // namespace

bool mayStep(const BlockIdentity& identity, const BlockArrays& arrays, std::span<const Param> table,
             ParameterHooks hooks) noexcept {
    namespace state = parameterState;
    int& slot = arrays.IP[protocol::ipSlot::kParameterState];
    if ((slot & state::kRefusedAtInit) != 0) {
        leaveTheCourseFree(identity, arrays);
        return false;
    }
    if ((slot & state::kChanged) != 0) {
        BlockView view(identity, arrays);
        bool holds = false;
        try {
            holds = parametersHold(view, table, hooks);
        } catch (...) {
            // A message that could not be sent: the change stays refused all the same.
        }
        slot = holds ? 0 : state::kRefusedByChange;
        if (holds && hooks.takenAtInit != nullptr) {
            try {
                view.report(frameCode::changeNotTaken, {.text = hooks.takenAtInit});
            } catch (...) {
                // Unsaid, the change is still not taken.
            }
        }
    }
    if ((slot & state::kRefusedByChange) == 0) return true;
    leaveTheCourseFree(identity, arrays);
    return false;
}

void keepInitVerdict(const BlockArrays& arrays, bool held) noexcept {
    const bool refused = !held || protocol::severity(arrays.IP[protocol::ipSlot::kStatus]) >= protocol::kError;
    arrays.IP[protocol::ipSlot::kParameterState] = refused ? parameterState::kRefusedAtInit : 0;
}

}  // namespace vireo::block
