// The registry of installed blocks: tells the compiler which block type has a name and
// makes the block list (-b) and, through Components, the component list (-v).
#ifndef VIREO_VIREOBLOCKS_H
#define VIREO_VIREOBLOCKS_H

#include "Components.h"
#include "IDRecord.h"
#include "Loader.h"

#include <memory>

class VireoBlocks {
public:
    VireoBlocks() : VireoBlocks(false) {}
    explicit VireoBlocks(bool componentMode) : loader_(std::make_unique<Loader>(componentMode)) {}

    // The first record, in discovery order, one of whose names is the given one (upper
    // case, as the model's names are made); empty when no block has it.
    std::shared_ptr<IDRecord> getID(const String& name) const;
    int numOfBlocks() const;
    void displayBlocks() const;
    ComponentSet components() const { return loader_->components(); }
    // Where the block libraries were looked for, for a message about a block not found.
    std::string firstDirectory() const { return loader_->firstDirectory(); }
    std::string secondDirectory() const { return loader_->secondDirectory(); }

private:
    std::unique_ptr<Loader> loader_;
};

#endif
