// Message codes of libVireoST; their texts are in the utility library's catalogue
// (platform/tools/messages/st.txt, and em.txt for the mode rule both libraries share),
// where each may use what its fills name.
#ifndef VIREO_ST_MESSAGES_H
#define VIREO_ST_MESSAGES_H

#include "Messages.h"

namespace vireo::st::code {

using block::kRuleFills;

#define VIREO_ST_CODES(X)                          \
    X(badMode, 305011, kRuleFills)                 \
    X(countedConversions, 205010, "i8")            \
    /* SATP SATT */                                \
    X(saturationPressureOutside, 205166, "r0 i10") \
    X(saturationTemperatureOutside, 205167, "r0 i10") \
    /* HUMA2R and its forms */                     \
    X(humidAirOutside, 205044, "r0 r1 i10")        \
    /* R134A */                                    \
    X(refrigerantUndefined, 205430, "r0 r1")       \
    /* air-duct pressure drops */                  \
    X(badDiameter, 305206, "i10 r0 s0")            \
    X(badLength, 305207, "i10 r0 s0")              \
    X(badChannelLength, 305208, "i10 r0 s0")       \
    X(badLossCoefficient, 305211, "i10 r0 s0")     \
    X(badInletType, 305212, "i10 r0 s0")           \
    X(badBendRadius, 305213, "i10 r0 s0")          \
    X(badAngle, 305214, "i10 r0 s0")               \
    X(badFlapType, 305217, "i10 r0 s0")            \
    X(flapWithoutAngle, 305218, "i10")             \
    X(badArea, 305223, "i10 r0 s0")                \
    X(reducerTooSteep, 305281, "r0")               \
    X(negativeDrop, 305167, "r0")                  \
    X(bendRatioOutside, 105215, "r0")              \
    X(aspectRatioOutside, 205209, "r0")            \
    X(frictionWithoutRoot, 305210, "r0 r1")        \
    X(iterationLimit, 305063, "")
VIREO_MESSAGE_CODES(VIREO_ST_CODES)

}  // namespace vireo::st::code

#endif
