// Message codes of libVireoST; their texts are in the utility library's catalogue
// (platform/tools/messages/st.txt, and em.txt for the mode rule both libraries share),
// where each may use what its fills name.
#ifndef VIREO_ST_MESSAGES_H
#define VIREO_ST_MESSAGES_H

#include "Messages.h"

namespace vireo::st::code {

using block::kRuleFills;

#define VIREO_ST_CODES(X)                          \
    X(badMode, 305011, block::kNamedRuleFills)     \
    X(countedConversions, 205010, "i8")            \
    /* SATP SATT */                                \
    X(saturationPressureOutside, 205166, "r0 i10") \
    X(saturationTemperatureOutside, 205167, "r0 i10") \
    /* HUMA2R and its forms */                     \
    X(humidAirOutside, 205044, "r0 r1 i10")        \
    /* LBWH LBWT LBWP LBWX */                      \
    X(noRoot, 205250, "r0 r1 i10")                 \
    X(countedRootFailures, 205251, "i8")           \
    X(solutionPropertyNotFinite, 205252, "r0 r1")  \
    /* ACM */                                      \
    X(startRatioDiffers, 205260, "r0 r1")          \
    X(chillerUnsettled, 205261, "r0 r1")           \
    X(chillerNoSolution, 205262, "s0")             \
    X(countedChillerSteps, 205263, "i8")           \
    X(chillerOffBalance, 205264, "r0 r1")          \
    X(equalStartTemperatures, 305260, "r0")        \
    X(badConductance, 305261, kRuleFills)          \
    X(acmBadHeatCapacity, 305262, kRuleFills)      \
    /* R134A */                                    \
    X(refrigerantUndefined, 205430, "r0 r1")       \
    /* parameters of the collectors and tanks */   \
    X(notANumber, 305189, kRuleFills)              \
    X(badCollectorArea, 305187, kRuleFills)        \
    X(badSeriesCount, 305185, kRuleFills)          \
    X(badRowCount, 305186, kRuleFills)             \
    X(badHeatCapacity, 305193, kRuleFills)         \
    X(badTankVolume, 305190, kRuleFills)           \
    X(badNodeCount, 305191, kRuleFills)            \
    X(badTankDiameter, 305192, kRuleFills)         \
    X(badDensity, 305194, kRuleFills)              \
    X(badLossCoefficient, 305195, kRuleFills)      \
    X(badConductivity, 305196, kRuleFills)         \
    X(badEffectiveCapacity, 305197, kRuleFills)    \
    X(tooFewSegments, 305198, kRuleFills)          \
    X(tooManySegments, 306028, kRuleFills)         \
    /* SCETA */                                    \
    X(noAdmissibleRoot, 205219, "r0 r1 r2")        \
    X(twoAdmissibleRoots, 205220, "r0 r1 r2")      \
    X(noAdmissibleRootCount, 205221, "i8")         \
    X(twoAdmissibleRootsCount, 205222, "i8")       \
    /* air-duct pressure drops */                  \
    X(badDiameter, 305206, "i10 r0 s0")            \
    X(badLength, 305207, "i10 r0 s0")              \
    X(badChannelLength, 305208, "i10 r0 s0")       \
    X(zetaNotPositive, 305211, "i10 r0 s0")        \
    X(badInletType, 305212, "i10 r0 s0")           \
    X(badBendRadius, 305213, "i10 r0 s0")          \
    X(badAngle, 305214, "i10 r0 s0")               \
    X(badFlapType, 305217, "i10 r0 s0")            \
    X(flapWithoutAngle, 305218, "i10")             \
    X(badArea, 305223, "i10 r0 s0")                \
    X(reducerTooSteep, 305281, "r0")               \
    X(negativeDrop, 305167, "r0")                  \
    X(bendRatioOutside, 105215, "r0")              \
    X(aspectRatioOutside, 205209, "r0")            \
    X(frictionWithoutRoot, 305210, "r0 r1")        \
    X(iterationLimit, 305063, "")                  \
    /* EVCOOL ESCOOL DWHEEL SORB AIRHEAT */        \
    X(noLineEnd, 205440, "r0 r1")                  \
    X(inputNotFinite, 205441, "i10 r0")            \
    X(noFiniteResult, 205442, "r0 r1")             \
    X(badNominalQuantity, 305440, kRuleFills)      \
    X(sorbentInputMissing, 305441, "r0")           \
    X(badCoilParameter, 305442, kRuleFills)        \
    X(coilNotSized, 305443, "r0 r1")               \
    X(tooManyIterations, 305444, kRuleFills)       \
    X(countedNotConverged, 205097, "i8")           \
    X(loadingAtMaximum, 205443, "r0 r1")           \
    X(countedLoadingAtMaximum, 205444, "i8")       \
    X(waterTooCold, 205445, "r0 r1")               \
    X(countedWaterTooCold, 205446, "i8")           \
    X(fanStopped, 306026, "")                      \
    /* PVTCOOL and PVT */                          \
    X(internalCoefficientOff, 205730, "r0")        \
    X(tooManySubSteps, 205731, "r0 i10")           \
    X(countedStepsLeftOut, 205732, "i8")           \
    X(tooFewInputs, 305730, "i10 i11")             \
    X(areaBelowSegment, 305731, kRuleFills)        \
    X(badPvCharacteristic, 305732, kRuleFills)     \
    X(badConductivityAbove, 305733, kRuleFills)    \
    X(badResistance, 305734, kRuleFills)           \
    X(badOpenEmissivity, 305735, kRuleFills)       \
    /* pipes, mixers, valve and controllers */     \
    X(stepShorterThanSegment, 306027, "r0 r1 r2")  \
    X(badSegmentCount, 305360, kRuleFills)         \
    X(badPipeLength, 305361, kRuleFills)           \
    X(badPipeDiameter, 305362, kRuleFills)         \
    X(badWall, 305363, kRuleFills)                 \
    X(badLossSurcharge, 305364, kRuleFills)        \
    X(badPowerLimit, 305365, kRuleFills)           \
    X(badHysteresis, 305366, kRuleFills)           \
    X(badTemperatureDrop, 305367, kRuleFills)      \
    X(badColdReturn, 305368, kRuleFills)           \
    /* SCAIRC SCAIRCD */                           \
    X(badCollectorSize, 305168, kRuleFills)        \
    X(collectorTooShort, 305176, kRuleFills)       \
    X(badAirChannel, 305169, block::kNamedRuleFills) \
    X(wideChannel, 205174, "r0")                   \
    X(wideChannelResults, 205175, "")              \
    X(badCollectorCount, 305170, kRuleFills)       \
    X(badTauAlpha, 305171, kRuleFills)             \
    X(badInsulationThickness, 305172, kRuleFills)  \
    X(badThermalConductivity, 305173, kRuleFills)  \
    X(badEmissivity, 305112, kRuleFills)           \
    X(badSize, 308001, kRuleFills)                 \
    X(badCapacity, 308002, kRuleFills)             \
    X(notSettled, 205098, "r0 r1")                 \
    X(countedNotSettled, 205062, "i8")             \
    /* HXXI HXS */                                 \
    X(badGridCount, 305760, kRuleFills)            \
    X(badAirPressure, 305761, kRuleFills)          \
    X(ribsFillChannel, 305762, kRuleFills)         \
    X(badTransferCapacity, 305183, kRuleFills)     \
    X(badStreamHeatCapacity, 305184, kRuleFills)   \
    /* DECCTL DECCTY */                            \
    X(badHeaterPower, 305228, kRuleFills)          \
    X(supplyAtMinimum, 205224, "r0")               \
    X(countedSupplyAtMinimum, 205225, "i8")        \
    X(freeCoolingBelowMinimum, 205226, "r0 r1")    \
    X(countedFreeCoolingBelowMinimum, 205227, "i8") \
    X(searchLimit, 305098, "r0")                   \
    X(loadBeyondSupply, 206027, "i8")              \
    /* COOLTW */                                   \
    X(designDoesNotCool, 306025, "r0 r1 r2")       \
    X(humidityAboveSaturation, 205455, "r0")       \
    /* DPPARA */                                   \
    X(resistancesOfOppositeSign, 205456, "r0 r1")  \
    X(packingDoesNotCool, 305701, kRuleFills)      \
    /* HXEARTH */                                  \
    X(soilConductivity, 305297, kRuleFills)        \
    X(pipesTooClose, 305702, "i10 r0 r1")          \
    X(depthNotBelowRadius, 305703, "r0 r1")        \
    X(shapeFactorOutside, 305704, "i10 r0 r1")     \
    /* a parameter that must be positive, shared */ \
    X(parameterNotAbove, 305700, kRuleFills)       \
    X(parameterBelow, 305705, kRuleFills)          \
    X(badEarthSegments, 305706, kRuleFills)
VIREO_MESSAGE_CODES(VIREO_ST_CODES)

// A parameter that only has to be a finite number (a model's 1e39 reads as infinity), the
// chiller's start values among them: one code for all.
inline constexpr block::Code parameterNotFinite = notANumber;
inline constexpr block::Code badStartValue = notANumber;
// An iteration that reached its step limit, in the air-treatment blocks as in the ducts.
inline constexpr block::Code notConverged = iterationLimit;

}  // namespace vireo::st::code

#endif
