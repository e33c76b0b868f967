#include "Numeric.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <system_error>

namespace zenova {

int nearestInt(double x) {
    if (std::isnan(x)) {
        return 0;
    }
    const double r = std::nearbyint(x);  // the default rounding mode sends halves to even
    if (r >= kCoordinateLimit) {
        return kCoordinateLimit;
    }
    if (r <= -kCoordinateLimit) {
        return -kCoordinateLimit;
    }
    return static_cast<int>(r);
}

double clampUnit(double x) {
    if (std::isnan(x)) {
        return 0.0;
    }
    return x > 1.0 ? 1.0 : (x < -1.0 ? -1.0 : x);
}

namespace {

std::string_view withoutBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// Digits, at most `points` of them points, at least one digit, after an optional "-".
bool plainNumber(std::string_view text, int points) {
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    bool digit = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c != '.' || points-- == 0) {
            return false;
        }
    }
    return digit;
}

std::string_view numberPart(std::string_view text) {
    text = withoutBlanks(text);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    return text;
}

}  // namespace

double parseReal(std::string_view text) {
    text = numberPart(text);
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
    // "inf", "nan" and numbers beyond the double range count as 0 like any other non-number.
    if (ec != std::errc{} || ptr != end || !std::isfinite(value)) {
        return 0.0;
    }
    return value;
}

int parseInteger(std::string_view text) {
    text = numberPart(text);
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ptr != end || text.empty()) {
        return 0;
    }
    if (ec == std::errc::result_out_of_range) {
        return text.front() == '-' ? INT_MIN : INT_MAX;
    }
    if (ec != std::errc{}) {
        return 0;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::optional<double> parseDecimal(std::string_view text) {
    text = withoutBlanks(text);
    if (!plainNumber(text, 1)) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (ec != std::errc{} || ptr != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;  // beyond the double range
    }
    return value;
}

std::optional<int> parseWhole(std::string_view text) {
    text = withoutBlanks(text);
    if (!plainNumber(text, 0)) {
        return std::nullopt;
    }
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace zenova
