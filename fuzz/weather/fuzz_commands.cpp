// The update command file is typed by hand: no text may crash its reader, make it run
// without bound, or hand on a site block the database would be asked to store nonsense
// from (a blank name or one with control characters, values that are not finite).
#include "commands.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace db = vireo::em::weather;

namespace {

bool sound(const db::SiteBlock& b) {
    if (b.name.empty() || b.name.size() > db::kNameLength) return false;
    for (const char c : b.name)
        if (static_cast<unsigned char>(c) < 32 || c == 127) return false;
    for (const float v : b.values)
        if (!std::isfinite(v)) return false;
    for (const float v : {b.latitude, b.longitude, b.deltaLatitude, b.deltaLongitude})
        if (!std::isfinite(v)) return false;
    return b.command >= db::command::none && b.command <= db::command::list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vireo::format::TextRecords lines(text);
    long notes = 0;
    db::CommandFile file(lines, "fuzz", {}, [&](const db::CommandNote&) { ++notes; });
    // Each call takes at least one line, so there are no more calls than lines and one.
    const std::size_t bound = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 2;
    for (std::size_t call = 0;; ++call) {
        if (call > bound) std::abort();
        db::SiteBlock b;
        const int status = file.readcmd(b);
        if (status == db::kNotFound) break;
        if (status == 0 && !sound(b)) std::abort();
        if (status != 0 && notes == 0) std::abort();  // an error is never silent
    }
    return 0;
}
