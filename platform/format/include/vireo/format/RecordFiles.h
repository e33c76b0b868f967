// Files of text records: sequential text files read line by line, and direct-access
// files of fixed-length records.
//
// Direct-access layout: record n (from 1) occupies bytes (n-1)*L to n*L-1 of the file,
// L = record characters + line-end characters; a record is its characters followed by
// its line end (CR LF for 2 line-end characters, LF for 1, nothing for 0; the count comes
// from getlenoflf of the utility library, which says 2). Nothing is cached: every read
// and write goes to the file at once, so a second open of the same file sees it.
#ifndef VIREO_FORMAT_RECORDFILES_H
#define VIREO_FORMAT_RECORDFILES_H

#include "vireo/format/Format.h"
#include "vireo/format/Reader.h"
#include "vireo/format/Writer.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vireo::format {

// Whether a file (anything but a directory) exists under that name.
bool fileExists(const std::string& path);
// Its size in bytes; nothing when it does not exist or cannot be asked.
std::optional<std::uintmax_t> fileSize(const std::string& path);

// A text file read record by record (one record a line; a CR that ends a line is dropped).
class SequentialFile final : public RecordSource {
public:
    SequentialFile() = default;
    SequentialFile(const SequentialFile&) = delete;
    SequentialFile& operator=(const SequentialFile&) = delete;
    ~SequentialFile() override { close(); }

    // Opens an existing file for reading: ok or ioError (errno).
    Status open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }
    // Back to the first record.
    Status rewind();
    // ok, endOfFile, recordTooLong (a line beyond kMaxRecordLength), ioError, notOpen.
    Status next(std::string& record) override;
    // Number of the last record handed out (1 for the first after open or rewind); for
    // messages that name the line of a fault.
    long recordNumber() const { return recordNumber_; }
    const std::string& path() const { return path_; }

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    long recordNumber_ = 0;
};

// A direct-access file of fixed-length records. The file must exist: it is never created.
class DirectFile {
public:
    DirectFile() = default;
    DirectFile(const DirectFile&) = delete;
    DirectFile& operator=(const DirectFile&) = delete;
    ~DirectFile() { close(); }

    // readWrite: for reading and writing, or for reading alone when writing is not
    // allowed (writes then fail with ioError). readOnly: for reading alone, so that a
    // reader never needs (or takes) the right to change the file.
    enum class Access { readWrite, readOnly };

    // recordChars from 1 to kMaxRecordLength, lineEnd 0 to 2; errors: ioError (errno),
    // recordTooLong, badLineEnd.
    Status open(const std::string& path, int recordChars, int lineEnd, Access access = Access::readWrite);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    bool writable() const { return fd_ >= 0 && writable_; }
    int recordChars() const { return chars_; }
    // L, the record length including the line end (RECL).
    int recordLength() const { return chars_ + lineEnd_; }
    // Whole records in the file now.
    long recordCount() const;
    // Whether the open file is the one that `path` names now (not one renamed over since).
    bool isFileAt(const std::string& path) const;

    // The record's characters (without the line end). endOfFile when the record lies
    // (partly) beyond the end of the file; badLineEnd when its line end is not there, so
    // that a file with the wrong line ends is never read shifted; badRecordNumber below 1.
    Status read(long record, std::string& chars) const;
    // The record read with a format; a format that needs a second record fails with
    // endOfFile.
    Status read(long record, const Format& format, std::span<const Item> items) const;
    Status read(long record, const Format& format, std::initializer_list<Item> items) const;

    // Writes the record: the characters, blank-padded to recordChars, and the line end,
    // in one piece. Refused, with nothing written: more characters than recordChars
    // (recordTooLong), a record number below 1 or beyond the record after the last
    // (badRecordNumber: a gap would leave records that do not read). A write that the
    // system does not complete returns ioError; when it was to grow the file, the file is
    // cut back to its length before, so that no partial record is left at its end.
    Status write(long record, std::string_view chars);
    // The values written with the format as one record; a value that does not fit its
    // field refuses the record (fieldOverflow, value number) and nothing is written.
    Status write(long record, const Format& format, std::span<const Value> values);
    Status write(long record, const Format& format, std::initializer_list<Value> values);

private:
    int fd_ = -1;
    bool writable_ = false;
    int chars_ = 0;
    int lineEnd_ = 0;
};

}  // namespace vireo::format

#endif
