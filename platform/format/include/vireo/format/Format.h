// Record formats: the parenthesised lists of edit descriptors that describe the
// fixed-width text records of the block libraries (weather database, listings, data
// files, reports).
//
// Accepted descriptors (case-insensitive; blanks outside quoted texts are ignored):
//   Iw  Iw.m    integer, right-aligned in w characters, at least m digits (zero-filled)
//   Fw.d        real in w characters with d decimals
//   Ew.d  Dw.d  real as 0.ddd...E+ee (D+ee) in w characters with d digits after the point
//   A   Aw      text: the whole value, or w characters
//   nX          n blanks on output, n characters skipped on input (X alone: one)
//   /           ends the record, the next item goes into a new one
//   'text' "text"   written as it stands (a doubled quote stands for one)
//   r...        a repeat count before a data descriptor, a slash or a group "r(...)"
// A format given as "*" stands for list-directed input.
//
// Everything reports through Status; nothing here throws or ends the process.
#ifndef VIREO_FORMAT_FORMAT_H
#define VIREO_FORMAT_FORMAT_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vireo::format {

enum class Code {
    ok = 0,
    formatSyntax,      // where: 1-based column of the fault in the format text
    noDataDescriptor,  // values remain but the format (after reversion) transfers none
    typeMismatch,      // where: 1-based number of the value or item
    badDescriptor,     // a descriptor that this transfer cannot use; where: value or item
    fieldOverflow,     // a value does not fit its field (refused writes); where: value
    recordTooLong,     // a record or a position beyond the limits below, or the file's
    badNumber,         // where: 1-based column in the record of the field or value
    endOfFile,         // no further record; a direct-access record past the end
    ioError,           // where: the system's error number
    badRecordNumber,   // where: the record number
    badLineEnd,        // a direct-access record without its line end; where: record
    notOpen,
};

struct Status {
    Code code = Code::ok;
    long where = 0;

    bool ok() const { return code == Code::ok; }
    // A short English description, for logs and test output.
    std::string message() const;
};

// Limits that keep hostile formats and files from exhausting memory or time.
inline constexpr int kMaxCount = 32767;          // repeat counts, widths, digits, nX
inline constexpr int kMaxDepth = 16;             // nesting of groups
inline constexpr std::size_t kMaxRecordLength = 1u << 20;  // characters in one record

enum class Kind : unsigned char {
    integer,     // I
    fixed,       // F
    exponent,    // E
    dexponent,   // D
    text,        // A
    skip,        // X
    newRecord,   // /
    literal,     // quoted text
    groupOpen,
    groupClose,
};

struct Node {
    Kind kind = Kind::groupOpen;
    int repeat = 1;          // data descriptors, slash, groups
    int width = 0;           // w; n of nX
    int digits = 0;          // d of F/E/D, m of Iw.m
    bool hasWidth = false;   // false for A without w
    bool hasDigits = false;  // false for I without .m
    int partner = -1;        // groups: index of the matching parenthesis
    int column = 0;          // 1-based column in the format text
    std::string text;        // literal
};

bool isData(Kind k);

// A parsed format. Build it once from a constant or user text; a text that does not
// parse leaves status() not ok, and every transfer with it returns that status.
class Format {
public:
    Format() = default;
    explicit Format(std::string_view text);

    const Status& status() const { return status_; }
    bool listDirected() const { return listDirected_; }
    // nodes()[0] opens the whole format and nodes().back() closes it.
    const std::vector<Node>& nodes() const { return nodes_; }
    // Where format control goes back to when values remain at the final parenthesis:
    // the last group that opens directly inside the outer parentheses, else the start.
    std::size_t reversionPoint() const { return reversion_; }
    bool hasData() const;

private:
    Status status_{Code::formatSyntax, 1};
    bool listDirected_ = false;
    std::vector<Node> nodes_;
    std::size_t reversion_ = 1;
};

// A format given by a user for reading: it must parse, be "*" or transfer at least one
// value, and hold no quoted text (input has nothing to compare it with). Leading and
// trailing blanks are ignored. where = column of the fault (1-based, at least 1).
Status checkReadFormat(std::string_view text);

}  // namespace vireo::format

#endif
