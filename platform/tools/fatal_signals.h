// The signals that end the process for a fault of its code (a block that reads through a
// bad pointer, divides an integer by zero, aborts), or that another program sends to end
// it so. While a run goes, the engine catches them to write out what the blocks hold
// before the process ends; a holder keeps them back while it writes (FatalSignalsHeld),
// so that the handler never finds a write-out half done and writes its rows again.
#ifndef VIREO_TOOLS_FATAL_SIGNALS_H
#define VIREO_TOOLS_FATAL_SIGNALS_H

#include <signal.h>

namespace vireo_tools {

inline constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

// For as long as it lives, a fatal signal sent to the process waits (one that a fault
// raises still ends it at once). Async-signal-safe: a handler may hold them too.
class FatalSignalsHeld {
public:
    FatalSignalsHeld() {
        sigset_t fatal;
        sigemptyset(&fatal);
        for (const int s : kFatalSignals) sigaddset(&fatal, s);
        sigprocmask(SIG_BLOCK, &fatal, &before_);
    }
    ~FatalSignalsHeld() { sigprocmask(SIG_SETMASK, &before_, nullptr); }
    FatalSignalsHeld(const FatalSignalsHeld&) = delete;
    FatalSignalsHeld& operator=(const FatalSignalsHeld&) = delete;

private:
    sigset_t before_;
};

}  // namespace vireo_tools

#endif
