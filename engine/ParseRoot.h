// Block creation for the parser: a block placed in a model becomes an instance of the
// class that its declared group calls for.
#ifndef VIREO_PARSEROOT_H
#define VIREO_PARSEROOT_H

#include "String.h"

#include <string>

class SimulatorBlock;

class ParseRoot {
public:
    // A new block of the installed block type that carries the name (any case), or null
    // when no installed block carries it.
    static SimulatorBlock* createBlock(int number, String name);
    // The two block directories the installed blocks were read from (empty without a
    // registry).
    static std::string firstBlockDirectory();
    static std::string secondBlockDirectory();
};

#endif
