//#Block CSVIN
//#Description
// Gives the columns of a text file of numbers, one row per step.
//#Layout
//#Inputs 0
//#Outputs 20
//#Parameters 0--1
//#Strings 1
//#Group 3 (standard)
//#Details
//#Inputs
//#None
//#Outputs
//#OUT[1--20] Columns 1 to 20 of the row read in this step (unit of the file)
//#Parameters
//#BP[0] What happens after the last row (-): 0 the run ends, 1 the last row is held,
// 2 reading starts again at the first row; optional, 0 when left out
//#Strings
//#SP[0] File name (-)
//#Remarks
// Fields are separated by commas or semicolons, or else by blanks and tabs; blank lines
// and lines beginning with \# are passed over, and a first line that is not all numbers
// is taken for a header. Every data row must have as many fields as the first; the first
// 20 columns become the outputs.
//#end
#include "blocks.h"
#include "csv.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

using namespace ub;
using CsvInView = View<kCsvIn>;

enum EndRule { stopRun = 0, holdLast = 1, startAgain = 2 };

struct State {
    int& line;             // IP[10] number of the last line read
    int& rowsRead;         // IP[11] data rows given so far
    int& columns;          // IP[12] fields of the first data row (0: not open)
    int& ended;            // IP[13] the end of the file has been reported
    int& lineBeforeData;   // IP[14] number of the line before the first data row
    int& endRule;          // IP[15]
    double& dataOffset;    // DP[1] offset of the first data row
    double& resumeOffset;  // DP[2] offset to go on from when a last call closed the file
    explicit State(CsvInView& b)
        : line(b.ip<10>()), rowsRead(b.ip<11>()), columns(b.ip<12>()), ended(b.ip<13>()),
          lineBeforeData(b.ip<14>()), endRule(b.ip<15>()), dataOffset(b.dp<1>()), resumeOffset(b.dp<2>()) {}
};

constexpr Rule kRules[] = {
    {.parameter = 0, .low = stopRun, .high = startAgain, .whole = true, .code = code::badEndRule}};

// DP[0] holds the open file.

bool allNumbers(const std::vector<std::string_view>& fields) {
    float v = 0.0f;
    return !fields.empty() && std::all_of(fields.begin(), fields.end(), [&](auto f) { return csv::number(f, v); });
}

// Finds the first data row, leaving the file positioned at it.
bool findData(CsvInView& b, std::FILE* file, const std::string& name) {
    State s(b);
    std::string line;
    bool headerSeen = false;
    for (int lineNo = 1;; ++lineNo) {
        const long offset = std::ftell(file);
        if (!csv::readLine(file, line)) {
            if (std::ferror(file)) b.report(code::readFailed, {.value = lineNo, .text = name});
            else b.report(code::noDataRow, {.text = name});
            return false;
        }
        if (csv::carriesNoRow(line)) continue;
        const auto fields = csv::fields(line);
        if (!allNumbers(fields)) {
            if (headerSeen) {
                b.report(code::notANumber, {.value = lineNo, .text = name});
                return false;
            }
            headerSeen = true;
            continue;
        }
        s.columns = static_cast<int>(fields.size());
        s.lineBeforeData = lineNo - 1;
        s.line = lineNo - 1;
        s.dataOffset = static_cast<double>(offset);
        return std::fseek(file, offset, SEEK_SET) == 0;
    }
}

void initialise(CsvInView& b) {
    State s(b);
    s.line = s.rowsRead = s.columns = s.ended = s.lineBeforeData = s.endRule = 0;
    keepFile(b, 0, nullptr);
    s.dataOffset = s.resumeOffset = 0.0;
    const bool ruleOk = b.check(kRules);
    const std::string name = text(b, 0);
    if (name.empty()) {
        b.report(code::noFileName);
        return;
    }
    std::FILE* file = std::fopen(name.c_str(), "r");
    if (file == nullptr) {
        b.report(code::cannotRead, {.text = name});
        return;
    }
    if (!findData(b, file, name) || !ruleOk) {
        s.columns = 0;
        std::fclose(file);
        return;
    }
    s.endRule = b.whole(0);
    keepFile(b, 0, file);
    if (s.columns > kCsvInColumns) b.report(code::tooManyColumns, {.value = s.columns, .text = name});
}

void stopWith(CsvInView& b, vireo::block::Code code) {
    b.report(code, {.value = State(b).line, .text = b.trimmedText(0)});
    b.requestStop();
}

// At the end of the file: true when reading goes on from the first row.
bool endOfFile(CsvInView& b, std::FILE* file) {
    State s(b);
    const bool first = s.ended == 0;
    s.ended = 1;
    const vireo::block::Values said{.value = s.rowsRead, .text = b.trimmedText(0)};
    if (s.endRule == startAgain) {
        if (first) b.report(code::endRestarts, said);
        s.line = s.lineBeforeData;
        return std::fseek(file, static_cast<long>(s.dataOffset), SEEK_SET) == 0;
    }
    if (first) b.report(s.endRule == holdLast ? code::endHolds : code::endStops, said);
    if (s.endRule == stopRun) b.requestStop();
    return false;
}

void readRow(CsvInView& b) {
    State s(b);
    if (s.columns == 0) return;  // initialisation failed and said so
    std::FILE* file = fileAt(b, 0);
    if (file == nullptr) {
        file = std::fopen(text(b, 0).c_str(), "r");
        if (file == nullptr || std::fseek(file, static_cast<long>(s.resumeOffset), SEEK_SET) != 0) {
            if (file != nullptr) std::fclose(file);
            b.report(code::cannotRead, {.text = b.trimmedText(0)});
            b.requestStop();
            return;
        }
        keepFile(b, 0, file);
    }
    if (s.ended != 0 && s.endRule == stopRun) {
        b.requestStop();
        return;
    }
    std::string line;
    bool restarted = false;  // one start again per call: the file has at least one row
    for (;;) {
        if (!csv::readLine(file, line)) {
            if (std::ferror(file)) return stopWith(b, code::readFailed);
            if (restarted || !endOfFile(b, file)) return;
            restarted = true;
            continue;
        }
        ++s.line;
        if (csv::carriesNoRow(line)) continue;
        const auto fields = csv::fields(line);
        if (static_cast<int>(fields.size()) != s.columns) return stopWith(b, code::fieldCount);
        float row[kCsvInColumns] = {};
        const int n = std::min(s.columns, kCsvInColumns);
        for (int i = 0; i < n; ++i)
            if (!csv::number(fields[i], row[i])) return stopWith(b, code::notANumber);
        // The columns beyond the outputs are checked too: the row is one record.
        for (int i = n; i < s.columns; ++i)
            if (float ignored = 0.0f; !csv::number(fields[i], ignored)) return stopWith(b, code::notANumber);
        for (int i = 0; i < n; ++i) b.out(i) = row[i];
        ++s.rowsRead;
        return;
    }
}

void close(CsvInView& b) {
    std::FILE* file = fileAt(b, 0);
    if (file == nullptr) return;
    State(b).resumeOffset = static_cast<double>(std::ftell(file));
    keepFile(b, 0, nullptr);
    std::fclose(file);
}

struct CsvIn {
    static void init(CsvInView& b) { initialise(b); }
    static void step(CsvInView& b) { readRow(b); }
    static void last(CsvInView& b) { close(b); }
};

}  // namespace

VIREO_BLOCK(ubcsvin, ub::kCsvIn, CsvIn)
