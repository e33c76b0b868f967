// The names a block library's file exports, read from the file the way the engine's
// loader lists them, so a table test can hold them against the loader's block-name rule.
#ifndef VIREO_TEST_EXPORTED_NAMES_H
#define VIREO_TEST_EXPORTED_NAMES_H

#include <string>
#include <vector>

namespace vireo_test {

// Names of the defined, exported (default-visibility global or weak) symbols of a 64-bit
// ELF shared library; empty when the file cannot be read as one.
std::vector<std::string> exportedNames(const std::string& path);

}  // namespace vireo_test

#endif
