// Catching the messages of code called inside the test process: for the life of the
// object the message trace (VIREO_MSG_TRACE) goes to a fresh file and, when asked,
// standard output to another, so that a test asserts on codes and trace records and
// the message text stays out of the test log.
#ifndef VIREO_TEST_MESSAGE_CAPTURE_H
#define VIREO_TEST_MESSAGE_CAPTURE_H

#include "trace.h"

#include <string>
#include <utility>
#include <vector>

namespace vireo_test {

class MessageCapture {
public:
    enum class StandardOutput { kept, captured };
    explicit MessageCapture(StandardOutput output = StandardOutput::kept);
    // Gives back the trace variable's earlier value and standard output: scopes nest.
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    std::vector<TraceRecord> records() const;
    std::vector<int> codes() const;  // the message codes, in order
    std::string out() const;         // standard output so far; empty when kept
    const std::string& tracePath() const { return tracePath_; }

private:
    std::string tracePath_;
    std::string outPath_;
    bool hadTrace_ = false;
    std::string previousTrace_;
    int savedOut_ = -1;
};

// What fn sent, run inside a capture of standard output.
struct Messages {
    std::vector<int> codes;
    std::vector<TraceRecord> records;
    std::string out;
};
template <class Fn>
Messages messagesOf(Fn&& fn) {
    const MessageCapture capture(MessageCapture::StandardOutput::captured);
    fn();
    std::vector<TraceRecord> records = capture.records();
    std::vector<int> codes = codesOf(records);
    return {std::move(codes), std::move(records), capture.out()};
}

}  // namespace vireo_test

#endif
