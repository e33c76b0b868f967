// Maintenance of the database: one command for one parameter of one site, adding the site
// when it is new and removing it with its last parameter.
#include "files.h"

namespace vireo::em::weather {

namespace {

bool allZero(const Pointers& p) {
    for (const int pointer : p)
        if (pointer != 0) return false;
    return true;
}

// A search is a prefix when its name ends in '*': such a name selects sites, it names none.
int addSite(const Search& q, int height, Site& site, std::string_view directory) {
    const std::string_view name = stripped(q.name);
    if (!name.empty() && name.back() == '*')
        return fail(code::siteName.number, std::string(stripped(directory)) + kSiteFile, 0,
                    "the name " + std::string(name) + " ends in *, which makes it a prefix, not a site's name");
    site = {};
    site.name = name;
    site.continent = q.continent;
    site.country = q.country;
    site.latitude = q.latitude;
    site.longitude = q.longitude;
    site.height = height;
    int record = 0, count = 0;
    return mtlocr(mode::write, record, count, site, directory);
}

// A new data record, and the index record pointing at it. When the index record cannot be
// written, the data record goes back to the free list.
int addData(int code, int slot, int index, Pointers& p, std::span<const float, kMonths> months,
            std::string_view directory) {
    int record = 0;
    float annual = 0.0f;
    std::array<float, kMonths> values{};
    std::copy(months.begin(), months.end(), values.begin());
    if (const int c = mtmdat(mode::write, code, record, annual, values, directory); c != 0) return c;
    p[static_cast<std::size_t>(slot)] = record;
    if (const int c = mtmptr(mode::write, index, p, directory); c != 0)
        return undoing(c, [&] { mtmdat(mode::remove, code, record, annual, values, directory); });
    return 0;
}

// Nothing may point at a record once it is free, or another site could receive it while
// the pointer stands: each pointer goes before the record it names. A failure part-way
// leaves a record that nothing points at.
int removeData(int code, int slot, int siteRecord, int index, Pointers& p, std::string_view directory) {
    int data = p[static_cast<std::size_t>(slot)];
    p[static_cast<std::size_t>(slot)] = 0;
    if (allZero(p)) {
        int count = 0;
        Site unused;
        if (const int c = mtlocr(mode::remove, siteRecord, count, unused, directory); c != 0) return c;
    }
    // Rewritten without the pointer, or released with the site's last one.
    if (const int c = mtmptr(mode::remove, index, p, directory); c != 0) return c;
    float annual = 0.0f;
    std::array<float, kMonths> unused{};
    return mtmdat(mode::remove, code, data, annual, unused, directory);
}

}  // namespace

int mtmmod(Search& q, int height, int command, int code, std::span<const float, kMonths> months,
           std::string_view directory) {
    q.name = std::string(stripped(q.name));
    if (command < command::none || command > command::check) return fail(code::badCommand.number, {}, command);
    if (const int c = checkQuery(q); c != 0) return c;
    const int slot = slotOfCode(code);
    if (command != command::none && slot < 0)
        return fail(code::dataBadCode.number, std::string(stripped(directory)) + kDataFile, code);
    // Values that cannot be stored are refused before the site is added for them.
    if (command == command::modify || command == command::add)
        if (const int c = checkMonths(code, months, directory); c != 0) return c;

    // The search and every change it leads to are one update: no other process may change
    // the database between them.
    const Hold hold(directory, Hold::updating);
    if (hold.status() != 0) return hold.status();
    // A fresh search: one left by an earlier call would be continued instead.
    int record = 0;
    Site site;
    mtloc(search::close, q, record, site, directory);
    const int found = selectOne(searchMode(q), q, record, site, directory);
    if (found == kNotFound) {
        if (command == command::remove) return fail(code::deleteNoSite.number);
        if (command == command::check) return fail(code::checkNoSite.number);
        if (const int c = addSite(q, height, site, directory); c != 0) return c;
    } else if (found != 0) {
        return found;
    }
    if (command == command::none) return 0;

    int index = site.indexRecord;
    Pointers p{};
    if (const int c = mtmptr(mode::read, index, p, directory); c != 0) return c;
    int data = p[static_cast<std::size_t>(slot)];
    switch (command) {
    case command::check: return fail(data != 0 ? code::checkPresent.number : code::checkNoParameter.number);
    case command::remove:
        if (data == 0) return fail(code::deleteNoParameter.number);
        return removeData(code, slot, record, index, p, directory);
    case command::add:
        if (data != 0) return fail(code::newPresent.number);
        return addData(code, slot, index, p, months, directory);
    default: {
        if (data == 0) return addData(code, slot, index, p, months, directory);
        float annual = 0.0f;
        std::array<float, kMonths> values{};
        std::copy(months.begin(), months.end(), values.begin());
        return mtmdat(mode::write, code, data, annual, values, directory);
    }
    }
}

}  // namespace vireo::em::weather
