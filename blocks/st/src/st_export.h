/* The mark of a routine that libVireoST exports beside its blocks for other libraries and
 * programs; everything else in the library stays hidden. */
#ifndef VIREO_ST_EXPORT_H
#define VIREO_ST_EXPORT_H

#if defined(__GNUC__)
#define VIREO_ST_EXPORT __attribute__((visibility("default")))
#else
#define VIREO_ST_EXPORT
#endif

#endif
