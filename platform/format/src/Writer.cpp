#include "vireo/format/Writer.h"

#include "Walker.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vireo::format {

namespace {

void stars(std::string& out, int width) { out.append(static_cast<std::size_t>(width), '*'); }

void rightAligned(std::string& out, int width, std::string_view body) {
    out.append(static_cast<std::size_t>(width) - body.size(), ' ');
    out.append(body);
}

// NaN and infinity in a numeric field: the customary words, shortened in narrow fields.
bool putSpecial(std::string& out, double v, int width) {
    if (std::isnan(v)) {
        if (width < 3) {
            stars(out, width);
            return false;
        }
        rightAligned(out, width, "NaN");
        return true;
    }
    const bool negative = std::signbit(v);
    const int full = negative ? 9 : 8;
    if (width < (negative ? 4 : 3)) {
        stars(out, width);
        return false;
    }
    std::string body = negative ? "-" : "";
    body += width >= full ? "Infinity" : "Inf";
    rightAligned(out, width, body);
    return true;
}

// Places sign and digits into the field; `zeroCut` is the body without its optional
// leading zero (empty when the zero is required).
bool place(std::string& out, int width, bool negative, const std::string& body, const std::string& zeroCut) {
    const std::size_t sign = negative ? 1 : 0;
    const std::string* chosen = nullptr;
    if (body.size() + sign <= static_cast<std::size_t>(width))
        chosen = &body;
    else if (!zeroCut.empty() && zeroCut.size() + sign <= static_cast<std::size_t>(width))
        chosen = &zeroCut;
    if (chosen == nullptr) {
        stars(out, width);
        return false;
    }
    out.append(static_cast<std::size_t>(width) - chosen->size() - sign, ' ');
    if (negative) out.push_back('-');
    out.append(*chosen);
    return true;
}

bool putInteger(std::string& out, long long v, int width, int minDigits, bool hasMinDigits) {
    if (hasMinDigits && minDigits == 0 && v == 0) {
        out.append(static_cast<std::size_t>(width), ' ');
        return true;
    }
    const bool negative = v < 0;
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const std::size_t count = static_cast<std::size_t>(end - digits);
    const std::size_t zeros = static_cast<std::size_t>(minDigits) > count ? minDigits - count : 0;
    if (count + zeros + (negative ? 1 : 0) > static_cast<std::size_t>(width)) {
        stars(out, width);
        return false;
    }
    out.append(static_cast<std::size_t>(width) - count - zeros - (negative ? 1 : 0), ' ');
    if (negative) out.push_back('-');
    out.append(zeros, '0');
    out.append(digits, count);
    return true;
}

bool putFixed(std::string& out, double v, int width, int decimals) {
    if (!std::isfinite(v)) return putSpecial(out, v, width);
    const bool negative = std::signbit(v);
    std::string body(static_cast<std::size_t>(decimals) + 330, '\0');
    const auto r = std::to_chars(body.data(), body.data() + body.size(), std::fabs(v),
                                 std::chars_format::fixed, decimals);
    body.resize(static_cast<std::size_t>(r.ptr - body.data()));
    if (decimals == 0) body.push_back('.');
    std::string zeroCut;
    if (decimals > 0 && body.size() > 1 && body[0] == '0' && body[1] == '.') zeroCut = body.substr(1);
    return place(out, width, negative, body, zeroCut);
}

bool putExponent(std::string& out, double v, int width, int decimals, char letter) {
    if (!std::isfinite(v)) return putSpecial(out, v, width);
    const bool negative = std::signbit(v);
    const double magnitude = std::fabs(v);
    std::string digits;
    int exponent = 0;
    if (magnitude == 0.0) {
        digits.assign(static_cast<std::size_t>(decimals), '0');
    } else {
        // d significant digits as d.ddd e±x, then shifted to 0.dddd e±(x+1).
        std::string buffer(static_cast<std::size_t>(decimals) + 32, '\0');
        const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                     std::chars_format::scientific, decimals - 1);
        buffer.resize(static_cast<std::size_t>(r.ptr - buffer.data()));
        const std::size_t e = buffer.find('e');
        for (std::size_t i = 0; i < e; ++i)
            if (buffer[i] != '.') digits.push_back(buffer[i]);
        int x = 0;
        std::from_chars(buffer.data() + e + (buffer[e + 1] == '+' ? 2 : 1), buffer.data() + buffer.size(), x);
        exponent = x + 1;
    }
    std::string body = "0." + digits;
    const int size = exponent < 0 ? -exponent : exponent;
    if (size > 999) {
        stars(out, width);
        return false;
    }
    if (size <= 99) body.push_back(letter);
    body.push_back(exponent < 0 ? '-' : '+');
    char e[4];
    const auto end = std::to_chars(e, e + sizeof e, size).ptr;
    const std::size_t n = static_cast<std::size_t>(end - e);
    body.append(static_cast<std::size_t>(size <= 99 ? 2 : 3) - n, '0');
    body.append(e, n);
    return place(out, width, negative, body, body.substr(1));
}

void putText(std::string& out, std::string_view text, const Node& node) {
    if (!node.hasWidth) {
        out.append(text);
        return;
    }
    const std::size_t w = static_cast<std::size_t>(node.width);
    if (text.size() >= w) {
        out.append(text.substr(0, w));
    } else {
        out.append(w - text.size(), ' ');
        out.append(text);
    }
}

// One record being written: characters up to the furthest position written, and the
// position where the next field goes (nX may leave it beyond the end).
struct Record {
    std::string chars;
    std::size_t position = 0;

    bool reserve(std::size_t width) {
        if (position + width > kMaxRecordLength) return false;
        if (position > chars.size()) chars.append(position - chars.size(), ' ');
        return true;
    }
};

Status putValue(Record& record, const Node& node, const Value& value, long index, bool& overflow) {
    const std::size_t width = node.kind == Kind::text && !node.hasWidth ? value.text().size()
                                                                        : static_cast<std::size_t>(node.width);
    if (!record.reserve(width)) return {Code::recordTooLong, index};
    std::string& out = record.chars;
    switch (node.kind) {
    case Kind::integer:
        if (value.type() != Value::Type::integer) return {Code::typeMismatch, index};
        overflow = !putInteger(out, value.integer(), node.width, node.digits, node.hasDigits);
        break;
    case Kind::fixed:
        if (value.type() != Value::Type::real) return {Code::typeMismatch, index};
        overflow = !putFixed(out, value.real(), node.width, node.digits);
        break;
    case Kind::exponent:
    case Kind::dexponent:
        if (value.type() != Value::Type::real) return {Code::typeMismatch, index};
        // Ew.0 has no digit to show a value with: refused, as is customary.
        if (node.digits == 0) return {Code::badDescriptor, index};
        overflow = !putExponent(out, value.real(), node.width, node.digits, node.kind == Kind::exponent ? 'E' : 'D');
        break;
    default:
        if (value.type() != Value::Type::text) return {Code::typeMismatch, index};
        putText(out, value.text(), node);
        break;
    }
    record.position = out.size();
    return {};
}

}  // namespace

Status write(const Format& format, std::span<const Value> values, std::vector<std::string>& records,
             const WriteOptions& options) {
    if (!format.status().ok()) return format.status();
    if (format.listDirected()) return {Code::badDescriptor, 0};
    detail::Walker walker(format);
    std::vector<std::string> made;
    std::size_t total = 0;
    Record record;
    std::size_t next = 0;
    std::size_t sinceReversion = 0;
    auto endRecord = [&]() -> bool {
        total += record.chars.size() + 1;
        made.push_back(std::move(record.chars));
        record = Record{};
        return total <= kMaxRecordLength;
    };
    for (bool more = true; more;) {
        const Node* node = walker.next();
        if (node == nullptr) {
            if (next == values.size()) break;
            if (sinceReversion == 0) return {Code::noDataDescriptor, static_cast<long>(next + 1)};
            if (!endRecord()) return {Code::recordTooLong, 0};
            walker.revert();
            sinceReversion = 0;
            continue;
        }
        switch (node->kind) {
        case Kind::skip:
            record.position += static_cast<std::size_t>(node->width);
            if (record.position > kMaxRecordLength) return {Code::recordTooLong, 0};
            break;
        case Kind::newRecord:
            if (!endRecord()) return {Code::recordTooLong, 0};
            break;
        case Kind::literal:
            if (!record.reserve(node->text.size())) return {Code::recordTooLong, 0};
            record.chars.append(node->text);
            record.position = record.chars.size();
            break;
        default: {
            // With no value left, writing stops at the next data descriptor.
            if (next == values.size()) {
                more = false;
                break;
            }
            const long index = static_cast<long>(next + 1);
            bool overflow = false;
            if (Status s = putValue(record, *node, values[next], index, overflow); !s.ok()) return s;
            if (overflow && options.refuseOverflow) return {Code::fieldOverflow, index};
            ++next;
            ++sinceReversion;
            break;
        }
        }
    }
    if (!endRecord()) return {Code::recordTooLong, 0};
    for (std::string& r : made) records.push_back(std::move(r));
    return {};
}

Status writeText(const Format& format, std::span<const Value> values, std::string& text) {
    std::vector<std::string> records;
    const Status s = write(format, values, records);
    if (!s.ok()) return s;
    for (const std::string& r : records) {
        text += r;
        text += '\n';
    }
    return s;
}

Status writeText(std::string_view format, std::initializer_list<Value> values, std::string& text) {
    return writeText(Format(format), std::span<const Value>(values.begin(), values.size()), text);
}

Status writeRecord(const Format& format, std::span<const Value> values, std::string& record,
                   const WriteOptions& options) {
    std::vector<std::string> records;
    const Status s = write(format, values, records, options);
    if (!s.ok()) return s;
    if (records.size() != 1) return {Code::recordTooLong, static_cast<long>(records.size())};
    record = std::move(records.front());
    return s;
}

Status writeRecord(std::string_view format, std::initializer_list<Value> values, std::string& record) {
    return writeRecord(Format(format), std::span<const Value>(values.begin(), values.size()), record);
}

std::optional<long long> roundHalfAway(double v) {
    if (!std::isfinite(v)) return std::nullopt;
    const double r = std::round(v);  // halves away from zero
    // 2^63 is exact in double; every double below it converts without overflow.
    if (r >= 9223372036854775808.0 || r < -9223372036854775808.0) return std::nullopt;
    return static_cast<long long>(r);
}

IntegerRange integerFieldRange(int width, int minDigits) {
    if (width <= 0) return {1, 0};  // empty: nothing fits
    auto tens = [](int digits) -> long long {
        long long p = 1;
        for (int i = 0; i < digits; ++i) {
            if (p > std::numeric_limits<long long>::max() / 10) return std::numeric_limits<long long>::max();
            p *= 10;
        }
        return p;
    };
    const long long max = std::numeric_limits<long long>::max();
    const long long top = tens(width);
    const long long highest = top == max ? max : top - 1;
    // A negative value needs its sign and at least max(1, m) digits.
    const int signedDigits = width - 1;
    long long lowest = 0;
    if (signedDigits >= 1 && signedDigits >= minDigits) {
        const long long t = tens(signedDigits);
        lowest = t == max ? std::numeric_limits<long long>::min() : -(t - 1);
    }
    return {lowest, highest};
}

bool fitsInteger(long long v, int width, int minDigits) {
    const IntegerRange r = integerFieldRange(width, minDigits);
    return v >= r.lowest && v <= r.highest;
}

Status check(const Format& format, std::span<const Value> values) {
    std::vector<std::string> scratch;
    return write(format, values, scratch, WriteOptions{true});
}

}  // namespace vireo::format
