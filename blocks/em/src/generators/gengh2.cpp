//#Block GENGH2
//#Description
// Synthetic hourly global irradiance on the horizontal from the day's mean, such as
// GENGD gives it: an hourly series of clearness indices around a mean that follows the
// sun's zenith angle (Graham and Hollands 1990), within a clear-sky limit, meeting the
// day's clearness index. A day is generated the first time a step falls into it in the
// current year; later steps read it. For a site in the second sign convention: longitude
// and time zone counted positive east.
//#Layout
//#Inputs 5--6
//#Outputs 1
//#Parameters 4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Mean global horizontal irradiance of the day over 24 hours (W/m$^2$)
//#IN[1] Year (-)
//#IN[2] Month, 1 to 12 (-)
//#IN[3] Day of the month (-)
//#IN[4] Hour of the day, 0 to 23, rounded: the value is the one of the clock hour from
// this hour on. Give whole hours, such as a CALENDAR started at hour 0 gives (h)
//#IN[5] Minute (min); optional: when connected the irradiance is shifted within the hour
// towards its neighbours, minute 30 giving the hour's own value
//#Outputs
//#OUT[0] Global horizontal irradiance of the hour (W/m$^2$)
//#Parameters
//#BP[0] Latitude, north positive, -90 to 90 (degrees)
//#BP[1] Longitude, east of Greenwich positive (degrees)
//#BP[2] Time zone, hours east of Greenwich, such as 1 for central Europe (h)
//#BP[3] Seed of the random numbers; 0 the default seed 1536 (-)
//#Strings
//#None
//#Remarks
// GENGH2 is GENGH for a site whose longitude and time zone count positive east: at
// initialisation it rewrites them into GENGH's convention (longitude positive west
// within -179 to 181 degrees, time zone 0 to 23 hours west) and hands every call to
// GENGH, which checks and uses them. A parameter that an editor changes during the run
// reaches GENGH as it comes, unconverted. What GENGH does is described on its own page.
//#end

// The block is GENGH under a name of its own: gengh2_block in blocks.h.
