// Pressure on the boundary between regions 2 and 3 (the formulation's L-function).
#include "steam_frame.h"

namespace vireo::steam {

bool boundary23PressureAccepts(double t) { return t >= con(C::tLower) && t <= con(C::tUpper2); }

double boundary23Pressure(double t) {
    constexpr RoutineName kName("P23T  ");
    SaturationMemo& memo = nust_;
    if (t == memo.argument[0] && sameName(memo.name[0], kName)) return memo.result[0];
    if (!boundary23PressureAccepts(t)) fail(kName, 2, t, 0.0);
    storeName(memo.name[0], kName);
    memo.argument[0] = t;
    return memo.result[0] = boundary23Line(t);
}

double boundary23Line(double t) {
    const double theta = (t + con(C::rankine)) / con(C::tc);
    return con(C::pc) * (con(C::l0) + con(C::l1) * theta + con(C::l2) * theta * theta);
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double p23t_(const double* t) { return vireo::steam::boundary23Pressure(*t); }
