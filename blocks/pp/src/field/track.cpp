//#Block TRACK
//#Description
// Orientation of a tracking collector for a sun position, and the power its drives take.
//#Layout
//#Inputs 2
//#Outputs 3
//#Parameters 8
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Sun azimuth, 0 to 360 from north through east (degrees)
//#IN[1] Sun elevation (degrees)
//#Outputs
//#OUT[0] Collector azimuth (degrees)
//#OUT[1] Collector tilt, 90 minus the collector elevation (degrees)
//#OUT[2] Power of the drives that move in this step (W)
//#Parameters
//#BP[0] Tracking mode (-): 0 two axes; 1 one horizontal east-west axis, the collector
// facing 180 or 0; 2 one horizontal north-south axis, the collector facing 90 or 270
//#BP[1] Lowest sun elevation the collector follows, modes 0 and 1 (degrees)
//#BP[2] Lowest collector azimuth, mode 0 (degrees)
//#BP[3] Highest collector azimuth, mode 0 (degrees)
//#BP[4] Power of the azimuth drive (W)
//#BP[5] Power of the elevation drive (W)
//#BP[6] Stow azimuth in mode 0, stow tilt in mode 2 (degrees)
//#BP[7] Stow elevation, modes 0 and 1 (degrees)
//#Strings
//#None
//#Remarks
// A mode other than 0, 1 or 2 keeps the orientation of the step before and takes no
// power. In mode 2 the tilt is at most 90 degrees, reached with the sun on the horizon.
//#end
#include "blocks.h"

#include "steam.h"

#include <cmath>

namespace vireo::pp {
namespace {

// The library's own degrees per radian (180 / 3.141516), not 57.29578.
constexpr float kDegreesPerRadian = 57.297176f;

float d2r(float x) { return d2r_(&x); }

// Tilt of a one-axis collector: the sun's zenith angle projected onto the plane the
// collector turns in.
float trackedTilt(float offAxisAzimuth, float elevation) {
    return std::atan(std::fabs(std::cos(d2r(offAxisAzimuth))) * std::tan(d2r(90.0f - elevation))) * kDegreesPerRadian;
}

}  // namespace

void track_block::step(View& b) {
    const float azimuth = b.in(0), elevation = b.in(1);
    const float mode = b.par<P::mode>();
    float azimuthPower = 0.0f, elevationPower = 0.0f;
    if (mode == 0.0f) {
        if (elevation > 0.0f) {
            const float low = b.par<P::lowestAzimuth>(), high = b.par<P::highestAzimuth>();
            if (low < azimuth && azimuth < high) {
                b.out(0) = azimuth;
                azimuthPower = b.par<P::azimuthPower>();
            } else if (azimuth >= high && azimuth > low) {
                b.out(0) = high;
            } else if (azimuth <= low) {
                b.out(0) = low;
            }
            if (elevation > b.par<P::lowestElevation>()) {
                b.out(1) = 90.0f - elevation;
                elevationPower = b.par<P::elevationPower>();
            } else {
                b.out(1) = 90.0f - b.par<P::lowestElevation>();
            }
        } else {
            b.out(0) = b.par<P::stow>();
            b.out(1) = 90.0f - b.par<P::stowElevation>();
        }
    } else if (mode == 1.0f) {
        b.out(0) = azimuth >= 90.0f && azimuth <= 270.0f ? 180.0f : 0.0f;
        if (elevation > 0.0f) {
            if (elevation > b.par<P::lowestElevation>()) {
                b.out(1) = trackedTilt(azimuth - 180.0f, elevation);
                elevationPower = b.par<P::elevationPower>();
            } else {
                b.out(1) = 90.0f - b.par<P::lowestElevation>();
            }
        } else {
            b.out(1) = 90.0f - b.par<P::stowElevation>();
        }
    } else if (mode == 2.0f) {
        const float facing = azimuth > 180.0f ? 270.0f : 90.0f;
        b.out(0) = facing;
        b.out(1) = b.par<P::stow>();
        if (elevation >= 0.0f) {
            // At the horizon tan(d2r(90)) is just past the pole in single precision and
            // comes out negative: that tilt is the horizontal sun's 90 degrees.
            const float tilt = trackedTilt(facing - azimuth, elevation);
            b.out(1) = tilt < 0.0f || tilt > 90.0f ? 90.0f : tilt;
            elevationPower = b.par<P::elevationPower>();
        }
    }
    b.out(2) = elevationPower + azimuthPower;
}

}  // namespace vireo::pp
