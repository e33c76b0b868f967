/* libVireoBridge: the link between a running model and a graphical editor. The engine
 * opens the library under option -j and looks the four functions up by name; each may
 * be missing. This stand-in logs every call and answers parameter changes from a
 * script (docs/editor-bridge.md).
 *
 * Environment:
 *   VIREO_BRIDGE_LOG     file to which every call appends one line (none when unset)
 *   VIREO_BRIDGE_SCRIPT  file of parameter changes that the polls answer (none: every
 *                        poll answers "no change") */
#ifndef VIREO_BRIDGE_H
#define VIREO_BRIDGE_H

#if defined(__GNUC__)
#define VIREO_BRIDGE_API __attribute__((visibility("default")))
#else
#define VIREO_BRIDGE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Next parameter change: pair[0] block number, pair[1] 1-based index of a real
 * parameter, *value the new value, text (80 characters, NUL-padded when shorter) the
 * name of a constant. A pair holding a 0 means that there is no further change now. */
VIREO_BRIDGE_API void getBpFromPlumo(int pair[2], float* value, char text[80]);
/* A block whose limits or initialisation failed. */
VIREO_BRIDGE_API void markPlumoBlock(int blockNumber);
/* A block's inputs and outputs after one of its calls. */
VIREO_BRIDGE_API void updateInOut(int blockNumber, int inputCount, float* in, int outputCount, float* out);
VIREO_BRIDGE_API void blockToPlumo(int blockNumber, int inputCount, float* in, int outputCount, float* out);

/* For tests: closes the log and forgets the script and the poll counts, so that the
 * next call reads the environment again. */
VIREO_BRIDGE_API void vireoBridgeReset(void);

typedef void (*VireoBridgePoll)(int*, float*, char*);
typedef void (*VireoBridgeMark)(int);
typedef void (*VireoBridgeInOut)(int, int, float*, int, float*);

#ifdef __cplusplus
}
#endif

#endif
