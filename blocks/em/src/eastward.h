// A block of the library's second sign convention: a site's longitude and time zone
// counted positive east of Greenwich. It is the wrapped block under a name of its own: at
// initialisation, before the frame checks them, it rewrites the longitude (and the time
// zone, where the block has one) in place into the first convention, then hands every
// call to the wrapped block, which checks and uses them as its own. A parameter that the
// editor changes during the run reaches the wrapped block as it comes, and is checked and
// taken as the wrapped block reads it.
#ifndef VIREO_EM_EASTWARD_H
#define VIREO_EM_EASTWARD_H

#include "BlockView.h"
#include "solar.h"

namespace vireo::em {

inline constexpr int kNoTimeZone = -1;

// Longitude east to west: into [-179, 181) with the opposite sign, so that 180 and -180
// both become 180. Time zone east to west: into [0, 24), except 13 and 14 hours east,
// which the first convention writes as -13 and -14 (as 11 and 10 they would be read as
// hours west, a day apart).
inline float westLongitude(float east) { return floorMod(179.0f - east, 360.0f) - 179.0f; }
inline float westTimeZone(float east) { return east > 12.0f && east <= 14.0f ? -east : floorMod(-east, 24.0f); }

template <class Block, int Longitude, int TimeZone = kNoTimeZone>
struct eastward {
    using Wrapped = Block;
    using View = typename Block::View;
    // The engine gives BP a slot for every parameter the block may take, zero where the
    // model leaves one out.
    static_assert(Longitude >= 0 && Longitude < View::kIdentity.maxParameters &&
                      TimeZone < View::kIdentity.maxParameters,
                  "the site's slots must be parameters of the block");

    static void rewrite(View& b) {
        float* bp = b.arrays().BP;
        bp[Longitude] = westLongitude(bp[Longitude]);
        if constexpr (TimeZone != kNoTimeZone) bp[TimeZone] = westTimeZone(bp[TimeZone]);
    }
    static void init(View& b) {
        if constexpr (requires { Block::init(b); }) Block::init(b);
    }
    static void step(View& b) {
        if constexpr (requires { Block::step(b); }) Block::step(b);
    }
    static void last(View& b) {
        if constexpr (requires { Block::last(b); }) Block::last(b);
    }
    static void takeChange(View& b)
        requires requires { Block::takeChange(b); }
    {
        Block::takeChange(b);
    }
};

}  // namespace vireo::em

#endif
