// The engine's own component line, in the form every library's info gives it.
#ifndef VIREO_COMPONENT_INFO_H
#define VIREO_COMPONENT_INFO_H

#include "vireoEngine.h"

#include <string>

std::string module();
std::string commit();

// A tab, the build tag in a field of 35 and the library name in a field of 10; the
// caller owns the text and releases it with delete[].
extern "C" VIREO_EXPORT char* info();

#endif
