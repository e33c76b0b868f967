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

// A text followed by ":" and its value, at the three columns of a line.
void dataLine(DrawingSurface& page, int y, std::array<int, 3> columns, std::string_view caption,
              const std::string& value) {
    page.text(columns[0], y, caption, TextAnchor::topLeft);
    page.text(columns[1], y, ":", TextAnchor::topLeft);
    page.text(columns[2], y, value, TextAnchor::topLeft);
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

// One legend line: its text, ":" and a sample of the pen 17 units below the text's top.
void legendLine(DrawingSurface& page, int y, std::string_view text) {
    page.text(kLeftColumn, y, text, TextAnchor::topLeft);
    page.text(380, y, ":", TextAnchor::topLeft);
    line(page, 420, y - 17, 495, y - 17);
}

void drawLegend(DrawingSurface& page, const PageFrame& f, bool colour, bool tilted, int horizonPen) {
    const int base = 2 * f.centreY;
    page.setFont("Arial", 35);
    page.setPenWidth(3);
    page.setPenColour(colour ? colours::navy : colours::black);
    legendLine(page, base + 390, kFirstHalf);
    page.setPenColour(colour ? colours::green : colours::black);
    page.setPenStyle(colour ? PenStyle::solid : PenStyle::dashed);
    legendLine(page, base + 350, kSecondHalf);
    page.setPenStyle(PenStyle::solid);
    if (tilted) {
        page.setPenColour(colours::black);
        page.setPenWidth(horizonPen);
        legendLine(page, base + 310, kLocalHorizon);
    }
}

// The time reference at the right of the legend, level with its first line (its second when
// there is no local horizon), with the hour labels' marker just left of its words.
void drawTimeReference(DrawingSurface& page, const PageFrame& f, std::string_view timeLag, bool tilted) {
    const int y = 2 * f.centreY + (tilted ? 390 : 350);
    const int words = f.centreX + 430;
    page.setFont("Arial", 35);
    page.text(f.centreX + 100, y, timeReference(timeLag), TextAnchor::topLeft);
    page.setTransparentText(true);
    page.text(words - 15, y + 10, "=", TextAnchor::topCentre);
    page.text(words - 15, y - 14, "^", TextAnchor::topCentre);
    page.setTransparentText(false);
    page.text(words, y, kLocalMeanTime, TextAnchor::topLeft);
}

void drawDataBlock(DrawingSurface& page, const PageFrame& f, const PrintoutTexts& t, bool showOrientation) {
    const int base = 2 * f.centreY;
    const int cx = f.centreX;
    const std::array<int, 3> left{kLeftColumn, 580, 870};
    const std::array<int, 3> right{cx + 50, cx + 410, cx + 620};
    page.setFont("Arial", 60);
    page.text(kLeftColumn, base - 40, "Location :  " + t.location, TextAnchor::topLeft);
    dataLine(page, base - 140, left, "Longitude", t.inputs.longitude + "\u00b0 E");
    dataLine(page, base - 215, left, "Latitude", t.inputs.latitude + "\u00b0 N");
    dataLine(page, base - 140, right, "Inclination", t.inputs.inclination + "\u00b0");
    page.text(kLeftColumn, base - 315,
              "Yearly average daylength :  " + t.averageHours + " h " + t.averageMinutes + " min", TextAnchor::topLeft);
    if (showOrientation) {
        dataLine(page, base - 215, right, "Orientation", t.inputs.orientation + "\u00b0");
    }
}

// The screen's orientation sketch on paper: a circle of radius 50 with its letters on it, a
// cross and the arrow at 10 and 30.
void drawSmallCompass(DrawingSurface& page, const PageFrame& f, int orientation, bool colour) {
    const int x = f.width - 210;
    const int y = 2 * f.centreY - 209;
    page.setPenColour(colours::black);
    page.setPenWidth(1);
    page.setBrushColour(colours::white);
    page.ellipse(x - 50, y + 50, x + 50, y - 50);
    page.setFont("Arial", 35);
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
