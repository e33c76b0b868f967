#include "csv.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace ub::csv {

namespace {

constexpr std::string_view kWhite = " \t\r";

std::string_view trimmed(std::string_view s) {
    const auto begin = s.find_first_not_of(kWhite);
    if (begin == std::string_view::npos) return {};
    const auto end = s.find_last_not_of(kWhite);
    return s.substr(begin, end - begin + 1);
}

}  // namespace

void appendNumber(std::string& row, float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    row.append(text, result.ptr);
}

char separatorOf(std::string_view line) {
    const std::size_t at = line.find_first_of(",;\t");
    return at == std::string_view::npos ? kBlanks : line[at];
}

std::vector<std::string_view> fields(std::string_view line, char separator) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string_view> out;
    if (separator != kBlanks) {
        for (std::size_t start = 0;;) {
            const std::size_t end = line.find(separator, start);
            out.push_back(trimmed(line.substr(start, end == std::string_view::npos ? end : end - start)));
            if (end == std::string_view::npos) break;
            start = end + 1;
        }
        return out;
    }
    for (std::size_t start = line.find_first_not_of(" \t"); start != std::string_view::npos;) {
        const std::size_t end = line.find_first_of(" \t", start);
        out.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
        start = end == std::string_view::npos ? end : line.find_first_not_of(" \t", end);
    }
    return out;
}

bool number(std::string_view field, float& value) {
    if (!field.empty() && field.front() == '+') {
        field.remove_prefix(1);  // from_chars takes no plus sign, people write one
        if (!field.empty() && (field.front() == '+' || field.front() == '-')) return false;
    }
    float v = 0.0f;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), v);
    if (result.ec != std::errc() || result.ptr != field.data() + field.size()) return false;
    // "nan" and "inf" read as floats, but no measured value is either: refused like a
    // value beyond the float range.
    if (!std::isfinite(v)) return false;
    value = v;
    return true;
}

bool carriesNoRow(std::string_view line) {
    const auto first = line.find_first_not_of(kWhite);
    return first == std::string_view::npos || line[first] == '#';
}

bool readLine(std::FILE* file, std::string& line) {
    line.clear();
    char chunk[4096];
    bool any = false;
    while (std::fgets(chunk, sizeof chunk, file) != nullptr) {
        any = true;
        line += chunk;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            return true;
        }
    }
    return any;
}

}  // namespace ub::csv
