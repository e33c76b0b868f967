#include "Diagram.h"
#include "Numeric.h"
#include "RecordingSurface.h"
#include "reference_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace zenova;

namespace {

struct Op {
    std::string kind;
    std::vector<std::string> args;
    int arg(std::size_t i) const { return std::stoi(args.at(i)); }
};

std::vector<Op> parse(const RecordingSurface& s) {
    std::vector<Op> ops;
    for (const std::string& line : s.operations()) {
        std::istringstream in(line);
        Op op;
        in >> op.kind;
        for (std::string a; in >> a;) {
            op.args.push_back(a);
        }
        ops.push_back(op);
    }
    return ops;
}

int count(const std::vector<Op>& ops, const std::string& kind) {
    int n = 0;
    for (const Op& op : ops) {
        n += op.kind == kind;
    }
    return n;
}

double distanceFromCentre(int x, int y) { return std::hypot(x - 250.0, y - 250.0); }

SunContext prepared(const char* lon, const char* lat, const char* lag, const char* incl, const char* orient) {
    SunContext c;
    prepareSunContext(c, lon, lat, lag, incl, orient);
    return c;
}

DiagramSettings screen() { return DiagramSettings{}; }

}  // namespace

TEST(ChartGrid, CoveringOrderAndLabels) {
    RecordingSurface s;
    drawChartGrid(s, 2, quotesCompass("50.85"));
    const std::vector<std::string>& raw = s.operations();
    ASSERT_GE(raw.size(), 6u);
    EXPECT_EQ(raw[0], "penColour white");
    EXPECT_EQ(raw[1], "brushColour white");
    EXPECT_EQ(raw[2], "clear");
    EXPECT_EQ(raw[3], "penColour black");
    EXPECT_EQ(raw[4], "moveTo 250 250");
    EXPECT_EQ(raw[5], "lineTo 420 80");  // 45 degrees, 480 units out, to whole pixels

    // Rays of 45, circles of 0..60 degrees, 10-degree rays, 70-degree circle, 30-degree
    // rays, 80-degree circle, cross: each white-filled circle hides what lies inside it.
    std::string shape;
    for (const Op& op : parse(s)) {
        if (op.kind == "lineTo") {
            shape += 'l';
        } else if (op.kind == "ellipse") {
            shape += 'O';
        }
    }
    EXPECT_EQ(shape, std::string(8, 'l') + std::string(7, 'O') + std::string(35, 'l') + "O" + std::string(12, 'l') +
                         "O" + "ll");
    // Every coordinate is pinned by the golden logs; here only the letters' places.
    const std::size_t n = raw.size();
    EXPECT_EQ(raw[n - 6], "text 250 30 top-centre \"Elevation\"");
    EXPECT_EQ(raw[n - 3], "text 487 242 top-centre \"E\"");
    EXPECT_EQ(raw[n - 2], "text 7 242 top-centre \"W\"");

    // At a pole the compass letters are quoted, "W" moved right to make room.
    RecordingSurface pole;
    drawChartGrid(pole, 2, quotesCompass("-90.00"));
    const std::vector<std::string>& p = pole.operations();
    EXPECT_EQ(p[p.size() - 2], "text 10 242 top-centre \"'W'\"");
    EXPECT_EQ(p.back(), "text 250 481 top-centre \"'S'\"");

    // A divisor below 1 would divide by zero; it counts as 1.
    RecordingSurface zero;
    drawChartGrid(zero, 0, false);
    RecordingSurface one;
    drawChartGrid(one, 1, false);
    EXPECT_EQ(zero.operations(), one.operations());
}

TEST(DateCurve, EndsOnTheHorizonCircleWithItsColour) {
    SunContext c = prepared("4.35", "50.85", "1.0", "0", "0");
    DiagramState state;
    for (const int k : {0, 6, 13}) {
        RecordingSurface s;
        drawDateCurve(s, c, state, k, screen());
        const std::vector<Op> ops = parse(s);
        ASSERT_GT(ops.size(), 50u);  // 8 h on 5 January, sampled every 0.11 h
        EXPECT_EQ(s.operations()[0], k == 0 ? "penColour navy" : (k == 6 ? "penColour green" : "penColour red"));
        const Op& first = ops[1];
        const Op& last = ops.back();
        ASSERT_EQ(first.kind, "moveTo");
        ASSERT_EQ(last.kind, "lineTo");
        // Both ends sit 0.0001 h inside the interval: on the circle, not across it.
        EXPECT_NEAR(distanceFromCentre(first.arg(0), first.arg(1)), 225.0, 1.0);
        EXPECT_NEAR(distanceFromCentre(last.arg(0), last.arg(1)), 225.0, 1.0);
        for (std::size_t i = 2; i < ops.size(); ++i) {
            EXPECT_LE(distanceFromCentre(ops[i].arg(0), ops[i].arg(1)), 226.0);
        }
    }
}

TEST(DateCurve, LabelAnchorsUnderNewCalculationAndOldPlotting) {
    SunContext c = prepared("4.35", "50.85", "1.0", "0", "0");
    DiagramState state;
    RecordingSurface s;
    // First half of the year: the label at the curve's end; second half: at its start.
    drawDateCurve(s, c, state, 0, screen());
    drawDateCurve(s, c, state, 7, screen());
    for (const int k : {0, 7}) {
        dayValues(c, state.curveDays[k]);
        const SunshineTimes t =
            sunshineTimes(c, c.latitude, c.surfaceCoefficients[0], c.surfaceCoefficients[1], c.surfaceCoefficients[2]);
        sunPosition(c, k == 0 ? t.firstEnd - 0.0001 : t.firstStart + 0.0001, c.orientation);
        EXPECT_EQ(state.dateLabelPositions[k].first,
                  dateLabelAnchor(c.surfaceSunElevation, c.surfaceSunAzimuth, kDiagramPictureLeft));
        EXPECT_TRUE(state.dateLabelPositions[k].second.hidden());  // a horizontal surface has one interval
    }
    // Sunset on 5 January lies south-west (left, low); sunrise on 21 July north-east (right, high).
    EXPECT_LT(state.dateLabelPositions[0].first.x, kDiagramPictureLeft + 250);
    EXPECT_GT(state.dateLabelPositions[0].first.y, 250);
    EXPECT_GT(state.dateLabelPositions[7].first.x, kDiagramPictureLeft + 250);
    EXPECT_LT(state.dateLabelPositions[7].first.y, 250);

    DiagramSettings old = screen();
    old.newCalculation = false;
    const DateLabelAnchors stored{{400, 100}, {-50, 0}};
    state.dateLabelPositions[3] = stored;
    RecordingSurface s2;
    drawDateCurve(s2, c, state, 3, old);
    EXPECT_EQ(state.dateLabelPositions[3], stored);
    EXPECT_GT(s2.operations().size(), 100u);

    RecordingSurface none;
    drawDateCurve(none, c, state, 14, screen());
    drawDateCurve(none, c, state, -1, screen());
    EXPECT_TRUE(none.operations().empty());
}

TEST(DateCurve, EmptyIntervalDrawsNothing) {
    // Polar night at 80 N on 21 December.
    SunContext c = prepared("0.00", "80.00", "0.0", "0", "0");
    DiagramState state;
    state.dateLabelPositions[12] = {{300, 300}, {310, 310}};
    RecordingSurface s;
    drawDateCurve(s, c, state, 12, screen());
    EXPECT_EQ(s.operations(), std::vector<std::string>{"penColour green"});
    EXPECT_TRUE(state.dateLabelPositions[12].first.hidden());
    EXPECT_TRUE(state.dateLabelPositions[12].second.hidden());
}

TEST(LabelAnchors, ScreenRule) {
    const int left = kDiagramPictureLeft;
    EXPECT_EQ(dateLabelAnchor(90.0, 0.0, left), (LabelAnchor{250 + left + 5, 250}));
    // West (left of the centre): u = 90 + 15, halved by truncation to 52.
    EXPECT_EQ(dateLabelAnchor(0.0, 90.0, left), (LabelAnchor{250 - 52 * 5 + left + 5, 250}));
    // North (top): raised by a further 10 pixels.
    EXPECT_EQ(dateLabelAnchor(0.0, 0.0, left), (LabelAnchor{250 + left + 5, 250 - 45 * 5 - 10}));
    EXPECT_EQ(dateLabelAnchor(0.0, 180.0, left), (LabelAnchor{250 + left + 5, 250 + 45 * 5}));
    // Truncation towards zero: u = -3 halves to -1.
    EXPECT_EQ(hourLabelAnchor(87.0, 270.0, left), (LabelAnchor{250 + 5 + left, 250}));
    EXPECT_EQ(hourLabelAnchor(0.0, 270.0, left), (LabelAnchor{250 + 45 * 5 + left, 250}));
}

TEST(HourLabels, IndexWrapsForAnyClockHour) {
    EXPECT_EQ(hourLabelIndex(0), 24);
    EXPECT_EQ(hourLabelIndex(25), 1);
    EXPECT_EQ(hourLabelIndex(1), 1);
    EXPECT_EQ(hourLabelIndex(24), 24);
    EXPECT_EQ(hourLabelIndex(-24), 24);
    EXPECT_EQ(hourLabelIndex(49), 1);
    for (int h = -100; h <= 100; ++h) {
        const int i = hourLabelIndex(h);
        ASSERT_GE(i, 1);
        ASSERT_LE(i, 24);
        ASSERT_EQ((h - i) % 24, 0) << h;
    }
}

TEST(HourLabels, PlacedAlongTheLongestDay) {
    // Polar day at 70 N with a time lag of 1 h: the clock runs from 1:02 to 25:02, so hour
    // 25 goes to label 1; with -1 h hour 0 goes to label 24.
    for (const char* lag : {"1.0", "-1.0"}) {
        SunContext c = prepared("0.00", "70.00", lag, "0", "0");
        DiagramState state;
        state.hourLabelPositions.fill(kHiddenAnchor);
        computeHourLabelPositions(c, state, kDiagramPictureLeft);
        const int hour = lag[0] == '-' ? 0 : 25;
        dayValues(c, 172);
        sunPosition(c, hour, c.orientation);
        EXPECT_EQ(state.hourLabelPositions[hourLabelIndex(hour) - 1],
                  hourLabelAnchor(c.surfaceSunElevation, c.surfaceSunAzimuth, kDiagramPictureLeft));
        for (const LabelAnchor& a : state.hourLabelPositions) {
            EXPECT_FALSE(a.hidden());  // the midnight sun reaches every hour
        }
    }
    // Longitude 180 with a time lag of -11 h: the clock runs 23 h behind the sun, and the
    // noon sun at clock -11 is the label of 1 p.m.
    SunContext far = prepared("180.00", "45.00", "-11.0", "0", "0");
    DiagramState state;
    state.hourLabelPositions.fill(kHiddenAnchor);
    computeHourLabelPositions(far, state, kDiagramPictureLeft);
    dayValues(far, far.longestDay);
    sunPosition(far, -11.0, far.orientation);
    EXPECT_EQ(state.hourLabelPositions[12], hourLabelAnchor(far.surfaceSunElevation, far.surfaceSunAzimuth,
                                                            kDiagramPictureLeft));
    EXPECT_TRUE(state.hourLabelPositions[0].hidden());  // 1 a.m.: night
}

TEST(LocalHorizon, TiltedSurfaces) {
    SunContext flat = prepared("4.35", "50.85", "1.0", "0", "0");
    RecordingSurface none;
    renderLocalHorizon(none, computeLocalHorizon(flat), 2);
    EXPECT_TRUE(none.operations().empty());

    // A south wall: the horizon runs from east (right) through the centre to west (left).
    SunContext wall = prepared("4.35", "50.85", "1.0", "90", "180");
    RecordingSurface s;
    renderLocalHorizon(s, computeLocalHorizon(wall), 2);
    const std::vector<std::string>& raw = s.operations();
    ASSERT_EQ(raw.size(), 3u + 37u);
    EXPECT_EQ(raw[0], "penColour black");
    EXPECT_EQ(raw[1], "penWidth 1");
    EXPECT_EQ(raw[2], "penStyle dotted");
    EXPECT_EQ(raw[3], "moveTo 475 250");
    EXPECT_EQ(raw[3 + 18], "lineTo 250 250");
    EXPECT_EQ(raw.back(), "lineTo 25 250");

    // Tilted 60 towards the south the horizon ahead lies 60 degrees up, below the centre;
    // tilted 120 the chart is mirrored and it lies above.
    SunContext sixty = prepared("4.35", "50.85", "1.0", "60", "180");
    RecordingSurface s60;
    renderLocalHorizon(s60, computeLocalHorizon(sixty), 2);
    EXPECT_EQ(s60.operations()[3 + 18], "lineTo 250 325");
    SunContext over = prepared("4.35", "50.85", "1.0", "120", "180");
    RecordingSurface s120;
    renderLocalHorizon(s120, computeLocalHorizon(over), 2);
    EXPECT_EQ(s120.operations()[3 + 18], "lineTo 250 175");

    SunContext north = prepared("4.35", "50.85", "1.0", "30", "360");
    RecordingSurface s360;
    renderLocalHorizon(s360, computeLocalHorizon(north), 2);
    EXPECT_EQ(north.orientation, 0);
}

// The dotted line is the real horizon seen from the surface: every horizon point within 90
// degrees of the direction faced lies, by the vector model, on a vertex of the line drawn at
// divisor 1; 0.75 units is the rounding to whole pixels. Near the surface normal the cosine
// of the in-plane angle comes out a hair beyond 1 for some tilts, which must not throw a
// point to the picture's corner.
TEST(LocalHorizon, MatchesVectorModelForEveryTilt) {
    for (int incl = 1; incl <= 179; ++incl) {
        for (const int orient : {0, 1, 45, 90, 135, 179, 180, 181, 225, 270, 300, 359, 360}) {
            SunContext c = prepared("0.00", "45.00", "0.0", std::to_string(incl).c_str(),
                                    std::to_string(orient).c_str());
            RecordingSurface s;
            renderLocalHorizon(s, computeLocalHorizon(c), 1);
            const std::vector<Op> ops = parse(s);
            ASSERT_EQ(ops.size(), 40u);
            for (std::size_t i = 3; i < ops.size(); ++i) {
                ASSERT_LE(std::hypot(ops[i].arg(0) - 500.0, ops[i].arg(1) - 500.0), 450.75)
                    << "inclination " << incl << " orientation " << orient << " point " << i - 3;
            }
            for (int i = -18; i <= 18; ++i) {
                const zenova_test::ChartView v =
                    zenova_test::chartView(zenova_test::horizonDirection(5.0 * i + orient), incl, orient);
                double nearest = 1e9;
                for (std::size_t j = 3; j < ops.size(); ++j) {
                    nearest = std::min(nearest, std::hypot(ops[j].arg(0) - 500.0 - v.dx, ops[j].arg(1) - 500.0 - v.dy));
                }
                ASSERT_LE(nearest, 0.75) << "inclination " << incl << " orientation " << orient << " azimuth step " << i;
            }
        }
    }
}

TEST(DateLabels, OffChartAnchorsHidden) {
    DiagramState state;
    state.dateLabelPositions[0] = {{745, 500}, {746, 10}};
    state.dateLabelPositions[5] = {{300, 501}, {-50, 0}};
    state.dateLabelPositions[13] = {{900, 900}, {900, 900}};
    hideOutOfRangeDateLabels(state);
    EXPECT_EQ(state.dateLabelPositions[0].first, (LabelAnchor{745, 500}));
    EXPECT_TRUE(state.dateLabelPositions[0].second.hidden());
    EXPECT_TRUE(state.dateLabelPositions[5].first.hidden());
    EXPECT_EQ(state.dateLabelPositions[13].first, (LabelAnchor{900, 900}));  // the special day has no label
}

TEST(HourLines, DotsJoinedToTheNextDay) {
    SunContext c = prepared("4.35", "50.85", "1.0", "0", "0");
    RecordingSurface s;
    int hours = 0;
    renderHourLines(s, computeHourLines(c, [&hours] { ++hours; }), 2);
    EXPECT_EQ(hours, 33);
    const std::vector<Op> ops = parse(s);
    const std::vector<std::string>& raw = s.operations();
    int navy = 0;
    int green = 0;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        if (ops[i].kind == "pixel") {
            ASSERT_GE(i, 2u);
            EXPECT_EQ(ops[i - 2].kind, "moveTo");
            EXPECT_EQ(ops[i - 2].args, std::vector<std::string>(ops[i].args.begin(), ops[i].args.begin() + 2));
            EXPECT_EQ(raw[i - 1], "penColour " + ops[i].args[2]);
            navy += ops[i].args[2] == "navy";
            green += ops[i].args[2] == "green";
            EXPECT_LE(distanceFromCentre(ops[i].arg(0), ops[i].arg(1)), 226.0);
        } else if (ops[i].kind == "lineTo") {
            EXPECT_EQ(ops[i - 1].kind, "pixel");
        }
    }
    // Brussels sees the sun at clock hours 5..21 (summer) over 183 days of the year,
    // split about evenly between the two halves.
    EXPECT_GT(navy, 1000);
    EXPECT_GT(green, 1000);
    EXPECT_EQ(count(ops, "pixel"), navy + green);
}

TEST(SunPathDiagram, StartSequence) {
    SunContext c;
    DiagramState state;
    state.hourLabelPositions.fill(LabelAnchor{1, 1});
    RecordingSurface s;
    int progress = 0;
    DiagramInputs brussels{"4.35", "50.85", "1.0", "0", "180"};
    drawSunPathDiagram(s, c, state, brussels, screen(), [&progress](int step) { progress += step; });
    EXPECT_EQ(progress, 13 * 2 + 33 * 3);
    EXPECT_EQ(c.orientation, 0);  // a horizontal surface is taken with orientation 0
    EXPECT_EQ(s.operations().back(), "penStyle solid");
    // The yearly table holds each day at its own index: 21 June at Brussels lasts 16.3 h
    // from horizon to horizon (centre of the disc, no refraction), 21 December 7.7 h.
    const auto length = [&state](int d) {
        const SunshineTimes& t = state.annualSunshineTimes[d];
        return t.firstEnd - t.firstStart + t.secondEnd - t.secondStart;
    };
    EXPECT_NEAR(length(172), 16.3, 0.05);
    EXPECT_NEAR(length(355), 7.7, 0.05);
    // Hours 5 a.m. .. 9 p.m. of 21 June are placed afresh, night hours hidden.
    EXPECT_TRUE(state.hourLabelPositions[1].hidden());
    EXPECT_FALSE(state.hourLabelPositions[11].hidden());
    EXPECT_FALSE(state.hourLabelPositions[5].hidden());
    for (int k = 0; k < 13; ++k) {
        EXPECT_FALSE(state.dateLabelPositions[k].first.hidden()) << k;
    }

    // Old plotting keeps the stored hour anchors.
    DiagramState kept;
    kept.hourLabelPositions.fill(LabelAnchor{1, 1});
    DiagramSettings old = screen();
    old.newCalculation = false;
    RecordingSurface s2;
    drawSunPathDiagram(s2, c, kept, brussels, old);
    EXPECT_EQ(kept.hourLabelPositions[0], (LabelAnchor{1, 1}));
}

// Whatever the five input texts hold, nothing leaves a sane range: no NaN, no saturated
// coordinate.
TEST(SunPathDiagram, AnyInputStaysOnThePicture) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const char* junk[] = {"", "-", "abc", "nan", "inf", "1e9", "-1e9", "90.00", "-90.00", "180", "-180", "12", "-12"};
    const auto pick = [&](double lo, double hi) {
        if (unit(rng) < 0.3) {
            return std::string(junk[static_cast<int>(unit(rng) * 13) % 13]);
        }
        return std::to_string(lo + (hi - lo) * unit(rng));
    };
    for (int i = 0; i < 25; ++i) {
        DiagramInputs in{pick(-180, 180), pick(-90, 90), pick(-12, 12),
                         std::to_string(static_cast<int>(unit(rng) * 200) - 10),
                         std::to_string(static_cast<int>(unit(rng) * 400) - 20)};
        SunContext c;
        DiagramState state;
        RecordingSurface s;
        drawSunPathDiagram(s, c, state, in, screen());
        for (const Op& op : parse(s)) {
            if (op.kind == "moveTo" || op.kind == "lineTo" || op.kind == "pixel") {
                ASSERT_LE(std::abs(op.arg(0)), 800) << in.latitude << ' ' << in.inclination;
                ASSERT_LE(std::abs(op.arg(1)), 800) << in.latitude << ' ' << in.inclination;
            }
        }
        for (const LabelAnchor& a : state.hourLabelPositions) {
            ASSERT_LE(std::abs(a.x), 2000);
            ASSERT_LE(std::abs(a.y), 2000);
        }
    }
}

// Beyond the polar circles a sunshine interval can come out as a sliver of a few microhours
// where the sun grazes the surface plane at solar midnight (McMurdo, west wall, 4 February);
// its end point lay before midnight and was mirrored, joining the bottom of the chart to
// the top. The sun crosses the sky at 15 degrees an hour at most; on the chart (5 units a
// degree, stretched across by up to pi/2 at the surface plane) that is 1.97 units a minute,
// and consecutive points of a curve lie at most 0.11 h (6.6 minutes) apart.
TEST(DateCurve, PolarCurvesNeverJumpAcrossTheChart) {
    const double perMinute = 5.0 * 0.25 * std::numbers::pi / 2.0;
    const double longest = 6.6 * perMinute + 1e-9;

    SunContext mcMurdo = prepared("166.67", "-77.85", "12.0", "90", "270");
    DiagramState state;
    const DateCurve february = computeDateCurve(mcMurdo, state, 1, screen());
    ASSERT_EQ(february.lines.size(), 1u);  // the afternoon only; the midnight sliver is not drawn
    EXPECT_TRUE(state.dateLabelPositions[1].first.hidden());

    int segments = 0;
    for (const char* lat : {"-77.85", "-70.00", "-86.50", "68.00", "78.22", "86.50"}) {
        for (const char* incl : {"90", "60", "120"}) {
            for (int orient = 0; orient <= 360; orient += 15) {
                SunContext c = prepared("166.67", lat, "11.0", incl, std::to_string(orient).c_str());
                for (int k = 0; k <= 12; ++k) {
                    for (const Polyline& line : computeDateCurve(c, state, k, screen()).lines) {
                        for (std::size_t i = 1; i < line.size(); ++i) {
                            ++segments;
                            ASSERT_LE(std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y), longest)
                                << "latitude " << lat << " inclination " << incl << " orientation " << orient
                                << " curve " << k << " point " << i;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(segments, 200000);
}

// Painting reads the model only: the same model painted twice gives the same picture, and
// at any divisor each point is the chart point divided and rounded.
TEST(SunPathDiagram, PaintingLeavesTheModelAlone) {
    SunContext c;
    DiagramState state;
    const DiagramModel model = computeSunPathDiagram(c, state, {"4.35", "50.85", "1.0", "30", "135"}, screen());
    const DiagramModel copy = model;
    const DiagramState stateCopy = state;
    RecordingSurface first;
    RecordingSurface second;
    renderDiagram(first, model, 2);
    renderDiagram(second, model, 2);
    EXPECT_EQ(first.operations(), second.operations());
    EXPECT_TRUE(model == copy);
    EXPECT_TRUE(state.dateLabelPositions == stateCopy.dateLabelPositions);

    ASSERT_FALSE(model.curves[3].lines.empty());
    const ChartPoint p = model.curves[3].lines[0][1];
    RecordingSurface print;
    renderDateCurve(print, model.curves[3], 4);
    EXPECT_EQ(print.operations()[2], "lineTo " + std::to_string(nearestInt(p.x / 4)) + ' ' +
                                         std::to_string(nearestInt(p.y / 4)));
    EXPECT_EQ(model.localHorizon.size(), 37u);
}
