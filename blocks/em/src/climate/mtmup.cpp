//#Block MTMUP
//#Description
// Maintenance of the monthly weather database from a command file: adds, changes,
// deletes, checks and lists the monthly values of sites, adding a site with its first
// parameter and removing it with its last.
//#Layout
//#Inputs 0
//#Outputs 0
//#Parameters 0
//#Strings 1
//#Group 1 (constant source)
//#Details
//#Inputs
//#None
//#Outputs
//#None
//#Parameters
//#None
//#Strings
//#SP[0] Path of the command file; a relative path is taken from the model's directory (-)
//#Remarks
// The command file is a sequence of site blocks, each a line SITE = name followed by
// keyword lines, one KEYWORD = value a line (a colon may stand for the equals sign):
// CONTINENT and COUNTRY (codes), LATITUDE, LONGITUDE (degrees, positive west), DELTALAT
// and DELTALONG (the tolerances of a search without a name), HEIGHT (m), COMMAND, and the
// parameters RADIATION, WIND, TEMPERATURE, MINTEMPERATURE, MAXTEMPERATURE, RAIN and
// HUMIDITY, each with twelve monthly values, January first. COMMAND is MODIFY (add or
// overwrite), NEW (add only a parameter the site does not hold yet), DELETE, CHECK or
// LIST. Each given parameter is applied to the one site the block selects: by its name,
// else by country, continent or window. A site that is missing is added (in name order,
// with the block's continent, country, position and height) by MODIFY, NEW, or a block
// without a command (which stores no values: values given without one are warned about);
// MODIFY never moves a site. Text after \% is a comment; RETURN or EXIT
// ends the file. Every line read is echoed. A line that does not read is an error naming
// it, and the rest of its site block is passed over; every command that changes nothing
// says why; LIST writes the site with its values, and the sites when several match. The
// block runs once, at the first step of the run: the whole file is applied then, from
// its first line. The database is the one MTM reads, in data/mtm/ below the installation
// directory, which must be writable.
//#end
#include "blocks.h"

#include "Files.h"
#include "vireo_tools.h"
#include "weather/codes.h"
#include "weather/commands.h"
#include "weather_blocks.h"

#include "vireo/format/RecordFiles.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vireo::em {
namespace {

namespace db = weather;
namespace dbc = weather::code;

// The parameters by code, as the messages name them and the summary labels them.
constexpr std::string_view kParameterNames[] = {"",         "radiation", "mean temperature", "minimum temperature",
                                                "maximum temperature", "rain", "wind", "humidity"};
constexpr std::string_view kLabels[] = {"",           "Radiation: ", "T (av.):   ", "T (min):   ",
                                        "T (max):   ", "Rain:      ", "Wind:      ", "Humidity:  "};

const format::Format kHeadLine("('Site: ',A20,', Continent: ',I3,', Country: ',I3)");
const format::Format kPlaceLine("('Latitude: ',F6.1,', Longitude: ',F6.1,', ',A10)");
const format::Format kValuesLine("(A11,12F5.0)");

std::string written(const format::Format& f, std::initializer_list<format::Value> values) {
    std::string line;
    format::writeRecord(f, std::span(values.begin(), values.size()), line);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

std::string commandName(int command) {
    constexpr std::string_view kNames = "MODIFY    NEW       DELETE    CHECK     LIST      ";
    if (command < db::command::modify || command > db::command::list) return ", mode= ??";
    return std::string(kNames.substr(static_cast<std::size_t>(command) * 10, 10));
}

std::string padded(std::string_view name) {
    std::string n(name.substr(0, db::kNameLength));
    n.resize(db::kNameLength, ' ');
    return n;
}

// The site and the command, as the block's messages show them: the first two lines of its
// summary.
struct Summary {
    std::string head, place;
    std::string row() const { return head + ", " + place; }
};
Summary summaryOf(std::string_view name, int continent, int country, float latitude, float longitude, int command) {
    return {written(kHeadLine, {padded(name), continent, country}),
            written(kPlaceLine, {latitude, longitude, commandName(command)})};
}

// The summary's line of a parameter's twelve values.
std::string valuesLine(int code, std::span<const float, db::kMonths> v) {
    return written(kValuesLine, {kLabels[code], v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]});
}

void echo(std::string_view line) { ftext(line.data(), std::min(line.size(), block::kRow)); }

db::Search queryOf(const db::SiteBlock& s) {
    db::Search q;
    q.name = s.name;
    q.continent = s.continent;
    q.country = s.country;
    q.latitude = s.latitude;
    q.longitude = s.longitude;
    q.deltaLatitude = s.deltaLatitude;
    q.deltaLongitude = s.deltaLongitude;
    return q;
}

// Errors are counted, warnings shown.
void tell(mtmup_block::View& b, block::Code code, const block::Values& values) {
    if (code.number >= 300000) b.report(code, values);
    else b.show(code, values);
}

// A fault of the files names the file, record and cause; any other outcome the site, the
// command and the parameter.
void tellOutcome(mtmup_block::View& b, int status, const std::string& row, int code) {
    const block::Code c = db::codeOf(status);
    if (std::string_view(c.fills) == dbc::kFileFills) tell(b, c, db::valuesOf(db::lastFault()));
    else tell(b, c, {.text = row, .detail = kParameterNames[code]});
}

// The outcomes that concern one parameter; any other concerns the site or the files and
// would recur for every parameter of the block.
bool aboutTheParameter(int status) {
    return status == dbc::newPresent.number || status == dbc::deleteNoParameter.number ||
           status == dbc::checkNoParameter.number || status == dbc::checkPresent.number ||
           status == dbc::dataValue.number;
}

// LIST: the site with the values it holds, or why there is none.
void list(mtmup_block::View& b, const db::SiteBlock& s, const std::string& row, const std::string& directory) {
    db::Search q = queryOf(s);
    std::array<float, db::kMonthArray> months{};
    db::Found found;
    const int status = db::mtmget(q, months, directory, &found);
    if (status == 0) {
        const db::Site& site = found.site;
        const Summary summary = summaryOf(site.name, site.continent, site.country, site.latitude, site.longitude,
                                          db::command::list);
        echo(summary.head);
        echo(summary.place);
        for (std::size_t slot = 0; slot < found.pointers.size(); ++slot) {
            if (found.pointers[slot] == 0) continue;
            const int code = db::kCodeOfSlot[slot];
            echo(valuesLine(code, db::monthsOf(months, code)));
        }
    } else if (status == db::kNotFound) {
        b.report(dbc::listNoSite, {.text = row});
    } else {
        tellOutcome(b, status, row, 0);
        if (status == dbc::ambiguous.number) listSites(q, directory);
    }
}

void apply(mtmup_block::View& b, db::SiteBlock& s, const std::string& directory) {
    const std::string row = summaryOf(s.name, s.continent, s.country, s.latitude, s.longitude, s.command).row();
    if (s.command == db::command::list) return list(b, s, row, directory);
    const bool any = std::find(s.given.begin(), s.given.end(), true) != s.given.end();
    if (!any && (s.command == db::command::remove || s.command == db::command::check)) {
        b.report(dbc::nothingToDo, {.reals = {static_cast<float>(s.line)}, .text = commandName(s.command), .detail = row});
        return;
    }
    if (!any) {
        // Without a parameter line only the site itself is asked for.
        db::Search q = queryOf(s);
        const std::array<float, db::kMonths> none{};
        if (const int status = db::mtmmod(q, s.height, db::command::none, 0, none, directory); status != 0)
            tellOutcome(b, status, row, 0);
        return;
    }
    // A block without a command only adds its site: values written under it would be lost
    // without a word, where a user most likely forgot the command line.
    if (s.command == db::command::none)
        b.report(dbc::valuesWithoutCommand, {.reals = {static_cast<float>(s.line)}, .text = "", .detail = row});
    for (int code = 1; code <= db::kParameters; ++code) {
        if (!s.given[static_cast<std::size_t>(code)]) continue;
        db::Search q = queryOf(s);
        const int status = db::mtmmod(q, s.height, s.command, code, db::monthsOf(s.values, code), directory);
        if (status == 0) continue;
        tellOutcome(b, status, row, code);
        if (!aboutTheParameter(status)) break;
    }
}

}  // namespace

// The command file is the block's one parameter: it must be there to be read.
void mtmup_block::init(View& b) {
    const std::string path(b.trimmedText(0));
    format::SequentialFile file;
    if (const format::Status s = file.open(path); !s.ok()) {
        b.report(dbc::commandFileUnreadable, {.text = path, .detail = db::reasonOf(s)});
        return;
    }
    if (block::claimFile(b, path, -1, block::FileUse::reads)) claimDatabase(b, databaseDirectory());
}

// A constant source: the one step of the run applies the whole file, from its first line.
void mtmup_block::step(View& b) {
    const std::string path(b.trimmedText(0));
    const std::string directory = databaseDirectory();
    format::SequentialFile file;
    if (const format::Status s = file.open(path); !s.ok()) {
        b.report(dbc::commandFileUnreadable, {.text = path, .detail = db::reasonOf(s)});
        return;
    }
    db::CommandFile commands(file, path, echo, [&b](const db::CommandNote& n) {
        tell(b, db::codeOf(n.code),
             {.value = n.count, .reals = {static_cast<float>(n.line)}, .text = n.text, .detail = n.detail});
    });
    // The whole file is one update: no other process reads or changes the database before
    // it is done.
    const block::Reporter waiter = b.reporter();
    const db::Hold hold(directory, db::Hold::updating, &waiter);
    if (hold.status() != 0) {
        b.report(db::codeOf(hold.status()), db::valuesOf(db::lastFault()));
        return;
    }
    db::SiteBlock site;
    for (int status = 0; (status = commands.readcmd(site)) != db::kNotFound;) {
        if (status == 0) apply(b, site, directory);
        // Each block's searches start afresh.
        db::mtmclo(directory);
    }
    db::mtmclo(directory);
}

}  // namespace vireo::em
