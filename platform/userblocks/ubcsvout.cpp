//#Block CSVOUT
//#Description
// Writes its inputs as one comma-separated row per step.
//#Layout
//#Inputs 1--100
//#Outputs 0
//#Parameters 0
//#Strings 1--2
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[1--100] The values of one row, one column per input in the order of the
// inputs (any unit)
//#Outputs
//#None
//#Parameters
//#None
//#Strings
//#SP[0] File name; \texttt{-} writes to standard output (-)
//#SP[1] Column names, separated by commas or blanks; optional (-)
//#Remarks
// The file is created afresh at initialisation (relative names are relative to the
// model's directory, where the run works) and gets a header line: the names of
// string 2, or in1 ... inN. Every step appends a row and flushes it, so a run that ends
// early loses nothing; the last call closes the file. Should the run come back to the
// block after its last call, the file is opened again for appending.
//#end
#include "blocks.h"
#include "csv.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace ub;
using CsvOutView = View<kCsvOut>;

// DP[0] holds the open file.
struct State {
    int& rows;    // IP[10] rows written
    int& opened;  // IP[11] 1 once the file was opened at initialisation
    explicit State(CsvOutView& b) : rows(b.ip<10>()), opened(b.ip<11>()) {}
};

std::FILE* open(const std::string& name, const char* mode) {
    return name == "-" ? stdout : std::fopen(name.c_str(), mode);
}

bool write(std::FILE* file, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
}

std::string header(BlockView& b) {
    const std::string given = text(b, 1);
    const std::vector<std::string_view> names = csv::fields(given, csv::separatorOf(given));
    const int n = b.inputCount();
    if (static_cast<int>(names.size()) > n) b.report(code::extraColumnNames, {.value = static_cast<int>(names.size())});
    std::string line;
    for (int i = 0; i < n; ++i) {
        if (i > 0) line += ',';
        if (i < static_cast<int>(names.size()) && !names[i].empty()) line += names[i];
        else line += "in" + std::to_string(i + 1);
    }
    return line + '\n';
}

void initialise(CsvOutView& b) {
    State s(b);
    s.rows = 0;
    s.opened = 0;
    keepFile(b, 0, nullptr);
    const std::string name = text(b, 0);
    if (name.empty()) {
        b.report(code::noFileName);
        return;
    }
    std::FILE* file = open(name, "w");
    if (file == nullptr) {
        b.report(code::cannotWrite, {.text = name});
        return;
    }
    keepFile(b, 0, file);
    s.opened = 1;
    if (!write(file, header(b))) b.report(code::writeFailed, {.text = name});
}

void writeRow(CsvOutView& b) {
    State s(b);
    std::FILE* file = fileAt(b, 0);
    if (file == nullptr) {
        if (s.opened == 0) return;  // initialisation failed and said so
        file = open(text(b, 0), "a");
        if (file == nullptr) {
            b.report(code::cannotWrite, {.text = b.trimmedText(0)});
            b.requestStop();
            return;
        }
        keepFile(b, 0, file);
    }
    std::string row;
    row.reserve(16 * static_cast<std::size_t>(b.inputCount()));
    for (int i = 0; i < b.inputCount(); ++i) {
        if (i > 0) row += ',';
        csv::appendNumber(row, b.in(i));
    }
    row += '\n';
    if (!write(file, row)) {
        b.report(code::writeFailed, {.text = b.trimmedText(0)});
        b.requestStop();
        return;
    }
    ++s.rows;
}

void close(CsvOutView& b) {
    std::FILE* file = fileAt(b, 0);
    if (file == nullptr) return;
    keepFile(b, 0, nullptr);
    const bool ok = file == stdout ? std::fflush(file) == 0 : std::fclose(file) == 0;
    if (!ok) b.report(code::writeFailed, {.text = b.trimmedText(0)});
}

struct CsvOut {
    static void init(CsvOutView& b) { initialise(b); }
    static void step(CsvOutView& b) { writeRow(b); }
    static void last(CsvOutView& b) { close(b); }
};

}  // namespace

VIREO_BLOCK(ubcsvout, ub::kCsvOut, CsvOut)
