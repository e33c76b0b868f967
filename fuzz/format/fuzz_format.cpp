// Formats and records come from users (a read format in a block's parameters, data
// files) and from database files that may be damaged: no format text and no record may
// crash the parser, the reader or the writer, or make them run without bound.
#include "vireo/format/Format.h"
#include "vireo/format/Reader.h"
#include "vireo/format/Writer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

using namespace vireo::format;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned selector = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = rest.find('\n');
    const std::string_view formatText = rest.substr(0, split);
    const std::string_view records = split == std::string_view::npos ? std::string_view() : rest.substr(split + 1);

    (void)checkReadFormat(formatText);
    const Format format(formatText);

    // Read into a mix of variables chosen by the selector.
    int i1 = 0, i2 = 0;
    float f1 = 0;
    double d1 = 0;
    std::string t1;
    std::vector<Item> items;
    for (unsigned k = 0; k < (selector & 7u); ++k) {
        switch (((selector >> 3) + k) & 3u) {
        case 0: items.emplace_back(k % 2 ? i1 : i2); break;
        case 1: items.emplace_back(f1); break;
        case 2: items.emplace_back(d1); break;
        default: items.emplace_back(t1, (selector >> 5) + 1u); break;
        }
    }
    TextRecords source(records);
    ReadOptions options;
    options.commaEndsField = (selector & 0x80u) == 0;
    for (int round = 0; round < 3; ++round)
        if (!read(source, format, items, options).ok()) break;
    TextRecords listSource(records);
    (void)readList(listSource, items);
    SingleRecord single(records);
    (void)read(single, format, items);

    // Write values taken from the records' bytes: integers, reals (NaN and infinities
    // among them) and texts.
    std::vector<Value> values;
    std::size_t at = 0;
    for (unsigned k = 0; k < (selector & 7u); ++k) {
        switch (((selector >> 3) + k) & 3u) {
        case 0: {
            long long v = 0;
            const std::size_t n = records.size() - at < sizeof v ? records.size() - at : sizeof v;
            if (n > 0) std::memcpy(&v, records.data() + at, n);
            at += n;
            values.emplace_back(v);
            break;
        }
        case 1:
        case 2: {
            double v = 0;
            const std::size_t n = records.size() - at < sizeof v ? records.size() - at : sizeof v;
            if (n > 0) std::memcpy(&v, records.data() + at, n);
            at += n;
            values.emplace_back(v);
            break;
        }
        default:
            values.emplace_back(records.substr(at, 9));
            break;
        }
    }
    std::vector<std::string> out;
    const Status written = write(format, values, out);
    std::size_t total = 0;
    for (const std::string& r : out) total += r.size() + 1;
    if (written.ok() && total > kMaxRecordLength + 1) __builtin_trap();
    std::vector<std::string> refused;
    (void)write(format, values, refused, WriteOptions{true});
    return 0;
}
