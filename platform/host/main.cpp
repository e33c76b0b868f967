// The command-line host: hands its command line to the engine and owns the run flag.
#include "vireoEngine.h"
#include "vireo_tools.h"

#include <csignal>

namespace {

// The engine reads the flag through a pointer before every step; Ctrl-C asks it to stop
// the run the way the host's stop button would.
int runBit = 1;

extern "C" void onInterrupt(int) { runBit = 0; }

// Under -j the run follows an editor through the bridge library: it runs with flag 2, so
// the engine fetches the editor's parameter changes after every step. The option is
// recognised as the engine recognises it (its second character, either case).
bool followsEditor(int argc, char** argv) {
    for (int k = 1; k < argc; ++k)
        if (argv[k] != nullptr && argv[k][0] == '-' && (argv[k][1] == 'j' || argv[k][1] == 'J')) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);

    if (followsEditor(argc, argv)) runBit = 2;
    static int host = 0;  // the engine only passes the handle on
    const int result = vireoEngine(&host, &runBit, argc, argv);
    if (result != 0) return result;
    // The utility library counts the error messages; the engine also counts errors that
    // blocks answered without a message.
    return vireo_tools_error_count() > 0 || vireoEngineErrors() > 0 ? 1 : 0;
}
