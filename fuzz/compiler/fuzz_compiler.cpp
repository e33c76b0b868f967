// Compiling reads outside input: model files and what they include. No model may crash
// the compiler, leak, hang it or make it open a file outside this process's scratch
// directory. Each input goes the way of a syntax-check run (-s): compile, check, sort,
// initialise and close the blocks of a test block library.
//
// An input is up to four files (the model file "m.vireo" and three it may include) in a
// private sandbox; see model_sandbox.h.
#include "Config.h"
#include "RootClass.h"
#include "Simulator.h"
#include "vireoBlocks.h"
#include "vireoEngine.h"
#include "vireoScanner.h"
#include "../support/model_sandbox.h"

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

std::string startDirectory;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr) std::abort();
    startDirectory = cwd;
    model_sandbox::create("compiler", "m.vireo", {"state", "config", "user-blocks"});
    const std::string& scratch = model_sandbox::scratch();
    setenv("VIREO_HOME", FUZZ_BLOCKS_DIR, 1);
    setenv("VIREO_STATE_DIR", (scratch + "state").c_str(), 1);
    setenv("VIREO_CONFIG_DIR", (scratch + "config").c_str(), 1);
    setenv("VIREO_USER_BLOCKS", (scratch + "user-blocks").c_str(), 1);
    unsetenv("VIREO_MSG_TRACE");
    unsetenv("VIREO_PROBE_LOG");
    // Messages and copied characters go to standard output: keep the run quiet.
    const int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) dup2(devNull, 1);
    vireoScanner::testHooks::setFileOpener(model_sandbox::open);
    vireoBlocks = std::make_unique<VireoBlocks>();
    if (vireoBlocks->numOfBlocks() == 0) std::abort();  // the fuzzer would test nothing
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    model_sandbox::write(data, size);
    RootClass::_errors = RootClass::_warnings = 0;
    std::string model = model_sandbox::modelPath();
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
