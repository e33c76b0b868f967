// Reading the message trace that libVireoTools writes under VIREO_MSG_TRACE.
#ifndef VIREO_TEST_TRACE_H
#define VIREO_TEST_TRACE_H

#include <map>
#include <string>
#include <vector>

namespace vireo_test {

struct TraceRecord {
    std::string head;                           // the message code, or "@function"
    std::map<std::string, std::string> fields;  // "i1" -> "3", "s0" -> "FOO", or "1" -> argument
    std::string line;                           // the record as written
    bool isCall() const { return !head.empty() && head[0] == '@'; }
    int code() const;                           // 0 for call records
    std::string operator[](const std::string& key) const;
};

std::vector<TraceRecord> readTrace(const std::string& path);
// The message codes of a trace, in order (call records left out).
std::vector<int> codesOf(const std::vector<TraceRecord>& trace);
// The call records of one function (without '@'), in order.
std::vector<TraceRecord> callsOf(const std::vector<TraceRecord>& trace, const std::string& function);

}  // namespace vireo_test

#endif
