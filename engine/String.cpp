#include "String.h"

#include "RootClass.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

char* copyOf(const char* s, std::uint32_t n) {
    char* d = new char[n + 1];
    if (n > 0) std::memcpy(d, s, n);
    d[n] = '\0';
    return d;
}

std::uint32_t lengthOf(const char* s) {
    return s == nullptr ? 0 : static_cast<std::uint32_t>(std::strlen(s));
}

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

String::String() : data_(copyOf("", 0)), len_(0) {}
String::String(const char* s) : data_(copyOf(s, lengthOf(s))), len_(lengthOf(s)) {}
String::String(const unsigned char* s) : String(reinterpret_cast<const char*>(s)) {}
String::String(const std::string& s)
    : data_(copyOf(s.data(), static_cast<std::uint32_t>(s.size()))), len_(static_cast<std::uint32_t>(s.size())) {}
String::String(const String& other) : data_(copyOf(other.data_, other.len_)), len_(other.len_) {}

String::String(String&& other) noexcept
    : data_(other.data_), len_(other.len_), sep_(other.sep_), sepLen_(other.sepLen_) {
    other.data_ = nullptr;
    other.sep_ = nullptr;
    other.len_ = other.sepLen_ = 0;
}

String::~String() {
    delete[] data_;
    delete[] sep_;
}

void String::assign(const char* s, std::uint32_t n) {
    char* d = copyOf(s, n);
    delete[] data_;
    data_ = d;
    len_ = n;
}

String& String::operator=(const char* s) {
    assign(s, lengthOf(s));
    return *this;
}
String& String::operator=(const unsigned char* s) { return *this = reinterpret_cast<const char*>(s); }
String& String::operator=(const String& other) {
    if (this != &other) assign(other.data_, other.len_);
    return *this;
}
String& String::operator=(String&& other) noexcept {
    if (this != &other) {
        delete[] data_;
        data_ = other.data_;
        len_ = other.len_;
        other.data_ = copyOf("", 0);  // a moved-from string stays a valid empty string
        other.len_ = 0;
    }
    return *this;
}

void String::append(const char* s, std::uint32_t n) {
    const std::uint64_t total = static_cast<std::uint64_t>(len_) + sepLen_ + n;
    if (total == 0) return;
    char* d = new char[total + 1];
    std::memcpy(d, data_, len_);
    if (sepLen_ > 0) std::memcpy(d + len_, sep_, sepLen_);
    if (n > 0) std::memcpy(d + len_ + sepLen_, s, n);
    d[total] = '\0';
    delete[] data_;
    data_ = d;
    len_ = static_cast<std::uint32_t>(total);
}

String& String::operator+=(const char* s) {
    append(s, lengthOf(s));
    return *this;
}
String& String::operator+=(const unsigned char* s) { return *this += reinterpret_cast<const char*>(s); }
String& String::operator+=(const String& s) {
    if (&s == this) {
        const String copy(s);
        append(copy.data_, copy.len_);
    } else {
        append(s.data_, s.len_);
    }
    return *this;
}
String& String::operator+=(const int& i) {
    const std::string t = formatInt(i);
    append(t.data(), static_cast<std::uint32_t>(t.size()));
    return *this;
}
String& String::operator+=(const float& x) {
    const std::string t = formatReal(x);
    append(t.data(), static_cast<std::uint32_t>(t.size()));
    return *this;
}

std::string String::formatInt(int i) {
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, i);
    return std::string(buf, r.ptr);
}

std::string String::formatReal(float x) {
    // "%17.7g" without the locale: the shortest %g form with 7 significant digits,
    // right-aligned in 17 characters.
    char buf[48];
    std::string t;
    if (std::isnan(x)) {
        t = std::signbit(x) ? "-nan" : "nan";
    } else {
        auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(x), std::chars_format::general, 7);
        t.assign(buf, r.ptr);
    }
    if (t.size() < 17) t.insert(0, 17 - t.size(), ' ');
    return t;
}

void String::concatSpace(const char* s) {
    delete[] sep_;
    sep_ = nullptr;
    sepLen_ = 0;
    const std::uint32_t n = lengthOf(s);
    if (n > 0) {
        sep_ = copyOf(s, n);
        sepLen_ = n;
    }
}

char String::operator[](unsigned p) const { return p == 0 || p > len_ ? '\0' : data_[p - 1]; }

bool String::isSubstring(const String& s, unsigned p) const {
    if (p == 0 || p > len_) return false;
    if (s.len_ > len_ - (p - 1)) return false;
    return std::memcmp(data_ + p - 1, s.data_, s.len_) == 0;
}

unsigned String::charPos(char c, unsigned p) const {
    if (p == 0 || p > len_) return 0;
    const void* hit = std::memchr(data_ + p - 1, c, len_ - (p - 1));
    return hit == nullptr ? 0 : static_cast<unsigned>(static_cast<const char*>(hit) - data_) + 1;
}

unsigned String::charPosLast(char c) const {
    for (unsigned i = len_; i > 0; --i)
        if (data_[i - 1] == c) return i;
    return 0;
}

unsigned String::stringPos(const String& s, unsigned p) const {
    if (p == 0 || p > len_) return 0;
    for (unsigned q = p; q + s.len_ <= len_ + 1; ++q)
        if (isSubstring(s, q)) return q;
    return 0;
}

String String::left(unsigned n) const {
    String r;
    r.assign(data_, n < len_ ? n : len_);
    return r;
}

String String::right(unsigned n) const {
    const unsigned k = n < len_ ? n : len_;
    String r;
    r.assign(data_ + (len_ - k), k);
    return r;
}

String String::mid(unsigned p, unsigned n) const {
    String r;
    if (p == 0 || p > len_ || n == 0) return r;
    const unsigned avail = len_ - p + 1;
    r.assign(data_ + p - 1, n < avail ? n : avail);
    return r;
}

int String::toInt() const {
    // atoi's reading, without its undefined behaviour beyond the int range (saturated).
    const char* s = data_;
    while (isBlank(*s)) ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') negative = *s++ == '-';
    long long v = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        v = v * 10 + (*s - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) {
            v = static_cast<long long>(INT_MAX) + 1;
            break;
        }
    }
    if (negative) v = -v;
    if (v > INT_MAX) v = INT_MAX;
    return static_cast<int>(v);
}

float String::toReal() const {
    // atof's reading with a full stop as decimal point whatever the process locale.
    const char* s = data_;
    while (isBlank(*s)) ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') negative = *s++ == '-';
    if (*s == '+' || *s == '-') return 0.0f;  // a second sign: no number
    double v = 0.0;
    auto r = std::from_chars(s, data_ + len_, v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // from_chars leaves v alone here; atof gives infinity or zero.
        const char* e = s;
        while (*e && *e != 'e' && *e != 'E') ++e;
        v = (*e && e[1] == '-') ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (r.ec != std::errc()) {
        v = 0.0;
    }
    if (negative) v = -v;
    if (std::fabs(v) > std::numeric_limits<float>::max() && std::isfinite(v))
        v = std::copysign(std::numeric_limits<double>::infinity(), v);
    return static_cast<float>(v);
}

void String::toUpper() {
    for (std::uint32_t i = 0; i < len_; ++i)
        if (data_[i] >= 'a' && data_[i] <= 'z') data_[i] = static_cast<char>(data_[i] - 'a' + 'A');
}

void String::print() const { RootClass::print(data_); }

void String::writeInto(char* dst) const {
    if (dst == nullptr || len_ == 0) return;
    std::memcpy(dst, data_, len_);
}

bool operator==(const String& a, const String& b) { return std::strcmp(a.buffer(), b.buffer()) == 0; }
bool operator!=(const String& a, const String& b) { return !(a == b); }
