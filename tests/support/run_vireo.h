// Running the real host program as a separate process, the way a user runs it: the
// engine changes the working directory and keeps process-wide counters, so behaviour
// tests never run it inside the test process.
#ifndef VIREO_TEST_RUN_VIREO_H
#define VIREO_TEST_RUN_VIREO_H

#include "trace.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vireo_test {

struct RunResult {
    int exitStatus = -1;  // the process's exit status, or 128 + signal
    std::string out;      // standard output
    std::string err;      // standard error
    std::vector<TraceRecord> trace;
    std::vector<int> codes() const { return codesOf(trace); }
    // The first message record with the code; an empty record when there is none.
    TraceRecord first(int code) const {
        for (const auto& r : trace)
            if (!r.isCall() && r.code() == code) return r;
        return {};
    }
};

struct RunOptions {
    std::string workingDirectory;                             // empty: a fresh temporary directory
    std::vector<std::pair<std::string, std::string>> env;     // set (or, with an empty value, unset)
    std::string program;                                      // empty: the built vireo
    std::string input;                                        // standard input
    int timeoutSeconds = 120;
    long fileSizeLimit = 0;                                   // bytes (RLIMIT_FSIZE); 0: none
    std::string standardOutput;                               // a file for it; empty: captured
    std::vector<int> closedStreams;                           // standard streams (0, 1, 2) it starts without
    int outputLines = -1;  // >= 0: that many lines of standard output are read, then it is closed (| head -n)
    std::function<void(int pid)> started;                     // called with the process's id once it runs
};

// Runs the program with the arguments; VIREO_MSG_TRACE points at a fresh file whose
// records come back in the result.
RunResult runVireo(const std::vector<std::string>& args, const RunOptions& options = {});

// A fresh, empty directory below the build tree's test scratch area.
std::string scratchDirectory(const std::string& name);
void writeFile(const std::string& path, const std::string& text);
std::string readFile(const std::string& path);
std::string buildDir();
std::string sourceDir();

}  // namespace vireo_test

#endif
