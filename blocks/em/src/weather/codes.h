// Status codes of the weather database routines. The routines only return them; the block
// that called reports one with the record in {i8}, the file in {s0} and the cause in {s2}
// (their texts are in platform/tools/messages/mtm.txt). The outcomes of a maintenance
// command name the site in {s0} and the parameter in {s2}; the faults of an update
// command file name its line in {r0}.
#ifndef VIREO_EM_WEATHER_CODES_H
#define VIREO_EM_WEATHER_CODES_H

#include "Messages.h"

namespace vireo::em::weather::code {

inline constexpr const char* kFileFills = "i8 s0 s2";
inline constexpr const char* kOutcomeFills = "s0 s2";
inline constexpr const char* kLineFills = "r0 s0 s2";

#define VIREO_WEATHER_CODES(X)                   \
    X(dataRead, 302001, kFileFills)              \
    X(dataAllocHeaderRead, 302002, kFileFills)   \
    X(dataAllocLinkRead, 302003, kFileFills)     \
    X(dataAllocHeaderWrite, 302004, kFileFills)  \
    X(dataNewWrite, 302005, kFileFills)          \
    X(dataWrite, 302006, kFileFills)             \
    X(dataFreeHeaderRead, 302007, kFileFills)    \
    X(dataFreeRecordWrite, 302008, kFileFills)   \
    X(dataFreeHeaderWrite, 302009, kFileFills)   \
    X(dataHeaderRead, 302010, kFileFills)        \
    X(dataNotDatabase, 302011, kFileFills)       \
    X(dataBadCode, 302012, kFileFills)           \
    X(dataOwnNumber, 302013, kFileFills)         \
    X(dataAnnual, 302014, kFileFills)            \
    X(dataCode, 302015, kFileFills)              \
    X(indexOwnNumber, 302016, kFileFills)        \
    X(badSearchMode, 302017, kFileFills)         \
    X(cannotOpen, 302018, kFileFills)            \
    X(indexNotDatabase, 302020, kFileFills)      \
    X(indexHeaderRead, 302021, kFileFills)       \
    X(indexRead, 302022, kFileFills)             \
    X(indexAllocHeaderRead, 302023, kFileFills)  \
    X(indexAllocLinkRead, 302024, kFileFills)    \
    X(indexAllocHeaderWrite, 302025, kFileFills) \
    X(indexWrite, 302026, kFileFills)            \
    X(indexFreeHeaderRead, 302027, kFileFills)   \
    X(indexFreeHeaderWrite, 302028, kFileFills)  \
    X(indexFreeRecordWrite, 302029, kFileFills)  \
    X(indexFreeOutside, 302030, kFileFills)      \
    X(searchLongitude, 302031, "")               \
    X(searchLatitude, 302032, "")                \
    X(searchDeltaLongitude, 302033, "")          \
    X(searchDeltaLatitude, 302034, "")           \
    X(ambiguous, 302035, kFileFills)             \
    X(siteNotDatabase, 302042, kFileFills)       \
    X(siteBadMode, 302043, kFileFills)           \
    X(siteHeaderRead, 302044, kFileFills)        \
    X(siteInsert, 302046, kFileFills)            \
    X(siteDelete, 302047, kFileFills)            \
    X(siteRead, 302049, kFileFills)              \
    X(siteLatitude, 302060, kFileFills)          \
    X(siteLongitude, 302061, kFileFills)         \
    X(siteHeight, 302062, kFileFills)            \
    X(siteContinent, 302063, kFileFills)         \
    X(siteCountry, 302064, kFileFills)           \
    X(dataValue, 302065, kFileFills)             \
    X(siteName, 302066, kFileFills)              \
    X(recordNotInUse, 302067, kFileFills)        \
    X(fileFull, 302068, kFileFills)              \
    X(freeListDamaged, 302069, kFileFills)       \
    X(releaseNotInUse, 302070, kFileFills)       \
    X(databaseBusy, 302071, kFileFills)          \
    X(cannotLock, 302072, kFileFills)            \
    X(waitStopped, 302073, kFileFills)           \
    X(waitingForHolder, 102073, kFileFills)      \
    X(newPresent, 302040, kOutcomeFills)         \
    X(deleteNoSite, 202036, kOutcomeFills)       \
    X(checkNoSite, 202037, kOutcomeFills)        \
    X(deleteNoParameter, 202038, kOutcomeFills)  \
    X(checkNoParameter, 202039, kOutcomeFills)   \
    X(checkPresent, 202041, kOutcomeFills)       \
    X(badCommand, 302051, kLineFills)            \
    X(listNoSite, 302053, kOutcomeFills)         \
    X(commandFileUnreadable, 302055, kLineFills) \
    X(unknownKeyword, 302056, kLineFills)        \
    X(notAKeywordLine, 302057, kLineFills)       \
    X(badNumber, 302058, kLineFills)             \
    X(badSiteName, 305820, kLineFills)           \
    X(nothingToDo, 305821, kLineFills)           \
    X(fewMonths, 205822, "r0 s0 i8")             \
    X(valuesWithoutCommand, 205823, kLineFills)
VIREO_MESSAGE_CODES(VIREO_WEATHER_CODES)

}  // namespace vireo::em::weather::code

#endif
