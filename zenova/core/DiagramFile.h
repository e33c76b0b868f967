// A diagram file (".ssd") keeps one sun-path diagram as the user arranged it: the main
// window's six input texts and the places of the 26 date labels and 24 hour labels. Texts
// are bytes, one per character (Latin-1).
//
// 106 lines, each ending in CR LF when written (LF alone is read too), one value a line:
//   1 location name, 2 longitude, 3 latitude, 4 time lag, 5 inclination, 6 orientation;
//   7-58  for the curves 0..12: left and top of the first date label, then of the second;
//   59-106 for the hours 1..24: left and top of the hour label.
#ifndef ZENOVA_DIAGRAM_FILE_H
#define ZENOVA_DIAGRAM_FILE_H

#include "Diagram.h"

#include <array>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace zenova {

inline constexpr std::string_view kDiagramExtension = ".ssd";
inline constexpr int kDiagramFileLines = 106;
// Label places are window pixels; anything farther out is no place the window gave.
inline constexpr int kLabelPlaceLimit = 10'000;

struct DiagramFile {
    std::string location;
    std::string longitude;
    std::string latitude;
    std::string timeLag;
    std::string inclination;
    std::string orientation;
    std::array<DateLabelAnchors, 13> dateLabels{};
    std::array<LabelAnchor, 24> hourLabels{};  // index h - 1 for the hour h
    friend bool operator==(const DiagramFile&, const DiagramFile&) = default;
};

// Why a file is no diagram file: the first line that fails and what it should hold.
struct DiagramFileFault {
    int line = 0;
    std::string expected;
};

struct DiagramFileRead {
    std::optional<DiagramFile> file;  // empty when the file is refused
    DiagramFileFault fault;
};

// Reads a whole diagram file before anything is taken from it. The coordinates must be texts
// the main window's fields could hold (digits, "-" and "." within the field's length) with
// values in their ranges, inclination and orientation whole numbers 0..179 and 0..360, and
// the 100 label places whole numbers; lines after the 106th are not read.
DiagramFileRead readDiagramFile(std::istream& in);

void writeDiagramFile(std::ostream& out, const DiagramFile& file);

// The message for a refused file, naming the file and the line.
std::string describeDiagramFault(const DiagramFileFault& fault, std::string_view fileName);

// The name under which a diagram is saved, without folder and extension: points, "\" and "/"
// removed, then a trailing "ssd" of a longer name. Empty when nothing is left.
std::string diagramSaveName(std::string_view typed);

}  // namespace zenova

#endif
