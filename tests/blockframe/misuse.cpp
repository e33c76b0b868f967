// Typed state misused: each VIREO_MISUSE case must fail to compile with the frame's own
// message, and case 0 (the same code used rightly) must compile.
#include "BlockFrame.h"

namespace {

using namespace vireo::block;
constexpr BlockIdentity kTank{"xx0010", "TANK", 1, 1, 1, 1, 12, 3, 50, 0, 0, 0, 0, Group::standard};

[[maybe_unused]] void use(View<kTank>& b) {
#if VIREO_MISUSE == 0
    b.ip<11>() = 1;
    b.rp<2>() = 1.0f;
    b.dp<0, 50>()[49] = 1.0;
#elif VIREO_MISUSE == 1
    b.rp<3>() = 1.0f;  // rpSize 3
#elif VIREO_MISUSE == 2
    b.ip<9>() = 1;  // a protocol slot
#elif VIREO_MISUSE == 3
    b.dp<40, 11>()[0] = 1.0;  // one past DP's 50
#elif VIREO_MISUSE == 4
    b.ip<12>() = 1;  // ipSize 12
#endif
}

}  // namespace
