#include "Locations.h"

#include "Numeric.h"
#include "TextLines.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <istream>
#include <iterator>
#include <ostream>

namespace zenova {

namespace {

// Columns after the record number's last digit.
constexpr std::size_t kGapAfterNumber = 2;
constexpr std::size_t kGapAfterLongitude = 4;
constexpr std::size_t kGapAfterLatitude = 2;
constexpr std::size_t kGapAfterTimeLag = 2;
constexpr std::size_t kRecordTail = kGapAfterNumber + kNameWidth + kLongitudeWidth + kGapAfterLongitude +
                                    kLatitudeWidth + kGapAfterLatitude + kTimeLagWidth + kGapAfterTimeLag +
                                    kStatusWidth;

// Far more lines than any list holds; a longer count reads as this.
constexpr long long kCountCap = 1'000'000'000'000LL;

// How many of the faulty lines a message names one by one.
constexpr std::size_t kLinesNamed = 8;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view skipBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

bool inRange(std::string_view text, double limit) {
    const std::optional<double> value = parseDecimal(text);
    return value && *value >= -limit && *value <= limit;
}

// The leading count of line 1: blanks skipped, digits, the rest of the line ignored.
std::optional<long long> readCount(std::string_view line) {
    line = skipBlanks(line);
    long long count = 0;
    std::size_t digits = 0;
    for (; digits < line.size() && line[digits] >= '0' && line[digits] <= '9'; ++digits) {
        count = std::min(count * 10 + (line[digits] - '0'), kCountCap);
    }
    return digits > 0 ? std::optional<long long>(count) : std::nullopt;
}

// One record line, or the reason it is passed over.
std::optional<LocationRecord> readRecord(std::string_view line, LineFault& fault) {
    line = skipBlanks(line);
    std::size_t digits = line.empty() || line.front() != '-' ? 0 : 1;
    const std::size_t signEnd = digits;
    long long number = 0;
    for (; digits < line.size() && line[digits] >= '0' && line[digits] <= '9'; ++digits) {
        number = std::min<long long>(number * 10 + (line[digits] - '0'), INT_MAX);
    }
    if (digits == signEnd) {
        fault = LineFault::recordNumber;
        return std::nullopt;
    }
    const std::string rest = padRight(line.substr(digits), kRecordTail);
    std::size_t at = kGapAfterNumber;
    const auto take = [&rest, &at](std::size_t width, std::size_t gap = 0) {
        std::string field = rest.substr(at, width);
        at += width + gap;
        return field;
    };
    LocationRecord r;
    r.number = static_cast<int>(signEnd == 1 ? -number : number);
    r.name = take(kNameWidth);
    r.longitudeText = take(kLongitudeWidth, kGapAfterLongitude);
    r.latitudeText = take(kLatitudeWidth, kGapAfterLatitude);
    r.timeLagText = take(kTimeLagWidth, kGapAfterTimeLag);
    r.status = take(kStatusWidth);
    if (!inRange(r.longitudeText, 180.0)) {
        fault = LineFault::longitude;
    } else if (!inRange(r.latitudeText, 90.0)) {
        fault = LineFault::latitude;
    } else if (!inRange(r.timeLagText, 12.0)) {
        fault = LineFault::timeLag;
    } else {
        return r;
    }
    return std::nullopt;
}

std::string_view faultName(LineFault fault) {
    switch (fault) {
    case LineFault::recordNumber:
        return "no record number";
    case LineFault::longitude:
        return "longitude";
    case LineFault::latitude:
        return "latitude";
    case LineFault::timeLag:
        return "time lag";
    }
    return "";
}

bool sameNameElsewhere(const LocationTable& table, const std::string& name, std::size_t except) {
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        if (i != except && table.records[i].name == name) {
            return true;
        }
    }
    return false;
}

// The same place with the same values; the number is only the record's position.
bool sameRecord(const LocationRecord& a, const LocationRecord& b) {
    return a.name == b.name && a.longitudeText == b.longitudeText && a.latitudeText == b.latitudeText &&
           a.timeLagText == b.timeLagText && a.status == b.status;
}

}  // namespace

std::string padRight(std::string_view text, std::size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

std::string padLeft(std::string_view text, std::size_t width) {
    if (text.size() >= width) {
        return std::string(text.substr(text.size() - width));
    }
    return std::string(width - text.size(), ' ') + std::string(text);
}

std::string withoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return std::string(text);
}

LocationRecord storedRecord(std::string_view name, std::string_view longitude, std::string_view latitude,
                            std::string_view timeLag) {
    LocationRecord r;
    r.name = padRight(name, kNameWidth);
    // A line break in a name would split its line in the file.
    std::replace_if(r.name.begin(), r.name.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    r.longitudeText = padLeft(longitude, kLongitudeWidth);
    r.latitudeText = padLeft(latitude, kLatitudeWidth);
    r.timeLagText = padLeft(timeLag, kTimeLagWidth);
    r.status = std::string(kUserStatus);
    return r;
}

bool LocationLoadReport::clean() const {
    return !countUnreadable && passedOver.empty() && beyondCapacity == 0 && linesAfterRecords == 0 &&
           recordLinesPresent >= static_cast<std::size_t>(std::max(0LL, announced));
}

LocationLoad loadLocations(std::istream& in) {
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::vector<std::string_view> lines = textLines(text);
    LocationLoad load;
    LocationLoadReport& report = load.report;
    const std::optional<long long> count = lines.empty() ? std::nullopt : readCount(lines.front());
    report.countUnreadable = !count;
    report.announced = count.value_or(0);
    const std::size_t available = lines.empty() ? 0 : lines.size() - 1;
    report.recordLinesPresent = static_cast<std::size_t>(std::min<long long>(report.announced, available));
    for (std::size_t i = 1; i <= report.recordLinesPresent; ++i) {
        LineFault fault{};
        std::optional<LocationRecord> record = readRecord(lines[i], fault);
        if (!record) {
            report.passedOver.push_back({static_cast<int>(i + 1), fault});
        } else if (load.table.records.size() == kMaxLocations) {
            ++report.beyondCapacity;
        } else {
            load.table.records.push_back(std::move(*record));
        }
    }
    for (std::size_t i = report.recordLinesPresent + 1; i < lines.size(); ++i) {
        report.linesAfterRecords += skipBlanks(lines[i]).empty() ? 0 : 1;
    }
    return load;
}

void saveLocations(std::ostream& out, const LocationTable& table) {
    out << table.records.size() << "\r\n";
    int k = 0;
    for (const LocationRecord& r : table.records) {
        char number[16];
        std::snprintf(number, sizeof number, "%3d", ++k);
        // Fields are written at their widths whatever they hold, so every line keeps its
        // columns.
        out << number << "  " << padRight(r.name, kNameWidth) << padLeft(r.longitudeText, kLongitudeWidth) << "    "
            << padLeft(r.latitudeText, kLatitudeWidth) << "  " << padLeft(r.timeLagText, kTimeLagWidth) << "  "
            << padRight(r.status, kStatusWidth) << "\r\n";
    }
}

std::string describeLoadReport(const LocationLoadReport& report, std::string_view fileName) {
    if (report.clean()) {
        return {};
    }
    std::vector<std::string> parts;
    if (report.countUnreadable) {
        parts.push_back("line 1 holds no record count, so no record was read");
    } else if (report.recordLinesPresent < static_cast<std::size_t>(report.announced)) {
        parts.push_back("line 1 announces " + std::to_string(report.announced) + " records, but only " +
                        std::to_string(report.recordLinesPresent) + " lines follow");
    }
    if (!report.passedOver.empty()) {
        std::string lines = "lines passed over:";
        for (std::size_t i = 0; i < report.passedOver.size() && i < kLinesNamed; ++i) {
            const PassedOverLine& p = report.passedOver[i];
            lines += (i == 0 ? " " : ", ") + std::to_string(p.line) + " (" + std::string(faultName(p.fault)) + ")";
        }
        if (report.passedOver.size() > kLinesNamed) {
            lines += " and " + std::to_string(report.passedOver.size() - kLinesNamed) + " more";
        }
        parts.push_back(lines);
    }
    if (report.beyondCapacity > 0) {
        parts.push_back(std::to_string(report.beyondCapacity) + " records beyond the " +
                        std::to_string(kMaxLocations) + " the list can hold were not read");
    }
    if (report.linesAfterRecords > 0) {
        parts.push_back(std::to_string(report.linesAfterRecords) + " lines after the counted records were not read");
    }
    std::string message = "Parts of the location list \"" + std::string(fileName) + "\" were passed over: ";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        message += (i == 0 ? "" : "; ") + parts[i];
    }
    return message + ". They are left out when the list is next written.";
}

std::optional<std::size_t> findByName(const LocationTable& table, std::string_view name40) {
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        if (table.records[i].name == name40) {
            return i;
        }
    }
    return std::nullopt;
}

TableChange insertLocation(LocationTable& table, LocationRecord record) {
    if (table.records.size() >= kMaxLocations) {
        return TableChange::capacityReached;
    }
    record.name = padRight(record.name, kNameWidth);
    if (findByName(table, record.name)) {
        return TableChange::duplicateName;
    }
    record.number = static_cast<int>(table.records.size()) + 1;
    record.status = std::string(kUserStatus);
    table.records.push_back(std::move(record));
    return TableChange::done;
}

TableChange updateLocation(LocationTable& table, std::size_t index, const LocationRecord& record) {
    if (index >= table.records.size()) {
        return TableChange::noSuchRecord;
    }
    LocationRecord& stored = table.records[index];
    if (stored.isProtected()) {
        return TableChange::protectedRecord;
    }
    const std::string name = padRight(record.name, kNameWidth);
    if (sameNameElsewhere(table, name, index)) {
        return TableChange::duplicateName;
    }
    stored.name = name;
    stored.longitudeText = record.longitudeText;
    stored.latitudeText = record.latitudeText;
    stored.timeLagText = record.timeLagText;
    stored.status = std::string(kUserStatus);
    return TableChange::done;
}

TableChange deleteLocation(LocationTable& table, std::size_t index) {
    if (index >= table.records.size()) {
        return TableChange::noSuchRecord;
    }
    if (table.records[index].isProtected()) {
        return TableChange::protectedRecord;
    }
    if (index + 1 != table.records.size()) {
        table.records[index] = std::move(table.records.back());
    }
    table.records.pop_back();
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        table.records[i].number = static_cast<int>(i) + 1;
    }
    return TableChange::done;
}

TableChange mergeLocations(const LocationTable& base, const LocationTable& mine, LocationTable& theirs) {
    LocationTable merged = theirs;
    // Deleted here, or renamed by an edit: gone from the merged list too.
    for (const LocationRecord& r : base.records) {
        if (!findByName(mine, r.name)) {
            if (const std::optional<std::size_t> at = findByName(merged, r.name)) {
                deleteLocation(merged, *at);  // a shipped record stays
            }
        }
    }
    // Inserted or edited here: this program's version.
    for (const LocationRecord& r : mine.records) {
        const std::optional<std::size_t> was = findByName(base, r.name);
        if (was && sameRecord(base.records[*was], r)) {
            continue;  // not changed here: the file's stands, deleted or edited there or not
        }
        if (const std::optional<std::size_t> at = findByName(merged, r.name)) {
            updateLocation(merged, *at, r);  // a shipped record stays
        } else if (insertLocation(merged, r) == TableChange::capacityReached) {
            return TableChange::capacityReached;
        }
    }
    theirs = std::move(merged);
    return TableChange::done;
}

}  // namespace zenova
