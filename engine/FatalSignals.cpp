#include "FatalSignals.h"

#include <iterator>

namespace fatal {

namespace {

struct sigaction previous[std::size(kSignals)];
alignas(16) char handlerStack[256 * 1024];

}  // namespace

Watch::Watch(void (*handler)(int)) {
    stack_t own{};
    own.ss_sp = handlerStack;
    own.ss_size = sizeof handlerStack;
    ownStack_ = sigaltstack(&own, &previousStack_) == 0;
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // SA_NODEFER: the signal raised again from the handler is delivered at once.
    action.sa_flags = SA_NODEFER | (ownStack_ ? SA_ONSTACK : 0);
    for (std::size_t k = 0; k < std::size(kSignals); ++k) sigaction(kSignals[k], &action, &previous[k]);
}

Watch::~Watch() {
    restorePrevious();
    if (ownStack_) sigaltstack(&previousStack_, nullptr);
}

void restorePrevious() {
    for (std::size_t k = 0; k < std::size(kSignals); ++k) sigaction(kSignals[k], &previous[k], nullptr);
}

void endWith(int signal) {
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    sigaction(signal, &byDefault, nullptr);
    raise(signal);
}

}  // namespace fatal
