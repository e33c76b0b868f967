// The listing of the sites a search selects, for the host's window.
#include "files.h"

#include "vireo_tools.h"

namespace vireo::em::weather {

namespace {

// The host window the lines go to: the library has none of its own.
const long kWindow = 0;

// A line ends in a NUL, for the window, within a row of blanks.
void show(std::string line) {
    line.resize(protocol::kRow, ' ');
    os0ltxt(&kWindow, line.data(), line.size());
}

const format::Format kSiteLine("(A20,1X,I4,2F7.2,A1)");

}  // namespace

int mtmlst(Search q, std::string_view directory, const int& flow) {
    q.name = std::string(stripped(q.name));
    if (const int c = checkQuery(q); c != 0) return c;
    const int mode = searchMode(q);
    const Hold hold(directory, Hold::reading);
    if (hold.status() != 0) return hold.status();
    // A fresh search, which every call below then continues.
    int record = 0;
    Site site;
    mtloc(search::close, q, record, site, directory);
    show(std::string("List of data base") + '\0');
    show(std::string("Name              Country Latitude Longitude") + '\0');
    int status = 0;
    // Every search goes on after the site before it; the bound only guards a site file
    // that changes under the listing.
    for (int n = 0; status == 0 && flow != 2 && n <= kLastRecord; ++n) {
        status = mtloc(mode, q, record, site, directory);
        if (status != 0) break;
        std::string name = site.name;
        name.resize(kNameLength, ' ');
        const std::initializer_list<format::Value> values{name, site.country, site.latitude, site.longitude,
                                                          std::string_view("\0", 1)};
        std::string line;
        format::writeRecord(kSiteLine, std::span(values.begin(), values.size()), line);
        show(line);
    }
    return status;
}

}  // namespace vireo::em::weather
