// The formulation's reference constants in English units and the limits of the routines.
#include "steam.h"

extern "C" {

const SteamConstants stmcon_ = {{
    1.041652890414346e-08,  //  1 reduced-enthalpy zero shift of the formulation
    -1.592890331491229e-06,  //  2 reduced-entropy zero shift of the formulation
    3208.234758592228,  //  3 critical pressure pc, psia
    0.05077852889545364,  //  4 critical volume vc, ft³/lbm
    1165.14,  //  5 critical temperature Tc, °R
    459.67,  //  6 °F to °R offset
    30.14634565778159,  //  7 pc·vc in Btu/lbm
    0.02587358228005355,  //  8 pc·vc/Tc in Btu/(lbm·°R)
    4.260321147626083,  //  9 constant I1 of region 2
    662.0,  // 10 °F, upper temperature of region 1 (boundary to region 3)
    705.47,  // 11 °F, critical temperature
    2398.216986225646,  // 12 psia, saturation pressure at 662 °F; below it a superheated state is in region 2
    0.0,  // 13 psia, lower pressure limit
    16000.0,  // 14 psia, upper pressure limit
    3208.3,  // 15 psia, upper pressure limit of tsatp
    2002.78,  // 16 psia, lower pressure limit of the region-3 volume search
    0.0207,  // 17 ft³/lbm, lower volume limit of region 3
    0.143,  // 18 ft³/lbm, upper volume limit of region 3
    25.0,  // 19 °F, lower temperature limit
    1600.0,  // 20 °F, upper temperature limit of region 2
    705.5,  // 21 °F, upper temperature limit of psatt
    682.0,  // 22 °F, upper temperature limit of region 1
    -200.0,  // 23 °F, lower temperature limit of region 2
    636.0,  // 24 °F, lower temperature limit of region 3
    1124.45,  // 25 °F, upper temperature limit of region 3
    -1.0,  // 26 Btu/lbm, lower enthalpy limit
    1860.0,  // 27 Btu/lbm, upper enthalpy limit of the superheated side
    1205.0,  // 28 Btu/lbm, upper enthalpy limit of the wet region
    906.1,  // 29 Btu/lbm, upper enthalpy limit of tslh
    -0.1,  // 30 lower limit of the wet-region routines: enthalpy in vph, entropy in vps, phs, phsw
    3.0,  // 31 Btu/(lbm·°R), upper entropy limit
    0.804,  // 32 Btu/(lbm·°R), lower entropy limit of the superheated side
    1.065,  // 33 Btu/(lbm·°R)
    15.74373327224142,  // 34 L0 of the 2/3 boundary p/pc = L0 + L1 theta + L2 theta^2
    -34.17061978602506,  // 35 L1
    19.31380707248914,  // 36 L2
    38.62761414497829,  // 37 2·L2, the boundary's slope factor
    1e-08,  // 38 convergence tolerance
    0.01,  // 39 tolerance
    0.04,  // 40 tolerance
    4e-05,  // 41 tolerance
}};

}  // extern "C"
