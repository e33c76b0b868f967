// A thin, bounds-safe view of the seven block arrays during one call. Sizes come from
// the block's identity and from inputCount, never from trust: an input that is not
// connected reads as the caller's default. An index outside the identity's sizes is a
// fault in the block: checked builds (Debug, sanitizers, fuzzing) stop the process naming
// the block and the index; release builds read 0 and write into a discarded sink instead
// of into memory the block does not own.
//
// View<identity> adds the typed state of a block: ip<10>(), rp<0>(), dp<0, 50>() are
// checked against the identity row when the block is compiled.
#ifndef VIREO_BLOCK_VIEW_H
#define VIREO_BLOCK_VIEW_H

#include "BlockIdentity.h"
#include "Messages.h"
#include "Numbers.h"
#include "Params.h"

#include <span>
#include <string_view>
#include <type_traits>

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

// A parameter check made at initialisation: the parameter (0-based, in model order) must
// lie within [low, high], as its nearest whole number (halves away from zero) when
// `whole`; aboveLow and belowHigh leave out the bound itself. NaN never passes.
struct Rule {
    int parameter;
    float low;
    float high;
    bool whole = false;
    Code code{};
    bool aboveLow = false;
    bool belowHigh = false;
    const char* name = nullptr;  // the parameter's name in its table, for the codes that show it
};

class BlockView {
public:
    // Inline, so that a typed view's sizes are known where its accessors are compiled.
    BlockView(const BlockIdentity& identity, const BlockArrays& arrays) : id_(identity), a_(arrays) {
        // The engine allocates one IN element per connected input and says how many in
        // inputCount; the identity's maximum bounds it in case a caller says more.
        const int n = a_.IP[protocol::ipSlot::kInputCount];
        inputs_ = a_.IN == nullptr || n < 0 ? 0 : (n < id_.maxInputs ? n : id_.maxInputs);
    }

    // Inputs: i counts from 0 in the model's order of input references; an input the
    // model does not connect reads as `absent`.
    float in(int i, float absent = 0.0f) const {
        if (i < 0 || i >= id_.maxInputs) [[unlikely]] return outside("IN", i, id_.maxInputs), absent;
        return i < inputs_ ? a_.IN[i] : absent;
    }
    bool connected(int i) const { return i >= 0 && i < inputs_; }
    int inputCount() const { return inputs_; }

    float& out(int i) {
        if (i < 0 || i >= id_.outputCount || a_.OUT == nullptr) [[unlikely]] return outside("OUT", i, id_.outputCount), sinkF();
        return a_.OUT[i];
    }
    // Real parameters in model order; a parameter the model did not give reads 0.
    float par(int i) const {
        if (i < 0 || i >= id_.maxParameters || a_.BP == nullptr) [[unlikely]] return outside("BP", i, id_.maxParameters), 0.0f;
        return a_.BP[i];
    }
    // A parameter's nearest whole number (halves away from zero), saturated at the int range.
    int whole(int i) const;
    // A mode counted from 0, as the nearest whole number of the parameter, held within
    // 0..count-1: parameters can change during a run without a new check.
    int mode(int i, int count) const;
    // A string parameter's row (1024 characters, blank-padded); empty when absent.
    std::string_view text(int row) const {
        if (row < 0 || row >= id_.maxStrings || a_.SP == nullptr) [[unlikely]] return outside("SP", row, id_.maxStrings), std::string_view();
        return std::string_view(a_.SP[row], kRow);
    }
    // The same row without the blanks around it (and without NULs at its end).
    std::string_view trimmedText(int row) const;

    // Per-instance state: the block's own IP slots (from 10 on), RP and DP.
    int& ip(int i) {
        if (i < protocol::ipSlot::kFirstOwn || i >= id_.ipSize) [[unlikely]] return outside("IP", i, id_.ipSize), sinkI();
        return a_.IP[i];
    }
    float& rp(int i) {
        if (i < 0 || i >= id_.rpSize || a_.RP == nullptr) [[unlikely]] return outside("RP", i, id_.rpSize), sinkF();
        return a_.RP[i];
    }
    double& dp(int i) {
        if (i < 0 || i >= id_.dpSize || a_.DP == nullptr) [[unlikely]] return outside("DP", i, id_.dpSize), sinkD();
        return a_.DP[i];
    }

    // The protocol.
    int callMode() const { return a_.IP[protocol::ipSlot::kCallMode]; }
    int opMode() const { return a_.IP[protocol::ipSlot::kOpMode]; }
    int blockNumber() const { return a_.IP[protocol::ipSlot::kBlockNumber]; }
    int status() const { return a_.IP[protocol::ipSlot::kStatus]; }
    // The name under which the model placed the block (its opMode-th name).
    std::string_view name() const;
    // Asks the engine to end the run after this call.
    void requestStop() { a_.IP[protocol::ipSlot::kCallMode] = protocol::callMode::kLastCall; }
    // At a last call: the run goes on (a timer with steps left, an iteration that has not
    // settled); the engine continues along the link that the branch answer selects.
    void withdrawEnd() { a_.IP[protocol::ipSlot::kCallMode] = protocol::callMode::kInit; }
    // Branch 1: the engine goes on along the block's alternative link (into a timer's or
    // iteration's sub-model, out of a loop) instead of its next link.
    void takeAlternativeLink() { a_.IP[protocol::ipSlot::kBranch] = protocol::branch::kAlternative; }
    // At initialisation, a timer's number of steps, for the engine's progress count.
    void setTimerSteps(int steps) { a_.IP[protocol::ipSlot::kTimerSteps] = steps; }

    // Messages. report: counted, the status keeps the most severe code of the call (an
    // error at initialisation keeps the run from starting). show: shown, not counted.
    void report(Code code, const Values& values = {}) { reporter().report(code, values); }
    void show(Code code, const Values& values = {}) const { reporter().show(code, values); }
    Reporter reporter() const { return Reporter(a_.IP, name(), id_.spRow); }
    // Checks the parameters against a block's table, reporting every value refused as the
    // rules below do (each bound that is not `none`, in the table's order, a ranged row's
    // parameters one by one; an optional parameter left out, 0, is not checked); true
    // when all pass. The frame makes this
    // check; a block does not.
    bool check(std::span<const Param> table);
    // Checks the parameters against rules at initialisation, reporting every value
    // refused (its rule's code, naming the parameter, the value and the bounds, the rule
    // in words where the code's text shows {s0} and the parameter's name in {s2}); true
    // when all pass.
    bool check(std::span<const Rule> rules);
    // The same for one value against one rule, for values that do not come straight from
    // the parameters (a start date taken from the inputs).
    bool check(const Rule& rule, float value);

    // At initialisation, for a block that takes its form from the name the model used:
    // an opMode outside the name list is reported (305126); true when it lies inside.
    bool checkOpMode();

    // A warning counted per instance in one of the block's own IP slots (0 from the
    // zero-filled array): the first occurrence is reported, later ones only counted, and
    // the last call reports the count with a summary code (its messageValue).
    void countWarning(int& counter, Code warning, const Values& values = {});
    void reportCount(int counter, Code summary);
    // The same with only the count since the last report, kept in `reported` (another of
    // the block's IP slots): a run that an end-of-run pass takes up again reports the
    // later occurrences at its next end, never the same ones twice.
    void reportCountSince(int counter, int& reported, Code summary);

    // After a step on inputs that are all finite numbers: when an output is not one (the
    // physics overflowed), the outputs go back to `before`, what they held before the
    // step, with a warning naming the first such output. False when it did so.
    bool keepFiniteOutputs(std::span<const float> before);

    // The raw arrays, for the frame and for shared routines that take them whole.
    const BlockArrays& arrays() const { return a_; }
    const BlockIdentity& identity() const { return id_; }

protected:
    // An index outside the identity's sizes: stops the process in checked builds.
    void outside(const char* array, int index, int size) const;

    float& sinkF() { return sinkF_ = 0.0f; }
    int& sinkI() { return sinkI_ = 0; }
    double& sinkD() { return sinkD_ = 0.0; }

    const BlockIdentity& id_;
    BlockArrays a_;
    int inputs_ = 0;
    // Written before every use: left uninitialised so that making a view costs nothing.
    float sinkF_;
    int sinkI_;
    double sinkD_;
};

// The view of one block type: its state slots checked against its identity row at
// compile time. A block names its slots once, in a small state struct over this view,
// and its parameters once, in a table P (Params.h) read as par<P::name>().
template <const BlockIdentity& Id, class P = void>
class View : public BlockView {
public:
    static constexpr const BlockIdentity& kIdentity = Id;
    using Params = P;

    // `placed`: the identity the model placed the block under, when that is another row of
    // the same sizes (a block offering another's physics under names of its own); the
    // messages and the bounds checks then go by it.
    explicit View(const BlockArrays& arrays, const BlockIdentity& placed = Id) : BlockView(placed, arrays) {}

    using BlockView::dp;
    using BlockView::ip;
    using BlockView::par;
    using BlockView::rp;
    using BlockView::whole;

    // The untyped accessors again, bounded by the row's sizes as constants: a constant
    // index then costs no test at all. (A placed row has the same sizes.)
    float in(int i, float absent = 0.0f) const {
        if (i < 0 || i >= Id.maxInputs) [[unlikely]] return outside("IN", i, Id.maxInputs), absent;
        return i < inputs_ ? a_.IN[i] : absent;
    }
    float& out(int i) {
        if (i < 0 || i >= Id.outputCount || a_.OUT == nullptr) [[unlikely]] return outside("OUT", i, Id.outputCount), sinkF();
        return a_.OUT[i];
    }
    float par(int i) const {
        if (i < 0 || i >= Id.maxParameters || a_.BP == nullptr) [[unlikely]] return outside("BP", i, Id.maxParameters), 0.0f;
        return a_.BP[i];
    }

    // A parameter by its name in the table: its value, or the value that stands in for it
    // when it is optional and left out.
    template <int I>
        requires(!std::is_void_v<P>)
    float par() const {
        static_assert(I >= 0 && static_cast<std::size_t>(I) < paramCount<P>() && paramOffset<P>(I) < Id.maxParameters,
                      "parameter outside the block's table");
        static_assert(P::table[I].count == 1, "a ranged row is read by its place in the run: par<I>(k)");
        return P::table[I].absent.read(a_.BP[paramOffset<P>(I)]);
    }
    // The k-th parameter (from 0) of a ranged row; a place outside the run reads 0, as
    // an index outside the identity does.
    template <int I>
        requires(!std::is_void_v<P>)
    float par(int k) const {
        static_assert(I >= 0 && static_cast<std::size_t>(I) < paramCount<P>() &&
                          paramOffset<P>(I) + P::table[I].count <= Id.maxParameters,
                      "parameter outside the block's table");
        constexpr int kFirst = paramOffset<P>(I);
        if (k < 0 || k >= P::table[I].count) [[unlikely]] return outside("BP", kFirst + k, Id.maxParameters), 0.0f;
        return P::table[I].absent.read(a_.BP[kFirst + k]);
    }
    // Whether its value keeps its bound (as the frame checked it at initialisation), in the
    // table of the name the block was placed under.
    template <int I>
        requires(!std::is_void_v<P>)
    bool holds() const {
        static_assert(P::table[I].count == 1, "a ranged row is read by its place in the run");
        return formParams<P>(opMode())[I].bound.holds(a_.BP[paramOffset<P>(I)]);
    }
    // Among the routine's checks: a parameter that it takes only at initialisation and
    // goes on with as `kept`; `given` is what the block would take from its value now.
    // After a change during the run that its rule lets through and that gives another
    // value, a counted warning names it: the change is not taken. Nothing at
    // initialisation.
    template <int I>
        requires(!std::is_void_v<P>)
    void keepsFromInit(float kept, float given) {
        if (callMode() != protocol::callMode::kStep || given == kept || !holds<I>()) return;
        report(frameCode::parameterNotTaken, {.reals = {par<I>(), kept},
                                              .ints = {paramOffset<P>(I) + 1},
                                              .detail = formParams<P>(opMode())[I].name});
    }
    // Its nearest whole number (halves away from zero) through the one checked conversion:
    // NaN gives 0, values beyond the int range its nearest end, `offset` added without
    // overflow. Within a whole bound, as the frame has checked it.
    template <int I>
        requires(!std::is_void_v<P>)
    int whole(int offset = 0) const {
        return nearestInt(par<I>(), offset);
    }

    template <int I>
    int& ip() {
        static_assert(I >= protocol::ipSlot::kFirstOwn && I < Id.ipSize, "IP slot outside the block's identity");
        return a_.IP[I];
    }
    template <int I>
    float& rp() {
        static_assert(I >= 0 && I < Id.rpSize, "RP slot outside the block's identity");
        return a_.RP[I];
    }
    template <int I>
    double& dp() {
        static_assert(I >= 0 && I < Id.dpSize, "DP slot outside the block's identity");
        return a_.DP[I];
    }
    template <int First, int N>
    std::span<int, N> ip() {
        static_assert(First >= protocol::ipSlot::kFirstOwn && N > 0 && First + N <= Id.ipSize,
                      "IP slots outside the block's identity");
        return std::span<int, N>(a_.IP + First, N);
    }
    template <int First, int N>
    std::span<float, N> rp() {
        static_assert(First >= 0 && N > 0 && First + N <= Id.rpSize, "RP slots outside the block's identity");
        return std::span<float, N>(a_.RP + First, N);
    }
    template <int First, int N>
    std::span<double, N> dp() {
        static_assert(First >= 0 && N > 0 && First + N <= Id.dpSize, "DP slots outside the block's identity");
        return std::span<double, N>(a_.DP + First, N);
    }
};

// At initialisation, after the frame's check of the parameter table: whether it refused a
// value, so that a check built on several parameters is not made on a refused one, and a
// block that opens files or starts things leaves them alone.
inline bool refused(const BlockView& b) { return protocol::severity(b.status()) >= protocol::kError; }

}  // namespace vireo::block

#endif
