// Hourly temperature of a month from its mean, minimum and maximum and the clearness of
// its days, and hourly relative humidity from a dew point reached in the early morning.
#include "generators.h"

#include "Numbers.h"
#include "routines.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace vireo::em::gen {
namespace {

// The temperature model's own value of pi; its courses depend on it.
constexpr float kPi = 3.1415f;

}  // namespace

Course nrmmonth(float declination, float latitude, int lag) {
    Course c;
    // Where the sun does not rise or set on the month's reference day, the sunrise hour
    // is held to 2..12, so that the night's curve below keeps a length.
    const float sunset = block::acosClamped(-std::tan(latitude) * std::tan(declination));
    const int sunrise = std::clamp(block::toInt(12.0f * (1.0f - sunset / kPi)) + 1, 2, 12);
    const float r = static_cast<float>(sunrise);
    const float first = -0.3883f - 0.106f * std::cos(declination - latitude);
    const float second = 0.03725f * r - 0.1112f;
    const float secondPhase = 0.84f * (std::exp(-(r - 4.0f)) - 1.0f);
    const float third = 0.07788f / (std::exp(2.31f * (r - 6.5f)) + 1.0f) - 0.03457f;
    float largest = -100.0f, smallest = 100.0f;
    for (int h = 0; h < kHours; ++h) {
        const float t = static_cast<float>(h);
        const float v = first * std::cos(2.0f * kPi * (t - static_cast<float>(lag)) / 24.0f) +
                        second * std::cos(4.0f * kPi * t / 24.0f + secondPhase) +
                        third * std::cos(6.0f * kPi * t / 24.0f - 1.205f) -
                        0.0161f * std::cos(8.0f * kPi * t / 24.0f - 1.0558f);
        c.value[h] = v;
        if (v > largest) largest = v, c.hourOfMax = h;
        if (v < smallest) smallest = v, c.hourOfMin = h;
    }
    // The night: a parabola from the hour before sunrise back to the evening.
    const int sr = block::toInt(r - 0.5f), ss = 24 - sr;
    c.value[sr] = c.value[c.hourOfMax] - 1.0f;
    const float span = c.value[ss] - c.value[sr];
    // An evening below the night's floor leaves the night flat.
    const float curve = span > 0.0f ? std::sqrt(span) / 2.0f / static_cast<float>(sr) : 0.0f;
    for (int h = 0; h < sr; ++h) {
        const float x = curve * static_cast<float>(sr - h);
        c.value[h] = c.value[sr] + x * x;
    }
    for (int h = ss + 1; h < kHours; ++h) {
        const float x = curve * static_cast<float>(sr + 24 - h);
        c.value[h] = c.value[sr] + x * x;
    }
    return c;
}

float ampl1(float cosLatitude, float ktm, float cosDeclinationMinusLatitude, float continentality) {
    const float base = continentality <= 10.0f ? 15.54f + 17.49f * std::sin(block::acosClamped(cosLatitude))
                                               : 11.26f * cosLatitude + 0.083f * continentality + 17.94f;
    return std::max(base * (0.57f * ktm + 0.136f * cosDeclinationMinusLatitude) - 3.79f, 0.0f);
}

float ampl2(float rangeOfMeans) {
    const float a = rangeOfMeans <= 7.0f ? 1.5f * rangeOfMeans - 5.54f : 0.93f * rangeOfMeans - 2.26f;
    return std::max(a, 0.0f);
}

void mongang(std::span<float, kHours> monthCourse, float mean, float amplitude, std::span<const float, kHours> course) {
    for (int h = 0; h < kHours; ++h) monthCourse[h] = mean + amplitude * course[h];
}

namespace {

// Declination of each month's reference day (radians).
constexpr float kDeclination[12] = {-0.358131f, -0.217636f, -0.024958f, 0.176448f, 0.332650f,  0.403159f,
                                    0.366508f,  0.232995f,  0.043807f,  -0.158471f, -0.324447f, -0.402112f};

// What a month fixes for each of its days.
struct MonthShape {
    Course course;                       // normalised
    std::array<float, kHours> typical{};  // the month's mean course (degC)
    float amplitude;                     // of the mean course
    float mean, annualMean, annualRange, ktm, cosLatitude;
    float trend;                         // change of the daily mean per day
    float c0;                            // weight of the day's base on its amplitude
    float hourCorrelation;               // of the hourly noise
};

struct Day {
    float base, change, amplitude;
};

// The hours of one day: the course scaled to the day's amplitude on its base, the day's
// change spread over it, a join to the temperature the day starts from in the night
// hours, and autoregressive noise.
void tagesgang(const MonthShape& m, const Day& day, float start, float hourSigma, std::span<float, kHours> out,
               Deviates& deviates, float& noise) {
    const int k = m.course.hourOfMin;
    const float fk = static_cast<float>(k);
    const float radiationStart = day.base + day.amplitude * (m.course.value[0] - m.course.value[k]);
    const float innovation = std::sqrt(1.0f - m.hourCorrelation * m.hourCorrelation) * hourSigma;
    for (int h = 0; h < kHours; ++h) {
        const float fh = static_cast<float>(h);
        const float radiation = day.base + day.amplitude * (m.course.value[h] - m.course.value[k]);
        const float air = day.change * fh / 24.0f;
        // With the minimum at midnight there is no night to join across.
        float weight = 0.0f;
        if (k > 0 && h <= k) weight = (fk - fh) / fk;
        else if (k > 0 && h >= 24 - k) weight = (fh - (24.0f - fk)) / fk;
        noise = m.hourCorrelation * noise + innovation * deviates.normal();
        out[h] = radiation + air + weight * (start - radiationStart) + noise;
    }
}

// One day: its change of the daily mean drawn until it keeps the day near the month's
// course, its base and amplitude from the day's clearness; returns the day's mean.
float daytemp(const MonthShape& m, float ratio, float& start, float& dayState, float& hourState,
              std::span<float, kHours> out, Deviates& deviates) {
    const float cphi = m.cosLatitude;
    const float hourSigma = 0.432f - 0.009f * m.mean + 0.0162f * m.annualRange + 0.64f * cphi;
    const float daySigma = 0.483f + (4.88f + 0.143f * m.annualRange) * cphi - 0.129f * m.mean - 1.87f * m.ktm;
    constexpr float r = -0.15f;
    const float innovation = daySigma * std::sqrt(1.0f - r * r);
    const float limit = std::fabs(2.726f - 0.171f * (m.mean - m.annualMean) + 0.142f * m.annualRange - 1.87f * cphi);
    const int hMin = m.course.hourOfMin, hMax = m.course.hourOfMax;
    const float atMin = static_cast<float>(hMin) / 24.0f, atMax = static_cast<float>(hMax) / 24.0f;
    const std::array<float, kHours>& tm = m.typical;

    Day day{};
    day.base = start - (tm[0] - tm[hMin]) * ratio;
    for (int draw = 0; draw <= 501; ++draw) {
        dayState = r * dayState + innovation * deviates.normal();
        day.change = dayState + m.trend;
        const float end = start + day.change;
        const float atMinimum = day.base + atMin * day.change;
        if (std::fabs(end - tm[0]) <= 2.0f * limit && std::fabs(atMinimum - tm[hMin]) <= 2.0f * limit) break;
    }
    day.amplitude = m.c0 * ((day.base - start) - (tm[hMin] - tm[0])) + m.amplitude * ratio;
    if (day.amplitude + (atMax - atMin) * day.change > 3.0f * limit + m.amplitude)
        day.amplitude = 3.0f * limit + m.amplitude - (atMax - atMin) * day.change;
    if (day.base + day.amplitude + atMax * day.change > 3.0f * limit + tm[hMax])
        day.amplitude = 3.0f * limit + tm[hMax] - day.base - atMax * day.change;

    tagesgang(m, day, start, hourSigma, out, deviates, hourState);
    start += day.change;
    float sum = 0.0f;
    for (float t : out) sum += t;
    return sum / kHours;
}

}  // namespace

GentResult gent(MonthlyMeans& tq, const MonthTemperature& month, int m, std::span<const float> dayRatio,
                const TemperatureModel& model, std::span<float> out, Deviates& deviates, TemperatureState state) {
    GentResult result;
    const int days = static_cast<int>(dayRatio.size());
    tq[0] = tq[12];
    tq[13] = tq[1];
    const float phi = model.latitude * kPi / 180.0f;
    const float cphi = std::cos(phi);
    const float range = model.annualRange;

    MonthShape shape;
    shape.mean = tq[m];
    shape.annualMean = model.annualMean;
    shape.annualRange = range;
    shape.ktm = month.ktm;
    shape.cosLatitude = cphi;
    const float continentality = 1.7f * range / std::sin(std::fabs(phi) + 10.0f * kPi / 180.0f) - 14.0f;
    const int lag = block::toInt(1.53f * cphi + 0.0715f * range) + 1;
    shape.c0 = 1.206f - 1.645f * cphi - 1.815f * std::sin(phi) + 0.02035f * range;
    // Between 0 and 0.95 for every site with an annual range of at least 0.
    shape.hourCorrelation =
        std::clamp(0.95f * (1.0f - std::exp(-(0.0456f * range + 24.42f - 23.94f * cphi))), 0.0f, 0.95f);
    shape.trend = tq[m] > -100.0f && tq[m - 1] > -100.0f ? (tq[m] - tq[m - 1]) / static_cast<float>(days) : 0.0f;
    const float declination = kDeclination[m - 1];
    shape.course = nrmmonth(declination, phi, lag);
    shape.amplitude = cphi < 0.57f || month.maximum - month.minimum == 0.0f
                          ? ampl1(cphi, month.ktm, std::cos(declination - phi), continentality)
                          : ampl2(month.maximum - month.minimum);
    mongang(shape.typical, tq[m], shape.amplitude, shape.course.value);

    if (state.start < -100.0f) state.start = tq[m];
    const float start = state.start, dayState = state.dayState;
    const float spread = 0.0394f * range + 2.44f - 0.0794f * (tq[m] - model.annualMean) - 2.05f * cphi;
    result.tolerance = model.yearToYear ? std::fabs(spread) : model.tolerance;
    // The attempt nearest to the month's mean, with the states it ended in.
    const std::size_t hours = static_cast<std::size_t>(kHours * days);
    std::array<float, kMaxDays * kHours> closest{};
    float closestMiss = FLT_MAX, closestMean = 0.0f, closestStart = 0.0f, closestDay = 0.0f, closestHour = 0.0f;
    for (int repeats = 0;; ++repeats) {
        ++result.attempts;
        float mean = 0.0f;
        for (int d = 0; d < days; ++d)
            mean += daytemp(shape, dayRatio[d], state.start, state.dayState, state.hourState,
                            std::span<float, kHours>(out.data() + kHours * d, kHours), deviates) /
                    static_cast<float>(days);
        result.mean = mean;
        const float miss = std::fabs(mean - tq[m]);
        if (miss <= result.tolerance) return result;
        if (miss < closestMiss && hours <= closest.size()) {
            closestMiss = miss;
            closestMean = mean;
            std::copy_n(out.begin(), hours, closest.begin());
            closestStart = state.start, closestDay = state.dayState, closestHour = state.hourState;
        }
        // A month that overflows will not come back.
        if (repeats >= model.repeats || !std::isfinite(mean)) break;
        state.start = start;
        state.dayState = dayState;
    }
    if (!(closestMiss < FLT_MAX)) {
        result.met = false;
        return result;
    }
    // No attempt met the mean: where the daily changes barely spread (the published spread
    // passes through 0 near the poles and in hot clear climates), no number of attempts
    // does. The closest is moved onto the mean, by nothing at the month's first hour and by
    // the full offset from its second day on, so that it still joins the month before; the
    // next month starts from its moved end.
    const float offset = (tq[m] - closestMean) * static_cast<float>(hours) / (static_cast<float>(hours) - 12.5f);
    float sum = 0.0f;
    for (std::size_t k = 0; k < hours; ++k) {
        out[k] = closest[k] + offset * std::min(1.0f, static_cast<float>(k) / kHours);
        sum += out[k];
    }
    state.start = closestStart + offset;
    state.dayState = closestDay;
    state.hourState = closestHour;
    result.moved = true;
    result.closest = closestMean;
    result.mean = sum / static_cast<float>(hours);
    return result;
}

void genhum(float meanHumidity, int days, std::span<const float> temperatures, std::span<float> humidity) {
    const float f = std::clamp(meanHumidity, 0.3f, 0.95f);
    const float g = std::log10((23.0f + 790.0f * f) / 100.0f);
    // Magnus' saturation pressure over water, up to its constant factor.
    const auto saturation = [](float t) { return std::exp(17.1f * t / (234.2f + t)); };
    const std::size_t hours = static_cast<std::size_t>(std::max(days, 0)) * kHours;
    for (std::size_t d = 0; d < hours; d += kHours) {
        // The dew point of the early morning by Clausius and Clapeyron: ln(e_s(T6) / e) =
        // (L / R_v)(1/Td - 1/T6), with R_v / L = 0.000185 / K and ln(e_s / e) carried in g.
        const float t6 = temperatures[d + 5];
        const float dewPoint = std::min(1.0f / (1.0f / (t6 + 273.15f) + 0.000185f * g) - 273.15f, t6);
        const float atDewPoint = saturation(dewPoint);
        for (std::size_t h = d; h < d + kHours; ++h) {
            const float rh = atDewPoint / saturation(temperatures[h]);
            humidity[h] = std::isfinite(rh) ? rh : 1.0f;
        }
    }
    // Rescaled to the month's mean; the values that the limit of 1 cuts off are made up
    // by further rounds while the mean still lies more than 1 % above it.
    float factor = 999.0f;
    for (int round = 0; round < 11 && std::fabs(factor) > 1.01f; ++round) {
        float sum = 0.0f;
        for (std::size_t h = 0; h < hours; ++h) sum += humidity[h];
        factor = sum / static_cast<float>(hours) / f;
        if (!(factor > 0.0f && factor < FLT_MAX)) break;
        for (std::size_t h = 0; h < hours; ++h) humidity[h] = std::min(humidity[h] / factor, 1.0f);
    }
}

}  // namespace vireo::em::gen

extern "C" {

void nrmmonth(float* course, int* hourOfMax, int* hourOfMin, const float* declination, const float* latitude,
              const int* lag) {
    const auto c = vireo::em::gen::nrmmonth(*declination, *latitude, *lag);
    std::copy(c.value.begin(), c.value.end(), course);
    *hourOfMax = c.hourOfMax;
    *hourOfMin = c.hourOfMin;
}

float ampl1(const float* cosLatitude, const float* ktm, const float* cosDeclinationMinusLatitude,
            const float* continentality) {
    return vireo::em::gen::ampl1(*cosLatitude, *ktm, *cosDeclinationMinusLatitude, *continentality);
}

float ampl2(const float* rangeOfMeans) { return vireo::em::gen::ampl2(*rangeOfMeans); }

void mongang(float* monthCourse, const float* meanTemperature, const float* amplitude, const float* course) {
    using vireo::em::gen::kHours;
    vireo::em::gen::mongang(std::span<float, kHours>(monthCourse, kHours), *meanTemperature, *amplitude,
                            std::span<const float, kHours>(course, kHours));
}

void genhum(const float* meanHumidity, const int* days, const float* monthTemperatures, float* monthHumidityOut) {
    const std::size_t hours = static_cast<std::size_t>(std::max(*days, 0)) * vireo::em::gen::kHours;
    vireo::em::gen::genhum(*meanHumidity, *days, std::span<const float>(monthTemperatures, hours),
                           std::span<float>(monthHumidityOut, hours));
}

}  // extern "C"
