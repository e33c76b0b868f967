// The printed sun-path diagram: one page, laid out in tenths of a millimetre from the top left
// of the printable area with y growing upwards, so that points on the page have negative y.
// The chart is the screen's, computed afresh from the main window's fields at 8 units
// (0.8 mm) per degree of elevation distance; around it stand a title, a legend, the time
// reference, the location's data and the date and hour labels where the user left them on
// screen.
#ifndef ZENOVA_PRINTOUT_H
#define ZENOVA_PRINTOUT_H

#include "Diagram.h"
#include "DrawingSurface.h"
#include "SunGeometry.h"

#include <string>
#include <string_view>

namespace zenova {

inline constexpr int kPrintHorizonRadius = 720;  // the surface plane, 90 degrees at 8 units each
inline constexpr double kPrintLabelScale = 3.2;  // paper horizon over screen horizon, 720 / 225
inline constexpr int kPrintHorizonStep = 1;      // degrees between the local horizon's points
inline constexpr GridLines kPrintGridLines{92.5, 90.0};

// The page in tenths of a millimetre: a margin of 5 mm off the printable width and 8 mm off
// its height, the chart's centre in the middle of the width and 30 mm above the middle of
// the height.
struct PageFrame {
    int width = 0;
    int height = 0;
    int centreX = 0;
    int centreY = 0;
    friend bool operator==(const PageFrame&, const PageFrame&) = default;
};
PageFrame pageFrame(int printableWidthMm, int printableHeightMm);

// Chart units (1000 x 1000, y down) onto the page about its chart centre.
ChartMapping pageMapping(const PageFrame& frame);

// Where a label standing at a screen position of the diagram window is printed: its offset
// from the chart's centre on screen (the picture's left edge + 250, 250), 3.2 times as far,
// wherever that falls.
SurfacePoint labelOnPage(const PageFrame& frame, LabelAnchor screen, int pictureLeft = kDiagramPictureLeft);

// "GMT +1.0 h" east of Greenwich, "GMT -5.0 h" west of it, "GMT" on it; the sign is read
// from the value, so "-0.0" is "GMT".
std::string timeReference(std::string_view timeLagText);

// What the main window and the diagram window show that the page repeats.
struct PrintoutTexts {
    DiagramInputs inputs;
    std::string location;
    std::string averageHours;  // the yearly average day length as the diagram window shows it
    std::string averageMinutes;
};

// The chart for paper: the context prepared from the inputs as for the screen but with the
// printout's own pole latitude, the thirteen date curves and the hour lines sampled as on
// screen, and the local horizon at 1-degree steps. The state is only read.
DiagramModel computePrintedDiagram(SunContext& context, const DiagramState& state, const DiagramInputs& inputs);

// The whole page. colour: the year's first half navy and its second half green; otherwise
// all black, the second half dashed. The labels come from the state's anchors; hidden ones
// are left out. The legend, time reference and data block keep their places unless a long
// text, measured on the page, would run into its neighbour or the small compass.
void drawPrintout(DrawingSurface& page, const PageFrame& frame, const DiagramModel& chart, const DiagramState& labels,
                  const PrintoutTexts& texts, bool colour);

}  // namespace zenova

#endif
