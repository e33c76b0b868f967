// The exported routines over the sky models of sky.h.
#include "routines.h"
#include "sky.h"

#include <algorithm>

extern "C" void perez(const double* global, const double* beamNormal, const double* diffuse, const double* zenith,
                      const double* incidence, const double* tilt, double* tiltedDiffuse, double* tiltedGlobal) {
    const auto r = vireo::em::perezTilted(*global, *beamNormal, *diffuse, *zenith, *incidence, *tilt);
    *tiltedDiffuse = r.diffuse;
    *tiltedGlobal = r.total;
}

extern "C" void geose(const float* latitude, const float* tilt, const int* day, const int* hour, const int* minute,
                      float* zenith, float* airMass, float* incidence) {
    const auto h = vireo::em::hourGeometry(*latitude, *tilt, *day, *hour, *minute);
    std::copy(h.zenith, h.zenith + vireo::em::kHourInstants, zenith);
    std::copy(h.airMass, h.airMass + vireo::em::kHourInstants, airMass);
    std::copy(h.incidence, h.incidence + vireo::em::kHourInstants, incidence);
}
