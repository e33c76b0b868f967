#include "vireoEngine.h"

#include "Components.h"
#include "Config.h"
#include "Simulator.h"
#include "vireoBlocks.h"

#include <cstdio>
#include <cstring>
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
    "      -c  No notice that compiling begins",
    "      -b  Display available blocks",
    "      -v  Display vireo components with base commit",
    "      -h  Show this text (also --help); --version shows the version",
};

void printUsage() {
    for (const char* line : kUsage) std::printf("%s\n", line);
}

// A help or version request is answered before anything else is done: a user who asks
// for the options of a command should not find a model compiled or a directory made.
// An option is its second character (upper or lower case alike), as the configuration
// reads it, or one of the two words.
enum class Request { none, help, version };
Request requestOf(int argc, char** argv) {
    for (int k = 1; k < argc; ++k) {
        const char* arg = argv[k];
        if (arg == nullptr || arg[0] != '-') continue;
        if (std::strcmp(arg, "--help") == 0 || (arg[1] | 0x20) == 'h') return Request::help;
        if (std::strcmp(arg, "--version") == 0) return Request::version;
    }
    return Request::none;
}

int run(void* host, int* runBit, int argc, char** argv) {
    // The count is left over from an earlier call after -b or -v; a run's compiler resets
    // it when it is cleared, so it is read before.
    const int before = RootClass::_errors;
    conf = std::make_unique<Config>(reinterpret_cast<long>(host), runBit, argc, argv);
    if (conf->unknownOption()) {
        errorsOfLastCall = RootClass::_errors - before;
        return 0;
    }
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
    // Options without a model file (`vireo -s` with the name left out) ask for nothing
    // that can be done: the usage, and the status of a call without arguments, not the
    // silent success of a run.
    if (conf->modelFile().empty()) {
        printUsage();
        errorsOfLastCall = RootClass::_errors - before;
        return 1;
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
        printUsage();
        std::fflush(stdout);
        return 1;
    }
    switch (requestOf(argc, argv)) {
        case Request::help: printUsage(); std::fflush(stdout); return 0;
        case Request::version: std::printf("%s\n", kUsage[0]); std::fflush(stdout); return 0;
        case Request::none: break;
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
