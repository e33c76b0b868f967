#include "files.h"

#include "commands.h"

#include "vireo_tools.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace

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
    if (const format::Status s = file_.write(record, chars); !s.ok()) return fail(failCode, path_, record, reasonOf(s));
    return 0;
}

int DatabaseFile::write(long record, const format::Format& format, std::initializer_list<format::Value> values,
                        int failCode) {
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
    done = succeeded(::close(fd) == 0) && done;
    if (done && commit) {
        if (const int c = commit(); c != 0) {
            ::unlink(temporary.c_str());
            return c;
        }
    }
    if (!done || !succeeded(::rename(temporary.c_str(), path_.c_str()) == 0)) {
        ::unlink(temporary.c_str());
        return fail(failCode, path_, 0, std::strerror(error));
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

}  // namespace vireo::em::weather
