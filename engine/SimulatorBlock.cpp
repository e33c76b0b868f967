#include "SimulatorBlock.h"

#include "Config.h"
#include "vireoEngine.h"

#include <dlfcn.h>

namespace {

constexpr int kTooFewInputs = 304013;
constexpr int kTooManyInputs = 304014;
constexpr int kTooFewParameters = 304016;
constexpr int kTooManyParameters = 304017;
constexpr int kTooFewStrings = 304018;
constexpr int kTooManyStrings = 304019;
constexpr int kStringTooLong = 304031;

}  // namespace

void* bridgeFunction(const char* name) {
    if (!conf || conf->hVireoBridge() == nullptr) return nullptr;
    return dlsym(conf->hVireoBridge(), name);
}

SimulatorBlock* SimulatorBlockList::get(int number) {
    savePos();
    SimulatorBlock* found = nullptr;
    for (SimulatorBlock* b = first(); b != nullptr; b = next()) {
        if (b->number() == number) {
            found = b;
            break;
        }
    }
    restorePos();
    return found;
}

void SimulatorModel::insert(SimulatorBlock* b) {
    SimulatorBlock* previous = last();
    SimulatorBlockList::insert(b);
    if (previous != nullptr) previous->next = b;
    b->sorted = 1;
}

SimulatorBlock::SimulatorBlock(int number, const String& name, std::shared_ptr<IDRecord> record)
    : number_(number), name_(name), record_(std::move(record)) {
    if (record_) {
        blockFunction_ = record_->blockFunction;
        group_ = record_->group;
        opMode_ = record_->getOpMode(name_);
    }
    markPlumoBlock = reinterpret_cast<MarkPlumoBlockHook>(bridgeFunction("markPlumoBlock"));
    blockToPlumo = reinterpret_cast<BlockToPlumoHook>(bridgeFunction("blockToPlumo"));
    updateInOut = reinterpret_cast<UpdateInOutHook>(bridgeFunction("updateInOut"));
}

SimulatorBlock::~SimulatorBlock() = default;

void SimulatorBlock::addSuccessor(SimulatorBlock* b) {
    if (b == nullptr) return;
    if (!successors) successors = std::make_unique<SimulatorBlockList>();
    if (!successors->contains(b)) {
        successors->last();
        successors->insert(b);
    }
}

void SimulatorBlock::checkInputsAndParameters() {
    if (!record_) return;
    const IDRecord& id = *record_;
    auto fail = [this](int code) {
        vireoMessage(code, name_, number_);
        if (markPlumoBlock != nullptr) markPlumoBlock(number_);
    };

    const int n = inputCount();
    if (inputs_) {
        if (n < id.minInputs) fail(kTooFewInputs);
        else if (n > id.maxInputs) fail(kTooManyInputs);
    } else if (id.minInputs != 0) {
        fail(kTooFewInputs);
    }

    int reals = 0;
    int strings = 0;
    if (parameters_) {
        parameters_->savePos();
        for (Parameter* p = parameters_->first(); p != nullptr; p = parameters_->next()) {
            if (p->type() == Parameter::kReal) ++reals;
            else if (p->type() == Parameter::kString) ++strings;
        }
        parameters_->restorePos();
    }
    if (reals < id.minParameters) fail(kTooFewParameters);
    if (reals > id.maxParameters) fail(kTooManyParameters);
    if (strings < id.minStrings) fail(kTooFewStrings);
    if (strings > id.maxStrings) fail(kTooManyStrings);

    // A text parameter travels in one row of SP; a longer one would not arrive whole.
    if (parameters_) {
        int position = 0;
        for (Parameter* p = parameters_->first(); p != nullptr; p = parameters_->next()) {
            ++position;
            if (p->type() != Parameter::kString) continue;
            const unsigned length = p->stringValue().length();
            if (length <= static_cast<unsigned>(kRowLength)) continue;
            vireoMessage(kStringTooLong, name_, number_, position, static_cast<int>(length));
            if (markPlumoBlock != nullptr) markPlumoBlock(number_);
        }
    }
}

void SimulatorBlock::printOut() {
    String line("b ");
    line += number_;
    line += " ";
    line += name_;
    if (inputs_) {
        line += " ";
        for (Input* in = inputs_->first(); in != nullptr; in = inputs_->next()) {
            line += in->negate() != 0 ? " (-)" : " ";
            line += in->source != nullptr ? in->source->number() : in->blkNum();
            line += ".";
            line += in->ioNum();
        }
    }
    line.print();

    if (!parameters_) return;
    String head("p ");
    head += number_;
    head.print();
    for (Parameter* p = parameters_->first(); p != nullptr; p = parameters_->next()) {
        String value("    ");
        switch (p->type()) {
            case Parameter::kReal: value += *p->realValue(); break;
            case Parameter::kString:
                value += "'";
                value += p->stringValue();
                value += "'";
                break;
            default: value += "!!!Empty!!!"; break;
        }
        value.print();
    }
}

SubModel::~SubModel() { members.clear(); }

// A sub-model block prints like any other block: its members are blocks of their own.
void SubModel::printOut() { SimulatorBlock::printOut(); }

LoopBlock::~LoopBlock() { partner = nullptr; }

DelayBlock::~DelayBlock() = default;
