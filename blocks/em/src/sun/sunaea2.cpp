//#Block SUNAEA2
//#Description
// The sun's position averaged over the interval that ends at the clock time of the
// inputs, from sub-steps spread evenly over it; the site is given in the second sign
// convention, longitude and time zone counted positive east of Greenwich.
//#Layout
//#Inputs 7
//#Outputs 4
//#Parameters 6
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Year (-)
//#IN[1] Month, 1 to 12 (-)
//#IN[2] Day of the month, 1 to 31 (-)
//#IN[3] Hour of the clock time (h)
//#IN[4] Minute (min)
//#IN[5] Second, not used (s)
//#IN[6] Daylight-saving time, subtracted from the clock time (h)
//#Outputs
//#OUT[0] Mean sun azimuth from north through east, south 180 (degrees)
//#OUT[1] Mean sun elevation above the horizon, refraction included (degrees)
//#OUT[2] Mean declination of the sun (degrees)
//#OUT[3] Mean hour angle: 0 at solar noon, growing through the afternoon (degrees)
//#Parameters
//#BP[0] Series (-): 0 the Fourier series of the day angle, 1 the ecliptic series with
// epoch 1980, 2 the almanac series with epoch 2000
//#BP[1] Latitude, north positive, -90 to 90 (degrees)
//#BP[2] Longitude, east of Greenwich positive (degrees)
//#BP[3] Time zone, hours east of Greenwich, such as 1 for central Europe (h)
//#BP[4] Length of the averaging interval (min)
//#BP[5] Number of sub-steps over the interval, 0 to 100000 (-)
//#Strings
//#None
//#Remarks
// SUNAEA2 is SUNAEA for a site whose longitude and time zone count positive east: at
// initialisation it rewrites them into SUNAEA's convention (longitude positive west within
// -179 to 181 degrees, time zone 0 to 23 hours west) and hands every call to SUNAEA, which
// checks and uses them. A parameter that an editor changes during the run reaches SUNAEA
// as it comes, unconverted.
//#end

// The block is SUNAEA under a name of its own: sunaea2_block in blocks.h.
