// Turns a model file into a run: compile, optional model printout, model check,
// calculation order, initialisation, optional calculation list and the run loop, each
// stage gated by the engine's error count.
#ifndef VIREO_SIMULATOR_H
#define VIREO_SIMULATOR_H

#include "Compiler.h"
#include "SimulatorBlock.h"

#include <unordered_set>

class Simulator : public Compiler {
public:
    Simulator();
    ~Simulator() override;

    // Empties the calculation list and then destroys the model (Compiler::clear).
    void clear() override;

    void execute();
    // Every block of the model in model order, as option -m shows it.
    void printOut();

    // Sets aside the blocks that need no ordering and the free timer, and works out the
    // sub-models of timers, iteration blocks and loops.
    void checkModel();
    // Places every block after the blocks it reads from and links the blocks so that
    // following the links runs the model.
    void sort();
    // The calculation list as option -l shows it.
    void showCalculationList();
    // The initialisation call of every block in calculation order; an error when fewer
    // blocks could be initialised than the list holds.
    void init();
    // The last call of every block in calculation order.
    void tini();
    // The run loop: steps along the links that the blocks answer, and end-of-run passes,
    // until a pass in which no block withdraws the end. Reads the host's run flag before
    // every step and pass.
    void simulate();
    // One parameter change of the editor: the block's real parameter number `index`
    // (from 1), or, for a block number the model lacks and index 1, every real parameter
    // that names the constant `text` (at most 80 characters, NUL-padded or full).
    void changeBlockParameter(int blockNumber, int index, float value, char* text);

    void sortBlocksWithoutInputs();
    void stackSort(SimulatorBlockList& list);
    void removeBlockFromList(SimulatorBlock* b, SimulatorBlockList& list);
    void insertBlockIntoModel(SimulatorBlock* b);

    SimulatorModel& calculationList() { return model_; }
    SimulatorBlock* freeTimer() const { return freeTimer_; }

protected:
    // The block that stands for x in the sort: its outermost enclosing sub-model that is
    // not placed yet, else x itself.
    SimulatorBlock* outer(SimulatorBlock* x) const;
    // Placed, or in the middle of being placed (a loop controller while its body is
    // sorted: it is appended after the body).
    bool placed(const SimulatorBlock* b) const;
    // Takes x out of the list and appends it, with its sub-model, to the calculation list.
    void place(SimulatorBlock* x, SimulatorBlockList& list);
    void rewire();

    // What the run carries from one cycle to the next.
    struct RunState {
        unsigned resume = 1;  // where the next end-of-run pass starts (1-based)
        int stop = 0;
        bool iterating = false;  // an iteration block withdrew the end ...
        SimulatorBlock* iterationStop = nullptr;  // ... and its sub-model ends here
        bool lastPass = false;  // the host asked to stop: the next pass ends the run
    };
    // Gives the blocks from the resume position on their last call; false when none
    // withdrew the end (the run is over).
    bool endOfRunPass(RunState& run);
    // Fetches and applies the editor's parameter changes until it has none.
    void pollParameterChanges();

    // The editor's parameter changes, polled during the run.
    GetBpFromPlumoHook getBpFromPlumo_ = nullptr;
    SimulatorModel model_;
    SimulatorBlock* freeTimer_ = nullptr;
    SimulatorBlock* current_ = nullptr;
    std::unordered_set<const SimulatorBlock*> placing_;
};

#endif
