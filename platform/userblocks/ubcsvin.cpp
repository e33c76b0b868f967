//#Block CSVIN
//#Description
// Gives columns of a text file of numbers, one row per step.
//#Layout
//#Inputs 0
//#Outputs 20
//#Parameters 0--1
//#Strings 1--2
//#Group 3 (standard)
//#Details
//#Inputs
//#None
//#Outputs
//#OUT[1--20] The columns of the row read in this step: those the column list names, in its
// order, or else columns 1 to 20 (unit of the file)
//#Parameters
//#BP[0] What happens after the last row (-), 0 to 2: 0 the run ends, 1 the last row is held,
// 2 reading starts again at the first row; optional, 0 when left out
//#Strings
//#SP[0] File name (-)
//#SP[1] Column list (-): the numbers of the columns to read, counted from 1, separated by
// blanks or commas, at most 20, such as '3 5 6'; columns it does not name are not read
// (a time stamp, a flag); optional, columns 1 to 20 when left out
//#Remarks
// The separator of the whole file is the first comma, semicolon or tab of its first line
// that is not blank or a comment, or runs of blanks and tabs when that line holds none
// of them. Each field that is read
// must be a finite number from its first to its last character (blanks around it
// allowed; nan and inf are refused like values beyond the float range): a
// decimal comma in a file separated by semicolons is an error naming file, line, column
// and field. Blank lines and lines beginning with \# are passed over, and a first line
// whose columns to read are not all numbers is taken for a header. Every data row must
// have as many fields as the first.
//#end
#include "blocks.h"
#include "csv.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <span>
#include <string>
#include <system_error>

namespace {

using namespace ub;
enum EndRule { stopRun = 0, holdLast = 1, startAgain = 2 };

using CsvInParams = params::CsvIn;
using CsvInView = View<kCsvIn, CsvInParams>;

struct State {
    int& line;             // IP[10] number of the last line read
    int& rowsRead;         // IP[11] data rows given so far
    int& columns;          // IP[12] fields of the first data row (0: not open)
    int& ended;            // IP[13] the end of the file has been reported
    int& lineBeforeData;   // IP[14] number of the line before the first data row
    int& endRule;          // IP[15]
    int& separator;        // IP[16] the file's separator character, or csv::kBlanks
    int& listed;           // IP[17] columns in the column list (0: none given)
    std::span<int, kCsvInColumns> list;  // IP[18..37] their numbers, from 1
    double& dataOffset;    // DP[1] offset of the first data row
    double& resumeOffset;  // DP[2] offset to go on from when a last call closed the file
    explicit State(CsvInView& b)
        : line(b.ip<10>()), rowsRead(b.ip<11>()), columns(b.ip<12>()), ended(b.ip<13>()),
          lineBeforeData(b.ip<14>()), endRule(b.ip<15>()), separator(b.ip<16>()), listed(b.ip<17>()),
          list(b.ip<18, kCsvInColumns>()), dataOffset(b.dp<1>()), resumeOffset(b.dp<2>()) {}
};

// DP[0] holds the open file.

using Fields = std::vector<std::string_view>;

// Reads the columns to read of a row into `row` (in output order): the 0-based column of
// the first that the row lacks or that is not a number, or -1 when all are read. Without
// a column list every field must be a number, and the first 20 are kept.
int readColumns(State& s, const Fields& fields, float (&row)[kCsvInColumns]) {
    const int n = static_cast<int>(fields.size());
    if (s.listed == 0) {
        for (int i = 0; i < n; ++i) {
            float v = 0.0f;
            if (!csv::number(fields[i], v)) return i;
            if (i < kCsvInColumns) row[i] = v;
        }
        return -1;
    }
    for (int k = 0; k < s.listed; ++k) {
        const int column = s.list[k] - 1;
        if (column >= n || !csv::number(fields[column], row[k])) return column;
    }
    return -1;
}

// A row whose columns could not be read: the field that is no number, or the column
// that the row lacks.
void reportFault(CsvInView& b, const Fields& fields, int column, int lineNo, std::string_view name) {
    if (column < static_cast<int>(fields.size())) {
        // A number written with a decimal comma is the common case: say how to convert it.
        std::string pointed(fields[column]);
        const auto comma = pointed.find(',');
        float ignored = 0.0f;
        bool decimalComma = false;
        if (comma != std::string::npos && pointed.find(',', comma + 1) == std::string::npos) {
            pointed[comma] = '.';
            decimalComma = csv::number(pointed, ignored);
        }
        b.report(decimalComma ? code::decimalComma : code::notANumber,
                 {.value = lineNo, .text = name, .ints = {column + 1}, .detail = fields[column]});
    } else {
        b.report(code::columnMissing,
                 {.value = lineNo, .text = name, .ints = {static_cast<int>(fields.size()), column + 1}});
    }
}

// The column list of SP[1]: column numbers from 1, separated by blanks or commas, at most
// one per output. False (reported) when it is anything else.
bool readColumnList(CsvInView& b) {
    State s(b);
    s.listed = 0;
    const std::string_view given = b.trimmedText(1);
    int count = 0;
    bool ok = true;
    for (std::size_t at = 0; ok && at < given.size();) {
        at = given.find_first_not_of(" ,\t", at);
        if (at == std::string_view::npos) break;
        const std::size_t end = std::min(given.find_first_of(" ,\t", at), given.size());
        const std::string_view word = given.substr(at, end - at);
        int column = 0;
        const auto result = std::from_chars(word.data(), word.data() + word.size(), column);
        ok = result.ec == std::errc() && result.ptr == word.data() + word.size() && column >= 1 &&
             count < kCsvInColumns;
        if (ok) s.list[count++] = column;
        at = end;
    }
    if (!ok) {
        b.report(code::badColumnList, {.text = given});
        return false;
    }
    s.listed = count;
    return true;
}

// Finds the first data row, leaving the file positioned at it.
bool findData(CsvInView& b, std::FILE* file, const std::string& name) {
    State s(b);
    std::string line;
    bool headerSeen = false;
    bool separatorKnown = false;
    for (int lineNo = 1;; ++lineNo) {
        const long offset = std::ftell(file);
        if (!csv::readLine(file, line)) {
            if (std::ferror(file)) b.report(code::readFailed, {.value = lineNo, .text = name});
            else b.report(code::noDataRow, {.text = name});
            return false;
        }
        if (csv::carriesNoRow(line)) continue;
        if (!separatorKnown) {
            s.separator = csv::separatorOf(line);
            separatorKnown = true;
        }
        const auto fields = csv::fields(line, static_cast<char>(s.separator));
        float row[kCsvInColumns] = {};
        if (const int fault = readColumns(s, fields, row); fault >= 0) {
            if (headerSeen) {
                reportFault(b, fields, fault, lineNo, name);
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
    const bool ruleOk = !refused(b);  // checked by the frame; the file's own faults are still told
    const bool listOk = readColumnList(b);
    const std::string name = text(b, 0);
    if (name.empty()) {
        b.report(code::noFileName);
        return;
    }
    if (!listOk) return;  // read by other columns, the file would only give other faults
    std::FILE* file = std::fopen(name.c_str(), "r");
    if (file == nullptr) {
        b.report(code::cannotRead, {.text = name});
        return;
    }
    if (!claimFile(b, name, fileno(file), FileUse::reads)) {
        std::fclose(file);
        return;
    }
    if (!findData(b, file, name) || !ruleOk) {
        s.columns = 0;
        std::fclose(file);
        return;
    }
    s.endRule = b.whole<CsvInParams::endRule>();
    keepFile(b, 0, file);
    if (s.listed == 0 && s.columns > kCsvInColumns) b.report(code::tooManyColumns, {.value = s.columns, .text = name});
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
    // Named only when something is said: finding the name's end every step costs more
    // than reading the row.
    const auto name = [&b] { return b.trimmedText(0); };
    bool restarted = false;  // one start again per call: the file has at least one row
    for (;;) {
        if (!csv::readLine(file, line)) {
            if (std::ferror(file)) {
                b.report(code::readFailed, {.value = s.line, .text = name()});
                return b.requestStop();
            }
            if (restarted || !endOfFile(b, file)) return;
            restarted = true;
            continue;
        }
        ++s.line;
        if (csv::carriesNoRow(line)) continue;
        const auto fields = csv::fields(line, static_cast<char>(s.separator));
        if (static_cast<int>(fields.size()) != s.columns) {
            b.report(code::fieldCount,
                     {.value = s.line, .text = name(), .ints = {static_cast<int>(fields.size()), s.columns}});
            return b.requestStop();
        }
        // Every column to read is checked before any output changes: the row is one record.
        float row[kCsvInColumns] = {};
        if (const int fault = readColumns(s, fields, row); fault >= 0) {
            reportFault(b, fields, fault, s.line, name());
            return b.requestStop();
        }
        const int n = s.listed > 0 ? s.listed : std::min(s.columns, kCsvInColumns);
        for (int i = 0; i < n; ++i) b.out(i) = row[i];
        ++s.rowsRead;
        return;
    }
}

void close(CsvInView& b) {
    releaseFiles(b);
    std::FILE* file = fileAt(b, 0);
    if (file == nullptr) return;
    State(b).resumeOffset = static_cast<double>(std::ftell(file));
    keepFile(b, 0, nullptr);
    std::fclose(file);
}

struct CsvIn {
    using P = CsvInParams;
    using View = CsvInView;
    // The file's values go out as they stand, an infinity or a NaN among them.
    static constexpr bool kHandsDataOn = true;
    static void init(CsvInView& b) { initialise(b); }
    static void step(CsvInView& b) { readRow(b); }
    static void last(CsvInView& b) { close(b); }
};

}  // namespace

VIREO_BLOCK(ubcsvin, ub::kCsvIn, CsvIn)
