// A host for the run tests that drives the run flag the way an editor would: it starts
// with the flag from VIREO_TEST_RUNBIT (default 1); SIGUSR1 sets it to VIREO_TEST_ON_USR1
// (default -1, pause) and, with VIREO_TEST_RESUME_AFTER=S, sets it to VIREO_TEST_RESUME_TO
// (default 1) S seconds later; SIGINT sets it to 0. A test block raises the signals at a
// chosen step, so the changes land at known points of the run. At the end the host
// writes "cpu=<seconds> wall=<seconds>" to standard error: a pause must sleep, not spin.
#include "vireoEngine.h"
#include "vireo_tools.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

int runBit = 1;
int onUser1 = -1;
int resumeTo = 1;
unsigned resumeAfter = 0;

int fromEnvironment(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0' ? std::atoi(v) : fallback;
}

extern "C" void onSignal(int signal) {
    if (signal == SIGINT) {
        runBit = 0;
    } else if (signal == SIGUSR1) {
        runBit = onUser1;
        if (resumeAfter > 0) alarm(resumeAfter);
    } else if (signal == SIGALRM) {
        runBit = resumeTo;
    }
}

double seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; }

}  // namespace

int main(int argc, char** argv) {
    runBit = fromEnvironment("VIREO_TEST_RUNBIT", 1);
    onUser1 = fromEnvironment("VIREO_TEST_ON_USR1", -1);
    resumeTo = fromEnvironment("VIREO_TEST_RESUME_TO", 1);
    resumeAfter = static_cast<unsigned>(fromEnvironment("VIREO_TEST_RESUME_AFTER", 0));
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int s : {SIGINT, SIGUSR1, SIGALRM}) sigaction(s, &action, nullptr);

    const auto start = std::chrono::steady_clock::now();
    static int host = 0;
    const int result = vireoEngine(&host, &runBit, argc, argv);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "cpu=%.3f wall=%.3f\n", seconds(usage.ru_utime) + seconds(usage.ru_stime), wall.count());
    if (result != 0) return result;
    return vireo_tools_error_count() > 0 ? 1 : 0;
}
