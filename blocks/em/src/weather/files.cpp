#include "files.h"

#include "commands.h"

#include "vireo_tools.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vireo::em::weather {

namespace {

Fault& fault() {
    static Fault f;
    return f;
}

// Whole records only: a comma typed into a numeric field must not shift the fields after it.
constexpr format::ReadOptions kFixedFields{.commaEndsField = false};

int lineEndCount() {
    int n = 2;
    getlenoflf(&n);
    return n < 0 || n > 2 ? 2 : n;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::function<void()>& writeHook() {
    static std::function<void()> hook;
    return hook;
}

void beforeWrite() {
    if (writeHook()) writeHook()();
}

// The lock of the database held by this process: the descriptor of the site file it is
// on, how strong it is and how many holds share it.
struct Lock {
    int fd = -1;
    int kind = 0;
    int depth = 0;
    std::string path;
};

Lock& lock() {
    static Lock l;
    return l;
}

int& holdWait() {
    static int milliseconds = 60000;
    return milliseconds;
}

}  // namespace

void setWriteHook(std::function<void()> hook) { writeHook() = std::move(hook); }
void setHoldWait(int milliseconds) { holdWait() = milliseconds; }

Hold::Hold(std::string_view directory, Kind kind, const block::Reporter* waiter) {
    Lock& l = lock();
    if (l.depth > 0 && (l.kind >= kind || l.fd < 0)) {
        ++l.depth;
        counted_ = true;
        return;
    }
    const std::string path = std::string(stripped(directory)) + kSiteFile;
    const int operation = kind == updating ? LOCK_EX : LOCK_SH;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(holdWait());
    // Under a hold for reading that now must update, the same descriptor's lock is made
    // stronger.
    int fd = l.depth > 0 ? l.fd : -1;
    bool announced = false;
    for (;;) {
        if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        // No site file: nothing to lock, and the routines say why the database cannot be used.
        if (fd < 0) break;
        if (::flock(fd, operation | LOCK_NB) != 0) {
            const int error = errno;
            if (error == EINTR) continue;
            if (error != EWOULDBLOCK) {
                if (fd != l.fd) ::close(fd);
                // A database on a file system without locks still serves a search.
                if (kind == updating) status_ = fail(code::cannotLock.number, path, 0, std::strerror(error));
                return;
            }
            const bool stopped = vireo_tools_run_stopped() != 0;
            if (stopped || std::chrono::steady_clock::now() >= deadline) {
                if (fd != l.fd) ::close(fd);
                status_ = stopped ? fail(code::waitStopped.number, path)
                                  : fail(code::databaseBusy.number, path, (holdWait() + 999) / 1000);
                return;
            }
            if (waiter != nullptr && !announced) {
                waiter->show(code::waitingForHolder, {.value = (holdWait() + 999) / 1000, .text = path});
                announced = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        // The file locked must still be the site file: an update that replaced it while
        // this process waited holds the new one.
        struct stat open {}, named {};
        if (::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
            open.st_ino == named.st_ino)
            break;
        if (fd != l.fd) ::close(fd);
        fd = -1;
    }
    if (l.depth == 0) l.path = path;
    l.fd = fd;
    l.kind = kind;
    ++l.depth;
    counted_ = true;
    // What was open before the lock may have been replaced since.
    siteDatabaseFile().closeIfReplaced();
    if (kind == updating && fd >= 0) reclaimLostRecords(directory);
}

Hold::~Hold() {
    if (!counted_) return;
    Lock& l = lock();
    if (--l.depth > 0) return;
    if (l.fd >= 0) ::close(l.fd);
    l = {};
}

std::string reasonOf(const format::Status& s) {
    switch (s.code) {
    case format::Code::ioError: return std::strerror(static_cast<int>(s.where));
    case format::Code::endOfFile: return "the file ends before it";
    case format::Code::badLineEnd: return "the record does not end with CR LF";
    case format::Code::badNumber: return "character " + std::to_string(s.where) + " starts no number";
    case format::Code::badRecordNumber: return "there is no such record";
    default: return s.message();
    }
}

const Fault& lastFault() { return fault(); }

int fail(int code, std::string file, long record, std::string reason) {
    Fault& f = fault();
    f.code = code;
    f.file = std::move(file);
    f.record = record;
    f.reason = std::move(reason);
    return code;
}

int undoing(int status, const std::function<void()>& undo) {
    const Fault kept = fault();
    undo();
    fault() = kept;
    return status;
}

block::Code codeOf(int status) {
    for (const block::Code& c : code::kAllCodes)
        if (c.number == status) return c;
    return {status, code::kFileFills};
}

block::Values valuesOf(const Fault& f) {
    return {.value = static_cast<int>(f.record), .text = f.file, .detail = f.reason};
}

int slotOfCode(int code) {
    for (int slot = 0; slot < kParameters; ++slot)
        if (kCodeOfSlot[static_cast<std::size_t>(slot)] == code) return slot;
    return -1;
}

std::string nameKey(std::string_view name) {
    std::string key(kNameLength, ' ');
    for (std::size_t i = 0; i < key.size() && i < name.size(); ++i) {
        const char c = name[i];
        key[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return key;
}

std::string_view stripped(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
    return text;
}

double foldLongitude(double longitude) {
    const double folded = longitude - 360.0 * std::floor(longitude / 360.0);
    return folded >= 360.0 ? 0.0 : folded;
}

bool roundToLong(double v, long& result) {
    const auto r = format::roundHalfAway(v);
    if (!r) return false;
    result = static_cast<long>(*r);
    return true;
}

// ---- one database file ----

int DatabaseFile::open(std::string_view directory, bool forWriting) {
    if (file_.isOpen() && (!forWriting || file_.writable())) return 0;
    file_.close();
    path_ = std::string(stripped(directory)) + name_;
    lineEnd_ = lineEndCount();
    const auto access = forWriting ? format::DirectFile::Access::readWrite : format::DirectFile::Access::readOnly;
    if (const format::Status s = file_.open(path_, chars_, lineEnd_, access); !s.ok())
        return fail(openCode_, path_, 0, reasonOf(s));
    if (forWriting && !file_.writable()) {
        file_.close();
        return fail(openCode_, path_, 0, "the file may not be written");
    }
    if (const int c = checkHeader(); c != 0) {
        file_.close();
        return c;
    }
    return 0;
}

int DatabaseFile::read(long record, std::string& chars, int failCode) const {
    if (const format::Status s = file_.read(record, chars); !s.ok()) return fail(failCode, path_, record, reasonOf(s));
    return 0;
}

int DatabaseFile::read(long record, const format::Format& format, std::initializer_list<format::Item> items,
                       int failCode) const {
    std::string chars;
    if (const int c = read(record, chars, failCode); c != 0) return c;
    format::SingleRecord source(chars);
    if (const format::Status s = format::read(source, format, items, kFixedFields); !s.ok())
        return fail(failCode, path_, record, reasonOf(s));
    return 0;
}

int DatabaseFile::write(long record, std::string_view chars, int failCode) {
    beforeWrite();
    if (const format::Status s = file_.write(record, chars); !s.ok()) return fail(failCode, path_, record, reasonOf(s));
    return 0;
}

int DatabaseFile::write(long record, const format::Format& format, std::initializer_list<format::Value> values,
                        int failCode) {
    beforeWrite();
    if (const format::Status s = file_.write(record, format, values); !s.ok())
        return fail(failCode, path_, record, reasonOf(s));
    return 0;
}

int DatabaseFile::rewrite(const std::vector<std::string>& records, int failCode, const std::function<int()>& commit) {
    const std::string_view lineEnd = std::string_view("\r\n").substr(static_cast<std::size_t>(2 - lineEnd_));
    std::string bytes;
    bytes.reserve(records.size() * static_cast<std::size_t>(chars_ + lineEnd_));
    for (const std::string& r : records) {
        bytes += r.substr(0, static_cast<std::size_t>(chars_));
        bytes.append(static_cast<std::size_t>(chars_) - std::min(r.size(), static_cast<std::size_t>(chars_)), ' ');
        bytes += lineEnd;
    }
    std::string temporary = path_ + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return fail(failCode, path_, 0, std::string("no temporary file beside it: ") + std::strerror(errno));
    // The first failing step names the cause.
    int error = 0;
    const auto succeeded = [&error](bool ok) {
        if (!ok && error == 0) error = errno != 0 ? errno : EIO;
        return ok;
    };
    // The new file takes the old one's permissions, so a rewrite never opens a database up.
    struct stat old {};
    bool done = succeeded(::stat(path_.c_str(), &old) == 0) && succeeded(::fchmod(fd, old.st_mode & 07777) == 0) &&
                succeeded(writeAll(fd, bytes)) && succeeded(::fsync(fd) == 0);
    // The lock of the database is on the site file: the new file is locked before it takes
    // the old one's name, so that no other process can hold it in between.
    Lock& l = lock();
    const bool locked = l.fd >= 0 && l.path == path_;
    if (done && locked) done = succeeded(::flock(fd, LOCK_EX | LOCK_NB) == 0);
    const auto discard = [&] {
        ::close(fd);
        ::unlink(temporary.c_str());
    };
    if (done && commit) {
        if (const int c = commit(); c != 0) {
            discard();
            return c;
        }
    }
    if (done) beforeWrite();
    if (!done || !succeeded(::rename(temporary.c_str(), path_.c_str()) == 0)) {
        discard();
        return fail(failCode, path_, 0, std::strerror(error));
    }
    if (locked) {
        ::close(l.fd);
        l.fd = fd;
    } else {
        ::close(fd);
    }
    // The open file is the old one, which the rename has unlinked.
    file_.close();
    if (file_.open(path_, chars_, lineEnd_).ok() && checkHeader() != 0) file_.close();
    return 0;
}

// ---- free lists ----

std::string freeRecord(int link, int chars) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%05d", link);
    return std::string(digits) + std::string(static_cast<std::size_t>(chars - 5), '0');
}

bool isFreeRecord(std::string_view chars, int record, int last) {
    if (chars.size() < 5) return false;
    int link = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        if (chars[i] < '0' || chars[i] > '9') return false;
        link = 10 * link + (chars[i] - '0');
    }
    if (chars.substr(5).find_first_not_of('0') != std::string_view::npos) return false;
    return link != record && link >= 2 && link <= last + 1;
}

int planAllocation(const DatabaseFile& file, const FreeListHeader& header, int linkReadCode, int& record,
                   FreeListHeader& after) {
    after = header;
    if (header.free == header.last + 1) {
        if (header.free > kLastRecord || header.free < 2)
            return fail(header.free < 2 ? code::freeListDamaged.number : code::fileFull.number, file.path(), header.free);
        record = header.free;
        after.last = header.last + 1;
        after.free = header.free + 1;
        return 0;
    }
    if (header.free < 2 || header.free > header.last)
        return fail(code::freeListDamaged.number, file.path(), header.free, "the head of the free list lies outside the file");
    std::string chars;
    if (const int c = file.read(header.free, chars, linkReadCode); c != 0) return c;
    if (!isFreeRecord(chars, header.free, header.last))
        return fail(code::freeListDamaged.number, file.path(), header.free, "the record is not free");
    record = header.free;
    after.free = std::atoi(chars.substr(0, 5).c_str());
    return 0;
}

int allocate(const FreeListHeader& before, int record, const FreeListHeader& after,
             const std::function<int(const FreeListHeader&)>& writeHeader, const std::function<int()>& write) {
    if (record > before.last) {
        if (const int c = write(); c != 0) return c;
        return writeHeader(after);
    }
    if (const int c = writeHeader(after); c != 0) return c;
    if (const int c = write(); c != 0) return undoing(c, [&] { writeHeader(before); });
    return 0;
}

namespace {

// The header of a free list after a release: 1, L, F, 4711 and zeros to the end.
std::string releasedHeader(const FreeListHeader& h, int chars) {
    char digits[64];
    std::snprintf(digits, sizeof digits, "%05d%05d%05d%05d", 1, h.last, h.free, kMagic);
    return std::string(digits) + std::string(static_cast<std::size_t>(chars - 20), '0');
}

int readListHeader(const DatabaseFile& f, FreeListHeader& h) {
    int one = 0;
    static const format::Format kHeader("(4I5)");
    return f.read(1, kHeader, {format::Item(one), format::Item(h.last), format::Item(h.free), format::Item(h.magic)},
                  code::freeListDamaged.number);
}

// Puts the records 2 to L of `f` that are neither `used` nor on its free list onto it: the
// free record first, then the header, as a release does. False when the list does not read
// as a list of free records.
bool reclaim(DatabaseFile& f, const std::vector<char>& used, FreeListHeader h) {
    const auto last = static_cast<std::size_t>(h.last);
    std::vector<char> free(last + 2, 0);
    std::string chars;
    for (int r = h.free; r != h.last + 1;) {
        if (r < 2 || r > h.last || free[static_cast<std::size_t>(r)] || used[static_cast<std::size_t>(r)]) return false;
        if (f.read(r, chars, code::freeListDamaged.number) != 0 || !isFreeRecord(chars, r, h.last)) return false;
        free[static_cast<std::size_t>(r)] = 1;
        r = std::atoi(chars.substr(0, 5).c_str());
    }
    for (std::size_t r = 2; r <= last; ++r) {
        if (used[r] || free[r]) continue;
        const int record = static_cast<int>(r);
        if (f.write(record, freeRecord(h.free, f.chars()), code::freeListDamaged.number) != 0) return false;
        h.free = record;
        if (f.write(1, releasedHeader(h, f.chars()), code::freeListDamaged.number) != 0) return false;
    }
    return true;
}

}  // namespace

void reclaimLostRecords(std::string_view directory) {
    // A site file written anew by an update killed before it took the old one's place
    // (the name rewrite gives it) is no one's now.
    const std::string folder(stripped(directory));
    constexpr std::string_view prefix = kSiteFile;
    std::error_code ec;
    for (std::filesystem::directory_iterator e(folder.empty() ? "." : folder, ec), end; !ec && e != end; e.increment(ec)) {
        const std::string name = e->path().filename().string();
        std::error_code ignored;
        if (name.size() == prefix.size() + 7 && name.starts_with(prefix) && name[prefix.size()] == '.' &&
            e->is_regular_file(ignored))
            std::filesystem::remove(e->path(), ignored);
    }
    // Whatever fails here is left to the update, which meets it and says so.
    const Fault kept = fault();
    const auto done = [&kept] { fault() = kept; };
    DatabaseFile& index = indexDatabaseFile();
    DatabaseFile& data = dataDatabaseFile();
    int count = 0, unused = 0;
    Site site;
    FreeListHeader ih, dh;
    if (mtlocr(mode::count, unused, count, site, directory) != 0 || index.open(directory, true) != 0 ||
        data.open(directory, true) != 0 || readListHeader(index, ih) != 0 || readListHeader(data, dh) != 0 ||
        ih.last < 1 || dh.last < 1 || ih.last > kLastRecord || dh.last > kLastRecord)
        return done();
    std::vector<char> usedIndex(static_cast<std::size_t>(ih.last) + 2, 0), usedData(static_cast<std::size_t>(dh.last) + 2, 0);
    static const format::Format kPointers("(8I5)");
    for (int r = 2; r <= count; ++r) {
        int record = r;
        if (mtlocr(mode::read, record, unused, site, directory) != 0) return done();
        const int k = site.indexRecord;
        if (k < 2 || k > ih.last || usedIndex[static_cast<std::size_t>(k)]) return done();
        usedIndex[static_cast<std::size_t>(k)] = 1;
        int own = 0;
        Pointers p{};
        if (index.read(k, kPointers,
                       {format::Item(own), format::Item(p[0]), format::Item(p[1]), format::Item(p[2]), format::Item(p[3]),
                        format::Item(p[4]), format::Item(p[5]), format::Item(p[6])},
                       code::indexRead.number) != 0 ||
            own != k)
            return done();
        for (const int d : p) {
            if (d == 0) continue;
            if (d < 2 || d > dh.last || usedData[static_cast<std::size_t>(d)]) return done();
            usedData[static_cast<std::size_t>(d)] = 1;
        }
    }
    if (reclaim(index, usedIndex, ih)) reclaim(data, usedData, dh);
    done();
}

}  // namespace vireo::em::weather
