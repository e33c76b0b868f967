#include "Diagram.h"
#include "Printout.h"
#include "RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

using namespace zenova;

namespace {

// An A4 sheet less 5 mm margins all round: 200 x 287 mm printable.
const PageFrame kA4 = pageFrame(200, 287);

PrintoutTexts brussels(const char* inclination, const char* orientation, const char* lag = "1.0") {
    return {{"4.35", "50.85", lag, inclination, orientation}, "Brussels", "12", "15"};
}

// Texts one unit wide per byte: where nothing is long, the page's own columns stand.
struct Printed {
    RecordingSurface page{[](std::string_view, int, std::string_view text) { return static_cast<int>(text.size()); }};
    DiagramModel chart;
};

// Prints with every label at a known place: the first date labels and the even hours at
// the screen chart's centre plus (10, 20) pixels, the others hidden.
void print(Printed& p, const PrintoutTexts& texts, bool colour) {
    DiagramState labels;
    for (auto& d : labels.dateLabelPositions) {
        d.first = {kDiagramPictureLeft + 260, 270};
        d.second = kHiddenAnchor;
    }
    for (int h = 1; h <= 24; ++h) {
        labels.hourLabelPositions[h - 1] = h % 2 == 0 ? LabelAnchor{kDiagramPictureLeft + 260, 270} : kHiddenAnchor;
    }
    SunContext context;
    p.chart = computePrintedDiagram(context, labels, texts.inputs);
    drawPrintout(p.page, kA4, p.chart, labels, texts, colour);
}

bool has(const RecordingSurface& s, const std::string& operation) {
    const auto& ops = s.operations();
    return std::find(ops.begin(), ops.end(), operation) != ops.end();
}

int countContaining(const RecordingSurface& s, const std::string& part) {
    return static_cast<int>(std::count_if(s.operations().begin(), s.operations().end(),
                                          [&](const std::string& op) { return op.find(part) != std::string::npos; }));
}

std::string text(int x, int y, const char* anchor, const std::string& s) {
    return "text " + std::to_string(x) + " " + std::to_string(y) + " " + anchor + " \"" + s + "\"";
}

}  // namespace

TEST(PrintedPage, FrameCentreAndLabelOffsets) {
    EXPECT_EQ(kA4, (PageFrame{1950, 2790, 975, 300 - 1395}));
    // A page that reports nothing does not divide by it or wrap round.
    EXPECT_EQ(pageFrame(-3, 0), (PageFrame{-50, -80, -25, 340}));
    EXPECT_EQ(pageFrame(1 << 30, 1 << 30).width, 100'000 * 10 - 50);

    // 3.2 times the screen offset from the picture's chart centre (its left edge + 250, 250);
    // the screen's y grows downwards, the page's upwards.
    EXPECT_EQ(labelOnPage(kA4, {kDiagramPictureLeft + 260, 270}), (SurfacePoint{975 + 32, -1095 - 64}));
    EXPECT_EQ(labelOnPage(kA4, {kDiagramPictureLeft + 250, 250}), (SurfacePoint{975, -1095}));
    // A label dragged off the chart keeps its offset on paper, wherever it lands.
    EXPECT_EQ(labelOnPage(kA4, {kDiagramPictureLeft - 100, 600}), (SurfacePoint{975 - 1120, -1095 - 1120}));
}

TEST(PrintedPage, ChartPositionsFollowThePageFormula) {
    // (elevation, azimuth) lies at cx - 8 (90 - e) sin P, cy + 8 (90 - e) cos P: north up,
    // east to the left as seen from below.
    const ChartMapping m = pageMapping(kA4);
    for (double e : {0.0, 17.5, 45.0, 89.0}) {
        for (double a : {0.0, 33.0, 90.0, 180.0, 251.0, 359.0}) {
            const double r = 8.0 * (90.0 - e);
            const SurfacePoint p = mapPoint(m, chartPoint(e, a));
            EXPECT_NEAR(p.x, 975 - r * std::sin(a * std::numbers::pi / 180.0), 0.5001) << e << " " << a;
            EXPECT_NEAR(p.y, -1095 + r * std::cos(a * std::numbers::pi / 180.0), 0.5001) << e << " " << a;
        }
    }
}

TEST(PrintedPage, TimeReferenceReadsTheValue) {
    EXPECT_EQ(timeReference("1.0"), "GMT +1.0 h");
    EXPECT_EQ(timeReference(" 5.5"), "GMT + 5.5 h");
    EXPECT_EQ(timeReference("-5.0"), "GMT -5.0 h");
    EXPECT_EQ(timeReference("-0.0"), "GMT");
    EXPECT_EQ(timeReference("0.0"), "GMT");
    EXPECT_EQ(timeReference("x"), "GMT");
}

TEST(PrintedPage, HourLabelTexts) {
    EXPECT_EQ(hourLabelText(1), "1 a.m.");
    EXPECT_EQ(hourLabelText(11), "11 a.m.");
    EXPECT_EQ(hourLabelText(12), "12 p.m.");
    EXPECT_EQ(hourLabelText(13), "1 p.m.");
    EXPECT_EQ(hourLabelText(23), "11 p.m.");
    EXPECT_EQ(hourLabelText(24), "12 a.m.");
}

TEST(PrintedPage, HorizontalSurfaceInColour) {
    Printed p;
    print(p, brussels("0", "180"), true);
    const RecordingSurface& s = p.page;
    const int base = 2 * kA4.centreY;
    EXPECT_TRUE(has(s, text(150, -100, "top-left", "Sun Orbit Diagram")));
    EXPECT_TRUE(has(s, text(150, base + 390, "top-left", "Year\u00b4s 1st half")));
    EXPECT_TRUE(has(s, text(150, base + 350, "top-left", "Year\u00b4s 2nd half")));
    EXPECT_EQ(countContaining(s, "Lokal horizon"), 0);
    // Without the horizon's legend line the time reference moves down by 40.
    EXPECT_TRUE(has(s, text(kA4.centreX + 100, base + 350, "top-left", "GMT +1.0 h")));
    EXPECT_TRUE(has(s, text(150, base - 40, "top-left", "Location :  Brussels")));
    EXPECT_TRUE(has(s, text(150, base - 140, "top-left", "Longitude")));
    EXPECT_TRUE(has(s, text(870, base - 140, "top-left", "4.35\u00b0 E")));
    EXPECT_TRUE(has(s, text(870, base - 215, "top-left", "50.85\u00b0 N")));
    EXPECT_TRUE(has(s, text(kA4.centreX + 620, base - 140, "top-left", "0\u00b0")));
    EXPECT_TRUE(has(s, text(150, base - 315, "top-left", "Yearly average daylength :  12 h 15 min")));
    EXPECT_EQ(countContaining(s, "Orientation"), 0);
    EXPECT_TRUE(p.chart.localHorizon.empty());
    EXPECT_TRUE(has(s, "penColour navy"));
    EXPECT_TRUE(has(s, "penColour green"));
    EXPECT_TRUE(has(s, "penColour silver"));  // the emblem
    EXPECT_FALSE(has(s, "penStyle dashed"));
    EXPECT_TRUE(has(s, text(975, -1095 - 80 + 740, "top-centre", "10\u00b0")));
    EXPECT_TRUE(has(s, text(975, -1095 - 740, "top-centre", "S")));
    EXPECT_TRUE(has(s, text(975, -1095 + 740, "bottom-centre", "N")));
}

TEST(PrintedPage, LabelsAtTheirPlacesAndHiddenOnesLeftOut) {
    Printed p;
    print(p, brussels("0", "180"), true);
    const RecordingSurface& s = p.page;
    for (std::string_view caption : kCurveCaptions) {
        EXPECT_EQ(countContaining(s, "\"" + std::string(caption) + "\""), 1) << caption;
        EXPECT_TRUE(has(s, text(1007, -1159, "top-left", std::string(caption))));
    }
    for (int h = 1; h <= 24; ++h) {
        EXPECT_EQ(countContaining(s, "\"" + hourLabelText(h) + "\""), h % 2 == 0 ? 1 : 0) << h;
    }
    // Nothing at the place where a hidden label would land.
    const SurfacePoint hidden = labelOnPage(kA4, kHiddenAnchor);
    EXPECT_EQ(countContaining(s, "text " + std::to_string(hidden.x) + " " + std::to_string(hidden.y) + " "), 0);
    // First-half captions navy, second-half green, the hours black.
    const auto& ops = s.operations();
    const auto at = [&](const std::string& op) { return std::find(ops.begin(), ops.end(), op) - ops.begin(); };
    const auto colourBefore = [&](const std::string& op) {
        for (auto i = at(op); i >= 0; --i) {
            if (ops[static_cast<std::size_t>(i)].rfind("textColour", 0) == 0) {
                return ops[static_cast<std::size_t>(i)];
            }
        }
        return std::string();
    };
    EXPECT_EQ(colourBefore(text(1007, -1159, "top-left", "June 4")), "textColour navy");
    EXPECT_EQ(colourBefore(text(1007, -1159, "top-left", "June 21")), "textColour green");
    EXPECT_EQ(colourBefore(text(1007, -1159, "top-left", "12 p.m.")), "textColour black");
}

TEST(PrintedPage, TiltedSurfaceInMonochrome) {
    Printed p;
    print(p, brussels("30", "180", "-0.0"), false);
    const RecordingSurface& s = p.page;
    const int base = 2 * kA4.centreY;
    EXPECT_TRUE(has(s, text(150, base + 310, "top-left", "Lokal horizon")));
    EXPECT_TRUE(has(s, text(kA4.centreX + 100, base + 390, "top-left", "GMT")));
    EXPECT_TRUE(has(s, text(kA4.centreX + 50, base - 215, "top-left", "Orientation")));
    EXPECT_TRUE(has(s, text(kA4.centreX + 620, base - 215, "top-left", "180\u00b0")));
    EXPECT_TRUE(has(s, "penWidth 5"));  // the horizon's pen on paper without colour
    EXPECT_TRUE(has(s, "penStyle dashed"));
    EXPECT_FALSE(has(s, "penColour navy"));
    EXPECT_FALSE(has(s, "penColour green"));
    EXPECT_FALSE(has(s, "textColour navy"));
    EXPECT_FALSE(has(s, "textColour green"));

    // The local horizon at 1-degree steps, its ends on the horizon circle.
    ASSERT_EQ(p.chart.localHorizon.size(), 181u);
    for (const ChartPoint& end : {p.chart.localHorizon.front(), p.chart.localHorizon.back()}) {
        EXPECT_NEAR(std::hypot(end.x - 500.0, end.y - 500.0), 450.0, 1e-9);
    }
    // The small compass sits at (W - 210, 2 cy - 209) with a circle of radius 50.
    EXPECT_TRUE(has(s, "ellipse " + std::to_string(kA4.width - 260) + " " + std::to_string(base - 159) + " " +
                           std::to_string(kA4.width - 160) + " " + std::to_string(base - 259)));
}

TEST(PrintedPage, MonochromeLeavesEveryOtherSecondHalfJoinOut) {
    Printed colour;
    Printed mono;
    print(colour, brussels("0", "180"), true);
    print(mono, brussels("0", "180"), false);
    int joinedFirst = 0;
    int joinedSecond = 0;
    for (const HourDot& d : colour.chart.hourDots) {
        (d.secondHalf ? joinedSecond : joinedFirst) += d.joined;
    }
    ASSERT_GT(joinedSecond, 100);
    // Colour draws every join of both halves; monochrome drops about half of the second's.
    const int dropped = countContaining(colour.page, "lineTo") - countContaining(mono.page, "lineTo");
    EXPECT_GT(dropped, joinedSecond / 2 - 40);
    EXPECT_LT(dropped, joinedSecond / 2 + 40);
    // Paper has no single dots.
    EXPECT_EQ(countContaining(colour.page, "setPixel"), 0);
}

TEST(PrintedPage, PoleLatitudeOfThePrintout) {
    SunContext screen;
    SunContext paper;
    DiagramInputs pole{"0.00", "90.00", "0.0", "0", "180"};
    prepareDiagramContext(screen, pole);
    DiagramState state;
    computePrintedDiagram(paper, state, pole);
    EXPECT_NEAR(screen.latitudeDeg, 89.99999, 1e-12);
    EXPECT_NEAR(paper.latitudeDeg, 89.9999, 1e-12);
    Printed p;
    print(p, {pole, "North Pole", "0", "0"}, true);
    EXPECT_TRUE(has(p.page, text(975, -1095 - 740, "top-centre", "'S'")));
}
