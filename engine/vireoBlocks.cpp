#include "vireoBlocks.h"

#include <cstdio>

VireoBlocks::VireoBlocks(bool /*componentMode*/) {}

void VireoBlocks::displayBlocks() const {
    std::printf("\nInstalled Vireo blocks [%d]\n\n", numOfBlocks());
}
