// CSVIN: gives the columns of a text file of numbers, one row per step.
//
// String 1 names the file. Fields are separated by commas or semicolons, or else by
// blanks and tabs; blank lines and lines beginning with '#' are passed over, and a
// first line that is not all numbers is taken for a header. Every data row must have as
// many fields as the first; the first 20 columns become the outputs. What happens after
// the last row is chosen by the optional parameter: 0 (the default) asks the run to
// end, 1 holds the last row, 2 starts again at the first row.
#include "csv.h"
#include "messages.h"
#include "table.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

using namespace ub;

constexpr int kLine = 10;            // number of the last line read
constexpr int kRowsRead = 11;        // data rows given so far
constexpr int kColumns = 12;         // fields of the first data row (0: not open)
constexpr int kEnded = 13;           // the end of the file has been reported
constexpr int kLineBeforeData = 14;  // number of the line before the first data row
constexpr int kEndRule = 15;

enum EndRule { stopRun = 0, holdLast = 1, startAgain = 2 };

// DP[0] the open file, DP[1] offset of the first data row, DP[2] offset to go on from
// when the file was closed by a last call.

bool allNumbers(const std::vector<std::string_view>& fields) {
    float v = 0.0f;
    return !fields.empty() && std::all_of(fields.begin(), fields.end(), [&](auto f) { return csv::number(f, v); });
}

// Finds the first data row, leaving the file positioned at it.
bool findData(const Arrays& a, std::FILE* file) {
    std::string line;
    bool headerSeen = false;
    for (int lineNo = 1;; ++lineNo) {
        const long offset = std::ftell(file);
        if (!csv::readLine(file, line)) {
            if (std::ferror(file)) report(a, message::readFailed, lineNo);
            else report(a, message::noDataRow);
            return false;
        }
        if (csv::carriesNoRow(line)) continue;
        const auto fields = csv::fields(line);
        if (!allNumbers(fields)) {
            if (headerSeen) {
                report(a, message::notANumber, lineNo);
                return false;
            }
            headerSeen = true;
            continue;
        }
        a.IP[kColumns] = static_cast<int>(fields.size());
        a.IP[kLineBeforeData] = lineNo - 1;
        a.IP[kLine] = lineNo - 1;
        a.DP[1] = static_cast<double>(offset);
        return std::fseek(file, offset, SEEK_SET) == 0;
    }
}

void initialise(const Arrays& a) {
    for (int slot = kLine; slot <= kEndRule; ++slot) a.IP[slot] = 0;
    keepFile(a, 0, nullptr);
    a.DP[1] = a.DP[2] = 0.0;
    const long long rule = rounded(a.BP[0], stopRun, startAgain, -1);
    if (rule < 0) reportReal(a, message::badEndRule, a.BP[0]);
    const std::string name = text(a, 0);
    if (name.empty()) {
        report(a, message::noFileName);
        return;
    }
    std::FILE* file = std::fopen(name.c_str(), "r");
    if (file == nullptr) {
        report(a, message::cannotRead);
        return;
    }
    if (!findData(a, file) || rule < 0) {
        a.IP[kColumns] = 0;
        std::fclose(file);
        return;
    }
    a.IP[kEndRule] = static_cast<int>(rule);
    keepFile(a, 0, file);
    if (a.IP[kColumns] > kCsvInColumns) report(a, message::tooManyColumns, a.IP[kColumns]);
}

void stopWith(const Arrays& a, int code) {
    report(a, code, a.IP[kLine]);
    a.IP[callMode] = kStopRun;
}

// At the end of the file: true when reading goes on from the first row.
bool endOfFile(const Arrays& a, std::FILE* file) {
    const int rule = a.IP[kEndRule];
    const bool first = a.IP[kEnded] == 0;
    a.IP[kEnded] = 1;
    if (rule == startAgain) {
        if (first) report(a, message::endRestarts, a.IP[kRowsRead]);
        a.IP[kLine] = a.IP[kLineBeforeData];
        return std::fseek(file, static_cast<long>(a.DP[1]), SEEK_SET) == 0;
    }
    if (first) report(a, rule == holdLast ? message::endHolds : message::endStops, a.IP[kRowsRead]);
    if (rule == stopRun) a.IP[callMode] = kStopRun;
    return false;
}

void step(const Arrays& a) {
    if (a.IP[kColumns] == 0) return;  // initialisation failed and said so
    std::FILE* file = fileAt(a, 0);
    if (file == nullptr) {
        file = std::fopen(text(a, 0).c_str(), "r");
        if (file == nullptr || std::fseek(file, static_cast<long>(a.DP[2]), SEEK_SET) != 0) {
            if (file != nullptr) std::fclose(file);
            report(a, message::cannotRead);
            a.IP[callMode] = kStopRun;
            return;
        }
        keepFile(a, 0, file);
    }
    if (a.IP[kEnded] != 0 && a.IP[kEndRule] == stopRun) {
        a.IP[callMode] = kStopRun;
        return;
    }
    std::string line;
    bool restarted = false;  // one start again per call: the file has at least one row
    for (;;) {
        if (!csv::readLine(file, line)) {
            if (std::ferror(file)) return stopWith(a, message::readFailed);
            if (restarted || !endOfFile(a, file)) return;
            restarted = true;
            continue;
        }
        ++a.IP[kLine];
        if (csv::carriesNoRow(line)) continue;
        const auto fields = csv::fields(line);
        if (static_cast<int>(fields.size()) != a.IP[kColumns]) return stopWith(a, message::fieldCount);
        float row[kCsvInColumns] = {};
        const int n = std::min(a.IP[kColumns], kCsvInColumns);
        for (int i = 0; i < n; ++i)
            if (!csv::number(fields[i], row[i])) return stopWith(a, message::notANumber);
        // The columns beyond the outputs are checked too: the row is one record.
        for (int i = n; i < a.IP[kColumns]; ++i)
            if (float ignored = 0.0f; !csv::number(fields[i], ignored)) return stopWith(a, message::notANumber);
        std::copy(row, row + n, a.OUT);
        ++a.IP[kRowsRead];
        return;
    }
}

void close(const Arrays& a) {
    std::FILE* file = fileAt(a, 0);
    if (file == nullptr) return;
    a.DP[2] = static_cast<double>(std::ftell(file));
    keepFile(a, 0, nullptr);
    std::fclose(file);
}

void csvIn(Arrays& a) {
    switch (a.mode()) {
        case init: initialise(a); break;
        case ub::step: step(a); break;
        case last: close(a); break;
        default: break;
    }
}

}  // namespace

UB_BLOCK(ubcsvin, kCsvIn, csvIn)
