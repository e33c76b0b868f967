#include "vireo/format/RecordFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace vireo::format {

namespace {

std::string_view lineEndChars(int lineEnd) {
    switch (lineEnd) {
    case 1: return "\n";
    case 2: return "\r\n";
    default: return "";
    }
}

Status systemError() { return {Code::ioError, errno}; }

}  // namespace

bool fileExists(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::optional<std::uintmax_t> fileSize(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return std::nullopt;
    return size;
}

// ---- sequential text files ----

Status SequentialFile::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) return systemError();
    path_ = path;
    recordNumber_ = 0;
    return {};
}

void SequentialFile::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

Status SequentialFile::rewind() {
    if (file_ == nullptr) return {Code::notOpen, 0};
    if (std::fseek(file_, 0, SEEK_SET) != 0) return systemError();
    std::clearerr(file_);
    recordNumber_ = 0;
    return {};
}

Status SequentialFile::next(std::string& record) {
    if (file_ == nullptr) return {Code::notOpen, 0};
    record.clear();
    int c = std::getc(file_);
    if (c == EOF) return std::ferror(file_) ? systemError() : Status{Code::endOfFile, 0};
    bool tooLong = false;
    for (; c != EOF && c != '\n'; c = std::getc(file_)) {
        if (record.size() < kMaxRecordLength) record.push_back(static_cast<char>(c));
        else tooLong = true;  // read on to the line end, so the next record is the next line
    }
    if (c == EOF && std::ferror(file_)) return systemError();
    if (!record.empty() && record.back() == '\r') record.pop_back();
    ++recordNumber_;
    if (tooLong) return {Code::recordTooLong, recordNumber_};
    return {};
}

// ---- direct-access files ----

Status DirectFile::open(const std::string& path, int recordChars, int lineEnd, Access access) {
    close();
    if (recordChars < 1 || static_cast<std::size_t>(recordChars) > kMaxRecordLength)
        return {Code::recordTooLong, recordChars};
    if (lineEnd < 0 || lineEnd > 2) return {Code::badLineEnd, lineEnd};
    // An installed database may be read-only: reading it must still work.
    bool writable = access == Access::readWrite;
    int fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0 && writable && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        writable = false;
    }
    if (fd < 0) return systemError();
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const Status s = S_ISDIR(info.st_mode) ? Status{Code::ioError, EISDIR} : systemError();
        ::close(fd);
        return s;
    }
    fd_ = fd;
    writable_ = writable;
    chars_ = recordChars;
    lineEnd_ = lineEnd;
    return {};
}

void DirectFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

long DirectFile::recordCount() const {
    if (fd_ < 0) return 0;
    struct stat info {};
    if (::fstat(fd_, &info) != 0) return 0;
    return static_cast<long>(info.st_size / recordLength());
}

Status DirectFile::read(long record, std::string& chars) const {
    if (fd_ < 0) return {Code::notOpen, 0};
    const long length = recordLength();
    if (record < 1 || record > std::numeric_limits<off_t>::max() / length) return {Code::badRecordNumber, record};
    std::string buffer(static_cast<std::size_t>(length), '\0');
    std::size_t done = 0;
    const off_t offset = static_cast<off_t>(record - 1) * length;
    while (done < buffer.size()) {
        const ssize_t n = ::pread(fd_, buffer.data() + done, buffer.size() - done, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return systemError();
        }
        if (n == 0) return {Code::endOfFile, record};
        done += static_cast<std::size_t>(n);
    }
    if (std::string_view(buffer).substr(static_cast<std::size_t>(chars_)) != lineEndChars(lineEnd_))
        return {Code::badLineEnd, record};
    buffer.resize(static_cast<std::size_t>(chars_));
    chars = std::move(buffer);
    return {};
}

Status DirectFile::read(long record, const Format& format, std::span<const Item> items) const {
    std::string chars;
    if (Status s = read(record, chars); !s.ok()) return s;
    SingleRecord source(chars);
    return vireo::format::read(source, format, items);
}

Status DirectFile::read(long record, const Format& format, std::initializer_list<Item> items) const {
    return read(record, format, std::span<const Item>(items.begin(), items.size()));
}

Status DirectFile::write(long record, std::string_view chars) {
    if (fd_ < 0) return {Code::notOpen, 0};
    if (chars.size() > static_cast<std::size_t>(chars_)) return {Code::recordTooLong, static_cast<long>(chars.size())};
    if (record < 1 || record > recordCount() + 1) return {Code::badRecordNumber, record};
    if (!writable_) return {Code::ioError, EBADF};
    std::string buffer(chars);
    buffer.resize(static_cast<std::size_t>(chars_), ' ');
    buffer += lineEndChars(lineEnd_);
    const off_t offset = static_cast<off_t>(record - 1) * recordLength();
    struct stat before {};
    if (::fstat(fd_, &before) != 0) return systemError();
    // A record that grows the file and fails part-way (a full disk, a size limit) is cut
    // off again: a partial record at the end would shift nothing but would never read.
    const auto failed = [&](int error) {
        if (offset + static_cast<off_t>(buffer.size()) > before.st_size) {
            while (::ftruncate(fd_, before.st_size) != 0 && errno == EINTR) {
            }
        }
        return Status{Code::ioError, error};
    };
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t n = ::pwrite(fd_, buffer.data() + done, buffer.size() - done, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return failed(errno);
        }
        if (n == 0) return failed(EIO);
        done += static_cast<std::size_t>(n);
    }
    return {};
}

bool DirectFile::isFileAt(const std::string& path) const {
    struct stat open {}, named {};
    return fd_ >= 0 && ::fstat(fd_, &open) == 0 && ::stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

Status DirectFile::write(long record, const Format& format, std::span<const Value> values) {
    std::string chars;
    if (Status s = writeRecord(format, values, chars, WriteOptions{true}); !s.ok()) return s;
    return write(record, chars);
}

Status DirectFile::write(long record, const Format& format, std::initializer_list<Value> values) {
    return write(record, format, std::span<const Value>(values.begin(), values.size()));
}

}  // namespace vireo::format
