// The engine's entry point and its two process-wide owners.
#ifndef VIREO_VIREOENGINE_H
#define VIREO_VIREOENGINE_H

#include <memory>

#if defined(__GNUC__)
#define VIREO_EXPORT __attribute__((visibility("default")))
#else
#define VIREO_EXPORT
#endif

class Config;
class VireoBlocks;

extern std::unique_ptr<Config> conf;
extern std::unique_ptr<VireoBlocks> vireoBlocks;

extern "C" VIREO_EXPORT int vireoEngine(void* host, int* runBit, int argc, char** argv);

// The errors the engine counted during its last call: its own error messages, and the
// error codes that blocks answered at initialisation, in a step or in a last call,
// whether or not they reported them. The host's exit status rests on it, since the
// utility library counts only the messages sent to it. 0 before the first call.
extern "C" VIREO_EXPORT int vireoEngineErrors(void);

#endif
