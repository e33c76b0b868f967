// Message codes of libVireoPP; their texts are in the utility library's catalogue
// (platform/tools/messages/pp.txt), where each may use what its fills name.
//
// The library reports only at initialisation, and only parameters that would make a
// block divide by zero, reach past its arrays or run without end: everything else a
// model gives is computed as it comes.
#ifndef VIREO_PP_MESSAGES_H
#define VIREO_PP_MESSAGES_H

#include "Messages.h"

namespace vireo::pp::code {

using block::kRuleFills;

#define VIREO_PP_CODES(X)                          \
    X(badSize, 308001, kRuleFills)                 \
    X(badHeatCapacity, 308002, kRuleFills)         \
    X(badLossCoefficient, 308003, kRuleFills)      \
    X(badIterations, 308004, kRuleFills)           \
    X(badNodeCount, 308005, kRuleFills)            \
    X(badRimAngle, 308006, "i10 r0")               \
    X(badPassLimit, 308007, kRuleFills)            \
    X(badSegments, 308040, kRuleFills)             \
    X(badDesignFlow, 308041, kRuleFills)
VIREO_MESSAGE_CODES(VIREO_PP_CODES)

}  // namespace vireo::pp::code

#endif
