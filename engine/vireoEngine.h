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

#endif
