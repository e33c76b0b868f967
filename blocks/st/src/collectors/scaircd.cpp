//#Block SCAIRCD
//#Description
// A field of glazed solar air collectors with thermal capacity: the build-up of SCAIRC
// (cover, air gap, finned absorber, air channels, back plate, insulation) with its
// heat-transfer coefficients, the row of collectors in series cut into segments of about
// 0.1 m along the flow. In each segment the air, absorber and back-plate temperatures are
// advanced in time with the heat capacities of absorber and back plate; the cover has
// none. The outputs are the temperatures at the outlet end of the row.
//#Layout
//#Inputs 6--7
//#Outputs 4
//#Parameters 23
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Volume flow of air through the field; below 0.0001 it is taken as 0.0001
// (m$^3$/s)
//#IN[1] Air inlet temperature ($^\circ$C)
//#IN[2] Irradiance on the collector plane; a negative value is taken as 0 (W/m$^2$)
//#IN[3] Ambient temperature ($^\circ$C)
//#IN[4] Wind speed; a negative value is taken as 0 (m/s)
//#IN[5] Time (s)
//#IN[6] Air pressure, optional: 100000 Pa when not connected (Pa)
//#Outputs
//#OUT[0] Outlet air temperature ($^\circ$C)
//#OUT[1] Absorber temperature at the outlet ($^\circ$C)
//#OUT[2] Back-plate temperature at the outlet ($^\circ$C)
//#OUT[3] Cover temperature at the outlet ($^\circ$C)
//#Parameters
//#BP[0] Collectors in series, at least 1 when rounded (-)
//#BP[1] Rows in parallel, at least 1 when rounded (-)
//#BP[2] Tilt, at least 0; above 75 it counts as 75 (degrees)
//#BP[3] Collector length along the flow, above 0.1; times the collectors in series at
// most 99.9 (m)
//#BP[4] Collector width, above 0 (m)
//#BP[5] Height of the air channels and the fins, above 0 (m)
//#BP[6] Width of one air channel, above 0 (m)
//#BP[7] Channels per collector, at least 1 when rounded (-)
//#BP[8] Thickness of the absorber and the fins, above 0 (m)
//#BP[9] Transmittance-absorptance product, above 0 (-)
//#BP[10] Insulation thickness, at least 0 (m)
//#BP[11] Insulation conductivity, above 0 (W/(m K))
//#BP[12] Conductivity of absorber and fins, above 0 (W/(m K))
//#BP[13] Cover emissivity, 0 to 1 (-)
//#BP[14] Absorber emissivity on the cover side, 0 to 1 (-)
//#BP[15] Absorber emissivity on the channel side, 0 to 1 (-)
//#BP[16] Back-plate emissivity, 0 to 1 (-)
//#BP[17] Width of the gap between absorber and cover, above 0 (m)
//#BP[18] Back-plate thickness, above 0 (m)
//#BP[19] Back-plate density, above 0 (kg/m$^3$)
//#BP[20] Back-plate specific heat capacity, above 0 (J/(kg K))
//#BP[21] Density of absorber and fins, above 0 (kg/m$^3$)
//#BP[22] Specific heat capacity of absorber and fins, above 0 (J/(kg K))
//#Strings
//#None
//#Remarks
// A row of $n_s$ collectors of length $L$ has $n = \lfloor 1 + n_s L / 0.1 \rfloor$ nodes,
// at most 1000: the inlet and $n - 1$ segments. Each segment's air, absorber and back
// plate exchange heat with their means over a sub-step, absorber and back plate lose to
// the cover, to each other and through the insulation at their temperatures from the
// sub-step's start. Where the air's mean halfway between its inlet and outlet would send
// it beyond every surface it meets (slow air by plates far from its temperature), it
// leaves at the nearest surface's temperature and the plates keep the rest. Steps run in
// sub-steps of 60 s and a remainder, shorter where a light absorber or back plate would
// otherwise lose more in a sub-step than it holds, but a step takes at most
// $10^5/(n - 1)$ of them (a long row over a day, or a state far from the ambient, takes
// longer ones). Where a plate would give off more at its start temperature in a sub-step
// than it holds (half its exchange with the air and all its losses; a light plate, or
// fast air), all its exchanges are taken that much nearer the sub-step's end, so that no
// plate swings past the air and its surroundings. The coefficients are those of SCAIRC
// at the segment's inlet air.
//
// The first call only takes its time and gives the ambient temperature on all outputs;
// the next one starts every segment at the ambient temperature. A call within 0.001 s of
// the one before, or at an earlier time, gives the outputs of the last step that moved
// on and changes no temperature. A step with an input that is not a finite number or a
// pressure not above 0 changes nothing and is warned about.
//#end
#include "blocks.h"
#include "Stepping.h"
#include "finite.h"
#include "values.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vireo::st {

using block::Call, block::CallTime, block::classifyCall;

namespace {

namespace ac = aircollector;

constexpr int kMaxNodes = static_cast<int>(ac::kMaxSegments) + 1;
constexpr float kSameTime = 0.001f;
constexpr float kSegmentLength = 0.1f;  // m
constexpr double kLeastFlow = 0.0001;   // m3/s

// IP[10]: nodes n from initialisation; IP[11]: 1 once the first call has taken its time;
// IP[12]: 1 once the segment temperatures stand in RP. RP[0]: the air pressure of the
// step; RP[1]: the time of the last call; RP[3..6]: the outputs of the last step that
// moved on; RP[7 + 3k .. 9 + 3k]: cover, absorber and back plate of segment k + 2.
struct State {
    int& nodes;
    int& started;
    int& stored;
    float& pressure;
    float& previousTime;
    std::span<float, 4> outputs;
    std::span<float, 3 * (kMaxNodes - 1)> segments;
    explicit State(scaircd_block::View& b)
        : nodes(b.ip<10>()), started(b.ip<11>()), stored(b.ip<12>()), pressure(b.rp<0>()),
          previousTime(b.rp<1>()), outputs(b.rp<3, 4>()), segments(b.rp<7, 3 * (kMaxNodes - 1)>()) {}
};

using P = scaircd_block::P;
// The row's segments tie the collectors in series to their length: at most what the
// block's arrays keep.
constexpr Rule kSegmentStore{.parameter = P::length, .low = 1, .high = kMaxNodes - 1, .code = code::tooManySegments};

// Segments along the row, as the model's single-precision lengths give them.
float segmentsOf(const scaircd_block::View& b) {
    const float nodes = 1.0f + std::round(b.par<P::series>()) * b.par<P::length>() / kSegmentLength;
    return std::trunc(nodes) - 1.0f;
}

void writeOutputs(scaircd_block::View& b, std::span<const float, 4> values) {
    for (int i = 0; i < 4; ++i) b.out(i) = values[static_cast<std::size_t>(i)];
}

}  // namespace

bool scaircd_block::checksHold(View& b) { return ac::warnWideChannels(b, b.par<P::height>(), b.par<P::channelWidth>()); }

bool scaircd_block::tiesHold(View& b) { return b.check(kSegmentStore, segmentsOf(b)); }

void scaircd_block::init(View& b) {
    State s(b);
    s.nodes = s.started = s.stored = 0;
    if (refused(b)) return;
    s.nodes = static_cast<int>(segmentsOf(b)) + 1;
}

void scaircd_block::step(View& b) {
    if (!inputsFinite(b)) return;
    State s(b);
    const ac::Build c = ac::buildOf(b);
    const int nodes = s.nodes;
    const float pressure = ac::airPressure(b, 6);
    if (!(pressure > 0)) {
        b.report(code::noFiniteResult, {.reals = {b.in(1), pressure}});
        return;
    }
    s.pressure = pressure;

    const CallTime time = classifyCall(b.in(5), s.previousTime, s.started != 0, kSameTime);
    s.previousTime = time.reference;
    if (time.call == Call::first) {
        s.started = 1;
        std::fill(s.outputs.begin(), s.outputs.end(), b.in(3));
    }
    if (time.call != Call::next) return writeOutputs(b, s.outputs);

    const auto count = static_cast<std::size_t>(nodes - 1);
    std::array<ac::Segment, kMaxNodes - 1> store;
    const std::span<ac::Segment> row(store.data(), count);
    for (std::size_t j = 0; j < count; ++j) {
        const float* t = &s.segments[3 * j];
        row[j] = s.stored != 0 ? ac::Segment{t[0], t[1], t[2]} : ac::Segment{b.in(3), b.in(3), b.in(3)};
    }
    const ac::Weather w{.flow = std::max<double>(b.in(0), kLeastFlow),
                        .inlet = b.in(1),
                        .irradiance = positivePart(b.in(2)),
                        .ambient = b.in(3),
                        .wind = positivePart(b.in(4)),
                        .pressure = pressure};
    const ac::Plates plates{
        .absorber = double(b.par<P::finDensity>()) * b.par<P::finHeatCapacity>(),
        .back = double(b.par<P::backThickness>()) * b.par<P::backDensity>() * b.par<P::backHeatCapacity>()};
    const double outlet = ac::advanceRow(row, c, plates, w, time.step).outlet;
    bool finite = std::isfinite(outlet);
    for (const ac::Segment& t : row) finite = finite && std::isfinite(t.cover + t.absorber + t.back);
    if (!finite) {
        b.report(code::noFiniteResult, {.reals = {b.in(1), b.in(2), b.in(3), pressure}});
        return;
    }
    s.stored = 1;
    for (std::size_t j = 0; j < count; ++j) {
        float* t = &s.segments[3 * j];
        t[0] = stored(row[j].cover);
        t[1] = stored(row[j].absorber);
        t[2] = stored(row[j].back);
    }
    const ac::Segment& last = row[count - 1];
    const float outputs[] = {stored(outlet), stored(last.absorber), stored(last.back), stored(last.cover)};
    std::copy(std::begin(outputs), std::end(outputs), s.outputs.begin());
    writeOutputs(b, s.outputs);
}

}  // namespace vireo::st
