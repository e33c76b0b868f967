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
// Relative names are relative to the model's directory, where the run works. The file is
// checked at initialisation (that it can be written, and that no other block of the run
// writes or reads it and it is not the model's own text, a library the run has loaded, or
// where the run's messages go: standard output or standard error redirected to a file,
// the message trace), but created afresh only when the run steps: a check (-s, -l) or a
// run that fails at initialisation leaves it as it was. From then to the last call the
// block holds the file's lock, taken before the file is emptied: a second run writing the
// same file at the same time is refused with an error and leaves the file alone. It
// starts with a header line: the names of string 2, or in1 ... inN.
// Every step makes a row. Rows are held in memory and written out whole, many at a time:
// a row is written at once when it is the first or the last write-out is half a second
// old or older, and the held rows also when the run pauses, at the last call (also of a
// run stopped by the user or a signal), when a library ends the process and when a block
// crashes, so that a run that breaks off loses at most the rows of its last half second
// and the step after them, and never leaves half a row. A row that cannot be written
// whole (a full disk, the file-size limit) is taken back with every row after it,
// reported, and the run stops. Rows to standard output are written as they are made, in
// their place among the run's messages. The last call closes the file. Should the run
// come back to the block after its last call, the file is opened again for appending.
//#end
#include "blocks.h"
#include "csv.h"
#include "fatal_signals.h"
#include "vireo_tools.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>
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

// The coarse clock: a read costs a few nanoseconds, and a row may be made every few.
double now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The file a run writes, owned by the block from its initialisation (standard output:
// from the run's first step) to its last call (DP[0]).
struct Output {
    explicit Output(int file, bool toConsole = false) : fd(file), console(toConsole) {}
    int fd = -1;           // -1 until a file that did not exist at initialisation is made
    bool console = false;  // standard output: every row at once, among the messages
    off_t end = -1;        // where the last whole row written ends; -1: nothing can be taken back
    std::string held;      // rows made and not yet written
    double lastWrite = 0;  // when rows were last written out
    int failed = 0;        // the error of a write out that no call has reported yet
};

// Writes the whole rows held out (a signal may come while a row is being made: its part
// stays). A write that fails part way (the disk full, the file-size limit reached) leaves
// the rows that fitted whole; the part of a row after them is taken back, and what did
// not fit is dropped: false, with the error kept. Runs in a signal handler too: write(2)
// and its kin, no allocation. A fatal signal waits until the rows written are no longer
// held, as the handler would write them again (rows to standard output it never writes).
bool writeOut(Output& o) {
    const std::size_t size = o.held.rfind('\n') + 1;  // 0 when no row is whole
    if (size == 0) return true;
    std::optional<vireo_tools::FatalSignalsHeld> whileWriting;
    if (!o.console) whileWriting.emplace();
    o.lastWrite = now();
    if (o.console) std::fflush(stdout);  // the messages said before the row come first
    std::size_t done = 0;
    int error = 0;
    while (done < size) {
        const ssize_t n = ::write(o.fd, o.held.data() + done, size - done);
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
        o.held.erase(0, size);
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

// What a paused run, the process end and a crash write out. Rows to standard output are
// never held: they went out as they were made.
extern "C" void writeHeld(void* held) {
    Output& o = *static_cast<Output*>(held);
    if (!o.console) writeOut(o);
}

Output* outputOf(CsvOutView& b) { return static_cast<Output*>(pointerAt(b, 0)); }

// Takes the file's lock, as the weather database does, so that two runs never write one
// file: false when another run holds it. A file system without locks still takes the
// rows.
bool lockFile(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return true;  // a pipe or a device has no rows of a run
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        return errno != EWOULDBLOCK;
    }
    return true;
}

// Where the file ends, for taking back a row cut short (the file's offset is set there);
// -1 for a pipe or a device.
off_t endOf(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? lseek(fd, 0, SEEK_END) : -1;
}

// Takes the output over: the pending rows are written by whoever ends the process.
Output* keep(CsvOutView& b, Output* o) {
    o->held.reserve(kBlock + 16 * static_cast<std::size_t>(b.inputCount()) + 64);
    keepPointer(b, 0, o);
    vireo_tools_hold_pending(writeHeld, o);
    return o;
}

// Writes what is held and lets the file and its lock go; false when the rows could not
// all be written.
bool shut(CsvOutView& b) {
    Output* o = outputOf(b);
    if (o == nullptr) return true;
    keepPointer(b, 0, nullptr);
    vireo_tools_release_pending(writeHeld, o);
    bool ok = o->failed == 0 && writeOut(*o);
    if (!o->console && o->fd >= 0) ok = ::close(o->fd) == 0 && ok;
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

// Whether a file that is not there yet, a pipe or a device could be written, without
// touching it: a new file needs a directory that takes files.
bool writable(const std::string& name) {
    struct stat st {};
    if (stat(name.c_str(), &st) == 0) return S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode);  // opened when the run steps
    if (errno != ENOENT) return false;
    const std::size_t slash = name.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : name.substr(0, slash);
    return access(dir.c_str(), W_OK | X_OK) == 0;
}

// An existing file opened for writing without emptying it: its descriptor, -1 when there
// is no such file (or it is a pipe or a device), or -2 when it cannot be written.
int openExisting(const std::string& name) {
    struct stat st {};
    if (stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    const int fd = ::open(name.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    return fd >= 0 ? fd : -2;
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
        if (!claimFile(b, name, -1, FileUse::writesAfresh)) return;
        const int fd = openExisting(name);
        if (fd == -2 || (fd == -1 && !writable(name))) {
            b.report(code::cannotWrite, {.text = name});
            return;
        }
        // Claimed again with the descriptor, through which the run locks and empties the
        // file when it begins to step.
        if (fd >= 0) claimFile(b, name, fd, FileUse::writesAfresh);
        keep(b, new Output(fd));
    }
    s.progress = checked;
    header(b, true);
}

// Creates the file afresh (or empties it) and writes its header: once the run steps,
// and only once the block holds the file's lock (which the run took for a file that
// stood at initialisation when it emptied it).
Output* start(CsvOutView& b) {
    State s(b);
    Output* o = outputOf(b);
    if (o == nullptr) o = keep(b, new Output(STDOUT_FILENO, true));
    if (o->fd < 0) o->fd = ::open(text(b, 0).c_str(), O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666);
    const bool held = o->fd >= 0 && !o->console && !lockFile(o->fd);
    if (o->fd < 0 || held) {
        b.report(held ? code::heldByAnotherRun : code::cannotWrite, {.text = b.trimmedText(0)});
        shut(b);
        s.progress = unusable;
        return nullptr;
    }
    if (!o->console) {
        struct stat st {};
        if (fstat(o->fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
            const int ignored = ftruncate(o->fd, 0);
            (void)ignored;  // a file that cannot be emptied fails at its first write
        }
        o->end = endOf(o->fd);
    }
    // Into the room kept for the rows (not by taking the header's buffer over): the buffer
    // that a crash's handler reads does not move while a row is made.
    o->held.clear();
    o->held.append(header(b, false));
    if (!writeOut(*o)) {
        // No row may follow without its header.
        b.report(code::writeFailed, {.text = b.trimmedText(0)});
        shut(b);
        s.progress = unusable;
        return nullptr;
    }
    // The header's write-out is no row's: the first row goes out as it is made, and is not
    // held through a whole slow step after it.
    o->lastWrite = 0;
    s.progress = started;
    return o;
}

// The run came back to the block after its last call: the file is taken up again where
// it ended.
Output* reopen(CsvOutView& b) {
    const std::string name = text(b, 0);
    if (name == "-") return keep(b, new Output(STDOUT_FILENO, true));
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0 || !lockFile(fd)) {
        b.report(fd < 0 ? code::cannotWrite : code::heldByAnotherRun, {.text = name});
        if (fd >= 0) ::close(fd);
        return nullptr;
    }
    Output* o = keep(b, new Output(fd));
    o->end = endOf(fd);
    return o;
}

void writeRow(CsvOutView& b) {
    State s(b);
    Output* o = outputOf(b);
    if (s.progress != started || o == nullptr) {
        if (s.progress == unusable) return;  // initialisation failed and said so
        o = s.progress == checked ? start(b) : reopen(b);
        if (o == nullptr) return b.requestStop();
    }
    if (o->failed == 0) {
        const int n = b.inputCount();
        for (int i = 0; i < n; ++i) {
            if (i > 0) o->held += ',';
            csv::appendNumber(o->held, b.in(i));
        }
        o->held += '\n';
        ++s.rows;
        if (o->console || o->held.size() >= kBlock || now() - o->lastWrite >= kLongestHold) writeOut(*o);
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
