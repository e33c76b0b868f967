// What the three owners of the database files share: opening and checking a file once for
// the process, reading and writing its records with the fault noted, the free lists of the
// index and data files, and rewriting a whole file through a temporary file.
#ifndef VIREO_EM_WEATHER_FILES_H
#define VIREO_EM_WEATHER_FILES_H

#include "codes.h"
#include "database.h"

#include "vireo/format/RecordFiles.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vireo::em::weather {

// Notes a failure for lastFault() and returns its code.
int fail(int code, std::string file = {}, long record = 0, std::string reason = {});

// The text a name compares by: upper-cased (ASCII letters), blank-padded or cut to 20.
std::string nameKey(std::string_view name);
// A longitude taken into [0, 360); NaN stays NaN.
double foldLongitude(double longitude);
// Nearest whole number, halves away from zero; false when not finite or beyond the range
// of long.
bool roundToLong(double v, long& result);

// After a failure part-way: runs `undo` (which may fail in turn) and gives back the first
// failure's code with its fault noted again.
int undoing(int status, const std::function<void()>& undo);

// The search a query means: by name when it names a site, else by country, by continent,
// or in the window.
int searchMode(const Search& q);
// Takes the query's longitude into 0 to 360 and refuses a window that no site could lie in.
int checkQuery(Search& q);
// The one site a search selects: -1 when none does, 302035 when a second one does.
int selectOne(int mode, const Search& q, int& record, Site& site, std::string_view directory);
// Whether the twelve values fit the data file's fields for a parameter code: 0, 302012
// or the fault of the first value that does not fit.
int checkMonths(int code, std::span<const float, kMonths> months, std::string_view directory);

// One database file: its path, built at opening, and the open file. It counts as open only
// after a successful open and check of its header, so a failed attempt is made again at
// the next call.
class DatabaseFile {
public:
    DatabaseFile(const char* name, int chars, int cannotOpenCode) : name_(name), chars_(chars), openCode_(cannotOpenCode) {}
    virtual ~DatabaseFile() = default;
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    // Opens the file when it is not open (for writing when `forWriting`; a file open for
    // reading alone is opened again for writing) and checks its header: 0 or the code.
    int open(std::string_view directory, bool forWriting);
    void close() { file_.close(); }
    // Another process may have replaced the file (a rewrite renames a new one over it):
    // an open descriptor of the old one is let go, and the next call opens the new one.
    void closeIfReplaced() {
        if (file_.isOpen() && !file_.isFileAt(path_)) file_.close();
    }
    bool isOpen() const { return file_.isOpen(); }
    const std::string& path() const { return path_; }
    int chars() const { return chars_; }
    long recordCount() const { return file_.recordCount(); }

    // A record's characters, or the code with the fault noted.
    int read(long record, std::string& chars, int failCode) const;
    // A record read with a format; a record that does not read as it is the code.
    int read(long record, const format::Format& format, std::initializer_list<format::Item> items, int failCode) const;
    int write(long record, std::string_view chars, int failCode);
    int write(long record, const format::Format& format, std::initializer_list<format::Value> values, int failCode);

    // Replaces the whole file by `records` (each the file's characters at most): they go
    // into a temporary file beside it, which is renamed over it, and the file is opened
    // again. `commit`, when given, runs once the temporary file stands and before the
    // rename; its failure (its code) leaves the file as it was, as does every failure here
    // (failCode).
    int rewrite(const std::vector<std::string>& records, int failCode, const std::function<int()>& commit = {});

protected:
    // The header check after opening: 0 or the code.
    virtual int checkHeader() = 0;

private:
    std::string name_;
    int chars_;
    int openCode_;
    std::string path_;
    int lineEnd_ = 2;
    format::DirectFile file_;
};

// The header of a file with a free list: L the last used record, F the head of the free
// list (L + 1 when it is empty), and the number that marks a database file.
struct FreeListHeader {
    int last = 0;
    int free = 0;
    int magic = 0;
};
inline constexpr int kMagic = 4711;

// Free records hold the next free record's number in five digits and zeros to the end.
std::string freeRecord(int link, int chars);
// Whether record `record` holds the free shape with a link that a free list of a file whose
// last used record is `last` can hold (2 to last + 1, not itself).
bool isFreeRecord(std::string_view chars, int record, int last);

// The record the next allocation takes and the header after it; nothing is written. The
// head of the free list must be a free record whose link the list can hold.
int planAllocation(const DatabaseFile& file, const FreeListHeader& header, int linkReadCode, int& record,
                   FreeListHeader& after);

// Takes a record for the record `write` writes, in the order that a process killed at any
// point leaves at worst a record that is neither in use nor free (which the next update
// gives back), never a free list that names a record in use: a record appended is written
// before the header that counts it; one taken from the free list leaves the list (the
// header) before it is written over. `writeHeader` writes the header after the allocation.
int allocate(const FreeListHeader& before, int record, const FreeListHeader& after,
             const std::function<int(const FreeListHeader&)>& writeHeader, const std::function<int()>& write);

// The owners' files of the index and the data, for the check that spans the database.
DatabaseFile& indexDatabaseFile();
DatabaseFile& dataDatabaseFile();
DatabaseFile& siteDatabaseFile();

// Gives records of the index and data files that nothing uses and no free list holds back
// to their free lists; the database must be held for an update. Nothing is changed when
// the files do not agree with each other in any other way (the routines report that).
void reclaimLostRecords(std::string_view directory);

// ---- for tests ----
// Runs before every write of a database record and before a rewritten file replaces the
// old one: a test stops the process there to see what a killed update leaves.
void setWriteHook(std::function<void()> hook);
// How long a hold waits for another process's before it gives up (60 s unless set).
void setHoldWait(int milliseconds);

}  // namespace vireo::em::weather

#endif
