// A library opened with global symbols before libVireoEM exports delta and pol, two of
// the glazing routines' names: GTLOSS's film stack, which needs both, computes as it does
// alone. A process of its own, so that libVireoEM is surely opened second.
#include "block_harness.h"
#include "reference_optics.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

namespace {

std::string ownerOf(const char* name) {
    Dl_info where{};
    void* symbol = dlsym(RTLD_DEFAULT, name);
    return symbol != nullptr && dladdr(symbol, &where) != 0 && where.dli_fname != nullptr ? where.dli_fname : "";
}

}  // namespace

TEST(ForeignNames, AnEarlierLibrarysDeltaAndPolLeaveGtlossUnchanged) {
    const std::string em = std::string(VIREO_BUILD_DIR) + "/lib/libVireoEM.so";
    ASSERT_EQ(dlopen(em.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
    ASSERT_NE(dlopen(TB_FOREIGN_DIR "/libTbForeign.so", RTLD_NOW | RTLD_GLOBAL), nullptr) << dlerror();
    const auto& library = vireo_test::library("VireoEM");
    // The global scope answers the foreign library's routines for both names.
    EXPECT_NE(ownerOf("delta").find("libTbForeign"), std::string::npos);
    EXPECT_NE(ownerOf("pol").find("libTbForeign"), std::string::npos);

    // Model 3, a film between media 2 and 4, beam alone: the modifier against the stack
    // in double precision, within the block's single precision.
    vireo_test::BlockInstance b(library.block("em0004"), {.inputs = 17, .parameters = {3, 0, 0, 0, 0, 0.3f}});
    ASSERT_EQ(b.init(), 0);
    const std::array<double, 5> n{1, 1.52, 1.6, 2.1, 1.45};
    const double kDeg = reference::kPiOptics / 180.0;
    for (float deg : {10.0f, 45.0f, 70.0f}) {
        const auto out = b.step({1, 1, 0, 0, 30, 180, 180, 40, deg, 0, 1.52f, 1.6f, 2.1f, 1.45f, 0, 0, 0.55f});
        const double expected = reference::filmStack(deg * kDeg, n, 0.55, 0.3) / reference::filmStack(1e-5, n, 0.55, 0.3);
        EXPECT_NEAR(out[1], expected, 1e-5) << deg;
    }
}
