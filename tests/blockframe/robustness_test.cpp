// Every block of the block libraries, found as the loader finds them (the exported names
// of block form) and placed under each of its names, pushed where a model or the editor
// can push it:
// - inputs that are finite numbers: 0, 1, the ends of the float range, values just above
//   0 and numbers drawn over the whole range, mixed with ordinary values so that the
//   steps also reach the blocks' inner paths (seeded, so a failure repeats);
// - each parameter at the bounds its table gives it, which the table takes and the block
//   must run on (unless a check of its own over several parameters refuses the extreme,
//   and then it never steps), and just beyond them, which must be a counted error at
//   initialisation naming the block and the parameter, after which the block never steps;
// - each parameter at 0, -1, tiny and huge values at initialisation, and changed during
//   the run as the editor bridge changes it (the value written, the change marked in the
//   parameter slot) to ordinary, absurd and not-a-number values: a change is refused
//   exactly where initialisation refuses the value (by the table's rule, naming the
//   parameter, or by the block's own checks and ties), with the same counted errors, and
//   the block does not step on it, unless the block takes the parameter only at
//   initialisation and warns that the change is not taken; any other value must run.
// Nowhere may a block crash, hang, overflow a signed integer (the sanitizer pass runs
// this suite) or put out a value that is not finite. A block without a parameter table
// yet gets the input and parameter-value sweeps, whatever its own checks make of them.
// A library's cases run in a process of their own, each under an alarm, so that a block
// whose design ends the process, or one that never returns, ends only that process; the
// next case goes on in a new one. A block whose names read their parameters differently
// is tried under each name with that name's table.
#include "block_harness.h"
#include "library_table.h"
#include "message_capture.h"
#include "running_parameters.h"
#include "param_tables.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// Under the sanitizers a finding ends the process with a status of its own, so that it
// is never taken for the water and steam blocks' designed end (status 1).
extern "C" const char* __asan_default_options() { return "exitcode=86"; }
extern "C" const char* __ubsan_default_options() { return "exitcode=87:print_stacktrace=1"; }

using vireo::block::Bound;
using vireo::block::Param;
using vireo_test::BlockInstance;

namespace {

// Blocks whose outputs come from files and not from their inputs: the weather database's
// lookup and update need a database, the user's CSV blocks their files, which the tests
// of their own area provide.
const std::set<std::string> kNeedFiles = {"em0018", "em0118", "em0026", "ubcsvin", "ubcsvout"};

// Blocks that still put out a value that is not finite, each left to the mend of its
// own physics: a run of this list's block shows here as its failures, and a block that
// is mended must leave the list.
const std::set<std::string> kKnownNonFinite = {};

// Blocks whose calls on extreme values run to their bounds of work, too slow for a sweep
// of seconds: GENGT redraws a month's temperatures until they meet its tolerance, up to
// 20000 times, about 1 s a month where they never do. They are initialised on every value
// and refuse as the others do, but step only on the parameters of their row.
const std::set<std::string> kSlowOnExtremes = {"em0022", "em0122"};

// The water and steam blocks end the process with their report on a state outside the
// formulation's ranges, as the property routines are designed to (status 1, nothing
// after the report): the sweep checks the calls they make before that.
const std::set<std::string> kEndTheProcess = {"pp0013", "pp0014", "pp0015", "pp0016"};
constexpr int kDesignedEnd = 1;

// The blocks of the second sign convention, each with the block it hands its calls to: they
// rewrite their site into that block's convention at initialisation only, so that a site
// the editor changes reaches the wrapped block as it comes, and is held to what that block
// refuses at initialisation.
const std::map<std::string, std::string> kEastward = {
    {"em0106", "em0006"}, {"em0108", "em0008"}, {"em0112", "em0012"}, {"em0115", "em0015"},
    {"em0116", "em0016"}, {"em0117", "em0017"}, {"em0120", "em0020"}, {"em0122", "em0022"}};

// Finite inputs at the ends of the range and ordinary ones, among them a date and an hour.
constexpr float kExtreme[] = {0, 1, -1, 1e30f, -1e30f, 3.3e38f, -3.3e38f, 1e-30f, -1e-30f, 1e-40f};
constexpr float kOrdinary[] = {20, 0.5f, 2023, 6, 15, 12, 100, 1000, 300, 1e5f, 600, 45, 0.02f, 4};
// Parameter values at initialisation, and those the editor may write during a run (a site's
// among them: a latitude beyond the poles, a longitude beyond a turn, a zone of half an hour).
constexpr float kAtInit[] = {0, -1, 1e-30f, -3e9f, 3e38f};
constexpr float kChanged[] = {std::numeric_limits<float>::quiet_NaN(), 0, -1, 0.5f, 150, -150, 400, 1e9f, -3e9f, 3e38f};
constexpr int kSweepSteps = 40;
constexpr int kSteps = 2;
// Of the parameters of a block without a table, those tried: all of them, or as many
// spread evenly over a long list (GENV's 148 are runs of like ones).
constexpr std::size_t kMostSwept = 32;
constexpr unsigned kSecondsPerCase = 20;

std::string number(float x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", double(x));
    return text;
}

// Bit for bit, so that a NaN kept in a block's state equals itself.
template <class T>
bool same(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// The parameters a table row stands for: a ranged row a run of like ones.
template <class Row>
int rowLength(const Row& row) {
    if constexpr (requires { row.count; }) return std::max(row.count, 1);
    else return 1;
}

// One block of a library, with the parameters it runs on and its table, if it has one.
struct Block {
    std::string routine;
    vireo_test::BlockFunction f;
    vireo_test::Identity id;
    std::vector<float> base;  // every parameter the identity declares; those left out are 0
    // Under each name, each parameter's row of the table (the names of a block whose names
    // read its parameters alike share one); empty while the block has none.
    std::vector<std::vector<const Param*>> forms;
    // The block whose initialisation a changed parameter is held to: itself, or the block
    // a block of the second sign convention wraps.
    vireo_test::BlockFunction atInit;

    std::string at(int opMode) const { return routine + " " + id.names()[std::size_t(opMode - 1)]; }
    const std::vector<const Param*>& rows(int opMode) const {
        static const std::vector<const Param*> none;
        return forms.empty() ? none : forms[std::size_t(opMode - 1)];
    }
    // The table's rule for parameter i, or null where there is none.
    const Param* rule(std::size_t i, int opMode) const {
        const auto& r = rows(opMode);
        return i < r.size() && !r[i]->bound.none ? r[i] : nullptr;
    }
    // Whether the table refuses v for parameter i; a left-out optional one (0) is not checked.
    bool refuses(std::size_t i, float v, int opMode) const {
        const Param* p = rule(i, opMode);
        return p != nullptr && !(p->absent.optional && v == 0.0f) && !p->bound.holds(v);
    }
    std::string parameter(std::size_t i, int opMode) const {
        const auto& r = rows(opMode);
        return "parameter " + std::to_string(i + 1) + (i < r.size() ? std::string(" (") + r[i]->name + ")" : "");
    }
};

// What one case is handed in its process: its block, the faults it finds, the inputs it
// steps on.
class Probe {
public:
    Probe(const Block& block, int opMode, FILE* to, const vireo_test::MessageCapture& capture, unsigned seed)
        : block_(block), opMode_(opMode), to_(to), capture_(capture), random_(seed) {}

    int opMode() const { return opMode_; }
    void fault(const std::string& text) {
        std::string line = text;
        std::replace(line.begin(), line.end(), '\n', ' ');
        std::fprintf(to_, "F %s\n", line.c_str());
    }
    // The message records of fn's calls alone.
    template <class Fn>
    std::vector<vireo_test::TraceRecord> traced(Fn&& fn) {
        if (FILE* f = std::fopen(capture_.tracePath().c_str(), "w")) std::fclose(f);
        fn();
        return capture_.records();
    }
    // Wired with every input the block takes, or with `inputs`; of the block's own function,
    // or of the one a change is held to at initialisation.
    BlockInstance instance(const std::vector<float>& p, int inputs = -1, bool atInit = false) {
        return BlockInstance(atInit ? block_.atInit : block_.f,
                             {.inputs = inputs < 0 ? block_.id.maxInputs() : inputs, .parameters = p, .opMode = opMode_});
    }
    // Inputs of one step: ordinary values, or with `extreme` also the ends of the range and
    // numbers drawn over all of it, tiny and subnormal ones among them.
    std::vector<float> inputs(std::size_t n, bool extreme) {
        std::uniform_int_distribution<int> kind(0, extreme ? 2 : 0), exponent(-140, 127), sign(0, 1);
        std::uniform_int_distribution<std::size_t> pickExtreme(0, std::size(kExtreme) - 1),
            pickOrdinary(0, std::size(kOrdinary) - 1);
        std::uniform_real_distribution<float> mantissa(1.0f, 2.0f);
        std::vector<float> in(n);
        for (float& x : in) switch (kind(random_)) {
                case 0: x = kOrdinary[pickOrdinary(random_)]; break;
                case 1: x = kExtreme[pickExtreme(random_)]; break;
                default: x = (sign(random_) != 0 ? -1.0f : 1.0f) * std::ldexp(mantissa(random_), exponent(random_));
            }
        return in;
    }
    // Steps b, each on fresh inputs; a fault for the first output that is not finite.
    void run(BlockInstance& b, int steps, bool extreme, const std::string& after) {
        for (int s = 0; s < steps; ++s) {
            const std::vector<float> in = inputs(b.IN.size(), extreme);
            const auto& out = b.step(in);
            for (std::size_t k = 0; k < out.size(); ++k)
                if (!std::isfinite(out[k])) {
                    fault("OUT[" + std::to_string(k) + "] " + number(out[k]) + " " + after + ", step " +
                          std::to_string(s) + " on " + ::testing::PrintToString(in));
                    return;
                }
        }
    }
    // A step on parameters that are refused: it must leave b as it stood. Its message
    // records.
    std::vector<vireo_test::TraceRecord> refusedStep(BlockInstance& b, const std::string& after) {
        const auto out = b.OUT;
        const auto rp = b.RP;
        const auto dp = b.DP;
        const std::vector<int> own(b.IP.begin() + 10, b.IP.end());
        const auto records = traced([&] { b.step(inputs(b.IN.size(), false)); });
        const std::vector<int> ownAfter(b.IP.begin() + 10, b.IP.end());
        const std::string moved = !same(b.OUT, out) ? "OUT" : !same(b.RP, rp) ? "RP" : !same(b.DP, dp) ? "DP"
                                  : !same(ownAfter, own) ? "IP" : "";
        if (!moved.empty()) fault("stepped (its " + moved + " moved) " + after);
        return records;
    }
    // The same where the refusal has been reported already: the step is silent too.
    void noStep(BlockInstance& b, const std::string& after) {
        if (!vireo_test::codesOf(refusedStep(b, after)).empty()) fault("sent messages on a step it did not make " + after);
    }
    // Whether the frame refused the block's changed parameters: the step did not run.
    static bool refusedByChange(const BlockInstance& b) {
        namespace slot = vireo::protocol::ipSlot;
        return (b.IP[slot::kParameterState] & vireo::block::parameterState::kRefusedByChange) != 0;
    }
    // The counted errors of the records, each with the parameter it names, in order of
    // code: what refused a block.
    static std::string refusals(const std::vector<vireo_test::TraceRecord>& records) {
        std::vector<std::string> errors;
        for (const auto& r : records)
            if (!r.isCall() && r.code() / 100000 == 3)
                errors.push_back(std::to_string(r.code()) + (r["i10"].empty() ? "" : " naming " + r["i10"]));
        std::sort(errors.begin(), errors.end());
        std::string text;
        for (const std::string& e : errors) text += (text.empty() ? "" : ", ") + e;
        return text;
    }
    // Whether the records warn that a change of parameter i is not taken.
    static bool notTaken(const std::vector<vireo_test::TraceRecord>& records, std::size_t i) {
        return std::any_of(records.begin(), records.end(), [&](const vireo_test::TraceRecord& r) {
            return !r.isCall() && r.code() == 209004 && r["i10"] == std::to_string(i + 1);
        });
    }
    // The records' codes, each with the parameter it names, for a fault's text.
    static std::string seen(const std::vector<vireo_test::TraceRecord>& records) {
        std::string text = "(sent:";
        for (const auto& r : records)
            if (!r.isCall()) text += " " + std::to_string(r.code()) + (r["i10"].empty() ? "" : " naming " + r["i10"]);
        return text + ")";
    }
    // Whether the records hold a counted error with the table's code for parameter i,
    // naming the block.
    bool named(const std::vector<vireo_test::TraceRecord>& records, std::size_t i) const {
        const auto& rows = block_.rows(opMode_);
        const Param& p = *rows[i];
        const std::string name = block_.id.names()[std::size_t(opMode_ - 1)];
        // A message without the parameter's number names it by its code, its own in the table.
        const bool ownCode = std::count_if(rows.begin(), rows.end(), [&](const Param* q) {
                                 return q->code.number == p.code.number;
                             }) == 1;
        return std::any_of(records.begin(), records.end(), [&](const vireo_test::TraceRecord& r) {
            const std::string number = r["i10"];
            return r.code() == p.code.number && r.code() / 100000 == 3 && r["s1"] == name &&
                   (number == std::to_string(i + 1) || (number.empty() && ownCode));
        });
    }

private:
    const Block& block_;
    int opMode_;
    FILE* to_;
    const vireo_test::MessageCapture& capture_;
    std::mt19937 random_;
};

struct Case {
    const Block* block;
    std::string what;
    int opMode;
    std::function<void(Probe&)> body;

    std::string where() const { return block->at(opMode) + ", " + what; }
};

struct Fault {
    const Block* block;
    std::string text;
};

// The cases, run in a child process until one ends it: the next goes on in a new one.
// The faults, each naming block, name and case; the blocks that ended the process as
// they are designed to.
std::vector<Fault> runCases(const std::vector<Case>& cases, unsigned seed, std::set<const Block*>& endedAsDesigned) {
    std::vector<Fault> faults;
    for (std::size_t start = 0; start < cases.size();) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) throw std::runtime_error("no pipe");
        std::fflush(nullptr);
        const pid_t child = fork();
        if (child < 0) throw std::runtime_error("no process");
        if (child == 0) {
            close(pipeEnds[0]);
            FILE* to = fdopen(pipeEnds[1], "w");
            setvbuf(to, nullptr, _IONBF, 0);
            // The blocks' message texts are no concern here; their trace is.
            const int nowhere = open("/dev/null", O_WRONLY);
            if (nowhere >= 0) dup2(nowhere, STDOUT_FILENO);
            const vireo_test::MessageCapture capture;
            for (std::size_t k = start; k < cases.size(); ++k) {
                alarm(kSecondsPerCase);
                std::fprintf(to, "B %zu\n", k);
                Probe probe(*cases[k].block, cases[k].opMode, to, capture, seed + unsigned(k));
                try {
                    cases[k].body(probe);
                } catch (const std::exception& e) {
                    probe.fault(std::string("the harness threw: ") + e.what());
                }
                std::fprintf(to, "D %zu\n", k);
            }
            std::fflush(nullptr);
            _exit(0);
        }
        close(pipeEnds[1]);
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, std::size_t(n));
        close(pipeEnds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        std::size_t begun = start, done = cases.size();
        bool finished = false;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = text.find('\n', at);
            const std::string line = text.substr(at, end - at);
            at = end == std::string::npos ? text.size() : end + 1;
            if (line.starts_with("B ")) begun = std::stoul(line.substr(2));
            else if (line.starts_with("D ")) done = std::stoul(line.substr(2)), finished = done + 1 == cases.size();
            else if (line.starts_with("F "))
                faults.push_back({cases[begun].block, cases[begun].where() + ": " + line.substr(2)});
        }
        if (finished && WIFEXITED(status) && WEXITSTATUS(status) == 0) break;
        const Block* block = cases[begun].block;
        const bool designed = kEndTheProcess.contains(block->routine) && WIFEXITED(status) &&
                              WEXITSTATUS(status) == kDesignedEnd;
        if (designed) endedAsDesigned.insert(block);
        if (!designed) {
            const std::string how = WIFSIGNALED(status) ? (WTERMSIG(status) == SIGALRM
                                                               ? "no return within " + std::to_string(kSecondsPerCase) + " s"
                                                               : "ended by signal " + std::to_string(WTERMSIG(status)))
                                                        : "ended with status " + std::to_string(WEXITSTATUS(status));
            faults.push_back({block, cases[begun].where() + ": " + how});
        }
        start = begun + 1;
    }
    return faults;
}

// Values near a rule's bounds: those it holds (at the bounds, and for a whole rule the
// values that round onto them) and those it refuses (the nearest floats beyond, a whole
// number beyond, an infinity beyond the largest float). A left-out optional parameter (0)
// stands for its default and is neither.
void nearBounds(const Param& p, std::vector<float>& at, std::vector<float>& beyond) {
    const Bound& b = p.bound;
    std::vector<float> candidates;
    for (const float end : {b.low, b.high}) {
        if (std::isinf(end)) continue;
        const float inf = std::numeric_limits<float>::infinity();
        candidates.insert(candidates.end(), {end, std::nextafter(end, -inf), std::nextafter(end, inf)});
        if (b.whole) candidates.insert(candidates.end(), {end - 1, end + 1, end - 0.4f, end + 0.4f, end - 0.6f, end + 0.6f});
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    for (const float v : candidates) {
        if (p.absent.optional && v == 0.0f) continue;
        (b.holds(v) ? at : beyond).push_back(v);
    }
}

// Which of a block's parameters to try under a name: all of them, or for a ranged row's
// run its first, its last and two between; of a long list without a table as many as
// spread evenly over it.
std::vector<std::size_t> parametersToTry(const Block& block, int opMode) {
    std::vector<std::size_t> tried;
    const std::size_t count = block.base.size();
    const auto& rows = block.rows(opMode);
    if (rows.empty()) {
        for (std::size_t k = 0; k < std::min(count, kMostSwept); ++k) tried.push_back(k * count / std::min(count, kMostSwept));
        return tried;
    }
    for (std::size_t first = 0, last; first < rows.size() && first < count; first = last) {
        for (last = first + 1; last < rows.size() && rows[last] == rows[first];) ++last;
        const std::size_t n = last - first;
        if (n <= 4) {
            for (std::size_t i = first; i < last; ++i) tried.push_back(i);
        } else {
            tried.insert(tried.end(), {first, first + n / 3, first + 2 * n / 3, last - 1});
        }
    }
    for (std::size_t i = rows.size(); i < count; ++i) tried.push_back(i);
    return tried;
}

std::vector<Case> casesOf(const Block& block) {
    std::vector<Case> cases;
    const int names = block.id.nameCount();
    // Where the names read the parameters alike, the cases take the names in turn.
    const bool perName = std::any_of(block.forms.begin(), block.forms.end(),
                                     [&](const auto& form) { return form != block.forms.front(); });
    int name = 1;
    const auto add = [&](std::string what, std::function<void(Probe&)> body) {
        const int opMode = perName ? name : 1 + int(cases.size() % std::size_t(names));
        cases.push_back({&block, std::move(what), opMode, std::move(body)});
    };
    // Steps on extreme parameter values.
    const int steps = kSlowOnExtremes.contains(block.routine) ? 0 : kSteps;

    // Inputs over the whole float range, under every name.
    if (!kSlowOnExtremes.contains(block.routine))
        for (int n = 0; n < names; ++n)
            add("finite inputs", [&block](Probe& probe) {
                BlockInstance b = probe.instance(block.base);
                if (b.init() >= 300000) return probe.fault("refused its parameters");
                probe.run(b, kSweepSteps, true, "on finite inputs");
            });

    for (name = 1; name <= (perName ? names : 1); ++name) {
        // The rows and the parameters of the name, or of all names alike.
        const int form = perName ? name : 1;
        const std::vector<std::size_t> tried = parametersToTry(block, form);

        // Each parameter near its rule's bounds.
        for (const std::size_t i : tried) {
            if (block.rule(i, form) == nullptr) continue;
            std::vector<float> at, beyond;
            nearBounds(*block.rows(form)[i], at, beyond);
            for (const float v : at)
                add(block.parameter(i, form) + " at its bound " + number(v), [&block, i, v, steps](Probe& probe) {
                    std::vector<float> p = block.base;
                    p[i] = v;
                    BlockInstance b = probe.instance(p);
                    int status = 0;
                    probe.traced([&] { status = b.init(); });
                    // A check the block makes over several parameters may still refuse an
                    // extreme value (VRED's outlet diameter of 3e38 m is not below its
                    // inlet's); then it does not step either.
                    if (status >= 300000) return probe.noStep(b, "after refusing its parameters");
                    probe.run(b, steps, false, "at the bound");
                });
            for (const float v : beyond)
                add(block.parameter(i, form) + " beyond its bound at " + number(v), [&block, i, v](Probe& probe) {
                    std::vector<float> p = block.base;
                    p[i] = v;
                    BlockInstance b = probe.instance(p);
                    int status = 0;
                    const auto records = probe.traced([&] { status = b.init(); });
                    if (!probe.named(records, i)) probe.fault("no counted error naming it " + Probe::seen(records));
                    if (status < 300000) probe.fault("status " + std::to_string(status) + ", not an error");
                    probe.noStep(b, "after refusing it");
                });
        }

        // Each parameter at 0, -1, tiny and huge values: refused where the table's rule is
        // broken, else run (or refused by the block's own checks, on which it never steps).
        for (const std::size_t i : tried)
            add(block.parameter(i, form) + " at 0, -1, tiny and huge values", [&block, i, steps](Probe& probe) {
                for (const float v : kAtInit) {
                    std::vector<float> p = block.base;
                    p[i] = v;
                    BlockInstance b = probe.instance(p);
                    int status = 0;
                    const auto records = probe.traced([&] { status = b.init(); });
                    const std::string after = "at " + number(v);
                    if (block.refuses(i, v, probe.opMode())) {
                        if (!probe.named(records, i))
                            probe.fault("no counted error naming it " + after + " " + Probe::seen(records));
                        probe.noStep(b, "after refusing it " + after);
                    } else if (status < 300000) {
                        probe.run(b, steps, false, after);
                    } else if (!block.forms.empty()) {
                        probe.noStep(b, "after its initialisation was refused " + after);
                    }
                }
            });

        // Each parameter changed during the run, as the editor bridge changes it, to values
        // ordinary and absurd and to those near its bounds, one after the other, then back:
        // a change is refused exactly where initialisation refuses the value, with the same
        // counted errors (a broken rule of the table's naming the parameter), and the block
        // does not step on it; any other value runs. Wired with every input and with the
        // fewest, so that a parameter whose value needs an input is tried without it.
        for (const std::size_t i : tried) {
            std::vector<float> values(std::begin(kChanged), std::end(kChanged));
            if (const Param* rule = block.rule(i, form)) nearBounds(*rule, values, values);
            add(block.parameter(i, form) + " changed during the run", [&block, i, values, steps](Probe& probe) {
                for (const int wired : std::set<int>{block.id.maxInputs(), block.id.minInputs()}) {
                    BlockInstance b = probe.instance(block.base, wired);
                    if (b.init() >= 300000) {
                        if (wired == block.id.maxInputs()) probe.fault("refused its parameters");
                        continue;  // with fewer inputs the block's parameters need more
                    }
                    probe.run(b, steps, false, "before the change");
                    for (const float v : values) {
                        const std::string after =
                            "after a change to " + number(v) + " with " + std::to_string(wired) + " inputs";
                        std::vector<float> p = block.base;
                        p[i] = v;
                        BlockInstance atInit = probe.instance(p, wired, true);
                        const std::string refusedAtInit = Probe::refusals(probe.traced([&] { atInit.init(); }));
                        b.changeParameter(int(i), v);
                        if (refusedAtInit.empty()) {
                            if (steps == 0) continue;  // a slow block steps on no extreme value
                            // A value no number that a block takes (a constant handed on as
                            // given) may come out as it went in.
                            const auto records = probe.traced([&] {
                                if (std::isnan(v)) b.step(probe.inputs(b.IN.size(), false));
                                else probe.run(b, steps, false, after);
                            });
                            if (Probe::refusedByChange(b))
                                probe.fault("refused " + after + " what initialisation takes: " + Probe::refusals(records));
                            continue;
                        }
                        // A parameter that the block takes only at initialisation is not taken
                        // from a change, which is warned about: nor refused for what it would
                        // be refused for at initialisation.
                        BlockInstance trial = b;
                        const auto tried = probe.traced([&] { trial.step(probe.inputs(b.IN.size(), false)); });
                        if (Probe::notTaken(tried, i)) {
                            if (Probe::refusedByChange(trial)) probe.fault("refused " + after + " what it does not take");
                            b = trial;
                            continue;
                        }
                        const auto records = probe.refusedStep(b, after);
                        if (!Probe::refusedByChange(b) || Probe::refusals(records) != refusedAtInit)
                            probe.fault("refused " + after + " with " + Probe::seen(records) +
                                        ", at initialisation with " + refusedAtInit);
                        if (block.refuses(i, v, probe.opMode()) && !probe.named(records, i))
                            probe.fault("no counted error naming it " + after + " " + Probe::seen(records));
                        probe.noStep(b, "again " + after);
                    }
                    b.changeParameter(int(i), block.base[i]);
                    probe.run(b, steps, false, "after the change back");
                }
            });
        }
    }
    return cases;
}

std::string lines(const std::vector<std::string>& v) {
    std::string text;
    for (const std::string& line : v) text += "\n" + line;
    return text;
}

std::vector<vireo_test::ParamTable> allTables() {
    std::vector<vireo_test::ParamTable> all;
    for (auto* tables : {vireo_test::emParamTables, vireo_test::stParamTables, vireo_test::ppParamTables,
                         vireo_test::ubParamTables})
        for (auto& t : tables()) all.push_back(std::move(t));
    return all;
}

// The table a block placed under a name checks: that name's where its names read the
// parameters differently, else the one table.
template <class Table>
std::span<const Param> tableOf(const Table& t, int opMode) {
    if constexpr (requires { t.forms; })
        if (opMode >= 2 && std::size_t(opMode) <= t.forms.size()) return t.forms[std::size_t(opMode - 1)];
    return t.params;
}

class EveryBlock : public ::testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(EveryBlock, RunsOnAnyFiniteInputAndParameter) {
    const std::string library = GetParam();
    std::map<std::string, vireo_test::ParamTable> tables;
    for (auto& t : allTables()) tables[t.routine] = std::move(t);

    const auto& lib = vireo_test::library(library);
    const auto routines = vireo_test::blockFormNames(vireo_test::exportedNames(lib.path()));
    ASSERT_FALSE(routines.empty()) << library;
    std::vector<Block> blocks;
    std::vector<std::string> unlisted, faults;
    for (const std::string& routine : routines) {
        if (kNeedFiles.contains(routine)) continue;
        const auto wrapped = kEastward.find(routine);
        Block block{routine, lib.block(routine), vireo_test::identify(lib.block(routine)), {}, {},
                    lib.block(wrapped != kEastward.end() ? wrapped->second : routine)};
        const auto row = vireo_test::runningParameters().find(routine);
        if (row == vireo_test::runningParameters().end() && block.id.minParameters() > 0) {
            unlisted.push_back(routine);
            continue;
        }
        if (row != vireo_test::runningParameters().end()) block.base = row->second;
        block.base.resize(std::size_t(block.id.maxParameters()), 0.0f);
        if (const auto t = tables.find(routine); t != tables.end())
            for (int opMode = 1; opMode <= block.id.nameCount(); ++opMode) {
                auto& rows = block.forms.emplace_back();
                for (const Param& row : tableOf(t->second, opMode))
                    for (int k = 0; k < rowLength(row); ++k) rows.push_back(&row);
                for (std::size_t i = 0; i < rows.size() && i < block.base.size(); ++i)
                    if (block.refuses(i, block.base[i], opMode))
                        faults.push_back(block.at(opMode) + ": its row breaks the rule of " + block.parameter(i, opMode));
            }
        blocks.push_back(std::move(block));
    }
    EXPECT_EQ(lines(unlisted), "") << "blocks without a row of parameters";
    std::vector<Case> cases;
    for (const Block& block : blocks) {
        std::vector<Case> own = casesOf(block);
        cases.insert(cases.end(), std::make_move_iterator(own.begin()), std::make_move_iterator(own.end()));
    }
    std::set<const Block*> failing, ended;
    for (const Fault& f : runCases(cases, 45, ended)) {
        // A known non-finite output stays on its list until its physics is mended.
        const bool known = kKnownNonFinite.contains(f.block->routine) && f.text.find(": OUT[") != std::string::npos;
        if (known) failing.insert(f.block);
        else faults.push_back(f.text);
    }
    for (const Block& block : blocks) {
        EXPECT_TRUE(failing.contains(&block) || !kKnownNonFinite.contains(block.routine))
            << block.routine << " is mended: take it off the list of known non-finite outputs";
        EXPECT_TRUE(ended.contains(&block) || !kEndTheProcess.contains(block.routine))
            << block.routine << " no longer ends the process: take it off that list";
    }
    EXPECT_EQ(lines(faults), "") << "faults found";
}

INSTANTIATE_TEST_SUITE_P(Libraries, EveryBlock, ::testing::Values("VireoEM", "VireoST", "VireoPP", "VireoUB"),
                         [](const auto& info) { return info.param.substr(5); });

// How a block keeps its outputs: COWV's precipitable water exp(0.0691 Td - 0.0592) cm
// overflows a float at a dew point of 1984.92 degC; the step leaves the value of the step
// before and warns, naming the output, and the next step computes again.
TEST(EveryBlock, AnOverflowKeepsTheOutputsOfTheStepBefore) {
    BlockInstance b(vireo_test::library("VireoEM").block("em0035"), {.inputs = 1, .parameters = {0}});
    ASSERT_EQ(b.init(), 0);
    const auto water = [](double td) { return std::exp(0.0691 * td - 0.0592); };
    EXPECT_NEAR(b.step({20})[0], water(20), 1e-6 * water(20));
    const auto m = vireo_test::messagesOf([&] { EXPECT_NEAR(b.step({1984.92f})[0], water(20), 1e-6 * water(20)); });
    ASSERT_EQ(m.codes, std::vector<int>{209003});
    EXPECT_EQ(m.records[0]["i10"], "1");
    EXPECT_EQ(m.records[0]["s1"], "COWV");
    EXPECT_EQ(b.IP[0], 209003);
    EXPECT_NEAR(b.step({-10})[0], water(-10), 1e-6 * water(-10));
}
