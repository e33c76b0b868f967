#include "Fields.h"

#include "Numeric.h"

#include <algorithm>
#include <cstdio>

namespace zenova {

std::optional<LimitBreach> limitBreach(const FieldLimit& limit, std::string_view text) {
    const double value = parseReal(text);
    if (value > limit.high) {
        return LimitBreach{limit.highMessage, limit.highText};
    }
    if (value < limit.low) {
        return LimitBreach{limit.lowMessage, limit.lowText};
    }
    return std::nullopt;
}

std::string tidyCoordinate(std::string_view text, int decimals) {
    std::string source(text);
    if (!source.empty() && source.back() == '.') {
        source += "00";
    }
    char formatted[64];
    std::snprintf(formatted, sizeof formatted, "%3.*f", std::clamp(decimals, 0, 6), parseReal(source));
    std::string out = formatted;
    if (!source.empty() && source.front() == '-' && out.find('-') == std::string::npos) {
        const std::size_t first = out.find_first_not_of(' ');
        out.insert(first == std::string::npos ? 0 : first, 1, '-');
    }
    return out;
}

std::string tidyWhole(std::string_view text) { return text.empty() ? "0" : std::string(text); }

int limitedWhole(std::string_view text, int high) { return std::clamp(parseInteger(text), 0, high); }

std::optional<std::string_view> poleName(std::string_view latitudeText) {
    const double latitude = parseReal(latitudeText);
    if (latitude == 90.0) {
        return "North Pole";
    }
    if (latitude == -90.0) {
        return "South Pole";
    }
    return std::nullopt;
}

std::string timeLagFromLongitude(std::string_view longitudeText) {
    return std::to_string(nearestInt(parseReal(longitudeText) / 15.0)) + ".0";
}

}  // namespace zenova
