// The update command file of the weather database: a text of site blocks, each a SITE line
// and keyword lines that give the site's identity, a command and monthly values:
//
//   % comments run from '%' to the end of the line
//   SITE      = Bern
//   COUNTRY   = 756
//   LATITUDE  = 46.95
//   LONGITUDE = -7.43
//   COMMAND   = modify
//   RADIATION = 37 69 114 151 184 203 209 180 134 84 43 30
//
// A line is a keyword, '=' (or ':' when the line has no '='), and a value; keywords are
// upper-cased, values keep their case. Lines before the first SITE line belong to the
// first site. RETURN or EXIT ends the file for the run, as its end does.
//
// The file is outside input: whatever it holds, reading it ends, and a line that does not
// read is an error naming the line, after which the rest of its site block is skipped up
// to the next SITE line, so that no line meant for one site is applied to another.
#ifndef VIREO_EM_WEATHER_COMMANDS_H
#define VIREO_EM_WEATHER_COMMANDS_H

#include "database.h"

#include "vireo/format/Reader.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace vireo::em::weather {

// Why a transfer of a file failed, in words a user can act on.
std::string reasonOf(const format::Status& s);

// Lines are 1024 characters at most.
inline constexpr std::size_t kCommandLineLength = 1024;

// What one site block asks.
struct SiteBlock {
    std::string name;  // 1 to 20 characters, as given
    long line = 0;     // of the SITE line
    int continent = 0;
    int country = 0;
    float latitude = 0.0f;
    float longitude = 0.0f;
    float deltaLatitude = 0.0f;
    float deltaLongitude = 0.0f;
    int height = 0;
    int command = command::none;
    // The values in the layout of the month array; given[code] for the parameter codes 1
    // to 7 whose line was read.
    std::array<float, kMonthArray> values{};
    std::array<bool, kParameters + 1> given{};
};

// Where a parameter code's twelve values stand in the month array.
std::span<float, kMonths> monthsOf(std::span<float, kMonthArray> values, int code);

// A message about the file: its code (of codes.h), the line, the word concerned ({s0}),
// the detail ({s2}) and a count ({i8}).
struct CommandNote {
    int code = 0;
    long line = 0;
    std::string text;
    std::string detail;
    int count = 0;
};

// Splits a line into its upper-cased keyword and its value, both stripped: 0; 1 for a
// line that is blank or a comment; 2 for a line without '=' or ':', the whole of it,
// stripped, then in `keyword`.
int parse_cnf(std::string_view line, std::string& keyword, std::string& value);

// Reads the blank-separated words of a value as numbers into `numbers`, which it clears
// first; words beyond its size are ignored. The count read, or -1 with the word that is
// no number.
int read_xr(std::string_view value, std::span<float> numbers, std::string& badWord);

class CommandFile {
public:
    using Echo = std::function<void(std::string_view line)>;
    using Tell = std::function<void(const CommandNote&)>;

    // `lines` is read line by line; every line read goes to `echo`, every warning and
    // error to `tell`.
    CommandFile(format::RecordSource& lines, std::string name, Echo echo = {}, Tell tell = {});

    // The next site block: 0; -1 at the end of the input; or the code of an error that
    // has been told, after which the next call goes on with the next site block.
    int readcmd(SiteBlock& block);

    // The lines read so far.
    long lines() const { return line_; }

private:
    enum class Read { more, site, end, error };
    Read line(std::string_view text, SiteBlock& done);
    Read keyword(const std::string& key, std::string_view value);
    Read error(int code, std::string text, std::string detail = {});
    Read startSite(std::string_view value, SiteBlock& done);

    format::RecordSource& lines_;
    std::string name_;
    Echo echo_;
    Tell tell_;
    long line_ = 0;
    bool ended_ = false;
    // After an error, lines are passed over up to the next SITE line.
    bool skipping_ = false;
    // A site is pending from its SITE line until its block is complete; lines before the
    // first SITE line fill the block of the site that follows.
    bool pending_ = false;
    bool filled_ = false;
    SiteBlock block_;
    // An error in the SITE line that completed the block before it, told at the next call.
    CommandNote queued_;
    int lastCode_ = 0;
};

}  // namespace vireo::em::weather

#endif
