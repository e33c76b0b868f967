// A library that exports routines under the generic names of the energy-meteorology
// library's glazing optics, with other meanings: opened with global symbols before that
// library, it must not take over the library's own calls.
#include "test_block.h"

TB_EXPORT void delta(const float*, const float*, const float*, const float*, float* result) { *result = 1.0f; }
TB_EXPORT void pol(const float*, const float*, float* result) { *result = -7.0f; }

TB_EXPORT char* info() { return tb::infoLine("test_20240101_foreign", "libTbForeign"); }
