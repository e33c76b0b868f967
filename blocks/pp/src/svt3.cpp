// Specific entropy of region 3 at (v, T), Btu/(lbm·°R).
#include "steam_frame.h"

namespace vireo::steam {

double region3Entropy(double v, double t) {
    return regionProperty(2, RoutineName("SVT3  "), v, t, comt3_, stm3_, [](const Region3Terms& w) {
        return con(C::pcvcTc) * (region3ReducedEntropy(w) - con(C::entropyShift));
    });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double svt3_(const double* v, const double* t) {
    return vireo::steam::region3Entropy(*v, *t);
}
