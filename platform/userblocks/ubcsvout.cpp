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
// Every step makes a row. Rows are held in memory and written out whole, many at a
// time: at the latest half a second after they were made (when the block is called
// again), when the run pauses, at the last call (also of a run stopped by the user or a
// signal) and when a library ends the process, so that a run that breaks off loses at
// most its last second and never leaves half a row. A row that cannot be written whole
// (a full disk, the file-size limit) is taken back with every row after it, reported,
// and the run stops. Rows to standard output are written as they are made, in their
// place among the run's messages. The last call closes the file. Should the run come
// back to the block after its last call, the file is opened again for appending.
//#end
#include "blocks.h"
#include "csv.h"
#include "vireo_tools.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
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

// DP[0] holds the Output below.
struct State {
    int& rows;      // IP[10] rows made
    int& progress;  // IP[11] a Progress
    explicit State(CsvOutView& b) : rows(b.ip<10>()), progress(b.ip<11>()) {}
};

// Rows held before they are written out: a write a block, not a write a row, is what
// makes a year of short steps cheap, and a block of whole rows is what a crash may cut
// at most.
constexpr std::size_t kBlock = 64 * 1024;
constexpr double kLongestHold = 0.5;  // seconds

double now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The file a run writes, owned by the block from the run's first step to its last call
// (DP[0]).
struct Output {
    int fd = -1;
    bool console = false;  // standard output: every row at once, among the messages
    off_t end = -1;        // where the last whole row written ends; -1: nothing can be taken back
    std::string held;      // whole rows made and not yet written
    double heldSince = 0;  // when the oldest of them was made
    int failed = 0;        // the error of a write out that no call has reported yet
};

// Writes the held rows out. A write that fails part way (the disk full, the file-size
// limit reached) leaves the rows that fitted whole; the part of a row after them is
// taken back, and what did not fit is dropped: false, with the error kept.
bool writeOut(Output& o) {
    if (o.held.empty()) return true;
    if (o.console) std::fflush(stdout);  // the messages said before the row come first
    std::size_t done = 0;
    int error = 0;
    while (done < o.held.size()) {
        const ssize_t n = ::write(o.fd, o.held.data() + done, o.held.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            error = n < 0 ? errno : EIO;
            break;
        }
    }
    if (error == 0) {
        if (o.end >= 0) o.end += static_cast<off_t>(done);
        o.held.clear();
        return true;
    }
    const std::size_t lastEnd = done == 0 ? std::string::npos : o.held.rfind('\n', done - 1);
    const std::size_t whole = lastEnd == std::string::npos ? 0 : lastEnd + 1;
    if (o.end >= 0) {
        o.end += static_cast<off_t>(whole);
        if (whole != done) {
            const int ignored = ftruncate(o.fd, o.end);
            (void)ignored;  // the write failure is reported either way
            lseek(o.fd, o.end, SEEK_SET);
        }
    }
    o.held.clear();
    o.failed = error;
    return false;
}

// What the process end and a paused run write out.
extern "C" void writeHeld(void* held) { writeOut(*static_cast<Output*>(held)); }

Output* outputOf(CsvOutView& b) { return static_cast<Output*>(pointerAt(b, 0)); }

// Opens the file (creating it afresh, or to go on with it) and takes it over.
Output* open(CsvOutView& b, bool afresh) {
    const std::string name = text(b, 0);
    auto* o = new Output;
    if (name == "-") {
        o->fd = STDOUT_FILENO;
        o->console = true;
    } else {
        o->fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC | (afresh ? O_TRUNC : O_APPEND), 0666);
        if (o->fd < 0) {
            delete o;
            return nullptr;
        }
        struct stat st {};
        if (fstat(o->fd, &st) == 0 && S_ISREG(st.st_mode)) o->end = lseek(o->fd, 0, SEEK_END);
        o->held.reserve(kBlock + 16 * static_cast<std::size_t>(b.inputCount()) + 64);
    }
    keepPointer(b, 0, o);
    vireo_tools_hold_pending(writeHeld, o);
    return o;
}

// Writes what is held and lets the file go; false when the rows could not all be written.
bool shut(CsvOutView& b) {
    Output* o = outputOf(b);
    if (o == nullptr) return true;
    keepPointer(b, 0, nullptr);
    vireo_tools_release_pending(writeHeld, o);
    bool ok = o->failed == 0 && writeOut(*o);
    if (!o->console) ok = ::close(o->fd) == 0 && ok;
    delete o;
    return ok;
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
    keepPointer(b, 0, nullptr);
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
Output* start(CsvOutView& b) {
    State s(b);
    Output* o = open(b, true);
    if (o == nullptr) {
        b.report(code::cannotWrite, {.text = b.trimmedText(0)});
        s.progress = unusable;
        return nullptr;
    }
    o->held = header(b, false);
    if (!writeOut(*o)) {
        // No row may follow without its header.
        b.report(code::writeFailed, {.text = b.trimmedText(0)});
        shut(b);
        s.progress = unusable;
        return nullptr;
    }
    s.progress = started;
    return o;
}

void writeRow(CsvOutView& b) {
    State s(b);
    Output* o = outputOf(b);
    if (o == nullptr) {
        if (s.progress == unusable) return;  // initialisation failed and said so
        if (s.progress == checked) {
            o = start(b);
            if (o == nullptr) return b.requestStop();
        } else {
            o = open(b, false);
            if (o == nullptr) {
                b.report(code::cannotWrite, {.text = b.trimmedText(0)});
                return b.requestStop();
            }
        }
    }
    if (o->failed == 0) {
        const double t = now();
        if (o->held.empty()) o->heldSince = t;
        const int n = b.inputCount();
        for (int i = 0; i < n; ++i) {
            if (i > 0) o->held += ',';
            csv::appendNumber(o->held, b.in(i));
        }
        o->held += '\n';
        ++s.rows;
        if (o->console || o->held.size() >= kBlock || t - o->heldSince >= kLongestHold) writeOut(*o);
    }
    if (o->failed != 0) {
        // Reported once; the file keeps its whole rows and the run stops.
        o->failed = 0;
        o->held.clear();
        b.report(code::writeFailed, {.text = b.trimmedText(0)});
        b.requestStop();
    }
}

void close(CsvOutView& b) {
    State s(b);
    releaseFiles(b);
    // A run that steps but never reached this block still starts its file: what it
    // holds is this run's result, not an earlier one's.
    if (s.progress == checked && vireo_tools_run_is_stepping() != 0) start(b);
    if (!shut(b)) b.report(code::writeFailed, {.text = b.trimmedText(0)});
}
struct CsvOut {
    static void init(CsvOutView& b) { initialise(b); }
    static void step(CsvOutView& b) { writeRow(b); }
    static void last(CsvOutView& b) { close(b); }
};

}  // namespace

VIREO_BLOCK(ubcsvout, ub::kCsvOut, CsvOut)
