// The scanner reads outside input: model files, editor files and what they include. No
// input may crash it, leak, hang it or make it open a file outside this process's scratch
// directory.
//
// An input is up to four files separated by the byte 0x01: the model file "m" and the
// files "a", "b" and "c" that it may include (as given, or through the include directory,
// which is the scratch directory too). Every other name is refused as if it did not exist.
#include "RootClass.h"
#include "String.h"
#include "vireoScanner.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

const char* const kFiles[] = {"m", "a", "b", "c"};
std::string scratch;  // ends with '/'
int opens = 0;

// Includes may repeat without nesting (a file that includes another a thousand times,
// which does the same): bound the work per input.
constexpr int kMaxOpens = 500;
constexpr int kMaxCodes = 20000;

std::FILE* openInScratch(const char* path) {
    std::string name = path;
    if (name.compare(0, scratch.size(), scratch) == 0) name.erase(0, scratch.size());
    if (++opens > kMaxOpens) return nullptr;
    for (const char* f : kFiles)
        if (name == f) return std::fopen((scratch + name).c_str(), "rb");
    return nullptr;
}

void removeScratch() {
    for (const char* f : kFiles) std::remove((scratch + f).c_str());
    rmdir(scratch.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char dir[] = "/tmp/vireo-fuzz-scanner-XXXXXX";
    if (mkdtemp(dir) == nullptr) std::abort();
    scratch = std::string(dir) + "/";
    std::atexit(removeScratch);
    setenv("VIREO_INCLUDE_DIR", scratch.c_str(), 1);
    unsetenv("VIREO_MSG_TRACE");
    // Messages and copied characters go to standard output: keep the run quiet.
    const int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) dup2(devNull, 1);
    vireoScanner::testHooks::setFileOpener(openInScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    for (const char* f : kFiles) {
        const std::string path = scratch + f;
        if (start > input.size()) {
            std::remove(path.c_str());
            continue;
        }
        std::size_t end = input.find('\x01', start);
        if (end == std::string::npos || f == kFiles[3]) end = input.size();
        if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
            std::fwrite(input.data() + start, 1, end - start, out);
            std::fclose(out);
        }
        start = end + 1;
    }

    opens = 0;
    RootClass::_errors = RootClass::_warnings = 0;
    if (vireoScanner::newfile("m") == 1) {
        for (int n = 0; n < kMaxCodes; ++n) {
            String* value = nullptr;
            const int code = vireoScanner::yylex(&value);
            const std::unique_ptr<String> owned(value);
            if (value != nullptr && value->length() > size) std::abort();  // a value comes from the input
            if (vireoScanner::getCurfilename() == nullptr || vireoScanner::yyget_lineno() < 1) std::abort();
            if (code == vireoScanner::END) break;
        }
    }
    vireoScanner::closeFiles();
    return 0;
}
