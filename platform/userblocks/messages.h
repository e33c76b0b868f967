// Message codes of the user blocks; their texts are in the utility library's catalogue
// (platform/tools/messages/userblocks.txt), where each may use what its fills name.
#ifndef VIREO_UB_MESSAGES_H
#define VIREO_UB_MESSAGES_H

#include "Messages.h"

namespace ub::code {

using vireo::block::kRuleFills;

#define VIREO_UB_CODES(X)                         \
    /* CALENDAR: start date, step count and step length */ \
    X(badYear, 305901, kRuleFills)                \
    X(badMonth, 305902, kRuleFills)               \
    X(badDay, 305903, kRuleFills)                 \
    X(badHour, 305904, kRuleFills)                \
    X(badStepCount, 305905, kRuleFills)           \
    X(badStepLength, 305906, kRuleFills)          \
    X(beyondLastYear, 305907, "")                 \
    /* CSVOUT and CSVIN */                        \
    X(noFileName, 305910, "")                     \
    X(cannotWrite, 305911, "s0")                  \
    X(writeFailed, 305912, "s0")                  \
    X(extraColumnNames, 205913, "i8")             \
    X(cannotRead, 305920, "s0")                   \
    X(noDataRow, 305921, "s0")                    \
    X(notANumber, 305922, "s0 i8 i10 s2")         \
    X(fieldCount, 305923, "s0 i8 i10 i11")        \
    X(tooManyColumns, 205924, "s0 i8")            \
    X(badEndRule, 305925, kRuleFills)             \
    X(readFailed, 305926, "s0 i8")                \
    X(endStops, 105927, "s0 i8")                  \
    X(endHolds, 105928, "s0 i8")                  \
    X(endRestarts, 105929, "s0 i8")               \
    X(badColumnList, 305934, "s0")                \
    X(columnMissing, 305935, "s0 i8 i10 i11")     \
    X(decimalComma, 305940, "s0 i8 i10 s2")       \
    X(heldByAnotherRun, 305942, "s0")             \
    /* LOOPCTL and ITERATE */                     \
    X(badTolerance, 305930, kRuleFills)           \
    X(badMaximum, 305931, kRuleFills)             \
    X(loopNotConverged, 205932, "i8")             \
    X(iterationNotConverged, 205933, "i8")
VIREO_MESSAGE_CODES(VIREO_UB_CODES)

}  // namespace ub::code

#endif
