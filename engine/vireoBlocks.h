// The registry of installed blocks. Until the block-library loader lands it holds no
// blocks; its interface is the one the entry point and the compiler use.
#ifndef VIREO_VIREOBLOCKS_H
#define VIREO_VIREOBLOCKS_H

#include <set>

class VireoBlocks {
public:
    VireoBlocks() : VireoBlocks(false) {}
    explicit VireoBlocks(bool componentMode);

    int numOfBlocks() const { return 0; }
    void displayBlocks() const;
    std::set<char*> components() const { return {}; }
};

#endif
