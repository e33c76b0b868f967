// Parameters each block of the shipped libraries runs with, by exported routine, as the
// tests of its area place it; a block without parameters has no row. They keep every rule
// of the block's table, so the table-driven tests start every block from them.
#ifndef VIREO_TEST_RUNNING_PARAMETERS_H
#define VIREO_TEST_RUNNING_PARAMETERS_H

#include <map>
#include <string>
#include <vector>

namespace vireo_test {

const std::map<std::string, std::vector<float>>& runningParameters();

}  // namespace vireo_test

#endif
