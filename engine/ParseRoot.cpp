#include "ParseRoot.h"

#include "SimulatorBlock.h"
#include "vireoBlocks.h"
#include "vireoEngine.h"

std::string ParseRoot::firstBlockDirectory() { return vireoBlocks ? vireoBlocks->firstDirectory() : std::string(); }
std::string ParseRoot::secondBlockDirectory() { return vireoBlocks ? vireoBlocks->secondDirectory() : std::string(); }

SimulatorBlock* ParseRoot::createBlock(int number, String name) {
    name.toUpper();
    if (!vireoBlocks) return nullptr;
    std::shared_ptr<IDRecord> record = vireoBlocks->getID(name);
    if (!record) return nullptr;
    switch (record->group) {
        case group::kLoopTop:
        case group::kTimerNoProgress:
        case group::kTimer:
        case group::kIteration: return new SubModel(number, name, std::move(record));
        case group::kLoop: return new LoopBlock(number, name, std::move(record));
        case group::kDelay: return new DelayBlock(number, name, std::move(record));
        default: return new SimulatorBlock(number, name, std::move(record));
    }
}
