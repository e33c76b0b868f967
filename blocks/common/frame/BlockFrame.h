// The dispatch frame: one exported function per block, made from the library's identity
// table and a routine type that holds only physics.
//
//   struct sunae_block {                       // any of the three may be left out
//       static void init(vireo::block::BlockView& b);
//       static void step(vireo::block::BlockView& b);
//       static void last(vireo::block::BlockView& b);
//   };
//   VIREO_BLOCK(em0006, kTable[6], sunae_block)
//
// The frame answers the identification call from the table alone, then calls init, step
// or last by the call mode; a routine without the member does nothing in that mode and
// changes no array.
#ifndef VIREO_BLOCK_FRAME_H
#define VIREO_BLOCK_FRAME_H

#include "BlockIdentity.h"
#include "BlockView.h"

#define VIREO_BLOCK_EXPORT __attribute__((visibility("default")))

namespace vireo::block {

// The identification answer through the utility library's id; reads nothing but IP[1]
// and writes nothing but the answer.
void identify(const BlockIdentity& identity, const BlockArrays& arrays);

// A routine with nothing to compute yet: it answers identification only.
struct IdentifyOnly {};

template <class Routine>
int dispatch(const BlockIdentity& identity, const BlockArrays& arrays) noexcept {
    if (arrays.IP == nullptr) return 0;
    const int mode = arrays.IP[kCallMode];
    if (mode == kIdentify) {
        identify(identity, arrays);
        return 0;
    }
    BlockView view(identity, arrays);
    if (mode == kInit) {
        if constexpr (requires { Routine::init(view); }) Routine::init(view);
    } else if (mode == kStep) {
        if constexpr (requires { Routine::step(view); }) Routine::step(view);
    } else {
        if constexpr (requires { Routine::last(view); }) Routine::last(view);
    }
    return 0;
}

}  // namespace vireo::block

// The exported C entry of one block: the BlockFunction type of the engine.
#define VIREO_BLOCK(routine, identity, Routine)                                                   \
    extern "C" VIREO_BLOCK_EXPORT int routine(float* IN, float* OUT, int* IP, float* RP, double* DP, \
                                              float* BP, char (*SP)[::vireo::block::kRow]) {      \
        return ::vireo::block::dispatch<Routine>(identity, {IN, OUT, IP, RP, DP, BP, SP});        \
    }

#endif
