// The identities of all user blocks, declared in one table (table.cpp).
#ifndef VIREO_UB_TABLE_H
#define VIREO_UB_TABLE_H

#include "frame.h"

namespace ub {

extern const Identity kCalendar;
extern const Identity kCsvOut;
extern const Identity kCsvIn;
extern const Identity kConstant;
extern const Identity kLoopTop;
extern const Identity kLoopController;
extern const Identity kIterate;
extern const Identity kDelay;

constexpr int kCsvInColumns = 20;  // outputs of CSVIN
constexpr int kConstantOutputs = 20;

}  // namespace ub

#endif
