// The command-line host: hands its command line to the engine and owns the run flag.
#include "vireoEngine.h"
#include "vireo_tools.h"

#include <csignal>

namespace {

// The engine reads the flag through a pointer before every step; Ctrl-C asks it to stop
// the run the way the host's stop button would.
int runBit = 1;

extern "C" void onInterrupt(int) { runBit = 0; }

}  // namespace

int main(int argc, char** argv) {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);

    static int host = 0;  // the engine only passes the handle on
    const int result = vireoEngine(&host, &runBit, argc, argv);
    if (result != 0) return result;
    return vireo_tools_error_count() > 0 ? 1 : 0;
}
