// The block protocol: what the engine and every block library agree on about the seven
// block arrays. The engine's side (SimulatorBlock, Loader, IDRecord) and the block frame
// (blocks/common/frame) both read it from here, so a slot can never mean one thing to
// the caller and another to the block.
#ifndef VIREO_BLOCK_PROTOCOL_H
#define VIREO_BLOCK_PROTOCOL_H

#include <cstddef>

namespace vireo::protocol {

// Length of every text row that crosses the block interface (SP rows, the name list).
inline constexpr std::size_t kRow = 1024;

// The one signature every block function has; its result carries nothing.
using BlockFunction = int (*)(float* IN, float* OUT, int* IP, float* RP, double* DP, float* BP,
                              char (*SP)[kRow]);

// Slots of IP that carry the call protocol; a block's own slots start at kFirstOwn.
namespace ipSlot {
inline constexpr int kStatus = 0;         // cleared before every call; the block's message code
inline constexpr int kCallMode = 1;
inline constexpr int kOpMode = 2;         // 1-based position of the model's name in the name list
inline constexpr int kBlockNumber = 3;
inline constexpr int kInputCount = 4;
inline constexpr int kBranch = 5;         // 2 before every step
inline constexpr int kDebugFlag = 6;
inline constexpr int kTimerSteps = 7;     // a timer's step count, set at initialisation
inline constexpr int kMessageValue = 8;
// Set by the engine when it changes one of the block's parameters during a run (the
// parameterState kChanged bit); the block frame keeps its own marks there as well.
inline constexpr int kParameterState = 9;
inline constexpr int kFirstOwn = 10;
inline constexpr int kProtocolSlots = 10;
}  // namespace ipSlot

// Bits of IP[kParameterState]. The engine only ever adds kChanged; the other bits are the
// block frame's.
namespace parameterState {
inline constexpr int kChanged = 1;
}  // namespace parameterState

// Values of IP[kCallMode]. After a step, a value above kInit asks the run to end; after a
// last call, kInit or less withdraws the end.
namespace callMode {
inline constexpr int kIdentify = -1;
inline constexpr int kStep = 0;
inline constexpr int kInit = 1;
inline constexpr int kLastCall = 2;
}  // namespace callMode

// Answers in IP[kBranch]: go on along the next link, or take the alternative link; 0 is
// a fatal error.
namespace branch {
inline constexpr int kFatal = 0;
inline constexpr int kAlternative = 1;
inline constexpr int kNext = 2;
}  // namespace branch

// The twelfth identity integer.
namespace group {
inline constexpr int kLoopTop = -4;
inline constexpr int kTimerNoProgress = -2;
inline constexpr int kUnsorted = 0;
inline constexpr int kConstantSource = 1;
inline constexpr int kTimer = 2;
inline constexpr int kStandard = 3;
inline constexpr int kLoop = 4;
inline constexpr int kDelay = 5;
inline constexpr int kIteration = 6;
}  // namespace group

// Where the identification call leaves each identity integer: IP slots, except maxInputs
// in IN[0] and outputCount in OUT[0] (as floats); the name list is SP row 0.
namespace answer {
inline constexpr int kNameCount = 0;
inline constexpr int kMinInputs = 1;
inline constexpr int kIpSize = 2;
inline constexpr int kMinParameters = 3;
inline constexpr int kMinStrings = 4;
inline constexpr int kMaxStrings = 5;
inline constexpr int kGroup = 6;
inline constexpr int kRpSize = 7;
inline constexpr int kDpSize = 8;
inline constexpr int kMaxParameters = 9;
}  // namespace answer

// Message codes carry their severity in the first of six digits; four-digit codes are
// notices and never counted.
inline constexpr int severity(int code) { return code >= 100000 && code <= 499999 ? code / 100000 : 0; }
inline constexpr int kNote = 1, kWarning = 2, kError = 3, kFatal = 4;

}  // namespace vireo::protocol

#endif
