// The two small sketches of the main window (66 x 66 pixels): the compass with the
// direction the surface faces, and the surface's tilt seen from the side.
#ifndef ZENOVA_SKETCHES_H
#define ZENOVA_SKETCHES_H

#include "DrawingSurface.h"

#include <array>

namespace zenova {

inline constexpr int kSketchSize = 66;

struct SketchPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const SketchPoint&, const SketchPoint&) = default;
};

// The point at a radius and an angle (degrees, 0 to the right, 90 down) from the sketch's
// centre (33, 33), to whole pixels.
SketchPoint sketchPoint(double radius, double degrees);

// The orientation arrow as offsets from its centre (y down), in drawing order: the centre,
// the short radius at the orientation, the tip at the long radius a quarter turn back, the
// centre again, the short radius half a turn back, and the tip again. The printout draws
// the same arrow larger.
std::array<SketchPoint, 6> orientationArrow(int orientation, double shortRadius, double longRadius);

// Compass with "N" at the top and "O" (east) to the right; a red arrow points the way the
// surface faces (180: down, south).
void drawOrientationSketch(DrawingSurface& surface, int orientation);

// The surface as a red line from the centre, 0 degrees lying flat to the left, 90 standing
// up, with an arc from the 0 side when it is tilted more than one degree.
void drawInclinationSketch(DrawingSurface& surface, int inclination);

}  // namespace zenova

#endif
