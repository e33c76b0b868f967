// msg and its relatives: one line per message from the catalogue, a trace record for
// tests, and the count of reported errors for the host's exit status.
#include "vireo_tools.h"

#include "catalogue.h"
#include "fixed_text.h"
#include "trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string_view>

namespace vireo_tools {
namespace {

struct Catalogue {
    std::vector<Message> messages;
    std::map<int, size_t> byCode;
    std::vector<std::string> problems;
};

std::vector<Slot> slotsOf(const std::string& templ, std::vector<std::string>& problems, int code) {
    std::vector<Slot> slots;
    for (size_t p = templ.find('{'); p != std::string::npos; p = templ.find('{', p + 1)) {
        const size_t close = templ.find('}', p);
        if (close == std::string::npos || close < p + 3) {
            problems.push_back("message " + std::to_string(code) + ": unclosed placeholder");
            break;
        }
        const char kind = templ[p + 1];
        int index = -1;
        auto [end, ec] = std::from_chars(templ.data() + p + 2, templ.data() + close, index);
        if (ec != std::errc() || end != templ.data() + close || (kind != 'i' && kind != 'r' && kind != 's') ||
            index < 0 || index > 15 || (kind == 's' && index > 9)) {
            problems.push_back("message " + std::to_string(code) + ": bad placeholder " +
                               templ.substr(p, close - p + 1));
            continue;
        }
        slots.push_back({kind, index});
    }
    std::sort(slots.begin(), slots.end());
    slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
    return slots;
}

const Catalogue& catalogue() {
    static const Catalogue cat = [] {
        Catalogue c;
        std::string_view text = catalogueText();
        int lineNo = 0;
        while (!text.empty()) {
            const size_t nl = text.find('\n');
            std::string_view line = text.substr(0, nl);
            text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
            ++lineNo;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (line.empty() || line.front() == '#') continue;
            const size_t tab = line.find('\t');
            int code = 0;
            auto [end, ec] = std::from_chars(line.data(), line.data() + std::min(tab, line.size()), code);
            if (tab == std::string_view::npos || ec != std::errc() || end != line.data() + tab || code <= 0) {
                c.problems.push_back("catalogue line " + std::to_string(lineNo) + " is not 'code<TAB>text'");
                continue;
            }
            if (c.byCode.count(code)) {
                c.problems.push_back("message " + std::to_string(code) + " is defined twice");
                continue;
            }
            Message m{code, std::string(line.substr(tab + 1)), {}};
            m.slots = slotsOf(m.templ, c.problems, code);
            c.messages.push_back(std::move(m));
        }
        std::sort(c.messages.begin(), c.messages.end(),
                  [](const Message& a, const Message& b) { return a.code < b.code; });
        for (size_t i = 0; i < c.messages.size(); ++i) c.byCode[c.messages[i].code] = i;
        return c;
    }();
    return cat;
}

template <class Out>
void appendInt(Out& out, long v) {
    char buf[24];
    out.append(std::string_view(buf, static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, v).ptr - buf)));
}

template <class Out>
void appendReal(Out& out, float x) {
    char buf[48];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 7);
    out.append(ec == std::errc() ? std::string_view(buf, static_cast<std::size_t>(end - buf)) : std::string_view("?"));
}

std::string_view rowText(const MessageValues& v, int row) {
    if (v.rows == nullptr || v.rowLength == 0) return {};
    const char* r = v.rows + static_cast<size_t>(row) * v.rowLength;
    size_t n = 0;
    while (n < v.rowLength && r[n] != '\0') ++n;
    while (n > 0 && r[n - 1] == ' ') --n;
    return {r, n};
}

template <class Out>
void appendValue(Out& out, const MessageValues& v, Slot s) {
    switch (s.kind) {
        case 'i': appendInt(out, v.ints[s.index]); break;
        case 'r':
            if (v.reals != nullptr) appendReal(out, v.reals[s.index]);
            else out.append("0");
            break;
        default: out.append(rowText(v, s.index)); break;
    }
}

// Trace records are one line of tab-separated fields: keep them so.
template <class Out>
void appendEscaped(Out& out, std::string_view s) {
    for (const char ch : s) {
        if (ch == '\\') out.append("\\\\");
        else if (ch == '\t') out.append("\\t");
        else if (ch == '\n') out.append("\\n");
        else if (ch == '\r') out.append("\\r");
        else out.push_back(ch);
    }
}

}  // namespace

std::string traceEscaped(const std::string& s) {
    std::string out;
    appendEscaped(out, s);
    return out;
}

void appendTrace(const std::string& record) {
    const char* trace = std::getenv("VIREO_MSG_TRACE");
    if (trace == nullptr || *trace == '\0') return;
    if (FILE* f = std::fopen(trace, "a")) {
        std::fputs(record.c_str(), f);
        std::fputc('\n', f);
        std::fclose(f);
    }
}

namespace {

// Messages are reported from one thread only: the engine has no threads.
int errorCount = 0;

vireo_output_closed_hook outputClosedHook = nullptr;

// The last message of a process that a fatal signal ends is made here, and the trace file
// is named before such a signal may come: a signal handler may not allocate.
char lastTracePath[4096];
FixedText<8192> lastLine, lastRecord, lastValue;

void writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n > 0) text.remove_prefix(static_cast<std::size_t>(n));
        else if (n < 0 && errno == EINTR) continue;
        else return;
    }
}

// Standard output failed: when its reader is gone (a pipe to `head` that has all it
// wanted), nobody follows the run any more, and its owner is told once.
void outputFailed(int error) {
    if (error != EPIPE) return;
    const vireo_output_closed_hook hook = outputClosedHook;
    outputClosedHook = nullptr;
    if (hook != nullptr) hook();
}

}  // namespace

const Message* findMessage(int code) {
    const Catalogue& c = catalogue();
    auto it = c.byCode.find(code);
    return it == c.byCode.end() ? nullptr : &c.messages[it->second];
}

const std::vector<Message>& allMessages() { return catalogue().messages; }
const std::vector<std::string>& catalogueProblems() { return catalogue().problems; }

std::string_view severityWord(int code) {
    if (code < 100000 || code > 499999) return {};
    switch (code / 100000) {
        case 1: return "Note";
        case 2: return "Warning";
        case 3: return "Error";
        default: return "Fatal error";
    }
}

std::string formatValue(const MessageValues& v, Slot s) {
    std::string value;
    appendValue(value, v, s);
    return value;
}

namespace {

// The template with its values.
template <class Out>
void appendBody(Out& out, const Message* m, const MessageValues& v) {
    const std::size_t body = out.size();
    const std::string& t = m->templ;
    for (size_t p = 0; p < t.size();) {
        if (t[p] == '{') {
            const size_t close = t.find('}', p);
            int index = 0;
            if (close != std::string::npos && close > p + 2 &&
                std::from_chars(t.data() + p + 2, t.data() + close, index).ec == std::errc() &&
                std::binary_search(m->slots.begin(), m->slots.end(), Slot{t[p + 1], index})) {
                const std::size_t before = out.size();
                appendValue(out, v, Slot{t[p + 1], index});
                p = close + 1;
                // An empty value takes one neighbouring blank with it ("block {s1} {i3}"
                // from a caller that knows no name reads "block 7").
                if (out.size() == before) {
                    if (out.size() > body && out.back() == ' ') out.pop_back();
                    else if (p < t.size() && t[p] == ' ') ++p;
                }
                continue;
            }
        }
        out.push_back(t[p++]);
    }
}

// The line msg writes: the severity and the code, then the template with its values.
template <class Out>
void composeLine(Out& out, int code, const MessageValues& v) {
    const Message* m = findMessage(code);
    const std::string_view sev = severityWord(code);
    if (sev.empty() && m == nullptr) {
        out.append("Message ");
        appendInt(out, code);
        return;
    }
    if (!sev.empty()) {
        out.append(sev);
        out.push_back(' ');
        appendInt(out, code);
        out.append(": ");
    }
    const std::size_t body = out.size();
    if (m != nullptr) appendBody(out, m, v);
    if (out.size() == body && !sev.empty()) out.resize(body - 2);  // no ": " before nothing
}

template <class Out, class Scratch>
void composeTrace(Out& out, Scratch& value, int code, const MessageValues& v) {
    appendInt(out, code);
    const Message* m = findMessage(code);
    if (m == nullptr) return;
    for (const Slot& s : m->slots) {
        out.push_back('\t');
        out.push_back(s.kind);
        appendInt(out, s.index);
        out.push_back('=');
        value.resize(0);
        appendValue(value, v, s);
        appendEscaped(out, value);
    }
}

}  // namespace

std::string formatLine(int code, const MessageValues& v) {
    std::string line;
    composeLine(line, code, v);
    return line;
}

std::string traceRecord(int code, const MessageValues& v) {
    std::string rec, value;
    composeTrace(rec, value, code, v);
    return rec;
}

}  // namespace vireo_tools

using namespace vireo_tools;

extern "C" {

void msg(const int* iarr, const float* rarr, const char* sarr, size_t rowLength) {
    if (iarr == nullptr) return;
    const int code = iarr[0];
    const MessageValues v{iarr, rarr, sarr, rowLength};
    std::string line = formatLine(code, v);
    while (!line.empty() && line.back() == ' ') line.pop_back();

    // Out at once, line by line: an editor reads the lines as they come through a pipe,
    // and a block that crashes later must not take the lines before with it.
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    if (std::fflush(stdout) != 0) outputFailed(errno);
    appendTrace(traceRecord(code, v));
    if (code >= 300000) ++errorCount;
}

void ftext(const char* text, size_t length) {
    if (text == nullptr) return;
    size_t n = 0;
    while (n < length && text[n] != '\0') ++n;
    while (n > 0 && text[n - 1] == ' ') --n;
    std::fwrite(text, 1, n, stdout);
    std::fputc('\n', stdout);
    if (std::fflush(stdout) != 0) outputFailed(errno);
}

void os0ltxt(const long* host, const char* text, size_t length) {
    appendTrace(std::string("@os0ltxt\t") + (host != nullptr ? "host" : "null"));
    if (text == nullptr) return;
    size_t n = 0;
    while (n < length && text[n] != '\0') ++n;
    while (n > 0 && text[n - 1] == ' ') --n;
    if (n == 0) return;  // the engine's start-up call hands an empty text: nothing to show
    ftext(text, n);
}

int vireo_tools_error_count(void) {
    return errorCount;
}

const int* vireo_tools_error_counter(void) {
    return &errorCount;
}

void vireo_tools_reset_error_count(void) {
    errorCount = 0;
}

void vireo_tools_on_output_closed(vireo_output_closed_hook hook) { outputClosedHook = hook; }

void vireo_tools_prepare_last_message(void) {
    findMessage(0);  // the catalogue is read now
    const char* trace = std::getenv("VIREO_MSG_TRACE");
    const std::size_t n = trace != nullptr ? std::strlen(trace) : 0;
    // A name too long for the buffer is not traced rather than traced elsewhere.
    if (n >= sizeof lastTracePath) lastTracePath[0] = '\0';
    else std::memcpy(lastTracePath, trace != nullptr ? trace : "", n + 1);
}

void vireo_tools_last_message(const int* iarr, const float* rarr, const char* sarr, size_t rowLength) {
    if (iarr == nullptr) return;
    const int saved = errno;
    const MessageValues v{iarr, rarr, sarr, rowLength};
    lastLine.resize(0);
    composeLine(lastLine, iarr[0], v);
    while (!lastLine.empty() && lastLine.back() == ' ') lastLine.pop_back();
    lastLine.push_back('\n');
    writeAll(STDOUT_FILENO, lastLine);
    if (lastTracePath[0] != '\0') {
        lastRecord.resize(0);
        composeTrace(lastRecord, lastValue, iarr[0], v);
        lastRecord.push_back('\n');
        const int fd = ::open(lastTracePath, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        if (fd >= 0) {
            writeAll(fd, lastRecord);
            ::close(fd);
        }
    }
    errno = saved;
}

}  // extern "C"
