#include "block_harness.h"

#include "run_vireo.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace em_test {

void* librarySymbol(const std::string& name) {
    static void* library = [] {
        const std::string path = vireo_test::buildDir() + "/lib/libVireoEM.so";
        void* h = dlopen(path.c_str(), RTLD_LAZY | RTLD_GLOBAL);
        if (h == nullptr) throw std::runtime_error("cannot open " + path + ": " + dlerror());
        return h;
    }();
    return dlsym(library, name.c_str());
}

BlockFunction blockFunction(const std::string& name) {
    return reinterpret_cast<BlockFunction>(librarySymbol(name));
}

Identity identify(BlockFunction f) {
    float in = 0.0f, out = 0.0f;
    int ip[10] = {0, -1};
    char row[1][1024];
    std::memset(row, 0, sizeof row);
    f(&in, &out, ip, nullptr, nullptr, nullptr, row);
    Identity id;
    id.answered = ip[1] != -1;
    std::string names(row[0], strnlen(row[0], 1023));
    while (!names.empty() && names.back() == ' ') names.pop_back();
    id.names = names;
    id.ints = {ip[0], ip[1], static_cast<int>(in), static_cast<int>(out), ip[2], ip[7],
               ip[8], ip[3], ip[9], ip[4], ip[5], ip[6]};
    return id;
}

Block::Block(const std::string& routine, std::vector<float> parameters, int inputCount, int opMode,
             int number)
    : f_(blockFunction(routine)), opMode_(opMode), number_(number), inputCount_(inputCount) {
    if (f_ == nullptr) throw std::runtime_error("no block function " + routine);
    identity = identify(f_);
    const auto& n = identity.ints;
    in.assign(static_cast<size_t>(inputCount), 0.0f);
    out.assign(static_cast<size_t>(n[3]), 0.0f);
    ip.assign(static_cast<size_t>(n[4]), 0);
    rp.assign(static_cast<size_t>(n[5]), 0.0f);
    dp.assign(static_cast<size_t>(n[6]), 0.0);
    bp.assign(static_cast<size_t>(n[8]), 0.0f);
    if (parameters.size() > bp.size()) throw std::runtime_error("too many parameters for " + routine);
    std::copy(parameters.begin(), parameters.end(), bp.begin());
    std::array<char, 1024> blank;
    blank.fill(' ');
    sp.assign(static_cast<size_t>(n[10]), blank);
}

void Block::call(int mode) {
    ip[0] = 0;
    ip[1] = mode;
    ip[2] = opMode_;
    ip[3] = number_;
    ip[4] = inputCount_;
    if (mode == 0) {
        ip[5] = 2;
        ip[6] = 0;
    }
    auto ptr = [](auto& v) { return v.empty() ? nullptr : v.data(); };
    f_(ptr(in), ptr(out), ptr(ip), ptr(rp), ptr(dp), ptr(bp),
       sp.empty() ? nullptr : reinterpret_cast<char(*)[1024]>(sp.data()));
}

int Block::init() {
    call(1);
    return ip[0];
}

const std::vector<float>& Block::step(const std::vector<float>& inputs) {
    if (static_cast<int>(inputs.size()) != inputCount_) throw std::runtime_error("input count");
    in = inputs;
    call(0);
    return out;
}

void Block::last() { call(2); }

std::string startMessages() {
    const std::string trace = vireo_test::scratchDirectory("em-messages") + "/trace.txt";
    setenv("VIREO_MSG_TRACE", trace.c_str(), 1);
    testing::internal::CaptureStdout();
    return trace;
}

Messages finishMessages(const std::string& trace) {
    Messages m;
    m.out = testing::internal::GetCapturedStdout();
    unsetenv("VIREO_MSG_TRACE");
    m.records = vireo_test::readTrace(trace);
    m.codes = vireo_test::codesOf(m.records);
    return m;
}

}  // namespace em_test
