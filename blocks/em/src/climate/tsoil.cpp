//#Block TSOIL
//#Description
// Undisturbed soil temperature at a depth and a time of the year: the annual wave of the
// surface temperature, damped and delayed with depth in a homogeneous half-space. The
// mean and the maximum of the surface temperature come from an hourly data file of one
// year, from two parameters, or from a built-in table of 15 reference climates.
//#Layout
//#Inputs 2
//#Outputs 1
//#Parameters 7--10
//#Strings 0--2
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Time since the start of the year (s)
//#IN[1] Depth below the surface (m)
//#Outputs
//#OUT[0] Soil temperature at that depth, in the unit of the surface temperatures ($^\circ$C)
//#Parameters
//#BP[0] Source of the surface temperatures, 0 to 2 (-): 0 the data file, 1 parameters 8 and 9,
// 2 row parameter 10 of the built-in table
//#BP[1] Day of the year on which the surface temperature is highest (d)
//#BP[2] Factor f on the mean in the amplitude: amplitude = maximum - f mean (-)
//#BP[3] Density of the soil (kg/m$^3$)
//#BP[4] Specific heat capacity of the soil; only the product with the density counts (J/(kg K))
//#BP[5] Thermal conductivity of the soil, above 0 (W/(m K))
//#BP[6] Number of header records of the data file, skipped (-)
//#BP[7] Mean surface temperature, source 1 ($^\circ$C)
//#BP[8] Maximum surface temperature, source 1 ($^\circ$C)
//#BP[9] Row of the built-in table, 0 to 14, source 2 (-)
//#Strings
//#SP[0] Name of the data file, source 0 (-)
//#SP[1] Read format of one data record, for example (F5.0,F8.2), or * for numbers
// separated by blanks or commas (-)
//#Remarks
// The data file holds, after its header records, 8760 hourly records of two numbers: a
// group key (such as the day of the year; consecutive records with the same key form a
// group) and the surface temperature. The mean is that of all 8760 temperatures, the
// maximum the highest group mean, counted from 0: a file whose every group mean lies
// below 0 gives the maximum 0, so the file suits climates with a warm season above 0.
// Each block reads its own file at its first step and closes it again. A file that ends
// early, or a record that does not read as two numbers, stops the run. A source outside
// 0 to 2, a table row outside 0 to 14, a conductivity not above 0, a negative product of
// density and heat capacity, a negative number of header records, a format that cannot
// read two numbers and a missing file are errors at initialisation. A negative depth
// (above the surface) is an error that stops the run. The source, and with the data file
// the number of header records, take effect at initialisation only: a change of them
// during the run is warned about and not taken, and the checks after it are those of the
// source the block goes on with.
//#end
#include "blocks.h"

#include "Files.h"
#include "Numbers.h"

#include "vireo/format/Reader.h"
#include "vireo/format/RecordFiles.h"
#include "vireo_tools.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

namespace vireo::em {
namespace {

// The surface temperature's annual maximum and mean of the 15 reference climates.
struct Climate {
    float maximum, mean;
};
constexpr Climate kClimates[] = {
    {16.8f, 9.0f}, {16.7f, 8.4f}, {16.5f, 8.5f}, {18.5f, 9.5f}, {15.6f, 8.1f},
    {15.2f, 6.8f}, {17.3f, 8.8f}, {14.2f, 6.0f}, {16.5f, 7.9f}, {15.3f, 6.3f},
    {11.2f, 3.0f}, {19.3f, 10.2f}, {17.3f, 7.9f}, {15.6f, 6.8f}, {15.9f, 6.8f},
};
constexpr int kRows = static_cast<int>(std::size(kClimates));
constexpr int kHoursOfData = 8760;

enum Source { dataFile = 0, parameters = 1, builtInTable = 2 };

struct State {
    int& fileRead;        // IP[11] this instance has read its file
    int& valuesPerRecord; // IP[12]
    int& headers;         // IP[13]
    int& row;             // IP[14]
    int& source;          // IP[15]
    float& period;        // RP[0] one year of 365 days, s
    float& maximum;       // RP[1] surface temperature read from the file
    float& groupKey;      // RP[2] key of the group of records read last
    float& groupSum;      // RP[3]
    float& mean;          // RP[4]
    float& groupCount;    // RP[5]
    explicit State(tsoil_block::View& b)
        : fileRead(b.ip<11>()), valuesPerRecord(b.ip<12>()), headers(b.ip<13>()), row(b.ip<14>()),
          source(b.ip<15>()), period(b.rp<0>()), maximum(b.rp<1>()), groupKey(b.rp<2>()), groupSum(b.rp<3>()),
          mean(b.rp<4>()), groupCount(b.rp<5>()) {}
};

constexpr float kPi = 3.1415927f;

using P = tsoil_block::P;

// The rules of the parameters that count only for one source, and of the heat capacity
// per volume, which the density and the heat capacity give together.
constexpr Rule kHeatCapacity{.parameter = P::density, .low = 0.0f, .high = FLT_MAX, .code = code::tsoilBadHeatCapacity};
constexpr Rule kSourceParameters[] = {
    {.parameter = P::mean, .low = -FLT_MAX, .high = FLT_MAX, .code = code::tsoilNotANumber},
    {.parameter = P::maximum, .low = -FLT_MAX, .high = FLT_MAX, .code = code::tsoilNotANumber},
};
constexpr Rule kRow{.parameter = P::row, .low = 0, .high = kRows - 1, .whole = true, .code = code::tsoilBadRow};
constexpr Rule kHeaders{.parameter = P::headers, .low = 0, .high = 1.0e9f, .whole = true,
                        .code = code::tsoilBadHeaderCount};

// Opens the data file, or reports the fatal error that says why not.
bool opened(tsoil_block::View& b, vireo::format::SequentialFile& file, const std::string& path) {
    const vireo::format::Status status = file.open(path);
    if (status.ok()) return true;
    const std::string why = path + ": " + std::strerror(static_cast<int>(status.where));
    b.report(code::tsoilCannotOpen, {.text = why});
    return false;
}

// Reads the file's 8760 hourly records into the instance's maximum and mean: the mean
// of all temperatures, and the highest mean of a group of consecutive records with one
// key, counted from 0. Opens and closes the file within the call, so no file stays open
// between steps and no instance reads another's. false after a fatal message.
bool readSurfaceTemperatures(tsoil_block::View& b, State& s) {
    using namespace vireo::format;
    const std::string path(b.trimmedText(0));
    SequentialFile file;
    if (!opened(b, file, path)) {
        b.requestStop();
        return false;
    }
    // The file ends early, or a record does not read: the run cannot go on without the
    // surface temperatures. The line is the last one read.
    auto fault = [&](const Status& read) {
        b.report(read.code == Code::endOfFile ? code::tsoilFileEnds : code::tsoilBadRecord,
                 {.value = static_cast<int>(file.recordNumber()), .text = path});
        b.requestStop();
        return false;
    };
    std::string record;
    for (int i = 0; i < s.headers; ++i)
        if (const Status read = file.next(record); !read.ok()) return fault(read);
    const Format format(b.trimmedText(1));
    // Sums in double: 8760 single-precision additions would lose the mean's last digits.
    double sum = 0.0, groupSum = 0.0, maximum = 0.0;
    long groupCount = 0;
    float groupKey = 1.0f;
    for (int n = 0; n < kHoursOfData; ++n) {
        float key = 0.0f, temperature = 0.0f;
        if (const Status read = vireo::format::read(file, format, {Item(key), Item(temperature)}); !read.ok())
            return fault(read);
        if (key != groupKey) {
            if (groupCount > 0) maximum = std::fmax(maximum, groupSum / static_cast<double>(groupCount));
            groupKey = key;
            groupSum = 0.0;
            groupCount = 0;
        }
        groupSum += temperature;
        ++groupCount;
        sum += temperature;
    }
    // The last group closes at the end of the year like every other.
    if (groupCount > 0) maximum = std::fmax(maximum, groupSum / static_cast<double>(groupCount));
    s.maximum = static_cast<float>(maximum);
    s.mean = static_cast<float>(sum / kHoursOfData);
    s.groupKey = groupKey;
    s.groupSum = static_cast<float>(groupSum);
    s.groupCount = static_cast<float>(groupCount);
    return true;
}

}  // namespace

bool tsoil_block::checksHold(View& b) {
    bool held = b.check(kHeatCapacity, b.par<P::density>() * b.par<P::heatCapacity>());
    // A source its rule refuses chooses nothing to check.
    if (!b.holds<P::source>()) return held;
    // The source and the data file's header count are taken at initialisation only (the
    // file is claimed then and read at the first step): after a change during the run the
    // block goes on with its source, and the checks are those of that source.
    int source = b.whole<P::source>();
    if (b.callMode() == protocol::callMode::kStep) {
        const State s(b);
        b.keepsFromInit<P::source>(static_cast<float>(s.source), static_cast<float>(source));
        source = s.source;
        if (source == dataFile) b.keepsFromInit<P::headers>(static_cast<float>(s.headers), b.whole<P::headers>());
    }
    if (source == parameters) held = b.check(kSourceParameters) && held;
    if (source == builtInTable) held = b.check(kRow, b.par<P::row>()) && held;
    if (source != dataFile) return held;

    held = b.check(kHeaders, b.par<P::headers>()) && held;
    const std::string_view format = b.trimmedText(1);
    int column = 0;
    ckform(format.data(), &column, format.size());
    if (column != 0) {
        b.report(code::tsoilBadFormat, {.value = column, .text = format});
        held = false;
    }
    const std::string path(b.trimmedText(0));
    if (!vireo::format::fileExists(path)) {
        b.report(code::tsoilNoFile, {.text = path});
        std::error_code ignored;
        b.report(code::tsoilNoData, {.text = std::filesystem::current_path(ignored).string()});
        return false;
    }
    // The file is read at the first step; here only whether it can be opened at all.
    vireo::format::SequentialFile file;
    return held && opened(b, file, path);
}

void tsoil_block::init(View& b) {
    State s(b);
    s.period = 31536000.0f;
    s.groupKey = 1.0f;
    s.fileRead = 0;
    s.valuesPerRecord = 2;
    s.headers = b.whole<P::headers>();
    s.row = b.whole<P::row>();
    s.source = b.whole<P::source>();
    // Claimed for the run, so that no CSVOUT of it empties the file this block reads.
    if (s.source == dataFile) block::claimFile(b, std::string(b.trimmedText(0)), -1, block::FileUse::reads);
}

void tsoil_block::takeChange(View& b) { State(b).row = b.whole<P::row>(); }

void tsoil_block::step(View& b) {
    State s(b);
    float maximum = 0.0f, mean = 0.0f;
    switch (s.source) {
        case dataFile:
            if (s.fileRead == 0) {
                if (!readSurfaceTemperatures(b, s)) return;
                s.fileRead = 1;
            }
            maximum = s.maximum;
            mean = s.mean;
            break;
        case parameters:
            maximum = b.par<P::maximum>();
            mean = b.par<P::mean>();
            break;
        case builtInTable:
            maximum = kClimates[s.row].maximum;
            mean = kClimates[s.row].mean;
            break;
        default:
            return;
    }
    const float depth = b.in(1);
    // The damped wave grows without bound above the surface: a negative depth is a sign
    // slip in the model, not a place the half-space has.
    if (depth < 0.0f) {
        b.report(code::tsoilAboveGround, {.reals = {depth}});
        b.requestStop();
        return;
    }
    const float xi =
        depth * std::sqrt(kPi * b.par<P::density>() * b.par<P::heatCapacity>() / (s.period * b.par<P::conductivity>()));
    const int hour = block::toInt(b.in(0) / 3600.0f);
    const float angle = 2.0f * kPi * 3600.0f * (static_cast<float>(hour) - 24.0f * b.par<P::peakDay>()) / s.period - xi;
    const float t = mean + (maximum - b.par<P::factor>() * mean) * std::exp(-xi) * std::cos(angle);
    // A depth that is no number, or so far below ground that the wave has died out in
    // an overflow, leaves the mean; parameters that are no number (refused at
    // initialisation, but the editor can change them during a run) leave 0.
    b.out(0) = std::isfinite(t) ? t : (std::isfinite(mean) ? mean : 0.0f);
}

}  // namespace vireo::em
