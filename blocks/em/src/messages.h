// Message codes of libVireoEM; their texts are in the utility library's catalogue
// (platform/tools/messages/em.txt), where each may use what its fills name.
#ifndef VIREO_EM_MESSAGES_H
#define VIREO_EM_MESSAGES_H

#include "Messages.h"

namespace vireo::em::code {

using block::kRuleFills;

#define VIREO_EM_CODES(X)                        \
    X(badAngleUnit, 305006, kRuleFills)          \
    X(badMode, 305011, block::kNamedRuleFills)   \
    X(badLatitude, 305033, "r0")                 \
    X(badTimeZone, 305034, "r0")                 \
    X(badAxisTilt, 305081, block::kNamedRuleFills) \
    X(badLongitude, 305082, "r0")                \
    X(shadingNeedsTilt, 305132, "")              \
    X(badGlazingModel, 305137, kRuleFills)       \
    X(badDiffuseTreatment, 305138, kRuleFills)   \
    X(badAshraeCoefficient, 305139, kRuleFills)  \
    X(badLayerThickness1, 305140, kRuleFills)    \
    X(badLayerThickness2, 305141, kRuleFills)    \
    X(badFilmThickness, 305142, kRuleFills)      \
    X(badSkyIntervals, 305143, kRuleFills)       \
    X(glazingInputMissing, 305144, "i10 i11 s0") \
    X(badVariance, 305182, kRuleFills)           \
    X(badRowWidth, 305255, "r0 r1")              \
    X(badAxisAzimuth, 305258, kRuleFills)        \
    X(badSubSteps, 305259, block::kNamedRuleFills) \
    X(badRotationLimit, 305319, block::kWordedRuleFills) \
    X(atSea, 202129, "s0")                       \
    X(rotationsNotSettled, 205097, "")           \
    X(rotationNotSettled, 205098, "r0 r1")       \
    X(zoneFarFromLongitude, 205135, "r0 r1")     \
    X(genvNegativeSpeed, 305291, kRuleFills)     \
    X(genvNegativeSpectrum, 305292, kRuleFills)  \
    X(genvNegativeCube, 305293, kRuleFills)      \
    X(genvNoSpectrum, 305294, "i10 i11")         \
    X(tsoilBadFormat, 305022, "i8 s0")           \
    X(tsoilBadHeaderCount, 305027, kRuleFills)   \
    X(tsoilNoFile, 305030, "s0")                 \
    X(tsoilNoData, 304010, "s0")                 \
    X(tsoilBadSource, 305295, kRuleFills)        \
    X(tsoilBadRow, 305296, kRuleFills)           \
    X(tsoilBadConductivity, 305297, kRuleFills)  \
    X(tsoilBadHeatCapacity, 305298, kRuleFills)  \
    X(tsoilNotANumber, 305299, kRuleFills)       \
    X(tsoilCannotOpen, 405029, "s0")             \
    X(tsoilFileEnds, 405031, "i8 s0")            \
    X(tsoilBadRecord, 405032, "i8 s0")           \
    X(tsoilAboveGround, 305300, "r0")            \
    X(gengtRepeatsLimited, 205300, kRuleFills)   \
    X(genvCubeMissed, 205301, "i10 r0 r1")       \
    X(genghNegativeMean, 205302, "s0 r0")        \
    X(genghNegativeMeans, 205303, "i8")          \
    X(sedesDiffuseAboveGlobal, 205304, "r0 r1")  \
    X(badModel, 305127, kRuleFills)              \
    X(inputNotConnected, 305288, "i10 i11 s0")   \
    X(aboveSolarConstant, 205177, "r0")          \
    X(stepsAboveSolarConstant, 205178, "i8")     \
    X(monthOutOfRange, 205289, "r0")             \
    X(badVarianceFactor, 305136, kRuleFills)     \
    X(badYearFactor, 305120, kRuleFills)         \
    X(badLag1, 305035, kRuleFills)               \
    X(badLagPair, 305125, "i10 i11 r0 r1")       \
    X(noSuchMonth, 305159, "r0")                 \
    X(noSuchDay, 305160, "r0 i10")               \
    X(noSuchHour, 305305, "r0")                  \
    X(hourNotWhole, 205309, "r0 i10")            \
    X(inputNotANumber, 305463, "i10 r0")         \
    X(noHourlyValues, 305038, "s0 s2")           \
    X(markovMonthScaled, 205311, "s0 r0 r1 r2")  \
    X(dailyTargetsMissed, 205461, "s0 i8 r0 r1 r2 r3") \
    X(clearnessLimited, 205462, "s0 r0")         \
    X(temperatureMissed, 305246, "s0 i8 r0 r1 r2") \
    X(temperatureMoved, 205310, "s0 i8 r0 r1 r2") \
    X(noTemperatures, 302122, "s0")               \
    X(mtmNameAndWindow, 205039, "s0")            \
    X(mtmFarFromSites, 205321, "i8 s0")          \
    X(mtmNoSite, 305040, "s0")                   \
    X(mtmAmbiguous, 305041, "s0 s2")             \
    X(mtmNoDatabase, 305042, "s0 s2")            \
    X(mtmDatabaseFault, 305043, "s0")            \
    X(mtmMonthOutside, 205049, "r0")             \
    X(mtmMonthsOutside, 205048, "i8")            \
    X(mtmBadTolerance, 305048, kRuleFills)       \
    X(mtmBadSiteCode, 305044, kRuleFills)
VIREO_MESSAGE_CODES(VIREO_EM_CODES)

// The block table gives BETAMAX's angle of the shading geometry the number of SUNAEA's
// sub-step count: one catalogue text, with the parameter's name and rule, serves both.
inline constexpr block::Code badShadingAngle = badSubSteps;
// A parameter outside its range: the tilt of an axis or a surface, or the model number of
// AM, COWV and TAUW. One generic text serves them all.
inline constexpr block::Code outOfRange = badAxisTilt;
// A parameter that must only be a number.
inline constexpr block::Code notANumber = tsoilNotANumber;

}  // namespace vireo::em::code

#endif
