// The sun-path diagram: a polar chart of the sky seen from the tilted surface, with its
// grid, the date curves, the hour lines, the local horizon and the anchors of the movable
// date and hour labels. It is computed into a model in chart units and painted from there
// on a DrawingSurface.
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
#include <vector>

namespace zenova {

inline constexpr int kScreenScaleDivisor = 2;
inline constexpr int kDiagramPictureLeft = 254;  // left edge of the diagram picture in its window
inline constexpr int kSpecialCurve = 13;         // the curve of the day chosen in the diagram window

inline constexpr std::array<int, 13> kFixedCurveDays{5, 35, 65, 95, 125, 155, 172, 202, 232, 262, 292, 322, 355};
inline constexpr std::array<std::string_view, 13> kCurveCaptions{
    "Jan. 5",  "Feb. 4",  "Mar. 6",  "Apr. 5",  "May 5",   "June 4", "June 21",
    "July 21", "Aug. 20", "Sep. 19", "Oct. 19", "Nov. 18", "Dec. 21"};

// The caption of the hour label of a clock hour 1..24: "1 a.m." .. "11 a.m.", "12 p.m." for
// noon, "1 p.m." .. "11 p.m.", "12 a.m." for midnight.
std::string hourLabelText(int hour);

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
    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

// A line through chart points: the first point starts it, each further one is joined to
// the one before.
using Polyline = std::vector<ChartPoint>;

// One date curve: its index k (0..13) decides the colour; one line per sunshine interval
// drawn.
struct DateCurve {
    int k = 0;
    std::vector<Polyline> lines;
    friend bool operator==(const DateCurve&, const DateCurve&) = default;
};

// The sun at a whole clock hour on one day of an hour line, joined to its position two
// days later when it is still inside the same sunshine interval then.
struct HourDot {
    ChartPoint at;
    ChartPoint next;
    bool joined = false;
    bool secondHalf = false;  // days 172..355
    int day = 0;              // 0, 2, .. 364
    friend bool operator==(const HourDot&, const HourDot&) = default;
};

// What the diagram shows, in chart units, so that it can be painted again at any scale
// without touching the calculation state.
struct DiagramModel {
    bool quotedCompass = false;
    std::array<DateCurve, 13> curves{};
    std::vector<HourDot> hourDots;
    Polyline localHorizon;  // empty for a horizontal surface
    friend bool operator==(const DiagramModel&, const DiagramModel&) = default;
};

// Logical chart position of a sun position (degrees).
ChartPoint chartPoint(double elevation, double azimuth);

// Where chart units land on a surface: (X, Y) goes to (X sx + ox, Y sy + oy), taken to the
// nearest whole unit.
struct ChartMapping {
    double sx = 0.5;
    double ox = 0.0;
    double sy = 0.5;
    double oy = 0.0;
};
// The screen picture: chart units divided by the scale divisor (values below 1 count as 1).
ChartMapping screenMapping(int scaleDivisor);

struct SurfacePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const SurfacePoint&, const SurfacePoint&) = default;
};
SurfacePoint mapPoint(const ChartMapping& mapping, ChartPoint p);

// The grid's lines, in degrees of elevation distance from the centre: the screen and the
// printout differ only in how far the 45-degree rays and the cross reach.
struct GridLines {
    double longRay = 96.0;
    double crossHalf = 40.0;
};
inline constexpr GridLines kScreenGridLines{};

// Rays and circles in the one covering order that both the screen and the printout keep:
// the circles are filled with the current brush, so the order decides which parts of the
// rays stay visible.
void drawGridLines(DrawingSurface& surface, const ChartMapping& mapping, const GridLines& lines);

// Anchor of a date label at the sun position (degrees), for the screen divisor 2.
LabelAnchor dateLabelAnchor(double elevation, double azimuth, int pictureLeft);
// Anchor of an hour label at the sun position (degrees), for the screen divisor 2.
LabelAnchor hourLabelAnchor(double elevation, double azimuth, int pictureLeft);
// The hour label (1..24) that shows a whole clock hour, which may lie outside 1..24 when
// the time lag and the longitude are far apart.
int hourLabelIndex(int clockHour);

// The compass letters are quoted for a latitude text of exactly "90.00" or "-90.00": at a
// pole they lose their meaning.
bool quotesCompass(std::string_view latitudeText);

// Grid, scale labels and compass letters.
void drawChartGrid(DrawingSurface& surface, int scaleDivisor, bool quotedCompass);

// Date curve k (0..13) of day state.curveDays[k]; under newCalculation it also places the
// curve's two label anchors. Other k give an empty curve. A sunshine interval too short
// to hold both of its drawn ends (each 0.0001 h inside) is not drawn: it is a rounding
// sliver at a crossing, not sunshine.
DateCurve computeDateCurve(SunContext& context, DiagramState& state, int k, const DiagramSettings& settings);

// The sun's position at every whole clock hour from -4 to 28 through the year; afterEachHour
// (if given) runs once per hour, for a progress display.
std::vector<HourDot> computeHourLines(SunContext& context, const std::function<void()>& afterEachHour = {});

// The real horizon as seen in the sky of a tilted surface, at azimuth steps of stepDegrees
// (a divisor of 90) from 90 degrees left of the orientation to 90 right; empty for a
// horizontal one. An orientation of 360 is set to 0 in the context.
Polyline computeLocalHorizon(SunContext& context, int stepDegrees = 5);

// The sunshine intervals of days 1..365 into state.annualSunshineTimes.
void computeAnnualSunshineTimes(SunContext& context, DiagramState& state);

// Anchors of the hour labels along the sun path of the longest day. Hours not reached keep
// their anchors.
void computeHourLabelPositions(SunContext& context, DiagramState& state, int pictureLeft);

// Date-label anchors of curves 0..12 that lie off the chart (x > 745 or y > 500) are hidden.
void hideOutOfRangeDateLabels(DiagramState& state);

// The context from the main window's inputs, a horizontal surface taken with orientation 0;
// a latitude of exactly +-90 is taken as +-poleLatitude.
void prepareDiagramContext(SunContext& context, const DiagramInputs& inputs,
                           double poleLatitude = kScreenPoleLatitude);

// The whole diagram as the Start command computes it: context from the inputs (a
// horizontal surface taken with orientation 0), yearly sunshine intervals, the thirteen
// date curves, the hour lines and the local horizon; then, under newCalculation, the hour
// anchors afresh, and finally the hiding of off-chart date labels. progress (if given) is
// told each advance of the progress bar: 2 per curve, 3 per hour.
DiagramModel computeSunPathDiagram(SunContext& context, DiagramState& state, const DiagramInputs& inputs,
                                   const DiagramSettings& settings, const std::function<void(int)>& progress = {});

// Painting changes nothing but the surface. Device pixels are chart units divided by the
// scale divisor (values below 1 count as 1), to the nearest pixel.
void renderPolyline(DrawingSurface& surface, const Polyline& line, const ChartMapping& mapping);
void renderDateCurve(DrawingSurface& surface, const DateCurve& curve, int scaleDivisor);

// The pens of the hour lines. The screen marks each hour's position with a pixel; a
// monochrome printout tells the year's second half by leaving the joins of every other
// day out, which draws its lines dashed.
struct HourLinePens {
    Colour firstHalf = colours::navy;
    Colour secondHalf = colours::green;
    bool dots = true;
    bool gapsInSecondHalf = false;
};
void renderHourLines(DrawingSurface& surface, const std::vector<HourDot>& dots, const ChartMapping& mapping,
                     const HourLinePens& pens);
void renderHourLines(DrawingSurface& surface, const std::vector<HourDot>& dots, int scaleDivisor);
void renderLocalHorizon(DrawingSurface& surface, const Polyline& horizon, int scaleDivisor);  // dotted
// Grid, date curves, hour lines and local horizon, leaving a solid pen.
void renderDiagram(DrawingSurface& surface, const DiagramModel& model, int scaleDivisor);

// A date curve computed and painted at once, as the special day is.
void drawDateCurve(DrawingSurface& surface, SunContext& context, DiagramState& state, int k,
                   const DiagramSettings& settings);

// The whole diagram computed and painted, as Start does it.
DiagramModel drawSunPathDiagram(DrawingSurface& surface, SunContext& context, DiagramState& state,
                                const DiagramInputs& inputs, const DiagramSettings& settings,
                                const std::function<void(int)>& progress = {});

}  // namespace zenova

#endif
