#include "Diagram.h"

#include "Numeric.h"

#include <cmath>
#include <numbers>
#include <string>

namespace zenova {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180.0;
constexpr double kEndInset = 0.0001;  // hours between a sunshine interval's end and its curve's end

int divisorOrOne(int scaleDivisor) { return scaleDivisor < 1 ? 1 : scaleDivisor; }

// The sun's current chart position, after a sunPosition call.
ChartPoint sunPoint(const SunContext& context) {
    return chartPoint(context.surfaceSunElevation, context.surfaceSunAzimuth);
}

// The chart point at a distance from the centre (degrees of elevation distance) in the
// direction of a bearing (degrees, clockwise from the top).
ChartPoint alongBearing(double distance, double bearing) {
    const double r = 5.0 * distance;
    return {500.0 + r * std::sin(bearing * kDegree), 500.0 - r * std::cos(bearing * kDegree)};
}

SunshineTimes currentSunshineTimes(const SunContext& context) {
    const auto [s1, s2, s3] = context.surfaceCoefficients;
    return sunshineTimes(context, context.latitude, s1, s2, s3);
}

// Label offsets in degrees of elevation distance, rounded (not yet times 5).
struct LabelOffsets {
    int u;
    int v;
};

LabelOffsets labelOffsets(double elevation, double azimuth) {
    const double r = 90.0 - elevation;
    return {nearestInt(r * std::sin(azimuth * kDegree)), nearestInt(r * std::cos(azimuth * kDegree))};
}

}  // namespace

std::string hourLabelText(int hour) {
    if (hour == 12) {
        return "12 p.m.";
    }
    if (hour == 24) {
        return "12 a.m.";
    }
    return hour < 12 ? std::to_string(hour) + " a.m." : std::to_string(hour - 12) + " p.m.";
}

ChartPoint chartPoint(double elevation, double azimuth) {
    const double r = 5.0 * (90.0 - elevation);
    return {500.0 - r * std::sin(azimuth * kDegree), 500.0 - r * std::cos(azimuth * kDegree)};
}

ChartMapping screenMapping(int scaleDivisor) {
    const double s = 1.0 / divisorOrOne(scaleDivisor);
    return {s, 0.0, s, 0.0};
}

SurfacePoint mapPoint(const ChartMapping& m, ChartPoint p) {
    return {nearestInt(p.x * m.sx + m.ox), nearestInt(p.y * m.sy + m.oy)};
}

void renderPolyline(DrawingSurface& surface, const Polyline& line, const ChartMapping& mapping) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const SurfacePoint p = mapPoint(mapping, line[i]);
        if (i == 0) {
            surface.moveTo(p.x, p.y);
        } else {
            surface.lineTo(p.x, p.y);
        }
    }
}

void drawGridLines(DrawingSurface& surface, const ChartMapping& mapping, const GridLines& lines) {
    const SurfacePoint centre = mapPoint(mapping, {500.0, 500.0});
    const auto ray = [&](double bearing, double length) {
        surface.moveTo(centre.x, centre.y);
        const SurfacePoint end = mapPoint(mapping, alongBearing(length, bearing));
        surface.lineTo(end.x, end.y);
    };
    const auto circle = [&](double elevation) {
        const double r = 5.0 * (90.0 - elevation);
        const SurfacePoint a = mapPoint(mapping, {500.0 - r, 500.0 - r});
        const SurfacePoint b = mapPoint(mapping, {500.0 + r, 500.0 + r});
        surface.ellipse(a.x, a.y, b.x, b.y);
    };
    const auto line = [&](ChartPoint from, ChartPoint to) {
        const SurfacePoint a = mapPoint(mapping, from);
        const SurfacePoint b = mapPoint(mapping, to);
        surface.moveTo(a.x, a.y);
        surface.lineTo(b.x, b.y);
    };

    for (int i = 1; i <= 8; ++i) {
        ray(i * 45.0, lines.longRay);
    }
    for (int j = 0; j <= 6; ++j) {
        circle(10.0 * j);
    }
    for (int k = 1; k <= 35; ++k) {
        ray(k * 10.0, 90.0);
    }
    circle(70.0);
    for (int k = 1; k <= 12; ++k) {
        ray(k * 30.0, 90.0);
    }
    circle(80.0);
    line(alongBearing(lines.crossHalf, 0.0), alongBearing(lines.crossHalf, 180.0));
    line(alongBearing(lines.crossHalf, 270.0), alongBearing(lines.crossHalf, 90.0));
}

LabelAnchor dateLabelAnchor(double elevation, double azimuth, int pictureLeft) {
    auto [u, v] = labelOffsets(elevation, azimuth);
    if (u > 0) {
        u += 15;  // a label left of the centre stands left of its curve
    }
    LabelAnchor a{250 - (u / 2) * 5 + pictureLeft + 5, 250 - (v / 2) * 5};
    if (a.y < 250) {
        a.y -= 10;
    }
    return a;
}

LabelAnchor hourLabelAnchor(double elevation, double azimuth, int pictureLeft) {
    const auto [u, v] = labelOffsets(elevation, azimuth);
    return {250 - (u / 2) * 5 + pictureLeft, 250 - (v / 2) * 5};
}

int hourLabelIndex(int clockHour) {
    const int wrapped = (clockHour - 1) % 24;
    return (wrapped < 0 ? wrapped + 24 : wrapped) + 1;
}

bool quotesCompass(std::string_view latitudeText) { return latitudeText == "90.00" || latitudeText == "-90.00"; }

void drawChartGrid(DrawingSurface& surface, int scaleDivisor, bool quotedCompass) {
    const int d = divisorOrOne(scaleDivisor);

    surface.setPenColour(colours::white);
    surface.setBrushColour(colours::white);
    surface.clear();
    surface.setPenColour(colours::black);
    drawGridLines(surface, screenMapping(d), kScreenGridLines);

    surface.setFont("Arial", 12);
    for (int k = 1; k <= 8; ++k) {
        surface.text(500 / d, 50 / d + k * 50 / d - 12 / d, std::to_string(k * 10) + "\u00b0", TextAnchor::topCentre);
    }
    surface.text(500 / d, 60 / d, "Elevation", TextAnchor::topCentre);

    const bool q = quotedCompass;
    surface.setFont("Arial", 18);
    surface.text(500 / d, 0, q ? "'N'" : "N", TextAnchor::topCentre);
    surface.text(975 / d, 484 / d, q ? "'E'" : "E", TextAnchor::topCentre);
    surface.text((q ? 20 : 15) / d, 484 / d, q ? "'W'" : "W", TextAnchor::topCentre);
    surface.text(500 / d, 962 / d, q ? "'S'" : "S", TextAnchor::topCentre);
}

DateCurve computeDateCurve(SunContext& context, DiagramState& state, int k, const DiagramSettings& settings) {
    DateCurve curve{k, {}};
    if (k < 0 || k > kSpecialCurve) {
        return curve;
    }
    DateLabelAnchors& anchors = state.dateLabelPositions[k];
    if (settings.newCalculation) {
        anchors = {kHiddenAnchor, kHiddenAnchor};
    }
    dayValues(context, state.curveDays[k]);
    const SunshineTimes times = currentSunshineTimes(context);

    // Curves of the first half of the year are labelled at their end, the others at their
    // start, so the two labels of one date do not meet.
    const auto interval = [&](double start, double end, LabelAnchor& anchor) {
        // Both drawn ends lie kEndInset inside the interval; a sliver too short for that is a
        // rounding artefact at a crossing of the surface plane, and its ends would lie outside it.
        if (!(end - start > 2.0 * kEndInset)) {
            return;
        }
        const auto position = [&](double clockTime) {
            sunPosition(context, clockTime, context.orientation);
            return sunPoint(context);
        };
        Polyline line;
        double t = start + kEndInset;  // the ends stay just inside the interval, on the horizon circle
        line.push_back(position(t));
        if (settings.newCalculation && k > 5) {
            anchor = dateLabelAnchor(context.surfaceSunElevation, context.surfaceSunAzimuth, settings.pictureLeft);
        }
        while (t < end) {
            line.push_back(position(t));
            t += 0.11;
        }
        line.push_back(position(end - kEndInset));
        if (settings.newCalculation && k < 6) {
            anchor = dateLabelAnchor(context.surfaceSunElevation, context.surfaceSunAzimuth, settings.pictureLeft);
        }
        curve.lines.push_back(std::move(line));
    };
    interval(times.firstStart, times.firstEnd, anchors.first);
    interval(times.secondStart, times.secondEnd, anchors.second);
    return curve;
}

std::vector<HourDot> computeHourLines(SunContext& context, const std::function<void()>& afterEachHour) {
    std::vector<HourDot> dots;
    const auto inside = [](double hour, double start, double end) { return start < hour && hour < end; };
    for (int hour = -4; hour <= 28; ++hour) {
        for (int j = 0; j <= 182; ++j) {
            const int day = 2 * j;
            dayValues(context, day + 2);
            const SunshineTimes next = currentSunshineTimes(context);
            sunPosition(context, hour, context.orientation);
            const ChartPoint q = sunPoint(context);

            dayValues(context, day);
            const SunshineTimes today = currentSunshineTimes(context);
            const bool secondHalf = day >= 172 && day <= 355;
            const auto dot = [&](bool todayInside, bool nextInside) {
                if (todayInside) {
                    sunPosition(context, hour, context.orientation);
                    dots.push_back({sunPoint(context), q, nextInside, secondHalf, day});
                }
            };
            dot(inside(hour, today.firstStart, today.firstEnd), inside(hour, next.firstStart, next.firstEnd));
            dot(inside(hour, today.secondStart, today.secondEnd), inside(hour, next.secondStart, next.secondEnd));
        }
        if (afterEachHour) {
            afterEachHour();
        }
    }
    return dots;
}

Polyline computeLocalHorizon(SunContext& context, int stepDegrees) {
    Polyline line;
    if (context.inclination <= 0) {
        return line;
    }
    const int step = stepDegrees < 1 || 90 % stepDegrees != 0 ? 5 : stepDegrees;
    const int last = 90 / step;  // the two ends lie on the surface plane
    if (context.orientation == 360) {
        context.orientation = 0;
    }
    const double beta = context.tilt;
    const double sinBeta = std::sin(beta);
    const double sign = context.inclination <= 90 ? -1.0 : 1.0;  // beyond vertical the sky is mirrored

    for (int i = -last; i <= last; ++i) {
        // x: cosine of the angle w between the surface normal and the horizon point.
        const double a = static_cast<double>(step * i) + context.orientation;
        const double x = clampUnit(sinBeta * std::cos(context.orientationRad - a * kPi / 180.0));
        double w = 0.0;
        double p = 0.0;
        if (x == 1.0) {
            w = 0.0;
        } else if (x == -1.0) {
            w = kPi;
        } else {
            w = x == 0.0 ? kPi / 2.0 : std::atan(std::sqrt(1.0 - x * x) / x);
            const double sinW = std::sin(w);
            // Both divisors stay away from zero here (w != 0, 0 < inclination < 180); the
            // guards only keep a NaN out of the chart.
            const double Q = sinW != 0.0 && sinBeta != 0.0 ? std::cos(w) / sinW * std::cos(beta) / sinBeta : 0.0;
            p = std::acos(clampUnit(std::fabs(Q))) * 180.0 / kPi;
        }
        if (i < 0) {
            p = -p;
        }
        p = -(p + context.orientation);
        if (p < 0.0) {
            p += 360.0;
        }
        const double e = (i == -last || i == last) ? 0.0 : 90.0 - w * 180.0 / kPi;
        const double r = 5.0 * (90.0 - e);
        line.push_back({500.0 + sign * r * std::sin(p * kDegree), 500.0 + sign * r * std::cos(p * kDegree)});
    }
    return line;
}

void computeAnnualSunshineTimes(SunContext& context, DiagramState& state) {
    state.annualSunshineTimes[0] = SunshineTimes{};
    for (int day = 1; day <= 365; ++day) {
        dayValues(context, day);
        state.annualSunshineTimes[day] = currentSunshineTimes(context);
    }
}

void computeHourLabelPositions(SunContext& context, DiagramState& state, int pictureLeft) {
    dayValues(context, context.longestDay);
    const SunshineTimes times = currentSunshineTimes(context);
    const auto interval = [&](double start, double end) {
        if (start == end) {
            return;
        }
        const int last = nearestInt(end - 0.5);
        for (int hour = nearestInt(start + 0.5); hour <= last; ++hour) {
            sunPosition(context, hour, context.orientation);
            state.hourLabelPositions[hourLabelIndex(hour) - 1] =
                hourLabelAnchor(context.surfaceSunElevation, context.surfaceSunAzimuth, pictureLeft);
        }
    };
    interval(times.firstStart, times.firstEnd);
    interval(times.secondStart, times.secondEnd);
}

void hideOutOfRangeDateLabels(DiagramState& state) {
    for (int k = 0; k < kSpecialCurve; ++k) {
        for (LabelAnchor* a : {&state.dateLabelPositions[k].first, &state.dateLabelPositions[k].second}) {
            if (a->x > 745 || a->y > 500) {
                *a = kHiddenAnchor;
            }
        }
    }
}

void prepareDiagramContext(SunContext& context, const DiagramInputs& inputs, double poleLatitude) {
    prepareSunContext(context, inputs.longitude, inputs.latitude, inputs.timeLag, inputs.inclination,
                      inputs.orientation, poleLatitude);
    if (context.inclination == 0 && context.orientation != 0) {
        // A horizontal surface faces nowhere: its orientation is taken as 0.
        prepareSunContext(context, inputs.longitude, inputs.latitude, inputs.timeLag, inputs.inclination, "0",
                          poleLatitude);
    }
}

DiagramModel computeSunPathDiagram(SunContext& context, DiagramState& state, const DiagramInputs& inputs,
                                   const DiagramSettings& settings, const std::function<void(int)>& progress) {
    const auto advance = [&progress](int step) {
        if (progress) {
            progress(step);
        }
    };
    DiagramModel model;
    model.quotedCompass = quotesCompass(inputs.latitude);
    prepareDiagramContext(context, inputs);
    computeAnnualSunshineTimes(context, state);
    for (int k = 0; k <= 12; ++k) {
        model.curves[k] = computeDateCurve(context, state, k, settings);
        advance(2);
    }
    model.hourDots = computeHourLines(context, [&advance] { advance(3); });
    model.localHorizon = computeLocalHorizon(context);
    if (settings.newCalculation) {
        state.hourLabelPositions.fill(kHiddenAnchor);
        computeHourLabelPositions(context, state, settings.pictureLeft);
    }
    hideOutOfRangeDateLabels(state);
    return model;
}

void renderDateCurve(DrawingSurface& surface, const DateCurve& curve, int scaleDivisor) {
    const int k = curve.k;
    if (k < 0 || k > kSpecialCurve) {
        return;
    }
    surface.setPenColour(k <= 5 ? colours::navy : (k <= 12 ? colours::green : colours::red));
    for (const Polyline& line : curve.lines) {
        renderPolyline(surface, line, screenMapping(scaleDivisor));
    }
}

void renderHourLines(DrawingSurface& surface, const std::vector<HourDot>& dots, const ChartMapping& mapping,
                     const HourLinePens& pens) {
    for (const HourDot& dot : dots) {
        const Colour colour = dot.secondHalf ? pens.secondHalf : pens.firstHalf;
        const SurfacePoint p = mapPoint(mapping, dot.at);
        surface.moveTo(p.x, p.y);
        surface.setPenColour(colour);
        if (pens.dots) {
            surface.setPixel(p.x, p.y, colour);
        }
        const bool gap = pens.gapsInSecondHalf && dot.secondHalf && (dot.day / 2) % 2 == 1;
        if (dot.joined && !gap) {
            const SurfacePoint q = mapPoint(mapping, dot.next);
            surface.lineTo(q.x, q.y);
        }
    }
}

void renderHourLines(DrawingSurface& surface, const std::vector<HourDot>& dots, int scaleDivisor) {
    renderHourLines(surface, dots, screenMapping(scaleDivisor), HourLinePens{});
}

void renderLocalHorizon(DrawingSurface& surface, const Polyline& horizon, int scaleDivisor) {
    if (horizon.empty()) {
        return;
    }
    surface.setPenColour(colours::black);
    surface.setPenWidth(1);
    surface.setPenStyle(PenStyle::dotted);
    renderPolyline(surface, horizon, screenMapping(scaleDivisor));
}

void renderDiagram(DrawingSurface& surface, const DiagramModel& model, int scaleDivisor) {
    drawChartGrid(surface, scaleDivisor, model.quotedCompass);
    for (const DateCurve& curve : model.curves) {
        renderDateCurve(surface, curve, scaleDivisor);
    }
    renderHourLines(surface, model.hourDots, scaleDivisor);
    renderLocalHorizon(surface, model.localHorizon, scaleDivisor);
    surface.setPenStyle(PenStyle::solid);
}

void drawDateCurve(DrawingSurface& surface, SunContext& context, DiagramState& state, int k,
                   const DiagramSettings& settings) {
    renderDateCurve(surface, computeDateCurve(context, state, k, settings), settings.scaleDivisor);
}

DiagramModel drawSunPathDiagram(DrawingSurface& surface, SunContext& context, DiagramState& state,
                                const DiagramInputs& inputs, const DiagramSettings& settings,
                                const std::function<void(int)>& progress) {
    DiagramModel model = computeSunPathDiagram(context, state, inputs, settings, progress);
    renderDiagram(surface, model, settings.scaleDivisor);
    return model;
}

}  // namespace zenova
