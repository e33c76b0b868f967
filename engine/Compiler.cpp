#include "Compiler.h"

#include "vireoParser.hpp"
#include "vireoScanner.h"

namespace {

constexpr int kConstantRedefined = 204024;
constexpr int kNoSuchBlock = 304021;
constexpr int kNoSuchOutput = 304022;

}  // namespace

Compiler::Compiler() = default;

Compiler::~Compiler() { Compiler::clear(); }

void Compiler::addSimulatorBlock(SimulatorBlock* block) {
    if (block == nullptr) return;
    owned_.emplace_back(block);
    byNumber_.emplace(block->number(), block);
    blocks_.last();
    blocks_.insert(block);
}

SimulatorBlock* Compiler::getSimulatorBlock(int number) const {
    const auto found = byNumber_.find(number);
    return found != byNumber_.end() ? found->second : nullptr;
}

void Compiler::clear() {
    for (Constant* c = constants_.first(); c != nullptr; c = constants_.next()) delete c;
    constants_.clear();
    byName_.clear();
    blocks_.clear();
    byNumber_.clear();
    owned_.clear();
    _errors = 0;
    _warnings = 0;
}

void Compiler::compile(std::string fileName, std::string openAs) {
    if (vireoScanner::newfile(fileName.c_str(), openAs.empty() ? nullptr : openAs.c_str()) != 0) {
        yy::VireoParser parser(*this);
        parser.parse();
    }
    // A parse that stopped early leaves its files open, and the parameter lists read
    // before the stop never reached their blocks.
    vireoScanner::closeFiles();
    vireoParser::discardPendingParameters();
    if (_errors == 0) checkInputsAndParameters();
}

Constant* Compiler::findConstant(const String& name) {
    const auto found = byName_.find(name.str());
    return found != byName_.end() ? found->second : nullptr;
}

void Compiler::appendConstant(Constant* c) {
    constants_.last();
    constants_.insert(c);
    byName_.emplace(c->name().str(), c);
}

void Compiler::addConstant(const String& name, float value) {
    Constant* c = findConstant(name);
    if (c == nullptr) {
        appendConstant(new Constant(name, value));
    } else if (c->type() == Parameter::kUndefined) {
        *c = value;
    } else {
        vireoMessage(kConstantRedefined, name.str());
    }
}

void Compiler::addConstant(const String& name, const String& text) {
    Constant* c = findConstant(name);
    if (c == nullptr) {
        appendConstant(new Constant(name, text));
    } else if (c->type() == Parameter::kUndefined) {
        *c = text;
    } else {
        vireoMessage(kConstantRedefined, name.str());
    }
}

Constant* Compiler::getConstHandle(const String& name) {
    Constant* c = findConstant(name);
    if (c != nullptr) return c;
    c = new Constant(name);
    appendConstant(c);
    return c;
}

void Compiler::checkInputsAndParameters() {
    for (SimulatorBlock* b = blocks_.first(); b != nullptr; b = blocks_.next()) {
        blocks_.savePos();
        b->checkInputsAndParameters();
        if (InputList* inputs = b->getInputs()) {
            for (Input* r = inputs->first(); r != nullptr; r = inputs->next()) {
                SimulatorBlock* s = getSimulatorBlock(r->blkNum());
                if (s == nullptr) {
                    vireoMessage(kNoSuchBlock, b->number(), r->blkNum());
                    b->reportPlace();
                    continue;
                }
                if (s->record() != nullptr && r->ioNum() > s->record()->outputCount) {
                    vireoMessage(kNoSuchOutput, b->number(), r->blkNum(), r->ioNum(), s->record()->outputCount);
                    b->reportPlace();
                    continue;
                }
                r->source = s;
                if (s->group() != group::kConstantSource) s->addSuccessor(b);
            }
        }
        blocks_.restorePos();
    }
}
