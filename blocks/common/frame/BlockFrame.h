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
#ifndef VIREO_BLOCK_FRAME_H
#define VIREO_BLOCK_FRAME_H

#include "BlockIdentity.h"
#include "BlockView.h"
#include "Messages.h"

#include <algorithm>
#include <array>
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

// The view a routine runs on: its own row's; or, for a wrapper (a routine that names the
// block it hands every call to as `Wrapped`), the wrapped block's view, of a row with the
// same sizes, under the row the wrapper was placed with.
template <class Routine, const BlockIdentity& Id>
struct RoutineView {
    using type = View<Id>;
};
template <class Routine, const BlockIdentity& Id>
    requires requires { typename Routine::Wrapped; }
struct RoutineView<Routine, Id> {
    using type = typename Routine::View;
    static_assert(sameShape(type::kIdentity, Id), "a routine's view must have the sizes of the row it is placed in");
};

template <class Routine, const BlockIdentity& Id>
int dispatch(const BlockArrays& arrays) noexcept {
    namespace mode = protocol::callMode;
    if (arrays.IP == nullptr) return 0;
    const int callMode = arrays.IP[protocol::ipSlot::kCallMode];
    if (callMode == mode::kIdentify) {
        identify(Id, arrays);
        return 0;
    }
    typename RoutineView<Routine, Id>::type view(arrays, Id);
    if constexpr (std::is_same_v<Routine, IdentifyOnly>) {
        if (callMode == mode::kInit) view.report(frameCode::notAvailable);
        return 0;
    } else {
        try {
            if (callMode == mode::kInit) {
                if constexpr (requires { Routine::init(view); }) Routine::init(view);
            } else if (callMode == mode::kStep) {
                if constexpr (requires { Routine::kHandsDataOn; } && requires { Routine::step(view); }) {
                    Routine::step(view);
                } else if constexpr (requires { Routine::step(view); }) {
                    constexpr std::size_t kOutputs = Id.outputCount > 0 ? static_cast<std::size_t>(Id.outputCount) : 1;
                    std::array<float, kOutputs> before{};
                    if (arrays.OUT != nullptr && Id.outputCount > 0) std::copy_n(arrays.OUT, Id.outputCount, before.begin());
                    Routine::step(view);
                    view.keepFiniteOutputs(std::span<const float>(before.data(), Id.outputCount > 0 ? kOutputs : 0));
                }
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
