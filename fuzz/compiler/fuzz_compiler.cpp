// Compiling reads outside input: model files and what they include. No model may crash
// the compiler, leak, hang it or make it open a file outside this process's scratch
// directory. Each input goes the way of a syntax-check run (-s): compile, check, sort,
// initialise and close the blocks of a test block library.
//
// An input is up to four files separated by the byte 0x01: the model file "m.vireo" and
// the files "a", "b" and "c" that it may include (as given, or through the include
// directory, which is the scratch directory too). Every other name is refused as if it
// did not exist.
#include "Config.h"
#include "RootClass.h"
#include "Simulator.h"
#include "vireoBlocks.h"
#include "vireoEngine.h"
#include "vireoScanner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_set>

namespace {

const char* const kFiles[] = {"m.vireo", "a", "b", "c"};
std::string scratch;  // ends with '/'
std::string startDirectory;
int opens = 0;

// Includes may repeat without nesting: bound the work per input.
constexpr int kMaxOpens = 500;

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
    for (const char* d : {"state", "config", "user-blocks"}) rmdir((scratch + d).c_str());
    rmdir(scratch.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr) std::abort();
    startDirectory = cwd;
    char dir[] = "/tmp/vireo-fuzz-compiler-XXXXXX";
    if (mkdtemp(dir) == nullptr) std::abort();
    scratch = std::string(dir) + "/";
    std::atexit(removeScratch);
    for (const char* d : {"state", "config", "user-blocks"}) mkdir((scratch + d).c_str(), 0700);
    setenv("VIREO_INCLUDE_DIR", scratch.c_str(), 1);
    setenv("VIREO_HOME", FUZZ_BLOCKS_DIR, 1);
    setenv("VIREO_STATE_DIR", (scratch + "state").c_str(), 1);
    setenv("VIREO_CONFIG_DIR", (scratch + "config").c_str(), 1);
    setenv("VIREO_USER_BLOCKS", (scratch + "user-blocks").c_str(), 1);
    unsetenv("VIREO_MSG_TRACE");
    unsetenv("VIREO_PROBE_LOG");
    // Messages and copied characters go to standard output: keep the run quiet.
    const int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) dup2(devNull, 1);
    vireoScanner::testHooks::setFileOpener(openInScratch);
    vireoBlocks = std::make_unique<VireoBlocks>();
    if (vireoBlocks->numOfBlocks() == 0) std::abort();  // the fuzzer would test nothing
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
    std::string model = scratch + kFiles[0];
    char program[] = "vireo";
    char syntaxCheck[] = "-s";
    char quiet[] = "-c";
    char* argv[] = {program, model.data(), syntaxCheck, quiet, nullptr};
    int runBit = 1;
    static int host = 0;
    conf = std::make_unique<Config>(reinterpret_cast<long>(&host), &runBit, 4, argv);
    {
        Simulator simulator;
        simulator.execute();
        // Whatever the model, a sort without errors places every block exactly once.
        SimulatorModel& list = simulator.calculationList();
        std::unordered_set<const SimulatorBlock*> placed;
        for (unsigned k = 1; k <= list.length(); ++k)
            if (!placed.insert(list[k]).second) std::abort();
        if (RootClass::_errors == 0 && placed.size() != simulator.numberOfBlocks()) std::abort();
    }
    conf.reset();
    // The run moved into the model's directory; libFuzzer's paths may be relative.
    if (chdir(startDirectory.c_str()) != 0) std::abort();
    return 0;
}
