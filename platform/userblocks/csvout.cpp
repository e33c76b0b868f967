// CSVOUT: writes its inputs as one comma-separated row per step.
//
// String 1 names the file ("-" for standard output); it is created afresh at
// initialisation (relative names are relative to the model's directory, where the run
// works) and gets a header line: the names of the optional string 2 (separated by
// commas or blanks), or in1 ... inN. Every step appends a row and flushes it, so a run
// that ends early loses nothing; the last call closes the file. Should the run come
// back to the block after its last call, the file is opened again for appending.
#include "csv.h"
#include "messages.h"
#include "table.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace ub;

constexpr int kRows = 10;    // rows written
constexpr int kOpened = 11;  // 1 once the file was opened at initialisation

std::FILE* open(const std::string& name, const char* mode) {
    return name == "-" ? stdout : std::fopen(name.c_str(), mode);
}

bool write(std::FILE* file, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
}

std::string header(const Arrays& a) {
    const std::string given = text(a, 1);
    const std::vector<std::string_view> names = csv::fields(given);
    const int n = a.inputs();
    if (static_cast<int>(names.size()) > n) report(a, message::extraColumnNames, static_cast<int>(names.size()));
    std::string line;
    for (int i = 0; i < n; ++i) {
        if (i > 0) line += ',';
        if (i < static_cast<int>(names.size()) && !names[i].empty()) line += names[i];
        else line += "in" + std::to_string(i + 1);
    }
    return line + '\n';
}

void initialise(const Arrays& a) {
    a.IP[kRows] = 0;
    a.IP[kOpened] = 0;
    keepFile(a, 0, nullptr);
    const std::string name = text(a, 0);
    if (name.empty()) {
        report(a, message::noFileName);
        return;
    }
    std::FILE* file = open(name, "w");
    if (file == nullptr) {
        report(a, message::cannotWrite);
        return;
    }
    keepFile(a, 0, file);
    a.IP[kOpened] = 1;
    if (!write(file, header(a))) report(a, message::writeFailed);
}

void step(const Arrays& a) {
    std::FILE* file = fileAt(a, 0);
    if (file == nullptr) {
        if (a.IP[kOpened] == 0) return;  // initialisation failed and said so
        file = open(text(a, 0), "a");
        if (file == nullptr) {
            report(a, message::cannotWrite);
            a.IP[callMode] = kStopRun;
            return;
        }
        keepFile(a, 0, file);
    }
    std::string row;
    row.reserve(16 * static_cast<std::size_t>(a.inputs()));
    for (int i = 0; i < a.inputs(); ++i) {
        if (i > 0) row += ',';
        csv::appendNumber(row, a.IN[i]);
    }
    row += '\n';
    if (!write(file, row)) {
        report(a, message::writeFailed);
        a.IP[callMode] = kStopRun;
        return;
    }
    ++a.IP[kRows];
}

void close(const Arrays& a) {
    std::FILE* file = fileAt(a, 0);
    if (file == nullptr) return;
    keepFile(a, 0, nullptr);
    const bool ok = file == stdout ? std::fflush(file) == 0 : std::fclose(file) == 0;
    if (!ok) report(a, message::writeFailed);
}

void csvOut(Arrays& a) {
    switch (a.mode()) {
        case init: initialise(a); break;
        case ub::step: step(a); break;
        case last: close(a); break;
        default: break;
    }
}

}  // namespace

UB_BLOCK(ubcsvout, kCsvOut, csvOut)
