// Reading the update command file: which words are keywords, which words are numbers, and
// how a fault passes over the rest of its site block and no further.
#include "codes.h"
#include "commands.h"

#include <gtest/gtest.h>

#include <vector>

namespace db = vireo::em::weather;
namespace code = vireo::em::weather::code;

namespace {

struct Read {
    std::vector<int> statuses;  // of each call, up to the end of the input
    std::vector<db::SiteBlock> blocks;
    std::vector<db::CommandNote> notes;
    long lines = 0;
};

Read readAll(const std::string& text) {
    vireo::format::TextRecords records(text);
    Read r;
    db::CommandFile file(records, "commands.txt", {}, [&](const db::CommandNote& n) { r.notes.push_back(n); });
    for (int guard = 0; guard < 50; ++guard) {
        db::SiteBlock b;
        const int status = file.readcmd(b);
        r.statuses.push_back(status);
        if (status == 0) r.blocks.push_back(b);
        if (status == db::kNotFound) break;
    }
    r.lines = file.lines();
    return r;
}

// The status a site block with one more line gets.
int statusOf(const std::string& line) { return readAll("SITE = A\n" + line + "\n").statuses.front(); }

float month(const db::SiteBlock& b, int code, int m) {
    auto values = b.values;
    return db::monthsOf(values, code)[static_cast<std::size_t>(m)];
}

}  // namespace

TEST(WeatherCommandFile, KeywordsAreTheTablesWordsOrTheirLongerForms) {
    const Read r = readAll("site = A\n"
                           "MINTEMPERATURE = -3\nmaxtemperat = 4\nRAINFALL = 5\nTEMPERATURE = 1\n"
                           "DELTALATITUDE = 0.5\nDELTALONG = 1.5\nDELTALONGITUDE = 2.5\n");
    ASSERT_EQ(r.statuses, (std::vector<int>{0, db::kNotFound}));
    const db::SiteBlock& b = r.blocks[0];
    EXPECT_EQ(month(b, 3, 0), -3.0f);
    EXPECT_EQ(month(b, 4, 0), 4.0f);
    EXPECT_EQ(month(b, 5, 0), 5.0f);
    EXPECT_EQ(month(b, 2, 0), 1.0f);
    EXPECT_EQ(b.deltaLatitude, 0.5f);
    EXPECT_EQ(b.deltaLongitude, 2.5f);
    EXPECT_EQ(b.given, (std::array<bool, 8>{false, false, true, true, true, true, false, false}));
    // Words that only begin like a keyword would store values as another parameter.
    for (const char* line : {"TEMPERATURE_MAX = 30", "WINDDIRECTION = 270", "RAINDAYS = 12", "SITENAME = B", "LAT = 4"})
        EXPECT_EQ(statusOf(line), code::unknownKeyword.number) << line;
}

TEST(WeatherCommandFile, AValueReadsWholeAsOneNumberOrIsRefused) {
    for (const char* line : {"COUNTRY = 1,200", "RADIATION = 1 nan 3", "WIND = inf", "TEMPERATURE = 1e999", "HEIGHT = 12.5",
                             "LATITUDE = 12abc", "LONGITUDE = 1 2", "RAIN = ."})
        EXPECT_EQ(statusOf(line), code::badNumber.number) << line;
    const Read r = readAll("SITE = A\nHEIGHT =\nLATITUDE = -1.5e1\nCOMMAND = modify\n"
                           "HUMIDITY = 1 2 3 4 5 6 7 8 9 10 11 12 13 14\nRADIATION = 12.5 125\n");
    ASSERT_EQ(r.statuses.front(), 0);
    const db::SiteBlock& b = r.blocks[0];
    EXPECT_EQ(b.height, 0);  // an empty value leaves the default
    EXPECT_EQ(b.latitude, -15.0f);
    EXPECT_EQ(b.command, db::command::modify);
    EXPECT_EQ(month(b, 7, 11), 12.0f);  // words after the twelfth are ignored
    EXPECT_EQ(month(b, 1, 0), 12.5f);
    EXPECT_EQ(month(b, 1, 1), 125.0f);
    EXPECT_EQ(month(b, 1, 2), 0.0f);
    ASSERT_EQ(r.notes.size(), 1u);  // the short line, with its line and count
    EXPECT_EQ(r.notes[0].code, code::fewMonths.number);
    EXPECT_EQ(r.notes[0].line, 6);
    EXPECT_EQ(r.notes[0].count, 2);

    // Commands go by their leading characters; LIST only as a word of its own.
    EXPECT_EQ(statusOf("COMMAND = LISTING"), code::badCommand.number);
    EXPECT_EQ(statusOf("COMMAND = ADD"), code::badCommand.number);
    EXPECT_EQ(readAll("SITE = A\nCOMMAND = Delete all\n").blocks.at(0).command, db::command::remove);
    EXPECT_EQ(readAll("SITE = A\nCOMMAND = list\tnow\n").blocks.at(0).command, db::command::list);
    EXPECT_EQ(readAll("SITE = A\x01" "B\n").statuses.front(), code::badSiteName.number);
    EXPECT_EQ(statusOf("just words"), code::notAKeywordLine.number);
}

// The first '=' separates, else the first ':'; a '%' starts a comment anywhere.
TEST(WeatherCommandFile, LinesSplitAtTheFirstEqualsSign) {
    std::string key, value;
    EXPECT_EQ(db::parse_cnf("  Site: a=b c % d=e", key, value), 0);
    EXPECT_EQ(key, "SITE: A");
    EXPECT_EQ(value, "b c");
    EXPECT_EQ(db::parse_cnf("site : Bad Ragaz", key, value), 0);
    EXPECT_EQ(value, "Bad Ragaz");
    EXPECT_EQ(db::parse_cnf("%SITE = A", key, value), 1);
    EXPECT_EQ(db::parse_cnf("  Return  % done", key, value), 2);
    EXPECT_EQ(key, "Return");
    std::array<float, 3> numbers{9, 9, 9};
    std::string bad;
    EXPECT_EQ(db::read_xr(" 1  2.5 ", numbers, bad), 2);
    EXPECT_EQ(numbers, (std::array<float, 3>{1, 2.5f, 0}));
    EXPECT_EQ(db::read_xr("1 2 3 x", numbers, bad), 3);
    EXPECT_EQ(db::read_xr("1 -x 3", numbers, bad), -1);
    EXPECT_EQ(bad, "-x");
}

// A fault passes over the rest of its block, never a line of the next; RETURN ends the
// input, and a SITE line that fails still completes the block before it.
TEST(WeatherCommandFile, AFaultPassesOverTheRestOfItsBlockOnly) {
    const Read r = readAll("COUNTRY = 756\n"
                           "SITE = A\nCOUNTRY = x\nCOMMAND = delete\nno keyword\n"
                           "SITE = B\nCOMMAND = check\n"
                           "SITE = \t\x7f\n"  // completes B, then fails
                           "RADIATION = 1\n"
                           "SITE = C\n"
                           "  return now\n"
                           "SITE = D\n");
    EXPECT_EQ(r.statuses, (std::vector<int>{code::badNumber.number, 0, code::badSiteName.number, 0, db::kNotFound}));
    ASSERT_EQ(r.blocks.size(), 2u);
    EXPECT_EQ(r.blocks[0].name, "B");
    EXPECT_EQ(r.blocks[0].command, db::command::check);
    EXPECT_EQ(r.blocks[0].country, 0);
    EXPECT_EQ(r.blocks[1].name, "C");
    EXPECT_FALSE(r.blocks[1].given[1]);
    EXPECT_EQ(r.lines, 11);  // nothing after RETURN is read
    ASSERT_EQ(r.notes.size(), 2u);
    EXPECT_EQ(r.notes[0].line, 3);
    EXPECT_EQ(r.notes[0].text, "COUNTRY");
    EXPECT_EQ(r.notes[1].line, 8);
}
