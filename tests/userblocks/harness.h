// The engine's run loop in miniature, small enough to trust by reading, over block
// instances of the common harness (arrays sized from the identification answer, calls
// that set the protocol slots): inputs refilled from the sources, links followed by
// branch, end-of-run passes with withdrawal, the loop-end reset of the loop top and the
// iteration stop. Tests wire the links as the sort would.
#ifndef VIREO_TEST_UB_HARNESS_H
#define VIREO_TEST_UB_HARNESS_H

#include "block_harness.h"
#include "message_capture.h"
#include "run_vireo.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

using vireo_test::BlockFunction;
using vireo_test::Identity;
using vireo_test::MessageCapture;

extern "C" {
int ubcalendar(float*, float*, int*, float*, double*, float*, char (*)[1024]);
int ubcsvout(float*, float*, int*, float*, double*, float*, char (*)[1024]);
int ubcsvin(float*, float*, int*, float*, double*, float*, char (*)[1024]);
int ubconst(float*, float*, int*, float*, double*, float*, char (*)[1024]);
int ublooptop(float*, float*, int*, float*, double*, float*, char (*)[1024]);
int ubloopctl(float*, float*, int*, float*, double*, float*, char (*)[1024]);
int ubiterate(float*, float*, int*, float*, double*, float*, char (*)[1024]);
int ubdelay(float*, float*, int*, float*, double*, float*, char (*)[1024]);
char* info();
}

struct Block;
using Source = std::pair<Block*, int>;  // block and 1-based output number

// A block placed in a model: its instance, where its inputs come from and its links.
struct Block : vireo_test::BlockInstance {
    std::function<void(Block&)> body;  // a block written in the test, called at steps
    std::vector<Source> sources;
    Block* next = nullptr;
    Block* alt = nullptr;
    int lastCalls = 0;

    Block(BlockFunction f, int n, std::vector<Source> src = {}, std::vector<float> p = {},
          std::vector<std::string> s = {})
        : BlockInstance(f, {.inputs = static_cast<int>(src.size()), .parameters = std::move(p),
                            .strings = std::move(s), .number = n}),
          sources(std::move(src)) {}
    // A standard block of the test: `outputs` outputs, computed by `b`.
    Block(int n, int outputs, std::function<void(Block&)> b, std::vector<Source> src = {})
        : BlockInstance(nullptr, testIdentity(outputs), {.inputs = static_cast<int>(src.size()), .number = n}),
          body(std::move(b)),
          sources(std::move(src)) {}
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    static Identity testIdentity(int outputs) {
        Identity id;
        id.ints = {1, 0, 9, outputs, 11, 0, 0, 0, 0, 0, 0, 3};
        id.nameList = "TEST";
        id.answered = true;
        return id;
    }
    // Wiring that closes a cycle is known only once both ends exist.
    void connect(std::vector<Source> src) {
        sources = std::move(src);
        connectInputs(static_cast<int>(sources.size()));
    }
    Block* call(bool& stop) {
        for (size_t i = 0; i < sources.size(); ++i) IN[i] = sources[i].first->OUT[sources[i].second - 1];
        if (stop) ++lastCalls;
        BlockInstance::call(stop ? 2 : 0);
        if (body && IP[1] == 0) body(*this);  // blocks of the test only compute at steps
        if (identity().group() == 4 && IP[1] == 0 && IP[5] == 1 && next != nullptr) next->IP[10] = 0;
        stop = IP[1] > 1;
        if (IP[5] == 0) stop = true;
        return IP[5] == 0 ? nullptr : IP[5] == 2 ? next : alt;
    }
};

// Links each block to the one after it; the last leads nowhere.
inline void chain(const std::vector<Block*>& list) {
    for (size_t i = 0; i + 1 < list.size(); ++i) list[i]->next = list[i + 1];
    list.back()->next = nullptr;
}

// Runs a wired and initialised model; the number of cycles, or -1 when it did not end.
inline long simulate(const std::vector<Block*>& list, long limit = 1000000) {
    size_t resume = 0;
    bool stop = false, iterating = false;
    Block* current = list.front();
    Block* iterationStop = nullptr;
    for (long cycle = 1; cycle <= limit; ++cycle) {
        if (stop) {
            bool withdrawn = false;
            for (size_t i = resume; i < list.size() && !withdrawn; ++i) {
                Block* noted = list[i]->next;
                Block* r = list[i]->call(stop);
                if (stop) continue;
                withdrawn = true, resume = i, current = r;
                iterating = list[i]->identity().group() == 6, iterationStop = noted;
            }
            if (!withdrawn) return cycle;
        } else if (!iterating || (current != nullptr && current != iterationStop)) {
            if (current == nullptr) stop = true;
            else current = current->call(stop), stop = stop || current == nullptr;
        } else {
            stop = true, iterating = false;
        }
    }
    return -1;
}

inline void initAll(const std::vector<Block*>& list) {
    for (Block* b : list) b->init();
}

inline std::vector<Source> outputs(Block& b, int first, int last) {
    std::vector<Source> s;
    for (int k = first; k <= last; ++k) s.push_back({&b, k});
    return s;
}

#endif
