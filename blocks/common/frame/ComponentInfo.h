// The component line that every library's exported info() returns.
#ifndef VIREO_BLOCK_COMPONENT_INFO_H
#define VIREO_BLOCK_COMPONENT_INFO_H

namespace vireo::block {

// A tab, the build tag left-aligned in 35 characters, the library name left-aligned in
// 10 (longer texts are not cut); newly allocated with new[], owned by the caller.
char* componentInfo(const char* buildTag, const char* library);

}  // namespace vireo::block

#endif
