// A block library's table as the engine sees it, for the table tests of every library:
// the published rows typed into a test on their own, held against the identification
// answers, and the names the library's file exports, read the way the loader lists them.
#ifndef VIREO_TEST_LIBRARY_TABLE_H
#define VIREO_TEST_LIBRARY_TABLE_H

#include "block_harness.h"

#include <set>
#include <span>
#include <string>
#include <vector>

namespace vireo_test {

struct PublishedRow {
    const char* routine;
    const char* names;
    const char* integers;  // nameCount minInputs maxInputs outputCount ipSize rpSize dpSize
                           // minParameters maxParameters minStrings maxStrings group
};

// One line for each row whose routine is missing or answers other names or integers;
// empty when every routine answers its row.
std::vector<std::string> identityMismatches(const BlockLibrary& library, std::span<const PublishedRow> rows);

// Names of the defined, exported symbols of a 64-bit ELF shared library, functions and
// data alike (global or weak, of default or protected visibility: what another module can
// reach by name); empty when the file cannot be read as one.
std::vector<std::string> exportedNames(const std::string& path);

// Those of the names that the loader takes for block functions: two letters and four
// digits as the whole name, or the prefix "ub".
std::set<std::string> blockFormNames(const std::vector<std::string>& names);

// The routines of the rows.
std::set<std::string> routinesOf(std::span<const PublishedRow> rows);

}  // namespace vireo_test

#endif
