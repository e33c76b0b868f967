// Rows of numbers as text: what CSVOUT writes and CSVIN reads. Numbers are written in
// the shortest form that reads back to the same float, with no regard to the locale.
#ifndef VIREO_UB_CSV_H
#define VIREO_UB_CSV_H

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace ub::csv {

// Appends the shortest text that reads back as exactly `value` ("nan", "inf", "-inf"
// for the special values).
void appendNumber(std::string& row, float value);

// A file's fields are separated by one separator throughout: the first comma, semicolon or
// tab of its first line, or runs of blanks and tabs (kBlanks) when that line holds none
// of them. One separator for the whole file: a file written with ';' between fields and
// ',' as the decimal mark must not be read as if both separated fields.
inline constexpr char kBlanks = ' ';
char separatorOf(std::string_view line);

// Splits a line at the separator. Fields are trimmed of blanks and tabs; a trailing CR is
// dropped.
std::vector<std::string_view> fields(std::string_view line, char separator);

// A whole field as a finite float; false for anything else (also for values outside
// the float range, "nan" and "inf").
bool number(std::string_view field, float& value);

// Blank lines and lines whose first non-blank character is '#' carry no row.
bool carriesNoRow(std::string_view line);

// Reads one line without its line end; false at the end of the file with nothing read.
bool readLine(std::FILE* file, std::string& line);

}  // namespace ub::csv

#endif
