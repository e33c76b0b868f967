// Writing values into fixed-width text records.
//
//   std::string text;
//   Status s = writeText("(/2X,A18,A6,2X,A6,D25.17)", {" OUT OF RANGE IN  ", "VPT1  ", "PRES =", 1.0}, text);
//   // s.ok(), text == "\n   OUT OF RANGE IN  VPT1    PRES =  0.10000000000000000D+01\n"
//
// The forms are the customary ones of fixed-width record I/O, which the stored files
// and reports rely on:
//   - Iw.m fills with zeros to m digits; Iw.0 writes a zero as w blanks.
//   - Fw.d and Ew.d/Dw.d round the exact binary value to the digits shown (a value
//     exactly half-way goes to the even digit: 0.125 in F5.2 is " 0.12").
//   - Ew.d writes 0.ddd...E+ee; exponents beyond 99 drop the letter: 0.1000+101.
//   - The zero before the point is left out only when the field has no room for it.
//   - A negative value (negative zero too, and one that rounds to zero) keeps its sign.
//   - NaN is "NaN"; infinity "Infinity", or "Inf" in fields narrower than its full form.
//   - A value that does not fit its field fills the field with asterisks.
//   - nX moves on; blanks appear only when something is written after them.
//   - When values remain at the final parenthesis, the record ends and the format
//     starts again at its last outer group (reversion); with no values left, writing
//     stops at the next data descriptor or at the final parenthesis.
//
// Keeping stored records readable
// -------------------------------
// A stored record is read back with the descriptors it was written with, and asterisks
// do not read back. A caller that writes a stored record keeps every value inside its
// field's range before writing, with these helpers:
//   - roundHalfAway(v): the rounding that encodes stored numbers (nearest integer,
//     halves away from zero); nothing for NaN, infinities and values out of range.
//   - fitsInteger(v, w, m) / integerFieldRange(w, m): whether and for which values
//     Iw.m writes digits rather than asterisks (I5.5 holds 0 to 99999, I4 -999 to 9999).
//   - check(format, values): formats without writing anything; fieldOverflow names the
//     first value (1-based) that would come out as asterisks.
// DirectFile::write (RecordFiles.h) refuses such a record with fieldOverflow and leaves
// the file untouched, so an unchecked value costs the write but never the file.
#ifndef VIREO_FORMAT_WRITER_H
#define VIREO_FORMAT_WRITER_H

#include "vireo/format/Format.h"

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vireo::format {

// One value to write: an integer (I), a real (F, E, D; a float is written from its exact
// value) or a text (A, which may hold any byte, NUL included).
class Value {
public:
    enum class Type { integer, real, text };

    Value(int v) : type_(Type::integer), integer_(v) {}
    Value(long v) : type_(Type::integer), integer_(v) {}
    Value(long long v) : type_(Type::integer), integer_(v) {}
    Value(float v) : type_(Type::real), real_(v) {}
    Value(double v) : type_(Type::real), real_(v) {}
    Value(std::string_view v) : type_(Type::text), text_(v) {}
    Value(const char* v) : type_(Type::text), text_(v) {}
    Value(const std::string& v) : type_(Type::text), text_(v) {}

    Type type() const { return type_; }
    long long integer() const { return integer_; }
    double real() const { return real_; }
    std::string_view text() const { return text_; }

private:
    Type type_;
    long long integer_ = 0;
    double real_ = 0.0;
    std::string_view text_;
};

struct WriteOptions {
    // Return fieldOverflow (and no records) instead of writing asterisks.
    bool refuseOverflow = false;
};

// The records that the format makes of the values, appended to `records`. On failure
// nothing is appended.
Status write(const Format& format, std::span<const Value> values, std::vector<std::string>& records,
             const WriteOptions& options = {});

// The records appended to `text`, each followed by "\n" (an empty record is "\n").
Status writeText(const Format& format, std::span<const Value> values, std::string& text);
Status writeText(std::string_view format, std::initializer_list<Value> values, std::string& text);

// Exactly one record (no line end) into `record`; a format that makes more than one
// is refused with recordTooLong.
Status writeRecord(const Format& format, std::span<const Value> values, std::string& record,
                   const WriteOptions& options = {});
Status writeRecord(std::string_view format, std::initializer_list<Value> values, std::string& record);

// ---- range checks for stored records (see the top of this header) ----

std::optional<long long> roundHalfAway(double v);

struct IntegerRange {
    long long lowest;
    long long highest;
};
IntegerRange integerFieldRange(int width, int minDigits = 0);
bool fitsInteger(long long v, int width, int minDigits = 0);

// ok, or fieldOverflow with the first value that would not fit, or the error that
// writing would report.
Status check(const Format& format, std::span<const Value> values);

}  // namespace vireo::format

#endif
