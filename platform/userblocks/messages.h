// Message codes of the user blocks; their texts are in the utility library's catalogue
// (platform/tools/messages/userblocks.txt).
#ifndef VIREO_UB_MESSAGES_H
#define VIREO_UB_MESSAGES_H

namespace ub::message {

// CALENDAR: start date, step count and step length.
constexpr int badYear = 305901;
constexpr int badMonth = 305902;
constexpr int badDay = 305903;
constexpr int badHour = 305904;
constexpr int badStepCount = 305905;
constexpr int badStepLength = 305906;
constexpr int beyondLastYear = 305907;

// CSVOUT and CSVIN.
constexpr int noFileName = 305910;
constexpr int cannotWrite = 305911;
constexpr int writeFailed = 305912;
constexpr int extraColumnNames = 205913;
constexpr int cannotRead = 305920;
constexpr int noDataRow = 305921;
constexpr int notANumber = 305922;
constexpr int fieldCount = 305923;
constexpr int tooManyColumns = 205924;
constexpr int badEndRule = 305925;
constexpr int readFailed = 305926;
constexpr int endStops = 105927;
constexpr int endHolds = 105928;
constexpr int endRestarts = 105929;

// LOOPCTL and ITERATE.
constexpr int badTolerance = 305930;
constexpr int badMaximum = 305931;
constexpr int loopNotConverged = 205932;
constexpr int iterationNotConverged = 205933;

}  // namespace ub::message

#endif
