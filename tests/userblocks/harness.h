// The engine's side of the block protocol, small enough to trust by reading: arrays
// sized from the identification answer, calls that set the protocol slots, links
// followed by branch, end-of-run passes with withdrawal, the loop-end reset of the loop
// top and the iteration stop. Tests wire the links as the sort would.
#ifndef VIREO_TEST_UB_HARNESS_H
#define VIREO_TEST_UB_HARNESS_H

#include "run_vireo.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using BlockFunction = int (*)(float*, float*, int*, float*, double*, float*, char (*)[1024]);
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

// The twelve integers in identity order, then the name list.
struct Identity {
    std::array<int, 12> v{};
    std::string names;
    int outputs() const { return v[3]; }
    int group() const { return v[11]; }
};

inline Identity identify(BlockFunction f) {
    float in[1] = {}, out[1] = {};
    int ip[10] = {0, -1};
    char sp[1][1024];
    std::memset(sp, 0, sizeof sp);
    f(in, out, ip, nullptr, nullptr, nullptr, sp);
    std::string names(sp[0], 1024);
    names.erase(names.find_last_not_of(' ') + 1);
    return {{ip[0], ip[1], static_cast<int>(in[0]), static_cast<int>(out[0]), ip[2], ip[7], ip[8], ip[3], ip[9],
             ip[4], ip[5], ip[6]},
            names};
}

struct Block;
using Source = std::pair<Block*, int>;  // block and 1-based output number

struct Block {
    int number;
    Identity id;
    BlockFunction fn = nullptr;
    std::function<void(Block&)> body;  // a block written in the test, called at steps
    std::vector<Source> sources;
    std::vector<float> IN, OUT, RP, BP;
    std::vector<int> IP;
    std::vector<double> DP;
    std::vector<std::array<char, 1024>> SP;
    Block* next = nullptr;
    Block* alt = nullptr;
    int lastCalls = 0;

    Block(BlockFunction f, int n, std::vector<Source> src = {}, std::vector<float> p = {},
          std::vector<std::string> s = {})
        : number(n), id(identify(f)), fn(f), sources(std::move(src)) {
        allocate(p, s);
    }
    // A standard block of the test: `outputs` outputs, computed by `b`.
    Block(int n, int outputs, std::function<void(Block&)> b, std::vector<Source> src = {})
        : number(n), body(std::move(b)), sources(std::move(src)) {
        id.v = {1, 0, 9, outputs, 11, 0, 0, 0, 0, 0, 0, 3};
        allocate({}, {});
    }

    void allocate(const std::vector<float>& p, const std::vector<std::string>& s) {
        IN.assign(sources.size(), 0.0f);
        OUT.assign(id.v[3], 0.0f);
        IP.assign(id.v[4], 0);
        RP.assign(id.v[5], 0.0f);
        DP.assign(id.v[6], 0.0);
        BP.assign(id.v[8], 0.0f);
        std::copy(p.begin(), p.begin() + std::min(p.size(), BP.size()), BP.begin());
        SP.resize(id.v[10]);
        for (auto& row : SP) row.fill(' ');
        for (size_t i = 0; i < s.size() && i < SP.size(); ++i) std::memcpy(SP[i].data(), s[i].data(), s[i].size());
    }
    template <typename T>
    static T* data(std::vector<T>& v) { return v.empty() ? nullptr : v.data(); }
    void invoke() {
        if (fn == nullptr) {
            if (IP[1] == 0) body(*this);  // blocks of the test only compute at steps
            return;
        }
        fn(data(IN), data(OUT), IP.data(), data(RP), data(DP), data(BP),
           SP.empty() ? nullptr : reinterpret_cast<char(*)[1024]>(SP.data()));
    }
    void init() {
        IP[0] = 0, IP[1] = 1, IP[2] = 1, IP[3] = number, IP[4] = static_cast<int>(sources.size());
        invoke();
    }
    Block* call(bool& stop) {
        for (size_t i = 0; i < sources.size(); ++i) IN[i] = sources[i].first->OUT[sources[i].second - 1];
        IP[0] = 0, IP[1] = stop ? 2 : 0, IP[5] = 2, IP[6] = 0;
        if (stop) ++lastCalls;
        invoke();
        if (id.group() == 4 && IP[1] == 0 && IP[5] == 1 && next != nullptr) next->IP[10] = 0;
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
                iterating = list[i]->id.group() == 6, iterationStop = noted;
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

// Points the message trace at a fresh file for the life of the object.
struct Trace {
    std::string path = vireo_test::scratchDirectory("ub-trace") + "/trace.txt";
    Trace() { setenv("VIREO_MSG_TRACE", path.c_str(), 1); }
    ~Trace() { unsetenv("VIREO_MSG_TRACE"); }
    std::vector<vireo_test::TraceRecord> records() const { return vireo_test::readTrace(path); }
    std::vector<int> codes() const { return vireo_test::codesOf(records()); }
};

#endif
