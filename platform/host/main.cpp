// The command-line host: hands its command line to the engine and owns the run flag.
#include "vireoEngine.h"
#include "vireo_tools.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

namespace {

// The engine reads the flag through a pointer before every step; Ctrl-C asks it to stop
// the run the way the host's stop button would.
int runBit = 1;
// The signal that stopped the run, for the exit status: a script must be able to tell a
// cut result from a complete one.
volatile std::sig_atomic_t stoppedBy = 0;

// Ctrl-C, and a terminal that hangs up or a system that asks the process to end
// (SIGHUP, SIGTERM): the blocks get their last calls and the files are closed.
extern "C" void onStop(int signal) {
    runBit = 0;
    if (stoppedBy == 0) stoppedBy = signal;
}

// Standard output whose reader has gone (`vireo m.vireo | head`): nobody follows the run
// any more, and it stops as it does at Ctrl-C, its files whole; the status says that
// output was lost.
extern "C" void onOutputClosed() { runBit = 0; }

// Under -j the run follows an editor through the bridge library: it runs with flag 2, so
// the engine fetches the editor's parameter changes after every step. The option is
// recognised as the engine recognises it (its second character, either case).
bool followsEditor(int argc, char** argv) {
    for (int k = 1; k < argc; ++k)
        if (argv[k] != nullptr && argv[k][0] == '-' && (argv[k][1] == 'j' || argv[k][1] == 'J')) return true;
    return false;
}

// A standard stream the program was started without (`vireo m.vireo >&-`) would lend its
// number to the next file opened, a block's result file among them, and the messages
// would go into that file. Each gets a stand-in that only reads: a message that cannot
// be written is then output that cannot be written (status 1 and a line on standard
// error), and the files keep only what their blocks write.
void holdStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int standIn = open("/dev/null", O_RDONLY);
        if (standIn >= 0 && standIn != fd) {
            dup2(standIn, fd);
            close(standIn);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    holdStandardStreams();
    struct sigaction action {};
    action.sa_handler = onStop;
    sigemptyset(&action.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &action, nullptr);
    // Signals the host has no use for must not end a run.
    std::signal(SIGUSR1, SIG_IGN);
    std::signal(SIGUSR2, SIG_IGN);
    // A file grown to the file-size limit is a write error that the block writing it
    // reports (write returns EFBIG), as it reports a full disk: not the silent end of
    // the process in the middle of a row. A pipe whose reader has gone is a write error
    // (EPIPE) too, not the end of the process without last calls.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    vireo_tools_on_output_closed(onOutputClosed);

    if (followsEditor(argc, argv)) runBit = 2;
    static int host = 0;  // the engine only passes the handle on
    const int result = vireoEngine(&host, &runBit, argc, argv);
    // Messages that could not be written (standard output on a full disk) are lost: a
    // failure, even of a run that went well, and said where it can still be seen.
    const bool outputLost = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    if (outputLost) std::fputs("vireo: writing to standard output failed; messages are missing\n", stderr);
    if (stoppedBy != 0) return 128 + stoppedBy;
    if (result != 0) return result;
    // The utility library counts the error messages; the engine also counts errors that
    // blocks answered without a message.
    return outputLost || vireo_tools_error_count() > 0 || vireoEngineErrors() > 0 ? 1 : 0;
}
