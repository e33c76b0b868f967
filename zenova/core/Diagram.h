// The sun-path diagram: a polar chart of the sky seen from the tilted surface, with its
// grid, the date curves, the hour lines, the local horizon and the anchors of the movable
// date and hour labels. Everything is drawn on a DrawingSurface.
//
// Logical chart: 1000 x 1000 units, centre (500, 500). A sun position of elevation e and
// azimuth P lies at radius 5 (90 - e); the surface plane is the circle of radius 450.
// Device pixels are logical units divided by the scale divisor (2 on the screen).
#ifndef ZENOVA_DIAGRAM_H
#define ZENOVA_DIAGRAM_H

#include "DrawingSurface.h"
#include "SunGeometry.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace zenova {

inline constexpr int kScreenScaleDivisor = 2;
inline constexpr int kDiagramPictureLeft = 254;  // left edge of the diagram picture in its window
inline constexpr int kSpecialCurve = 13;         // the curve of the day chosen in the diagram window

inline constexpr std::array<int, 13> kFixedCurveDays{5, 35, 65, 95, 125, 155, 172, 202, 232, 262, 292, 322, 355};
inline constexpr std::array<std::string_view, 13> kCurveCaptions{
    "Jan. 5",  "Feb. 4",  "Mar. 6",  "Apr. 5",  "May 5",   "June 4", "June 21",
    "July 21", "Aug. 20", "Sep. 19", "Oct. 19", "Nov. 18", "Dec. 21"};

// A label position in screen pixels of the diagram window; (-50, 0) hides the label.
struct LabelAnchor {
    int x = -50;
    int y = 0;
    bool hidden() const { return x == -50 && y == 0; }
    friend bool operator==(const LabelAnchor&, const LabelAnchor&) = default;
};
inline constexpr LabelAnchor kHiddenAnchor{-50, 0};

struct DateLabelAnchors {
    LabelAnchor first;   // label of the first sunshine interval
    LabelAnchor second;  // label of the second sunshine interval
    friend bool operator==(const DateLabelAnchors&, const DateLabelAnchors&) = default;
};

// What the diagram keeps between drawings.
struct DiagramState {
    std::array<int, 14> curveDays{5, 35, 65, 95, 125, 155, 172, 202, 232, 262, 292, 322, 355, 172};
    std::array<DateLabelAnchors, 14> dateLabelPositions{};
    std::array<LabelAnchor, 24> hourLabelPositions{};      // index h - 1 for the clock hour h = 1..24
    std::array<SunshineTimes, 366> annualSunshineTimes{};  // index = day 1..365; 0 unused
};

struct DiagramSettings {
    int scaleDivisor = kScreenScaleDivisor;  // values below 1 count as 1
    bool newCalculation = true;              // false: "Old plotting" keeps the stored anchors
    int pictureLeft = kDiagramPictureLeft;
};

// The main window's five input texts.
struct DiagramInputs {
    std::string longitude = "0.00";
    std::string latitude = "0.00";
    std::string timeLag = "0.0";
    std::string inclination = "0";
    std::string orientation = "180";
};

struct ChartPoint {
    double x = 500.0;
    double y = 500.0;
};

// Logical chart position of a sun position (degrees).
ChartPoint chartPoint(double elevation, double azimuth);

// Anchor of a date label at the sun position (degrees), for the screen divisor 2.
LabelAnchor dateLabelAnchor(double elevation, double azimuth, int pictureLeft);
// Anchor of an hour label at the sun position (degrees), for the screen divisor 2.
LabelAnchor hourLabelAnchor(double elevation, double azimuth, int pictureLeft);
// The hour label (1..24) that shows a whole clock hour, which may lie outside 1..24 when
// the time lag and the longitude are far apart.
int hourLabelIndex(int clockHour);

// Grid, scale labels and compass letters. A latitude text of exactly "90.00" or "-90.00"
// quotes the compass letters, which lose their meaning at a pole.
void drawChartGrid(DrawingSurface& surface, int scaleDivisor, std::string_view latitudeText);

// Date curve k (0..13) of day state.curveDays[k]; under newCalculation it also places the
// curve's two label anchors. Other k draw nothing.
void drawDateCurve(DrawingSurface& surface, SunContext& context, DiagramState& state, int k,
                   const DiagramSettings& settings);

// The sun's position at every whole clock hour from -4 to 28 through the year; afterEachHour
// (if given) runs once per hour, for a progress display.
void drawHourLines(DrawingSurface& surface, SunContext& context, int scaleDivisor,
                   const std::function<void()>& afterEachHour = {});

// The real horizon as seen in the sky of a tilted surface, dotted; nothing for a
// horizontal one. An orientation of 360 is set to 0 in the context.
void drawLocalHorizon(DrawingSurface& surface, SunContext& context, int scaleDivisor);

// The sunshine intervals of days 1..365 into state.annualSunshineTimes.
void computeAnnualSunshineTimes(SunContext& context, DiagramState& state);

// Anchors of the hour labels along the sun path of the longest day. Hours not reached keep
// their anchors.
void computeHourLabelPositions(SunContext& context, DiagramState& state, int pictureLeft);

// Date-label anchors of curves 0..12 that lie off the chart (x > 745 or y > 500) are hidden.
void hideOutOfRangeDateLabels(DiagramState& state);

// The whole diagram as the Start command draws it: grid, context from the inputs (a
// horizontal surface taken with orientation 0), yearly sunshine intervals, the thirteen
// date curves, the hour lines and the local horizon; then, under newCalculation, the hour
// anchors afresh, and finally the hiding of off-chart date labels. progress (if given) is
// told each advance of the progress bar: 2 per curve, 3 per hour.
void drawSunPathDiagram(DrawingSurface& surface, SunContext& context, DiagramState& state,
                        const DiagramInputs& inputs, const DiagramSettings& settings,
                        const std::function<void(int)>& progress = {});

}  // namespace zenova

#endif
