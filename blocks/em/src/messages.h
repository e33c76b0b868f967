// Message codes of libVireoEM; their texts are in the utility library's catalogue
// (platform/tools/messages/em.txt), where each may use what its fills name.
#ifndef VIREO_EM_MESSAGES_H
#define VIREO_EM_MESSAGES_H

#include "Messages.h"

namespace vireo::em::code {

using block::kRuleFills;

#define VIREO_EM_CODES(X)                        \
    X(badAngleUnit, 305006, kRuleFills)          \
    X(badMode, 305011, kRuleFills)               \
    X(badLatitude, 305033, "r0")                 \
    X(badTimeZone, 305034, "r0")                 \
    X(badAxisTilt, 305081, kRuleFills)           \
    X(badLongitude, 305082, "r0")                \
    X(badAxisAzimuth, 305258, kRuleFills)        \
    X(badSubSteps, 305259, kRuleFills)           \
    X(badModel, 305127, kRuleFills)              \
    X(inputNotConnected, 305288, "i10 i11 s0")   \
    X(atSea, 202129, "s0")                       \
    X(zoneFarFromLongitude, 205135, "r0 r1")     \
    X(aboveSolarConstant, 205177, "r0")          \
    X(stepsAboveSolarConstant, 205178, "i8")     \
    X(monthOutOfRange, 205289, "r0")
VIREO_MESSAGE_CODES(VIREO_EM_CODES)

}  // namespace vireo::em::code

#endif
