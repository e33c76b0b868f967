// What the run tests share: the probe log written compactly.
#ifndef VIREO_TEST_RUN_PROBE_H
#define VIREO_TEST_RUN_PROBE_H

#include "model_run.h"

#include <initializer_list>
#include <string>

namespace run_test {

using Codes = std::vector<int>;

// Probe lines "callMode blockNumber", one per call: init(1, 2) gives "1 1\n1 2\n".
inline std::string calls(int mode, std::initializer_list<int> blocks) {
    std::string s;
    for (int b : blocks) s += std::to_string(mode) + " " + std::to_string(b) + "\n";
    return s;
}
inline std::string init(std::initializer_list<int> blocks) { return calls(1, blocks); }
inline std::string steps(std::initializer_list<int> blocks) { return calls(0, blocks); }
inline std::string lastCalls(std::initializer_list<int> blocks) { return calls(2, blocks); }

// The message codes without the progress lines that every timer sends.
inline Codes withoutProgress(const vireo_test::ModelRun& run) {
    Codes c;
    for (const auto& r : run.messages())
        if (r.code() != 4030 || r["s0"].rfind("#Progress#", 0) != 0) c.push_back(r.code());
    return c;
}

// The messages of a run that compiled, initialised and ran without a message of its own.
inline Codes cleanRun(int closing = 4004) { return {4001, 4007, 4051, closing, 4999}; }

}  // namespace run_test

#endif
