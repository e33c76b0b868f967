// The CPU time of the calling thread, in which tests compare the growth of work measured in
// one run: other work on the machine stretches the wall clock far more than it.
#ifndef VIREO_TEST_CPU_TIME_H
#define VIREO_TEST_CPU_TIME_H

#include <ctime>

namespace vireo_test {

inline double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace vireo_test

#endif
