// The weather database's files are outside input: copies from elsewhere, made by hand or
// damaged. No content of the three files may crash a search, a fetch, an insertion, a
// deletion or the free lists, or make them run without bound. An input is the three files
// (site, index, data) separated by the byte 0x01; the first byte picks the queries and
// which of the writing routines run.
#include "database.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace db = vireo::em::weather;

namespace {

std::string& scratch() {
    static std::string dir;
    return dir;
}

void removeScratch() { std::filesystem::remove_all(scratch()); }

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::freopen("/dev/null", "w", stdout);  // the messages of the nearest-site search
    // A memory file system where there is one: the rewrites sync their files.
    std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/vireo-fuzz-weather-XXXXXX"
                                                                    : "/tmp/vireo-fuzz-weather-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    scratch() = pattern + "/";
    std::atexit(removeScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned selector = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string& dir = scratch();
    db::mtmclo(dir);
    for (const char* name : {db::kSiteFile, db::kIndexFile, db::kDataFile}) {
        const std::size_t cut = rest.find('\x01');
        writeFile(dir + name, rest.substr(0, cut));
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }

    std::array<float, db::kMonthArray> months{};
    static const char* const names[] = {"BERN", "ber*", "*", "Springfield"};
    db::Search q;
    q.name = names[selector % 4];
    (void)db::mtmget(q, months, dir);
    db::Search window;
    window.latitude = 48.0f;
    window.longitude = -9.2f;
    window.deltaLatitude = static_cast<float>(selector % 90);
    window.deltaLongitude = static_cast<float>(selector % 180);
    (void)db::mtmget(window, months, dir);
    // Every search mode, continued until it finds no more (or a bound).
    for (int mode = db::search::byNameOnce; mode <= db::search::byWindow; ++mode) {
        db::Search s = mode == db::search::byWindow ? window : q;
        s.country = mode == db::search::byCountry ? static_cast<int>(selector % 7) : 0;
        s.continent = mode == db::search::byContinent ? static_cast<int>(selector % 3) : 0;
        int record = 0;
        db::Site site;
        for (int n = 0; n < 32 && db::mtloc(mode, s, record, site, dir) == 0; ++n)
            if ((selector & 0x10u) != 0 && n == 0) (void)db::loadSite(site, months, dir);
    }
    int ip[10] = {};
    const vireo::block::Reporter reporter(ip, "FUZZ");
    db::Neighbours nearest;
    (void)db::neighbor(350.8f, 48.0f, nearest, (selector & 0x20u) != 0, dir, reporter);

    if ((selector & 0x40u) != 0) {
        db::Site site;
        site.name = "Fuzz";
        site.latitude = 45.0f;
        site.longitude = -9.0f;
        int record = 0, count = 0;
        (void)db::mtlocr(db::mode::write, record, count, site, dir);
        record = 2 + static_cast<int>(selector % 3);
        (void)db::mtlocr(db::mode::remove, record, count, site, dir);
    }
    if ((selector & 0x80u) != 0) {
        std::array<float, db::kMonths> values{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        float annual = 0.0f;
        int record = 0;
        (void)db::mtmdat(db::mode::write, 1 + static_cast<int>(selector % 7), record, annual, values, dir);
        record = 2 + static_cast<int>(selector % 5);
        (void)db::mtmdat(db::mode::remove, 1, record, annual, values, dir);
        db::Pointers pointers{};
        record = 0;
        (void)db::mtmptr(db::mode::write, record, pointers, dir);
        record = 2 + static_cast<int>(selector % 4);
        (void)db::mtmptr(db::mode::remove, record, pointers, dir);
    }
    db::mtmclo(dir);
    return 0;
}
