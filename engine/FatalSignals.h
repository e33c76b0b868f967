// The signals that end the process for a fault of its code (a block that reads through a
// bad pointer, divides an integer by zero, aborts): while a Watch lives they go to its
// handler, on a stack of its own (a block that overflows its stack leaves none to run
// on), which may say what it can before the process ends. A handler may do no more than
// write what is ready (async-signal-safe calls only).
#ifndef VIREO_FATAL_SIGNALS_H
#define VIREO_FATAL_SIGNALS_H

#include "fatal_signals.h"

#include <signal.h>

namespace fatal {

inline constexpr const auto& kSignals = vireo_tools::kFatalSignals;

// One watch at a time.
class Watch {
public:
    explicit Watch(void (*handler)(int));
    ~Watch();
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

private:
    stack_t previousStack_{};
    bool ownStack_ = false;
};

// In a handler: the signals get back the actions they had before the watch, so that the
// signal goes where it would have gone without it.
void restorePrevious();
// In a handler: ends the process with the signal by its default action, as if nothing
// had caught it (the exit status tells which signal it was).
void endWith(int signal);

}  // namespace fatal

#endif
