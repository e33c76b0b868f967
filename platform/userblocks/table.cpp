// Identities of the user blocks. Columns: names; nameCount, minInputs, maxInputs,
// outputCount, ipSize, rpSize, dpSize, minParameters, maxParameters, minStrings,
// maxStrings, group. ipSize counts the ten protocol slots.
#include "table.h"

namespace ub {

// IP[10] step, IP[11] steps, IP[12] sub-model closes its own loop; RP[0] message value;
// DP[0] start day number, DP[1] start hour, DP[2] step length in hours.
const Identity kCalendar{"CALENDAR", 1, 0, 4, 8, 13, 1, 3, 6, 6, 0, 0, timer};
// IP[10] rows written, IP[11] opened at initialisation; DP[0] the open file.
const Identity kCsvOut{"CSVOUT", 1, 1, 100, 0, 12, 0, 1, 0, 0, 1, 2, standard};
// IP[10] line number, IP[11] data rows read, IP[12] columns, IP[13] end of file seen,
// IP[14] line number before the first data row, IP[15] end-of-file rule; RP[0] message
// value; DP[0] the open file, DP[1] offset of the first data row, DP[2] offset to go on
// from after a last call.
const Identity kCsvIn{"CSVIN", 1, 0, 0, kCsvInColumns, 16, 1, 3, 0, 1, 1, 1, standard};
const Identity kConstant{"CONST", 1, 0, 0, kConstantOutputs, 10, 0, 0, 1, kConstantOutputs, 0, 0,
                         constantSource};
// IP[10] passes since the loop was entered (the engine resets it to 0 when its loop ends).
const Identity kLoopTop{"LOOPTOP", 1, 1, 2, 2, 11, 0, 0, 0, 1, 0, 0, loopTop};
// IP[10] passes, IP[11] warned once; RP[0] message value, RP[1] input of the last pass.
const Identity kLoopController{"LOOPCTL", 1, 1, 1, 3, 12, 2, 0, 2, 2, 0, 0, loop};
// IP[10] repetitions; RP[0] message value.
const Identity kIterate{"ITERATE", 1, 1, 1, 3, 11, 1, 0, 3, 3, 0, 0, iteration};
const Identity kDelay{"DELAY", 1, 1, 1, 1, 10, 0, 0, 0, 1, 0, 0, delay};

}  // namespace ub
