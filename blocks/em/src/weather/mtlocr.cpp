// The owner of the site file: the sites in order of their upper-cased names, after a header
// that holds the number of the last site record.
#include "files.h"

#include "vireo/format/Writer.h"

#include <cmath>

namespace vireo::em::weather {

namespace {

using format::Item;

constexpr int kChars = 43;
constexpr int kTextChars = 38;
constexpr std::string_view kVersion = "   VERSION 1.3";

const format::Format kHeaderRead("(A38,I5)");
const format::Format kHeaderWrite("(A38,I5.5)");
const format::Format kSiteRead("(A20,I1,I3,2I5,I4,I5)");
const format::Format kSiteWrite("(A20,I1,I3.3,2I5.5,I4.4,I5.5)");
// What a deletion leaves in the record its shift vacates.
const std::string kFiller = std::string(kNameLength, 'Z') + "0" + "000" + "00000" + "00000" + "0000" + "00000";

struct Header {
    std::string text;
    int count = 0;
};

class SiteFile final : public DatabaseFile {
public:
    SiteFile() : DatabaseFile(kSiteFile, kChars, code::cannotOpen.number) {}

    int readHeader(Header& h) const {
        return read(1, kHeaderRead, {Item(h.text, kTextChars), Item(h.count)}, code::siteHeaderRead.number);
    }
    int readSite(int record, Site& s) const {
        if (record < 2) return fail(code::siteRead.number, path(), record, "record 1 is the header");
        int longitude = 0, latitude = 0, height = 0;
        if (const int c = read(record, kSiteRead,
                               {Item(s.name, kNameLength), Item(s.continent), Item(s.country), Item(longitude), Item(latitude),
                                Item(height), Item(s.indexRecord)},
                               code::siteRead.number);
            c != 0)
            return c;
        s.longitude = static_cast<float>(longitude) / 100.0f;
        s.latitude = static_cast<float>(latitude) / 100.0f - 90.0f;
        s.height = height - 1000;
        return 0;
    }
    // Records 1 to the end of the file as they stand; the header's count must lie within them.
    int readAll(Header& h, std::vector<std::string>& records) const {
        if (const int c = readHeader(h); c != 0) return c;
        const long n = recordCount();
        if (h.count < 1 || h.count > n)
            return fail(code::siteHeaderRead.number, path(), 1,
                        "the count " + std::to_string(h.count) + " lies outside the file's " + std::to_string(n) + " records");
        records.resize(static_cast<std::size_t>(n) + 1);
        for (long r = 1; r <= n; ++r)
            if (const int c = read(r, records[static_cast<std::size_t>(r)], code::siteRead.number); c != 0) return c;
        return 0;
    }

protected:
    int checkHeader() override {
        std::string chars;
        if (const int c = read(1, chars, code::siteRead.number); c != 0) return c;
        if (nameKey(chars.substr(0, kVersion.size())).substr(0, kVersion.size()) != kVersion)
            return fail(code::siteNotDatabase.number, path(), 1);
        Header h;
        return readHeader(h);
    }
};

SiteFile& siteFile() {
    static SiteFile file;
    return file;
}

}  // namespace

DatabaseFile& siteDatabaseFile() { return siteFile(); }

namespace {

// The site's record, every field checked against what it can hold: a value written as
// asterisks would make the record unreadable, and a bad name would break the order that
// every search relies on.
int encodeSite(const SiteFile& f, const Site& s, std::string& chars) {
    const std::string_view name = stripped(s.name);
    bool printable = !name.empty() && name.size() <= static_cast<std::size_t>(kNameLength);
    for (const char c : name) printable = printable && static_cast<unsigned char>(c) >= 32 && c != 127;
    if (!printable)
        return fail(code::siteName.number, f.path(), 0, "a name is 1 to 20 characters, none of them a control character");
    if (s.continent < 0 || s.continent > 9) return fail(code::siteContinent.number, f.path(), s.continent);
    if (s.country < 0 || s.country > 999) return fail(code::siteCountry.number, f.path(), s.country);
    long latitude = 0, longitude = 0;
    if (!(std::abs(s.latitude) <= 90.0f) || !roundToLong((static_cast<double>(s.latitude) + 90.0) * 100.0, latitude))
        return fail(code::siteLatitude.number, f.path(), 0, std::to_string(s.latitude));
    if (!roundToLong(foldLongitude(s.longitude) * 100.0, longitude))
        return fail(code::siteLongitude.number, f.path(), 0, std::to_string(s.longitude));
    if (longitude == 36000) longitude = 0;
    if (s.height < -1000 || s.height > 8999) return fail(code::siteHeight.number, f.path(), s.height);
    // A text shorter than its field would be written right-aligned.
    std::string padded(name);
    padded.resize(kNameLength, ' ');
    const std::initializer_list<format::Value> values{padded, s.continent, s.country, longitude, latitude, s.height + 1000,
                                                      s.indexRecord};
    if (const format::Status st = format::writeRecord(kSiteWrite, std::span(values.begin(), values.size()), chars, {true});
        !st.ok())
        return fail(code::siteInsert.number, f.path(), 0, st.message());
    return 0;
}

int encodeHeader(const SiteFile& f, const Header& h, int failCode, std::string& chars) {
    const std::initializer_list<format::Value> values{h.text, h.count};
    if (const format::Status st = format::writeRecord(kHeaderWrite, std::span(values.begin(), values.size()), chars, {true});
        !st.ok())
        return fail(failCode, f.path(), 1, st.message());
    return 0;
}

// Everything is read and checked before anything is written; the new site file is written
// whole beside the old one and renamed over it, so a failure leaves the old file, never a
// count out of step with its records. The index record is taken only once the new file
// stands, and given back when the rename fails.
int insert(SiteFile& f, Site& site, int& record, std::string_view directory) {
    Site placed = site;
    placed.indexRecord = 0;
    std::string chars;
    if (const int c = encodeSite(f, placed, chars); c != 0) return c;
    Header h;
    std::vector<std::string> old;
    if (const int c = f.readAll(h, old); c != 0) return c;
    if (h.count >= kLastRecord) return fail(code::fileFull.number, f.path(), h.count + 1);
    const std::string key = nameKey(stripped(site.name));
    int position = 2;
    while (position <= h.count && nameKey(old[static_cast<std::size_t>(position)].substr(0, kNameLength)) < key) ++position;
    int indexRecord = 0;
    if (const int c = nextIndexRecord(directory, indexRecord); c != 0) return c;
    placed.indexRecord = indexRecord;
    if (const int c = encodeSite(f, placed, chars); c != 0) return c;

    std::vector<std::string> records;
    records.reserve(old.size() + 1);
    Header after{h.text, h.count + 1};
    std::string header;
    if (const int c = encodeHeader(f, after, code::siteInsert.number, header); c != 0) return c;
    records.push_back(header);
    for (int r = 2; r <= h.count; ++r) {
        if (r == position) records.push_back(chars);
        records.push_back(old[static_cast<std::size_t>(r)]);
    }
    if (position > h.count) records.push_back(chars);
    // The record after the last site (a filler, if there is one) is taken by the new site.
    for (std::size_t r = static_cast<std::size_t>(h.count) + 2; r < old.size(); ++r) records.push_back(old[r]);

    bool allocated = false;
    const int c = f.rewrite(records, code::siteInsert.number, [&] {
        Pointers none{};
        int taken = 0;
        if (const int a = mtmptr(mode::write, taken, none, directory); a != 0) return a;
        allocated = true;
        if (taken == indexRecord) return 0;
        return fail(code::freeListDamaged.number, std::string(stripped(directory)) + kIndexFile, taken,
                    "the index file changed during the insertion");
    });
    if (c != 0) {
        if (!allocated) return c;
        return undoing(c, [&] {
            Pointers none{};
            int taken = indexRecord;
            mtmptr(mode::remove, taken, none, directory);
        });
    }
    record = position;
    site.indexRecord = indexRecord;
    return 0;
}

// Every record after the deleted one moves up by one; the last record of the file becomes
// the filler, so the file keeps its length.
int remove(SiteFile& f, int record) {
    Header h;
    std::vector<std::string> old;
    if (const int c = f.readAll(h, old); c != 0) return c;
    if (record < 2 || record > h.count)
        return fail(code::recordNotInUse.number, f.path(), record,
                    "the sites are records 2 to " + std::to_string(h.count));
    std::vector<std::string> records;
    records.reserve(old.size());
    std::string header;
    if (const int c = encodeHeader(f, {h.text, h.count - 1}, code::siteDelete.number, header); c != 0) return c;
    records.push_back(header);
    for (std::size_t r = 2; r < old.size(); ++r)
        if (r != static_cast<std::size_t>(record)) records.push_back(old[r]);
    records.push_back(kFiller);
    return f.rewrite(records, code::siteDelete.number);
}

}  // namespace

int mtlocr(int mode, int& record, int& count, Site& site, std::string_view directory) {
    SiteFile& f = siteFile();
    if (mode == mode::close) {
        f.close();
        return 0;
    }
    if (mode != mode::read && mode != mode::write && mode != mode::remove && mode != mode::count)
        return fail(code::siteBadMode.number, {}, mode);
    const bool writes = mode == mode::write || mode == mode::remove;
    if (const int c = f.open(directory, writes); c != 0) return c;
    switch (mode) {
    case mode::read: return f.readSite(record, site);
    case mode::write: return insert(f, site, record, directory);
    case mode::remove: return remove(f, record);
    default: {
        Header h;
        if (const int c = f.readHeader(h); c != 0) return c;
        count = h.count;
        return 0;
    }
    }
}

}  // namespace vireo::em::weather
