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

// Splits a line into fields: at commas and semicolons when it holds one of them, else
// at runs of blanks and tabs. Fields are trimmed; a trailing CR is dropped.
std::vector<std::string_view> fields(std::string_view line);

// A whole field as a float; false for anything else (also for values outside the
// float range).
bool number(std::string_view field, float& value);

// Blank lines and lines whose first non-blank character is '#' carry no row.
bool carriesNoRow(std::string_view line);

// Reads one line without its line end; false at the end of the file with nothing read.
bool readLine(std::FILE* file, std::string& line);

}  // namespace ub::csv

#endif
