// The monthly weather database: twelve monthly values of up to seven weather parameters
// for named sites, in three direct-access files of one directory. The site file
// (vireoWeather.loc) lists the sites sorted by upper-cased name, each pointing at its
// record of the index file (vireoWeather.ind), which points at one record of the data
// file (vireoWeather.dat) per parameter.
//
// Each file has one owner routine (mtlocr, mtmptr, mtmdat) that opens it on first use,
// keeps it open for the whole process and closes it at mode -1; everything else reaches
// the files through them. Searching and fetching (mtloc, mtmget, neighbor, mtmclo) stand
// on the owners. The routines return their status: 0 done, -1 (searches) no site found,
// otherwise a code of codes.h; lastFault() tells the file, record and cause of the last
// failure, for the message that reports it.
//
// The files are shared with other programs and hand-made copies, so every record read is
// outside input: nothing in it may crash a routine or make it run without bound, and no
// routine writes a value that its field cannot hold. Several processes may use one
// database: an update holds it alone and a search shares it with other searches (Hold).
#ifndef VIREO_EM_WEATHER_DATABASE_H
#define VIREO_EM_WEATHER_DATABASE_H

#include "Messages.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace vireo::em::weather {

inline constexpr int kNameLength = 20;
inline constexpr int kParameters = 7;
inline constexpr int kMonths = 12;
inline constexpr int kMonthArray = 95;
inline constexpr int kNotFound = -1;
// Record numbers are five digits in every file.
inline constexpr int kLastRecord = 99999;

inline constexpr char kSiteFile[] = "vireoWeather.loc";
inline constexpr char kIndexFile[] = "vireoWeather.ind";
inline constexpr char kDataFile[] = "vireoWeather.dat";

// The modes of the owner routines.
namespace mode {
inline constexpr int close = -1;
inline constexpr int read = 0;
inline constexpr int write = 1;    // mtlocr: insert a site; mtmptr, mtmdat: write (allocating for record 0)
inline constexpr int remove = 2;   // mtlocr: delete a site; mtmptr: rewrite or release; mtmdat: release
inline constexpr int count = 3;    // mtlocr: the header's count
}  // namespace mode

// The search modes of mtloc.
namespace search {
inline constexpr int byNameOnce = 1;  // binary search, then the first record from there that passes the filter
inline constexpr int byName = 2;      // the first match in name order; repeated, the next one
inline constexpr int byCountry = 3;
inline constexpr int byContinent = 4;
inline constexpr int byWindow = 5;
inline constexpr int close = 6;       // closes the site file and forgets the search
}  // namespace search

// One site as the site file holds it. Longitude in degrees west of Greenwich, 0 to below
// 360 (the first sign convention of the library); latitude north positive.
struct Site {
    std::string name = std::string(kNameLength, ' ');  // as entered, blank-padded to 20
    int continent = 0;                                  // 0 to 9
    int country = 0;                                    // 0 to 999
    float latitude = 0.0f;
    float longitude = 0.0f;
    int height = 0;                                     // m, -1000 to 8999
    int indexRecord = 0;
};

// The data-record numbers of an index record, in its slot order: radiation, wind, mean,
// minimum and maximum temperature, rain, humidity; 0 where the site has no such data.
using Pointers = std::array<int, kParameters>;

// Parameter codes of the data records, and the slot of each in an index record.
namespace parameter {
inline constexpr int radiation = 1;
inline constexpr int meanTemperature = 2;
inline constexpr int minTemperature = 3;
inline constexpr int maxTemperature = 4;
inline constexpr int rain = 5;
inline constexpr int wind = 6;
inline constexpr int humidity = 7;
}  // namespace parameter
// The code of the data each index slot points at.
inline constexpr std::array<int, kParameters> kCodeOfSlot = {1, 6, 2, 3, 4, 5, 7};
// Index slot (0-based) of a parameter code 1 to 7.
int slotOfCode(int code);

// The month array of a site (0-based): radiation 0-11, wind 12-23, mean, minimum and
// maximum temperature 24-35, 36-47, 48-59, rain 60-71, latitude 72, longitude 73, time
// zone 74 (hours west), height 75, humidity 76-87, the annual values 88-94 in slot order.
// A parameter the site lacks stays 0.
inline constexpr int kLatitudeAt = 72;
inline constexpr int kLongitudeAt = 73;
inline constexpr int kTimeZoneAt = 74;
inline constexpr int kHeightAt = 75;
inline constexpr int kAnnualAt = 88;
inline constexpr std::array<int, kParameters> kMonthsOfSlot = {0, 12, 24, 36, 48, 60, 76};

// ---- the owners of the three files ----------------------------------------------------
// `directory` is the database directory; the file name is appended to it (without its
// trailing blanks) when the file is opened. Reading modes open a file for reading alone,
// so a database that may not be written serves every search; a mode that writes opens
// it for writing.

// Site file. read: site record `record` into `site`; write: inserts `site` in name order
// (with a new, empty index record), returning its record and index record; remove:
// deletes site record `record`; count: the header's count (the number of the last site
// record, 1 for an empty database).
int mtlocr(int mode, int& record, int& count, Site& site, std::string_view directory);

// Index file. read: the pointers of index record `record`; write: writes them into it,
// allocating a record first when `record` is 0; remove: rewrites it, or releases it when
// all pointers are 0.
int mtmptr(int mode, int& record, Pointers& pointers, std::string_view directory);

// Data file. read: the twelve monthly values and the annual value of data record `record`
// of parameter `code`; write: encodes `months` into it (allocating when `record` is 0);
// remove: releases it.
int mtmdat(int mode, int code, int& record, float& annual, std::span<float, kMonths> months,
           std::string_view directory);

// The record the next allocation of an index record will take; nothing is written.
int nextIndexRecord(std::string_view directory, int& record);

// ---- holding the database --------------------------------------------------------------

// Holds the database of a directory for the life of the object, by an advisory lock on
// its site file: `updating` alone, `reading` beside other readers, so that no reader sees
// an update half done and no two updates mix their records. A hold waits a bounded time
// for another process's; when that runs out, status() is 302071 naming the file, and when
// the run is stopped meanwhile (vireo_tools_run_stopped), 302073 at once. A block that
// waits says so once, through `waiter` when one is given (note 102073). Holds
// nest within a process (an inner one for reading under one for updating is free). When
// the site file cannot be opened the hold stands without a lock: the routines then say
// why the database cannot be used. An update first gives records that an update cut
// short (a killed process) left neither in use nor free back to their free lists.
class Hold {
public:
    enum Kind { reading = 1, updating = 2 };
    Hold(std::string_view directory, Kind kind, const block::Reporter* waiter = nullptr);
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    int status() const { return status_; }

private:
    int status_ = 0;
    bool counted_ = false;
};

// ---- searching and fetching -----------------------------------------------------------

// What to look for. Continent and country 0 mean any.
struct Search {
    std::string name;  // up to 20 significant characters; a trailing '*' makes a prefix
    int continent = 0;
    int country = 0;
    float latitude = 0.0f;  // the window: its centre and tolerances, degrees
    float longitude = 0.0f;
    float deltaLatitude = 0.0f;
    float deltaLongitude = 0.0f;
};

// One search step (modes of `search`). `record` is the record found, and where a
// repeated search goes on. The search state is one for the process: a search continues
// the last one when mode, continent, country and name (or window) agree.
int mtloc(int mode, const Search& query, int& record, Site& found, std::string_view directory);

// The month array of the one site a search selects: by name when the name is not blank,
// else by country, by continent, or by the window. A longitude is taken into 0 to 360
// (in the query); -1 when no site matches; 302035 when more than one does. `found`, when
// given, receives the site as stored and the data records it holds.
struct Found {
    Site site;
    Pointers pointers{};
};
int mtmget(Search& query, std::span<float, kMonthArray> months, std::string_view directory, Found* found = nullptr);

// The month array of a site already found (and, when asked, its data records).
int loadSite(const Site& site, std::span<float, kMonthArray> months, std::string_view directory,
             Pointers* pointers = nullptr);

// The three sites nearest to a point (longitude in the database's convention), nearest
// first; slots no site filled keep a blank name, record 0 and distance 10000 km. With
// requireData only sites with radiation and the three temperatures count. Status 0; 1
// when the site file cannot be opened or its count read, 2 when a record cannot be read,
// each after a message shown (not counted) for the block `reporter` names.
struct Neighbour {
    Site site;
    int record = 0;
    int distance = 10000;  // km
};
using Neighbours = std::array<Neighbour, 3>;
int neighbor(float longitude, float latitude, Neighbours& nearest, bool requireData, std::string_view directory,
             const block::Reporter& reporter);

// Distance in km between two points on a sphere of 6370 km, degrees in.
float rlocdist(float latitude1, float longitude1, float latitude2, float longitude2);

// Closes the three files and forgets the search.
int mtmclo(std::string_view directory);

// ---- maintenance and listing ----------------------------------------------------------

// The commands of mtmmod (and, LIST, of the update command file).
namespace command {
inline constexpr int none = -1;  // adds the site when it is missing, and nothing else
inline constexpr int modify = 0;
inline constexpr int add = 1;  // NEW: only a parameter the site does not hold yet
inline constexpr int remove = 2;
inline constexpr int check = 3;
inline constexpr int list = 4;
}  // namespace command

// One command for one parameter (code 1 to 7) of the one site the query selects:
//   command   site missing   parameter missing    parameter present
//   MODIFY    site added     data record added    data record overwritten
//   NEW       site added     data record added    302040, nothing changed
//   DELETE    202036         202038               released; the site goes with its last
//   CHECK     202037         202039               202041
//   none      site added     nothing              nothing
// A site is added with the query's name, continent, country and position and `height`.
// Status 0, one of the codes above, or a fault of the query or the files. Everything is
// checked before the first write; a fault part-way leaves at most a record that nothing
// points at, never a pointer to a released one.
int mtmmod(Search& query, int height, int command, int code, std::span<const float, kMonths> months,
           std::string_view directory);

// Lists the sites a query selects (as mtmget searches) through the utility library's
// os0ltxt: two title lines, then a line per site with its name, country, latitude and
// longitude, while `flow` is not 2. The status of the search that ended the listing: -1
// when it ran out of sites.
int mtmlst(Search query, std::string_view directory, const int& flow);

// A text of the database (a name, a directory row) without its trailing blanks and NULs.
std::string_view stripped(std::string_view text);

// ---- reporting ------------------------------------------------------------------------

struct Fault {
    int code = 0;
    std::string file;    // the file's path; empty for a fault of the arguments
    long record = 0;     // the record concerned (the mode, for an unknown mode)
    std::string reason;  // why, when the system or the record says
};
// The last failure of a routine above.
const Fault& lastFault();

// A status of the routines as a message: its code, the record in {i8}, the file in {s0}
// and the cause in {s2}.
block::Code codeOf(int status);
block::Values valuesOf(const Fault& fault);

}  // namespace vireo::em::weather

#endif
