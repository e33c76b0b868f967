// Number helpers of the sun-path program: the rounding and the lenient reading of
// input texts that the program uses everywhere, made safe against NaN and overflow.
#ifndef ZENOVA_NUMERIC_H
#define ZENOVA_NUMERIC_H

#include <optional>
#include <string_view>

namespace zenova {

// Largest magnitude a rounded coordinate or anchor may take; far beyond any picture,
// small enough that sums of a few of them still fit an int.
inline constexpr int kCoordinateLimit = 1'000'000'000;

// The nearest integer, halves going to the even one. A NaN becomes 0 and values beyond
// kCoordinateLimit saturate, so no non-finite number ever reaches an integer.
int nearestInt(double x);

// An arcsine or arccosine argument limited to [-1, 1] (a NaN becomes 0): rounding can push
// a mathematically valid sine or cosine just outside.
double clampUnit(double x);

// The input fields are read leniently: blanks around the number and a leading "+" are
// allowed; any other text that is not a complete number counts as 0.
double parseReal(std::string_view text);
int parseInteger(std::string_view text);  // saturates at the int range

// Files are read strictly: blanks around, an optional leading "-", digits with at most one
// point and at least one digit; nothing else.
std::optional<double> parseDecimal(std::string_view text);
// Blanks around, an optional leading "-" and digits; nothing else, and within the int range.
std::optional<int> parseWhole(std::string_view text);

}  // namespace zenova

#endif
