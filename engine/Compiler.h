// Turns a model file into the engine's model: the block instances in model order with
// their inputs bound to the blocks that feed them, and the table of named constants that
// parameters refer to.
#ifndef VIREO_COMPILER_H
#define VIREO_COMPILER_H

#include "Parameter.h"
#include "RootClass.h"
#include "SimulatorBlock.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class Compiler : protected RootClass {
public:
    Compiler();
    Compiler(const Compiler&) = delete;
    Compiler& operator=(const Compiler&) = delete;
    virtual ~Compiler();

    // The compiler owns the block from now on; a null block is ignored.
    virtual void addSimulatorBlock(SimulatorBlock* block);
    // Destroys every constant and every block and resets the error and warning counts.
    virtual void clear();

    // Messages name the model file `fileName`; `openAs`, when given, is what is opened.
    void compile(std::string fileName, std::string openAs = {});

    void addConstant(const String& name, float value);
    void addConstant(const String& name, const String& text);
    // The constant of that name, made undefined when the model has not named it yet.
    Constant* getConstHandle(const String& name);

    // The first block the model made with that number (the parser refuses a second one).
    SimulatorBlock* getSimulatorBlock(int number) const;
    void checkInputsAndParameters();

    SimulatorBlockList& blocks() { return blocks_; }
    // How many blocks the model made, wherever they stand now.
    unsigned numberOfBlocks() const { return static_cast<unsigned>(owned_.size()); }
    TList<Constant>& constants() { return constants_; }

protected:
    // Blocks still to be placed, in the order their statements were read; the model
    // check and the sort move them into the calculation list.
    SimulatorBlockList blocks_;
    TList<Constant> constants_;

private:
    Constant* findConstant(const String& name);
    void appendConstant(Constant* c);

    // Every block made for this model, whichever list it stands in at the moment, so
    // that each is destroyed exactly once.
    std::vector<std::unique_ptr<SimulatorBlock>> owned_;
    // Looked up for every block statement, input reference and constant name: a search
    // of the lists would make compiling grow with the square of the model.
    std::unordered_map<int, SimulatorBlock*> byNumber_;
    std::unordered_map<std::string, Constant*> byName_;
};

#endif
