// The routines and shared blocks as a block library exports them, found by name. That
// the library's calls bind to its own routines is the loader's test over every block
// library (tests/loader/self_binding_test.cpp).
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstddef>
#include <string>

namespace {

using PropertyFunction = double (*)(const double*, const double*);
using SaturationFunction = double (*)(const double*);

struct Library {
    void* handle = dlopen(STEAM_EXPORT_PROBE, RTLD_NOW | RTLD_GLOBAL);
    ~Library() {
        if (handle != nullptr) dlclose(handle);
    }
};

}  // namespace

TEST(SteamExports, RoutinesAndBlocksAreExported) {
    Library library;
    ASSERT_NE(library.handle, nullptr) << dlerror();

    auto vpt1 = reinterpret_cast<PropertyFunction>(dlsym(library.handle, "vpt1_"));
    auto tsatp = reinterpret_cast<SaturationFunction>(dlsym(library.handle, "tsatp_"));
    ASSERT_NE(vpt1, nullptr);
    ASSERT_NE(tsatp, nullptr);
    const double p = 1000.0;
    const double t = 300.0;
    EXPECT_NEAR(vpt1(&p, &t), 0.01738299544, 1e-11);
    const double atmosphere = 14.69598677;
    EXPECT_NEAR(tsatp(&atmosphere), 212.0, 1e-6);

    const auto* constants = static_cast<const double*>(dlsym(library.handle, "stmcon_"));
    ASSERT_NE(constants, nullptr);
    EXPECT_EQ(constants[2], 3208.234758592228);
    const auto* names = static_cast<const char*>(dlsym(library.handle, "stmlvn_"));
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(std::string(names + 6, 6), "VPT1  ");
    for (const char* name : {"stmcn1_", "stmcn2_", "stmlvl_", "nust_", "stm1_", "stm2_", "spreg_", "splim_",
                             "ster_", "psatt_", "psl_", "tsl_", "p23t_", "t23p_", "psi2pa_", "oilcp_"}) {
        EXPECT_NE(dlsym(library.handle, name), nullptr) << name;
    }
    // Names without the trailing underscore are not defined by the library.
    EXPECT_EQ(dlsym(library.handle, "vpt1"), nullptr);
}
