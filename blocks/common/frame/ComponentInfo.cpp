#include "ComponentInfo.h"

#include <cstring>
#include <string>

namespace vireo::block {

char* componentInfo(const char* buildTag, const char* library) {
    std::string line = "\t";
    auto field = [&line](const char* text, std::size_t width) {
        const std::string t = text != nullptr ? text : "";
        line += t;
        if (t.size() < width) line.append(width - t.size(), ' ');
    };
    field(buildTag, 35);
    field(library, 10);
    char* out = new char[line.size() + 1];
    std::memcpy(out, line.c_str(), line.size() + 1);
    return out;
}

}  // namespace vireo::block
