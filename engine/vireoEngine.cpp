#include "vireoEngine.h"

#include "Components.h"
#include "Config.h"
#include "Simulator.h"
#include "vireoBlocks.h"

#include <cstdio>
#include <exception>
#include <new>

std::unique_ptr<Config> conf;
std::unique_ptr<VireoBlocks> vireoBlocks;

namespace {

constexpr int kInternalFailure = 404901;

int errorsOfLastCall = 0;

const char* const kUsage[] = {
    "This is VIREO 8.3.0-beta 64 bit ",
    "Usage: vireo filename [options]",
    "   filename",
    "      Any .vireo or .plumo model",
    "   [options]",
    "      -d  Debug mode",
    "      -j  vireo called from Java",
    "      -l  Show calculation list",
    "      -m  Show .vireo file",
    "      -s  Syntax check only",
    "      -b  Display available blocks",
    "      -v  Display vireo components with base commit",
};

int run(void* host, int* runBit, int argc, char** argv) {
    // The count is left over from an earlier call after -b or -v; a run's compiler resets
    // it when it is cleared, so it is read before.
    const int before = RootClass::_errors;
    conf = std::make_unique<Config>(reinterpret_cast<long>(host), runBit, argc, argv);
    if (conf->showBlockList()) {
        vireoBlocks = std::make_unique<VireoBlocks>(false);
        vireoBlocks->displayBlocks();
        errorsOfLastCall = RootClass::_errors - before;
        return 0;
    }
    if (conf->showComponents()) {
        vireoBlocks = std::make_unique<VireoBlocks>(true);
        Components components(vireoBlocks->components());
        components.show();
        errorsOfLastCall = RootClass::_errors - before;
        return 0;
    }
    vireoBlocks = std::make_unique<VireoBlocks>();
    auto simulator = std::make_unique<Simulator>();
    simulator->execute();
    errorsOfLastCall = RootClass::_errors - before;
    vireoBlocks.reset();
    simulator.reset();
    conf.reset();
    return 0;
}

}  // namespace

extern "C" int vireoEngineErrors(void) { return errorsOfLastCall; }

extern "C" int vireoEngine(void* host, int* runBit, int argc, char** argv) {
    errorsOfLastCall = 0;
    if (argc <= 1 || argv == nullptr) {
        for (const char* line : kUsage) std::printf("%s\n", line);
        std::fflush(stdout);
        return 1;
    }
    // Nothing may escape into the host through the C entry point.
    try {
        const int result = run(host, runBit, argc, argv);
        std::fflush(stdout);
        return result;
    } catch (const std::bad_alloc&) {
        RootClass().vireoMessage(kInternalFailure, std::string("out of memory"));
    } catch (const std::exception& e) {
        RootClass().vireoMessage(kInternalFailure, std::string(e.what()));
    } catch (...) {
        RootClass().vireoMessage(kInternalFailure, std::string("unknown failure"));
    }
    std::fflush(stdout);
    return 0;
}
