//#Block GENG2
//#Description
// Synthetic hourly global irradiance on the horizontal from its monthly mean: the daily
// clearness indices of a month by an autoregressive series mapped onto a bounded
// distribution, then for each day an hourly series of clearness indices around a mean
// that follows the sun's zenith angle (Graham and Hollands 1990), within a clear-sky
// limit. A month is generated the first time a step falls into it in the current year;
// later steps read it. For a site in the second sign convention: longitude and time zone
// counted positive east.
//#Layout
//#Inputs 5--6
//#Outputs 1
//#Parameters 8
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Monthly mean of the global horizontal irradiance over all hours of the month
// (W/m$^2$)
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
//#BP[3] Variance factor on the variance of the daily clearness index, 0 to 10 (-)
//#BP[4] Year-to-year factor, -1 to 1: 0 keeps the month's clearness index, any other
// value draws a perturbed one for every month generated (-)
//#BP[5] Lag-1 autocorrelation r1 of the daily values, above -1 and below 1 (-)
//#BP[6] Lag-2 autocorrelation r2, above -1 and below 1, with 1 + r2 - 2 r1$^2$ above 0 (-)
//#BP[7] Seed of the random numbers; 0 the default seed 1536 (-)
//#Strings
//#None
//#Remarks
// GENG2 is GENG for a site whose longitude and time zone count positive east: at
// initialisation it rewrites them into GENG's convention (longitude positive west within
// -179 to 181 degrees, time zone 0 to 23 hours west) and hands every call to GENG, which
// checks and uses them. A parameter that an editor changes during the run reaches GENG
// as it comes, unconverted. What GENG does is described on its own page.
//#end

// The block is GENG under a name of its own: geng2_block in blocks.h.
