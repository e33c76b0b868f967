// The rules of the main window's input fields: limits with their messages, the tidying of a
// field that is left, the pole names and the time lag from the longitude. The numbers live
// in the fields as texts with fixed decimals; these rules keep them so.
#ifndef ZENOVA_FIELDS_H
#define ZENOVA_FIELDS_H

#include <optional>
#include <string>
#include <string_view>

namespace zenova {

// A coordinate field's range, with the message and the text that replace a value beyond
// each end.
struct FieldLimit {
    double low;
    double high;
    std::string_view lowMessage;
    std::string_view highMessage;
    std::string_view lowText;
    std::string_view highText;
};

// A latitude beyond a pole is set one degree short of it, though the message names the pole.
inline constexpr FieldLimit kLongitudeLimit{-180.0,
                                            180.0,
                                            "Maximum western longitude amounts to -180\u00b0!",
                                            "Maximum eastern longitude amounts to 180\u00b0!",
                                            "-180.00",
                                            "180.00"};
inline constexpr FieldLimit kLatitudeLimit{-90.0,
                                           90.0,
                                           "Maximum southern latitude amounts to -90\u00b0 (South Pole)!",
                                           "Maximum nothern latitude amounts to 90\u00b0 (North Pole)!",
                                           "-89.00",
                                           "89.00"};
inline constexpr std::string_view kTimeLagMessage =
    "Time lag area -12 (eastern longitude neg.) <= time lag <= 12 (eastern longitude pos.)";
inline constexpr FieldLimit kTimeLagLimit{-12.0, 12.0, kTimeLagMessage, kTimeLagMessage, "-12.0", "12.0"};

// The location database stops a latitude at the pole itself, and says nothing; its
// longitude and time lag stop where the main window's do.
inline constexpr FieldLimit kDatabaseLatitudeLimit{-90.0, 90.0, "", "", "-90.00", "90.00"};

inline constexpr int kMaxInclination = 179;
inline constexpr int kMaxOrientation = 360;

struct LimitBreach {
    std::string_view message;
    std::string_view replacement;
};
// The breach of a field's range by its text, if any.
std::optional<LimitBreach> limitBreach(const FieldLimit& limit, std::string_view text);

// A coordinate field's text when the field is left: the value with the given decimals
// (two, one for the time lag), "7." read as "7.00", a leading minus kept ("-0" gives "-0.00").
std::string tidyCoordinate(std::string_view text, int decimals);

// An inclination or orientation field's text when the field is left: empty becomes "0".
std::string tidyWhole(std::string_view text);

// An inclination or orientation text limited to 0..high; dots and other junk read as 0.
int limitedWhole(std::string_view text, int high);

// "North Pole" or "South Pole" when the latitude text is at a pole, which fixes the
// longitude and the time lag.
std::optional<std::string_view> poleName(std::string_view latitudeText);

// The time lag of the longitude's time zone: the longitude over 15 to the nearest whole
// hour, halves going to the even one ("2.0" for 22.5).
std::string timeLagFromLongitude(std::string_view longitudeText);

}  // namespace zenova

#endif
