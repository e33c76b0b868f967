#include "Printout.h"

#include "Numeric.h"
#include "Sketches.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>

namespace zenova {

namespace {

constexpr int kLargestPageMm = 100'000;  // a printer reporting more is not believed
constexpr int kLeftColumn = 150;          // title, legend and data block start here

constexpr std::string_view kFirstHalf = "Year\u00b4s 1st half";
constexpr std::string_view kSecondHalf = "Year\u00b4s 2nd half";
constexpr std::string_view kLocalHorizon = "Lokal horizon";
constexpr std::string_view kTitle = "Sun Orbit Diagram";
constexpr std::string_view kLocalMeanTime = "Indicated local mean time";

Colour curveColour(int k, bool colour) {
    if (!colour) {
        return colours::black;
    }
    return k <= 5 ? colours::navy : colours::green;
}

// Room kept between texts on one line: after a caption or ":" and between the data block's
// two halves; and what the small compass keeps free to its left.
constexpr int kTextGap = 20;
constexpr int kBlockGap = 60;
constexpr int kCompassGap = 40;
constexpr int kCompassRadius = 50;
constexpr int kCompassLetters = 35;

// Columns of texts on one or more lines: each at least where the page's layout puts it and
// clear of the widest text of the column before it; where the last would pass the right
// limit, the columns close up towards their texts, never onto them. At values too wide for
// the page even then, they stay clear of each other and pass the limit.
template <std::size_t N>
std::array<int, N> fitColumns(const std::array<int, N>& wanted, const std::array<int, N>& widths,
                              const std::array<int, N>& gapsBefore, int rightLimit) {
    std::array<int, N> x{};
    std::array<int, N> least{};
    x[0] = least[0] = wanted[0];
    for (std::size_t i = 1; i < N; ++i) {
        least[i] = least[i - 1] + widths[i - 1] + gapsBefore[i];
        x[i] = std::max(wanted[i], x[i - 1] + widths[i - 1] + gapsBefore[i]);
    }
    int right = rightLimit;
    for (std::size_t i = N; i-- > 1;) {
        x[i] = std::max(least[i], std::min(x[i], right - widths[i]));
        right = x[i] - gapsBefore[i];
    }
    return x;
}

// The data block's font, and the location line's where its name leaves room for it.
constexpr int kDataFont = 60;

// The largest font height up to height at which a text is no wider than room; the page's
// font is left at it. Below 1 nothing is smaller.
int fitFont(DrawingSurface& page, int height, std::string_view text, int room) {
    page.setFont("Arial", height);
    for (int w = page.textWidth(text); w > room && height > 1; w = page.textWidth(text)) {
        const long long scaled = static_cast<long long>(height) * std::max(room, 0) / w;
        height = std::max(1, std::min(height - 1, static_cast<int>(scaled)));
        page.setFont("Arial", height);
    }
    return height;
}

// The widest of some texts in the current font.
int widest(const DrawingSurface& page, std::initializer_list<std::string_view> texts) {
    int w = 0;
    for (const std::string_view t : texts) {
        w = std::max(w, page.textWidth(t));
    }
    return w;
}

void line(DrawingSurface& page, int x1, int y1, int x2, int y2) {
    page.moveTo(x1, y1);
    page.lineTo(x2, y2);
}

void drawScaleAndCompass(DrawingSurface& page, const PageFrame& f, bool quoted) {
    const int cx = f.centreX;
    const int cy = f.centreY;
    page.setFont("Arial", 40);
    for (int k = 1; k <= 8; ++k) {
        page.text(cx, cy - 80 * k + 740, std::to_string(k * 10) + "\u00b0", TextAnchor::topCentre);
    }
    page.text(cx, cy + 710, "Elevation", TextAnchor::topCentre);
    page.setFont("Arial", 70);
    page.text(cx, cy - 740, quoted ? "'S'" : "S", TextAnchor::topCentre);
    page.text(cx, cy + 740, quoted ? "'N'" : "N", TextAnchor::bottomCentre);
    page.text(cx + 750, cy + 32, quoted ? "'E'" : "E", TextAnchor::topLeft);
    page.text(cx - 750, cy + 32, quoted ? "'W'" : "W", TextAnchor::topRight);
}

void drawCurves(DrawingSurface& page, const ChartMapping& m, const DiagramModel& chart, bool colour) {
    page.setPenWidth(3);
    page.setPenStyle(PenStyle::solid);
    const HourLinePens pens = colour ? HourLinePens{colours::navy, colours::green, false, false}
                                     : HourLinePens{colours::black, colours::black, false, true};
    renderHourLines(page, chart.hourDots, m, pens);
    for (const DateCurve& curve : chart.curves) {
        page.setPenColour(curveColour(curve.k, colour));
        page.setPenStyle(!colour && curve.k > 5 ? PenStyle::dashed : PenStyle::solid);
        for (const Polyline& l : curve.lines) {
            renderPolyline(page, l, m);
        }
    }
    page.setPenStyle(PenStyle::solid);
}

// A rising sun over a horizon, in silver, at the top right above the title's rule.
void drawEmblem(DrawingSurface& page, const PageFrame& f) {
    const int x = f.width - 275;
    const int y = -160;
    page.setPenColour(colours::silver);
    page.setPenWidth(8);
    line(page, x - 125, y, x + 125, y);
    page.setPenWidth(6);
    for (int a = 30; a <= 150; a += 30) {
        const double r = a * std::numbers::pi / 180.0;
        line(page, x + nearestInt(50 * std::cos(r)), y + nearestInt(50 * std::sin(r)), x + nearestInt(100 * std::cos(r)),
             y + nearestInt(100 * std::sin(r)));
    }
    page.moveTo(x + 30, y);
    for (int a = 15; a <= 180; a += 15) {
        const double r = a * std::numbers::pi / 180.0;
        page.lineTo(x + nearestInt(30 * std::cos(r)), y + nearestInt(30 * std::sin(r)));
    }
}

// One legend line: its text, ":" at colon and a sample of the pen 17 units below the text's
// top, 40 to 115 right of the colon.
void legendEntry(DrawingSurface& page, int y, int colon, std::string_view text) {
    page.text(kLeftColumn, y, text, TextAnchor::topLeft);
    page.text(colon, y, ":", TextAnchor::topLeft);
    line(page, colon + 40, y - 17, colon + 115, y - 17);
}

void drawLegend(DrawingSurface& page, const PageFrame& f, bool colour, bool tilted, int horizonPen) {
    const int base = 2 * f.centreY;
    page.setFont("Arial", 35);
    const int colon = std::max(380, kLeftColumn + widest(page, {kFirstHalf, kSecondHalf, kLocalHorizon}) + kTextGap);
    page.setPenWidth(3);
    page.setPenColour(colour ? colours::navy : colours::black);
    legendEntry(page, base + 390, colon, kFirstHalf);
    page.setPenColour(colour ? colours::green : colours::black);
    page.setPenStyle(colour ? PenStyle::solid : PenStyle::dashed);
    legendEntry(page, base + 350, colon, kSecondHalf);
    page.setPenStyle(PenStyle::solid);
    if (tilted) {
        page.setPenColour(colours::black);
        page.setPenWidth(horizonPen);
        legendEntry(page, base + 310, colon, kLocalHorizon);
    }
}

// The time reference at the right of the legend, level with its first line (its second when
// there is no local horizon), with the hour labels' marker just left of its words.
void drawTimeReference(DrawingSurface& page, const PageFrame& f, std::string_view timeLag, bool tilted) {
    const int y = 2 * f.centreY + (tilted ? 390 : 350);
    page.setFont("Arial", 35);
    const std::string reference = timeReference(timeLag);
    // The marker stands centred 15 left of the words: half its width and a gap more keep it
    // clear of the reference.
    const int marker = widest(page, {"=", "^"});
    const int words = std::max(f.centreX + 430, f.centreX + 100 + page.textWidth(reference) + kTextGap + 15 + marker);
    page.text(f.centreX + 100, y, reference, TextAnchor::topLeft);
    page.setTransparentText(true);
    page.text(words - 15, y + 10, "=", TextAnchor::topCentre);
    page.text(words - 15, y - 14, "^", TextAnchor::topCentre);
    page.setTransparentText(false);
    page.text(words, y, kLocalMeanTime, TextAnchor::topLeft);
}

// Where the small compass stands: at the right of the data block's two lines.
struct CompassPlace {
    int x;
    int y;
};
CompassPlace compassPlace(const PageFrame& f) { return {f.width - 210, 2 * f.centreY - 209}; }

// Two lines of caption, ":" and value on each half of the page, the right half's second
// line only with the orientation. The columns stand where the page's layout puts them
// unless a long value would run into the next text or into the compass: then they make
// room, measured in the font they are printed in.
void drawDataBlock(DrawingSurface& page, const PageFrame& f, const PrintoutTexts& t, bool showOrientation) {
    const int base = 2 * f.centreY;
    const int cx = f.centreX;
    page.setFont("Arial", kCompassLetters);
    const int compassLeft = compassPlace(f).x - kCompassRadius - (page.textWidth("W") + 1) / 2;
    page.setFont("Arial", kDataFont);
    const std::string longitude = t.inputs.longitude + "\u00b0 E";
    const std::string latitude = t.inputs.latitude + "\u00b0 N";
    const std::string inclination = t.inputs.inclination + "\u00b0";
    const std::string orientation = showOrientation ? t.inputs.orientation + "\u00b0" : std::string();
    const std::string_view orientationCaption = showOrientation ? "Orientation" : "";
    const int colon = page.textWidth(":");
    const std::array<int, 6> widths{widest(page, {"Longitude", "Latitude"}),
                                    colon,
                                    widest(page, {longitude, latitude}),
                                    widest(page, {"Inclination", orientationCaption}),
                                    colon,
                                    widest(page, {inclination, orientation})};
    const std::array<int, 6> x = fitColumns<6>({kLeftColumn, 580, 870, cx + 50, cx + 410, cx + 620}, widths,
                                               {0, kTextGap, kTextGap, kBlockGap, kTextGap, kTextGap},
                                               compassLeft - kCompassGap);
    const auto dataLine = [&](int y, std::size_t first, std::string_view caption, const std::string& value) {
        page.text(x[first], y, caption, TextAnchor::topLeft);
        page.text(x[first + 1], y, ":", TextAnchor::topLeft);
        page.text(x[first + 2], y, value, TextAnchor::topLeft);
    };
    // A name may be 39 of the widest letters: rather than run off the page, its line takes a
    // smaller font and ends where the title's rule does.
    const std::string location = "Location :  " + t.location;
    fitFont(page, kDataFont, location, f.width - 2 * kLeftColumn);
    page.text(kLeftColumn, base - 40, location, TextAnchor::topLeft);
    page.setFont("Arial", kDataFont);
    dataLine(base - 140, 0, "Longitude", longitude);
    dataLine(base - 215, 0, "Latitude", latitude);
    dataLine(base - 140, 3, "Inclination", inclination);
    page.text(kLeftColumn, base - 315,
              "Yearly average daylength :  " + t.averageHours + " h " + t.averageMinutes + " min", TextAnchor::topLeft);
    if (showOrientation) {
        dataLine(base - 215, 3, "Orientation", orientation);
    }
}

// The screen's orientation sketch on paper: a circle of radius 50 with its letters on it, a
// cross and the arrow at 10 and 30.
void drawSmallCompass(DrawingSurface& page, const PageFrame& f, int orientation, bool colour) {
    const auto [x, y] = compassPlace(f);
    page.setPenColour(colours::black);
    page.setPenWidth(1);
    page.setBrushColour(colours::white);
    page.ellipse(x - kCompassRadius, y + kCompassRadius, x + kCompassRadius, y - kCompassRadius);
    page.setFont("Arial", kCompassLetters);
    page.text(x, y + 67, "N", TextAnchor::topCentre);
    page.text(x, y - 33, "S", TextAnchor::topCentre);
    page.text(x - 50, y + 17, "W", TextAnchor::topCentre);
    page.text(x + 50, y + 17, "E", TextAnchor::topCentre);
    line(page, x, y - 30, x, y + 30);
    line(page, x - 30, y, x + 30, y);
    page.setPenColour(colour ? colours::red : colours::black);
    const std::array<SketchPoint, 6> arrow = orientationArrow(orientation, 10.0, 30.0);
    page.moveTo(x + arrow[0].x, y - arrow[0].y);  // the sketch's y grows downwards
    for (std::size_t i = 1; i < arrow.size(); ++i) {
        page.lineTo(x + arrow[i].x, y - arrow[i].y);
    }
    page.setPenColour(colours::black);
}

void drawLabels(DrawingSurface& page, const PageFrame& f, const DiagramState& labels, bool colour) {
    page.setFont("Arial", 35);
    page.setTransparentText(true);
    const auto label = [&](LabelAnchor anchor, std::string_view text) {
        // A hidden label is parked off the chart on screen; on paper it would land near a corner.
        if (!anchor.hidden()) {
            const SurfacePoint p = labelOnPage(f, anchor);
            page.text(p.x, p.y, text, TextAnchor::topLeft);
        }
    };
    for (int k = 0; k < kSpecialCurve; ++k) {
        page.setTextColour(curveColour(k, colour));
        label(labels.dateLabelPositions[k].first, kCurveCaptions[k]);
        label(labels.dateLabelPositions[k].second, kCurveCaptions[k]);
    }
    page.setTextColour(colours::black);
    for (int h = 1; h <= 24; ++h) {
        label(labels.hourLabelPositions[h - 1], hourLabelText(h));
    }
    page.setTransparentText(false);
}

}  // namespace

PageFrame pageFrame(int printableWidthMm, int printableHeightMm) {
    const int w = std::clamp(printableWidthMm, 0, kLargestPageMm) * 10 - 50;
    const int h = std::clamp(printableHeightMm, 0, kLargestPageMm) * 10 - 80;
    return {w, h, w / 2, 300 - h / 2};
}

ChartMapping pageMapping(const PageFrame& frame) {
    // 8 page units per degree against the chart's 5: the chart's centre (500, 500) lands on
    // the page's, north stays at the top.
    constexpr double s = 8.0 / 5.0;
    return {s, frame.centreX - 500.0 * s, -s, frame.centreY + 500.0 * s};
}

SurfacePoint labelOnPage(const PageFrame& frame, LabelAnchor screen, int pictureLeft) {
    const double dx = screen.x - pictureLeft - 250;
    const double dy = screen.y - 250;
    return {frame.centreX + nearestInt(dx * kPrintLabelScale), frame.centreY - nearestInt(dy * kPrintLabelScale)};
}

std::string timeReference(std::string_view timeLagText) {
    const double lag = parseReal(timeLagText);
    const std::string text(timeLagText);
    if (lag > 0.0) {
        return "GMT +" + text + " h";
    }
    if (lag < 0.0) {
        return "GMT " + text + " h";
    }
    return "GMT";
}

DiagramModel computePrintedDiagram(SunContext& context, const DiagramState& state, const DiagramInputs& inputs) {
    DiagramModel model;
    model.quotedCompass = quotesCompass(inputs.latitude);
    prepareDiagramContext(context, inputs, kPrintPoleLatitude);
    // The anchors stay where the user left them: the curves are computed as under "Old
    // plotting", on a copy.
    DiagramState curves = state;
    const DiagramSettings keepAnchors{kScreenScaleDivisor, false, kDiagramPictureLeft};
    for (int k = 0; k < kSpecialCurve; ++k) {
        model.curves[k] = computeDateCurve(context, curves, k, keepAnchors);
    }
    model.hourDots = computeHourLines(context);
    model.localHorizon = computeLocalHorizon(context, kPrintHorizonStep);
    return model;
}

void drawPrintout(DrawingSurface& page, const PageFrame& frame, const DiagramModel& chart, const DiagramState& labels,
                  const PrintoutTexts& texts, bool colour) {
    const ChartMapping m = pageMapping(frame);
    const int cx = frame.centreX;
    const int cy = frame.centreY;
    const bool tilted = std::clamp(parseInteger(texts.inputs.inclination), 0, 179) >= 1;
    const int horizonPen = colour ? 4 : 5;

    page.setPenWidth(1);
    page.setPenStyle(PenStyle::solid);
    page.setPenColour(colours::black);
    page.setBrushColour(colours::white);
    page.setTextColour(colours::black);
    page.setTransparentText(false);

    drawGridLines(page, m, kPrintGridLines);
    drawScaleAndCompass(page, frame, chart.quotedCompass);
    drawCurves(page, m, chart, colour);

    // The horizon again over the curves' ends, without covering them.
    page.setPenColour(colours::black);
    page.setPenWidth(1);
    page.setBrushClear();
    page.ellipse(cx - kPrintHorizonRadius, cy + kPrintHorizonRadius, cx + kPrintHorizonRadius,
                 cy - kPrintHorizonRadius);
    page.setBrushColour(colours::white);
    if (tilted && !chart.localHorizon.empty()) {
        page.setPenWidth(horizonPen);
        renderPolyline(page, chart.localHorizon, m);
    }

    page.setFont("Arial", 70);
    page.text(kLeftColumn, -100, kTitle, TextAnchor::topLeft);
    page.setPenWidth(2);
    line(page, kLeftColumn, -180, frame.width - kLeftColumn, -180);
    drawEmblem(page, frame);

    drawLegend(page, frame, colour, tilted, horizonPen);
    drawTimeReference(page, frame, texts.inputs.timeLag, tilted);
    page.setPenColour(colours::black);
    page.setPenWidth(2);
    line(page, cx - 400, 2 * cy + 110, cx + 400, 2 * cy + 110);

    const bool showOrientation = texts.inputs.inclination != "0";
    drawDataBlock(page, frame, texts, showOrientation);
    if (showOrientation) {
        drawSmallCompass(page, frame, std::clamp(parseInteger(texts.inputs.orientation), 0, 360), colour);
    }
    drawLabels(page, frame, labels, colour);
}

}  // namespace zenova
