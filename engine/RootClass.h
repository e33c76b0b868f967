// Base of the engine classes that report: every engine message becomes one call of the
// utility library's msg, and the process-wide error and warning counts decide whether
// the model may be checked, initialised and run.
#ifndef VIREO_ROOTCLASS_H
#define VIREO_ROOTCLASS_H

#include "BlockProtocol.h"

#include <cstdint>
#include <initializer_list>
#include <string>

class String;

class RootClass {
public:
    static constexpr int kRowLength = static_cast<int>(vireo::protocol::kRow);
    static constexpr int kPrintWidth = 78;

    void vireoMessage(int code) const;
    void vireoMessage(int code, const std::string& text) const;
    void vireoMessage(int code, int a) const;
    void vireoMessage(int code, const String& text, int a) const;
    void vireoMessage(int code, const String& t1, const String& t2, int a, int b) const;
    void vireoMessage(int code, int a, int b) const;
    void vireoMessage(int code, int a, int b, int c) const;
    void vireoMessage(int code, int a, int b, int c, int d) const;
    void vireoMessage(int code, const String& text, int a, int b, int c) const;
    void vireoMessage(int code, float x) const;
    // Texts into rows 0, 1, ... (at most 10), and a into iarr[1].
    void vireoMessage(int code, std::initializer_list<std::string> texts, int a) const;

    // Sends a text of any length as message lines of at most 78 characters; returns the
    // number of characters consumed.
    static int print(const char* text);
    static int vprint(const char* format, ...) __attribute__((format(printf, 1, 2)));
    // Turns a blank-padded row of n characters into a NUL-terminated text in place.
    static void strip(char* row, int n);

    // Message slots: never cleared, so a message leaves what it does not fill to the next.
    static int iarr[16];
    static float rarr[16];
    static char sarr[10][kRowLength];

    static int _errors;
    static int _warnings;
    static int _progress;
    static int _progressMemo;
    static std::int64_t _totalNumberOfTimerCalls;
    static std::int64_t _leftNumberOfTimerCalls;

private:
    static void setRow(int row, const char* text, std::size_t n);
    static void send(int code);
};

#endif
