// The one-degree land mask of the earth. Row r (0..180) is latitude 90 - r degrees;
// column c (0..359) is longitude c - 179 degrees, east positive; '*' land, '_' sea, and a
// NUL in column 360 that counts as sea. Generated at build time from
// blocks/em/data/world-land-mask-1deg.txt.
#ifndef VIREO_EM_WORLD_MAP_H
#define VIREO_EM_WORLD_MAP_H

namespace vireo::em {
extern const char world_map[181][361];
}  // namespace vireo::em

#endif
