// Turns a model file into a run: compile, check, sort, initialise, run, each stage
// gated by the engine's error count.
#ifndef VIREO_SIMULATOR_H
#define VIREO_SIMULATOR_H

#include "RootClass.h"

class Simulator : public RootClass {
public:
    Simulator() = default;
    virtual ~Simulator() = default;
    void execute();
};

#endif
