//#Block DINCLI
//#Description
// The monthly values of a fixed reference climate: ambient temperature and the mean
// irradiance on vertical surfaces facing north, east, south and west and on the
// horizontal.
//#Layout
//#Inputs 1
//#Outputs 6
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Month, 1 to 12, rounded to the nearest whole month (-)
//#Outputs
//#OUT[0] Monthly mean ambient temperature ($^\circ$C)
//#OUT[1] Monthly mean irradiance on a vertical surface facing north (W/m$^2$)
//#OUT[2] Monthly mean irradiance on a vertical surface facing east (W/m$^2$)
//#OUT[3] Monthly mean irradiance on a vertical surface facing south (W/m$^2$)
//#OUT[4] Monthly mean irradiance on a vertical surface facing west (W/m$^2$)
//#OUT[5] Monthly mean irradiance on the horizontal (W/m$^2$)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// A month outside 1 to 12 gives zeros.
//#end
#include "blocks.h"

#include "Numbers.h"

namespace vireo::em {
namespace {

constexpr float kClimate[12][6] = {
    {-1.3f, 14, 25, 56, 25, 33},   {0.6f, 23, 37, 61, 37, 52},    {4.1f, 34, 53, 80, 53, 82},
    {9.5f, 64, 125, 137, 125, 190}, {12.9f, 81, 131, 119, 131, 211}, {15.7f, 99, 150, 130, 150, 256},
    {18.0f, 100, 156, 135, 156, 255}, {18.3f, 70, 115, 112, 115, 179}, {14.4f, 48, 90, 115, 90, 135},
    {9.1f, 33, 51, 81, 51, 75},    {4.7f, 18, 28, 54, 28, 39},    {1.3f, 10, 15, 33, 15, 22},
};

}  // namespace

void dincli_block::step(View& b) {
    const int month = block::nearestInt(b.in(0));
    for (int i = 0; i < 6; ++i) b.out(i) = month >= 1 && month <= 12 ? kClimate[month - 1][i] : 0.0f;
}

}  // namespace vireo::em
