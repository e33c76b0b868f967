// What the water and steam routines share inside the library: names of the constants,
// the memo protocol and the way out through the fatal report.
#ifndef VIREO_PP_STEAM_FRAME_H
#define VIREO_PP_STEAM_FRAME_H

#include "steam.h"
#include "steam_values.h"

#include <cstring>
#include <string>
#include <string_view>

namespace vireo::steam {

// Entries of stmcon_ by their 1-based index.
enum class C : int {
    enthalpyShift = 1,   // reduced-enthalpy zero shift
    entropyShift,        // reduced-entropy zero shift
    pc,                  // critical pressure, psia
    vc,                  // critical volume, ft³/lbm
    tc,                  // critical temperature, °R
    rankine,             // °F to °R
    pcvc,                // Btu/lbm
    pcvcTc,              // Btu/(lbm·°R)
    i1,                  // ideal-gas constant of region 2
    tRegion1Top,         // 662 °F
    tCritical,           // 705.47 °F
    pSat662,
    pLower,              // 0 psia
    pUpper,              // 16000 psia
    pUpperTsatp,         // 3208.3 psia
    pLowerSearch,
    vLower3,
    vUpper3,
    tLower,              // 25 °F
    tUpper2,             // 1600 °F
    tUpperPsatt,         // 705.5 °F
    tUpper1,             // 682 °F
    tLower2,             // -200 °F
    tLower3,
    tUpper3,
    hLower,
    hUpperSuperheated,
    hUpperWet,
    hUpperTslh,
    lowerWet,
    sUpper,
    sLowerSuperheated,
    sInverse,
    l0,                  // 2/3 boundary p/pc = L0 + L1 theta + L2 theta^2
    l1,
    l2,
    l2Twice,
    tolerance,           // 1e-8
    toleranceInverse,
    toleranceWet,
    toleranceEntropy,
};

inline double con(C entry) { return stmcon_.value[static_cast<int>(entry) - 1]; }

// A routine's name as the memo compares it and the report prints it: exactly 6
// characters, blank-padded.
struct RoutineName {
    char text[6];
    constexpr RoutineName(const char (&s)[7]) : text{s[0], s[1], s[2], s[3], s[4], s[5]} {}
    std::string_view view() const { return {text, 6}; }
};

inline bool sameName(const char* stored, const RoutineName& name) {
    return std::memcmp(stored, name.text, 6) == 0;
}
inline void storeName(char* stored, const RoutineName& name) { std::memcpy(stored, name.text, 6); }

// A name passed from outside with its length, as 6 characters: cut or blank-padded.
RoutineName routineName(const char* name, std::size_t length);

// Memo levels: the argument slots of level l, its result slot (levels 2 to 6) and its name.
inline double* levelArguments(int level) { return &stmlvl_.slot[2 * level - 2]; }
inline double& levelResult(int level) { return stmlvl_.slot[14 + level - 1]; }
inline char* levelName(int level) { return stmlvn_.name[level - 1]; }

// The memo test: true on a hit (both arguments, or only x when y does not count, and the
// name equal); otherwise records the arguments and the name and returns false.
bool memoTest(int level, const RoutineName& name, double x, double y, bool bothCount = true);

// The fatal report: ends the process.
[[noreturn]] void fail(const RoutineName& name, int code, double x1, double x2);

// A property of one region at (p, T), memoised at `level`: on a miss the region's common
// terms are brought up to date for the recorded arguments and `compute` reads them.
template <class Terms, class Compute>
double regionProperty(int level, const RoutineName& name, double p, double t,
                      void (*commonTerms)(const double*, const double*), const Terms& terms,
                      Compute compute) {
    if (memoTest(level, name, p, t)) return levelResult(level);
    const double* recorded = levelArguments(level);
    commonTerms(&recorded[0], &recorded[1]);
    return levelResult(level) = compute(terms);
}

// Brings a region's common terms to (p, T) at memo level `level`, recomputing only the
// half (pressure or temperature) whose argument changed since the same routine last
// ran. False when nothing changed; a state out of range ends the process. The caller
// stores its name in the level once the remaining terms are done.
template <class Terms>
bool refreshCommonTerms(int level, const RoutineName& name, double p, double t, bool inRange, Terms& w,
                        void (*pressureTerms)(Terms&, double), void (*temperatureTerms)(Terms&, double)) {
    double* recorded = levelArguments(level);
    const bool sameRoutine = sameName(levelName(level), name);
    if (sameRoutine && p == recorded[0] && t == recorded[1]) return false;
    if (!inRange) fail(name, 12, p, t);
    if (!sameRoutine || p != recorded[0]) {
        recorded[0] = p;
        pressureTerms(w, p);
    }
    if (!sameRoutine || t != recorded[1]) {
        recorded[1] = t;
        temperatureTerms(w, t);
    }
    return true;
}

// The saturation line's K-function and its slope at T, outside every memo.
PressureWithSlope saturationLine(double t);

// ---- the report, for ster_ and its tests -----------------------------------------------

struct ReportState {
    MemoNames names;
    MemoLevels levels;
    SaturationMemo saturation;
};
ReportState currentReportState();

// The text that ster_ writes for these arguments and this state, byte for byte.
std::string reportText(std::string_view name, int code, double x1, double x2, const ReportState& state);

// The one way out of the process: flush every output stream, write the text to standard
// output and end the process at once with the exit status below, running no exit
// handler that could write after the report.
inline constexpr int kFatalExitStatus = 1;
[[noreturn]] void endProcess(std::string_view text);

}  // namespace vireo::steam

#endif
