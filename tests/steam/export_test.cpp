// The routines and shared blocks as the power-plant library exports them, found by name,
// and its blocks calling its own routines even where the process defines the same names.
// That no call of the library goes through its exports is the loader's test over every
// block library (tests/loader/self_binding_test.cpp).
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstddef>
#include <string>

// The process's own routines of two names the library exports: a block of the library
// that reached them would compute nonsense.
extern "C" __attribute__((visibility("default"))) double tc2tf_(const double*) { return -1.0; }
extern "C" __attribute__((visibility("default"))) float d2r_(const float*) { return -1.0f; }

namespace {

using PropertyFunction = double (*)(const double*, const double*);
using SaturationFunction = double (*)(const double*);
using BlockFunction = int (*)(float*, float*, int*, float*, double*, float*, char (*)[1024]);

void* library() {
    static void* handle = dlopen(VIREO_PP_LIBRARY, RTLD_NOW | RTLD_GLOBAL);
    return handle;
}

}  // namespace

TEST(SteamExports, RoutinesAndBlocksAreExported) {
    void* pp = library();
    ASSERT_NE(pp, nullptr) << dlerror();

    auto vpt1 = reinterpret_cast<PropertyFunction>(dlsym(pp, "vpt1_"));
    auto tsatp = reinterpret_cast<SaturationFunction>(dlsym(pp, "tsatp_"));
    ASSERT_NE(vpt1, nullptr);
    ASSERT_NE(tsatp, nullptr);
    const double p = 1000.0;
    const double t = 300.0;
    EXPECT_NEAR(vpt1(&p, &t), 0.01738299544, 1e-11);
    const double atmosphere = 14.69598677;
    EXPECT_NEAR(tsatp(&atmosphere), 212.0, 1e-6);

    const auto* constants = static_cast<const double*>(dlsym(pp, "stmcon_"));
    ASSERT_NE(constants, nullptr);
    EXPECT_EQ(constants[2], 3208.234758592228);
    const auto* names = static_cast<const char*>(dlsym(pp, "stmlvn_"));
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(std::string(names + 6, 6), "VPT1  ");
    for (const char* name : {"stmcn1_", "stmcn2_", "stmlvl_", "nust_", "stm1_", "stm2_", "spreg_", "splim_", "ster_",
                             "comt1_", "hpt1_", "spt1_", "comt2_", "vpt2_", "hpt2_", "spt2_", "psatt_", "psl_",
                             "psl1_", "tsl_", "p23t_", "t23p_", "psi2pa_", "pa2psi_", "tc2tf_", "tf2tc_", "d2r_",
                             "oilcp_", "stmcn3_", "stm3_", "comt3_", "pvt3_", "hvt3_", "svt3_", "vpt3_", "vpt3l_",
                             "vpt3d_", "vptf3_", "vptg3_", "vptl_", "vcl_", "hptl_", "sptl_", "vptd_", "hptd_",
                             "sptd_", "vft_", "vsl_", "vfp_", "vgt_", "vgp_", "hft_", "hsl_", "hfp_", "hgt_", "hgp_",
                             "sft_", "ssl_", "sfp_", "sgt_", "sgp_", "cppt1_", "cppt2_", "cpvt3_", "cppt3_",
                             "cpptl_", "cpptd_", "condv_", "condl_", "convt_", "chkreg_", "steam_h_", "steam_s_",
                             "steam_cp_", "steam_v_"}) {
        EXPECT_NE(dlsym(pp, name), nullptr) << name;
    }
    // Names without the trailing underscore are not defined by the library.
    EXPECT_EQ(dlsym(pp, "vpt1"), nullptr);
}

TEST(SteamExports, BlocksCallTheLibrarysOwnRoutines) {
    void* pp = library();
    ASSERT_NE(pp, nullptr) << dlerror();
    // TC2TF through tc2tf_, TRACK mode 0 with no drive through nothing, mode 1 through
    // d2r_: the process's routines of those names would give -1 and a tilt of 0.
    auto tc2tf = reinterpret_cast<BlockFunction>(dlsym(pp, "pp0012"));
    auto track = reinterpret_cast<BlockFunction>(dlsym(pp, "pp0001"));
    ASSERT_NE(tc2tf, nullptr);
    ASSERT_NE(track, nullptr);
    float in[2] = {100.0f, 0.0f}, out[3] = {};
    int ip[10] = {0, 0, 1, 7, 1, 2};
    tc2tf(in, out, ip, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(out[0], 212.0f);

    float bp[8] = {1, 0, 0, 360, 0, 0, 0, 0};
    in[0] = 180.0f;
    in[1] = 45.0f;
    ip[4] = 2;
    track(in, out, ip, nullptr, nullptr, bp, nullptr);
    EXPECT_NEAR(out[1], 45.0f, 0.01f);
}
