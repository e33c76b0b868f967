#include "component_info.h"

#include <cstring>

std::string module() { return "libVireoEngine"; }

std::string commit() { return "development_20211115_3c714cf"; }

namespace {

// Left-aligned and blank-filled; a longer text is kept whole.
std::string field(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

}  // namespace

extern "C" char* info() {
    const std::string line = "\t" + field(commit(), 35) + field(module(), 10);
    char* text = new char[line.size() + 1];
    std::memcpy(text, line.c_str(), line.size() + 1);
    return text;
}
