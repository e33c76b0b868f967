//#Block GOH2
//#Description
// Extraterrestrial irradiance on a horizontal surface at the clock time of the inputs,
// for a site in the second sign convention (longitude and time zone counted positive
// east).
//#Layout
//#Inputs 4--7
//#Outputs 1
//#Parameters 3
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Year (-)
//#IN[1] Month, 1 to 12 (-)
//#IN[2] Day of the month (-)
//#IN[3] Hour of the clock time (h)
//#IN[4] Minute (min); optional, 0 when not connected
//#IN[5] Second (s); optional, 0 when not connected
//#IN[6] Daylight-saving time, subtracted from the clock time (h); optional, 0 when not
// connected
//#Outputs
//#OUT[0] Extraterrestrial irradiance on the horizontal (W/m$^2$)
//#Parameters
//#BP[0] Latitude, north positive, -90 to 90 (degrees)
//#BP[1] Longitude, east of Greenwich positive (degrees)
//#BP[2] Time zone, hours east of Greenwich, such as 1 for central Europe (h)
//#Strings
//#None
//#Remarks
// GOH2 is GOH for a site whose longitude and time zone count positive east: at
// initialisation it rewrites them into GOH's convention (longitude positive west within
// -179 to 181 degrees, time zone 0 to 23 hours west) and hands every call to GOH, which
// checks and uses them. A parameter that an editor changes during the run reaches GOH
// as it comes, unconverted.
//#end

// The block is GOH under a name of its own: goh2_block in blocks.h.
