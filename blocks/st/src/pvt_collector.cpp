// The exported routines over the collector's value core, as other programs call them: every
// argument by reference, node counts as doubles.
#include "pvt_collector.h"

#include "Numbers.h"
#include "uncovered_pvt.h"

#include <algorithm>
#include <cstddef>
#include <span>

namespace {

namespace pvt = vireo::st::pvt;

// A node count handed over as a double: at least 1, so that an index never runs below
// the first node.
std::size_t nodes(const double* nj) { return static_cast<std::size_t>(std::max(vireo::block::toInt(*nj), 1)); }

}  // namespace

extern "C" {

void nettobestrahlung(const double* eg, const double* eb, double* enx, const double* epsalpha, const double* kbn,
                      const double* kd, const double* sigma, const double* th, const double* tu, const double* beta,
                      const double* pi, const double* tgr, const double* epsgr) {
    *enx = pvt::netIrradiance(*eg, *eb, *kbn, *kd, *epsalpha, {*th, *tu, *tgr, *epsgr, *beta}, *sigma, *pi);
}

void waermeuebergangstr(const double* nj, const double* epspv, const double* pi, const double* sigma,
                        const double* beta, const double* tg, const double* th, const double* tu, double* teff,
                        double* ustr) {
    const pvt::Radiant r = pvt::radiant({tg, nodes(nj)}, *epspv, {*th, *tu, 0.0, 0.0, *beta}, *sigma, *pi);
    *teff = r.teff;
    *ustr = r.ustr;
}

void waermeuebergangkon(const double* nj, const double* ts, const double* tu, const double* vu, double* ukon) {
    *ukon = pvt::convective({ts, nodes(nj)}, *tu, *vu);
}

void kondensation(const double* ts, const double* tdu, const double* pstdu, const double* pu, const double* dhvw,
                  const double* ukon, const double* nj, double* qk) {
    pvt::condensation({ts, nodes(nj)}, {*tdu, *pstdu, *pu, *dhvw}, *ukon, {qk, nodes(nj)});
}

double psfeuchteluft(const double* t) { return pvt::saturationPressure(*t); }

double tdfeuchteluft(const double* p) { return pvt::dewPoint(*p); }

double dhvwasser(const double* t) { return pvt::evaporationEnthalpy(*t); }

void pvteilmodell1(const double* ppvmode, const double* ta, const double* aa, const double* nj, const double* eg,
                   const double* eb, const double* kbnpv, const double* kdpv, const double* ct, const double* etastc,
                   double* ppv, double* egred, double* ebred) {
    const pvt::Pv p = pvt::pvEfficiencyModel(*ppvmode == 1.0, {ta, nodes(nj)}, *aa, *eg, *eb,
                                             {*kbnpv, *kdpv, *ct, *etastc, 0.0, 0.0, 0.0, 0.0});
    *ppv = p.power, *egred = p.egred, *ebred = p.ebred;
}

void pvteilmodell2(const double* ppvmode, const double* ta, const double* aa, const double* nj, const double* eg,
                   const double* eb, const double* kbnpv, const double* kdpv, const double* ct, const double* ik,
                   const double* impp, const double* ul, const double* umpp, const double* etastc, double* ppv,
                   double* egred, double* ebred) {
    const pvt::Pv p = pvt::pvDiodeModel(*ppvmode == 1.0, {ta, nodes(nj)}, *aa, *eg, *eb,
                                        {*kbnpv, *kdpv, *ct, *etastc, *ik, *impp, *ul, *umpp});
    *ppv = p.power, *egred = p.egred, *ebred = p.ebred;
}

void uintcalc(const double* alphath, const double* b1, const double* b2, const double* bu, const double* eta0,
              const double* kmode, const double* taupv, int* errcode, double* uint) {
    const pvt::Internal r = pvt::internalCoefficient(*alphath, *b1, *b2, *bu, *eta0, *kmode < 3.0 ? 1.0 : *taupv);
    *uint = r.uint;
    *errcode = r.off ? 1 : 0;
}

void einfallwinkelkorrektur(const double*, const double*, const double*, const double*, const double*, const double*,
                            const int*, const double*, double* kbn) {
    *kbn = 1.0;
}

void thermteilmodell(const double* kmode, const double* aa, const double* nj, const double* enx, const double* eta0,
                     const double* b1, const double* b2, const double* bu, const double* vu, double* tg, double* ta,
                     const double* tf1, double* tf2, const double* tu, const double* teff, const double* dtint,
                     const double* ceff, const double* cf, const double* uint, const double* ugf, const double* ustr,
                     const double* ukon, const double* qk, const double* mpkt, const double* tgitstart,
                     const double* taitstart, const double* tfitstart, const double* relax) {
    const std::size_t n = nodes(nj);
    pvt::thermalStep({*eta0, *b1, *b2, *bu, *ceff, *cf, *ugf, *aa},
                     {*enx, *vu, *tu, *teff, *dtint, *uint, *ustr, *ukon, *mpkt, *relax, *kmode > 2.0},
                     {{tg, n}, {ta, n}, {tf1, n + 1}, {tf2, n + 1}, {qk, n}, {tgitstart, n}, {taitstart, n},
                      {tfitstart, n + 1}});
}

void konvcheck(int* flag, const double* a, const double* b, const double* n) {
    if (*flag == 0 || !(*n >= 1.0)) return;
    const auto count = static_cast<std::size_t>(vireo::block::toInt(*n));
    if (!pvt::settled({a, count}, {b, count})) *flag = 0;
}

float testfunction(const float* x) { return *x + 1.0f; }

}  // extern "C"
