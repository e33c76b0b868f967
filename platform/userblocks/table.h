// The identities of all user blocks, in one table: the names and the twelve integers
// each block declares, from which its exported block function is made. Columns: routine,
// names; nameCount, minInputs, maxInputs, outputCount, ipSize, rpSize, dpSize,
// minParameters, maxParameters, minStrings, maxStrings, group. ipSize counts the ten
// protocol slots.
#ifndef VIREO_UB_TABLE_H
#define VIREO_UB_TABLE_H

#include "BlockIdentity.h"

namespace ub {

using vireo::block::BlockIdentity;
using vireo::block::Group;

constexpr int kCsvInColumns = 20;  // outputs of CSVIN
constexpr int kConstantOutputs = 20;

// IP[10] step, IP[11] steps, IP[12] sub-model closes its own loop; DP[0] start day
// number, DP[1] start second of that day, DP[2] step length in seconds.
inline constexpr BlockIdentity kCalendar{"ubcalendar", "CALENDAR", 1, 0, 4, 8, 13, 0, 3, 6, 6, 0, 0, Group::timer};
// IP[10] rows made, IP[11] checked at initialisation (1) or started by the run (2);
// DP[0] the open file and the rows not yet written.
inline constexpr BlockIdentity kCsvOut{"ubcsvout", "CSVOUT", 1, 1, 100, 0, 12, 0, 1, 0, 0, 1, 2, Group::standard};
// IP[10] line number, IP[11] data rows read, IP[12] columns, IP[13] end of file seen,
// IP[14] line number before the first data row, IP[15] end-of-file rule, IP[16] the
// file's separator, IP[17] columns listed, IP[18..37] the column list; DP[0] the open
// file, DP[1] offset of the first data row, DP[2] offset to go on from after a last call.
inline constexpr BlockIdentity kCsvIn{"ubcsvin", "CSVIN", 1, 0, 0, kCsvInColumns, 18 + kCsvInColumns, 0, 3, 0, 1, 1,
                                      2, Group::standard};
inline constexpr BlockIdentity kConstant{"ubconst", "CONST", 1, 0, 0, kConstantOutputs, 10, 0, 0, 1,
                                         kConstantOutputs, 0, 0, Group::constantSource};
// IP[10] passes since the loop was entered (the engine resets it to 0 when its loop ends).
inline constexpr BlockIdentity kLoopTop{"ublooptop", "LOOPTOP", 1, 1, 2, 2, 11, 0, 0, 0, 1, 0, 0, Group::loopTop};
// IP[10] passes, IP[11] warned once; RP[0] input of the last pass.
inline constexpr BlockIdentity kLoopController{"ubloopctl", "LOOPCTL", 1, 1, 1, 3, 12, 1, 0, 2, 2, 0, 0, Group::loop};
// IP[10] repetitions.
inline constexpr BlockIdentity kIterate{"ubiterate", "ITERATE", 1, 1, 1, 3, 11, 0, 0, 3, 3, 0, 0, Group::iteration};
inline constexpr BlockIdentity kDelay{"ubdelay", "DELAY", 1, 1, 1, 1, 10, 0, 0, 0, 1, 0, 0, Group::delay};

static_assert(wellFormed(kCalendar) && wellFormed(kCsvOut) && wellFormed(kCsvIn) && wellFormed(kConstant) &&
              wellFormed(kLoopTop) && wellFormed(kLoopController) && wellFormed(kIterate) && wellFormed(kDelay));

}  // namespace ub

#endif
