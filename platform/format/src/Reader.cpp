#include "vireo/format/Reader.h"

#include "Walker.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vireo::format {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The parts of a number as written: sign, digits of the mantissa (the point removed),
// how many of them follow the point, and the exponent.
struct Number {
    bool negative = false;
    std::string digits;
    long decimals = 0;
    bool hasPoint = false;
    long exponent = 0;
    bool hasExponent = false;
};

// Splits a number without blanks; false when the text is not one.
bool scan(std::string_view s, Number& n) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) n.negative = s[i++] == '-';
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (isDigit(c)) {
            n.digits.push_back(c);
            if (n.hasPoint) ++n.decimals;
        } else if (c == '.' && !n.hasPoint) {
            n.hasPoint = true;
        } else {
            break;
        }
    }
    if (i == s.size()) return true;
    // Exponent: a letter with an optional sign, or a sign alone, then digits.
    const char letter = s[i];
    if (letter == 'E' || letter == 'e' || letter == 'D' || letter == 'd' || letter == 'Q' || letter == 'q') ++i;
    else if (letter != '+' && letter != '-') return false;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size()) return false;
    long e = 0;
    for (; i < s.size(); ++i) {
        if (!isDigit(s[i])) return false;
        if (e < 100000000) e = e * 10 + (s[i] - '0');  // far beyond any finite value
    }
    n.exponent = negative ? -e : e;
    n.hasExponent = true;
    return true;
}

template <typename T>
bool toReal(const Number& n, long impliedDecimals, T& out) {
    std::size_t first = n.digits.find_first_not_of('0');
    const T zero = n.negative ? -T(0) : T(0);
    if (first == std::string::npos) {
        out = zero;
        return true;
    }
    const long decimals = n.hasPoint ? n.decimals : impliedDecimals;
    const long scale = n.exponent - decimals;
    std::string text = n.digits.substr(first);
    const long magnitude = scale + static_cast<long>(text.size());  // value < 10^magnitude
    text.push_back('e');
    text += std::to_string(scale);
    T value{};
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec == std::errc::result_out_of_range) {
        if (magnitude > 0) return false;  // overflow
        out = zero;                        // underflow
        return true;
    }
    if (r.ec != std::errc() || !std::isfinite(value)) return false;
    out = n.negative ? -value : value;
    return true;
}

bool toInteger(const Number& n, int& out) {
    if (n.hasPoint || n.hasExponent) return false;
    long long v = 0;
    for (char c : n.digits) {
        v = v * 10 + (c - '0');
        if (v > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return false;
    }
    if (n.negative) v = -v;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
    out = static_cast<int>(v);
    return true;
}

// A number from a formatted field: blanks are dropped first, and a field with no digit
// (blank, or only a sign or a point) reads as zero.
bool numberFromField(std::string_view field, const Node& node, const Item& item) {
    std::string packed;
    for (char c : field)
        if (c != ' ') packed.push_back(c);
    Number n;
    if (!scan(packed, n)) return false;
    if (n.digits.empty() && n.hasExponent) return false;
    if (item.type() == Item::Type::integer) return toInteger(n, item.integer());
    if (item.type() == Item::Type::single) return toReal(n, node.digits, item.single());
    return toReal(n, node.digits, item.real());
}

// A number from a list-directed value: digits are required.
bool numberFromValue(std::string_view value, const Item& item) {
    Number n;
    if (!scan(value, n) || n.digits.empty()) return false;
    switch (item.type()) {
    case Item::Type::integer: return toInteger(n, item.integer());
    case Item::Type::single: return toReal(n, 0, item.single());
    default: return toReal(n, 0, item.real());
    }
}

bool typeFits(Kind kind, Item::Type type) {
    switch (kind) {
    case Kind::integer: return type == Item::Type::integer;
    case Kind::text: return type == Item::Type::text;
    default: return type == Item::Type::single || type == Item::Type::real;
    }
}

Status readFormatted(RecordSource& source, const Format& format, std::span<const Item> items,
                     const ReadOptions& options) {
    std::string record;
    if (Status s = source.next(record); !s.ok()) return s;
    std::size_t position = 0;
    std::size_t next = 0;
    std::size_t sinceReversion = 0;
    detail::Walker walker(format);
    for (;;) {
        const Node* node = walker.next();
        if (node == nullptr) {
            if (next == items.size()) return {};
            if (sinceReversion == 0) return {Code::noDataDescriptor, static_cast<long>(next + 1)};
            if (Status s = source.next(record); !s.ok()) return s;
            position = 0;
            walker.revert();
            sinceReversion = 0;
            continue;
        }
        switch (node->kind) {
        case Kind::skip:
            position += static_cast<std::size_t>(node->width);
            if (position > kMaxRecordLength) return {Code::recordTooLong, 0};
            continue;
        case Kind::newRecord:
            if (Status s = source.next(record); !s.ok()) return s;
            position = 0;
            continue;
        case Kind::literal:
            return {Code::badDescriptor, static_cast<long>(next + 1)};
        default:
            break;
        }
        if (next == items.size()) return {};
        const Item& item = items[next];
        const long index = static_cast<long>(next + 1);
        if (!typeFits(node->kind, item.type())) return {Code::typeMismatch, index};
        const std::size_t width = node->hasWidth ? static_cast<std::size_t>(node->width) : item.length();
        const std::size_t column = position + 1;
        const std::string_view inRecord =
            position < record.size() ? std::string_view(record).substr(position, width) : std::string_view();
        if (node->kind == Kind::text) {
            // Beyond the record's end the field reads as blanks.
            std::string field(inRecord);
            field.resize(width, ' ');
            std::string& target = item.text();
            const std::size_t length = item.length();
            target = width >= length ? field.substr(width - length) : field;
            target.resize(length, ' ');
            position += width;
        } else {
            std::string_view field = inRecord;
            position += width;
            if (options.commaEndsField) {
                const std::size_t comma = field.find(',');
                if (comma != std::string_view::npos) {
                    field = field.substr(0, comma);
                    position = column + comma;  // just past the comma
                }
            }
            if (!numberFromField(field, *node, item)) return {Code::badNumber, static_cast<long>(column)};
        }
        ++next;
        ++sinceReversion;
    }
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

Status TextRecords::next(std::string& record) {
    if (position_ >= text_.size()) return {Code::endOfFile, 0};
    std::size_t end = text_.find('\n', position_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    std::string_view line = text_.substr(position_, stop - position_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    position_ = end == std::string_view::npos ? text_.size() : end + 1;
    record.assign(line);
    return {};
}

Status SingleRecord::next(std::string& record) {
    if (taken_) return {Code::endOfFile, 0};
    taken_ = true;
    record.assign(record_);
    return {};
}

Status readList(RecordSource& source, std::span<const Item> items) {
    std::string record;
    if (Status s = source.next(record); !s.ok()) return s;
    std::size_t position = 0;
    std::size_t next = 0;
    while (next < items.size()) {
        while (position < record.size() && isBlank(record[position])) ++position;
        if (position == record.size()) {
            // The end of a record separates values like a blank.
            if (Status s = source.next(record); !s.ok()) return s;
            position = 0;
            continue;
        }
        const char c = record[position];
        if (c == '/') return {};
        if (c == ',') {  // a null value
            ++position;
            ++next;
            continue;
        }
        const std::size_t start = position;
        while (position < record.size() && !isBlank(record[position]) && record[position] != ',' &&
               record[position] != '/')
            ++position;
        std::string_view value = std::string_view(record).substr(start, position - start);
        const long column = static_cast<long>(start + 1);
        long repeat = 1;
        if (const std::size_t star = value.find('*'); star != std::string_view::npos) {
            if (star == 0) return {Code::badNumber, column};
            repeat = 0;
            for (std::size_t k = 0; k < star; ++k) {
                if (!isDigit(value[k])) return {Code::badNumber, column};
                repeat = repeat < 1000000000 ? repeat * 10 + (value[k] - '0') : repeat;
            }
            if (repeat == 0) return {Code::badNumber, column};
            value.remove_prefix(star + 1);
        }
        const bool null = value.empty();
        for (long k = 0; k < repeat && next < items.size(); ++k, ++next) {
            if (null) continue;
            if (items[next].type() == Item::Type::text) return {Code::typeMismatch, static_cast<long>(next + 1)};
            if (!numberFromValue(value, items[next])) return {Code::badNumber, column};
        }
        while (position < record.size() && isBlank(record[position])) ++position;
        if (position < record.size() && record[position] == ',') ++position;
    }
    return {};
}

Status readList(RecordSource& source, std::initializer_list<Item> items) {
    return readList(source, std::span<const Item>(items.begin(), items.size()));
}

Status read(RecordSource& source, const Format& format, std::span<const Item> items, const ReadOptions& options) {
    if (!format.status().ok()) return format.status();
    if (format.listDirected()) return readList(source, items);
    return readFormatted(source, format, items, options);
}

Status read(RecordSource& source, const Format& format, std::initializer_list<Item> items,
            const ReadOptions& options) {
    return read(source, format, std::span<const Item>(items.begin(), items.size()), options);
}

Status read(std::string_view record, const Format& format, std::initializer_list<Item> items,
            const ReadOptions& options) {
    SingleRecord source(record);
    return read(source, format, std::span<const Item>(items.begin(), items.size()), options);
}

}  // namespace vireo::format
