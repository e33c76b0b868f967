// One block of a model: the number and name that the model gave it, its inputs and
// parameters, the identity of its block type and the seven arrays through which it talks
// to its block function. The subclasses differ only in what the model check and the sort
// do with them.
#ifndef VIREO_SIMULATORBLOCK_H
#define VIREO_SIMULATORBLOCK_H

#include "BlockProtocol.h"
#include "IDRecord.h"
#include "List.h"
#include "Parameter.h"
#include "RootClass.h"
#include "Stack.h"
#include "String.h"

#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <unordered_map>
#include <vector>

class SimulatorBlock;
class SubModel;

// The block protocol's names, shared with the block frame.
namespace group = vireo::protocol::group;
namespace callMode = vireo::protocol::callMode;
namespace ipSlot = vireo::protocol::ipSlot;

// The editor bridge's functions, looked up by name in the bridge library.
using MarkPlumoBlockHook = void (*)(int blockNumber);
using UpdateInOutHook = void (*)(int blockNumber, int inputCount, float* in, int outputCount, float* out);
using BlockToPlumoHook = UpdateInOutHook;
using GetBpFromPlumoHook = void (*)(int pair[2], float* value, char text[80]);

// Looks a function up in the bridge library of the current call; null without one.
void* bridgeFunction(const char* name);

class SimulatorBlockList : public TList<SimulatorBlock> {
public:
    // The first block with that number, or null; the cursor stays where it was.
    SimulatorBlock* get(int number);
};

// The calculation list: appending links the previous last block to the new one.
class SimulatorModel : public SimulatorBlockList {
public:
    void insert(SimulatorBlock* b);
};

// What the enclosure checks of one model check have learnt: for a block and a kind of
// sub-model (loops, or the others), whether every two of its enclosing sub-models of that
// kind nest. A block's check builds on the answer for its innermost enclosing sub-model
// instead of comparing every pair, which in a deeply nested model would grow with the
// cube of the depth. Valid only while no sub-model changes.
struct NestingMemo {
    std::unordered_map<const SimulatorBlock*, bool> nests[2];
};

// The sort's stack: a block on it waits for the blocks pushed after it.
class SimulatorBlockStack : public TStack<SimulatorBlock> {
public:
    void push(SimulatorBlock* b);
    SimulatorBlock* pop();
};

class SimulatorBlock : public RootClass {
protected:
    // What a call of the run reads, together at the front of the object, so that a run of
    // ordinary blocks touches two cache lines of each and nothing else of it.
    // Why a call cannot take the short way: checked once per call, one bit per reason.
    enum Attention : std::uint8_t {
        kUnready = 1,    // not initialised: nothing to call
        kUnbound = 2,    // the inputs are bound at the first call
        kAnnounce = 4,   // option -d names every call
        kProgress = 8,   // a timer counts the run's progress
        kAfterCall = 16,  // an editor to hand the arrays to, or a loop's end to see to
        kNegated = 32     // inputs whose sign the refill flips
    };
    BlockFunction blockFunction_ = nullptr;
    std::unique_ptr<float[]> IN_;
    std::unique_ptr<float[]> OUT_;
    std::unique_ptr<int[]> IP_;
    std::unique_ptr<float[]> RP_;
    std::unique_ptr<double[]> DP_;
    std::unique_ptr<float[]> BP_;
    std::unique_ptr<char[][kRowLength]> SP_;
    // Where each input is read from; the inputs of negated references are listed apart
    // (positions in IN), so that the refill is a plain copy where no sign is flipped.
    std::unique_ptr<const float*[]> sources_;
    std::unique_ptr<std::uint32_t[]> negated_;
    std::uint32_t sourceCount_ = 0;
    std::uint32_t negatedCount_ = 0;
    static constexpr std::uint32_t kSignBit = 0x80000000u;  // flips a negated input's sign
    std::uint8_t attention_ = kUnready;
    int debugFlag_ = 0;

public:
    // Links, set by the sort: the block to run after this one, and the one to run when
    // the block answers a branch other than 2.
    SimulatorBlock* next = nullptr;
    SimulatorBlock* alternative = nullptr;

    SimulatorBlock(int number, const String& name, std::shared_ptr<IDRecord> record);
    SimulatorBlock(const SimulatorBlock&) = delete;
    SimulatorBlock& operator=(const SimulatorBlock&) = delete;
    virtual ~SimulatorBlock();

    virtual void printOut();
    // The block that must be placed before this one, or null: the source of an input
    // that is not yet placed (a loop top or a delay block is never waited for). The
    // second form also leaves out `exclude` and the blocks of `list`.
    virtual SimulatorBlock* getUnsortedPredecessor();
    virtual SimulatorBlock* getUnsortedPredecessor(SimulatorBlock* exclude, SimulatorBlockList& list);

    int number() const { return number_; }
    const String& name() const { return name_; }
    int group() const { return group_; }
    int opMode() const { return opMode_; }
    const IDRecord* record() const { return record_.get(); }
    float* getBParray() { return BP_.get(); }
    // A parameter changed during the run: the block checks its parameters again before
    // its next step.
    void markParametersChanged() {
        if (IP_) IP_[ipSlot::kParameterState] |= vireo::protocol::parameterState::kChanged;
    }
    BlockParameters* getParameters() { return parameters_.get(); }
    InputList* getInputs() { return inputs_.get(); }
    int inputCount() const { return inputs_ ? static_cast<int>(inputs_->length()) : 0; }

    // The block owns the lists from now on.
    void setParameters(BlockParameters* list) { parameters_.reset(list); }
    void setInputs(InputList* list) { inputs_.reset(list); }
    // Where the model's block statement stands, for the messages of the model check.
    void setPlace(std::string file, int line) {
        placeFile_ = std::move(file);
        placeLine_ = line;
    }
    // Message 5312 with that place; nothing for a block that no statement placed.
    void reportPlace() const;

    // Input and parameter counts against the block's identity; errors are counted.
    void checkInputsAndParameters();
    // Allocates and fills the arrays and makes the initialisation call; false when the
    // block has no block function to call.
    bool init();
    // The closing last call.
    void tini();
    // Counts the error status a call answered; an error the block did not report itself
    // (the count of reported errors still stands at `reportedBefore`) is reported here,
    // naming the block and the call, so that no failed run ends without a word.
    void countAnsweredError(int status, int reportedBefore, int callMode) const;
    // The initialisation or the closing last call: the protocol slots set, the block
    // called, an error it answers counted; returns its status.
    int callOutsideSteps(int callMode);
    // One call of the run: a step, or a last call when `stop` is set. Returns the block to
    // run next (null when the block answered branch 0); `stop` comes back set when the
    // block asked the run to end (or answered branch 0), `status` holds its answer.
    [[gnu::always_inline]] SimulatorBlock* call(int& stop, int& status) {
        return stop != 0 ? callAs<true>(stop, status) : callAs<false>(stop, status);
    }
    // The same for a step.
    [[gnu::always_inline]] SimulatorBlock* step(int& stop, int& status) { return callAs<false>(stop, status); }

    // Records a block that reads from this one.
    void addSuccessor(SimulatorBlock* b);
    // Makes this block and everything downstream (upstream) of it part of the sub-model.
    void markSuccessors(SubModel* m);
    void markPredecessors(SubModel* m);
    // Reports enclosing sub-models that do not nest; a model check hands the same memo to
    // the check of every block.
    void checkEnclosure();
    void checkEnclosure(NestingMemo& memo);
    // The outermost sub-model that encloses this block; null for a block in none.
    SubModel* getEnclosingSubModel();

    // The arrays, null until init() and null when their size is 0.
    float* IN() { return IN_.get(); }
    float* OUT() { return OUT_.get(); }
    int* IP() { return IP_.get(); }
    float* RP() { return RP_.get(); }
    double* DP() { return DP_.get(); }
    float* BP() { return BP_.get(); }
    char (*SP())[kRowLength] { return SP_.get(); }
    BlockFunction blockFunction() const { return blockFunction_; }
    // IP slots the block declared; 0 before init().
    int ipSize() const { return ipSize_; }

    // The block being called (or called last), and how (a callMode): for the report of a
    // library that ends the process in the middle of a call. Null before the first call.
    static SimulatorBlock* calling() { return calling_; }
    static int callingMode() { return callingMode_; }
    // The run loop says once, as it enters its steps, that the calls to come are steps; a
    // step then records only which block it calls.
    static void enteringSteps() { callingMode_ = callMode::kStep; }
    // The model file and line of the block's statement; an empty file when none placed it.
    const std::string& placeFile() const { return placeFile_; }
    int placeLine() const { return placeLine_; }

    int sorted = 0;
    int onStack = 0;
    TList<SubModel> enclosingSubModels;
    std::unique_ptr<SimulatorBlockList> successors;  // created by the first addSuccessor

    MarkPlumoBlockHook markPlumoBlock = nullptr;
    BlockToPlumoHook blockToPlumo = nullptr;
    UpdateInOutHook updateInOut = nullptr;

protected:
    // The call itself, inlined into the run loop: it is the hot path; what only some
    // blocks or calls need stays out of line, behind one test of attention_.
    template <bool kLastCall>
    [[gnu::always_inline]] SimulatorBlock* callAs(int& stop, int& status) {
        std::uint8_t attention = attention_;
        if (attention & (kUnready | kUnbound | kAnnounce)) [[unlikely]] {
            if (!prepareCall(kLastCall)) {
                stop = 1;
                return nullptr;
            }
            attention = attention_;  // the first call binds the inputs
        }
        float* in = IN_.get();
        int* const ip = IP_.get();
        const float* const* source = sources_.get();
        for (std::uint32_t k = 0; k < sourceCount_; ++k) in[k] = *source[k];
        if (attention & kNegated) [[unlikely]] {
            for (std::uint32_t k = 0; k < negatedCount_; ++k) {
                float& x = in[negated_[k]];
                x = std::bit_cast<float>(std::bit_cast<std::uint32_t>(x) ^ kSignBit);
            }
        }
        ip[ipSlot::kStatus] = 0;
        ip[ipSlot::kCallMode] = kLastCall ? callMode::kLastCall : callMode::kStep;
        ip[ipSlot::kBranch] = 2;
        ip[ipSlot::kDebugFlag] = debugFlag_;
        calling_ = this;
        if constexpr (kLastCall) callingMode_ = callMode::kLastCall;
        blockFunction_(IN_.get(), OUT_.get(), ip, RP_.get(), DP_.get(), BP_.get(), SP_.get());
        if (attention & (kProgress | kAfterCall)) [[unlikely]] {
            if (attention & kAfterCall) afterCall();
            if ((attention & kProgress) && --_leftNumberOfTimerCalls <= progressDue_) showProgress();
        }
        stop = ip[ipSlot::kCallMode] > callMode::kInit ? 1 : 0;
        const int branch = ip[ipSlot::kBranch];
        // A branch, not a select: the run goes on along the next link before the block's
        // answer is read, instead of waiting for it (the other answers are taken out of
        // line, so the compiler keeps the branch), and one test of the answer serves them.
        if (branch != 2) [[unlikely]] {
            if (branch == 0) {
                branchZero();
                stop = 1;
                return nullptr;
            }
            status = ip[ipSlot::kStatus];
            return alternativeLink();
        }
        status = ip[ipSlot::kStatus];
        return next;
    }

    SimulatorBlock* firstUnsortedSource(SimulatorBlock* exclude, SimulatorBlockList* list);
    // Where each input is read from, resolved once: the run refills IN before every call.
    void bindInputs();
    void handToEditor(UpdateInOutHook hook);
    // The parts of a call that only some blocks or runs need: false when there is nothing
    // to call.
    bool prepareCall(bool lastCall);
    void afterCall();
    // Branch 0 is fatal: reported, and the run comes to its end.
    void branchZero();
    [[gnu::noinline, gnu::cold]] SimulatorBlock* alternativeLink() const;
    // Sends the progress line when the percentage moved, and works out how far the count
    // of timer calls left may fall before it can move again.
    void showProgress();

    // The count of timer calls left at or below which the progress percentage may move;
    // the count is made anew when a timer is initialised.
    static std::int64_t progressDue_;

    // Hidden, so that a step's record is one store, not an address looked up first.
    [[gnu::visibility("hidden")]] static SimulatorBlock* calling_;
    [[gnu::visibility("hidden")]] static int callingMode_;

    std::unique_ptr<BlockParameters> parameters_;
    std::string placeFile_;
    int placeLine_ = 0;
    int number_;
    String name_;
    int group_ = 0;
    std::shared_ptr<IDRecord> record_;
    std::unique_ptr<InputList> inputs_;
    int opMode_ = 0;

    // Set by init() for the calls of the run.
    BlockToPlumoHook toEditor_ = nullptr;  // blockToPlumo under -j with -d
    int ipSize_ = 0;
    int outputCount_ = 0;
};

// A block that owns a sub-model: timers, iteration blocks and loop tops.
class SubModel : public SimulatorBlock {
public:
    using SimulatorBlock::SimulatorBlock;
    ~SubModel() override;

    void printOut() override;
    // An outside block that the owner or any member reads from.
    SimulatorBlock* getUnsortedPredecessor() override;
    using SimulatorBlock::getUnsortedPredecessor;
    // Timers, iteration blocks and loop tops: every block downstream is a member.
    virtual void markSubModel();

    SimulatorBlockList members;
};

// A loop controller: its sub-model is the loop body between it and its loop top.
class LoopBlock : public SubModel {
public:
    using SubModel::SubModel;
    ~LoopBlock() override;

    // The body: the blocks both downstream of the loop top and upstream of the
    // controller, with the loop top's direct successors.
    void markSubModel() override;

    SimulatorBlock* partner = nullptr;  // the loop top
};

// A block that may close a feedback cycle: its readers use its output of the step before.
class DelayBlock : public SimulatorBlock {
public:
    using SimulatorBlock::SimulatorBlock;
    ~DelayBlock() override;

    // Besides its own sources, a delay block waits for every block that reads it: they
    // use its output of the step before.
    SimulatorBlock* getUnsortedPredecessor() override;
    SimulatorBlock* getUnsortedPredecessor(SimulatorBlock* exclude, SimulatorBlockList& list) override;
};

#endif
