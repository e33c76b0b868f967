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
// GOH2 is GOH for a site whose longitude and time zone count positive east. At
// initialisation it rewrites both, in its own parameters, into GOH's convention and then
// hands every call to GOH, which checks and uses them: the longitude becomes degrees
// west within -179 to 181 (180 and -180 east both become 180); a zone up to 12 hours east
// becomes 24 less its hours (1 becomes 23, 5.5 becomes 18.5, 12 stays 12), a zone west
// becomes its hours (-5 becomes 5), and 13 and 14 hours east become -13 and -14, which
// GOH reads as those eastern zones. GOH takes zone 12 as 12 hours east at a site
// east of Greenwich and 12 hours west elsewhere. A parameter that an editor changes
// during the run reaches GOH as it comes, unconverted.
//#end

// The block is GOH under a name of its own: goh2_block in blocks.h.
