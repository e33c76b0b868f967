//#Block INANGE, INANGH
//#Description
// The incidence angle of the sun on a surface, from equatorial (INANGE) or horizontal
// (INANGH) coordinates of the sun.
//#Layout
//#Inputs 5
//#Outputs 2
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs INANGE
//#IN[0] Latitude, north positive (degrees)
//#IN[1] Surface tilt (degrees)
//#IN[2] Surface azimuth from north through east, south 180 (degrees)
//#IN[3] Declination of the sun (degrees)
//#IN[4] Hour angle: 0 at solar noon, positive in the afternoon (degrees)
//#Inputs INANGH
//#IN[0] Not used (-)
//#IN[1] Surface tilt (degrees)
//#IN[2] Surface azimuth from north through east, south 180 (degrees)
//#IN[3] Sun azimuth from north through east (degrees)
//#IN[4] Sun elevation above the horizon (degrees)
//#Outputs INANGE
//#OUT[0] Incidence angle of the sun on the surface (degrees)
//#OUT[1] Flag, always 1 (-)
//#Outputs INANGH
//#OUT[0] Incidence angle of the sun on the surface; 90 when the sun is not above the
// horizon (degrees)
//#OUT[1] Flag: 1 when the sun is above the horizon, else 0 (-)
//#Parameters
//#None
//#Strings
//#None
//#Remarks INANGE
// INANGE gives angles above 90 degrees when the sun is behind the surface, also at
// night.
//#end
#include "blocks.h"

#include "solar.h"

namespace vireo::em {
namespace {

// IP[10]: 1 equatorial coordinates (INANGE), 2 horizontal coordinates (INANGH).
struct State {
    int& coordinates;
    explicit State(inang_block::View& b) : coordinates(b.ip<10>()) {}
};

}  // namespace

void inang_block::init(View& b) { State(b).coordinates = b.opMode(); }

void inang_block::step(View& b) {
    const float a1 = b.in(0), a2 = b.in(1), a3 = b.in(2), a4 = b.in(3), a5 = b.in(4);
    const Incidence i = State(b).coordinates == 1 ? incidenceEquatorial(a1, a2, a3, a4, a5)
                                                  : incidenceHorizontal(a2, a3, a4, a5);
    b.out(0) = i.angle;
    b.out(1) = i.lit ? 1.0f : 0.0f;
}

}  // namespace vireo::em
