// info: the library's line in the engine's component list.
#include <cstring>
#include <string>

namespace {

constexpr const char* kBuildTag = "userblocks_8.3.0";
constexpr const char* kLibrary = "libVireoUB";

// Left-aligned and blank-filled; a longer text is kept whole.
std::string field(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

}  // namespace

extern "C" __attribute__((visibility("default"))) char* info() {
    const std::string line = "\t" + field(kBuildTag, 35) + field(kLibrary, 10);
    char* text = new char[line.size() + 1];
    std::memcpy(text, line.c_str(), line.size() + 1);
    return text;
}
