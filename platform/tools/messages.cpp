// msg and its relatives: one line per message from the catalogue, a trace record for
// tests, and the count of reported errors for the host's exit status.
#include "vireo_tools.h"

#include "catalogue.h"
#include "trace.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

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

std::string realText(float x) {
    char buf[48];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 7);
    return ec == std::errc() ? std::string(buf, end) : std::string("?");
}

std::string rowText(const MessageValues& v, int row) {
    if (v.rows == nullptr || v.rowLength == 0) return {};
    const char* r = v.rows + static_cast<size_t>(row) * v.rowLength;
    size_t n = 0;
    while (n < v.rowLength && r[n] != '\0') ++n;
    while (n > 0 && r[n - 1] == ' ') --n;
    return std::string(r, n);
}

}  // namespace

// Trace records are one line of tab-separated fields: keep them so.
std::string traceEscaped(const std::string& s) {
    std::string out;
    for (unsigned char ch : s) {
        if (ch == '\\') out += "\\\\";
        else if (ch == '\t') out += "\\t";
        else if (ch == '\n') out += "\\n";
        else if (ch == '\r') out += "\\r";
        else out += static_cast<char>(ch);
    }
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
    switch (s.kind) {
        case 'i': return std::to_string(v.ints[s.index]);
        case 'r': return v.reals ? realText(v.reals[s.index]) : std::string("0");
        default: return rowText(v, s.index);
    }
}

std::string formatLine(int code, const MessageValues& v) {
    const Message* m = findMessage(code);
    std::string body;
    if (m != nullptr) {
        const std::string& t = m->templ;
        for (size_t p = 0; p < t.size();) {
            if (t[p] == '{') {
                const size_t close = t.find('}', p);
                int index = 0;
                if (close != std::string::npos && close > p + 2 &&
                    std::from_chars(t.data() + p + 2, t.data() + close, index).ec == std::errc() &&
                    std::binary_search(m->slots.begin(), m->slots.end(), Slot{t[p + 1], index})) {
                    const std::string value = formatValue(v, Slot{t[p + 1], index});
                    p = close + 1;
                    // An empty value takes one neighbouring blank with it ("block {s1} {i3}"
                    // from a caller that knows no name reads "block 7").
                    if (value.empty() && !body.empty() && body.back() == ' ') body.pop_back();
                    else if (value.empty() && p < t.size() && t[p] == ' ') ++p;
                    body += value;
                    continue;
                }
            }
            body += t[p++];
        }
    }
    const std::string_view sev = severityWord(code);
    if (sev.empty()) return m ? body : "Message " + std::to_string(code);
    std::string line = std::string(sev) + " " + std::to_string(code);
    if (!body.empty()) line += ": " + body;
    return line;
}

std::string traceRecord(int code, const MessageValues& v) {
    std::string rec = std::to_string(code);
    if (const Message* m = findMessage(code)) {
        for (const Slot& s : m->slots) {
            rec += '\t';
            rec += s.kind;
            rec += std::to_string(s.index);
            rec += '=';
            rec += traceEscaped(formatValue(v, s));
        }
    }
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
    std::fflush(stdout);
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
    std::fflush(stdout);
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

}  // extern "C"
