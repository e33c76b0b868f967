// A private scratch directory for fuzz inputs that are model files. An input is up to
// four files separated by the byte 0x01: the model file and three files "a", "b" and "c"
// that it may include (as given, or through the include directory, which is the scratch
// directory too). Every other name is refused as if it did not exist, so no input makes
// the engine open a file outside the sandbox.
#ifndef VIREO_FUZZ_MODEL_SANDBOX_H
#define VIREO_FUZZ_MODEL_SANDBOX_H

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace model_sandbox {

struct State {
    std::string scratch;  // ends with '/'
    std::vector<std::string> files;
    std::vector<std::string> directories;
    int opens = 0;
};

inline State& state() {
    static State s;
    return s;
}

// Includes may repeat without nesting (a file that includes another a thousand times,
// which does the same): the work per input is bounded.
constexpr int kMaxOpens = 500;

inline void removeAll() {
    const State& s = state();
    for (const auto& f : s.files) std::remove((s.scratch + f).c_str());
    for (const auto& d : s.directories) rmdir((s.scratch + d).c_str());
    rmdir(s.scratch.c_str());
}

// Makes the sandbox with the model file's name and the given subdirectories, points the
// include directory at it and removes it when the process ends.
inline void create(const char* tag, const char* modelName, std::vector<std::string> directories = {}) {
    State& s = state();
    std::string pattern = std::string("/tmp/vireo-fuzz-") + tag + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    s.scratch = pattern + "/";
    s.files = {modelName, "a", "b", "c"};
    s.directories = std::move(directories);
    for (const auto& d : s.directories) mkdir((s.scratch + d).c_str(), 0700);
    std::atexit(removeAll);
    setenv("VIREO_INCLUDE_DIR", s.scratch.c_str(), 1);
}

inline const std::string& scratch() { return state().scratch; }
inline std::string modelPath() { return state().scratch + state().files[0]; }

// The scanner's file-open hook: only the sandbox's four files open.
inline std::FILE* open(const char* path) {
    State& s = state();
    std::string name = path;
    if (name.compare(0, s.scratch.size(), s.scratch) == 0) name.erase(0, s.scratch.size());
    if (++s.opens > kMaxOpens) return nullptr;
    for (const auto& f : s.files)
        if (name == f) return std::fopen((s.scratch + name).c_str(), "rb");
    return nullptr;
}

// Writes one input's files (a file the input does not reach is removed).
inline void write(const std::uint8_t* data, std::size_t size) {
    State& s = state();
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    for (std::size_t k = 0; k < s.files.size(); ++k) {
        const std::string path = s.scratch + s.files[k];
        if (start > input.size()) {
            std::remove(path.c_str());
            continue;
        }
        std::size_t end = input.find('\x01', start);
        if (end == std::string::npos || k + 1 == s.files.size()) end = input.size();
        if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
            std::fwrite(input.data() + start, 1, end - start, out);
            std::fclose(out);
        }
        start = end + 1;
    }
    s.opens = 0;
}

}  // namespace model_sandbox

#endif
