#include "trace.h"

#include <fstream>

namespace vireo_test {

int TraceRecord::code() const { return isCall() || head.empty() ? 0 : std::stoi(head); }

std::string TraceRecord::operator[](const std::string& key) const {
    auto it = fields.find(key);
    return it == fields.end() ? std::string() : it->second;
}

std::vector<TraceRecord> readTrace(const std::string& path) {
    std::vector<TraceRecord> out;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        TraceRecord r;
        r.line = line;
        size_t start = 0;
        int position = 0;
        for (;;) {
            const size_t tab = line.find('\t', start);
            const std::string field = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
            if (position == 0) {
                r.head = field;
            } else if (const size_t eq = field.find('='); !r.isCall() && eq != std::string::npos) {
                r.fields[field.substr(0, eq)] = field.substr(eq + 1);
            } else {
                r.fields[std::to_string(position)] = field;
            }
            ++position;
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<int> codesOf(const std::vector<TraceRecord>& trace) {
    std::vector<int> codes;
    for (const auto& r : trace)
        if (!r.isCall()) codes.push_back(r.code());
    return codes;
}

std::vector<TraceRecord> callsOf(const std::vector<TraceRecord>& trace, const std::string& function) {
    std::vector<TraceRecord> calls;
    for (const auto& r : trace)
        if (r.head == "@" + function) calls.push_back(r);
    return calls;
}

}  // namespace vireo_test
