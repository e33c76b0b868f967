// The dispatch frame: one exported function per block, made from the library's identity
// table and a routine type that holds only physics.
//
//   struct sunae_block {                       // any of the three may be left out
//       using View = vireo::block::View<table::em0006>;
//       static void init(View& b);
//       static void step(View& b);
//       static void last(View& b);
//   };
//   VIREO_BLOCK(em0006, table::em0006, sunae_block)
//
// The frame answers the identification call from the table alone, then calls init, step
// or last by the call mode; a routine without the member does nothing in that mode and
// changes no array. A step on finite inputs that leaves an output infinite or not a
// number (its physics overflowed on extreme inputs) gives the outputs back as they stood
// before it, with a warning; a routine whose outputs are data handed on as given (a
// file's values, a model's constants) says so with `static constexpr bool kHandsDataOn
// = true;` and is left alone. Whatever a routine throws ends at the frame: the block reports a
// fatal error naming itself and asks the run to stop, so no exception crosses into the
// engine.
//
// A routine with a parameter table (Params.h, `struct P` with its `table`, named in the
// View) gets its parameters checked by the frame: at initialisation before its own init
// (every refused value a counted error naming the parameter, the value and its rule);
// then, whenever the engine marks a parameter changed during the run, again before the
// next step, silently when every rule holds (but for the warnings the routine's own checks
// give, as at initialisation). A block whose initialisation left an error,
// or whose changed parameters break a rule, does not step; its outputs stay as they are,
// and a block that governs the run's course does not hold the run: a free timer ends it,
// a loop controller lets the run leave its loop.
// The refusal is kept in the protocol's parameter slot (IP[9]), so that one instance's
// refusal is its own. A block of several names whose parameters mean other things under
// each lists a table per name (Params.h, `forms`); the name it was placed under picks the
// one checked. A routine without a table is dispatched as before.
//
// Checks of its parameters that the table cannot state and that need no rule of it to
// hold (a site, a product of two parameters, a file the chosen source reads, an input the
// chosen model reads) a routine with a table states in `static bool checksHold(View& b)`;
// rules that tie parameters together and reason on values the table lets through (a
// return above the supply, ribs that leave room in their channel) in `static bool
// tiesHold(View& b)`. Each reports what it refuses as a counted error, as a table's rule
// is, and answers whether all hold. The frame asks both wherever it checks the table: at
// initialisation before the routine's init, and after a change before the next step; the
// checks whatever the table says, the ties where the table holds. A check or tie denied
// refuses the block as a broken rule does, until a later change mends it. So every check
// of the parameters is made alike at initialisation and after a change; init checks only
// what no change can alter (the wiring alone, the value of an input).
//
// What a routine's init derives from its parameters (a model's slot, a loss coefficient,
// a grid's size, a cache of the values the parameters give) it derives again in `static
// void takeChange(View& b)`, which the frame calls once after a change that holds, before
// the step on it: so the block computes with the values the editor shows, from the next
// step on, and keeps the rest of its state. A parameter it cannot take during the run (a
// count its state is laid out by, the source of a file read at the start) its checks
// name with `keepsFromInit`: a change of it is warned about and not taken. A routine whose
// every parameter is of that kind (a year built, a site loaded at initialisation) says so,
// and why, with `static constexpr const char* kTakesParametersAtInit`: after a change the
// frame warns that it is not taken.
//
// A routine that takes its parameters in another convention than the routine it hands
// them to (a site counted east of Greenwich) rewrites them once, at initialisation, in
// `static void rewrite(View& b)`: the frame calls it before the check, so that the
// parameters are checked as they are used.
#ifndef VIREO_BLOCK_FRAME_H
#define VIREO_BLOCK_FRAME_H

#include "BlockIdentity.h"
#include "BlockView.h"
#include "Messages.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <exception>
#include <span>
#include <type_traits>

#define VIREO_BLOCK_EXPORT __attribute__((visibility("default")))

namespace vireo::block {

// The identification answer through the utility library's id; reads nothing but IP[1]
// and writes nothing but the answer.
void identify(const BlockIdentity& identity, const BlockArrays& arrays);

// A block whose computation is not built yet: it answers identification, and refuses to
// be initialised with an error, so that no run takes its zero outputs for results.
struct IdentifyOnly {};

// What a routine threw: reported as the block's fatal error, and the run is asked to stop.
void failed(BlockView& view, const char* what) noexcept;

// A routine's checks and ties, each its checksHold or tiesHold on a view of its own made
// from the arrays, or none; and why it takes no change, where it takes none.
struct ParameterHooks {
    bool (*checks)(const BlockArrays& arrays) = nullptr;
    bool (*ties)(const BlockArrays& arrays) = nullptr;
    const char* takenAtInit = nullptr;  // why no parameter is taken during the run, or none
};

// The parameters against the table's rules, the routine's checks and, where the rules
// hold, its ties, each one broken reported; true when all hold.
bool parametersHold(BlockView& view, std::span<const Param> table, ParameterHooks hooks);
// Before a step of a block with a parameter table whose parameter slot is not clear: takes
// up a change the engine marked (the parameters held again as at initialisation) and
// answers whether the block may step. Out of line: the common case never calls it.
[[gnu::cold]] bool mayStep(const BlockIdentity& identity, const BlockArrays& arrays, std::span<const Param> table,
                           ParameterHooks hooks = {}) noexcept;
// After the init of a block with a parameter table: the slot keeps whether it was refused
// (an error at initialisation, or a check or tie denied).
void keepInitVerdict(const BlockArrays& arrays, bool held = true) noexcept;

// Which of a routine's hooks: its checksHold, its tiesHold, why it takes its parameters at
// initialisation only.
struct ChecksHook {
    template <class Routine>
    static constexpr bool in = requires { &Routine::checksHold; };
};
struct TiesHook {
    template <class Routine>
    static constexpr bool in = requires { &Routine::tiesHold; };
};
struct AtInitHook {
    template <class Routine>
    static constexpr bool in = requires { Routine::kTakesParametersAtInit; };
};
// The routine whose hook a block has: its own, or a wrapper's wrapped routine's, as
// ParamsOf finds the table.
template <class Routine, class Hook>
struct HookOf {
    using type = void;
};
template <class Routine, class Hook>
    requires(Hook::template in<Routine>)
struct HookOf<Routine, Hook> {
    using type = Routine;
};
template <class Routine, class Hook>
    requires(!Hook::template in<Routine>) && (Hook::template in<typename Routine::Wrapped>)
struct HookOf<Routine, Hook> {
    using type = typename Routine::Wrapped;
};

// The view a routine runs on: its own View (its row's, with its parameter table); for a
// wrapper (a routine that hands every call to another block) the wrapped block's view,
// of a row with the same sizes, under the row the wrapper was placed with.
template <class Routine, const BlockIdentity& Id>
struct RoutineView {
    using type = View<Id>;
};
template <class Routine, const BlockIdentity& Id>
    requires requires { typename Routine::View::Params; }
struct RoutineView<Routine, Id> {
    using type = typename Routine::View;
    static_assert(sameShape(type::kIdentity, Id), "a routine's view must have the sizes of the row it is placed in");
};

// A routine's checks and ties, on a view of the routine's own.
template <class Routine, const BlockIdentity& Id>
constexpr ParameterHooks hooksOf() {
    using RoutineView_ = typename RoutineView<Routine, Id>::type;
    using Checked = typename HookOf<Routine, ChecksHook>::type;
    using Tied = typename HookOf<Routine, TiesHook>::type;
    using AtInit = typename HookOf<Routine, AtInitHook>::type;
    ParameterHooks hooks;
    if constexpr (!std::is_void_v<AtInit>) hooks.takenAtInit = AtInit::kTakesParametersAtInit;
    if constexpr (!std::is_void_v<Checked>)
        hooks.checks = [](const BlockArrays& arrays) {
            RoutineView_ own(arrays, Id);
            return Checked::checksHold(own);
        };
    if constexpr (!std::is_void_v<Tied>)
        hooks.ties = [](const BlockArrays& arrays) {
            RoutineView_ own(arrays, Id);
            return Tied::tiesHold(own);
        };
    return hooks;
}

// Inlined into the exported function, so that the seven arrays go straight from the
// caller's registers into the one view the routine gets: the whole frame costs a view's
// making, a test of the parameter slot and the call of the routine.
template <class Routine, const BlockIdentity& Id>
[[gnu::always_inline]] inline int dispatch(const BlockArrays& arrays) noexcept {
    namespace mode = protocol::callMode;
    if (arrays.IP == nullptr) return 0;
    using RoutineView_ = typename RoutineView<Routine, Id>::type;
    using Params = typename ParamsOf<Routine>::type;
    constexpr bool kTable = !std::is_void_v<Params>;
    static_assert(kTable || (hooksOf<Routine, Id>().checks == nullptr && hooksOf<Routine, Id>().ties == nullptr &&
                             hooksOf<Routine, Id>().takenAtInit == nullptr && !requires { &Routine::takeChange; }),
                  "checks, ties and changes of the parameters are made with the parameter table");
    if constexpr (kTable) {
        static_assert(wellFormedParams<Params>(), "every bound of a parameter table needs a code, a name and a unit");
        static_assert(parameterCount<Params>() <= Id.maxParameters,
                      "the parameter table lists more parameters than the identity declares");
        static_assert(std::is_same_v<typename RoutineView_::Params, Params>,
                      "a routine with a parameter table reads it through its View");
    }
    constexpr ParameterHooks hooks = hooksOf<Routine, Id>();
    RoutineView_ view(arrays, Id);
    const BlockArrays& a = view.arrays();
    const int callMode = a.IP[protocol::ipSlot::kCallMode];
    if (callMode == mode::kStep) {
        [[maybe_unused]] bool changed = false;
        if constexpr (kTable)
            if (a.IP[protocol::ipSlot::kParameterState] != 0) [[unlikely]] {
                changed = (a.IP[protocol::ipSlot::kParameterState] & parameterState::kChanged) != 0;
                if (!mayStep(Id, a, formParams<Params>(a.IP[protocol::ipSlot::kOpMode]), hooks)) return 0;
            }
        if constexpr (requires { Routine::step(view); }) {
            try {
                if constexpr (requires { Routine::takeChange(view); })
                    if (changed) [[unlikely]]
                        Routine::takeChange(view);
                if constexpr (requires { Routine::kHandsDataOn; } || Id.outputCount <= 0) {
                    Routine::step(view);
                } else {
                    // The outputs as they stood, to give back should the step overflow: a
                    // copy of a few floats, and the scan after it, cost next to nothing.
                    constexpr int kOutputs = Id.outputCount;
                    std::array<float, kOutputs> before;
                    if (a.OUT == nullptr) [[unlikely]] {
                        Routine::step(view);
                    } else {
                        std::copy_n(a.OUT, kOutputs, before.begin());
                        Routine::step(view);
                        bool finite = true;
                        for (int i = 0; i < kOutputs; ++i) finite &= std::isfinite(a.OUT[i]);
                        if (!finite) [[unlikely]]
                            view.keepFiniteOutputs(before);
                    }
                }
            } catch (const std::exception& e) {
                failed(view, e.what());
            } catch (...) {
                failed(view, "an exception of unknown type");
            }
        }
        return 0;
    }
    if (callMode == mode::kIdentify) {
        identify(Id, a);
        return 0;
    }
    if constexpr (std::is_same_v<Routine, IdentifyOnly>) {
        if (callMode == mode::kInit) view.report(frameCode::notAvailable);
        return 0;
    } else {
        try {
            if (callMode == mode::kInit) {
                if constexpr (requires { Routine::rewrite(view); }) Routine::rewrite(view);
                bool held = true;
                if constexpr (kTable) held = parametersHold(view, formParams<Params>(view.opMode()), hooks);
                if constexpr (requires { Routine::init(view); }) Routine::init(view);
                if constexpr (kTable) keepInitVerdict(a, held);
            } else {
                if constexpr (requires { Routine::last(view); }) Routine::last(view);
            }
        } catch (const std::exception& e) {
            failed(view, e.what());
        } catch (...) {
            failed(view, "an exception of unknown type");
        }
        return 0;
    }
}

}  // namespace vireo::block

// The exported C entry of one block: the BlockFunction type of the engine.
#define VIREO_BLOCK(routine, identity, Routine)                                                   \
    extern "C" VIREO_BLOCK_EXPORT int routine(float* IN, float* OUT, int* IP, float* RP, double* DP, \
                                              float* BP, char (*SP)[::vireo::block::kRow]) {      \
        return ::vireo::block::dispatch<Routine, identity>({IN, OUT, IP, RP, DP, BP, SP});        \
    }

#endif
