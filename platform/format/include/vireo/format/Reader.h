// Reading values from fixed-width text records, with a format or list-directed.
//
//   int height = 0;
//   Status s = read(" 1234", Format("(I5)"), {Item(height)});        // height == 1234
//
//   SequentialFile data;                        // RecordFiles.h
//   float key = 0, temperature = 0;
//   s = read(data, Format("*"), {Item(key), Item(temperature)});
//
// Formatted input, by the customary rules of fixed-width record I/O:
//   - Each read starts a new record; "/" and reversion (values left at the final
//     parenthesis) go on to the next one; what is left of the last record is skipped.
//   - A record shorter than the format reads as if padded with blanks.
//   - Blanks inside a numeric field are ignored; a blank field reads as zero.
//   - Fw.d (also Ew.d, Dw.d) without a decimal point in the field takes the last d
//     digits as decimals: "1234" in F4.2 is 12.34; a point in the field wins.
//     Exponents may follow: 1.5E2, 1.5D2, 1.5+2.
//   - A comma ends a numeric field early ("12,34" in 2I5 reads 12 and 34); the options
//     can turn this off for texts where a comma is a decimal comma typed by mistake.
//   - Aw takes w characters; a variable shorter than w gets the rightmost of them.
// List-directed input ("*"): values separated by blanks or a comma, continued across
// records; r*c stands for r times c, r* for r null values; a null value (",,") leaves
// its variable unchanged; "/" ends the read and leaves the rest unchanged.
//
// Deliberate limits: NaN and infinities are refused as input (a data file must not
// bring them into a simulation); list-directed input reads numbers only.
#ifndef VIREO_FORMAT_READER_H
#define VIREO_FORMAT_READER_H

#include "vireo/format/Format.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace vireo::format {

// A variable to read into. Items hold references: keep the variables alive for the read.
class Item {
public:
    enum class Type { integer, single, real, text };

    Item(int& v) : type_(Type::integer), target_(&v) {}
    Item(float& v) : type_(Type::single), target_(&v) {}
    Item(double& v) : type_(Type::real), target_(&v) {}
    // A text variable of `length` characters (A without w fills all of them); after the
    // read it holds exactly that many characters, blank-padded.
    Item(std::string& v, std::size_t length) : type_(Type::text), target_(&v), length_(length) {}

    Type type() const { return type_; }
    std::size_t length() const { return length_; }
    int& integer() const { return *static_cast<int*>(target_); }
    float& single() const { return *static_cast<float*>(target_); }
    double& real() const { return *static_cast<double*>(target_); }
    std::string& text() const { return *static_cast<std::string*>(target_); }

private:
    Type type_;
    void* target_;
    std::size_t length_ = 0;
};

// Where the records of a read come from.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    // The next record (without its line end): ok, endOfFile, or an error.
    virtual Status next(std::string& record) = 0;
};

// The records of a text, one per line; a CR that ends a line is not part of it.
class TextRecords final : public RecordSource {
public:
    explicit TextRecords(std::string_view text) : text_(text) {}
    Status next(std::string& record) override;

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

// One text as one record (an internal file): a second record is the end of the file.
class SingleRecord final : public RecordSource {
public:
    explicit SingleRecord(std::string_view record) : record_(record) {}
    Status next(std::string& record) override;

private:
    std::string_view record_;
    bool taken_ = false;
};

struct ReadOptions {
    bool commaEndsField = true;
};

// One read statement. A failed read may leave the items before the failing one set.
// Errors: endOfFile, badNumber (column of the field), typeMismatch (item), badDescriptor
// (a quoted text in the format), noDataDescriptor, recordTooLong, or the source's error.
Status read(RecordSource& source, const Format& format, std::span<const Item> items,
            const ReadOptions& options = {});
Status read(RecordSource& source, const Format& format, std::initializer_list<Item> items,
            const ReadOptions& options = {});
// From one text as a single record.
Status read(std::string_view record, const Format& format, std::initializer_list<Item> items,
            const ReadOptions& options = {});

// List-directed; the same as read() with Format("*").
Status readList(RecordSource& source, std::span<const Item> items);
Status readList(RecordSource& source, std::initializer_list<Item> items);

}  // namespace vireo::format

#endif
