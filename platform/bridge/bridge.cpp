// The editor-bridge stand-in: a log of every call and scripted parameter changes, so
// that tests and users can follow and steer a run without an editor.
//
// Log lines (one per call, tab-separated, numbers in their shortest exact form):
//   updateInOut  block=B  nin=N  in=v1,v2,...  nout=M  out=w1,...
//   blockToPlumo (the same fields)
//   markPlumoBlock  block=B
//   getBpFromPlumo  round=R  poll=P  block=B  index=I  value=V  text=T
//   script  line=L  error=...   (a script line that was passed over)
//
// Script: one change per line, "[@R] block index value [text]"; blank lines and lines
// beginning with '#' are passed over. The engine polls after each block call until an
// answer holds a 0 in the pair; the polls up to that answer form one round, counted from
// 1. Changes are answered in file order; a line with "@R" waits for round R, and while it
// waits (and once the script is used up) every poll answers block 0, index 0, value 0 and
// an empty text.
#include "vireo_bridge.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr std::size_t kTextLength = 80;

struct Change {
    long round = 0;
    int block = 0;
    int index = 0;
    float value = 0.0f;
    std::string text;
};

// The library is one per process and the engine has no threads: one state serves all.
struct State {
    bool started = false;
    std::FILE* log = nullptr;
    std::vector<Change> script;
    std::size_t next = 0;
    long round = 1;
    long polls = 0;

    void close() {
        if (log != nullptr) std::fclose(log);
        *this = State();
    }
    ~State() {
        if (log != nullptr) std::fclose(log);
    }
};

State& state() {
    static State s;
    return s;
}

void logLine(State& s, const std::string& line) {
    if (s.log == nullptr) return;
    std::fputs(line.c_str(), s.log);
    std::fputc('\n', s.log);
    std::fflush(s.log);  // a run that dies still leaves its log
}

std::string number(float v) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

template <typename T>
bool parse(const std::string& token, T& value) {
    std::string_view t = token;
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    if (t.empty() || t.front() == '+' || (t.front() == '-' && t.size() > 1 && t[1] == '+')) return false;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), value);
    return r.ec == std::errc() && r.ptr == t.data() + t.size();
}

// One script line into a change; an empty text when it is well formed, else why not.
std::string parseLine(const std::string& line, Change& c) {
    std::istringstream in(line);
    std::vector<std::string> tokens;
    for (std::string t; in >> t;) tokens.push_back(t);
    std::size_t k = 0;
    if (!tokens.empty() && tokens[0][0] == '@') {
        if (!parse(tokens[0].substr(1), c.round) || c.round < 1) return "round after @ is not a whole number from 1";
        k = 1;
    }
    const std::size_t left = tokens.size() - k;
    if (left < 3 || left > 4) return "expected: [@round] block index value [text]";
    if (!parse(tokens[k], c.block)) return "block number is not a whole number";
    if (!parse(tokens[k + 1], c.index)) return "parameter index is not a whole number";
    if (!parse(tokens[k + 2], c.value)) return "value is not a number";
    if (left == 4) {
        c.text = tokens[k + 3];
        if (c.text.size() > kTextLength) return "text is longer than 80 characters";
    }
    return {};
}

void readScript(State& s, const char* path) {
    std::FILE* f = std::fopen(path, "r");
    if (f == nullptr) {
        logLine(s, std::string("script\tline=0\terror=cannot open ") + path);
        std::fprintf(stderr, "libVireoBridge: cannot open the script %s\n", path);
        return;
    }
    std::string line;
    int lineNo = 0;
    for (int ch = 0; ch != EOF;) {
        line.clear();
        while ((ch = std::fgetc(f)) != EOF && ch != '\n') line += static_cast<char>(ch);
        if (ch == EOF && line.empty()) break;
        ++lineNo;
        const auto first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') continue;
        Change c;
        const std::string why = parseLine(line, c);
        if (!why.empty()) {
            logLine(s, "script\tline=" + std::to_string(lineNo) + "\terror=" + why);
            std::fprintf(stderr, "libVireoBridge: %s, line %d: %s\n", path, lineNo, why.c_str());
            continue;
        }
        s.script.push_back(c);
    }
    std::fclose(f);
}

State& started() {
    State& s = state();
    if (s.started) return s;
    s.started = true;
    const char* log = std::getenv("VIREO_BRIDGE_LOG");
    if (log != nullptr && *log != '\0') {
        s.log = std::fopen(log, "a");
        if (s.log == nullptr) std::fprintf(stderr, "libVireoBridge: cannot open the log %s\n", log);
    }
    const char* script = std::getenv("VIREO_BRIDGE_SCRIPT");
    if (script != nullptr && *script != '\0') readScript(s, script);
    return s;
}

std::string values(int count, const float* v) {
    std::string out;
    for (int i = 0; v != nullptr && i < count; ++i) {
        if (i > 0) out += ',';
        out += number(v[i]);
    }
    return out;
}

void logInOut(const char* function, int blockNumber, int inputCount, const float* in, int outputCount,
              const float* out) {
    State& s = started();
    if (s.log == nullptr) return;
    logLine(s, std::string(function) + "\tblock=" + std::to_string(blockNumber) + "\tnin=" +
                   std::to_string(inputCount) + "\tin=" + values(inputCount, in) + "\tnout=" +
                   std::to_string(outputCount) + "\tout=" + values(outputCount, out));
}

}  // namespace

extern "C" {

void getBpFromPlumo(int pair[2], float* value, char text[80]) {
    State& s = started();
    ++s.polls;
    Change c;
    if (s.next < s.script.size() && s.script[s.next].round <= s.round) c = s.script[s.next++];
    if (pair != nullptr) {
        pair[0] = c.block;
        pair[1] = c.index;
    }
    if (value != nullptr) *value = c.value;
    if (text != nullptr) {
        std::memset(text, 0, kTextLength);
        std::memcpy(text, c.text.data(), std::min(c.text.size(), kTextLength));
    }
    logLine(s, "getBpFromPlumo\tround=" + std::to_string(s.round) + "\tpoll=" + std::to_string(s.polls) +
                   "\tblock=" + std::to_string(c.block) + "\tindex=" + std::to_string(c.index) +
                   "\tvalue=" + number(c.value) + "\ttext=" + c.text);
    if (c.block == 0 || c.index == 0) ++s.round;
}

void markPlumoBlock(int blockNumber) {
    logLine(started(), "markPlumoBlock\tblock=" + std::to_string(blockNumber));
}

void updateInOut(int blockNumber, int inputCount, float* in, int outputCount, float* out) {
    logInOut("updateInOut", blockNumber, inputCount, in, outputCount, out);
}

void blockToPlumo(int blockNumber, int inputCount, float* in, int outputCount, float* out) {
    logInOut("blockToPlumo", blockNumber, inputCount, in, outputCount, out);
}

void vireoBridgeReset(void) { state().close(); }

}  // extern "C"
