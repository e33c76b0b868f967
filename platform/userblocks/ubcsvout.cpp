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
// Relative names are relative to the model's directory, where the run works. The file
// is checked at initialisation (that it can be written, and that no other block of the
// run writes or reads it and it is not the model's own text), but created afresh only
// when the run steps: a check (-s, -l) or a run that fails at initialisation leaves it
// as it was. It starts with a header line: the names of string 2, or in1 ... inN.
// Every step appends a row and flushes it, so a run that ends early loses nothing; a
// row that cannot be written whole (a full disk, the file-size limit) is taken back,
// reported, and the run stops. The last call closes the file. Should the run come back
// to the block after its last call, the file is opened again for appending.
//#end
#include "blocks.h"
#include "csv.h"
#include "vireo_tools.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace ub;
using CsvOutView = View<kCsvOut>;

// How far the file is: the run writes it only once it steps.
enum Progress { unusable = 0, checked = 1, started = 2 };

// DP[0] holds the open file.
struct State {
    int& rows;      // IP[10] rows written
    int& progress;  // IP[11] a Progress
    explicit State(CsvOutView& b) : rows(b.ip<10>()), progress(b.ip<11>()) {}
};

std::FILE* open(const std::string& name, const char* mode) {
    return name == "-" ? stdout : std::fopen(name.c_str(), mode);
}

// Writes the text whole or not at all: what a failed write put into the file (the part
// of a row that fitted before the disk or the file-size limit was reached) is taken
// back, so that the file ends with a whole row.
bool write(std::FILE* file, const std::string& text) {
    const long before = file == stdout ? -1L : std::ftell(file);
    if (std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0) return true;
    if (before >= 0 && std::fseek(file, before, SEEK_SET) == 0) {
        const int ignored = ftruncate(fileno(file), static_cast<off_t>(before));
        (void)ignored;  // the write failure is reported either way
    }
    std::clearerr(file);
    return false;
}

// The header line; `warn` reports column names beyond the inputs (at initialisation).
std::string header(BlockView& b, bool warn) {
    const std::string given = text(b, 1);
    const std::vector<std::string_view> names = csv::fields(given, csv::separatorOf(given));
    const int n = b.inputCount();
    if (warn && static_cast<int>(names.size()) > n)
        b.report(code::extraColumnNames, {.value = static_cast<int>(names.size())});
    std::string line;
    for (int i = 0; i < n; ++i) {
        if (i > 0) line += ',';
        if (i < static_cast<int>(names.size()) && !names[i].empty()) line += names[i];
        else line += "in" + std::to_string(i + 1);
    }
    return line + '\n';
}

// Whether the file could be written, without touching it: an existing file is opened
// for writing without truncating it, a new one needs a directory that takes files.
bool writable(const std::string& name) {
    struct stat st {};
    if (stat(name.c_str(), &st) == 0) {
        if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode)) return true;  // opened when the run steps
        const int fd = ::open(name.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) return false;
        ::close(fd);
        return S_ISREG(st.st_mode);
    }
    if (errno != ENOENT) return false;
    const std::size_t slash = name.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : name.substr(0, slash);
    return access(dir.c_str(), W_OK | X_OK) == 0;
}

void initialise(CsvOutView& b) {
    State s(b);
    s.rows = 0;
    s.progress = unusable;
    keepFile(b, 0, nullptr);
    const std::string name = text(b, 0);
    if (name.empty()) {
        b.report(code::noFileName);
        return;
    }
    if (name != "-") {
        if (!claimFile(b, name, -1, true, true)) return;
        if (!writable(name)) {
            b.report(code::cannotWrite, {.text = name});
            return;
        }
    }
    s.progress = checked;
    header(b, true);
}

// Creates the file afresh (or empties it) and writes its header: once the run steps.
std::FILE* start(CsvOutView& b) {
    State s(b);
    const std::string name = text(b, 0);
    std::FILE* file = open(name, "w");
    if (file == nullptr) {
        b.report(code::cannotWrite, {.text = name});
        s.progress = unusable;
        return nullptr;
    }
    if (!write(file, header(b, false))) {
        // No row may follow without its header.
        b.report(code::writeFailed, {.text = name});
        if (file != stdout) std::fclose(file);
        s.progress = unusable;
        return nullptr;
    }
    keepFile(b, 0, file);
    s.progress = started;
    return file;
}

void writeRow(CsvOutView& b) {
    State s(b);
    std::FILE* file = fileAt(b, 0);
    if (file == nullptr) {
        if (s.progress == unusable) return;  // initialisation failed and said so
        if (s.progress == checked) {
            file = start(b);
            if (file == nullptr) return b.requestStop();
        } else {
            file = open(text(b, 0), "a");
            if (file == nullptr) {
                b.report(code::cannotWrite, {.text = b.trimmedText(0)});
                return b.requestStop();
            }
            keepFile(b, 0, file);
        }
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
    State s(b);
    releaseFiles(b);
    // A run that steps but never reached this block still starts its file: what it
    // holds is this run's result, not an earlier one's.
    if (s.progress == checked && vireo_tools_run_is_stepping() != 0) start(b);
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
