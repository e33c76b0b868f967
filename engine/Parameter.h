// What the parser reads between a block's name and the end of its statements: the
// block's parameters, the model's named constants and the block's input references.
#ifndef VIREO_PARAMETER_H
#define VIREO_PARAMETER_H

#include "List.h"
#include "String.h"

#include <string>
#include <unordered_map>

class Constant;
class SimulatorBlock;

class Parameter {
public:
    enum Kind : int { kUndefined = 0, kReal = 1, kString = 2 };

    Parameter();
    explicit Parameter(const float& value);
    explicit Parameter(const String& text);
    explicit Parameter(const Constant* constant);
    explicit Parameter(const Constant& constant);
    Parameter(const Parameter&) = default;
    Parameter& operator=(const Parameter&) = default;
    Parameter& operator=(const Constant* constant);
    Parameter& operator=(const Constant& constant);
    virtual ~Parameter() = default;

    // A constant reference reads its constant at the moment of asking, so a definition
    // that the model gives after the reference is seen.
    int type() const;
    int isConstant() const { return constant_; }
    const float* realValue() const;
    const String& stringValue() const;
    const Constant* constHandle() const { return constant_ != 0 ? slot_.handle : nullptr; }

protected:
    int kind_ = kUndefined;
    int constant_ = 0;
    union Slot {
        float value;
        const Constant* handle;
    } slot_{};
    String text_;
};

// A named model value; never a constant reference itself.
class Constant : public Parameter {
public:
    explicit Constant(const String& name);
    Constant(const String& name, const float& value);
    Constant(const String& name, const String& text);

    Constant& operator=(const float& value);
    Constant& operator=(const String& text);  // the real value stays as it was

    const String& name() const { return name_; }

private:
    String name_;
};

// One parameter statement: the parameters in model order, for one block number.
class BlockParameters : public TList<Parameter> {
public:
    BlockParameters() = default;
    ~BlockParameters() override;

    int blockNumber = 0;
    // Where the statement stands: its messages come after the whole model is read.
    std::string file;
    int line = 0;
};

// The parser's parameter statements, in statement order. It keeps count of the block
// numbers it holds, since the parser asks at every statement whether its block has one
// already; a statement is numbered before it is listed.
class BlockParameterList : public TList<BlockParameters> {
public:
    void insert(BlockParameters* p);
    int remove(BlockParameters* p);
    void clear();
    BlockParameters* get(int number);
    bool exists(int number) const { return numbers_.count(number) != 0; }

private:
    std::unordered_map<int, unsigned> numbers_;
};

class Input {
public:
    Input() = default;
    Input(const Input&) = default;
    Input& operator=(const Input&) = default;
    virtual ~Input() = default;

    int blkNum() const { return blockNumber_; }
    int ioNum() const { return outputNumber_; }
    int negate() const { return negate_; }

    SimulatorBlock* source = nullptr;  // set by the compiler's input check; not owned

protected:
    int blockNumber_ = 0;
    int outputNumber_ = 1;
    int negate_ = 0;
};

// An input reference made from its text: "n" (output 1 of block n), "n.m" (output m),
// "-n.m" (negated).
class InsInOut : public Input {
public:
    explicit InsInOut(const String& text);

    // False when a number of the reference lies beyond the int range (it then reads as
    // the nearest int, and the parser reports it).
    bool inRange() const { return inRange_; }

private:
    bool inRange_ = true;
};

class InputList : public TList<Input> {
public:
    InputList() = default;
    ~InputList() override;
};

// The leading decimal integer of a text as String::toInt reads it; false when the digits
// name a number beyond the int range (value then holds the nearest int).
bool leadingInt(const char* text, int& value);

#endif
