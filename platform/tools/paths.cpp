// Directories by kind, platform facts, preferences and the working directory.
#include "vireo_tools.h"

#include "trace.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// The directory this library was loaded from: in the build tree and in an installed
// tree alike it holds the block libraries, so it is the installation directory.
std::string ownDirectory() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&get_paths), &info) == 0 || info.dli_fname == nullptr) return "./";
    std::string file = info.dli_fname;
    const size_t slash = file.rfind('/');
    if (slash == std::string::npos) return "./";
    return file.substr(0, slash + 1);
}

std::string withSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

// A relative directory is taken from the working directory, which the engine sets to the
// model's: spelt out whole, so that a message naming it names the place looked in, not a
// name the user would look for beside the shell's directory.
std::string fromEnv(const char* name) {
    const char* v = std::getenv(name);
    if (v == nullptr || *v == '\0') return {};
    std::error_code ec;
    const std::filesystem::path whole = std::filesystem::absolute(v, ec);
    return withSlash(ec ? std::string(v) : whole.string());
}

// The user's data directories follow the XDG conventions.
std::string userDirectory(const char* xdgName, const char* homeFallback, const char* leaf) {
    std::string base;
    if (const char* x = std::getenv(xdgName); x != nullptr && *x == '/') {
        base = withSlash(x);
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        base = withSlash(home) + homeFallback;
    } else {
        base = "/tmp/";
    }
    return base + "vireo/" + leaf;
}

std::string directoryFor(int kind) {
    switch (kind) {
        case 5: {
            std::string d = fromEnv("VIREO_INCLUDE_DIR");
            return d.empty() ? directoryFor(6) + "include/" : d;
        }
        case 6: {
            std::string d = fromEnv("VIREO_HOME");
            return d.empty() ? ownDirectory() : d;
        }
        case 9: {
            std::string d = fromEnv("VIREO_STATE_DIR");
            return d.empty() ? withSlash(userDirectory("XDG_STATE_HOME", ".local/state/", "")) : d;
        }
        case 10: {
            std::string d = fromEnv("VIREO_USER_BLOCKS");
            return d.empty() ? withSlash(userDirectory("XDG_DATA_HOME", ".local/share/", "blocks")) : d;
        }
        case 11: {
            std::string d = fromEnv("VIREO_CONFIG_DIR");
            return d.empty() ? withSlash(userDirectory("XDG_CONFIG_HOME", ".config/", "")) : d;
        }
        default: return {};
    }
}

}  // namespace

extern "C" {

void get_paths(const int* kind, char* path, int* length, size_t pathCapacity) {
    if (path == nullptr || length == nullptr || kind == nullptr) return;
    vireo_tools::appendTrace("@get_paths\t" + std::to_string(*kind));
    const size_t capacity = pathCapacity < 1024 ? 1024 : pathCapacity;
    std::string dir = directoryFor(*kind);
    if (dir.size() >= capacity) dir.clear();  // a cut path would name another directory
    std::memcpy(path, dir.c_str(), dir.size() + 1);
    *length = static_cast<int>(dir.size());
}

void getos(int* os) {
    if (os != nullptr) *os = 0;
}

void getlenoflf(int* count) {
    if (count != nullptr) *count = 2;  // CR LF, on every platform: the data files are shared
}

void getpref(const int* code, char* /*text*/, int* /*length*/, int* /*value*/, size_t /*textLength*/) {
    // No preferences are kept; the engine reads nothing back.
    vireo_tools::appendTrace("@getpref\t" + std::to_string(code != nullptr ? *code : 0));
}

void getjavaflag(const int* flag) {
    vireo_tools::appendTrace("@getjavaflag\t" + std::to_string(flag != nullptr ? *flag : 0));
}

int set_working_directory(const char* directory) {
    if (directory == nullptr || *directory == '\0') return -1;
    vireo_tools::appendTrace("@set_working_directory\t" + vireo_tools::traceEscaped(directory));
    return chdir(directory) == 0 ? 0 : -1;
}

}  // extern "C"
