#include "Simulator.h"

#include "Config.h"
#include "FatalSignals.h"
#include "fixed_text.h"
#include "vireoEngine.h"
#include "vireo_tools.h"

#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>

namespace {

constexpr int kCompiling = 4001;
constexpr int kEndOfRun = 4004;
constexpr int kRunStopped = 4005;
constexpr int kSummary = 4007;
constexpr int kLine = 4030;
constexpr int kRunning = 4051;
constexpr int kBye = 4999;
constexpr int kNoBlocks = 304009;
constexpr int kFileTypeRefused = 304026;
constexpr int kAcceptedTypes = 304027;
constexpr int kSecondFreeTimer = 304040;
constexpr int kCycle = 304047;
constexpr int kNotAllInitialised = 304032;

constexpr int kProcessEnds = 404902;
constexpr int kProcessCrashes = 404903;

constexpr int kNoSuchChange = 5301;
constexpr int kLastWarning = 299999;

constexpr int kNameWidth = 13;
constexpr std::size_t kPollTextLength = 80;

const char* groupLetters(int g) {
    switch (g) {
        case group::kLoopTop: return "-L";
        case group::kTimerNoProgress: return "-T";
        case group::kUnsorted: return " U";
        case group::kConstantSource: return " C";
        case group::kTimer: return " T";
        case group::kStandard: return " S";
        case group::kLoop: return " L";
        case group::kDelay: return " D";
        case group::kIteration: return " I";
        default: return "";
    }
}

constexpr std::size_t kRow = vireo::protocol::kRow;

bool isTimer(int g) { return g == group::kTimer || g == group::kTimerNoProgress; }

// The Simulator whose run is under way, for the report of a process that ends.
const Simulator* running = nullptr;

// One text of a call's description, made in place: the same description serves a
// signal handler, which may not allocate.
class Row : public vireo_tools::FixedText<kRow> {
public:
    // In its shortest form that reads back the same.
    template <class Number>
    void appendNumber(Number v) {
        char number[32];
        append(std::string_view(number, static_cast<std::size_t>(std::to_chars(number, number + sizeof number, v).ptr - number)));
    }
    void appendValues(const float* values, int n) {
        if (values == nullptr || n <= 0) return append("none");
        for (int i = 0; i < n; ++i) {
            if (i > 0) append(", ");
            appendNumber(values[i]);
        }
    }
};

// The call a library or a signal ends the process in: the block's name, its statement
// in the model, the call, the model time (the free timer's outputs) and the block's
// inputs.
struct CallDescription {
    Row rows[5];
    void describe(SimulatorBlock* b) {
        for (Row& r : rows) r.resize(0);
        rows[0].append(std::string_view(b->name().buffer(), b->name().length()));
        if (b->placeFile().empty()) {
            rows[1].append("no model line");
        } else {
            rows[1].append(b->placeFile());
            rows[1].append(", line ");
            rows[1].appendNumber(b->placeLine());
        }
        const int mode = SimulatorBlock::callingMode();
        rows[2].append(mode == callMode::kInit ? "its initialisation" : mode == callMode::kStep ? "a step" : "its last call");
        SimulatorBlock* t = running != nullptr ? running->freeTimer() : nullptr;
        if (mode == callMode::kInit) {
            rows[3].append("before the first step");
        } else if (t == nullptr || t->record() == nullptr) {
            rows[3].append("no free timer");
        } else {
            rows[3].append(std::string_view(t->name().buffer(), t->name().length()));
            rows[3].append(" ");
            rows[3].appendNumber(t->number());
            rows[3].append(" gives ");
            rows[3].appendValues(t->OUT(), t->OUT() != nullptr ? t->record()->outputCount : 0);
        }
        rows[4].appendValues(b->IN(), b->IN() != nullptr ? b->inputCount() : 0);
    }
};

// A library is about to end the process in the middle of a block's call: one line that
// a user can act on, naming the block, its statement in the model, the model time and
// the values the block was called with.
extern "C" void reportProcessEnd() {
    SimulatorBlock* b = SimulatorBlock::calling();
    if (b == nullptr) return;
    static CallDescription call;
    call.describe(b);
    const auto text = [](const Row& r) { return std::string(std::string_view(r)); };
    b->vireoMessage(kProcessEnds,
                    {text(call.rows[0]), text(call.rows[1]), text(call.rows[2]), text(call.rows[3]),
                     text(call.rows[4])},
                    b->number());
}

// A fatal signal in the middle of the run (a block that crashed): the rows the blocks
// hold are written, and one line names the block in call, before the signal ends the
// process as it would have. Made in static storage and written with write(2) alone.
namespace crash {

CallDescription call;
int ints[16];
char rows[6][kRow];

std::string_view signalName(int signal) {
    switch (signal) {
        case SIGSEGV: return "SIGSEGV (a memory access fault)";
        case SIGBUS: return "SIGBUS (a bus error)";
        case SIGFPE: return "SIGFPE (an arithmetic fault)";
        case SIGILL: return "SIGILL (an illegal instruction)";
        case SIGABRT: return "SIGABRT (an abort)";
        default: return "a fatal signal";
    }
}

void setRow(int row, std::string_view text) {
    const std::size_t n = std::min(text.size(), kRow);
    std::memcpy(rows[row], text.data(), n);
    std::memset(rows[row] + n, ' ', kRow - n);
}

// How far the handler got, and the signal that brought it first. Results that the crash
// ruined may crash in turn as they are written, which brings the handler back (or, for a
// holder that keeps the signals back while it writes, ends the process): the block is
// named first, and each part is tried once.
volatile sig_atomic_t stage = 0;
volatile sig_atomic_t firstSignal = 0;

extern "C" void onBlockCrash(int signal) {
    stage = stage + 1;
    if (stage == 1) {
        firstSignal = signal;
        if (SimulatorBlock* b = SimulatorBlock::calling()) {
            call.describe(b);
            for (int k = 0; k < 5; ++k) setRow(k, call.rows[k]);
            setRow(5, signalName(signal));
            ints[0] = kProcessCrashes;
            ints[1] = b->number();
            ints[2] = signal;
            vireo_tools_last_message(ints, nullptr, &rows[0][0], kRow);
        }
        stage = 2;
    }
    if (stage == 2) {
        stage = 3;
        vireo_tools_write_pending();
    }
    fatal::endWith(firstSignal);
}

}  // namespace crash

// The libraries the process has loaded, the block libraries among them, are files of the
// run too: a block that wrote one would pull the code from under the run.
int claimLibrary(dl_phdr_info* info, std::size_t, void*) {
    const char* path = info->dlpi_name;
    if (path != nullptr && path[0] == '/') vireo_tools_claim_file(path, -1, path, -1, 0, nullptr, 0, nullptr, nullptr);
    return 0;
}

}  // namespace

Simulator::Simulator() {
    getBpFromPlumo_ = reinterpret_cast<GetBpFromPlumoHook>(bridgeFunction("getBpFromPlumo"));
}

Simulator::~Simulator() {
    if (running == this) {
        running = nullptr;
        vireo_tools_on_process_end(nullptr);
    }
    Simulator::clear();
}

void Simulator::clear() {
    model_.clear();
    freeTimer_ = nullptr;
    current_ = nullptr;
    Compiler::clear();
}

void Simulator::printOut() {
    for (SimulatorBlock* b = blocks_.first(); b != nullptr; b = blocks_.next()) b->printOut();
}

void Simulator::execute() {
    if (conf->modelFile().empty()) return;
    // A new run: the files of a run before are no longer claimed, and no result file is
    // started until this one steps.
    vireo_tools_run_begins();
    dl_iterate_phdr(claimLibrary, nullptr);
    vireo_tools_set_run_flag(conf->runFlag());
    running = this;
    vireo_tools_on_process_end(reportProcessEnd);
    _totalNumberOfTimerCalls = 1;
    const std::string type = conf->modelFileType();
    if (type != ".vireo" && type != ".plumo") {
        vireoMessage(kFileTypeRefused);
        vireoMessage(kAcceptedTypes, std::string(".vireo and .plumo"));
        vireoMessage(kSummary, _errors, _warnings);
        vireoMessage(kEndOfRun);
        return;
    }
    if (!conf->suppressCompilingM()) vireoMessage(kCompiling, conf->modelFileShort());

    // Named as the user wrote it; opened by its absolute name, since the working
    // directory is the model's own by now.
    compile(conf->modelFile(), conf->modelPath());

    if (conf->printModel()) {
        printOut();
        vireoMessage(kBye);
        return;
    }
    if (_errors == 0 && blocks_.isEmpty()) {
        vireoMessage(kNoBlocks);
        vireoMessage(kEndOfRun);
        return;
    }
    if (_errors != 0) {
        vireoMessage(kSummary, _errors, _warnings);
        vireoMessage(kEndOfRun);
        return;
    }

    checkModel();
    sort();
    if (_errors == 0) {
        // From the first block call to the last: a block that crashes is named, and the
        // rows held before are kept.
        vireo_tools_prepare_last_message();
        const fatal::Watch watch(crash::onBlockCrash);
        init();
        const bool initFailed = _errors != 0;
        if (conf->showCalculationList()) {
            showCalculationList();
            tini();
            vireoMessage(kBye);
            return;
        }
        if (initFailed) {
            vireoMessage(kSummary, _errors, _warnings);
            tini();
        } else {
            vireoMessage(kSummary, 0, _warnings);
            if (conf->syntaxCheck()) {
                tini();
                vireoMessage(kBye);
                return;
            }
            vireoMessage(kRunning, conf->vireoVersion());
            simulate();
        }
    }
    vireoMessage(conf->runBit() == 1 ? kEndOfRun : kRunStopped);
    vireoMessage(kBye);
}

void Simulator::simulate() {
    if (model_.isEmpty()) return;
    vireo_tools_run_steps();
    RunState run;
    SimulatorBlock* current = model_[1];
    // Kept at hand: a run reads the flag before every step.
    const volatile int* const runFlag = conf->runFlag();
    const bool polls = getBpFromPlumo_ != nullptr;
    const int* const reportedErrors = vireo_tools_error_counter();
    for (;;) {
        int flag = *runFlag;
        // What the blocks hold back of their results is written out while the run
        // pauses: that is when the user looks at the files.
        if (flag == -1) vireo_tools_write_pending();
        while (flag == -1) {
            sleep(1);  // a signal may end it early; the flag is read again either way
            flag = *runFlag;
        }
        if (flag == 0) {
            // Whatever the blocks answer in the pass that follows, it is the last one: a
            // block that keeps withdrawing the end must not keep a stopped run alive.
            run.stop = 1;
            run.lastPass = true;
        }
        if (run.stop != 0) {
            current_ = current;
            if (!endOfRunPass(run)) return;
            current = current_;
            continue;
        }
        // A link that leads nowhere (a block withdrew the end along it), or the end of the
        // sub-model of an iteration that resumed the run: an end-of-run pass decides how
        // the run goes on.
        SimulatorBlock* const passAt = run.iterating ? run.iterationStop : nullptr;
        if (current == nullptr || current == passAt) {
            run.stop = 1;
            run.iterating = false;
            continue;
        }
        // The steps, for as long as the host lets the run go on and no block asks to end
        // it: the loop every step of a run goes through.
        int stop = 0;
        // A block that reports an error also answers one (the frame keeps the most severe
        // code), so the count of reported errors is read again only when an error is
        // answered, not around every step.
        int reportedBefore = *reportedErrors;
        SimulatorBlock::enteringSteps();
        for (;;) {
            int status = 0;
            SimulatorBlock* const called = current;
            current = current->step(stop, status);
            // An error a block answers is an error of the run, whether or not it reported it.
            if (status > kLastWarning) [[unlikely]] {
                called->countAnsweredError(status, reportedBefore, callMode::kStep);
                reportedBefore = *reportedErrors;
            }
            // One read of the host's flag a step: 1 runs on, and anything else is looked at
            // out of the way; 2 brings the editor's parameter changes first, 0 stops the run
            // and -1 pauses it (the cycle sees to both).
            flag = *runFlag;
            if (flag != 1) [[unlikely]] {
                if (polls && flag == 2) {
                    pollParameterChanges();
                    flag = *runFlag;
                }
                if (flag == 0 || flag == -1) break;
            }
            if (stop != 0 || current == nullptr || current == passAt) break;
        }
        if (stop != 0 || current == nullptr) run.stop = 1;
    }
}

bool Simulator::endOfRunPass(RunState& run) {
    const unsigned length = model_.length();
    for (unsigned k = run.resume; k <= length; ++k) {
        SimulatorBlock* b = model_[k];
        SimulatorBlock* noted = b->next;
        int status = 0;
        run.stop = 1;  // every block of the pass gets a last call
        const int reportedBefore = *vireo_tools_error_counter();
        SimulatorBlock* link = b->call(run.stop, status);
        if (status > kLastWarning) [[unlikely]] b->countAnsweredError(status, reportedBefore, callMode::kLastCall);
        if (run.stop != 0 || run.lastPass) continue;
        run.resume = k;
        current_ = link;
        run.iterating = b->group() == group::kIteration;
        run.iterationStop = run.iterating ? noted : nullptr;
        return true;
    }
    run.stop = 1;
    return false;
}

void Simulator::pollParameterChanges() {
    int pair[2];
    float value;
    char text[kPollTextLength];
    // Cleared before every poll: a bridge that answers "no change" by writing nothing
    // must not replay the change before.
    auto poll = [&] {
        pair[0] = pair[1] = 0;
        value = 0.0f;
        std::memset(text, 0, sizeof text);
        getBpFromPlumo_(pair, &value, text);
    };
    for (poll(); pair[0] != 0 && pair[1] != 0; poll()) changeBlockParameter(pair[0], pair[1], value, text);
}

void Simulator::changeBlockParameter(int blockNumber, int index, float value, char* text) {
    // The real parameters of a block in model order, numbered from 1, with the BP slot
    // each one fills; `visit` returns false to stop the walk.
    auto forEachReal = [](SimulatorBlock* b, auto visit) {
        BlockParameters* list = b->getParameters();
        float* bp = b->getBParray();
        if (list == nullptr || bp == nullptr || b->record() == nullptr) return;
        const int slots = b->record()->maxParameters;
        int k = 0;
        for (unsigned i = 1; i <= list->length() && k < slots; ++i) {
            Parameter* p = (*list)[i];
            if (p->type() != Parameter::kReal) continue;
            float& slot = bp[k++];
            if (!visit(*p, slot, k)) return;
        }
    };

    for (unsigned i = 1; i <= model_.length(); ++i) {
        SimulatorBlock* b = model_[i];
        if (b->number() != blockNumber) continue;
        forEachReal(b, [&](Parameter&, float& slot, int k) {
            if (k != index) return true;
            slot = value;
            b->markParametersChanged();
            return false;
        });
        return;  // an index beyond the block's real parameters changes nothing
    }

    if (index != 1) {
        vireoMessage(kNoSuchChange);
        return;
    }
    // The editor's text holds at most 80 characters and need not end with a NUL.
    const std::size_t length = text != nullptr ? strnlen(text, kPollTextLength) : 0;
    for (unsigned i = 1; i <= model_.length(); ++i) {
        forEachReal(model_[i], [&](Parameter& p, float& slot, int) {
            const Constant* c = p.constHandle();
            if (c != nullptr && c->name().length() == length && std::memcmp(c->name().buffer(), text, length) == 0) {
                slot = value;
                model_[i]->markParametersChanged();
            }
            return true;
        });
    }
}

void Simulator::checkModel() {
    freeTimer_ = nullptr;
    SimulatorBlock* b = blocks_.first();
    while (b != nullptr) {
        bool removed = false;
        switch (b->group()) {
            case group::kUnsorted:
                if (b->name() == String("_NODE")) vprint("UBN = %5d   %s    NOI = %5d", b->number(), "_NODE", b->inputCount());
                [[fallthrough]];
            case group::kConstantSource:
                blocks_.remove(b);
                model_.insert(b);
                removed = true;
                break;
            case group::kTimer:
            case group::kTimerNoProgress:
                if (b->getInputs() != nullptr) {
                    if (auto* s = dynamic_cast<SubModel*>(b)) s->markSubModel();
                } else if (freeTimer_ != nullptr) {
                    vireoMessage(kSecondFreeTimer);
                    b = nullptr;  // the rest of the model is not looked at
                    continue;
                } else {
                    blocks_.remove(b);
                    freeTimer_ = b;
                    removed = true;
                }
                break;
            case group::kLoop:
                if (auto* loop = dynamic_cast<LoopBlock*>(b)) {
                    loop->markSubModel();
                    if (loop->partner != nullptr) blocks_.remove(loop->partner);
                }
                break;
            case group::kIteration:
                if (auto* s = dynamic_cast<SubModel*>(b)) s->markSubModel();
                break;
            default: break;
        }
        b = removed ? blocks_.current() : blocks_.next();
    }
    if (freeTimer_ != nullptr) model_.insert(freeTimer_);
    NestingMemo memo;
    for (b = blocks_.first(); b != nullptr; b = blocks_.next()) b->checkEnclosure(memo);
}

void Simulator::sortBlocksWithoutInputs() {
    SimulatorBlock* b = blocks_.first();
    while (b != nullptr) {
        if (b->group() == group::kStandard && b->getInputs() == nullptr) {
            blocks_.remove(b);
            model_.insert(b);
            b = blocks_.current();
        } else {
            b = blocks_.next();
        }
    }
}

void Simulator::sort() {
    sortBlocksWithoutInputs();
    if (_errors != 0) return;
    stackSort(blocks_);
    if (!model_.isEmpty()) model_.last()->next = freeTimer_;
    rewire();
}

// Timers close the loops of their sub-models and lead on past them; a loop controller
// jumps back to its loop top; an iteration block leads past its sub-model. Every block
// is rewired, also the first after the constant sources when the model has no free
// timer: otherwise a timer or iteration standing there would keep its sub-model open.
void Simulator::rewire() {
    for (SimulatorBlock* b = model_.first(); b != nullptr; b = model_.next()) {
        if (isTimer(b->group())) {
            if (b->alternative != nullptr) {
                SimulatorBlock* last = b->next;
                if (last != nullptr) {
                    b->next = last->next;
                    last->next = b;
                }
            } else {
                b->alternative = b;
            }
        } else if (b->group() == group::kLoop) {
            auto* loop = dynamic_cast<LoopBlock*>(b);
            b->alternative = b->next;
            if (loop != nullptr && loop->partner != nullptr) b->next = loop->partner;
        } else if (b->group() == group::kIteration) {
            if (b->alternative != nullptr) b->next = b->next != nullptr ? b->next->next : nullptr;
            else b->alternative = b->next;
        }
    }
}

bool Simulator::placed(const SimulatorBlock* b) const { return b->sorted != 0 || placing_.count(b) != 0; }

SimulatorBlock* Simulator::outer(SimulatorBlock* x) const {
    // A sub-model already placed has placed its members; a block still waiting that it
    // encloses (a loop top below a timer, which is no member) is placed on its own.
    SubModel* s = x->getEnclosingSubModel();
    return s != nullptr && !placed(s) ? s : x;
}

void Simulator::place(SimulatorBlock* x, SimulatorBlockList& list) {
    // A block met again after it was placed (a sub-model's owner that lies in its own
    // sub-model) only leaves the list: it is never placed twice, and the members still
    // waiting in the list stay there.
    if (placed(x)) {
        list.remove(x);
        return;
    }
    removeBlockFromList(x, list);
    insertBlockIntoModel(x);
}

void Simulator::removeBlockFromList(SimulatorBlock* b, SimulatorBlockList& list) {
    if (b == nullptr) return;
    const int g = b->group();
    if (isTimer(g) || g == group::kLoop || g == group::kIteration) {
        if (auto* s = dynamic_cast<SubModel*>(b); s != nullptr && &s->members != &list) {
            for (unsigned k = 1; k <= s->members.length(); ++k) list.remove(s->members[k]);
        }
    }
    list.remove(b);
}

void Simulator::insertBlockIntoModel(SimulatorBlock* b) {
    if (b == nullptr || placed(b)) return;
    const int g = b->group();
    auto* s = dynamic_cast<SubModel*>(b);
    if (s != nullptr && (isTimer(g) || g == group::kIteration)) {
        model_.insert(b);
        for (unsigned k = 1; k <= s->members.length(); ++k) s->members[k]->enclosingSubModels.remove(s);
        stackSort(s->members);
        b->alternative = b->next;
        b->next = model_.last();
    } else if (auto* loop = dynamic_cast<LoopBlock*>(b); loop != nullptr && g == group::kLoop) {
        if (loop->partner != nullptr && loop->partner->sorted == 0) model_.insert(loop->partner);
        for (unsigned k = 1; k <= loop->members.length(); ++k) loop->members[k]->enclosingSubModels.remove(loop);
        placing_.insert(b);
        stackSort(loop->members);
        placing_.erase(b);
        model_.insert(b);
    } else {
        model_.insert(b);
    }
}

void Simulator::stackSort(SimulatorBlockList& list) {
    SimulatorBlockStack stack;
    do {
        SimulatorBlock* k = list.first();
        SimulatorBlock* p = nullptr;
        if (k != nullptr) {
            k = outer(k);
            p = k->getUnsortedPredecessor();
        }
        while (k != nullptr && p == nullptr) {
            place(k, list);
            k = list.current();
            if (k != nullptr) {
                k = outer(k);
                p = k->getUnsortedPredecessor();
            }
        }
        if (k == nullptr) continue;
        do {
            while (p != nullptr) {
                p = outer(p);
                if (p->onStack != 0 || placing_.count(p) != 0) {
                    // p waits, directly or through others, for k: it is on the stack, or
                    // it is a loop controller whose body, k among it, is being placed.
                    vireoMessage(kCycle, k->name(), p->name(), k->number(), p->number());
                    k = p = nullptr;
                    stack.clear();
                } else {
                    stack.push(k);
                    k = p;
                    p = k->getUnsortedPredecessor();
                }
            }
            while (k != nullptr && p == nullptr) {
                place(k, list);
                k = stack.pop();
                if (k != nullptr) p = k->getUnsortedPredecessor();
            }
        } while (!stack.isEmpty() || p != nullptr);
    } while (!list.isEmpty() && _errors == 0);
}

void Simulator::showCalculationList() {
    vireoMessage(kLine, std::string("Number    Block       Group    Jump"));
    const std::string rule(35, '-');
    vireoMessage(kLine, rule);
    std::unordered_map<const SimulatorBlock*, int> position;
    int r = 0;
    for (unsigned k = 1; k <= model_.length(); ++k) position.emplace(model_[k], static_cast<int>(k));
    for (SimulatorBlock* b = model_.first(); b != nullptr; b = model_.next()) {
        ++r;
        int jump = 0;
        if (b->next != nullptr) {
            auto found = position.find(b->next);
            jump = found != position.end() ? found->second - r : 0;
        }
        char number[16];
        std::snprintf(number, sizeof number, "%6d", b->number());
        char jumpText[16];
        std::snprintf(jumpText, sizeof jumpText, "%10d", jump);
        std::string row = std::string(number) + "    " + b->name().str();
        if (b->name().length() < static_cast<unsigned>(kNameWidth)) row.append(kNameWidth - b->name().length(), ' ');
        row += groupLetters(b->group());
        row += jumpText;
        print(row.c_str());
    }
    vireoMessage(kLine, rule);
}

void Simulator::init() {
    int initialised = 0;
    for (current_ = model_.first(); current_ != nullptr; current_ = model_.next())
        if (current_->init()) ++initialised;
    const int listed = static_cast<int>(model_.length());
    if (initialised != listed) vireoMessage(kNotAllInitialised, initialised, listed);
}

void Simulator::tini() {
    for (current_ = model_.first(); current_ != nullptr; current_ = model_.next()) {
        current_->tini();  // counts the error it answers
    }
}
