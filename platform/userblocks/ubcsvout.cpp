// CSVOUT: writes its inputs as one comma-separated row per step.
//
// String 1 names the file ("-" for standard output); it is created afresh at
// initialisation (relative names are relative to the model's directory, where the run
// works) and gets a header line: the names of the optional string 2 (separated by
// commas or blanks), or in1 ... inN. Every step appends a row and flushes it, so a run
// that ends early loses nothing; the last call closes the file. Should the run come
// back to the block after its last call, the file is opened again for appending.
#include "blocks.h"
#include "csv.h"
#include "messages.h"

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

std::string header(BlockView& b) {
    const std::string given = text(b, 1);
    const std::vector<std::string_view> names = csv::fields(given);
    const int n = b.inputCount();
    if (static_cast<int>(names.size()) > n) report(b, message::extraColumnNames, static_cast<int>(names.size()));
    std::string line;
    for (int i = 0; i < n; ++i) {
        if (i > 0) line += ',';
        if (i < static_cast<int>(names.size()) && !names[i].empty()) line += names[i];
        else line += "in" + std::to_string(i + 1);
    }
    return line + '\n';
}

void initialise(BlockView& b) {
    b.ip(kRows) = 0;
    b.ip(kOpened) = 0;
    keepFile(b, 0, nullptr);
    const std::string name = text(b, 0);
    if (name.empty()) {
        b.report(message::noFileName);
        return;
    }
    std::FILE* file = open(name, "w");
    if (file == nullptr) {
        b.report(message::cannotWrite);
        return;
    }
    keepFile(b, 0, file);
    b.ip(kOpened) = 1;
    if (!write(file, header(b))) b.report(message::writeFailed);
}

void writeRow(BlockView& b) {
    std::FILE* file = fileAt(b, 0);
    if (file == nullptr) {
        if (b.ip(kOpened) == 0) return;  // initialisation failed and said so
        file = open(text(b, 0), "a");
        if (file == nullptr) {
            b.report(message::cannotWrite);
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
        b.report(message::writeFailed);
        b.requestStop();
        return;
    }
    ++b.ip(kRows);
}

void close(BlockView& b) {
    std::FILE* file = fileAt(b, 0);
    if (file == nullptr) return;
    keepFile(b, 0, nullptr);
    const bool ok = file == stdout ? std::fflush(file) == 0 : std::fclose(file) == 0;
    if (!ok) b.report(message::writeFailed);
}

struct CsvOut {
    static void init(BlockView& b) { initialise(b); }
    static void step(BlockView& b) { writeRow(b); }
    static void last(BlockView& b) { close(b); }
};

}  // namespace

VIREO_BLOCK(ubcsvout, ub::kCsvOut, CsvOut)
