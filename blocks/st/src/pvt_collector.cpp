#include "pvt_collector.h"

#include "Numbers.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kKelvin = 273.15;

// Factors that the collector's model was fitted with in single precision: their double
// values are those floats, not the decimals.
constexpr double kGasConstantAir = static_cast<double>(0.2871f);     // kJ/(kg K)
constexpr double kGasConstantVapour = static_cast<double>(0.4614f);  // kJ/(kg K)
constexpr double kCpAir = static_cast<double>(1.007f);               // kJ/(kg K)
constexpr double kSettled = static_cast<double>(0.001f);             // K

// A node count handed over as a double: at least 1, so that an index never runs below
// the first node.
int nodes(const double* nj) { return std::max(vireo::block::toInt(*nj), 1); }

// The segments the means go over: nodes 1..nj - 1, or the single node.
int segments(int nj) { return std::max(nj - 1, 1); }

double meanOverSegments(const double* t, int nj) {
    const int n = segments(nj);
    double sum = 0.0;
    for (int j = 0; j < n; ++j) sum += t[j];
    return sum / n;
}

double fourth(double kelvin) {
    const double square = kelvin * kelvin;
    return square * square;
}

// The share of the sky in the view of a surface tilted by beta degrees.
double skyView(double beta, double pi) { return (std::cos(pi * beta / 180.0) + 1.0) * 0.5; }

// The PV irradiance and the irradiances left over, common to both PV models; power is
// the model's own part.
double pvIrradiance(double eg, double eb, double kbnpv, double kdpv) {
    const double ed = std::max(eg - eb, 0.0);
    return ed * kdpv + eb * kbnpv;
}

void reduced(double ppvmode, double ppv, double aa, double eg, double eb, double* egred, double* ebred) {
    *egred = ppvmode == 1.0 ? eg - ppv / aa : eg;
    // Without global irradiance there is none to share out; the beam is left as it is.
    *ebred = eg != 0.0 ? eb * *egred / eg : eb;
}

}  // namespace

extern "C" {

void nettobestrahlung(const double* eg, const double* eb, double* enx, const double* epsalpha, const double* kbn,
                      const double* kd, const double* sigma, const double* th, const double* tu, const double* beta,
                      const double* pi, const double* tgr, const double* epsgr) {
    const double fs = skyView(*beta, *pi);
    const double longWave =
        *sigma * fs * fourth(*th + kKelvin) + *sigma * (1.0 - fs) * *epsgr * fourth(*tgr + kKelvin);
    const double balance = (longWave - *sigma * fourth(*tu + kKelvin)) * *epsalpha;
    if (*eg <= 0.0) {
        *enx = balance;
        return;
    }
    const double en = balance + *eg;
    const double ed = std::max(*eg - *eb, 0.0);
    *enx = en * (ed * *kd / *eg + *kbn * (1.0 - ed / *eg));
}

void waermeuebergangstr(const double* nj, const double* epspv, const double* pi, const double* sigma,
                        const double* beta, const double* tg, const double* th, const double* tu, double* teff,
                        double* ustr) {
    const double tsm = meanOverSegments(tg, nodes(nj)) + kKelvin;
    const double fs = skyView(*beta, *pi);
    *teff = std::pow(fourth(*tu + kKelvin) * (1.0 - fs) + fourth(*th + kKelvin) * fs, 0.25) - kKelvin;
    const double te = *teff + kKelvin;
    *ustr = (te * te + tsm * tsm) * *sigma * *epspv * (te + tsm);
}

void waermeuebergangkon(const double* nj, const double* ts, const double* tu, const double* vu, double* ukon) {
    const double tsm = meanOverSegments(ts, nodes(nj));
    // A surface more than about 22 K below the air has no natural convection in this
    // correlation; its term would otherwise turn the sum of cubes negative.
    const double natural = std::max((tsm - *tu) * 0.123 + 2.7, 0.0);
    const double forced = std::max(2.83 * *vu + 4.3, 0.0);
    *ukon = std::pow(natural * natural * natural + forced * forced * forced, 0.3333333333333333);
}

void kondensation(const double* ts, const double* tdu, const double* pstdu, const double* pu, const double* dhvw,
                  const double* ukon, const double* nj, double* qk) {
    const int n = nodes(nj);
    for (int j = 0; j < n; ++j) {
        const double t = ts[j];
        if (t >= *tdu || t <= 0.0 || !(*pu > 0.0)) {
            qk[j] = 0.0;
            continue;
        }
        qk[j] = -(psfeuchteluft(&ts[j]) - *pstdu) * *dhvw * kGasConstantAir * 1.097287663733127 * *ukon /
                (*pu * kGasConstantVapour * kCpAir);
    }
}

double psfeuchteluft(const double* t) {
    const double x = *t;
    if (x > 0.0 && x <= 100.0)
        return 6.11 * std::exp(0.07257 * x - 0.0002937 * x * x + 9.81e-07 * x * x * x - 1.901e-09 * x * x * x * x);
    if (x > 100.0 && x <= 200.0)
        return 6.11 * std::exp(0.07142753 * x - 0.0002600931 * x * x + 6.432223e-07 * x * x * x -
                               7.410232e-10 * x * x * x * x);
    return 0.0;
}

double tdfeuchteluft(const double* p) {
    // ln(0) is minus infinity and gives the limit; below 0 the logarithm has no value.
    const double q = *p > 0.0 ? *p : 0.0;
    return 4102.99 / (17.2799 - std::log(q * 0.1 / 0.611657)) - 237.431;
}

double dhvwasser(const double* t) { return 2500.47481 - 2.30345 * *t - 0.00132 * *t * *t; }

void pvteilmodell1(const double* ppvmode, const double* ta, const double* aa, const double* nj, const double* eg,
                   const double* eb, const double* kbnpv, const double* kdpv, const double* ct, const double* etastc,
                   double* ppv, double* egred, double* ebred) {
    const double tam = meanOverSegments(ta, nodes(nj));
    const double egpv = pvIrradiance(*eg, *eb, *kbnpv, *kdpv);
    const double dppv = egpv * *ct * *etastc * (tam - 25.0);
    const double eta = egpv <= 0.0 ? 0.0 : *etastc + 0.04 * *etastc * std::log(egpv / 1000.0);
    *ppv = *aa * (dppv + egpv * eta);
    reduced(*ppvmode, *ppv, *aa, *eg, *eb, egred, ebred);
}

void pvteilmodell2(const double* ppvmode, const double* ta, const double* aa, const double* nj, const double* eg,
                   const double* eb, const double* kbnpv, const double* kdpv, const double* ct, const double* ik,
                   const double* impp, const double* ul, const double* umpp, const double* etastc, double* ppv,
                   double* egred, double* ebred) {
    const double tam = meanOverSegments(ta, nodes(nj));
    const double egpv = pvIrradiance(*eg, *eb, *kbnpv, *kdpv);
    const double mk = ((*impp * 3.417 / *ik + *umpp * 6.45 / *ul) - *umpp * *impp * 5.411 / (*ul * *ik) - 4.422) *
                      (*ul / *ik);
    const double rpv = (1.0 - *ik / *impp) * (*umpp / *impp) - mk * *ik / *impp;
    const double ut = -*ik * (rpv + mk);
    const double relative =
        egpv <= 0.0 ? 0.0
                    : ((ut / *umpp) * std::log(egpv / 1000.0) + 1.0 - (egpv / 1000.0 - 1.0) * (rpv * *impp / *umpp)) *
                          (*ct * (tam - 25.0) + 1.0);
    *ppv = *aa * *etastc * relative * egpv;
    reduced(*ppvmode, *ppv, *aa, *eg, *eb, egred, ebred);
}

void uintcalc(const double* alphath, const double* b1, const double* b2, const double* bu, const double* eta0,
              const double* kmode, const double* taupv, int* errcode, double* uint) {
    const double tau = *kmode < 3.0 ? 1.0 : *taupv;
    const auto atWind = [&](double u) { return (u * *b2 + *b1) / (1.0 - (1.0 - *bu * u) * *eta0 / (tau * *alphath)); };
    const double value = atWind(1.5);
    *uint = value;
    *errcode = value > 0.0 ? 0 : 1;
    for (int u = 1; u <= 8; ++u)
        if (!(std::fabs(atWind(u) - value) / value <= 0.2)) *errcode = 1;  // NaN fails too
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
    const int n = nodes(nj);
    const double r = *dtint / *ceff;
    const double g = *cf * (n - 1) * *mpkt / (*aa * 3600.0);
    const double a0 = (1.0 - *bu * *vu) * r * *enx * *eta0;
    const double a1 = (*vu * *b2 + *b1) * r;
    const double surfaceSum = *ukon + *ugf + *ustr;
    for (int j = 1; j <= n; ++j) {
        const double a2 = j == 1 ? 2.0 * r * g : r * g;
        const double a3 = qk[j - 1] * r;
        tf2[j] = tfitstart[j] + *relax * (tf1[j] * (1.0 - a1 - a2) + *tu * a1 + a0 + a2 * tf1[j - 1] + a3 - tfitstart[j]);
        // With no finite coefficient between them the absorber takes the fluid's temperature.
        const double a4 = a2 / r;
        const double lift = *uint > 0.0 ? a4 * (tf2[j] - tf2[j - 1]) / *uint : 0.0;
        ta[j - 1] = taitstart[j - 1] + *relax * (lift + tf2[j] - taitstart[j - 1]);
        // A surface coupled to nothing keeps its temperature.
        if (*kmode > 2.0 && surfaceSum != 0.0)
            tg[j - 1] = tgitstart[j - 1] + *relax * ((*tu * *ukon + *ugf * ta[j - 1] + *teff * *ustr) / surfaceSum -
                                                     tgitstart[j - 1]);
    }
}

void konvcheck(int* flag, const double* a, const double* b, const double* n) {
    if (*flag == 0 || !(*n >= 1.0)) return;
    const int count = vireo::block::toInt(*n);
    for (int i = 0; i < count; ++i)
        if (!(std::fabs(a[i] - b[i]) <= kSettled)) {  // a difference that is not a number has not settled
            *flag = 0;
            return;
        }
}

float testfunction(const float* x) { return *x + 1.0f; }

}  // extern "C"
