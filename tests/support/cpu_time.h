// The CPU time of the calling thread, in which tests compare the growth of work measured in
// one run: other work on the machine stretches the wall clock far more than it.
#ifndef VIREO_TEST_CPU_TIME_H
#define VIREO_TEST_CPU_TIME_H

#include <ctime>

namespace vireo_test {

// Builds with the address sanitizer check memory, not speed, and run many times slower:
// growth tests divide their sizes by this there to stay short.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kSanitizedShrink = 5;
#else
inline constexpr int kSanitizedShrink = 1;
#endif

inline double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace vireo_test

#endif
