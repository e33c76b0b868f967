// The owner of the data file: one record of twelve monthly values per site and parameter.
#include "files.h"

#include <numeric>

namespace vireo::em::weather {

namespace {

using format::Item;

constexpr int kChars = 47;
constexpr int kTextChars = 27;

const format::Format kRecordRead("(I5,I1,I4,12I3,I1)");
const format::Format kRecordWrite("(I5.5,I1,I4.4,12I3.3,I1)");
const format::Format kHeaderRead("(4I5,A27)");
const format::Format kHeaderWrite("(4I5.5,A27)");
// After a release the header's text becomes zeros.
const format::Format kReleasedHeaderWrite("(8I5.5,I7.7)");

struct Header {
    FreeListHeader list;
    std::string text;
};

struct Record {
    int own = 0;
    int code = 0;
    int annual = 0;
    std::array<int, kMonths> months{};
    int flag = 0;
};

class DataFile final : public DatabaseFile {
public:
    DataFile() : DatabaseFile(kDataFile, kChars, code::cannotOpen.number) {}

    int readHeader(Header& h, int failCode) const {
        int one = 0;
        return read(1, kHeaderRead,
                    {Item(one), Item(h.list.last), Item(h.list.free), Item(h.list.magic), Item(h.text, kTextChars)},
                    failCode);
    }
    int readRecord(int record, Record& r, int failCode) const {
        if (record < 2) return fail(failCode, path(), record, "there is no such record");
        auto& m = r.months;
        return read(record, kRecordRead,
                    {Item(r.own), Item(r.code), Item(r.annual), Item(m[0]), Item(m[1]), Item(m[2]), Item(m[3]), Item(m[4]),
                     Item(m[5]), Item(m[6]), Item(m[7]), Item(m[8]), Item(m[9]), Item(m[10]), Item(m[11]), Item(r.flag)},
                    failCode);
    }
    int writeRecord(int record, const Record& r, int failCode) {
        const auto& m = r.months;
        return write(record, kRecordWrite,
                     {record, r.code, r.annual, m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8], m[9], m[10], m[11], 0},
                     failCode);
    }
    // A record holding a parameter's values (its own number and a code), so that writing
    // over it or releasing it can never touch a free record or the header; overwritten, it
    // must hold the parameter written (`code`, 0 for any), or another parameter's values
    // would be lost. A record that cannot be read at all is the read's fault, as for every
    // reader.
    int checkInUse(int record, int failCode, const char* why, int code = 0) const {
        Record r;
        if (record < 2) return fail(failCode, path(), record, why);
        if (const int c = readRecord(record, r, code::dataRead.number); c != 0) return c;
        if (r.own != record || r.code < 1 || r.code > kParameters) return fail(failCode, path(), record, why);
        if (code != 0 && r.code != code) return fail(code::dataCode.number, path(), record);
        return 0;
    }

protected:
    int checkHeader() override {
        Header h;
        if (const int c = readHeader(h, code::dataHeaderRead.number); c != 0) return c;
        return h.list.magic == kMagic ? 0 : fail(code::dataNotDatabase.number, path(), 1);
    }
};

DataFile& dataFile() {
    static DataFile file;
    return file;
}

}  // namespace

DatabaseFile& dataDatabaseFile() { return dataFile(); }

namespace {

bool isTemperature(int code) { return code >= parameter::meanTemperature && code <= parameter::maxTemperature; }

// The stored field of one monthly value; false when the value does not fit its three digits.
bool encodeMonth(int code, float v, int& field) {
    float x = v * 10.0f;
    if (code == parameter::radiation) x = v;
    if (isTemperature(code)) x = (v + 50.0f) * 10.0f;
    long r = 0;
    if (!roundToLong(x, r) || r < 0 || r > 999) return false;
    field = static_cast<int>(r);
    return true;
}

float decodeMonth(int code, int field) {
    if (code == parameter::radiation) return static_cast<float>(field);
    if (isTemperature(code)) return static_cast<float>(field) / 10.0f - 50.0f;
    return static_cast<float>(field) / 10.0f;
}

float decodeAnnual(int code, int field) {
    if (code == parameter::radiation) return static_cast<float>(field) / 10.0f;
    if (isTemperature(code)) return static_cast<float>(field) / 100.0f - 50.0f;
    return static_cast<float>(field) / 100.0f;
}

// The annual field: ten times the mean of the stored monthly integers, rounded.
int annualField(const std::array<int, kMonths>& months) {
    const int sum = std::accumulate(months.begin(), months.end(), 0);
    long r = 0;
    roundToLong(10.0f * static_cast<float>(sum) / 12.0f, r);
    return static_cast<int>(r);
}

int readValues(DataFile& f, int code, int record, float& annual, std::span<float, kMonths> months) {
    Record r;
    if (const int c = f.readRecord(record, r, code::dataRead.number); c != 0) return c;
    // A record that does not hold what its pointer promises is refused: the last failing
    // check names the fault.
    int refused = 0;
    if (r.own != record) refused = code::dataOwnNumber.number;
    if (annualField(r.months) != r.annual) refused = code::dataAnnual.number;
    if (r.code != code) refused = code::dataCode.number;
    if (refused != 0) return fail(refused, f.path(), record);
    for (int m = 0; m < kMonths; ++m) months[static_cast<std::size_t>(m)] = decodeMonth(r.code, r.months[static_cast<std::size_t>(m)]);
    annual = decodeAnnual(r.code, r.annual);
    return 0;
}

// The fields of a record of twelve values; refused when a value does not fit its field.
int encodeValues(const std::string& path, int code, int record, std::span<const float, kMonths> months, Record& r) {
    if (code < 1 || code > kParameters) return fail(code::dataBadCode.number, path, code);
    r.code = code;
    for (int m = 0; m < kMonths; ++m) {
        const float v = months[static_cast<std::size_t>(m)];
        if (!encodeMonth(code, v, r.months[static_cast<std::size_t>(m)]))
            return fail(code::dataValue.number, path, record,
                        "month " + std::to_string(m + 1) + " holds " + std::to_string(v));
    }
    r.annual = annualField(r.months);
    return 0;
}

int writeValues(DataFile& f, int code, int& record, std::span<const float, kMonths> months) {
    Record r;
    if (const int c = encodeValues(f.path(), code, record, months, r); c != 0) return c;
    if (record != 0) {
        if (const int c = f.checkInUse(record, code::recordNotInUse.number, "the record is not a data record in use", code);
            c != 0)
            return c;
        return f.writeRecord(record, r, code::dataWrite.number);
    }
    Header h;
    FreeListHeader after;
    int taken = 0;
    if (const int c = f.readHeader(h, code::dataAllocHeaderRead.number); c != 0) return c;
    if (const int c = planAllocation(f, h.list, code::dataAllocLinkRead.number, taken, after); c != 0) return c;
    const auto writeHeader = [&](const FreeListHeader& x) {
        return f.write(1, kHeaderWrite, {1, x.last, x.free, kMagic, h.text}, code::dataAllocHeaderWrite.number);
    };
    if (const int c = allocate(h.list, taken, after, writeHeader,
                               [&] { return f.writeRecord(taken, r, code::dataNewWrite.number); });
        c != 0)
        return c;
    record = taken;
    return 0;
}

int release(DataFile& f, int record) {
    Header h;
    if (const int c = f.readHeader(h, code::dataFreeHeaderRead.number); c != 0) return c;
    if (record < 2 || record > h.list.last)
        return fail(code::recordNotInUse.number, f.path(), record,
                    "only records 2 to " + std::to_string(h.list.last) + " are in use");
    if (const int c = f.checkInUse(record, code::releaseNotInUse.number, "the record is not a data record in use"); c != 0)
        return c;
    if (const int c = f.write(record, freeRecord(h.list.free, kChars), code::dataFreeRecordWrite.number); c != 0) return c;
    return f.write(1, kReleasedHeaderWrite, {1, h.list.last, record, kMagic, 0, 0, 0, 0, 0}, code::dataFreeHeaderWrite.number);
}

}  // namespace

int checkMonths(int code, std::span<const float, kMonths> months, std::string_view directory) {
    Record unused;
    return encodeValues(std::string(stripped(directory)) + kDataFile, code, 0, months, unused);
}

int mtmdat(int mode, int code, int& record, float& annual, std::span<float, kMonths> months, std::string_view directory) {
    DataFile& f = dataFile();
    if (mode == mode::close) {
        f.close();
        return 0;
    }
    if (mode != mode::read && mode != mode::write && mode != mode::remove) return 0;
    if (const int c = f.open(directory, mode != mode::read); c != 0) return c;
    if (mode == mode::read) return readValues(f, code, record, annual, months);
    if (mode == mode::write) return writeValues(f, code, record, months);
    return release(f, record);
}

}  // namespace vireo::em::weather
