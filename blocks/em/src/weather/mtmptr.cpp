// The owner of the index file: one record per site, pointing at the site's data records.
#include "files.h"

namespace vireo::em::weather {

namespace {

using format::Item;

constexpr int kChars = 40;

const format::Format kRecordRead("(8I5)");
const format::Format kRecordWrite("(8I5.5)");
// The header: 1, L, F and 4711, then characters that are not read.
const format::Format kHeaderRead("(4I5)");

class IndexFile final : public DatabaseFile {
public:
    IndexFile() : DatabaseFile(kIndexFile, kChars, code::cannotOpen.number) {}

    int readHeader(FreeListHeader& h, int failCode) const {
        int one = 0;
        return read(1, kHeaderRead, {Item(one), Item(h.last), Item(h.free), Item(h.magic)}, failCode);
    }
    int writeHeader(const FreeListHeader& h, int failCode) {
        return write(1, kRecordWrite, {1, h.last, h.free, kMagic, 0, 0, 0, 0}, failCode);
    }
    int readRecord(int record, int& own, Pointers& p, int failCode) const {
        if (record < 2) return fail(failCode, path(), record, "there is no such record");
        return read(record, kRecordRead, {Item(own), Item(p[0]), Item(p[1]), Item(p[2]), Item(p[3]), Item(p[4]), Item(p[5]), Item(p[6])},
                    failCode);
    }
    int writeRecord(int record, const Pointers& p, int failCode) {
        return write(record, kRecordWrite, {record, p[0], p[1], p[2], p[3], p[4], p[5], p[6]}, failCode);
    }
    // A record that holds a site's pointers (its own number first), so that writing over it
    // can never overwrite a free record or the header. A record that cannot be read at all
    // is the read's fault, as for every reader.
    int checkInUse(int record, int failCode) const {
        int own = 0;
        Pointers p{};
        if (record < 2) return fail(failCode, path(), record, "the record is not an index record in use");
        if (const int c = readRecord(record, own, p, code::indexRead.number); c != 0) return c;
        if (own != record) return fail(failCode, path(), record, "the record is not an index record in use");
        return 0;
    }

protected:
    int checkHeader() override {
        FreeListHeader h;
        if (const int c = readHeader(h, code::indexHeaderRead.number); c != 0) return c;
        return h.magic == kMagic ? 0 : fail(code::indexNotDatabase.number, path(), 1);
    }
};

IndexFile& indexFile() {
    static IndexFile file;
    return file;
}

int checkPointers(const IndexFile& f, int record, const Pointers& p) {
    for (const int pointer : p)
        if (pointer < 0 || pointer > kLastRecord)
            return fail(code::recordNotInUse.number, f.path(), record,
                        "a data record number " + std::to_string(pointer) + " lies outside 0 to 99999");
    return 0;
}

int allocateAndWrite(IndexFile& f, int& record, const Pointers& p) {
    FreeListHeader h, after;
    int r = 0;
    if (const int c = f.readHeader(h, code::indexAllocHeaderRead.number); c != 0) return c;
    if (const int c = planAllocation(f, h, code::indexAllocLinkRead.number, r, after); c != 0) return c;
    if (const int c = allocate(
            h, r, after, [&f](const FreeListHeader& x) { return f.writeHeader(x, code::indexAllocHeaderWrite.number); },
            [&] { return f.writeRecord(r, p, code::indexWrite.number); });
        c != 0)
        return c;
    record = r;
    return 0;
}

int release(IndexFile& f, int record) {
    FreeListHeader h;
    if (const int c = f.readHeader(h, code::indexFreeHeaderRead.number); c != 0) return c;
    if (record < 2 || record > h.last)
        return fail(code::indexFreeOutside.number, f.path(), record, "only records 2 to " + std::to_string(h.last) + " are in use");
    // A record released twice would be handed out twice, and two sites would share it.
    if (f.checkInUse(record, code::releaseNotInUse.number) != 0) return code::releaseNotInUse.number;
    // The free record before the header, so the list never names a record not yet free.
    if (const int c = f.write(record, freeRecord(h.free, kChars), code::indexFreeRecordWrite.number); c != 0) return c;
    h.free = record;
    return f.writeHeader(h, code::indexFreeHeaderWrite.number);
}

}  // namespace

DatabaseFile& indexDatabaseFile() { return indexFile(); }

int mtmptr(int mode, int& record, Pointers& pointers, std::string_view directory) {
    IndexFile& f = indexFile();
    if (mode == mode::close) {
        f.close();
        return 0;
    }
    if (mode != mode::read && mode != mode::write && mode != mode::remove) return 0;
    if (const int c = f.open(directory, mode != mode::read); c != 0) return c;
    if (mode == mode::read) {
        int own = 0;
        if (const int c = f.readRecord(record, own, pointers, code::indexRead.number); c != 0) return c;
        return own == record ? 0 : fail(code::indexOwnNumber.number, f.path(), record);
    }
    if (const int c = checkPointers(f, record, pointers); c != 0) return c;
    if (mode == mode::write) {
        if (record == 0) return allocateAndWrite(f, record, pointers);
        if (const int c = f.checkInUse(record, code::recordNotInUse.number); c != 0) return c;
        return f.writeRecord(record, pointers, code::indexWrite.number);
    }
    bool any = false;
    for (const int p : pointers) any = any || p != 0;
    if (!any) return release(f, record);
    if (const int c = f.checkInUse(record, code::recordNotInUse.number); c != 0) return c;
    return f.writeRecord(record, pointers, code::indexFreeRecordWrite.number);
}

int nextIndexRecord(std::string_view directory, int& record) {
    IndexFile& f = indexFile();
    if (const int c = f.open(directory, true); c != 0) return c;
    FreeListHeader h, after;
    if (const int c = f.readHeader(h, code::indexAllocHeaderRead.number); c != 0) return c;
    return planAllocation(f, h, code::indexAllocLinkRead.number, record, after);
}

}  // namespace vireo::em::weather
