// The scanner reads outside input: model files, editor files and what they include. No
// input may crash it, leak, hang it or make it open a file outside this process's scratch
// directory.
//
// An input is up to four files (the model file "m" and three it may include) in a
// private sandbox; see model_sandbox.h.
#include "RootClass.h"
#include "String.h"
#include "vireoScanner.h"
#include "../support/model_sandbox.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// A token stream no longer than this is enough for any input of the fuzzer's size.
constexpr int kMaxCodes = 20000;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    model_sandbox::create("scanner", "m");
    unsetenv("VIREO_MSG_TRACE");
    // Messages and copied characters go to standard output: keep the run quiet.
    const int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) dup2(devNull, 1);
    vireoScanner::testHooks::setFileOpener(model_sandbox::open);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    model_sandbox::write(data, size);
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
