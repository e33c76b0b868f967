#include "vireoBlocks.h"

#include <cstdio>

std::shared_ptr<IDRecord> VireoBlocks::getID(const String& name) const {
    for (const auto& record : loader_->blocks())
        if (record->getOpMode(name) > 0) return record;
    return {};
}

int VireoBlocks::numOfBlocks() const { return static_cast<int>(loader_->blocks().size()); }

void VireoBlocks::displayBlocks() const {
    std::printf("\nInstalled Vireo blocks [%d]\n\n", numOfBlocks());
    for (const auto& record : loader_->blocks()) std::printf("\t%s\n", record->nameList.buffer());
}
