// The engine's value string: 1-based positions, an optional separator put before every
// appended text, and number formatting that does not depend on the process locale.
#ifndef VIREO_STRING_H
#define VIREO_STRING_H

#include <cstdint>
#include <string>

class String {
public:
    String();
    String(const char* s);           // NOLINT: texts convert implicitly, as everywhere in the engine
    String(const unsigned char* s);  // NOLINT
    String(const std::string& s);    // NOLINT
    String(const String& other);     // the text only: a copy has no separator
    String(String&& other) noexcept;
    ~String();

    String& operator=(const char* s);
    String& operator=(const unsigned char* s);
    String& operator=(const String& other);  // the target keeps its separator
    String& operator=(String&& other) noexcept;

    String& operator+=(const char* s);
    String& operator+=(const unsigned char* s);
    String& operator+=(const String& s);
    String& operator+=(const int& i);    // "%d"
    String& operator+=(const float& x);  // "%17.7g"

    // The separator put before every text appended with +=; an empty text removes it.
    void concatSpace(const char* s);

    char operator[](unsigned p) const;
    bool isSubstring(const String& s, unsigned p) const;
    unsigned charPos(char c, unsigned p) const;
    unsigned charPosLast(char c) const;
    unsigned stringPos(const String& s, unsigned p) const;
    String left(unsigned n) const;
    String right(unsigned n) const;
    String mid(unsigned p, unsigned n) const;
    int toInt() const;
    float toReal() const;
    void toUpper();
    void print() const;
    void writeInto(char* dst) const;

    const char* buffer() const { return data_; }
    unsigned length() const { return len_; }
    std::string str() const { return std::string(data_, len_); }

    // The two formats of +=, for anyone who must show numbers as the engine does.
    static std::string formatInt(int i);
    static std::string formatReal(float x);

private:
    void assign(const char* s, std::uint32_t n);
    void append(const char* s, std::uint32_t n);

    char* data_;
    std::uint32_t len_;
    char* sep_ = nullptr;
    std::uint32_t sepLen_ = 0;
};

bool operator==(const String& a, const String& b);
bool operator!=(const String& a, const String& b);

#endif
