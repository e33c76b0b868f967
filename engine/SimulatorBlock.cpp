#include "SimulatorBlock.h"

#include "Config.h"
#include "vireoEngine.h"
#include "vireo_tools.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

constexpr int kTooFewInputs = 304013;
constexpr int kTooManyInputs = 304014;
constexpr int kTooFewParameters = 304016;
constexpr int kTooManyParameters = 304017;
constexpr int kTooFewStrings = 304018;
constexpr int kTooManyStrings = 304019;
constexpr int kStringTooLong = 304031;
constexpr int kWhere = 5312;
constexpr int kCalling = 5161;
constexpr int kStepping = 5162;
constexpr int kLastCalling = 5163;
constexpr int kLine = 4030;
constexpr int kBranchZero = 400504;
constexpr int kNoWayOn = 400506;
constexpr int kLoopsDoNotNest = 304042;
constexpr int kSubModelsDoNotNest = 304043;
constexpr int kSecondLoopTop = 304044;
constexpr int kNoLoopTop = 304045;
constexpr int kNotInLoop = 304046;
constexpr int kEmptyLoop = 204048;
constexpr int kUnreportedError = 304505;

bool debugMode() { return conf && conf->debugMode(); }

// Read for an input whose source has no such output; never written.
const float kNoValue = 0.0f;

// The progress percentage shown when `left` of `total` timer calls are left: the share
// done, rounded to the nearest whole percent in integers (a float share loses a point to
// rounding: 1 - 4/5 is 0.19999999).
__extension__ using Wide = __int128;  // a count of up to 2^63 times 200
int progressAt(std::int64_t left, std::int64_t total) {
    if (total <= 0 || left <= 0) return 100;
    if (left >= total) return 0;
    const Wide done = total - left;
    return static_cast<int>((done * 200 + total) / (Wide{total} * 2));
}

// Stands in for an array of size 0 when the editor is handed a block's arrays: the
// bridge never receives a null pointer.
float emptyArray[1];

// A zero-filled array, or null for size 0.
template <class T>
std::unique_ptr<T[]> zeroed(int size) {
    if (size <= 0) return nullptr;
    return std::make_unique<T[]>(static_cast<std::size_t>(size));
}

bool isTimerDelayOrIteration(int g) {
    return g == group::kTimerNoProgress || g == group::kTimer || g == group::kDelay || g == group::kIteration;
}

// Marks a block and then, depth first and in list order, the blocks that `next` gives
// for it, as long as `enter` accepts them. The walk keeps its own stack: a model may
// chain thousands of blocks, and marking must not run out of the call stack.
template <class Enter, class Next>
void markDepthFirst(SimulatorBlock* start, Enter enter, Next next) {
    if (!enter(start)) return;
    std::vector<std::pair<SimulatorBlock*, unsigned>> path{{start, 1u}};
    while (!path.empty()) {
        SimulatorBlock* b = path.back().first;
        const unsigned k = path.back().second++;
        SimulatorBlock* following = next(b, k);
        if (following == nullptr) {
            path.pop_back();
            continue;
        }
        if (enter(following)) path.emplace_back(following, 1u);
    }
}

bool isLoop(const SubModel* s) { return s->group() == group::kLoop; }

// One of the two encloses the other.
bool nest(SubModel* a, SubModel* b) { return a->enclosingSubModels.contains(b) || b->enclosingSubModels.contains(a); }

// A block's enclosing sub-models of one kind (loops, or the others), in list order.
std::vector<SubModel*> enclosuresOfKind(SimulatorBlock* b, bool loops) {
    std::vector<SubModel*> of;
    TList<SubModel>& list = b->enclosingSubModels;
    for (unsigned k = 1; k <= list.length(); ++k)
        if (isLoop(list[k]) == loops) of.push_back(list[k]);
    return of;
}

bool everyPairNests(const std::vector<SubModel*>& s) {
    for (std::size_t i = 0; i < s.size(); ++i)
        for (std::size_t j = i + 1; j < s.size(); ++j)
            if (!nest(s[i], s[j])) return false;
    return true;
}

// Sub-models that all nest pairwise if the one that has the most enclosing sub-models
// (`inner`) encloses each other one, once each, and the ones enclosing it nest pairwise:
// then only the last remains to be answered.
enum class Shortcut { none, nest, followInner };

Shortcut shortcut(const std::vector<SubModel*>& s, SubModel*& inner) {
    if (s.size() < 2) return Shortcut::nest;
    inner = *std::max_element(s.begin(), s.end(), [](const SubModel* a, const SubModel* b) {
        return a->enclosingSubModels.length() < b->enclosingSubModels.length();
    });
    std::vector<SubModel*> once(s);
    std::sort(once.begin(), once.end());
    if (std::adjacent_find(once.begin(), once.end()) != once.end()) return Shortcut::none;
    for (SubModel* x : s)
        if (x != inner && !inner->enclosingSubModels.contains(x)) return Shortcut::none;
    return Shortcut::followInner;
}

// Whether every two enclosing sub-models of a kind nest. The shortcut leads from a block
// to its innermost enclosing sub-model, from there to that one's, and so on; the chain is
// followed without recursion (it is as long as the model is deep), and the answers on the
// way back are kept. Where the shortcut does not hold (a model whose sub-models do not
// nest, or a sub-model that encloses itself) the pairs are compared.
bool allNest(SimulatorBlock* b, bool loops, NestingMemo& memo) {
    auto& known = memo.nests[loops ? 1 : 0];
    if (const auto k = known.find(b); k != known.end()) return k->second;
    std::vector<SimulatorBlock*> chain;
    std::unordered_set<const SimulatorBlock*> onChain;
    SimulatorBlock* x = b;
    bool answer = true;
    for (;;) {
        const std::vector<SubModel*> s = enclosuresOfKind(x, loops);
        SubModel* inner = nullptr;
        const Shortcut how = shortcut(s, inner);
        if (how == Shortcut::followInner) {
            const auto k = known.find(inner);
            if (k == known.end() && inner != x && onChain.count(inner) == 0) {
                chain.push_back(x);
                onChain.insert(x);
                x = inner;
                continue;
            }
            answer = (k != known.end() && k->second) || everyPairNests(s);
        } else {
            answer = how == Shortcut::nest || everyPairNests(s);
        }
        known[x] = answer;
        break;
    }
    for (auto y = chain.rbegin(); y != chain.rend(); ++y) {
        answer = answer || everyPairNests(enclosuresOfKind(*y, loops));
        known[*y] = answer;
    }
    return known[b];
}

}  // namespace

std::int64_t SimulatorBlock::progressDue_ = std::numeric_limits<std::int64_t>::max();
SimulatorBlock* SimulatorBlock::calling_ = nullptr;
int SimulatorBlock::callingMode_ = 0;

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

void SimulatorBlockStack::push(SimulatorBlock* b) {
    TStack<SimulatorBlock>::push(b);
    b->onStack = 1;
}

SimulatorBlock* SimulatorBlockStack::pop() {
    SimulatorBlock* b = TStack<SimulatorBlock>::pop();
    if (b != nullptr) b->onStack = 0;
    return b;
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

SimulatorBlock::~SimulatorBlock() {
    if (calling_ == this) calling_ = nullptr;
}

void SimulatorBlock::addSuccessor(SimulatorBlock* b) {
    if (b == nullptr) return;
    if (!successors) successors = std::make_unique<SimulatorBlockList>();
    if (!successors->contains(b)) {
        successors->last();
        successors->insert(b);
    }
}

void SimulatorBlock::reportPlace() const {
    if (placeLine_ > 0) vireoMessage(kWhere, String(placeFile_), placeLine_);
}

void SimulatorBlock::checkInputsAndParameters() {
    if (!record_) return;
    const IDRecord& id = *record_;
    auto fail = [this](int code, int given, int bound) {
        vireoMessage(code, name_, number_, given, bound);
        reportPlace();
        if (markPlumoBlock != nullptr) markPlumoBlock(number_);
    };

    const int n = inputCount();
    if (n < id.minInputs) fail(kTooFewInputs, n, id.minInputs);
    else if (inputs_ && n > id.maxInputs) fail(kTooManyInputs, n, id.maxInputs);

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
    if (reals < id.minParameters) fail(kTooFewParameters, reals, id.minParameters);
    if (reals > id.maxParameters) fail(kTooManyParameters, reals, id.maxParameters);
    if (strings < id.minStrings) fail(kTooFewStrings, strings, id.minStrings);
    if (strings > id.maxStrings) fail(kTooManyStrings, strings, id.maxStrings);

    // A text parameter travels in one row of SP; a longer one would not arrive whole.
    if (parameters_) {
        int position = 0;
        for (Parameter* p = parameters_->first(); p != nullptr; p = parameters_->next()) {
            ++position;
            if (p->type() != Parameter::kString) continue;
            const unsigned length = p->stringValue().length();
            if (length <= static_cast<unsigned>(kRowLength)) continue;
            vireoMessage(kStringTooLong, name_, number_, position, static_cast<int>(length));
            reportPlace();
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

bool SimulatorBlock::init() {
    if (!record_ || blockFunction_ == nullptr) return false;
    const IDRecord& id = *record_;
    const int n = inputCount();
    IN_ = inputs_ ? zeroed<float>(n) : nullptr;
    OUT_ = zeroed<float>(id.outputCount);
    IP_ = zeroed<int>(id.ipSize);  // at least the protocol slots: the loader refuses fewer
    RP_ = zeroed<float>(id.rpSize);
    DP_ = zeroed<double>(id.dpSize);
    BP_ = zeroed<float>(id.maxParameters);
    SP_.reset();
    if (id.maxStrings > 0) {
        SP_.reset(new char[static_cast<std::size_t>(id.maxStrings)][kRowLength]);
        std::memset(SP_.get(), ' ', static_cast<std::size_t>(id.maxStrings) * kRowLength);
    }

    if (parameters_) {
        int real = 0;
        int text = 0;
        for (Parameter* p = parameters_->first(); p != nullptr; p = parameters_->next()) {
            if (p->type() == Parameter::kReal) {
                if (real < id.maxParameters) BP_[real] = *p->realValue();
                ++real;
            } else {
                if (text < id.maxStrings) {
                    const String& v = p->stringValue();
                    const unsigned length = v.length() < static_cast<unsigned>(kRowLength) ? v.length() : kRowLength;
                    std::memcpy(SP_[text], v.buffer(), length);
                }
                ++text;
            }
        }
    }

    ipSize_ = id.ipSize;
    outputCount_ = OUT_ ? id.outputCount : 0;
    const bool debug = debugMode();
    debugFlag_ = debug ? 1 : 0;
    toEditor_ = conf && conf->javaMode() && debug ? blockToPlumo : nullptr;
    attention_ = kUnbound;
    if (debug) attention_ |= kAnnounce;
    if (group_ == group::kTimer) attention_ |= kProgress;
    if (updateInOut != nullptr || toEditor_ != nullptr || group_ == group::kLoop) attention_ |= kAfterCall;

    const int status = callOutsideSteps(callMode::kInit);
    if (status > 299999) {
        if (markPlumoBlock != nullptr) markPlumoBlock(number_);
    } else if (status > 199999) {
        ++_warnings;
    }

    const int steps = IP_[ipSlot::kTimerSteps];
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    if (group_ == group::kTimer && steps > 0) {
        // The product of many timers' steps must not overflow.
        _totalNumberOfTimerCalls =
            _totalNumberOfTimerCalls > kMax / steps ? kMax : _totalNumberOfTimerCalls * steps;
        _leftNumberOfTimerCalls = _totalNumberOfTimerCalls;
    }
    if (group_ == group::kTimer) progressDue_ = kMax;  // the counts are new: look at the next call
    return true;
}

void SimulatorBlock::tini() {
    if (!IP_ || blockFunction_ == nullptr) return;
    callOutsideSteps(callMode::kLastCall);
}

int SimulatorBlock::callOutsideSteps(int mode) {
    IP_[ipSlot::kStatus] = 0;
    IP_[ipSlot::kCallMode] = mode;
    IP_[ipSlot::kOpMode] = opMode_;
    IP_[ipSlot::kBlockNumber] = number_;
    IP_[ipSlot::kInputCount] = inputCount();
    if (debugMode()) vireoMessage(kCalling, name_, number_);
    const int reportedBefore = *vireo_tools_error_counter();
    calling_ = this;
    callingMode_ = mode;
    blockFunction_(IN_.get(), OUT_.get(), IP_.get(), RP_.get(), DP_.get(), BP_.get(), SP_.get());
    const int status = IP_[ipSlot::kStatus];
    if (status > 299999) countAnsweredError(status, reportedBefore, mode);
    return status;
}

void SimulatorBlock::countAnsweredError(int status, int reportedBefore, int mode) const {
    if (*vireo_tools_error_counter() != reportedBefore) {
        ++_errors;
        return;
    }
    const char* call = mode == callMode::kInit ? "initialisation" : mode == callMode::kStep ? "step" : "last call";
    vireoMessage(kUnreportedError, name_, String(call), number_, status);  // counted as the error it is
}

void SimulatorBlock::bindInputs() {
    // Bound at the first call of the run, not at init(): a delay block or a loop
    // controller that feeds this block comes later in the list and gets its OUT then.
    const unsigned n = inputs_ ? inputs_->length() : 0;
    sources_ = n > 0 ? std::make_unique<const float*[]>(n) : nullptr;
    std::uint32_t negated = 0;
    for (unsigned k = 1; k <= n; ++k) negated += (*inputs_)[k]->negate() != 0 ? 1u : 0u;
    negated_ = negated > 0 ? std::make_unique<std::uint32_t[]>(negated) : nullptr;
    negatedCount_ = 0;
    for (unsigned k = 1; k <= n; ++k) {
        const Input* r = (*inputs_)[k];
        const SimulatorBlock* s = r->source;
        const int o = r->ioNum();
        const bool exists = s != nullptr && s->OUT_ && o >= 1 && o <= s->outputCount_;
        sources_[k - 1] = exists ? &s->OUT_[o - 1] : &kNoValue;
        if (r->negate() != 0) negated_[negatedCount_++] = k - 1;
    }
    sourceCount_ = n;
    attention_ &= static_cast<std::uint8_t>(~kUnbound);
    if (negatedCount_ > 0) attention_ |= kNegated;
}

void SimulatorBlock::handToEditor(UpdateInOutHook hook) {
    // The count is the engine's own: a block may have written anything into IP[4].
    const int nIn = static_cast<int>(sourceCount_);
    hook(number_, nIn, IN_ ? IN_.get() : emptyArray, outputCount_, OUT_ ? OUT_.get() : emptyArray);
}

void SimulatorBlock::showProgress() {
    const std::int64_t total = _totalNumberOfTimerCalls;
    _progress = progressAt(_leftNumberOfTimerCalls, total);
    if (_progress != _progressMemo) {
        _progressMemo = _progress;
        vireoMessage(kLine, "#Progress#" + std::to_string(_progress));
    }
    // The percentage never falls as the count left falls: the largest count below this
    // one at which it is higher, found by halving, is where it is worked out next.
    if (_progressMemo >= 100 || _leftNumberOfTimerCalls <= 0) {
        progressDue_ = std::numeric_limits<std::int64_t>::min();
        return;
    }
    std::int64_t higher = 0;  // 0 calls left: 100 %
    std::int64_t notHigher = _leftNumberOfTimerCalls;
    while (notHigher - higher > 1) {
        const std::int64_t middle = higher + (notHigher - higher) / 2;
        if (progressAt(middle, total) > _progressMemo) higher = middle;
        else notHigher = middle;
    }
    progressDue_ = higher;
}

bool SimulatorBlock::prepareCall(bool lastCall) {
    if (attention_ & kUnready) return false;  // never initialised: nothing to call
    if (attention_ & kUnbound) bindInputs();
    if (attention_ & kAnnounce) vireoMessage(lastCall ? kLastCalling : kStepping, name_, number_);
    return true;
}

void SimulatorBlock::afterCall() {
    if (updateInOut != nullptr) handToEditor(updateInOut);
    if (toEditor_ != nullptr) handToEditor(toEditor_);
    const int* ip = IP_.get();
    if (group_ == group::kLoop && ip[ipSlot::kCallMode] == callMode::kStep && ip[ipSlot::kBranch] == 1) {
        // The loop ends: its top starts afresh at the next entry. A loop top without an
        // own slot cannot keep a pass count, so it is left alone.
        if (next == nullptr) vireoMessage(kLine, std::string("Fatal error: Top of loop not found"));
        else if (next->IP_ && next->ipSize_ > ipSlot::kFirstOwn) next->IP_[ipSlot::kFirstOwn] = 0;
    }
}

SimulatorBlock* SimulatorBlock::alternativeLink() const { return alternative; }

void SimulatorBlock::branchZero() {
    vireoMessage(kBranchZero);
    vireoMessage(kNoWayOn);
}

SimulatorBlock* SimulatorBlock::firstUnsortedSource(SimulatorBlock* exclude, SimulatorBlockList* list) {
    if (!inputs_) return nullptr;
    for (unsigned k = 1; k <= inputs_->length(); ++k) {
        SimulatorBlock* s = (*inputs_)[k]->source;
        if (s == nullptr || s->group() == group::kLoopTop || s->group() == group::kDelay || s->sorted != 0) continue;
        if (list != nullptr && (s == exclude || list->contains(s))) continue;
        return s;
    }
    return nullptr;
}

SimulatorBlock* SimulatorBlock::getUnsortedPredecessor() { return firstUnsortedSource(nullptr, nullptr); }

SimulatorBlock* SimulatorBlock::getUnsortedPredecessor(SimulatorBlock* exclude, SimulatorBlockList& list) {
    return firstUnsortedSource(exclude, &list);
}

void SimulatorBlock::markSuccessors(SubModel* m) {
    markDepthFirst(
        this,
        [m](SimulatorBlock* b) {
            if (b->enclosingSubModels.contains(m)) return false;
            b->enclosingSubModels.last();
            b->enclosingSubModels.insert(m);
            if (b->group() != group::kLoopTop) {
                m->members.last();
                m->members.insert(b);
            }
            return true;
        },
        [](SimulatorBlock* b, unsigned k) -> SimulatorBlock* {
            return b->successors && k <= b->successors->length() ? (*b->successors)[k] : nullptr;
        });
}

void SimulatorBlock::markPredecessors(SubModel* m) {
    markDepthFirst(
        this,
        [m](SimulatorBlock* b) {
            if (b->group() == group::kConstantSource || b->group() == group::kLoopTop) return false;
            if (b->enclosingSubModels.contains(m)) return false;
            b->enclosingSubModels.last();
            b->enclosingSubModels.insert(m);
            m->members.last();
            m->members.insert(b);
            return true;
        },
        [](SimulatorBlock* b, unsigned k) -> SimulatorBlock* {
            // Inputs without a source are passed over; the walk ends after the last input.
            InputList* inputs = b->getInputs();
            for (; inputs != nullptr && k <= inputs->length(); ++k)
                if ((*inputs)[k]->source != nullptr) return (*inputs)[k]->source;
            return nullptr;
        });
}

void SimulatorBlock::checkEnclosure() {
    NestingMemo memo;
    checkEnclosure(memo);
}

void SimulatorBlock::checkEnclosure(NestingMemo& memo) {
    if (allNest(this, true, memo) && allNest(this, false, memo)) return;
    const unsigned n = enclosingSubModels.length();
    for (unsigned i = 1; i < n; ++i) {
        for (unsigned j = i + 1; j <= n; ++j) {
            SubModel* a = enclosingSubModels[i];
            SubModel* b = enclosingSubModels[j];
            if (isLoop(a) != isLoop(b) || nest(a, b)) continue;
            vireoMessage(isLoop(a) ? kLoopsDoNotNest : kSubModelsDoNotNest, name_, number_, a->number(), b->number());
        }
    }
}

SubModel* SimulatorBlock::getEnclosingSubModel() {
    SubModel* candidate = enclosingSubModels[1];
    for (unsigned k = 2; k <= enclosingSubModels.length(); ++k) {
        SubModel* s = enclosingSubModels[k];
        if (candidate->enclosingSubModels.contains(s)) candidate = s;
    }
    return candidate;
}

SubModel::~SubModel() { members.clear(); }

SimulatorBlock* SubModel::getUnsortedPredecessor() {
    if (inputs_) {
        for (unsigned k = 1; k <= inputs_->length(); ++k) {
            SimulatorBlock* s = (*inputs_)[k]->source;
            if (s == nullptr || s->group() == group::kLoopTop || s->group() == group::kDelay || s->sorted != 0) continue;
            if (!members.contains(s)) return s;
        }
    }
    // By position, not by cursor: the sort may be walking this list right now.
    for (unsigned k = 1; k <= members.length(); ++k)
        if (SimulatorBlock* p = members[k]->getUnsortedPredecessor(this, members)) return p;
    return nullptr;
}

void SubModel::markSubModel() {
    if (!successors) return;
    for (unsigned k = 1; k <= successors->length(); ++k) (*successors)[k]->markSuccessors(this);
}

// A sub-model block prints like any other block: its members are blocks of their own.
void SubModel::printOut() { SimulatorBlock::printOut(); }

LoopBlock::~LoopBlock() { partner = nullptr; }

void LoopBlock::markSubModel() {
    SimulatorBlock* candidate = nullptr;
    for (unsigned k = 1; successors && k <= successors->length(); ++k) {
        SimulatorBlock* s = (*successors)[k];
        if (s->group() != group::kLoopTop) continue;
        if (candidate == nullptr) candidate = s;
        else vireoMessage(kSecondLoopTop, number_);
    }
    if (candidate == nullptr) {
        vireoMessage(kNoLoopTop, number_);
        return;
    }
    partner = candidate;
    auto* top = dynamic_cast<SubModel*>(partner);
    if (top == nullptr || !top->successors || top->successors->isEmpty()) {
        vireoMessage(kEmptyLoop, number_);
        return;
    }

    top->markSubModel();
    for (unsigned k = 1; k <= top->successors->length(); ++k) {
        SimulatorBlock* s = (*top->successors)[k];
        s->enclosingSubModels.last();
        s->enclosingSubModels.insert(this);
        members.last();
        members.insert(s);
    }
    if (inputs_) {
        for (unsigned k = 1; k <= inputs_->length(); ++k)
            if (SimulatorBlock* source = (*inputs_)[k]->source) source->markPredecessors(this);
    }
    enclosingSubModels.remove(top);

    // The body keeps the members downstream of the top and upstream of the controller;
    // the loop top gives them up.
    SimulatorBlock* m = members.first();
    while (m != nullptr) {
        if (m->enclosingSubModels.contains(top) && m->enclosingSubModels.contains(this)) {
            if (isTimerDelayOrIteration(m->group())) vireoMessage(kNotInLoop, m->number(), number_);
            top->members.remove(m);
            m->enclosingSubModels.remove(top);
            m = members.next();
        } else {
            m->enclosingSubModels.remove(this);
            members.remove(m);
            m = members.current();
        }
    }
    for (SimulatorBlock* b = top->members.first(); b != nullptr; b = top->members.next())
        b->enclosingSubModels.remove(top);
    top->members.clear();
}

DelayBlock::~DelayBlock() = default;

SimulatorBlock* DelayBlock::getUnsortedPredecessor() {
    if (SimulatorBlock* p = firstUnsortedSource(nullptr, nullptr)) return p;
    for (unsigned k = 1; successors && k <= successors->length(); ++k)
        if ((*successors)[k]->sorted == 0) return (*successors)[k];
    return nullptr;
}

SimulatorBlock* DelayBlock::getUnsortedPredecessor(SimulatorBlock* exclude, SimulatorBlockList& list) {
    if (SimulatorBlock* p = firstUnsortedSource(exclude, &list)) return p;
    for (unsigned k = 1; successors && k <= successors->length(); ++k) {
        SimulatorBlock* s = (*successors)[k];
        if (s->sorted == 0 && s != exclude && !list.contains(s)) return s;
    }
    return nullptr;
}
