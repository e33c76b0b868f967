#include "Simulator.h"

#include "Config.h"
#include "vireoEngine.h"

namespace {

constexpr int kCompiling = 4001;
constexpr int kEndOfRun = 4004;
constexpr int kRunStopped = 4005;
constexpr int kSummary = 4007;
constexpr int kBye = 4999;
constexpr int kNoBlocks = 304009;
constexpr int kFileTypeRefused = 304026;
constexpr int kAcceptedTypes = 304027;

}  // namespace

Simulator::Simulator() {
    getBpFromPlumo_ = reinterpret_cast<GetBpFromPlumoHook>(bridgeFunction("getBpFromPlumo"));
}

Simulator::~Simulator() { Simulator::clear(); }

void Simulator::clear() {
    model_.clear();
    freeTimer_ = nullptr;
    current_ = nullptr;
    Compiler::clear();
}

void Simulator::printOut() {
    for (SimulatorBlock* b = blocks_.first(); b != nullptr; b = blocks_.next()) b->printOut();
}

void Simulator::execute() {
    if (conf->modelFile().empty()) return;
    _totalNumberOfTimerCalls = 1;
    const std::string type = conf->modelFileType();
    if (type != ".vireo" && type != ".plumo") {
        vireoMessage(kFileTypeRefused);
        vireoMessage(kAcceptedTypes, std::string(".vireo and .plumo"));
        vireoMessage(kSummary, _errors, _warnings);
        vireoMessage(kEndOfRun);
        return;
    }
    if (!conf->suppressCompilingM()) vireoMessage(kCompiling, conf->modelFileShort());

    compile(conf->modelPath());

    if (conf->printModel()) {
        printOut();
        vireoMessage(kBye);
        return;
    }
    if (_errors == 0 && blocks_.isEmpty()) {
        vireoMessage(kNoBlocks);
        vireoMessage(kEndOfRun);
        return;
    }
    if (_errors != 0) {
        vireoMessage(kSummary, _errors, _warnings);
        vireoMessage(kEndOfRun);
        return;
    }

    vireoMessage(conf->runBit() == 1 ? kEndOfRun : kRunStopped);
    vireoMessage(kBye);
}
