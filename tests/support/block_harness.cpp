#include "block_harness.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace vireo_test {

namespace {

// Slots of IP during a run.
constexpr int kStatus = 0, kCallMode = 1, kOpMode = 2, kBlockNumber = 3, kInputCount = 4, kBranch = 5,
              kDebugFlag = 6, kParameterState = 9, kProtocolSlots = 10;
constexpr int kParameterChanged = 1;  // the bit the engine adds to the parameter slot
constexpr int kIdentify = -1, kStep = 0, kInit = 1, kLastCall = 2;

template <class T>
T* orNull(std::vector<T>& v) {
    return v.empty() ? nullptr : v.data();
}

}  // namespace

BlockLibrary::BlockLibrary(const std::string& path) : path_(path) {
    // RTLD_NOW: a symbol the library cannot resolve fails here, not in the middle of a test.
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (handle_ == nullptr) throw std::runtime_error("cannot open " + path + ": " + dlerror());
}

void* BlockLibrary::symbol(const std::string& name) const {
    void* sym = dlsym(handle_, name.c_str());
    if (sym == nullptr) return nullptr;
    // A lookup through a handle also finds what the library's own dependencies define;
    // the loader registers only what the library itself holds.
    Dl_info where{};
    link_map* owner = nullptr;
    link_map* self = nullptr;
    if (dladdr1(sym, &where, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0 ||
        dlinfo(handle_, RTLD_DI_LINKMAP, &self) != 0 || owner != self)
        return nullptr;
    return sym;
}

BlockFunction BlockLibrary::block(const std::string& routine) const {
    void* sym = symbol(routine);
    if (sym == nullptr) throw std::runtime_error("no block function " + routine + " in " + path_);
    return reinterpret_cast<BlockFunction>(sym);
}

const BlockLibrary& library(const std::string& name) {
    static std::map<std::string, std::unique_ptr<BlockLibrary>> opened;
    auto& slot = opened[name];
    if (!slot) slot = std::make_unique<BlockLibrary>(std::string(VIREO_BUILD_DIR) + "/lib/lib" + name + ".so");
    return *slot;
}

std::vector<std::string> Identity::names() const {
    std::vector<std::string> list;
    std::istringstream words(nameList);
    for (std::string w; words >> w;) list.push_back(w);
    return list;
}

Identity identify(BlockFunction f) {
    float in[1] = {0.0f}, out[1] = {0.0f};
    int ip[kProtocolSlots] = {};
    ip[kCallMode] = kIdentify;
    char row[1][kRow] = {};
    f(in, out, ip, nullptr, nullptr, nullptr, row);
    Identity id;
    id.answered = ip[kCallMode] != kIdentify;
    id.nameList.assign(row[0], strnlen(row[0], kRow));
    id.nameList.erase(id.nameList.find_last_not_of(' ') + 1);
    // The loader's answer slots; the two counts that come as floats are whole numbers.
    id.ints = {ip[0], ip[1], static_cast<int>(in[0]), static_cast<int>(out[0]), ip[2], ip[7],
               ip[8], ip[3], ip[9], ip[4], ip[5], ip[6]};
    return id;
}

namespace {

Identity answered(BlockFunction f) {
    if (f == nullptr) throw std::runtime_error("no block function");
    Identity id = identify(f);
    if (!id.answered) throw std::runtime_error("the function answers no identity");
    return id;
}

}  // namespace

BlockInstance::BlockInstance(BlockFunction f, const Placement& placement)
    : BlockInstance(f, answered(f), placement) {}

BlockInstance::BlockInstance(BlockFunction f, const Identity& identity, const Placement& placement)
    : function_(f),
      identity_(identity),
      inputs_(placement.inputs),
      opMode_(placement.opMode),
      number_(placement.number) {
    const Identity& id = identity_;
    const std::string who = id.nameList.empty() ? std::string("block") : id.nameList;
    if (id.outputCount() < 0 || id.ipSize() < kProtocolSlots || id.rpSize() < 0 || id.dpSize() < 0 ||
        id.maxParameters() < 0 || id.maxStrings() < 0 || placement.inputs < 0)
        throw std::runtime_error(who + ": sizes the engine would refuse");
    if (placement.parameters.size() > static_cast<std::size_t>(id.maxParameters()))
        throw std::runtime_error(who + ": more real parameters than it takes");
    if (placement.strings.size() > static_cast<std::size_t>(id.maxStrings()))
        throw std::runtime_error(who + ": more string parameters than it takes");
    if (!placement.name.empty()) {
        const auto names = id.names();
        const auto it = std::find(names.begin(), names.end(), placement.name);
        if (it == names.end()) throw std::runtime_error(who + " has no name " + placement.name);
        opMode_ = static_cast<int>(it - names.begin()) + 1;
    }

    // Each vector is made at its final size once, so its storage ends where the array does.
    IN = std::vector<float>(static_cast<std::size_t>(placement.inputs), 0.0f);
    OUT = std::vector<float>(static_cast<std::size_t>(id.outputCount()), 0.0f);
    IP = std::vector<int>(static_cast<std::size_t>(id.ipSize()), 0);
    RP = std::vector<float>(static_cast<std::size_t>(id.rpSize()), 0.0f);
    DP = std::vector<double>(static_cast<std::size_t>(id.dpSize()), 0.0);
    BP = std::vector<float>(static_cast<std::size_t>(id.maxParameters()), 0.0f);
    std::copy(placement.parameters.begin(), placement.parameters.end(), BP.begin());
    std::array<char, kRow> blank;
    blank.fill(' ');
    SP = std::vector<std::array<char, kRow>>(static_cast<std::size_t>(id.maxStrings()), blank);
    for (std::size_t k = 0; k < placement.strings.size(); ++k) {
        const std::string& s = placement.strings[k];
        std::memcpy(SP[k].data(), s.data(), std::min(s.size(), kRow));  // longer texts are cut, as the engine cuts them
    }
}

void BlockInstance::checkSizes() const {
    const Identity& id = identity_;
    auto is = [](const auto& v, int size) { return v.size() == static_cast<std::size_t>(size); };
    if (!is(IN, inputs_) || !is(OUT, id.outputCount()) || !is(IP, id.ipSize()) || !is(RP, id.rpSize()) ||
        !is(DP, id.dpSize()) || !is(BP, id.maxParameters()) || !is(SP, id.maxStrings()))
        throw std::logic_error(id.nameList + ": an array was resized; the engine would pass other sizes");
}

BlockInstance::Arrays BlockInstance::arrays() {
    return {orNull(IN), orNull(OUT), orNull(IP), orNull(RP), orNull(DP), orNull(BP),
            SP.empty() ? nullptr : reinterpret_cast<char(*)[kRow]>(SP.data())};
}

void BlockInstance::call(int callMode) {
    checkSizes();
    IP[kStatus] = 0;
    IP[kCallMode] = callMode;
    if (callMode != kStep) {
        IP[kOpMode] = opMode_;
        IP[kBlockNumber] = number_;
        IP[kInputCount] = inputs_;
    }
    if (callMode != kInit) {
        IP[kBranch] = 2;
        IP[kDebugFlag] = 0;
    }
    if (function_ == nullptr) return;
    const Arrays a = arrays();
    function_(a.IN, a.OUT, a.IP, a.RP, a.DP, a.BP, a.SP);
}

int BlockInstance::init() {
    call(kInit);
    return IP[kStatus];
}

const std::vector<float>& BlockInstance::step() {
    call(kStep);
    return OUT;
}

const std::vector<float>& BlockInstance::step(const std::vector<float>& inputs) {
    if (inputs.size() != IN.size())
        throw std::runtime_error(identity_.nameList + ": " + std::to_string(inputs.size()) + " inputs for " +
                                 std::to_string(IN.size()) + " connected");
    std::copy(inputs.begin(), inputs.end(), IN.begin());
    return step();
}

void BlockInstance::last() { call(kLastCall); }

void BlockInstance::changeParameter(int i, float value) {
    BP.at(static_cast<std::size_t>(i)) = value;
    IP.at(kParameterState) |= kParameterChanged;
}

void BlockInstance::connectInputs(int count) {
    if (count < 0) throw std::runtime_error("a negative input count");
    inputs_ = count;
    IN = std::vector<float>(static_cast<std::size_t>(count), 0.0f);
}

}  // namespace vireo_test
