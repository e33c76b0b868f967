// Turns a model file into a run: compile, optional model printout, model check,
// calculation order, initialisation, optional calculation list and the run loop, each
// stage gated by the engine's error count.
#ifndef VIREO_SIMULATOR_H
#define VIREO_SIMULATOR_H

#include "Compiler.h"
#include "SimulatorBlock.h"

class Simulator : public Compiler {
public:
    Simulator();
    ~Simulator() override;

    void clear() override;

    void execute();
    // Every block of the model in model order, as option -m shows it.
    void printOut();

    SimulatorModel& calculationList() { return model_; }

protected:
    // The editor's parameter changes, polled during the run.
    GetBpFromPlumoHook getBpFromPlumo_ = nullptr;
    SimulatorModel model_;
    SimulatorBlock* freeTimer_ = nullptr;
    SimulatorBlock* current_ = nullptr;
};

#endif
