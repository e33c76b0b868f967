// Critical mass flux of steam at (p, h), lbm/(h·in²): the flux of dry saturated steam per
// psia (two published polynomials) over a multiplier for wetness or slight superheat, and
// for more superheat a flux tabulated at seven pressures as quartics in h. The multiplier
// and breakpoint coefficients are fitted to the homogeneous-equilibrium flux of the
// library's own isentropes (tests/steam/make_critical_flow.cpp writes the table).
#include "critical_flow.inc"
#include "steam_frame.h"

namespace vireo::steam {
namespace {

constexpr RoutineName kName("CRFLO ");
// Where the superheat counts from the saturation temperature; above, it is taken as 400 °F.
constexpr double kSaturationTop = 3208.23476;

}  // namespace

bool criticalFlowAccepts(double p, double h) {
    if (!(p >= 0.0 && p <= 8000.0 && h >= 800.0 && h <= 1860.0)) return false;
    if (p >= con(C::pc) && h < 960.0) return false;
    return xph_(&p, &h) >= 0.7;
}

CriticalFlow criticalFlow(double p, double h) {
    if (!criticalFlowAccepts(p, h)) fail(kName, 13, p, h);
    const double superheat = p <= kSaturationTop ? tph_(&p, &h) - tsl_(&p) : 400.0;
    const double x = xph_(&p, &h);
    return {critical_flow::criticalFlux(critical_flow::kCoefficients, p, x, superheat, h), superheat};
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double crflo_(const double* p, const double* h, double* spt) {
    const vireo::steam::CriticalFlow flow = vireo::steam::criticalFlow(*p, *h);
    *spt = flow.superheat;
    return flow.flux;
}
