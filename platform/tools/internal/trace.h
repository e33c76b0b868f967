// The trace that tests read: with VIREO_MSG_TRACE naming a file, every message and every
// start-up call into this library appends one line to it. Message records begin with the
// code; call records with '@' and the function's name. Fields are separated by tabs.
#ifndef VIREO_TOOLS_TRACE_H
#define VIREO_TOOLS_TRACE_H

#include <string>

namespace vireo_tools {
void appendTrace(const std::string& record);
std::string traceEscaped(const std::string& text);
}  // namespace vireo_tools

#endif
