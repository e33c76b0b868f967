#include "message_capture.h"

#include "run_vireo.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

namespace vireo_test {

namespace {

void flushStandardOutput() {
    std::cout.flush();
    std::fflush(stdout);
}

}  // namespace

MessageCapture::MessageCapture(StandardOutput output) {
    const std::string dir = scratchDirectory("messages");
    if (output == StandardOutput::captured) {
        outPath_ = dir + "/stdout.txt";
        flushStandardOutput();
        const int file = open(outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (file < 0) throw std::runtime_error("cannot open " + outPath_);
        savedOut_ = dup(STDOUT_FILENO);
        const bool moved = savedOut_ >= 0 && dup2(file, STDOUT_FILENO) >= 0;
        close(file);
        if (!moved) {
            if (savedOut_ >= 0) close(savedOut_);
            throw std::runtime_error("cannot capture standard output in " + outPath_);
        }
    }
    tracePath_ = dir + "/trace.txt";
    if (const char* previous = std::getenv("VIREO_MSG_TRACE")) {
        hadTrace_ = true;
        previousTrace_ = previous;
    }
    setenv("VIREO_MSG_TRACE", tracePath_.c_str(), 1);
}

MessageCapture::~MessageCapture() {
    if (savedOut_ >= 0) {
        flushStandardOutput();
        dup2(savedOut_, STDOUT_FILENO);
        close(savedOut_);
    }
    if (hadTrace_) setenv("VIREO_MSG_TRACE", previousTrace_.c_str(), 1);
    else unsetenv("VIREO_MSG_TRACE");
}

std::vector<TraceRecord> MessageCapture::records() const { return readTrace(tracePath_); }

std::vector<int> MessageCapture::codes() const { return codesOf(records()); }

std::string MessageCapture::out() const {
    if (outPath_.empty()) return {};
    flushStandardOutput();
    return readFile(outPath_);
}

}  // namespace vireo_test
