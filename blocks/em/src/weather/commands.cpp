#include "commands.h"

#include "codes.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <utility>

namespace vireo::em::weather {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view strip(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

// The first word of a text and what follows it, stripped.
std::string_view firstWord(std::string_view s, std::string_view& rest) {
    s = strip(s);
    std::size_t end = 0;
    while (end < s.size() && !isBlank(s[end])) ++end;
    rest = strip(s.substr(end));
    return s.substr(0, end);
}

// A word read whole as one number with the field of the file's format, 80 characters wide;
// a field without a digit would read as zero, and a longer word would be read in part.
template <class T>
bool readWord(std::string_view word, T& value) {
    static const format::Format kReal("(F80.0)");
    static const format::Format kInteger("(I80)");
    if (word.empty() || word.size() > 80 || word.find_first_of("0123456789") == std::string_view::npos) return false;
    T read{};
    const format::Status s = format::read(word, std::is_same_v<T, int> ? kInteger : kReal, {format::Item(read)},
                                          {.commaEndsField = false});
    // An exponent may carry a real past every finite value.
    if (!s.ok() || !std::isfinite(static_cast<double>(read))) return false;
    value = read;
    return true;
}

bool isControl(char c) { return static_cast<unsigned char>(c) < 32 || c == 127; }

// The parameter code of a keyword of twelve monthly values, 0 for none. Each keyword is
// taken whole, in the table's short form or written out.
int parameterOf(std::string_view key) {
    static constexpr struct {
        std::string_view word;
        int code;
    } kWords[] = {
        {"RADIATION", parameter::radiation},         {"WIND", parameter::wind},
        {"TEMPERATURE", parameter::meanTemperature}, {"MINTEMPERAT", parameter::minTemperature},
        {"MINTEMPERATURE", parameter::minTemperature}, {"MAXTEMPERAT", parameter::maxTemperature},
        {"MAXTEMPERATURE", parameter::maxTemperature}, {"RAIN", parameter::rain},
        {"RAINFALL", parameter::rain},               {"HUMIDITY", parameter::humidity},
    };
    for (const auto& w : kWords)
        if (key == w.word) return w.code;
    return 0;
}

}  // namespace

std::span<float, kMonths> monthsOf(std::span<float, kMonthArray> values, int code) {
    const int slot = std::max(slotOfCode(code), 0);
    return std::span<float, kMonths>(values.data() + kMonthsOfSlot[static_cast<std::size_t>(slot)], kMonths);
}

CommandFile::CommandFile(format::RecordSource& lines, std::string name, Echo echo, Tell tell)
    : lines_(lines), name_(std::move(name)), echo_(std::move(echo)), tell_(std::move(tell)) {}

int CommandFile::readcmd(SiteBlock& block) {
    if (queued_.code != 0) {
        const CommandNote note = std::exchange(queued_, {});
        if (tell_) tell_(note);
        return note.code;
    }
    while (!ended_) {
        std::string text;
        const format::Status s = lines_.next(text);
        if (s.code == format::Code::endOfFile) break;
        ++line_;
        if (!s.ok() && s.code != format::Code::recordTooLong) {
            ended_ = true;
            error(code::commandFileUnreadable.number, name_, reasonOf(s));
            return lastCode_;
        }
        if (echo_) echo_(text);
        const Read r = s.ok() && text.size() <= kCommandLineLength
                           ? line(text, block)
                           : error(code::notAKeywordLine.number, name_, "it is longer than 1024 characters");
        if (r == Read::site) return 0;
        if (r == Read::error) return lastCode_;
        if (r == Read::end) break;
    }
    ended_ = true;
    if (pending_) {
        pending_ = false;
        block = std::exchange(block_, {});
        return 0;
    }
    if (filled_) {
        filled_ = false;
        error(code::badSiteName.number, "", "the lines before the end name no site");
        return lastCode_;
    }
    return kNotFound;
}

CommandFile::Read CommandFile::error(int code, std::string text, std::string detail) {
    lastCode_ = code;
    skipping_ = true;
    pending_ = false;
    filled_ = false;
    block_ = {};
    if (tell_) tell_({code, line_, std::move(text), std::move(detail)});
    return Read::error;
}

int parse_cnf(std::string_view line, std::string& keyword, std::string& value) {
    const std::string_view content = strip(line.substr(0, line.find('%')));
    if (content.empty()) return 1;
    std::size_t separator = content.find('=');
    if (separator == std::string_view::npos) separator = content.find(':');
    if (separator == std::string_view::npos) {
        keyword = content;
        value.clear();
        return 2;
    }
    keyword = upper(strip(content.substr(0, separator)));
    value = strip(content.substr(separator + 1));
    return 0;
}

int read_xr(std::string_view value, std::span<float> numbers, std::string& badWord) {
    std::fill(numbers.begin(), numbers.end(), 0.0f);
    std::string_view rest = strip(value);
    std::size_t count = 0;
    for (; count < numbers.size() && !rest.empty(); ++count) {
        const std::string_view word = firstWord(rest, rest);
        if (!readWord(word, numbers[count])) {
            badWord = word;
            return -1;
        }
    }
    return static_cast<int>(count);
}

CommandFile::Read CommandFile::line(std::string_view text, SiteBlock& done) {
    std::string key, value;
    const int kind = parse_cnf(text, key, value);
    if (kind == 1) return Read::more;
    if (kind == 2) {
        const std::string word = upper(key);
        if (word.starts_with("RETURN") || word.starts_with("EXIT")) return Read::end;
        // A line of a block already given up.
        if (skipping_) return Read::more;
        return error(code::notAKeywordLine.number, name_, "it holds no '=' or ':'");
    }
    if (key == "SITE") return startSite(value, done);
    if (skipping_) return Read::more;
    if (!pending_) filled_ = true;
    return keyword(key, value);
}

CommandFile::Read CommandFile::startSite(std::string_view value, SiteBlock& done) {
    const std::string_view name = strip(value.substr(0, std::min<std::size_t>(value.size(), kNameLength)));
    const bool good = !name.empty() && std::none_of(name.begin(), name.end(), isControl);
    // The line completes the block of the site pending, which stands whatever this line holds.
    const bool completes = pending_;
    if (completes) done = std::exchange(block_, {});
    pending_ = false;
    if (!good) {
        const std::string why = name.empty() ? "the name is blank" : "the name holds a control character";
        if (!completes) return error(code::badSiteName.number, std::string(name), why);
        // The block before stands; this line's error is told at the next call.
        skipping_ = true;
        filled_ = false;
        queued_ = {code::badSiteName.number, line_, std::string(name), why};
        return Read::site;
    }
    block_.name = name;
    block_.line = line_;
    pending_ = true;
    skipping_ = false;
    filled_ = false;
    return completes ? Read::site : Read::more;
}

CommandFile::Read CommandFile::keyword(const std::string& key, std::string_view value) {
    SiteBlock& b = block_;
    const auto single = [&](auto& target) {
        if (value.empty()) return Read::more;  // the default stands
        std::string_view rest;
        const std::string_view word = firstWord(value, rest);
        if (!rest.empty() || !readWord(word, target)) return error(code::badNumber.number, key, std::string(value));
        return Read::more;
    };
    if (key == "CONTINENT") return single(b.continent);
    if (key == "COUNTRY") return single(b.country);
    if (key == "HEIGHT") return single(b.height);
    if (key == "LONGITUDE") return single(b.longitude);
    if (key == "LATITUDE") return single(b.latitude);
    if (key == "DELTALONG" || key == "DELTALONGITUDE") return single(b.deltaLongitude);
    if (key == "DELTALAT" || key == "DELTALATITUDE") return single(b.deltaLatitude);
    if (key == "COMMAND") {
        // By their leading characters, as files written for the commands have them
        // ("DELETE ALL"); LIST only as a word of its own, LISTING being no command.
        static constexpr std::string_view kNames[] = {"MODIFY", "NEW", "DELETE", "CHECK", "LIST"};
        const std::string word = upper(value);
        const std::string_view w = word;
        for (int c = command::modify; c <= command::list; ++c) {
            const std::string_view name = kNames[c];
            if (!w.starts_with(name)) continue;
            if (c == command::list && w.size() > name.size() && !isBlank(w[name.size()])) break;
            b.command = c;
            return Read::more;
        }
        return error(code::badCommand.number, std::string(value));
    }
    if (const int code = parameterOf(key); code != 0) {
        std::array<float, kMonths> months{};
        std::string bad;
        const int count = read_xr(value, months, bad);
        if (count < 0) return error(code::badNumber.number, key, bad);
        const auto target = monthsOf(b.values, code);
        std::copy(months.begin(), months.end(), target.begin());
        b.given[static_cast<std::size_t>(code)] = true;
        if (count < kMonths && tell_) tell_({code::fewMonths.number, line_, key, {}, count});
        return Read::more;
    }
    return error(code::unknownKeyword.number, key);
}

}  // namespace vireo::em::weather
