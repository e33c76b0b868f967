// Message codes of libVireoPP; their texts are in the utility library's catalogue
// (platform/tools/messages/pp.txt), where each may use what its fills name.
//
// At initialisation the library refuses parameters that would make a block divide by
// zero, reach past its arrays, run without end or start from an impossible state, and
// warns of a pipe's specific heat that no heat-transfer fluid has; in a run it only counts
// the steps whose iteration ended before it settled.
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
    X(badRimAngle, 308006, kRuleFills)             \
    X(badPassLimit, 308007, kRuleFills)            \
    X(badTemperature, 308009, kRuleFills)          \
    X(tankTooLarge, 308010, "i10 r0 r1")           \
    X(badModel, 308011, kRuleFills)                \
    X(badEmittance, 308012, kRuleFills)            \
    X(badSegments, 308040, kRuleFills)             \
    X(badDesignFlow, 308041, kRuleFills)           \
    X(cellsNotSettled, 208001, "r0")               \
    X(countedCellsNotSettled, 208002, "i8")        \
    X(unusualSpecificHeat, 208003, kRuleFills)
VIREO_MESSAGE_CODES(VIREO_PP_CODES)

}  // namespace vireo::pp::code

#endif
