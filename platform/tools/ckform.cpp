// Checks a read format given by a user, with the same parser that reads the data later,
// so a format that passes here cannot fail to parse in the middle of a run.
#include "vireo_tools.h"

#include "vireo/format/Format.h"

#include <cstring>
#include <string_view>

extern "C" void ckform(const char* text, int* status, size_t length) {
    if (status == nullptr) return;
    if (text == nullptr) {
        *status = 1;
        return;
    }
    // A row may end early in a NUL, as texts handed over from C do.
    const void* nul = std::memchr(text, '\0', length);
    const size_t used = nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - text) : length;
    const vireo::format::Status s = vireo::format::checkReadFormat(std::string_view(text, used));
    *status = s.ok() ? 0 : static_cast<int>(s.where > 0 ? s.where : 1);
}
