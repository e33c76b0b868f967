#include "DiagramFile.h"

#include "Fields.h"
#include "Numeric.h"
#include "TextLines.h"

#include <istream>
#include <iterator>
#include <ostream>
#include <vector>

namespace zenova {

namespace {

// A coordinate as the main window's field holds it: what its key filter lets through,
// within its length, and a value within its range as the field reads it.
bool fieldText(std::string_view text, std::size_t maxLength, const FieldLimit& limit) {
    if (text.size() > maxLength) {
        return false;
    }
    for (const char c : text) {
        if (!(c == '-' || c == '.' || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    const double value = parseReal(text);
    return value >= limit.low && value <= limit.high;
}

bool wholeText(std::string_view text, int high) {
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    const std::optional<int> value = parseWhole(text);
    return value && text.size() <= 3 && *value <= high;
}

std::optional<int> labelPlace(std::string_view text) {
    const std::optional<int> value = parseWhole(text);
    if (value && *value >= -kLabelPlaceLimit && *value <= kLabelPlaceLimit) {
        return value;
    }
    return std::nullopt;
}

}  // namespace

DiagramFileRead readDiagramFile(std::istream& in) {
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::vector<std::string_view> lines = textLines(text, kDiagramFileLines);
    DiagramFileRead read;
    const auto refuse = [&read](std::size_t index, std::string expected) {
        read.fault = {static_cast<int>(index) + 1, std::move(expected)};
        return read;
    };
    if (lines.size() < kDiagramFileLines) {
        return refuse(lines.size(), "a value, but the file ends before it; a diagram file has " +
                                        std::to_string(kDiagramFileLines) + " lines");
    }
    DiagramFile file;
    file.location = lines[0];
    file.longitude = lines[1];
    file.latitude = lines[2];
    file.timeLag = lines[3];
    file.inclination = lines[4];
    file.orientation = lines[5];
    if (!fieldText(file.longitude, 7, kLongitudeLimit)) {
        return refuse(1, "the longitude, -180 to 180");
    }
    if (!fieldText(file.latitude, 6, kLatitudeLimit)) {
        return refuse(2, "the latitude, -90 to 90");
    }
    if (!fieldText(file.timeLag, 5, kTimeLagLimit)) {
        return refuse(3, "the time lag, -12 to 12");
    }
    if (!wholeText(file.inclination, kMaxInclination)) {
        return refuse(4, "the inclination, a whole number from 0 to " + std::to_string(kMaxInclination));
    }
    if (!wholeText(file.orientation, kMaxOrientation)) {
        return refuse(5, "the orientation, a whole number from 0 to " + std::to_string(kMaxOrientation));
    }
    std::array<int, kDiagramFileLines - 6> places{};
    for (std::size_t i = 0; i < places.size(); ++i) {
        const std::optional<int> place = labelPlace(lines[6 + i]);
        if (!place) {
            return refuse(6 + i, "a label place, a whole number from " + std::to_string(-kLabelPlaceLimit) + " to " +
                                     std::to_string(kLabelPlaceLimit));
        }
        places[i] = *place;
    }
    for (std::size_t k = 0; k < file.dateLabels.size(); ++k) {
        const int* p = &places[4 * k];
        file.dateLabels[k] = {{p[0], p[1]}, {p[2], p[3]}};
    }
    for (std::size_t h = 0; h < file.hourLabels.size(); ++h) {
        const int* p = &places[52 + 2 * h];
        file.hourLabels[h] = {p[0], p[1]};
    }
    read.file = std::move(file);
    return read;
}

void writeDiagramFile(std::ostream& out, const DiagramFile& file) {
    for (const std::string* text : {&file.location, &file.longitude, &file.latitude, &file.timeLag, &file.inclination,
                                    &file.orientation}) {
        out << *text << "\r\n";
    }
    for (const DateLabelAnchors& a : file.dateLabels) {
        out << a.first.x << "\r\n" << a.first.y << "\r\n" << a.second.x << "\r\n" << a.second.y << "\r\n";
    }
    for (const LabelAnchor& a : file.hourLabels) {
        out << a.x << "\r\n" << a.y << "\r\n";
    }
}

std::string describeDiagramFault(const DiagramFileFault& fault, std::string_view fileName) {
    return "\"" + std::string(fileName) + "\" is no diagram file that Zenova can open: line " +
           std::to_string(fault.line) + " should hold " + fault.expected + ". Nothing was changed.";
}

std::string diagramSaveName(std::string_view typed) {
    std::string name;
    for (const char c : typed) {
        if (c != '.' && c != '\\' && c != '/') {
            name += c;
        }
    }
    if (name.size() > 3 && name.compare(name.size() - 3, 3, "ssd") == 0) {
        name.resize(name.size() - 3);
    }
    return name;
}

}  // namespace zenova
