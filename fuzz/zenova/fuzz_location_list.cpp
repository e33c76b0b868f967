// The location list over arbitrary bytes: whatever is read stays within the table's limit,
// and the table written reads back whole and unchanged; every change keeps that so.
#include "Locations.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

using namespace zenova;

namespace {

LocationLoad load(const std::string& bytes) {
    std::istringstream in(bytes);
    return loadLocations(in);
}

std::string saved(const LocationTable& table) {
    std::ostringstream out;
    saveLocations(out, table);
    return out.str();
}

// Written and read again: the same records (numbered by position), nothing passed over.
void roundTrip(const LocationTable& table) {
    const LocationLoad again = load(saved(table));
    if (!again.report.clean() || again.table.records.size() != table.records.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        LocationRecord expected = table.records[i];
        expected.number = static_cast<int>(i) + 1;
        if (!(again.table.records[i] == expected)) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    LocationLoad l = load(bytes);
    if (l.table.records.size() > kMaxLocations) {
        std::abort();
    }
    (void)describeLoadReport(l.report, "Loc_def.lst");
    roundTrip(l.table);
    if (l.table.records.empty()) {
        return 0;
    }
    // Changes chosen by the input's first bytes, each followed by the round trip.
    const std::size_t index = data[0] % l.table.records.size();
    const LocationRecord& r = l.table.records[index];
    (void)insertLocation(l.table, storedRecord(r.name, r.longitudeText, r.latitudeText, r.timeLagText));
    (void)updateLocation(l.table, index, storedRecord(bytes.substr(0, 45), "1.00", "2.00", "3.0"));
    roundTrip(l.table);
    (void)deleteLocation(l.table, index);
    roundTrip(l.table);
    return 0;
}
