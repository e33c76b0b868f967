//#Block SUNAE2
//#Description
// Sun azimuth, elevation, declination and hour angle at the clock time of the inputs, for
// a site in the second sign convention: longitude and time zone counted positive east of
// Greenwich.
//#Layout
//#Inputs 4--7
//#Outputs 4
//#Parameters 4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Year (-)
//#IN[1] Month, 1 to 12 (-)
//#IN[2] Day of the month, 1 to 31 (-)
//#IN[3] Hour of the clock time (h)
//#IN[4] Minute (min); optional, 0 when not connected
//#IN[5] Second (s); optional, 0 when not connected
//#IN[6] Daylight-saving time, subtracted from the clock time (h); optional, 0 when not connected
//#Outputs
//#OUT[0] Sun azimuth from north through east: north 0, east 90, south 180, west 270 (degrees)
//#OUT[1] Sun elevation above the horizon, refraction included (degrees)
//#OUT[2] Declination of the sun (degrees)
//#OUT[3] Hour angle: 0 at solar noon, growing through the afternoon (degrees)
//#Parameters
//#BP[0] Series (-): 0 the Fourier series of the day angle, 1 the ecliptic series with
// epoch 1980, 2 the almanac series with epoch 2000
//#BP[1] Latitude, north positive, -90 to 90 (degrees)
//#BP[2] Longitude, east of Greenwich positive (degrees)
//#BP[3] Time zone, hours east of Greenwich, such as 1 for central Europe (h)
//#Strings
//#None
//#Remarks
// SUNAE2 is SUNAE for a site whose longitude and time zone count positive east: at
// initialisation it rewrites them into SUNAE's convention (longitude positive west within
// -179 to 181 degrees, time zone 0 to 23 hours west) and hands every call to SUNAE, which
// checks and uses them. A parameter that an editor changes during the run reaches SUNAE
// as it comes, unconverted.
//#end

// The block is SUNAE under a name of its own: sunae2_block in blocks.h.
