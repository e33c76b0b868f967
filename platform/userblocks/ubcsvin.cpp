// CSVIN: gives the columns of a text file of numbers, one row per step.
//
// String 1 names the file. Fields are separated by commas or semicolons, or else by
// blanks and tabs; blank lines and lines beginning with '#' are passed over, and a
// first line that is not all numbers is taken for a header. Every data row must have as
// many fields as the first; the first 20 columns become the outputs. What happens after
// the last row is chosen by the optional parameter: 0 (the default) asks the run to
// end, 1 holds the last row, 2 starts again at the first row.
#include "Numbers.h"
#include "blocks.h"
#include "csv.h"
#include "messages.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

using namespace ub;
using vireo::block::roundedWithin;

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
bool findData(BlockView& b, std::FILE* file) {
    std::string line;
    bool headerSeen = false;
    for (int lineNo = 1;; ++lineNo) {
        const long offset = std::ftell(file);
        if (!csv::readLine(file, line)) {
            if (std::ferror(file)) report(b, message::readFailed, lineNo);
            else b.report(message::noDataRow);
            return false;
        }
        if (csv::carriesNoRow(line)) continue;
        const auto fields = csv::fields(line);
        if (!allNumbers(fields)) {
            if (headerSeen) {
                report(b, message::notANumber, lineNo);
                return false;
            }
            headerSeen = true;
            continue;
        }
        b.ip(kColumns) = static_cast<int>(fields.size());
        b.ip(kLineBeforeData) = lineNo - 1;
        b.ip(kLine) = lineNo - 1;
        b.dp(1) = static_cast<double>(offset);
        return std::fseek(file, offset, SEEK_SET) == 0;
    }
}

void initialise(BlockView& b) {
    for (int slot = kLine; slot <= kEndRule; ++slot) b.ip(slot) = 0;
    keepFile(b, 0, nullptr);
    b.dp(1) = b.dp(2) = 0.0;
    const long long rule = roundedWithin(b.par(0), stopRun, startAgain, -1);
    if (rule < 0) reportReal(b, message::badEndRule, b.par(0));
    const std::string name = text(b, 0);
    if (name.empty()) {
        b.report(message::noFileName);
        return;
    }
    std::FILE* file = std::fopen(name.c_str(), "r");
    if (file == nullptr) {
        b.report(message::cannotRead);
        return;
    }
    if (!findData(b, file) || rule < 0) {
        b.ip(kColumns) = 0;
        std::fclose(file);
        return;
    }
    b.ip(kEndRule) = static_cast<int>(rule);
    keepFile(b, 0, file);
    if (b.ip(kColumns) > kCsvInColumns) report(b, message::tooManyColumns, b.ip(kColumns));
}

void stopWith(BlockView& b, int code) {
    report(b, code, b.ip(kLine));
    b.requestStop();
}

// At the end of the file: true when reading goes on from the first row.
bool endOfFile(BlockView& b, std::FILE* file) {
    const int rule = b.ip(kEndRule);
    const bool first = b.ip(kEnded) == 0;
    b.ip(kEnded) = 1;
    if (rule == startAgain) {
        if (first) report(b, message::endRestarts, b.ip(kRowsRead));
        b.ip(kLine) = b.ip(kLineBeforeData);
        return std::fseek(file, static_cast<long>(b.dp(1)), SEEK_SET) == 0;
    }
    if (first) report(b, rule == holdLast ? message::endHolds : message::endStops, b.ip(kRowsRead));
    if (rule == stopRun) b.requestStop();
    return false;
}

void readRow(BlockView& b) {
    if (b.ip(kColumns) == 0) return;  // initialisation failed and said so
    std::FILE* file = fileAt(b, 0);
    if (file == nullptr) {
        file = std::fopen(text(b, 0).c_str(), "r");
        if (file == nullptr || std::fseek(file, static_cast<long>(b.dp(2)), SEEK_SET) != 0) {
            if (file != nullptr) std::fclose(file);
            b.report(message::cannotRead);
            b.requestStop();
            return;
        }
        keepFile(b, 0, file);
    }
    if (b.ip(kEnded) != 0 && b.ip(kEndRule) == stopRun) {
        b.requestStop();
        return;
    }
    std::string line;
    bool restarted = false;  // one start again per call: the file has at least one row
    for (;;) {
        if (!csv::readLine(file, line)) {
            if (std::ferror(file)) return stopWith(b, message::readFailed);
            if (restarted || !endOfFile(b, file)) return;
            restarted = true;
            continue;
        }
        ++b.ip(kLine);
        if (csv::carriesNoRow(line)) continue;
        const auto fields = csv::fields(line);
        if (static_cast<int>(fields.size()) != b.ip(kColumns)) return stopWith(b, message::fieldCount);
        float row[kCsvInColumns] = {};
        const int n = std::min(b.ip(kColumns), kCsvInColumns);
        for (int i = 0; i < n; ++i)
            if (!csv::number(fields[i], row[i])) return stopWith(b, message::notANumber);
        // The columns beyond the outputs are checked too: the row is one record.
        for (int i = n; i < b.ip(kColumns); ++i)
            if (float ignored = 0.0f; !csv::number(fields[i], ignored)) return stopWith(b, message::notANumber);
        for (int i = 0; i < n; ++i) b.out(i) = row[i];
        ++b.ip(kRowsRead);
        return;
    }
}

void close(BlockView& b) {
    std::FILE* file = fileAt(b, 0);
    if (file == nullptr) return;
    b.dp(2) = static_cast<double>(std::ftell(file));
    keepFile(b, 0, nullptr);
    std::fclose(file);
}

struct CsvIn {
    static void init(BlockView& b) { initialise(b); }
    static void step(BlockView& b) { readRow(b); }
    static void last(BlockView& b) { close(b); }
};

}  // namespace

VIREO_BLOCK(ubcsvin, ub::kCsvIn, CsvIn)
