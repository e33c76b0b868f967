#include "RootClass.h"

#include "String.h"
#include "vireo_tools.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

int RootClass::iarr[16];
float RootClass::rarr[16];
char RootClass::sarr[10][kRowLength];
int RootClass::_errors = 0;
int RootClass::_warnings = 0;
int RootClass::_progress = 0;
int RootClass::_progressMemo = 0;
std::int64_t RootClass::_totalNumberOfTimerCalls = 1;
std::int64_t RootClass::_leftNumberOfTimerCalls = 1;

void RootClass::setRow(int row, const char* text, std::size_t n) {
    // A text never reaches past its row: longer ones are cut.
    if (n > static_cast<std::size_t>(kRowLength)) n = kRowLength;
    if (n > 0) std::memcpy(sarr[row], text, n);
    std::memset(sarr[row] + n, ' ', kRowLength - n);
}

void RootClass::send(int code) {
    iarr[0] = code;
    msg(iarr, rarr, &sarr[0][0], kRowLength);
    if (code > 299999) ++_errors;
    else if (code >= 200000) ++_warnings;
}

void RootClass::vireoMessage(int code) const { send(code); }

void RootClass::vireoMessage(int code, const std::string& text) const {
    setRow(0, text.data(), text.size());
    send(code);
}

void RootClass::vireoMessage(int code, int a) const {
    iarr[1] = a;
    send(code);
}

void RootClass::vireoMessage(int code, const String& text, int a) const {
    iarr[1] = a;
    setRow(0, text.buffer(), text.length());
    send(code);
}

void RootClass::vireoMessage(int code, const String& t1, const String& t2, int a, int b) const {
    iarr[1] = a;
    iarr[2] = b;
    setRow(0, t1.buffer(), t1.length());
    setRow(1, t2.buffer(), t2.length());
    send(code);
}

void RootClass::vireoMessage(int code, int a, int b) const {
    iarr[1] = a;
    iarr[2] = b;
    send(code);
}

void RootClass::vireoMessage(int code, int a, int b, int c) const {
    iarr[1] = a;
    iarr[2] = b;
    iarr[3] = c;
    send(code);
}

void RootClass::vireoMessage(int code, int a, int b, int c, int d) const {
    iarr[4] = d;
    vireoMessage(code, a, b, c);
}

void RootClass::vireoMessage(int code, const String& text, int a, int b, int c) const {
    iarr[1] = a;
    iarr[2] = b;
    iarr[3] = c;
    setRow(0, text.buffer(), text.length());
    send(code);
}

void RootClass::vireoMessage(int code, float x) const {
    rarr[0] = x;
    send(code);
}

void RootClass::vireoMessage(int code, std::initializer_list<std::string> texts, int a) const {
    iarr[1] = a;
    int row = 0;
    for (const std::string& t : texts) {
        if (row == 10) break;
        setRow(row++, t.data(), t.size());
    }
    send(code);
}

int RootClass::print(const char* text) {
    if (text == nullptr) return 0;
    const std::size_t total = std::strlen(text);
    std::size_t p = 0;
    while (p < total) {
        const std::size_t n = total - p <= static_cast<std::size_t>(kPrintWidth) ? total - p : kPrintWidth;
        setRow(0, text + p, n);
        iarr[0] = 4030;
        msg(iarr, rarr, &sarr[0][0], kRowLength);
        p += n;
    }
    return static_cast<int>(p);
}

int RootClass::vprint(const char* format, ...) {
    char text[255];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);  // cut at 254 characters
    va_end(args);
    return print(text);
}

void RootClass::strip(char* row, int n) {
    if (row == nullptr || n <= 0) return;
    if (n == 1) {
        row[0] = '\0';
        return;
    }
    row[n - 1] = '\0';
    int end = n - 1;
    while (end > 0 && row[end - 1] == ' ') --end;
    row[end] = '\0';
}
