#include "Sketches.h"

#include "Numeric.h"

#include <cmath>
#include <numbers>

namespace zenova {

namespace {

constexpr int kCentre = kSketchSize / 2;

void lineTo(DrawingSurface& surface, SketchPoint p) { surface.lineTo(p.x, p.y); }

// White, with a thin black pen and the letters' font.
void clearSketch(DrawingSurface& surface) {
    surface.setPenStyle(PenStyle::solid);
    surface.setPenWidth(1);
    surface.setBrushColour(colours::white);
    surface.clear();
    surface.setPenColour(colours::black);
    surface.setFont("Arial", 13);
}

SketchPoint offset(double radius, double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {nearestInt(radius * std::cos(a)), nearestInt(radius * std::sin(a))};
}

}  // namespace

SketchPoint sketchPoint(double radius, double degrees) {
    const SketchPoint d = offset(radius, degrees);
    return {kCentre + d.x, kCentre + d.y};
}

std::array<SketchPoint, 6> orientationArrow(int orientation, double shortRadius, double longRadius) {
    // A flat arrow: its tip lies a quarter turn back from the given angle, so the
    // orientation counted from north lands on the compass's own directions.
    const double o = orientation;
    const SketchPoint tip = offset(longRadius, o - 90.0);
    return {SketchPoint{0, 0}, offset(shortRadius, o), tip, SketchPoint{0, 0}, offset(shortRadius, o - 180.0), tip};
}

void drawOrientationSketch(DrawingSurface& surface, int orientation) {
    clearSketch(surface);
    surface.ellipse(6, 6, 60, 60);
    surface.text(33, 0, "N", TextAnchor::topCentre);
    surface.text(33, 53, "S", TextAnchor::topCentre);
    surface.text(7, 27, "W", TextAnchor::topCentre);
    surface.text(59, 27, "O", TextAnchor::topCentre);
    surface.moveTo(33, 15);
    surface.lineTo(33, 51);
    surface.moveTo(15, 33);
    surface.lineTo(51, 33);

    surface.setPenColour(colours::red);
    const std::array<SketchPoint, 6> arrow = orientationArrow(orientation, 5.0, 15.0);
    surface.moveTo(kCentre + arrow[0].x, kCentre + arrow[0].y);
    for (std::size_t i = 1; i < arrow.size(); ++i) {
        surface.lineTo(kCentre + arrow[i].x, kCentre + arrow[i].y);
    }
}

void drawInclinationSketch(DrawingSurface& surface, int inclination) {
    clearSketch(surface);
    surface.text(10, 35, "0\u00b0", TextAnchor::topCentre);
    surface.text(52, 35, "180\u00b0", TextAnchor::topCentre);
    surface.moveTo(6, 33);
    surface.lineTo(60, 33);

    const double surfaceAngle = inclination - 180.0;
    if (inclination > 1) {
        // The tilt's arc, from the flat side (180 degrees) up to the surface line.
        surface.moveTo(sketchPoint(25.0, -180.0).x, sketchPoint(25.0, -180.0).y);
        const int steps = (inclination + 4) / 5;
        for (int i = 1; i <= steps; ++i) {
            lineTo(surface, sketchPoint(25.0, -180.0 + inclination * static_cast<double>(i) / steps));
        }
    }
    surface.setPenColour(colours::red);
    surface.setPenWidth(2);
    surface.moveTo(kCentre, kCentre);
    lineTo(surface, sketchPoint(27.0, surfaceAngle));
    surface.setPenWidth(1);
}

}  // namespace zenova
