// A thin, bounds-safe view of the seven block arrays during one call. Sizes come from
// the block's identity and from inputCount, never from trust: an input that is not
// connected reads as the caller's default, and an index beyond an array reads as 0 and
// writes into a discarded sink instead of into memory the block does not own.
#ifndef VIREO_BLOCK_VIEW_H
#define VIREO_BLOCK_VIEW_H

#include "BlockIdentity.h"

#include <string_view>

namespace vireo::block {

// The seven arrays exactly as the engine passes them.
struct BlockArrays {
    float* IN;
    float* OUT;
    int* IP;
    float* RP;
    double* DP;
    float* BP;
    char (*SP)[kRow];
};

// Protocol slots of IP and the call modes.
enum Slot : int {
    kStatus = 0,
    kCallMode = 1,
    kOpMode = 2,
    kBlockNumber = 3,
    kInputCount = 4,
    kBranch = 5,
    kDebugFlag = 6,
    kTimerSteps = 7,
    kMessageValue = 8,
    kFirstOwnSlot = 10,
};
enum CallMode : int { kIdentify = -1, kStep = 0, kInit = 1, kLastCall = 2 };

class BlockView {
public:
    BlockView(const BlockIdentity& identity, const BlockArrays& arrays);

    // Inputs: i counts from 0 in the model's order of input references.
    float in(int i, float absent = 0.0f) const {
        return i >= 0 && i < inputs_ ? a_.IN[i] : absent;
    }
    bool connected(int i) const { return i >= 0 && i < inputs_; }
    int inputCount() const { return inputs_; }

    float& out(int i) { return i >= 0 && i < id_.outputCount && a_.OUT ? a_.OUT[i] : sinkF(); }
    // Real parameters in model order; a parameter the model did not give reads 0.
    float par(int i) const { return i >= 0 && i < id_.maxParameters && a_.BP ? a_.BP[i] : 0.0f; }
    // A string parameter's row (1024 characters, blank-padded); empty when absent.
    std::string_view text(int row) const {
        return row >= 0 && row < id_.maxStrings && a_.SP ? std::string_view(a_.SP[row], kRow)
                                                         : std::string_view();
    }
    // The same row without the blanks around it (and without NULs at its end).
    std::string_view trimmedText(int row) const;

    // Per-instance state: the block's own IP slots (from 10 on), RP and DP.
    int& ip(int i) { return i >= kFirstOwnSlot && i < id_.ipSize ? a_.IP[i] : sinkI(); }
    float& rp(int i) { return i >= 0 && i < id_.rpSize && a_.RP ? a_.RP[i] : sinkF(); }
    double& dp(int i) { return i >= 0 && i < id_.dpSize && a_.DP ? a_.DP[i] : sinkD(); }

    // The protocol.
    int callMode() const { return a_.IP[kCallMode]; }
    int opMode() const { return a_.IP[kOpMode]; }
    int blockNumber() const { return a_.IP[kBlockNumber]; }
    int status() const { return a_.IP[kStatus]; }
    void setMessageValue(int value) { a_.IP[kMessageValue] = value; }
    // Asks the engine to end the run after this call.
    void requestStop() { a_.IP[kCallMode] = kLastCall; }
    // At a last call: the run goes on (a timer with steps left, an iteration that has not
    // settled); the engine continues along the link that the branch answer selects.
    void withdrawEnd() { a_.IP[kCallMode] = kInit; }
    // Branch 1: the engine goes on along the block's alternative link (into a timer's or
    // iteration's sub-model, out of a loop) instead of its next link.
    void takeAlternativeLink() { a_.IP[kBranch] = 1; }
    // At initialisation, a timer's number of steps, for the engine's progress count.
    void setTimerSteps(int steps) { a_.IP[kTimerSteps] = steps; }

    // Messages. report: the code stays in status, so the engine counts it (an error at
    // initialisation keeps the run from starting). show: the message is shown and status
    // is cleared again, so it is not counted.
    void report(int code);
    void show(int code);

    // The raw arrays, for shared routines that take them whole (a site check takes IP).
    const BlockArrays& arrays() const { return a_; }
    const BlockIdentity& identity() const { return id_; }

private:
    float& sinkF() { return sinkF_ = 0.0f; }
    int& sinkI() { return sinkI_ = 0; }
    double& sinkD() { return sinkD_ = 0.0; }

    const BlockIdentity& id_;
    BlockArrays a_;
    int inputs_;
    float sinkF_ = 0.0f;
    int sinkI_ = 0;
    double sinkD_ = 0.0;
};

}  // namespace vireo::block

#endif
