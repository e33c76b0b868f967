// The engine's String reads numbers from model text: no input may crash it or reach
// undefined behaviour.
#include "String.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    String s(text.c_str());
    (void)s.toInt();
    (void)s.toReal();
    const unsigned p = size > 0 ? data[0] : 0;
    (void)s.mid(p, p / 2);
    (void)s.charPos('.', p);
    (void)s.stringPos(s.right(p % 5), p % 7);
    s += static_cast<float>(s.toReal());
    s.toUpper();
    return 0;
}
