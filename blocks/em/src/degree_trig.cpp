// Trigonometric functions in degrees. The factor is 57.29578 taken in single precision,
// and its inverse formed in double precision, so that results match callers that convert
// with those values.
#include "routines.h"

#include "Numbers.h"

#include <cmath>

namespace {
constexpr double kDegree = static_cast<double>(57.29578f);
constexpr double kToRadians = 1.0 / kDegree;
}  // namespace

extern "C" {

double sind(const double* x) { return std::sin(*x * kToRadians); }
double cosd(const double* x) { return std::cos(*x * kToRadians); }
double tand(const double* x) { return std::tan(*x * kToRadians); }
double atand(const double* x) { return std::atan(*x) * kDegree; }
double acosd(const double* x) { return vireo::block::acosClamped(*x) * kDegree; }
double asind(const double* x) { return vireo::block::asinClamped(*x) * kDegree; }
double atan2d(const double* y, const double* x) { return std::atan2(*y, *x) * kDegree; }

}  // extern "C"
