// The location list: named places with their longitude, latitude and time lag, kept in one
// text file of fixed columns beside the program and read into a table at start-up. Texts
// are bytes, one per character (Latin-1), as the file holds them.
//
// File: line 1 the count N; then one line of 73 columns per record:
//   number (3, right-aligned), 2 blanks, name (40), longitude (7), 4 blanks, latitude (6),
//   2 blanks, time lag (5), 2 blanks, status (2)
// Lines end in CR LF when written; LF alone is read too.
#ifndef ZENOVA_LOCATIONS_H
#define ZENOVA_LOCATIONS_H

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zenova {

inline constexpr std::string_view kLocationFileName = "Loc_def.lst";
inline constexpr std::size_t kMaxLocations = 250;
inline constexpr std::size_t kNameWidth = 40;
inline constexpr std::size_t kLongitudeWidth = 7;
inline constexpr std::size_t kLatitudeWidth = 6;
inline constexpr std::size_t kTimeLagWidth = 5;
inline constexpr std::size_t kStatusWidth = 2;
// The place the program starts with, as the list holds its name.
inline constexpr std::string_view kDefaultLocation = "Belgium (Brussels)";
// Shipped records carry this status and can be neither edited nor deleted.
inline constexpr std::string_view kShippedStatus = "no";
inline constexpr std::string_view kUserStatus = "ok";

inline constexpr std::string_view kMissingListMessage =
    "Locationlist is not accessible, please make sure the \"loc_def.lst\"-file is located in the programfolder and "
    "restart Zenova 1.02.";
inline constexpr std::string_view kCapacityMessage =
    "Capacity reached! Please delete an existing dataset or contact ORV for a free update!";
inline constexpr std::string_view kDuplicateMessage = "A location with this name already exists !";

// All fields at their full widths: the name blank-padded on the right, the numbers on the
// left, exactly as the file's columns hold them.
struct LocationRecord {
    int number = 0;  // as read; the file is always rewritten with the record's position
    std::string name = std::string(kNameWidth, ' ');
    std::string longitudeText = std::string(kLongitudeWidth, ' ');
    std::string latitudeText = std::string(kLatitudeWidth, ' ');
    std::string timeLagText = std::string(kTimeLagWidth, ' ');
    std::string status = std::string(kStatusWidth, ' ');

    bool isProtected() const { return status == kShippedStatus; }
    friend bool operator==(const LocationRecord&, const LocationRecord&) = default;
};

struct LocationTable {
    std::vector<LocationRecord> records;  // in file order
    friend bool operator==(const LocationTable&, const LocationTable&) = default;
};

// A record in its stored form: the name padded with blanks or cut to 40 characters (line
// breaks in it become blanks), the number texts padded on the left (cut on the left when
// longer), status "ok".
LocationRecord storedRecord(std::string_view name, std::string_view longitude, std::string_view latitude,
                            std::string_view timeLag);

// A text padded on the right with blanks, or cut, to a width.
std::string padRight(std::string_view text, std::size_t width);
// A text padded on the left with blanks to a width; a longer one keeps its right end.
std::string padLeft(std::string_view text, std::size_t width);
// A name without its trailing blanks; an all-blank name gives the empty text.
std::string withoutTrailingBlanks(std::string_view text);

// Why a line of the list was passed over.
enum class LineFault { recordNumber, longitude, latitude, timeLag };

struct PassedOverLine {
    int line = 0;  // 1-based line of the file
    LineFault fault = LineFault::recordNumber;
    friend bool operator==(const PassedOverLine&, const PassedOverLine&) = default;
};

// What a load left out, and where the file disagrees with its count.
struct LocationLoadReport {
    bool countUnreadable = false;  // line 1 holds no count of 0 or more
    long long announced = 0;       // the count of line 1
    std::size_t recordLinesPresent = 0;  // lines present of those the count announces
    std::vector<PassedOverLine> passedOver;
    std::size_t beyondCapacity = 0;  // good records after the 250th
    std::size_t linesAfterRecords = 0;  // non-blank lines after the announced records

    // Nothing was left out and the count matched the lines.
    bool clean() const;
};

struct LocationLoad {
    LocationTable table;
    LocationLoadReport report;
};

// Reads a whole location list. A record line is padded with blanks or cut to its columns;
// a line whose record number, longitude (-180..180), latitude (-90..90) or time lag
// (-12..12) does not read is passed over, records after the 250th are not read, and a
// count beyond the lines present reads what is there.
LocationLoad loadLocations(std::istream& in);

// The whole list, lines ending in CR LF, records numbered by their position.
void saveLocations(std::ostream& out, const LocationTable& table);

// One message on what a load passed over, naming the file; empty for a clean load.
std::string describeLoadReport(const LocationLoadReport& report, std::string_view fileName);

enum class TableChange { done, capacityReached, duplicateName, protectedRecord, noSuchRecord };

// The first record whose 40-character name equals the text exactly, if any.
std::optional<std::size_t> findByName(const LocationTable& table, std::string_view name40);

// Appends the record with status "ok". A full table refuses before a name that is already
// stored does.
TableChange insertLocation(LocationTable& table, LocationRecord record);
// Replaces name and numbers of a record not shipped, which becomes "ok" and keeps its place.
// Another record of the same name refuses.
TableChange updateLocation(LocationTable& table, std::size_t index, const LocationRecord& record);
// The last record takes the deleted one's place. A shipped record stays.
TableChange deleteLocation(LocationTable& table, std::size_t index);

// Brings this program's changes into a list that another program (another window, most
// likely) has written since it was read: base is the list as read, mine the same with the
// changes made here, theirs the list as the file now holds it, which becomes the merged list.
// Records are told apart by name: a name inserted, edited or deleted here takes this
// program's version (an edit over the other's, a deletion too), every other record the
// file's (so its inserts, edits and deletions stay). Records keep the file's order; deleted
// ones leave their place to the last, new ones are appended. A shipped record of the file
// stays as it is. A merged list beyond 250 records refuses, and theirs is left unchanged.
TableChange mergeLocations(const LocationTable& base, const LocationTable& mine, LocationTable& theirs);

}  // namespace zenova

#endif
