// The fatal report of the water and steam routines and the end of the process.
//
// A state out of range or a failed iteration cannot be answered with a number, and the
// blocks that call these routines have no way to report it: the report shows the state
// and the trail of memo levels, and the process ends. It ends with a non-zero status, so
// that a script or a test run never takes the failure for success, and only after every
// output stream is flushed, so the report follows whatever the run wrote before it.
#include "steam_frame.h"

#include "vireo/format/Writer.h"
#include "vireo_tools.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace vireo::steam {

namespace {

constexpr std::string_view kMessages[2] = {" OUT OF RANGE IN  ", "NON CONVERGENT IN "};
constexpr std::string_view kLabels[6] = {"      ", "PRES =", "TEMP =", "ENTH =", " VOL =", "ENTR ="};

// Labels 1 to 5; a digit without a label (only a caller's own code can bring one)
// prints blank rather than reading past the list.
std::string_view label(long long digit) {
    return digit >= 1 && digit <= 5 ? kLabels[digit] : kLabels[0];
}

std::string_view name6(const char* name) { return {name, 6}; }

}  // namespace

ReportState currentReportState() { return {stmlvn_, stmlvl_, nust_}; }

std::string reportText(std::string_view name, int code, double x1, double x2, const ReportState& state) {
    using vireo::format::writeText;
    const long long magnitude = code < 0 ? -static_cast<long long>(code) : code;
    const long long tens = magnitude / 10;
    const long long units = magnitude % 10;
    const std::string_view message = kMessages[code >= 0 ? 0 : 1];

    std::string text;
    writeText("(/2X,A18,A6,2X,A6,D25.17)", {message, name, label(tens != 0 ? tens : units), x1}, text);
    if (tens != 0) writeText("(28X,A6,D25.17)", {label(units), x2}, text);

    constexpr std::string_view trail = "(1X,A6,1X,2E15.8,1X,A6,1X,2E15.8)";
    const double* slot = state.levels.slot;
    for (int level = 1; level <= 5; level += 2) {
        writeText(trail,
                  {name6(state.names.name[level - 1]), slot[2 * level - 2], slot[2 * level - 1],
                   name6(state.names.name[level]), slot[2 * level], slot[2 * level + 1]},
                  text);
    }
    writeText(trail, {name6(state.names.name[6]), slot[12], slot[13]}, text);
    const SaturationMemo& saturation = state.saturation;
    writeText(trail,
              {name6(saturation.name[0]), saturation.argument[0], saturation.result[0],
               name6(saturation.name[1]), saturation.argument[1], saturation.result[1]},
              text);
    return text;
}

void endProcess(std::string_view text) {
    // First the line that names the block the engine is calling, where the model places
    // it, the model time and the block's inputs: the report below names only routines.
    vireo_tools_process_ends();
    // Whatever the process wrote before, through C stdio or the C++ streams, goes out
    // first: result files keep every row written so far.
    std::cout.flush();
    std::cerr.flush();
    std::clog.flush();
    std::fflush(nullptr);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    // No exit handler or destructor runs: nothing may follow the report.
    std::_Exit(kFatalExitStatus);
}

void fail(const RoutineName& name, int code, double x1, double x2) {
    endProcess(reportText(name.view(), code, x1, x2, currentReportState()));
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE void ster_(const char* name, const int* code, const double* x1,
                                          const double* x2, std::size_t nameLength) {
    vireo::steam::fail(vireo::steam::routineName(name, nameLength), *code, *x1, *x2);
}
